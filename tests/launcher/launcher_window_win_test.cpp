// The launcher window and the Task list's Win32 side against the real window system (Wine in CI). Icon
// messages reach only windows of this process under Wine, so the windows asked here live on threads of the
// test program: one that answers, one that has stopped taking messages.

#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "config/item_lists.h"
#include "launcher/launcher_window_win.h"
#include "launcher/nav_fakes.h"
#include "launcher/task_windows_win.h"
#include "services/helper_library_win.h"
#include "services/system_win.h"
#include "support/pixels_win.h"
#include "support/window_thread_win.h"
#include "win/strings_win.h"

namespace vantrel::win {
namespace {

using vantrel::testing::Answers;
using vantrel::testing::Shown;
using vantrel::testing::WindowThread;

std::intptr_t Value(HWND w) {
    return reinterpret_cast<std::intptr_t>(w);
}

// What a show of the Task list holds: no helper library, a fresh icon cache released at the end.
struct TaskShow {
    ~TaskShow() { DestroyIcons(cache.Clear()); }
    HelperLibrary helper;
    ProgramIconCache cache;
    WindowIdentities identities;
    Win32TaskIconQueries queries{helper, cache, identities};
};

TEST(TaskWindowsWin, IconsOfAnAnsweringWindow) {
    const HICON icon = LoadIconW(nullptr, IDI_INFORMATION);
    WindowThread live(1, Answers::Yes, Shown::No, icon);
    TaskShow show;
    Win32TaskIconQueries& queries = show.queries;
    const auto answer = queries.BigIcon(live.Handle());
    EXPECT_TRUE(answer.answered);
    EXPECT_EQ(answer.icon, FromHicon(icon));
    EXPECT_TRUE(queries.DragIcon(live.Handle()).answered);
    EXPECT_EQ(queries.ThreadOf(live.Handle()), GetWindowThreadProcessId(live.windows[0], nullptr));
    EXPECT_EQ(queries.Parent(live.Handle()), 0);
    EXPECT_EQ(queries.UwpWindowIcon(live.Handle()), 0u) << "no helper library";
}

TEST(TaskWindowsWin, AHungThreadCostsTheShowOneTimeLimit) {
    WindowThread hung(3, Answers::Hangs);
    TaskShow show;
    // The search runs on a thread of its own, so that a missing time limit fails the test instead of hanging it.
    std::vector<IconHandle> icons;
    DWORD elapsed = 0;
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread search([&] {
        const DWORD start = GetTickCount();
        TaskIconSearch iconSearch(show.queries, 99);
        for (HWND w : hung.windows)
            icons.push_back(iconSearch.Find(Value(w)));
        elapsed = GetTickCount() - start;
        SetEvent(done);
    });
    const bool finished = WaitForSingleObject(done, 5000) == WAIT_OBJECT_0;
    if (!finished) {
        search.detach();
        FAIL() << "the icon search waited for a window that does not answer";
    }
    search.join();
    CloseHandle(done);
    EXPECT_GE(elapsed, kTaskMessageTimeoutMs / 2) << "the first question waits for its time limit";
    EXPECT_LT(elapsed, 3 * kTaskMessageTimeoutMs) << "three windows of one hung thread: one time limit";
    // No own icon, no parent: the program file's icon (the test program has none) or nothing.
    ASSERT_EQ(icons.size(), 3u);
    EXPECT_EQ(icons[0], icons[2]);
}

// A show's icon search reads a window's parent from the filter's answers and a class's icon once: the answers
// must be the window system's own.
TEST(TaskWindowsWin, AnswersReusedWithinAShowAreTheSystems) {
    WindowThread live(2);
    const HICON icon = LoadIconW(nullptr, IDI_WARNING);
    SetClassLongPtrW(live.windows[0], GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // An owned popup and an owned overlapped window: GetParent gives the owner for the first only.
    HWND popup = CreateWindowExW(WS_EX_WINDOWEDGE, WindowThread::kClass, L"Popup", WS_POPUP, 0, 0, 50, 50,
                                 live.windows[0], nullptr, instance, nullptr);
    HWND overlapped = CreateWindowExW(WS_EX_WINDOWEDGE, WindowThread::kClass, L"Owned", WS_OVERLAPPED, 0, 0, 50, 50,
                                      live.windows[0], nullptr, instance, nullptr);
    ASSERT_TRUE(popup && overlapped);
    TaskShow show;
    ShowAnswers answers;
    Win32WindowFacts facts(show.helper, show.identities, &answers);
    Win32TaskIconQueries queries(show.helper, show.cache, show.identities, &answers);
    for (HWND w : {live.windows[0], live.windows[1], popup, overlapped}) {
        const std::intptr_t window = Value(w);
        facts.Visible(window);
        facts.Owner(window);
        EXPECT_EQ(queries.Parent(window), Value(GetParent(w)));
        EXPECT_EQ(queries.ClassIcon(window), FromHicon(reinterpret_cast<HICON>(GetClassLongPtrW(w, GCLP_HICON))));
    }
    EXPECT_EQ(queries.Parent(Value(popup)), Value(live.windows[0]));
    EXPECT_EQ(queries.Parent(Value(overlapped)), 0);
    EXPECT_EQ(queries.ClassIcon(Value(live.windows[1])), FromHicon(icon)) << "one class, one icon";
    EXPECT_EQ(answers.classIcons.size(), 1u) << "asked once for the four windows of one class";
    DestroyWindow(popup);
    DestroyWindow(overlapped);
}

// The listing comes from one answer of the window system; it must hold every window EnumWindows gives, in the
// same z-order (what it holds besides are hidden windows, which the filter drops with its first question).
TEST(TaskWindowsWin, TheListingHoldsTheTopLevelWindowsInZOrder) {
    WindowThread live(3, Answers::Yes, Shown::Yes);
    const auto enumerated = [] {
        std::vector<std::intptr_t> windows;
        EnumWindows(
            [](HWND hwnd, LPARAM data) -> BOOL {
                reinterpret_cast<std::vector<std::intptr_t>*>(data)->push_back(Value(hwnd));
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&windows));
        return windows;
    };
    // The first window EnumWindows gives that the listing lacks or holds out of order; 0 when there is none.
    const auto firstOutOfOrder = [](const std::vector<std::intptr_t>& expected,
                                    const std::vector<std::intptr_t>& listed) -> std::intptr_t {
        auto at = listed.begin();
        for (const std::intptr_t window : expected) {
            at = std::find(at, listed.end(), window);
            if (at == listed.end())
                return window;
            ++at;
        }
        return 0;
    };
    // Compared while nothing else on the desktop comes, goes or is restacked: the same answer before and after. A
    // restack and its undoing can still fall between the two; a listing out of order fails every attempt.
    std::vector<std::intptr_t> expected;
    std::vector<std::intptr_t> listed;
    std::intptr_t outOfOrder = 0;
    for (int attempt = 0; attempt < 10; ++attempt) {
        expected = enumerated();
        listed = EnumerateTopLevelWindows();
        outOfOrder = firstOutOfOrder(expected, listed);
        if (enumerated() == expected && outOfOrder == 0)
            break;
        Sleep(100);
    }
    ASSERT_EQ(outOfOrder, 0) << "window " << outOfOrder << " missing or out of z-order";
    for (const std::intptr_t window : listed)
        if (std::find(expected.begin(), expected.end(), window) == expected.end()) {
            EXPECT_FALSE(IsWindowVisible(ToHwnd(window))) << "an extra window that is shown";
        }
}

TEST(TaskWindowsWin, TheDesktopsWindowsGoThroughTheFilter) {
    WindowThread live(2, Answers::Yes, Shown::Yes);
    HelperLibrary helper;
    TaskListMemory memory;
    ItemList tasks;
    RebuildTaskList(tasks, {}, helper, memory, TaskFacts::Fresh, 99);
    const auto listed = [&](std::u16string_view title) {
        return std::any_of(tasks.begin(), tasks.end(), [&](const RData& t) { return t.Title == title; });
    };
    EXPECT_TRUE(listed(u"Task 1"));
    EXPECT_TRUE(listed(u"Task 2"));
    EXPECT_FALSE(listed(u"")) << "untitled hidden helper windows are not listed";
    tasks.clear();
    DestroyIcons(memory.programIcons.Clear());
}

// A hidden window to own the launcher, as the resident window does.
class OwnerWindow : public Window {
public:
    bool Make() { return Create(L"VanTestOwner", L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr); }

private:
    LRESULT OnMessage(UINT m, WPARAM w, LPARAM l) override { return DefaultProc(m, w, l); }
};

// The host a launcher window needs, with three Program items (programs that may be elevated) and a shell that
// records what the window runs.
struct LauncherFixture : LauncherHost {
    LauncherFixture() : icons(std::make_unique<Win32IconSource>(system)) {
        for (int i = 0; i < 3; ++i) {
            const std::u16string digit(1, static_cast<char16_t>(u'0' + i));
            RData item;
            item.Title = u"Program " + digit;
            item.ExeFileName = u"C:\\Tools\\tool" + digit + u".exe";
            item.Icon = IconRef::Borrowed(icons->DefaultProgramIcon());
            trays[ProgramTray].Items.push_back(item);
        }
        option.ColMax = 5;
        owner.Make();
        launcher =
            std::make_unique<LauncherWindow>(LauncherServices{*this, system, *icons, helper, nullptr, nullptr, &shell});
        created = launcher->Create(owner.Handle());
    }
    ~LauncherFixture() override {
        launcher.reset();
        for (TrayEntry& tray : trays)
            FreeItems(tray.Items);
    }

    std::array<TrayEntry, 3>& Trays() override { return trays; }
    const TOption& Option() const override { return option; }
    LauncherFlags Flags() const override { return {}; }
    const DeviceList& Devices() const override { return devices; }
    int32_t& ShowStatus() override { return showStatus; }
    void LauncherShown() override { menuWatchCount = 0; }
    void LauncherMenuOpened() override { menuWatchCount = 100; }
    int32_t CdMode() override { return 0; }
    void OpenItemSetting(int32_t tray, int32_t index, const BoxBounds& rect) override {
        settingRequests.push_back({tray, index, rect});
    }
    void StopAllUsbDrives() override { ++stopAllRequests; }

    Win32SystemQueries system;
    vantrel::testing::Log log;
    vantrel::testing::RecordingShell shell{log};
    std::unique_ptr<Win32IconSource> icons;
    HelperLibrary helper;
    std::array<TrayEntry, 3> trays;
    TOption option;
    DeviceList devices;
    int32_t showStatus = 0;
    int32_t menuWatchCount = 77;
    OwnerWindow owner;
    std::unique_ptr<LauncherWindow> launcher;
    bool created = false;
    struct SettingRequest {
        int32_t tray;
        int32_t index;
        BoxBounds rect;
    };
    std::vector<SettingRequest> settingRequests;
    int stopAllRequests = 0;
};

void PumpUntilPainted(LauncherWindow& launcher, uint32_t paints) {
    const DWORD end = GetTickCount() + 5000;
    MSG msg;
    while (launcher.FullPaintCount() < paints && GetTickCount() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(1);
    }
}

void PumpFor(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    MSG msg;
    while (GetTickCount() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(1);
    }
}

TEST(LauncherWindowWin, ShowPaintsOnceAndTheCloseCommandOnlyHides) {
    WindowThread other(1, Answers::Yes, Shown::Yes);
    LauncherFixture f;
    ASSERT_TRUE(f.created);
    LauncherWindow& launcher = *f.launcher;
    wchar_t caption[32] = {};
    GetWindowTextW(launcher.Handle(), caption, 32);
    EXPECT_STREQ(caption, L"vantrel");
    EXPECT_TRUE(GetWindowLongPtrW(launcher.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    f.showStatus = 1;
    launcher.Show();
    PumpUntilPainted(launcher, 1);
    ASSERT_EQ(launcher.FullPaintCount(), 1u);
    EXPECT_TRUE(launcher.IsShown());
    EXPECT_EQ(f.menuWatchCount, 0);
    RECT r{};
    GetWindowRect(launcher.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 5 * 40 + 18);
    EXPECT_EQ(r.bottom - r.top, launcher.FormState().Layout.height);
    EXPECT_EQ(launcher.NameCaption(), u"Program 0") << "the cursor starts on the first Program cell";
    const auto& tasks = f.trays[TaskTray].Items;
    EXPECT_TRUE(std::any_of(tasks.begin(), tasks.end(), [](const RData& t) { return t.Title == u"Task 1"; }));

    // Covered and uncovered: restored from the buffer, no second full paint.
    InvalidateRect(launcher.Handle(), nullptr, TRUE);
    UpdateWindow(launcher.Handle());
    EXPECT_EQ(launcher.FullPaintCount(), 1u);

    // The arrow keys go through the window's own key handler.
    SendMessageW(launcher.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(launcher.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(launcher.NameCaption(), u"Program 2");
    SendMessageW(launcher.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(launcher.NameCaption(), u"Program 0") << "past the last shown item the row wraps";
    EXPECT_EQ(launcher.FormState().NowMode, ProgramTray);

    launcher.Show(); // a second trigger while the window is up
    PumpUntilPainted(launcher, 2);
    EXPECT_EQ(launcher.FullPaintCount(), 2u) << "a show while up paints again";
    EXPECT_EQ(launcher.NameCaption(), u"Program 0") << "with the cursor back on the first cell";
    PumpFor(200); // the show's check
    const std::vector<uint32_t> shown = vantrel::testing::WindowPixels(launcher.Handle());

    SendMessageW(launcher.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(launcher.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(launcher.IsShown());
    EXPECT_TRUE(IsWindow(launcher.Handle())) << "closing only hides";
    EXPECT_EQ(f.showStatus, 0);

    f.showStatus = 1;
    launcher.Show();
    PumpUntilPainted(launcher, 3);
    EXPECT_EQ(launcher.FullPaintCount(), 3u) << "every show paints once";
    PumpFor(200);
    // The show copies the picture it kept only when nothing was drawn over it: here the moved cursor was.
    EXPECT_TRUE(vantrel::testing::WindowPixels(launcher.Handle()) == shown) << "a picture other than the last show's";
    SendMessageW(launcher.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(launcher.IsShown());
    EXPECT_EQ(f.showStatus, 0);
}

bool HasTask(const LauncherFixture& f, std::u16string_view title) {
    const auto& tasks = f.trays[TaskTray].Items;
    return std::any_of(tasks.begin(), tasks.end(), [&](const RData& t) { return t.Title == title; });
}

// A show takes the windows it listed before from memory and asks only which are visible; the check it posts
// itself asks everything again and paints what changed: a new title in the name panel without a full paint, a
// window that is no longer listed with one.
TEST(LauncherWindowWin, TheShowsCheckPaintsWhatChangedSinceTheLastShow) {
    WindowThread other(3, Answers::Yes, Shown::Yes);
    LauncherFixture f;
    ASSERT_TRUE(f.created);
    LauncherWindow& launcher = *f.launcher;
    f.option.KeyCursorFlag = TaskTray;
    const auto show = [&] {
        f.showStatus = 1;
        launcher.Show();
    };
    const auto hide = [&] { SendMessageW(launcher.Handle(), WM_KEYDOWN, VK_ESCAPE, 0); };
    const auto cursorTitle = [&] {
        const TrayEntry& tasks = f.trays[TaskTray];
        return tasks.Items.at(static_cast<std::size_t>(tasks.NowIndex)).Title;
    };
    // The first check adds the drives to the fixture's empty System tray: what the resident core does at start.
    show();
    PumpFor(200);
    hide();
    const uint32_t paints = launcher.FullPaintCount();
    show();
    PumpFor(200);
    ASSERT_EQ(launcher.FullPaintCount(), paints + 1) << "nothing changed between the show and its check";
    ASSERT_TRUE(HasTask(f, u"Task 1") && HasTask(f, u"Task 2") && HasTask(f, u"Task 3"));
    hide();

    for (std::size_t i = 0; i < other.windows.size(); ++i)
        SetWindowTextW(other.windows[i], (L"New " + std::to_wstring(i + 1)).c_str());
    show();
    EXPECT_TRUE(HasTask(f, u"Task 1")) << "titles come from memory at the show";
    PumpFor(200);
    EXPECT_TRUE(HasTask(f, u"New 1") && HasTask(f, u"New 2") && HasTask(f, u"New 3"));
    EXPECT_FALSE(HasTask(f, u"Task 1"));
    EXPECT_EQ(launcher.NameCaption(), cursorTitle()) << "the name panel shows the new title";
    EXPECT_EQ(launcher.FullPaintCount(), paints + 2) << "new titles need no full paint";
    hide();

    ShowWindow(other.windows[1], SW_HIDE);
    SetWindowLongPtrW(other.windows[2], GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    const int32_t heightBefore = launcher.FormState().Layout.height;
    show();
    EXPECT_FALSE(HasTask(f, u"New 2")) << "a window hidden since the last show is never painted";
    EXPECT_TRUE(HasTask(f, u"New 3")) << "its extended style comes from memory at the show";
    PumpFor(200);
    EXPECT_FALSE(HasTask(f, u"New 3")) << "a tool window is not listed";
    EXPECT_TRUE(HasTask(f, u"New 1"));
    EXPECT_EQ(launcher.FullPaintCount(), paints + 4) << "the show's paint and the check's";
    RECT r{};
    GetWindowRect(launcher.Handle(), &r);
    EXPECT_EQ(r.bottom - r.top, launcher.FormState().Layout.height);
    EXPECT_LE(launcher.FormState().Layout.height, heightBefore);
    EXPECT_EQ(launcher.NameCaption(), cursorTitle());
    hide();
}

// WM_DPICHANGED, as the system sends it when the window is moved to a monitor of another DPI.
void MoveToDpi(LauncherWindow& launcher, int dpi, RECT suggested) {
    SendMessageW(launcher.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// A window moved to a monitor of another DPI lays itself out again at that scale where the system suggests, with its
// item icons from a source of the new size, and paints everything anew; the cursor stays where it was.
TEST(LauncherWindowWin, AMoveToAMonitorOfAnotherDpiLaysTheWindowOutAgain) {
    LauncherFixture f;
    ASSERT_TRUE(f.created);
    f.trays[ProgramTray].Items[0].IconFileName = FromWide(VANTREL_ICON_DIR L"/mainicon.ico");
    f.trays[ProgramTray].Items[0].IconIndex = 0;
    LauncherWindow& launcher = *f.launcher;
    f.showStatus = 1;
    launcher.Show();
    PumpUntilPainted(launcher, 1);
    ASSERT_EQ(launcher.FormState().Scale, DpiScale{96}) << "the test desktop runs at 96 dpi";
    SendMessageW(launcher.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    struct Case {
        int dpi;
        int width, iconSize;
    };
    const Case cases[] = {{144, 5 * 60 + 3 + 24, 48}, {192, 5 * 80 + 4 + 32, 64}, {96, 5 * 40 + 18, 32}};
    uint32_t paints = launcher.FullPaintCount();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        MoveToDpi(launcher, c.dpi, {300, 200, 400, 300});
        PumpUntilPainted(launcher, ++paints);
        EXPECT_EQ(launcher.FullPaintCount(), paints) << "painted anew";
        RECT r{};
        GetWindowRect(launcher.Handle(), &r);
        EXPECT_EQ(r.left, 300);
        EXPECT_EQ(r.top, 200);
        EXPECT_EQ(r.right - r.left, c.width);
        EXPECT_EQ(r.bottom - r.top, launcher.FormState().Layout.height);
        EXPECT_EQ(launcher.FormState().Layout.cell.iconSize, c.iconSize);
        EXPECT_EQ(f.icons->IconSize(), c.iconSize);
        EXPECT_EQ(testing::IconWidth(ToHicon(f.trays[ProgramTray].Items[0].Icon.Get())), c.iconSize)
            << "extracted at the new size, not stretched";
        EXPECT_EQ(launcher.NameCaption(), u"Program 1") << "the cursor stays";
        EXPECT_EQ(f.trays[ProgramTray].NowIndex, 1);
        // The mouse finds the cells at the new pitch.
        const LauncherLayout& layout = launcher.FormState().Layout;
        const BoxBounds& box = layout.trayBox[ProgramTray];
        SendMessageW(
            launcher.Handle(), WM_MOUSEMOVE, 0,
            MAKELPARAM(box.left + 2 * layout.cell.pitch + layout.cell.pitch / 2, box.top + layout.cell.pitch / 2));
        EXPECT_EQ(launcher.NameCaption(), u"Program 2");
        // Back to cell 1 by keys that leave the mouse's cell behind, so that the next move to cell 2 counts.
        for (const WPARAM key : {VK_LEFT, VK_LEFT, VK_RIGHT})
            SendMessageW(launcher.Handle(), WM_KEYDOWN, key, 0);
        EXPECT_EQ(launcher.NameCaption(), u"Program 1");
    }
}

// Shows the window as a trigger does and waits for its paint.
void ShowAndPaint(LauncherFixture& f, int32_t showStatus = 1) {
    f.showStatus = showStatus;
    const uint32_t paints = f.launcher->FullPaintCount();
    f.launcher->Show();
    PumpUntilPainted(*f.launcher, paints + 1);
}

// The client point in the middle of Program cell `index`, as a mouse message carries it.
LPARAM ProgramCell(const LauncherWindow& launcher, int32_t index) {
    const LauncherLayout& layout = launcher.FormState().Layout;
    const BoxBounds& box = layout.trayBox[ProgramTray];
    return MAKELPARAM(box.left + index % layout.columns * 40 + 22, box.top + index / layout.columns * 40 + 22);
}

// Alt down in this thread's key state, where the window's mouse handler reads it, for as long as it lives.
class AltHeld {
public:
    AltHeld() {
        GetKeyboardState(saved_);
        BYTE state[256];
        std::copy(std::begin(saved_), std::end(saved_), state);
        state[VK_MENU] = state[VK_LMENU] = 0x80;
        SetKeyboardState(state);
    }
    ~AltHeld() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256] = {};
};

// A menu accelerator waiting in the queue is read by the popup menu's own loop once the menu is open, as a
// key pressed while it shows.
void ChooseFromTheNextMenu(const LauncherWindow& launcher, wchar_t accelerator) {
    PostMessageW(launcher.Handle(), WM_CHAR, accelerator, 0);
}

// Every gesture that runs an item goes through the window's own handlers to the executor: elevation ("runas",
// no owner window) with Alt+Enter unless Alt is disabled, with Alt+click always, and with the popup menu's
// "&Run as administrator" opened from the keyboard or by a right click.
TEST(LauncherWindowWin, RunAsAdministratorFromEveryGesture) {
    struct Case {
        const char* what;
        bool altDisabled;
        std::function<void(LauncherWindow&)> gesture;
        int32_t item;
        bool elevated;
    };
    const auto click = [](int32_t cell, bool alt) {
        return [cell, alt](LauncherWindow& w) {
            std::optional<AltHeld> held;
            if (alt)
                held.emplace();
            SendMessageW(w.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, ProgramCell(w, cell));
        };
    };
    const auto altEnter = [](LauncherWindow& w) {
        SendMessageW(w.Handle(), WM_SYSKEYDOWN, VK_RETURN, static_cast<LPARAM>(KF_ALTDOWN) << 16 | 1);
    };
    const Case cases[] = {
        {"Enter", false, [](LauncherWindow& w) { SendMessageW(w.Handle(), WM_KEYDOWN, VK_RETURN, 1); }, 0, false},
        {"Alt+Enter", false, altEnter, 0, true},
        {"Alt+Enter with Alt disabled", true, altEnter, 0, false},
        {"a click", false, click(2, false), 2, false},
        {"Alt+click", false, click(1, true), 1, true},
        {"Alt+click with Alt disabled", true, click(1, true), 1, true},
        {"the menu key's menu", false,
         [](LauncherWindow& w) {
             ChooseFromTheNextMenu(w, L'r');
             SendMessageW(w.Handle(), WM_KEYDOWN, VK_APPS, 1);
         },
         0, true},
        {"a right click's menu", false,
         [](LauncherWindow& w) {
             ChooseFromTheNextMenu(w, L'r');
             SendMessageW(w.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, ProgramCell(w, 2));
         },
         2, true},
    };
    LauncherFixture f;
    ASSERT_TRUE(f.created);
    for (const Case& c : cases) {
        f.option.AltDisableFlag = c.altDisabled;
        f.shell.executed.clear();
        ShowAndPaint(f);
        ASSERT_TRUE(f.launcher->IsShown()) << c.what;
        c.gesture(*f.launcher);
        ASSERT_EQ(f.shell.executed.size(), 1u) << c.what;
        const ExecuteRequest& run = f.shell.executed[0];
        EXPECT_EQ(run.file, f.trays[ProgramTray].Items[static_cast<std::size_t>(c.item)].ExeFileName) << c.what;
        EXPECT_EQ(run.verb, c.elevated ? u"runas" : u"") << c.what;
        EXPECT_EQ(run.owner, c.elevated ? ExecuteRequest::Owner::None : ExecuteRequest::Owner::MainWindow) << c.what;
        EXPECT_EQ(f.showStatus, 0) << c.what;
        EXPECT_FALSE(f.launcher->IsShown()) << c.what << ": the window hides after the run";
    }
}

// A stand-in for the taskbar, which the launcher finds by class and asks to minimise every window. It records
// the commands it is sent.
class FakeTaskbar : public Window {
public:
    bool Make() { return Create(L"Shell_TrayWnd", L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr); }
    std::vector<WPARAM> commands;

private:
    LRESULT OnMessage(UINT m, WPARAM w, LPARAM l) override {
        if (m == WM_COMMAND)
            commands.push_back(w);
        return DefaultProc(m, w, l);
    }
};

// "&All minimize" from a Program item's menu: the taskbar gets its minimise-all command (415), the windows
// themselves are left to it, nothing runs, and the launcher hides.
TEST(LauncherWindowWin, AllMinimizeFromTheItemMenuAsksTheTaskbar) {
    FakeTaskbar taskbar;
    ASSERT_TRUE(taskbar.Make());
    // The launcher asks the first window of the class; a new window comes first unless a taskbar that stays on
    // top is there, which would take the command and minimise the desktop.
    if (FindWindowW(L"Shell_TrayWnd", nullptr) != taskbar.Handle())
        GTEST_SKIP() << "another taskbar comes first";
    WindowThread task(1, Answers::Yes, Shown::Yes);
    LauncherFixture f;
    ASSERT_TRUE(f.created);
    ShowAndPaint(f, 2);
    ASSERT_FALSE(f.trays[TaskTray].Items.empty()) << "the entry is offered only with task windows";
    ChooseFromTheNextMenu(*f.launcher, L'a');
    SendMessageW(f.launcher->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, ProgramCell(*f.launcher, 1));
    const DWORD end = GetTickCount() + 3000;
    for (MSG msg; taskbar.commands.empty() && GetTickCount() < end; Sleep(5))
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    EXPECT_EQ(taskbar.commands, (std::vector<WPARAM>{415}));
    EXPECT_TRUE(f.shell.executed.empty());
    EXPECT_EQ(f.showStatus, 0);
    EXPECT_FALSE(f.launcher->IsShown());
    EXPECT_TRUE(IsWindow(task.windows[0]) && !IsIconic(task.windows[0])) << "the task window is the taskbar's";
}

constexpr GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

std::wstring AccName(IAccessible* object, LONG child) {
    VARIANT id;
    VariantInit(&id);
    id.vt = VT_I4;
    id.lVal = child;
    BSTR text = nullptr;
    object->get_accName(id, &text);
    std::wstring name = text ? std::wstring(text, SysStringLen(text)) : L"<none>";
    SysFreeString(text);
    return name;
}

// The window's accessible tree is the one the trays show, and an assistive program's requests take the road
// of the keys: selecting moves the cursor, the default action runs the item once the call has returned.
TEST(LauncherWindowWin, ScreenReadersReadTheTraysAndActThroughTheWindow) {
    WindowThread other(1, Answers::Yes, Shown::Yes);
    LauncherFixture f;
    ASSERT_TRUE(f.created);
    LauncherWindow& launcher = *f.launcher;
    f.showStatus = 1;
    launcher.Show();
    PumpUntilPainted(launcher, 1);

    IAccessible* client = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(launcher.Handle(), static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                         reinterpret_cast<void**>(&client)),
              S_OK);
    const auto child = [&](LONG id) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_I4;
        v.lVal = id;
        IDispatch* dispatch = nullptr;
        IAccessible* list = nullptr;
        if (client->get_accChild(v, &dispatch) == S_OK && dispatch) {
            dispatch->QueryInterface(kIidAccessible, reinterpret_cast<void**>(&list));
            dispatch->Release();
        }
        return list;
    };
    IAccessible* program = child(1);
    IAccessible* tasks = child(2);
    ASSERT_TRUE(program && tasks);
    EXPECT_EQ(AccName(program, CHILDID_SELF), L"Program");
    EXPECT_EQ(AccName(program, 3), L"Program 2");
    EXPECT_EQ(AccName(tasks, CHILDID_SELF), L"Task");
    const auto& taskItems = f.trays[TaskTray].Items;
    const auto task =
        std::find_if(taskItems.begin(), taskItems.end(), [](const RData& t) { return t.Title == u"Task 1"; });
    ASSERT_NE(task, taskItems.end());
    const LONG taskId = static_cast<LONG>(task - taskItems.begin()) + 1;
    EXPECT_EQ(AccName(tasks, taskId), L"Task 1");

    VARIANT id;
    VariantInit(&id);
    id.vt = VT_I4;
    id.lVal = 3;
    ASSERT_EQ(program->accSelect(SELFLAG_TAKEFOCUS, id), S_OK);
    EXPECT_EQ(launcher.NameCaption(), u"Program 2") << "the name panel follows the cursor";
    EXPECT_EQ(f.trays[ProgramTray].NowIndex, 2);
    VARIANT state;
    VariantInit(&state);
    program->get_accState(id, &state);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_FOCUSED);

    // Running a task brings its window to the front and hides the launcher, after the call returned.
    id.lVal = taskId;
    ASSERT_EQ(tasks->accDoDefaultAction(id), S_OK);
    EXPECT_TRUE(launcher.IsShown()) << "nothing runs inside the caller's call";
    const DWORD end = GetTickCount() + 3000;
    MSG msg;
    while (launcher.IsShown() && GetTickCount() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(1);
    }
    EXPECT_FALSE(launcher.IsShown());
    EXPECT_EQ(f.showStatus, 0);
    EXPECT_EQ(GetForegroundWindow(), other.windows[0]);

    // Hidden, the window has no focused cell and refuses requests.
    VariantInit(&state);
    id.lVal = 3;
    program->get_accState(id, &state);
    EXPECT_FALSE(state.lVal & STATE_SYSTEM_FOCUSED);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_INVISIBLE);
    EXPECT_EQ(program->accDoDefaultAction(id), E_FAIL);
    program->Release();
    tasks->Release();
    client->Release();
}

} // namespace
} // namespace vantrel::win
