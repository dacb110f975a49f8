// The Win32 side of running items and of the task actions against the real system (Wine in CI): programs
// start through the shell with the parameters and working folder the model chose, and closing task windows
// never waits long for a window that does not answer.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

#include "launcher/executor_win.h"
#include "launcher/run_item.h"
#include "launcher/task_actions.h"
#include "launcher/task_actions_win.h"
#include "services/system_win.h"
#include "services/text.h"
#include "support/utf8.h"
#include "support/window_thread_win.h"
#include "win/strings_win.h"
#include "win/window_win.h"

namespace vantrel::win {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::wstring FullPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 4, buffer, nullptr);
    return std::wstring(buffer, length);
}

// Lower case and without a trailing backslash, so two spellings of one folder compare equal.
std::wstring Folder(std::wstring path) {
    path = FullPath(path);
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

// Items started through the real shell with argwriter as the program: its parameters arrive as stored, and
// it runs in the working folder the model chose.
TEST(ShellStart, ParametersAndWorkingFolder) {
    const std::wstring exe = FullPath(ModuleFolder() + L"\\..\\fixtures\\argwriter\\argwriter.exe");
    ASSERT_NE(GetFileAttributesW(exe.c_str()), INVALID_FILE_ATTRIBUTES) << "argwriter is built";
    wchar_t temp[MAX_PATH];
    ExpandEnvironmentStringsW(L"%TEMP%", temp, MAX_PATH);
    const std::wstring output = std::wstring(temp) + L"\\vantrel_argwriter_" + std::to_wstring(GetCurrentProcessId());
    SetEnvironmentVariableW(L"VANTREL_ARGWRITER_OUT", output.c_str());
    const Win32SystemQueries system;
    Win32ShellExecutor shell(nullptr, nullptr, nullptr);
    // folder, always elevated -> the folder it runs in
    const std::tuple<std::u16string, bool, std::wstring> cases[] = {
        {u"", false, exe.substr(0, exe.find_last_of(L'\\'))},
        {u"%TEMP%", false, temp},
        {u"", true, exe.substr(0, exe.find_last_of(L'\\'))}, // "runas" runs it without a prompt under Wine
    };
    for (const auto& [folder, runasFlag, want] : cases) {
        DeleteFileW(output.c_str());
        const RData item{.ExeFileName = FromWide(exe),
                         .ArgumentName = u"one \"two words\" \u00e9t\u00e9",
                         .DirectoryName = folder,
                         .RunasFlag = runasFlag};
        shell.Execute(StartProgramRequest(item, false, system));
        const auto start = Clock::now();
        while (GetFileAttributesW(output.c_str()) == INVALID_FILE_ATTRIBUTES && SecondsSince(start) < 10)
            Sleep(50);
        std::ifstream in(output.c_str(), std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        ASSERT_EQ(lines.size(), 4u) << Utf16ToUtf8(folder);
        EXPECT_EQ(Folder(ToWide(Utf8ToUtf16(lines[0].substr(4)))), Folder(want)) << lines[0];
        EXPECT_EQ(lines[1], "arg=one");
        EXPECT_EQ(lines[2], "arg=two words");
        EXPECT_EQ(lines[3], "arg=\xc3\xa9t\xc3\xa9");
    }
    DeleteFileW(output.c_str());
    SetEnvironmentVariableW(L"VANTREL_ARGWRITER_OUT", nullptr);
}

TEST(ShellCommands, PendingMessagesRunAndAQuitIsKept) {
    bool handled = false;
    const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&handled));
    SetWindowLongPtrW(window, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(+[](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
                          if (message == WM_APP)
                              *reinterpret_cast<bool*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)) = true;
                          return DefWindowProcW(hwnd, message, wParam, lParam);
                      }));
    PostMessageW(window, WM_APP, 0, 0);
    PostQuitMessage(3);
    ProcessPendingMessages();
    EXPECT_TRUE(handled);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    DestroyWindow(window);
}

// Windows of "other programs", one to a thread: it answers, refuses to close, or has stopped taking messages.
using vantrel::testing::Answers;
using vantrel::testing::Shown;
using vantrel::testing::WindowThread;

class NullView : public LauncherView {
public:
    void HideLauncher() override { hidden = true; }
    void RepaintAll() override {}
    void BringToFront() override { hidden = false; }
    void ShowNameNow(const std::u16string&) override {}
    void SetCdPlayFlag(bool) override {}
    bool hidden = false;
};

// The task actions with the real window calls over a Task list of the given windows.
struct TaskRig {
    explicit TaskRig(std::vector<const WindowThread*> windows) : programs(std::move(windows)) { Rebuild(); }
    void Rebuild() {
        trays[TaskTray].Items.clear();
        for (const WindowThread* p : programs)
            if (IsWindow(p->windows[0]))
                trays[TaskTray].Items.push_back(RData{.WinHandle = p->Handle(), .Title = u"other"});
    }
    std::vector<const WindowThread*> programs;
    std::array<TrayEntry, 3> trays;
    LauncherWindowState window{.NowMode = TaskTray};
    TOption option;
    int32_t showStatus = 1;
    NullView view;
    Win32TaskWindowOps ops{[this] { Rebuild(); }};
    TaskActionContext context{trays, window, option, showStatus, 15, view, ops};
};

// Close and All close ask each window once with a short limit: a hung or refusing window stays, and the
// others close.
TEST(TaskWindows, ClosesNeverWaitLongForWindowsThatStay) {
    WindowThread first(1), hung(1, Answers::Hangs), refuses(1, Answers::RefusesClose), last(1);
    TaskRig rig({&first, &hung, &refuses, &last});
    const auto start = Clock::now();
    CloseTask(rig.context, TaskTray, 1);
    CloseTask(rig.context, TaskTray, 2);
    EXPECT_EQ(rig.trays[TaskTray].Items.size(), 4u);
    CloseTask(rig.context, TaskTray, 0);
    EXPECT_FALSE(IsWindow(first.windows[0]));
    EXPECT_EQ(rig.trays[TaskTray].Items.size(), 3u) << "the Task list shrank";
    AllTasks(rig.context, true);
    EXPECT_LT(SecondsSince(start), 5.0 * kCloseTimeoutMs / 1000.0 + 1.0) << "one time limit per silent request";
    EXPECT_FALSE(IsWindow(last.windows[0]));
    EXPECT_TRUE(IsWindow(hung.windows[0]));
    EXPECT_TRUE(IsWindow(refuses.windows[0]));
    EXPECT_TRUE(rig.view.hidden);
}

template <typename Condition> bool WaitFor(Condition condition) {
    for (const auto start = Clock::now(); !condition() && SecondsSince(start) < 3;)
        Sleep(20);
    return condition();
}

TEST(TaskWindows, ShowCommandsAndActivationReachAnotherThreadsWindow) {
    WindowThread program(1, Answers::Yes, Shown::Yes);
    Win32TaskWindowOps ops({});
    const std::intptr_t w = program.Handle();
    ops.PostMinimize(w);
    EXPECT_TRUE(WaitFor([&] { return ops.IsIconic(w); }));
    ActivateTask(ops, w);
    EXPECT_TRUE(WaitFor([&] { return !ops.IsIconic(w); })) << "restored";
    EXPECT_TRUE(WaitFor([&] { return ops.ForegroundWindow() == w; }));
    ops.Maximize(w);
    EXPECT_TRUE(WaitFor([&] { return IsZoomed(program.windows[0]) != FALSE; }));
    EXPECT_EQ(ops.ClassName(w), u"VanTestOtherWindow");
}

} // namespace
} // namespace vantrel::win
