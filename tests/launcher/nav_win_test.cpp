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
#include "win/strings_win.h"

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

std::wstring ArgwriterPath() {
    wchar_t self[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    std::wstring folder(self, length);
    folder.resize(folder.find_last_of(L'\\'));
    return FullPath(folder + L"\\..\\fixtures\\argwriter\\argwriter.exe");
}

// Items started through the real shell with argwriter as the program: its parameters arrive as stored, and
// it runs in the working folder the model chose.
TEST(ShellStart, ParametersAndWorkingFolder) {
    const std::wstring exe = ArgwriterPath();
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

// Windows of "other programs": each on a thread of its own, which answers, refuses to close, or has stopped
// taking messages.
enum class Behaviour { Closes, Refuses, Hangs };

LRESULT CALLBACK RefusingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE || (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE))
        return 0;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class OtherProgram {
public:
    explicit OtherProgram(Behaviour behaviour, bool shown = false) {
        static const bool registered = [] {
            WNDCLASSW wc{};
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpfnWndProc = DefWindowProcW;
            wc.lpszClassName = L"VanNavTestCloses";
            RegisterClassW(&wc);
            wc.lpfnWndProc = RefusingProc;
            wc.lpszClassName = L"VanNavTestRefuses";
            RegisterClassW(&wc);
            return true;
        }();
        (void)registered;
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([=, this] {
            threadId_ = GetCurrentThreadId();
            window = CreateWindowExW(
                WS_EX_WINDOWEDGE, behaviour == Behaviour::Refuses ? L"VanNavTestRefuses" : L"VanNavTestCloses",
                L"other", WS_OVERLAPPEDWINDOW, 50, 50, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
            if (shown)
                ShowWindow(window, SW_SHOWNOACTIVATE);
            SetEvent(ready);
            if (behaviour == Behaviour::Hangs) {
                WaitForSingleObject(release_, INFINITE);
            } else {
                MSG msg;
                while (GetMessageW(&msg, nullptr, 0, 0) > 0)
                    DispatchMessageW(&msg);
            }
            if (IsWindow(window))
                DestroyWindow(window);
        });
        WaitForSingleObject(ready, 10000);
        CloseHandle(ready);
    }
    ~OtherProgram() {
        SetEvent(release_);
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
        CloseHandle(release_);
    }
    std::intptr_t Handle() const { return reinterpret_cast<std::intptr_t>(window); }

    HWND window = nullptr;

private:
    std::thread thread_;
    DWORD threadId_ = 0;
    HANDLE release_ = nullptr;
};

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
    explicit TaskRig(std::vector<const OtherProgram*> windows) : programs(std::move(windows)) { Rebuild(); }
    void Rebuild() {
        trays[TaskTray].Items.clear();
        for (const OtherProgram* p : programs)
            if (IsWindow(p->window))
                trays[TaskTray].Items.push_back(RData{.WinHandle = p->Handle(), .Title = u"other"});
    }
    std::vector<const OtherProgram*> programs;
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
    OtherProgram first(Behaviour::Closes), hung(Behaviour::Hangs), refuses(Behaviour::Refuses), last(Behaviour::Closes);
    TaskRig rig({&first, &hung, &refuses, &last});
    const auto start = Clock::now();
    CloseTask(rig.context, TaskTray, 1);
    CloseTask(rig.context, TaskTray, 2);
    EXPECT_EQ(rig.trays[TaskTray].Items.size(), 4u);
    CloseTask(rig.context, TaskTray, 0);
    EXPECT_FALSE(IsWindow(first.window));
    EXPECT_EQ(rig.trays[TaskTray].Items.size(), 3u) << "the Task list shrank";
    AllTasks(rig.context, true);
    EXPECT_LT(SecondsSince(start), 5.0 * kCloseTimeoutMs / 1000.0 + 1.0) << "one time limit per silent request";
    EXPECT_FALSE(IsWindow(last.window));
    EXPECT_TRUE(IsWindow(hung.window));
    EXPECT_TRUE(IsWindow(refuses.window));
    EXPECT_TRUE(rig.view.hidden);
}

template <typename Condition> bool WaitFor(Condition condition) {
    for (const auto start = Clock::now(); !condition() && SecondsSince(start) < 3;)
        Sleep(20);
    return condition();
}

TEST(TaskWindows, ShowCommandsAndActivationReachAnotherThreadsWindow) {
    OtherProgram program(Behaviour::Closes, true);
    Win32TaskWindowOps ops({});
    const std::intptr_t w = program.Handle();
    ops.PostMinimize(w);
    EXPECT_TRUE(WaitFor([&] { return ops.IsIconic(w); }));
    ActivateTask(ops, w);
    EXPECT_TRUE(WaitFor([&] { return !ops.IsIconic(w); })) << "restored";
    EXPECT_TRUE(WaitFor([&] { return ops.ForegroundWindow() == w; }));
    ops.Maximize(w);
    EXPECT_TRUE(WaitFor([&] { return IsZoomed(program.window) != FALSE; }));
    EXPECT_EQ(ops.ClassName(w), u"VanNavTestCloses");
}

} // namespace
} // namespace vantrel::win
