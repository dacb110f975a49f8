// Ending the program while one of its handlers waits in a nested message loop: "E&xit", the installer's WM_CLOSE
// or the end of the session arrives in a message box, a file dialog, the CD player's wait, the show's check or
// the close of a task window. The program must live on until the handler has returned, then end, and write
// nothing from trays it has freed. It runs as for the user (Start, then Run) on a thread of its own.

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
#include "support/window_thread_win.h"

namespace vantrel::win {
namespace {

enum class Closer { Close, Exit, LogOff };
enum class Caller { None, TitleAfterShow, SysClose }; // what another program's window does while vantrel waits

struct Case {
    const char* name;
    std::function<void(VantrelMain&, const std::wstring& ini)> start;
    const wchar_t* dialog; // the nested loop's dialog, if any, and the button that ends it
    WPARAM button;
    Closer closer;
    Caller caller;
};

const Case* test = nullptr;
VantrelMain* app = nullptr;
HWND mainWindow = nullptr;
std::atomic<bool> nested = false;
std::atomic<bool> aliveInside = false;

void AskToEnd() {
    nested = true;
    if (test->closer == Closer::Exit) {
        app->RunTrayCommand(tmExit);
    } else if (test->closer == Closer::LogOff) {
        SendMessageW(mainWindow, WM_QUERYENDSESSION, 0, 0);
        SendMessageW(mainWindow, WM_ENDSESSION, TRUE, 0);
    } else {
        SendMessageW(mainWindow, WM_CLOSE, 0, 0);
    }
    aliveInside = IsWindow(mainWindow) != FALSE;
}

// On the program's thread, as its nested loops' windows come: a popup menu chooses "&Add"; the awaited dialog,
// up inside its handler, sees vantrel asked to end and is then let go.
LRESULT CALLBACK WatchWindows(int code, WPARAM wParam, LPARAM lParam) {
    const auto window = reinterpret_cast<HWND>(wParam);
    wchar_t name[64] = {}, title[64] = {};
    GetClassNameW(window, name, 64);
    if (code == HCBT_CREATEWND && std::wstring(name) == L"#32768")
        PostMessageW(window, WM_CHAR, 'a', 0);
    if (code == HCBT_ACTIVATE && test->dialog && std::wstring(name) == L"#32770" && GetWindowTextW(window, title, 64) &&
        std::wstring(title) == test->dialog) {
        AskToEnd();
        PostMessageW(window, WM_COMMAND, test->button, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A disc that refuses the first play: the player waits, answering messages, and tries again.
struct SlowCd : MciDevice {
    int plays = 0;
    uint32_t Open(uint16_t& id) override { return id = 9, 0; }
    uint32_t SetTimeFormatMilliseconds(uint16_t) override { return 0; }
    uint32_t Close(uint16_t) override { return 0; }
    uint32_t Status(uint16_t, uint32_t, std::optional<uint32_t>, uint32_t& value) override { return value = 0, 0; }
    uint32_t Play(uint16_t, std::optional<uint32_t>) override {
        if (plays++ == 0) {
            PostMessageW(mainWindow, WM_CLOSE, 0, 0);
            return 1;
        }
        nested = true;
        aliveInside = IsWindow(mainWindow) != FALSE;
        return 0;
    }
    uint32_t Pause(uint16_t) override { return 0; }
    uint32_t SetDoor(uint16_t, bool) override { return 0; }
};

// Another program's window that asks vantrel to end while vantrel waits for its answer.
LRESULT CALLBACK CallingWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!nested && ((test->caller == Caller::TitleAfterShow && message == WM_GETTEXT &&
                     IsWindowVisible(FindWindowW(L"TVanMainForm", nullptr))) ||
                    (test->caller == Caller::SysClose && message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE))) {
        AskToEnd(); // from this thread, as the installer asks: a sent WM_CLOSE
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::wstring Section(const std::wstring& ini, const wchar_t* name) {
    wchar_t buffer[4096] = {};
    return std::wstring(buffer, GetPrivateProfileSectionW(name, buffer, 4096, ini.c_str()));
}

TEST(ExitSafety, AnEndAskedForInANestedLoopWaitsForTheHandlerAndWritesNothingFreed) {
    const auto failedSave = [](VantrelMain& a, const std::wstring& ini) {
        SendMessageW(a.Handle(), kMsgCommand, 3, 0);
        SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
        PostMessageW(a.Registration()->Handle(), WM_COMMAND, IDOK, 0);
    };
    const auto showAndPress = [](WPARAM key) {
        return [key](VantrelMain& a, const std::wstring&) {
            SendMessageW(a.Handle(), WM_HOTKEY, 0, 0);
            if (key)
                PostMessageW(a.Launcher()->Handle(), WM_KEYDOWN, key, 0);
        };
    };
    const Case cases[] = {
        {"a message box after a failed save", failedSave, L"vantrel", IDOK, Closer::Close, Caller::None},
        {"the end of the session in that message box", failedSave, L"vantrel", IDOK, Closer::LogOff, Caller::None},
        {"the file dialog of Add",
         [](VantrelMain& a, const std::wstring&) {
             SendMessageW(a.Handle(), kMsgCommand, 3, 0);
             PostMessageW(a.Registration()->Grid(ProgramTray), WM_CONTEXTMENU, 0, -1);
         },
         L"Add file", IDCANCEL, Closer::Exit, Caller::None},
        {"the CD player's wait", showAndPress('C'), nullptr, 0, Closer::Close, Caller::None},
        {"the check after a show", showAndPress(0), nullptr, 0, Closer::Close, Caller::TitleAfterShow},
        {"the close of a task window", showAndPress(VK_DELETE), nullptr, 0, Closer::Close, Caller::SysClose},
    };
    wchar_t userAppData[MAX_PATH] = {};
    GetEnvironmentVariableW(L"APPDATA", userAppData, MAX_PATH);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const vantrel::testing::TempFolder appData;
        const std::wstring ini = appData.Path(L"vantrel64\\vantrel.ini");
        ASSERT_TRUE(CreateDirectoryW(appData.Path(L"vantrel64").c_str(), nullptr));
        // The cursor starts on the first task; "C" runs the CD player.
        ASSERT_TRUE(vantrel::testing::PutFile(
            ini, config::EncodeUtf16LeWithBom(u"[Option]\r\nKeyCursorFlag=1\r\n[Program]\r\nTitle0=Tool\r\n"
                                              u"ExeFileName0=C:\\windows\\notepad.exe\r\n[System]\r\nTitle0=CD\r\n"
                                              u"ExeFileName0=CD Player\r\nStatus0=17155\r\n")));
        SetEnvironmentVariableW(L"APPDATA", appData.Folder().c_str());
        test = &c;
        nested = aliveInside = false;
        vantrel::testing::WindowThread other(c.caller == Caller::None ? 0 : 1, vantrel::testing::Answers::Yes,
                                             vantrel::testing::Shown::Yes);
        for (HWND w : other.windows)
            SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CallingWindow));
        SlowCd cd;
        std::atomic<bool> ended = false;
        std::atomic<DWORD> thread = 0;
        const HANDLE started = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::thread program([&] {
            thread = GetCurrentThreadId();
            OleInitialize(nullptr);
            const HHOOK hook = SetWindowsHookExW(WH_CBT, &WatchWindows, nullptr, GetCurrentThreadId());
            {
                VantrelMain main(&cd);
                if (main.Start()) {
                    app = &main;
                    mainWindow = main.Handle();
                    SetEvent(started);
                    ended = main.Run() == 0 && !IsWindow(mainWindow);
                }
            }
            UnhookWindowsHookEx(hook);
            OleUninitialize();
            SetEvent(done);
        });
        if (WaitForSingleObject(started, 20000) == WAIT_OBJECT_0)
            c.start(*app, ini);
        if (WaitForSingleObject(done, 20000) != WAIT_OBJECT_0)
            PostThreadMessageW(thread, WM_QUIT, 0, 0); // lets the thread go before the test fails
        program.join();
        CloseHandle(started);
        CloseHandle(done);
        SetEnvironmentVariableW(L"APPDATA", userAppData);
        EXPECT_TRUE(nested) << "the nested loop never ran";
        EXPECT_TRUE(aliveInside) << "the program ended under the handler";
        EXPECT_TRUE(ended) << "the program did not end once the handler had returned";
        // What the trays held is still in the file: nothing was written from freed lists.
        EXPECT_NE(Section(ini, L"Program").find(L"Tool"), std::wstring::npos);
        EXPECT_NE(Section(ini, L"System").find(L"CD Player"), std::wstring::npos);
    }
}

} // namespace
} // namespace vantrel::win
