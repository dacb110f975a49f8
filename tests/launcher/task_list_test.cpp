#include "launcher/task_list.h"

#include <gtest/gtest.h>

#include <map>

namespace vantrel {
namespace {

constexpr std::intptr_t kMain = 0x100;
constexpr std::intptr_t kLauncher = 0x200;
const OwnWindows kOwn{kMain, kLauncher};

// What the filter can learn of one top-level window, gathered beforehand.
struct TopLevelWindow {
    std::intptr_t handle = 0;
    std::u16string title;
    std::u16string className;
    bool visible = false;
    std::intptr_t owner = 0;
    bool ownerVisible = false;
    std::intptr_t parent = 0;
    bool parentVisible = false;
    uint32_t exStyle = 0;
    bool uwpRejected = false; // the helper library is bound and calls it a UWP window
};

// The answers of windows described beforehand.
class KnownWindows : public TopLevelWindowFacts {
public:
    explicit KnownWindows(const std::vector<TopLevelWindow>& windows) {
        for (const auto& w : windows)
            byHandle_.emplace(w.handle, &w);
    }
    uint32_t ExStyle(std::intptr_t w) override { return Of(w).exStyle; }
    bool Visible(std::intptr_t w) override { return Of(w).visible; }
    Related Owner(std::intptr_t w) override { return {Of(w).owner, Of(w).ownerVisible}; }
    Related Parent(std::intptr_t w) override { return {Of(w).parent, Of(w).parentVisible}; }
    std::u16string ClassName(std::intptr_t w) override { return Of(w).className; }
    std::u16string Title(std::intptr_t w) override { return Of(w).title; }
    bool UwpRejected(std::intptr_t w) override { return Of(w).uwpRejected; }

private:
    const TopLevelWindow& Of(std::intptr_t w) const { return *byHandle_.at(w); }
    std::map<std::intptr_t, const TopLevelWindow*> byHandle_;
};

ItemList MakeTaskList(const std::vector<TopLevelWindow>& zOrder, const OwnWindows& own) {
    KnownWindows facts(zOrder);
    std::vector<std::intptr_t> handles;
    for (const auto& w : zOrder)
        handles.push_back(w.handle);
    return MakeTaskList(handles, facts, own);
}

bool IsTaskWindow(const TopLevelWindow& window, const OwnWindows& own) {
    return MakeTaskList({window}, own).size() == 1;
}

TopLevelWindow AppWindow(std::intptr_t handle, std::u16string title = u"Untitled - Notepad") {
    return {handle, std::move(title), u"Notepad", true, 0, false, 0, false, kExWindowEdge, false};
}

TEST(TaskList, Filter) {
    struct Case {
        const char* what;
        TopLevelWindow window;
        bool listed;
    };
    const auto with = [](auto change) {
        TopLevelWindow w = AppWindow(0x1000);
        change(w);
        return w;
    };
    const Case cases[] = {
        {"an application window", AppWindow(0x1000), true},
        {"extended style 0", with([](auto& w) { w.exStyle = 0; }), true},
        {"topmost only", with([](auto& w) { w.exStyle = 0x8; }), false},
        {"tool window", with([](auto& w) { w.exStyle |= kExToolWindow; }), false},
        {"invisible", with([](auto& w) { w.visible = false; }), false},
        {"the resident main window", AppWindow(kMain), false},
        {"the launcher window", AppWindow(kLauncher, u"vantrel"), false},
        {"any window captioned exactly vantrel", AppWindow(0x1000, u"vantrel"), false},
        {"the caption rule is case-sensitive", AppWindow(0x1000, u"Vantrel"), true},
        {"a longer caption", AppWindow(0x1000, u"vantrel - Notepad"), true},
        {"the desktop", with([](auto& w) { w.className = u"Progman"; }), false},
        {"the taskbar", with([](auto& w) { w.className = u"Shell_TrayWnd"; }), false},
        {"an open menu", with([](auto& w) { w.className = u"#32768"; }), false},
        {"untitled application frame", {0x1000, u"", u"ApplicationFrameWindow", true}, false},
        {"titled application frame", {0x1000, u"Photos", u"ApplicationFrameWindow", true}, true},
        {"rejected by the helper library", with([](auto& w) { w.uwpRejected = true; }), false},
        {"owned by a visible window", with([](auto& w) { w.owner = 0x300, w.ownerVisible = true; }), false},
        {"owned by a hidden window", with([](auto& w) { w.owner = 0x300; }), true},
        {"visible owner, hidden parent", with([](auto& w) { w.owner = w.parent = 0x300, w.ownerVisible = true; }),
         true},
        {"visible owner, no parent (an owned overlapped window)",
         with([](auto& w) { w.owner = 0x300, w.ownerVisible = true; }), false},
        {"visible owner and parent",
         with([](auto& w) { w.owner = w.parent = 0x300, w.ownerVisible = w.parentVisible = true; }), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsTaskWindow(c.window, kOwn), c.listed) << c.what;
}

// Facts about window 0x1000 from a TopLevelWindow, logging each question by its first letter.
class LoggedFacts : public TopLevelWindowFacts {
public:
    explicit LoggedFacts(TopLevelWindow w) : w_(std::move(w)) {}
    std::string asked;
    uint32_t ExStyle(std::intptr_t) override { return asked += 'E', w_.exStyle; }
    bool Visible(std::intptr_t) override { return asked += 'V', w_.visible; }
    Related Owner(std::intptr_t) override { return asked += 'O', Related{w_.owner, w_.ownerVisible}; }
    Related Parent(std::intptr_t) override { return asked += 'P', Related{w_.parent, w_.parentVisible}; }
    std::u16string ClassName(std::intptr_t) override { return asked += 'C', w_.className; }
    std::u16string Title(std::intptr_t) override { return asked += 'T', w_.title; }
    bool UwpRejected(std::intptr_t) override { return asked += 'U', w_.uwpRejected; }

private:
    TopLevelWindow w_;
};

TEST(TaskList, TheFilterStopsAtTheFirstRuleThatSkips) {
    struct Case {
        const char* what;
        TopLevelWindow window;
        const char* asked;
    };
    TopLevelWindow hidden = AppWindow(0x1000), tool = AppWindow(0x1000), owned = AppWindow(0x1000),
                   desktop = AppWindow(0x1000), hiddenTool = AppWindow(0x1000);
    hidden.visible = false;
    tool.exStyle = kExToolWindow;
    hiddenTool.visible = false;
    hiddenTool.exStyle = kExToolWindow;
    owned.owner = owned.parent = 0x300;
    owned.ownerVisible = true;
    desktop.className = u"Progman";
    const Case cases[] = {
        {"a listed window: every question once", AppWindow(0x1000), "VEOCTU"},
        {"own window: no question", AppWindow(kLauncher), ""},
        {"tool window", tool, "VE"},
        {"hidden helper window: one question", hidden, "V"},
        {"hidden tool window", hiddenTool, "V"},
        {"owner visible, parent hidden", owned, "VEOPCTU"},
        {"the desktop: no title read", desktop, "VEOC"},
    };
    for (const auto& c : cases) {
        LoggedFacts facts(c.window);
        const auto tasks = MakeTaskList({c.window.handle}, facts, kOwn);
        EXPECT_EQ(facts.asked, c.asked) << c.what;
        EXPECT_EQ(tasks.size(), IsTaskWindow(c.window, kOwn) ? 1u : 0u) << c.what;
    }
}

TEST(TaskList, TheActiveWindowMovesToTheEnd) {
    const auto handles = [](const ItemList& tasks) {
        std::vector<std::intptr_t> result;
        for (const auto& t : tasks)
            result.push_back(t.WinHandle);
        return result;
    };
    const auto a = AppWindow(0xA, u"A"), b = AppWindow(0xB, u"B"), c = AppWindow(0xC, u"C");
    EXPECT_EQ(handles(MakeTaskList({a}, kOwn)), (std::vector<std::intptr_t>{0xA}));
    EXPECT_EQ(handles(MakeTaskList({a, b, c}, kOwn)), (std::vector<std::intptr_t>{0xB, 0xC, 0xA}));
    // The topmost listed window moves, not the topmost enumerated one.
    EXPECT_EQ(handles(MakeTaskList({AppWindow(kLauncher), a, b}, kOwn)), (std::vector<std::intptr_t>{0xB, 0xA}));
    EXPECT_EQ(MakeTaskList({a, b}, kOwn)[1].Title, u"A");
}

// A desktop whose windows change between listings; every question is logged as its letter and the window's
// handle, which is a letter too.
class ChangingDesktop : public TopLevelWindowFacts {
public:
    std::map<std::intptr_t, TopLevelWindow> windows;
    std::string asked;

    void Add(TopLevelWindow w) { windows[w.handle] = std::move(w); }
    std::vector<std::intptr_t> ZOrder() const {
        std::vector<std::intptr_t> order;
        for (const auto& [handle, w] : windows)
            order.push_back(handle);
        return order;
    }
    ItemList List(TaskWindowMemory& memory, TaskFacts mode) {
        asked.clear();
        memory.KeepOnly(ZOrder());
        RememberingWindowFacts facts(*this, memory, mode);
        return MakeTaskList(ZOrder(), facts, kOwn);
    }

    uint32_t ExStyle(std::intptr_t w) override { return Log('E', w).exStyle; }
    bool Visible(std::intptr_t w) override { return Log('V', w).visible; }
    Related Owner(std::intptr_t w) override { return Related{Log('O', w).owner, windows.at(w).ownerVisible}; }
    Related Parent(std::intptr_t w) override { return Related{Log('P', w).parent, windows.at(w).parentVisible}; }
    std::u16string ClassName(std::intptr_t w) override { return Log('C', w).className; }
    std::u16string Title(std::intptr_t w) override { return Log('T', w).title; }
    bool UwpRejected(std::intptr_t w) override { return Log('U', w).uwpRejected; }

private:
    const TopLevelWindow& Log(char question, std::intptr_t w) {
        asked += question;
        asked += static_cast<char>(w);
        return windows.at(w);
    }
};

std::u16string Titles(const ItemList& tasks) {
    std::u16string titles;
    for (const auto& t : tasks)
        titles += t.Title + u";";
    return titles;
}

// A show asks a window it has listed before only whether it is visible; what it took from memory differs from a
// fresh listing exactly where the window changed, and the fresh listing brings the memory up to date.
TEST(TaskList, AShowAsksKnownWindowsOnlyWhetherTheyAreVisible) {
    ChangingDesktop desktop;
    desktop.Add(AppWindow('A', u"Alpha"));
    TopLevelWindow hidden = AppWindow('B', u"Beta");
    hidden.visible = false;
    desktop.Add(hidden);
    TopLevelWindow tool = AppWindow('C', u"Gamma");
    tool.exStyle = kExToolWindow;
    desktop.Add(tool);
    TaskWindowMemory memory;
    EXPECT_EQ(Titles(desktop.List(memory, TaskFacts::Remembered)), u"Alpha;") << "nothing remembered yet";
    EXPECT_EQ(desktop.asked, "VAEAOACATAUAVBVCEC");

    desktop.windows['A'].title = u"Alpha 2";
    desktop.windows['B'].visible = true;
    desktop.windows['C'].exStyle = kExWindowEdge;
    const ItemList shown = desktop.List(memory, TaskFacts::Remembered);
    EXPECT_EQ(desktop.asked, "VAVBEBOBCBTBUBVC") << "B was never seen visible: asked in full";
    EXPECT_EQ(Titles(shown), u"Beta;Alpha;") << "visibility is exact, title and style are remembered";

    // The show's check: the visibility just read stands, the rest is asked again (a class only once in a life).
    const ItemList checked = desktop.List(memory, TaskFacts::Check);
    EXPECT_EQ(desktop.asked, "EAOATAUAEBOBTBUBECOCCCTCUC");
    EXPECT_EQ(Titles(checked), u"Beta;Gamma;Alpha 2;");
    EXPECT_EQ(CompareTaskLists(shown, checked), TaskListChange::Cells);
    const ItemList next = desktop.List(memory, TaskFacts::Remembered);
    EXPECT_EQ(desktop.asked, "VAVBVC");
    EXPECT_EQ(CompareTaskLists(checked, next), TaskListChange::None);
    desktop.List(memory, TaskFacts::Fresh);
    EXPECT_EQ(desktop.asked, "VAEAOATAUAVBEBOBTBUBVCECOCTCUC") << "a fresh listing asks visibility too";

    desktop.windows.erase('B');
    desktop.List(memory, TaskFacts::Remembered);
    EXPECT_EQ(memory.Find('B'), nullptr) << "a window gone from the desktop is forgotten";
    EXPECT_NE(memory.Find('A'), nullptr);
}

// An owned window is listed while its owner is hidden; the owner's visibility is asked at every show.
TEST(TaskList, AShowAsksWhetherARememberedOwnerIsVisible) {
    ChangingDesktop desktop;
    desktop.Add(AppWindow('O', u"Owner"));
    TopLevelWindow owned = AppWindow('W', u"Owned");
    owned.owner = 'O';
    owned.ownerVisible = true;
    desktop.Add(owned);
    TaskWindowMemory memory;
    EXPECT_EQ(Titles(desktop.List(memory, TaskFacts::Fresh)), u"Owner;");
    desktop.windows['O'].visible = false;
    desktop.windows['W'].ownerVisible = false;
    EXPECT_EQ(Titles(desktop.List(memory, TaskFacts::Remembered)), u"Owned;");
    EXPECT_EQ(desktop.asked, "VOVWVOCWTWUW") << "the owner remembered, its visibility asked";
}

TEST(TaskList, CompareTaskLists) {
    const auto task = [](std::intptr_t window, std::u16string title, IconHandle icon) {
        RData item;
        item.WinHandle = window;
        item.Title = std::move(title);
        item.Icon = IconRef::Borrowed(icon);
        return item;
    };
    const ItemList shown{task(1, u"A", 10), task(2, u"B", 20)};
    struct Case {
        const char* what;
        ItemList fresh;
        TaskListChange change;
    };
    const Case cases[] = {
        {"the same", {task(1, u"A", 10), task(2, u"B", 20)}, TaskListChange::None},
        {"a title", {task(1, u"A", 10), task(2, u"B*", 20)}, TaskListChange::Titles},
        {"an icon", {task(1, u"A", 10), task(2, u"B", 21)}, TaskListChange::Cells},
        {"another order", {task(2, u"B", 20), task(1, u"A", 10)}, TaskListChange::Cells},
        {"a title and a window", {task(1, u"A*", 10), task(3, u"B", 20)}, TaskListChange::Cells},
        {"one less", {task(1, u"A", 10)}, TaskListChange::Cells},
        {"empty", {}, TaskListChange::Cells},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompareTaskLists(shown, c.fresh), c.change) << c.what;
    EXPECT_EQ(CompareTaskLists({}, {}), TaskListChange::None);
}

TEST(TaskList, TitlesAreCutLikeA255CharacterBuffer) {
    EXPECT_EQ(TaskTitle(std::u16string(255, u'x')).size(), 254u);
    std::u16string pairs; // characters outside the BMP: the cut must not split one
    for (int i = 0; i < 200; ++i)
        pairs += u"\U0001F600";
    EXPECT_EQ(TaskTitle(pairs).size(), 254u);
    EXPECT_EQ(TaskTitle(u"x" + pairs).size(), 253u);
}

// Answers from a table of (window, question), logging the questions: upper case about window 1, lower case about
// its parent 2. Windows 1 and 2 belong to thread 7, window 3 to thread 8; a question answered by kTimeout does not
// come back in time.
constexpr IconHandle kTimeout = ~IconHandle{0};

class FakeIcons : public TaskIconQueries {
public:
    std::map<std::pair<std::intptr_t, char>, IconHandle> answers;
    bool hasParent = false;
    std::string asked;

    WindowAnswer BigIcon(std::intptr_t w) override { return Message(w, 'B'); }
    IconHandle ClassIcon(std::intptr_t w) override { return Ask(w, 'C'); }
    WindowAnswer DragIcon(std::intptr_t w) override { return Message(w, 'D'); }
    IconHandle UwpWindowIcon(std::intptr_t w) override { return Ask(w, 'U'); }
    IconHandle ProgramFileIcon(std::intptr_t w) override { return Ask(w, 'F'); }
    std::intptr_t Parent(std::intptr_t w) override {
        asked += 'P';
        return hasParent && w == 1 ? 2 : 0;
    }
    uint32_t ThreadOf(std::intptr_t w) override { return w == 3 ? 8 : 7; }

private:
    IconHandle Ask(std::intptr_t w, char what) {
        asked += w == 2 ? static_cast<char>(what + ('a' - 'A')) : what;
        const auto it = answers.find({w, what});
        return it == answers.end() ? 0 : it->second;
    }
    WindowAnswer Message(std::intptr_t w, char what) {
        const IconHandle icon = Ask(w, what);
        return icon == kTimeout ? WindowAnswer{0, false} : WindowAnswer{icon, true};
    }
};

TEST(TaskList, IconSearchOrder) {
    constexpr IconHandle kDefault = 99;
    struct Case {
        std::map<std::pair<std::intptr_t, char>, IconHandle> answers;
        bool hasParent;
        IconHandle icon;
        const char* asked;
    };
    const Case cases[] = {
        {{{{1, 'B'}, 11}}, true, 11, "B"},
        {{{{1, 'D'}, 13}}, true, 13, "BCD"},
        {{{{1, 'U'}, 14}}, true, 14, "BCDU"},
        {{{{1, 'F'}, 15}}, false, 15, "BCDUPF"}, // no parent: the program file's icon
        {{}, false, 0, "BCDUPF"},                // ... or nothing at all
        {{{{2, 'C'}, 22}}, true, 22, "BCDUPbc"},
        {{}, true, kDefault, "BCDUPbcd"},
        // A window that lets the get-icon message time out is sent nothing more, nor is its parent (the same
        // thread), but the answers that need no message are still taken.
        {{{{1, 'B'}, kTimeout}}, true, kDefault, "BCUPc"},
        {{{{1, 'B'}, kTimeout}, {{1, 'F'}, 15}}, false, 15, "BCUPF"},
        {{{{1, 'D'}, kTimeout}, {{2, 'C'}, 22}}, true, 22, "BCDUPc"},
    };
    for (const auto& c : cases) {
        FakeIcons icons;
        icons.answers = c.answers;
        icons.hasParent = c.hasParent;
        TaskIconSearch search(icons, kDefault);
        EXPECT_EQ(search.Find(1), c.icon) << c.asked;
        EXPECT_EQ(icons.asked, c.asked);
    }
}

TEST(TaskList, AThreadThatTimedOutIsNotAskedAgainDuringTheShow) {
    FakeIcons icons;
    icons.answers = {{{1, 'B'}, kTimeout}, {{3, 'B'}, 33}};
    TaskIconSearch search(icons, 99);
    EXPECT_EQ(search.Find(1), 0u);
    icons.asked.clear();
    EXPECT_EQ(search.Find(1), 0u) << "a second window of the hung thread";
    EXPECT_EQ(icons.asked, "CUPF");
    EXPECT_EQ(search.Find(3), 33u) << "other threads are still asked";
    EXPECT_EQ(search.Find(0), 0u);
    TaskIconSearch nextShow(icons, 99);
    icons.asked.clear();
    nextShow.Find(1);
    EXPECT_EQ(icons.asked.substr(0, 1), "B") << "the next show asks again";
}

TEST(TaskList, ProgramIconCacheKeepsWhatTheLastShowUsed) {
    ProgramIconCache cache;
    EXPECT_EQ(cache.Find(u"C:\\a.exe"), std::nullopt);
    cache.Add(u"C:\\a.exe", 1);
    cache.Add(u"C:\\b.exe", 2);
    cache.Add(u"C:\\noicon.exe", 0); // remembered too: the file is not opened again
    EXPECT_EQ(cache.Find(u"C:\\a.exe"), IconHandle{1});
    EXPECT_TRUE(cache.EndShow().empty()) << "all used by the first show";
    // Second show: only a.exe and the icon-less file are still open.
    EXPECT_EQ(cache.Find(u"C:\\a.exe"), IconHandle{1});
    EXPECT_EQ(cache.Find(u"C:\\noicon.exe"), IconHandle{0});
    EXPECT_EQ(cache.EndShow(), (std::vector<IconHandle>{2}));
    EXPECT_EQ(cache.Find(u"C:\\b.exe"), std::nullopt);
    // Third show uses nothing: the icon-less entry is dropped without an icon to release.
    EXPECT_EQ(cache.EndShow(), (std::vector<IconHandle>{1}));
    cache.Add(u"C:\\c.exe", 3);
    EXPECT_EQ(cache.Clear(), (std::vector<IconHandle>{3}));
    EXPECT_EQ(cache.Find(u"C:\\c.exe"), std::nullopt);
}

} // namespace
} // namespace vantrel
