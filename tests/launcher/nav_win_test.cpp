// The Win32 side of running items and of the task actions against the real system (Wine in CI): programs
// start through the shell with the parameters and working folder the model chose, shell folders open without
// waiting, and closing task windows never waits long for a window that does not answer.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
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

// Starts items through the real shell with argwriter as the program, and reads what it wrote.
class ShellStart : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(GetFileAttributesW(ArgwriterPath().c_str()), INVALID_FILE_ATTRIBUTES) << "argwriter is built";
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        output_ = std::wstring(temp) + L"vantrel_argwriter_" + std::to_wstring(GetCurrentProcessId()) + L".txt";
        DeleteFileW(output_.c_str());
        SetEnvironmentVariableW(L"VANTREL_ARGWRITER_OUT", output_.c_str());
    }
    void TearDown() override {
        DeleteFileW(output_.c_str());
        SetEnvironmentVariableW(L"VANTREL_ARGWRITER_OUT", nullptr);
    }

    // The lines argwriter wrote, waiting up to ten seconds for them.
    std::vector<std::string> Lines() {
        const auto start = Clock::now();
        while (GetFileAttributesW(output_.c_str()) == INVALID_FILE_ATTRIBUTES && SecondsSince(start) < 10)
            Sleep(50);
        std::ifstream in(output_.c_str(), std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    RData Item(const std::u16string& folder, bool runasFlag = false) {
        RData item;
        item.ExeFileName = FromWide(ArgwriterPath());
        item.ArgumentName = u"one \"two words\" \u00e9t\u00e9";
        item.DirectoryName = folder;
        item.RunasFlag = runasFlag;
        return item;
    }

    Win32SystemQueries system_;
    Win32ShellExecutor shell_{nullptr, nullptr, nullptr};
    std::wstring output_;
};

TEST_F(ShellStart, ProgramStartsInItsOwnFolderWithItsParameters) {
    shell_.Execute(StartProgramRequest(Item(u""), false, system_));
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    const std::wstring exe = ArgwriterPath();
    ASSERT_EQ(lines[0].substr(0, 4), "cwd=");
    EXPECT_EQ(Folder(ToWide(Utf8ToUtf16(lines[0].substr(4)))), Folder(exe.substr(0, exe.find_last_of(L'\\'))));
    EXPECT_EQ(lines[1], "arg=one");
    EXPECT_EQ(lines[2], "arg=two words");
    EXPECT_EQ(lines[3], "arg=\xc3\xa9t\xc3\xa9");
}

TEST_F(ShellStart, WorkingFolderVariablesAreExpanded) {
    shell_.Execute(StartProgramRequest(Item(u"%TEMP%"), false, system_));
    const std::vector<std::string> lines = Lines();
    ASSERT_FALSE(lines.empty());
    wchar_t temp[MAX_PATH];
    ExpandEnvironmentStringsW(L"%TEMP%", temp, MAX_PATH);
    EXPECT_EQ(Folder(ToWide(Utf8ToUtf16(lines[0].substr(4)))), Folder(temp));
}

TEST_F(ShellStart, ElevatedStartRunsTheProgram) {
    const ExecuteRequest request = StartProgramRequest(Item(u"", true), false, system_);
    ASSERT_EQ(request.verb, u"runas");
    shell_.Execute(request);
    EXPECT_EQ(Lines().size(), 4u);
}

// Real special folders open explorer windows under Wine that outlive the test (and hold its output open);
// which folder a keyword asks for is the model's test. Here: a folder the system does not have.
TEST(ShellCommands, ShellCallsAnswerWithoutWaiting) {
    Win32ShellExecutor shell(nullptr, nullptr, nullptr);
    const auto start = Clock::now();
    shell.OpenSpecialFolder(0x7FFF);
    shell.FindTopWindow(u"Shell_TrayWnd", u"");
    shell.Cd(CdCommand::Toggle); // no CD service: nothing
    shell.EjectDevice(1);        // no device library: nothing
    EXPECT_LT(SecondsSince(start), 5.0);
    EXPECT_EQ(shell.FindTopWindow(u"VantrelNoSuchClass", u""), 0);
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

TEST(TaskWindows, CloseNeverWaitsLongForAWindowThatDoesNotAnswer) {
    OtherProgram closes(Behaviour::Closes), refuses(Behaviour::Refuses), hung(Behaviour::Hangs);
    TaskRig rig({&closes, &refuses, &hung});
    const double limit = 2.0 * kCloseTimeoutMs / 1000.0 + 1.0;

    auto start = Clock::now();
    CloseTask(rig.context, TaskTray, 2);
    EXPECT_LT(SecondsSince(start), limit) << "the hung window";
    EXPECT_TRUE(IsWindow(hung.window));

    start = Clock::now();
    CloseTask(rig.context, TaskTray, 1);
    EXPECT_LT(SecondsSince(start), limit) << "the refusing window";
    EXPECT_TRUE(IsWindow(refuses.window));

    CloseTask(rig.context, TaskTray, 0);
    EXPECT_FALSE(IsWindow(closes.window));
    EXPECT_EQ(rig.trays[TaskTray].Items.size(), 2u) << "the Task list shrank";
}

TEST(TaskWindows, AllCloseMovesOnPastWindowsThatStay) {
    OtherProgram first(Behaviour::Closes), hung(Behaviour::Hangs), refuses(Behaviour::Refuses), last(Behaviour::Closes);
    TaskRig rig({&first, &hung, &refuses, &last});
    const auto start = Clock::now();
    AllTasks(rig.context, true);
    EXPECT_LT(SecondsSince(start), 4.0 * kCloseTimeoutMs / 1000.0 + 2.0);
    EXPECT_FALSE(IsWindow(first.window));
    EXPECT_FALSE(IsWindow(last.window));
    EXPECT_TRUE(IsWindow(hung.window));
    EXPECT_TRUE(IsWindow(refuses.window));
    EXPECT_TRUE(rig.view.hidden);
}

bool WaitFor(const std::function<bool()>& condition) {
    const auto start = Clock::now();
    while (!condition() && SecondsSince(start) < 3)
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
