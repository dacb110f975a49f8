#include "launcher/task_list.h"

#include <gtest/gtest.h>

#include <map>

namespace vantrel {
namespace {

constexpr std::intptr_t kMain = 0x100;
constexpr std::intptr_t kLauncher = 0x200;
const OwnWindows kOwn{kMain, kLauncher};

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
        {"another program's window titled vantrel", AppWindow(0x1000, u"vantrel"), true},
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
        {"visible owner and parent",
         with([](auto& w) { w.owner = w.parent = 0x300, w.ownerVisible = w.parentVisible = true; }), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsTaskWindow(c.window, kOwn), c.listed) << c.what;
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

TEST(TaskList, TitlesAreCutLikeA255CharacterBuffer) {
    EXPECT_EQ(TaskTitle(std::u16string(255, u'x')).size(), 254u);
    std::u16string pairs; // characters outside the BMP: the cut must not split one
    for (int i = 0; i < 200; ++i)
        pairs += u"\U0001F600";
    EXPECT_EQ(TaskTitle(pairs).size(), 254u);
    EXPECT_EQ(TaskTitle(u"x" + pairs).size(), 253u);
}

// Answers from a table of (window, question), logging the questions: upper case about window 1, lower case about
// its parent 2.
class FakeIcons : public TaskIconQueries {
public:
    std::map<std::pair<std::intptr_t, char>, IconHandle> answers;
    bool hasParent = false;
    std::string asked;

    IconHandle BigIcon(std::intptr_t w) override { return Ask(w, 'B'); }
    IconHandle ClassIcon(std::intptr_t w) override { return Ask(w, 'C'); }
    IconHandle DragIcon(std::intptr_t w) override { return Ask(w, 'D'); }
    IconHandle UwpWindowIcon(std::intptr_t w) override { return Ask(w, 'U'); }
    std::intptr_t Parent(std::intptr_t) override {
        asked += 'P';
        return hasParent ? 2 : 0;
    }

private:
    IconHandle Ask(std::intptr_t w, char what) {
        asked += w == 1 ? what : static_cast<char>(what + ('a' - 'A'));
        const auto it = answers.find({w, what});
        return it == answers.end() ? 0 : it->second;
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
        {{{{1, 'B'}, 11}}, true, 11, "B"},       {{{{1, 'D'}, 13}}, true, 13, "BCD"},
        {{{{1, 'U'}, 14}}, true, 14, "BCDU"},    {{}, false, 0, "BCDUP"}, // no parent: no icon at all
        {{{{2, 'C'}, 22}}, true, 22, "BCDUPbc"}, {{}, true, kDefault, "BCDUPbcd"},
    };
    for (const auto& c : cases) {
        FakeIcons icons;
        icons.answers = c.answers;
        icons.hasParent = c.hasParent;
        EXPECT_EQ(FindTaskIcon(1, icons, kDefault), c.icon) << c.asked;
        EXPECT_EQ(icons.asked, c.asked);
    }
}

} // namespace
} // namespace vantrel
