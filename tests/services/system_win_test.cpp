// The Win32 answers behind the models, checked against the real system (Wine in CI).

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <thread>

#include "services/os_info_win.h"
#include "services/path_macros.h"
#include "services/system_win.h"
#include "support/pixels_win.h"
#include "support/window_thread_win.h"
#include "win/strings_win.h"
#include "win/window_win.h"

namespace vantrel::win {
namespace {

std::u16string SystemDir() {
    wchar_t buffer[MAX_PATH];
    GetSystemDirectoryW(buffer, MAX_PATH);
    return FromWide(buffer);
}

TEST(SystemQueriesWin, MacrosExpandAgainstTheRealSystemFolder) {
    Win32SystemQueries system;
    EXPECT_EQ(system.SystemDirectory(), SystemDir());
    EXPECT_EQ(ExpandPathMacros(u"%sysdir%\\Shell32.Dll", system), SystemDir() + u"\\Shell32.Dll");
    EXPECT_EQ(ExpandPathMacros(u"%VantrelDosCommand%", system), SystemDir() + u"\\cmd.exe");
    EXPECT_TRUE(system.FileExists(ExpandPathMacros(u"%VantrelDosCommand%", system)));
    EXPECT_FALSE(system.FileExists(system.SystemDirectory())) << "a folder is not a file";

    SetEnvironmentVariableW(L"VANTREL_TEST_DIR", L"C:\\somewhere");
    EXPECT_EQ(system.ExpandEnvironment(u"%VANTREL_TEST_DIR%\\x"), u"C:\\somewhere\\x");
    EXPECT_EQ(system.ExpandEnvironment(u"%NoSuchVariable%\\x"), u"%NoSuchVariable%\\x");
    const std::wstring longValue(3000, L'a');
    SetEnvironmentVariableW(L"VANTREL_TEST_LONG", longValue.c_str());
    EXPECT_EQ(system.ExpandEnvironment(u"%VANTREL_TEST_LONG%").size(), 3000u);
}

TEST(SystemQueriesWin, VersionAndDrivesOfThisMachine) {
    Win32SystemQueries system;
    // The manifest names no system after Windows 8, so anything newer reports 6.2.
    EXPECT_EQ(system.WinVersion(), 1602);
    EXPECT_TRUE(system.IsNtPlatform());
    EXPECT_TRUE(system.LogicalDrives() & (1u << 2)) << "drive C: exists";
    EXPECT_FALSE(system.IsRemoteDrive(u"C:\\"));
    EXPECT_NE(system.DriveDisplayName(u"C:\\").find(u"C:"), std::u16string::npos);
    EXPECT_FALSE(system.IsWindows10()) << "without the helper library the answer is no";
}

TEST(SettingsFolderWin, BaseFolderIsApplicationData) {
    wchar_t appData[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH), 0u);
    EXPECT_EQ(SettingsBaseFolder(), appData);
}

TEST(AutoRunWin, RunKeyValueNamesThisProgram) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegDeleteValueW(key, L"Vantrel64");
    EXPECT_FALSE(IsAutoRun());
    SetAutoRun(false);
    EXPECT_EQ(RegQueryValueExW(key, L"Vantrel64", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND)
        << "switching off without a value writes nothing";

    SetAutoRun(true);
    EXPECT_TRUE(IsAutoRun());
    std::wstring upper = ModulePath();
    CharUpperW(upper.data());
    RegSetValueExW(key, L"Vantrel64", 0, REG_SZ, reinterpret_cast<const BYTE*>(upper.c_str()),
                   static_cast<DWORD>((upper.size() + 1) * sizeof(wchar_t)));
    EXPECT_TRUE(IsAutoRun()) << "letter case does not matter";
    const std::wstring other = L"C:\\Other\\vantrel.exe";
    RegSetValueExW(key, L"Vantrel64", 0, REG_SZ, reinterpret_cast<const BYTE*>(other.c_str()),
                   static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t)));
    EXPECT_FALSE(IsAutoRun());
    SetAutoRun(true);
    EXPECT_TRUE(IsAutoRun()) << "another path is replaced with ours";
    SetAutoRun(false);
    EXPECT_FALSE(IsAutoRun());
    RegCloseKey(key);
}

TEST(AutoRunWin, MissingRunKeyIsReportedWhenSwitchingOn) {
    const wchar_t* path = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegDeleteValueW(key, L"Vantrel64");
    RegCloseKey(key);
    ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, path), ERROR_SUCCESS);

    std::wstring reason;
    EXPECT_FALSE(SetAutoRun(true, &reason)) << "the key is not created behind the user's back";
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(IsAutoRun());
    reason.clear();
    EXPECT_TRUE(SetAutoRun(false, &reason)) << "nothing to remove is no failure";
    EXPECT_TRUE(reason.empty());

    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_TRUE(SetAutoRun(true, &reason));
    EXPECT_TRUE(IsAutoRun());
    EXPECT_TRUE(SetAutoRun(false, &reason));
}

// The program a Run value starts at log-in: the system takes the value as a command line.
std::wstring ProgramStartedBy(std::wstring commandLine) {
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &process))
        return {};
    std::wstring image(MAX_PATH, L'\0');
    DWORD size = MAX_PATH;
    if (!QueryFullProcessImageNameW(process.hProcess, 0, image.data(), &size))
        size = 0;
    image.resize(size);
    TerminateProcess(process.hProcess, 0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return image;
}

TEST(AutoRunWin, ACopyInAFolderWithASpaceStartsItselfAndNotAPlantedProgram) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"vantrel run";
    const std::wstring program = root + L"\\My Tools\\vantrel.exe";
    const std::wstring planted = root + L"\\My.exe";
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"\\My Tools").c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(ModulePath().c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(ModulePath().c_str(), planted.c_str(), FALSE));
    ASSERT_EQ(ProgramStartedBy(program), planted) << "the planted program is what an unquoted value starts";

    ASSERT_TRUE(SetAutoRun(true, nullptr, program));
    EXPECT_TRUE(IsAutoRun(program)) << "the option dialog's box shows the value it wrote";
    wchar_t value[MAX_PATH + 8] = {};
    DWORD bytes = sizeof(value);
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Vantrel64",
                           RRF_RT_REG_SZ, nullptr, value, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(ProgramStartedBy(value), program);
    SetAutoRun(false, nullptr, program);
    DeleteFileW(program.c_str());
    DeleteFileW(planted.c_str());
    RemoveDirectoryW((root + L"\\My Tools").c_str());
    RemoveDirectoryW(root.c_str());
}

class IconSourceWin : public ::testing::Test {
protected:
    Win32SystemQueries system;
    Win32IconSource icons{system};
    std::vector<IconRef> made;
    IconHandle Resolve(int32_t status, const std::u16string& file, int32_t index) {
        made.push_back(ResolveItemIcon(status, file, index, icons));
        return made.back().Get();
    }
};

TEST_F(IconSourceWin, IconsResolveWithTheirFallbacks) {
    ASSERT_NE(icons.DefaultFileIcon(), 0u);
    ASSERT_NE(icons.DefaultProgramIcon(), 0u);
    EXPECT_NE(icons.DefaultFileIcon(), icons.DefaultProgramIcon());

    const std::u16string shell32 = SystemDir() + u"\\shell32.dll";
    const IconHandle numbered = Resolve(0, shell32, 27);
    EXPECT_NE(numbered, icons.DefaultFileIcon());
    EXPECT_NE(numbered, icons.DefaultProgramIcon());
    EXPECT_EQ(Resolve(0, shell32, 5000), icons.DefaultFileIcon()) << "a DLL without that icon";
    EXPECT_EQ(Resolve(0, SystemDir() + u"\\cmd.exe", 5000), icons.DefaultProgramIcon()) << "a program without it";
    EXPECT_EQ(Resolve(0, u"C:\\no\\such\\file.exe", 0), icons.DefaultFileIcon());
    EXPECT_EQ(Resolve(0, u"C:\\no\\such\\file.txt", -1), icons.DefaultFileIcon());

    const IconHandle drive = Resolve(0, u"C:\\", -1);
    EXPECT_NE(drive, 0u);
    EXPECT_NE(Resolve(StatusShellIcon, u"MyComputer", -1), 0u);

    // The item named "Vantrel.exe" takes its icon from the running program; this test program has none,
    // so the fallback for programs shows.
    EXPECT_EQ(Resolve(0, u"VANTREL.EXE", 0), icons.DefaultProgramIcon());
}

// At 150 and 200 % every icon comes from a source of the size drawn: the file's own images of that size, the shell's
// larger icons, and fallbacks of that size too; the fallbacks of an earlier size stay shared.
TEST_F(IconSourceWin, IconsAtTheSizeOfTheScreen) {
    const IconHandle standardFallback = icons.DefaultFileIcon();
    const std::u16string shell32 = SystemDir() + u"\\shell32.dll";
    const std::u16string ownIcon = FromWide(VANTREL_ICON_DIR L"/mainicon.ico"); // 16, 32 and 48 pixels
    for (const int32_t size : {32, 48, 64}) {
        SCOPED_TRACE(size);
        icons.SetIconSize(size);
        EXPECT_EQ(testing::IconWidth(ToHicon(Resolve(0, ownIcon, 0))), size);
        EXPECT_EQ(testing::IconWidth(ToHicon(Resolve(0, shell32, 27))), size);
        EXPECT_EQ(testing::IconWidth(ToHicon(icons.DefaultFileIcon())), size);
        EXPECT_EQ(testing::IconWidth(ToHicon(icons.DefaultProgramIcon())), size);
        // The shell's icons: at least the size drawn, so that drawing only ever makes them smaller.
        EXPECT_GE(testing::IconWidth(ToHicon(Resolve(0, u"C:\\", -1))), size);
        EXPECT_GE(testing::IconWidth(ToHicon(Resolve(StatusShellIcon, u"MyComputer", -1))), size);
        EXPECT_TRUE(icons.IsSharedIcon(standardFallback)) << "items made at 32 pixels still borrow it";
    }
}

// Forcing a window of this program to the front past another program's foreground window never waits for that
// program, whether it answers or has stopped reading messages. The forcing runs on a thread of its
// own, so that a wait for the hung program fails the test instead of stopping it.
TEST(ForegroundWin, ForcingPastAnotherThreadNeverWaitsForIt) {
    using vantrel::testing::Answers;
    using vantrel::testing::Shown;
    using vantrel::testing::WindowThread;
    for (const Answers answers : {Answers::Yes, Answers::Hangs}) {
        // Wine drops the foreground that was taken with shared input once the input is parted again, so only
        // the plain request past the hung thread can be seen to arrive here.
        const bool checkFront = answers == Answers::Hangs;
        WindowThread other(1, answers, Shown::Active);
        ASSERT_EQ(GetForegroundWindow(), other.windows[0]);
        HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        DWORD elapsed = 0;
        bool inFront = false;
        std::thread forcing([&] {
            const HWND own = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"own", WS_POPUP, 0, 0, 50, 50, nullptr,
                                             nullptr, nullptr, nullptr);
            ShowWindow(own, SW_SHOWNOACTIVATE);
            const DWORD start = GetTickCount();
            ForceForeground(own);
            elapsed = GetTickCount() - start;
            // The switch completes as this thread handles its messages.
            for (const DWORD end = GetTickCount() + 2000; checkFront && !inFront && GetTickCount() < end; Sleep(10)) {
                MSG msg;
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                    DispatchMessageW(&msg);
                inFront = GetForegroundWindow() == own;
            }
            SetEvent(done);
            WaitForSingleObject(release, 5000);
            DestroyWindow(own);
        });
        const bool finished = WaitForSingleObject(done, 5000) == WAIT_OBJECT_0;
        SetEvent(release);
        if (!finished) {
            forcing.detach();
            FAIL() << (answers == Answers::Hangs ? "hung" : "answering") << " foreground thread: the forcing waited";
        }
        forcing.join();
        CloseHandle(done);
        CloseHandle(release);
        EXPECT_LT(elapsed, 5 * kForegroundAnswerMs) << "at most one short question to the other thread";
        EXPECT_TRUE(inFront || !checkFront) << "past a hung thread";
    }
}

} // namespace
} // namespace vantrel::win
