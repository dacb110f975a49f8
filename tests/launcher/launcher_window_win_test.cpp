// The launcher window and the Task list's Win32 side against the real window system (Wine in CI). Icon
// messages reach only windows of this process under Wine, so the windows asked here live on threads of the
// test program: one that answers, one that has stopped taking messages.

#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

#include "config/item_lists.h"
#include "launcher/launcher_window_win.h"
#include "launcher/task_windows_win.h"
#include "services/helper_library_win.h"
#include "services/system_win.h"
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
    std::vector<std::intptr_t> expected;
    EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<std::intptr_t>*>(data)->push_back(Value(hwnd));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&expected));
    const std::vector<std::intptr_t> listed = EnumerateTopLevelWindows();
    auto at = listed.begin();
    for (const std::intptr_t window : expected) {
        at = std::find(at, listed.end(), window);
        ASSERT_NE(at, listed.end()) << "window " << window << " missing or out of z-order";
        ++at;
    }
    for (const std::intptr_t window : listed)
        if (std::find(expected.begin(), expected.end(), window) == expected.end()) {
            EXPECT_FALSE(IsWindowVisible(ToHwnd(window))) << "an extra window that is shown";
        }
}

TEST(TaskWindowsWin, TheDesktopsWindowsGoThroughTheFilter) {
    WindowThread live(2, Answers::Yes, Shown::Yes);
    TaskShow show;
    ItemList tasks;
    RebuildTaskList(tasks, {}, show.helper, show.cache, show.identities, 99);
    const auto listed = [&](std::u16string_view title) {
        return std::any_of(tasks.begin(), tasks.end(), [&](const RData& t) { return t.Title == title; });
    };
    EXPECT_TRUE(listed(u"Task 1"));
    EXPECT_TRUE(listed(u"Task 2"));
    EXPECT_FALSE(listed(u"")) << "untitled hidden helper windows are not listed";
}

// A hidden window to own the launcher, as the resident window does.
class OwnerWindow : public Window {
public:
    bool Make() { return Create(L"VanTestOwner", L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr); }

private:
    LRESULT OnMessage(UINT m, WPARAM w, LPARAM l) override { return DefaultProc(m, w, l); }
};

// The host a launcher window needs, with three Program items.
struct LauncherFixture : LauncherHost {
    LauncherFixture() : icons(std::make_unique<Win32IconSource>(system)) {
        for (int i = 0; i < 3; ++i) {
            RData item;
            item.Title = u"Program " + std::u16string(1, static_cast<char16_t>(u'0' + i));
            item.Icon = icons->DefaultProgramIcon();
            trays[ProgramTray].Items.push_back(item);
        }
        option.ColMax = 5;
        owner.Make();
        launcher = std::make_unique<LauncherWindow>(LauncherServices{*this, system, *icons, helper});
        created = launcher->Create(owner.Handle());
    }
    ~LauncherFixture() override {
        launcher.reset();
        for (TrayEntry& tray : trays)
            FreeItems(tray.Items, &tray != &trays[TaskTray], *icons);
    }

    std::array<TrayEntry, 3>& Trays() override { return trays; }
    const TOption& Option() const override { return option; }
    LauncherFlags Flags() const override { return {}; }
    const DeviceList& Devices() const override { return devices; }
    int32_t& ShowStatus() override { return showStatus; }
    void LauncherShown() override { menuWatchCount = 0; }
    void LauncherMenuOpened() override { menuWatchCount = 100; }
    int32_t CdMode() override { return 0; }

    Win32SystemQueries system;
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

    SendMessageW(launcher.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(launcher.IsShown());
    EXPECT_TRUE(IsWindow(launcher.Handle())) << "closing only hides";
    EXPECT_EQ(f.showStatus, 0);

    f.showStatus = 1;
    launcher.Show();
    PumpUntilPainted(launcher, 3);
    EXPECT_EQ(launcher.FullPaintCount(), 3u) << "every show paints once";
    SendMessageW(launcher.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(launcher.IsShown());
    EXPECT_EQ(f.showStatus, 0);
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
