// Dark title bars: every top-level window of the thread follows the choice, those made later as well as those up
// when it changes, and the system's function comes from the system folder's dwmapi.dll.

#include <windows.h>

#include <map>
#include <string>

#include <gtest/gtest.h>

#include "win/title_bar_win.h"

namespace vantrel::win {
namespace {

HWND MakeWindow(DWORD style, HWND parent = nullptr) {
    return CreateWindowExW(0, L"STATIC", L"", style, 0, 0, 50, 50, parent, nullptr, nullptr, nullptr);
}

TEST(TitleBarTheme, TopLevelWindowsFollowTheChoiceAsTheyComeAndWhenItChanges) {
    std::map<HWND, bool> dark; // the last choice each window was given
    TitleBarTheme theme([&](HWND window, bool on) { return dark[window] = on, true; });
    const HWND early = MakeWindow(WS_POPUP);
    theme.SetDark(true);
    const HWND later = MakeWindow(WS_OVERLAPPEDWINDOW);
    const HWND child = MakeWindow(WS_CHILD, later);
    EXPECT_TRUE(dark[early]) << "the window that is up turns dark";
    EXPECT_TRUE(dark[later]) << "made dark";
    EXPECT_FALSE(dark.count(child)) << "its controls are left alone";
    theme.SetDark(false);
    EXPECT_FALSE(dark[early] || dark[later]);
    DestroyWindow(later);
    DestroyWindow(early);

    // Without a test's own way, the system's function, from the system folder's dwmapi.dll.
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    TitleBarTheme system;
    const HWND window = MakeWindow(WS_POPUP);
    system.SetDark(true);
    EXPECT_NE(GetModuleHandleW((std::wstring(folder) + L"\\dwmapi.dll").c_str()), nullptr);
    DestroyWindow(window);
}

} // namespace
} // namespace vantrel::win
