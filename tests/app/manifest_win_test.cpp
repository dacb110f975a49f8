// What vantrel.exe's manifest changes, seen from a process that carries the same manifest (this test program):
// the version query reports the real system once later systems are declared, the operating-system version
// number still comes out as 1602, the version-6 common controls are the ones loaded, and the process is aware of
// each monitor's DPI.

#include <windows.h>

#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "services/os_info_win.h"
#include "services/system_win.h"

namespace vantrel::win {
namespace {

OSVERSIONINFOW ReportedVersion() {
    OSVERSIONINFOW info{sizeof(info)};
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    GetVersionExW(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return info;
}

TEST(ProgramManifest, LaterSystemsReportTheirVersionAndStillCountAsWindows8) {
    // The test prefix is set to Windows 10: without the manifest's entry for it the query would say 6.2.
    const OSVERSIONINFOW info = ReportedVersion();
    EXPECT_EQ(info.dwMajorVersion, 10u) << "the manifest declares Windows 10";
    EXPECT_EQ(info.dwMinorVersion, 0u);
    EXPECT_EQ(OsVersionNumber(), 1602);
    EXPECT_EQ(Win32SystemQueries().WinVersion(), 1602);
}

TEST(ProgramManifest, CommonControlsSix) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&controls));
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    // The side-by-side copy of version 6, not the system folder's version 5. (Its version numbers tell them
    // apart on Windows only: Wine's version-6 build calls itself 5.81 in both DllGetVersion and its resource.)
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(comctl, path, MAX_PATH), 0u);
    std::wstring lower = path;
    CharLowerW(lower.data());
    EXPECT_NE(lower.find(L"\\winsxs\\"), std::wstring::npos) << path;
    EXPECT_NE(lower.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6.0."), std::wstring::npos) << path;
}

TEST(ProgramManifest, AwareOfEachMonitorsDpi) {
    // PerMonitorV2 where the system has it; Wine 8 and Windows before 10 1703 take the PerMonitor that the list
    // names next. Either way nothing is stretched by the system.
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()), DPI_AWARENESS_PER_MONITOR_AWARE);
}

} // namespace
} // namespace vantrel::win
