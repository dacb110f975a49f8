// Ending the program while one of its handlers waits in a nested message loop: "E&xit", the installer's WM_CLOSE
// or the end of the session arrives in a message box, a file dialog, the CD player's wait, the show's check or
// the close of a task window. The program must finish the handler, then end, and write nothing from trays it
// has already freed. It runs as it does for the user (Start, then Run) on a thread of its own. Freed memory is
// overwritten (poisoned_heap_win.cpp), so a handler that goes on with a freed dialog or window crashes this test
// program.

#include <windows.h>

#include <ole2.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "app/tray_menu.h"
#include "app/vantrel_main_win.h"
#include "config/ini_document.h"
#include "config/temp_folder_win.h"
#include "dialogs/registration_dialog_win.h"
#include "launcher/launcher_window_win.h"

namespace vantrel::win {
namespace {

using vantrel::testing::PutFile;
using vantrel::testing::TempFolder;

enum class Closer { Close, Exit, LogOff };
enum class Caller { None, TitleAfterShow, SysClose }; // what another program's window does while vantrel waits

struct Case {
    const char* name;
    std::function<void(VantrelMain&, const std::wstring& ini)> start; // on the program's thread
    const wchar_t* nestedTitle;                                       // the dialog of the nested loop, if any
    WPARAM endCommand;                                                // the button that ends that dialog
    Closer closer;
    Caller caller;
};

struct Session {
    const Case* test = nullptr;
    std::wstring ini;
    VantrelMain* app = nullptr;
    HWND main = nullptr;
    HWND probe = nullptr;
    std::atomic<bool> nested = false;
    std::atomic<bool> aliveInside = false;
};
Session* session = nullptr;

constexpr UINT kMsgStart = WM_APP + 1;
constexpr UINT kMsgProbe = WM_APP + 2; // wParam: the nested loop's dialog, if any

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// Runs as a message of the nested loop: vantrel is asked to end, looked at, and the loop is let go.
LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Session& s = *session;
    if (message == kMsgStart) {
        s.test->start(*s.app, s.ini);
        return 0;
    }
    if (message != kMsgProbe)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    s.nested = true;
    switch (s.test->closer) {
    case Closer::Close:
        SendMessageW(s.main, WM_CLOSE, 0, 0);
        break;
    case Closer::Exit:
        s.app->RunTrayCommand(tmExit);
        break;
    case Closer::LogOff:
        SendMessageW(s.main, WM_QUERYENDSESSION, 0, 0);
        SendMessageW(s.main, WM_ENDSESSION, TRUE, 0);
        break;
    }
    s.aliveInside = IsWindow(s.main) != FALSE;
    SetFileAttributesW(s.ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (wParam)
        PostMessageW(reinterpret_cast<HWND>(wParam), WM_COMMAND, s.test->endCommand, 0);
    return 0;
}

// Sees the nested loop's windows come: a menu chooses "&Add", the awaited dialog is probed.
LRESULT CALLBACK WatchWindows(int code, WPARAM wParam, LPARAM lParam) {
    const auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && ClassOf(window) == L"#32768") {
        PostMessageW(window, WM_CHAR, 'a', 0);
    } else if (code == HCBT_ACTIVATE && session->test->nestedTitle && ClassOf(window) == L"#32770") {
        wchar_t title[64] = {};
        GetWindowTextW(window, title, 64);
        if (std::wstring(title) == session->test->nestedTitle)
            PostMessageW(session->probe, kMsgProbe, wParam, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A disc that refuses the first play, so that the player waits, answering messages, before it tries again.
struct SlowCd : MciDevice {
    int plays = 0;
    uint32_t Open(uint16_t& id) override { return id = 9, 0; }
    uint32_t SetTimeFormatMilliseconds(uint16_t) override { return 0; }
    uint32_t Close(uint16_t) override { return 0; }
    uint32_t Status(uint16_t, uint32_t, std::optional<uint32_t>, uint32_t& value) override { return value = 0, 0; }
    uint32_t Play(uint16_t, std::optional<uint32_t>) override {
        if (plays++ > 0)
            return 0;
        PostMessageW(session->probe, kMsgProbe, 0, 0);
        return 1;
    }
    uint32_t Pause(uint16_t) override { return 0; }
    uint32_t SetDoor(uint16_t, bool) override { return 0; }
};

// Another program's window that calls vantrel to end while vantrel waits for its answer.
class CallingWindow {
public:
    explicit CallingWindow(Caller caller) : caller_(caller) {
        if (caller == Caller::None)
            return;
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &CallingWindow::Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"VanTestCallingWindow";
            RegisterClassW(&wc);
            window_ = CreateWindowExW(0, wc.lpszClassName, L"Calling", WS_OVERLAPPEDWINDOW, 50, 50, 200, 100, nullptr,
                                      nullptr, wc.hInstance, this);
            SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            ShowWindow(window_, SW_SHOWNOACTIVATE);
            threadId_ = GetCurrentThreadId();
            SetEvent(ready);
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0)
                DispatchMessageW(&msg);
            if (IsWindow(window_))
                DestroyWindow(window_);
        });
        WaitForSingleObject(ready, 10000);
        CloseHandle(ready);
    }
    ~CallingWindow() {
        if (!thread_.joinable())
            return;
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<CallingWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        const bool asked =
            self && !self->called_ &&
            ((self->caller_ == Caller::TitleAfterShow && message == WM_GETTEXT && IsWindowVisible(LauncherOf())) ||
             (self->caller_ == Caller::SysClose && message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE));
        if (asked) {
            self->called_ = true;
            session->nested = true;
            SendMessageW(session->main, WM_CLOSE, 0, 0);
            session->aliveInside = IsWindow(session->main) != FALSE;
            if (message == WM_SYSCOMMAND) {
                DestroyWindow(hwnd);
                return 0;
            }
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    static HWND LauncherOf() { return FindWindowW(L"TVanMainForm", nullptr); }

    Caller caller_;
    bool called_ = false;
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
    std::thread thread_;
};

class AppDataFolder {
public:
    explicit AppDataFolder(const std::wstring& folder) { SetEnvironmentVariableW(L"APPDATA", folder.c_str()); }
    ~AppDataFolder() { SetEnvironmentVariableW(L"APPDATA", nullptr); }
};

std::wstring Section(const std::wstring& ini, const wchar_t* name) {
    wchar_t buffer[8192] = {};
    const DWORD n = GetPrivateProfileSectionW(name, buffer, 8192, ini.c_str());
    std::wstring text(buffer, n);
    for (wchar_t& c : text)
        if (c == L'\0')
            c = L'\n';
    return text;
}

void OpenRegistration(VantrelMain& app) {
    SendMessageW(app.Handle(), kMsgCommand, 3, 0);
}

void ShowLauncher(VantrelMain& app) {
    SendMessageW(app.Handle(), WM_HOTKEY, 0, 0);
}

TEST(ExitSafety, AnEndAskedForInANestedLoopWaitsForTheHandlerAndFreesNothingUnderIt) {
    const auto failedSave = [](VantrelMain& app, const std::wstring& ini) {
        OpenRegistration(app);
        SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
        PostMessageW(app.Registration()->Handle(), WM_COMMAND, IDOK, 0);
    };
    const Case cases[] = {
        {"a message box after a failed save", failedSave, L"vantrel", IDOK, Closer::Close, Caller::None},
        {"the end of the session in that message box", failedSave, L"vantrel", IDOK, Closer::LogOff, Caller::None},
        {"the file dialog of Add",
         [](VantrelMain& app, const std::wstring&) {
             OpenRegistration(app);
             PostMessageW(app.Registration()->Grid(ProgramTray), WM_CONTEXTMENU, 0, -1);
         },
         L"Add file", IDCANCEL, Closer::Exit, Caller::None},
        {"the CD player's wait",
         [](VantrelMain& app, const std::wstring&) {
             ShowLauncher(app);
             PostMessageW(app.Launcher()->Handle(), WM_KEYDOWN, 'C', 0);
         },
         nullptr, 0, Closer::Exit, Caller::None},
        {"the check after a show", [](VantrelMain& app, const std::wstring&) { ShowLauncher(app); }, nullptr, 0,
         Closer::Close, Caller::TitleAfterShow},
        {"the close of a task window",
         [](VantrelMain& app, const std::wstring&) {
             ShowLauncher(app);
             PostMessageW(app.Launcher()->Handle(), WM_KEYDOWN, VK_DELETE, 0);
         },
         nullptr, 0, Closer::Close, Caller::SysClose},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const TempFolder appData;
        const std::wstring folder = appData.Path(L"vantrel64");
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        Session s;
        s.test = &test;
        s.ini = folder + L"\\vantrel.ini";
        // The cursor starts on the first task; "C" runs the CD player.
        ASSERT_TRUE(PutFile(
            s.ini, config::EncodeUtf16LeWithBom(u"[Option]\r\nKeyCursorFlag=1\r\n[Program]\r\nTitle0=Tool\r\n"
                                                u"ExeFileName0=C:\\windows\\notepad.exe\r\n[System]\r\nTitle0=CD\r\n"
                                                u"ExeFileName0=CD Player\r\nStatus0=17155\r\n")));
        const AppDataFolder settingsHere(appData.Folder());
        const CallingWindow caller(test.caller);
        session = &s;
        SlowCd cd;
        std::atomic<bool> ended = false;
        std::atomic<DWORD> programThread = 0;
        const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::thread program([&] {
            programThread = GetCurrentThreadId();
            OleInitialize(nullptr);
            WNDCLASSW wc{};
            wc.lpfnWndProc = &ProbeProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"VanTestExitProbe";
            RegisterClassW(&wc);
            s.probe = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            const HHOOK hook = SetWindowsHookExW(WH_CBT, &WatchWindows, nullptr, GetCurrentThreadId());
            {
                VantrelMain app(&cd);
                if (app.Start()) {
                    s.app = &app;
                    s.main = app.Handle();
                    PostMessageW(s.probe, kMsgStart, 0, 0);
                    ended = app.Run() == 0 && !IsWindow(s.main);
                }
            }
            UnhookWindowsHookEx(hook);
            DestroyWindow(s.probe);
            OleUninitialize();
            SetEvent(done);
        });
        if (WaitForSingleObject(done, 20000) != WAIT_OBJECT_0)
            PostThreadMessageW(programThread, WM_QUIT, 0, 0); // lets the thread go before the test fails
        program.join();
        CloseHandle(done);
        EXPECT_TRUE(s.nested) << "the nested loop never ran";
        EXPECT_TRUE(s.aliveInside) << "the program ended under the handler";
        EXPECT_TRUE(ended) << "the program did not end once the handler had returned";
        // What the trays held is still in the file: nothing was written from freed lists.
        EXPECT_NE(Section(s.ini, L"Program").find(L"Tool"), std::wstring::npos);
        EXPECT_NE(Section(s.ini, L"System").find(L"CD Player"), std::wstring::npos);
        session = nullptr;
    }
}

} // namespace
} // namespace vantrel::win
