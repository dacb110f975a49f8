// Dark title bars: every top-level window of the thread follows the choice, those made later as well as those up
// when it changes, and the system's function comes from the system folder's dwmapi.dll.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "win/title_bar_win.h"

namespace vantrel::win {
namespace {

bool Has(const std::vector<std::pair<HWND, bool>>& applied, HWND window, bool dark) {
    for (const auto& entry : applied)
        if (entry.first == window)
            return entry.second == dark;
    return false;
}

HWND MakeWindow(DWORD style, HWND parent = nullptr) {
    return CreateWindowExW(0, L"STATIC", L"", style, 0, 0, 50, 50, parent, nullptr, nullptr, nullptr);
}

TEST(TitleBarTheme, TopLevelWindowsFollowTheChoiceAsTheyComeAndWhenItChanges) {
    std::vector<std::pair<HWND, bool>> applied;
    TitleBarTheme theme([&](HWND window, bool dark) {
        applied.emplace_back(window, dark);
        return true;
    });
    const HWND lightOne = MakeWindow(WS_POPUP);
    EXPECT_TRUE(applied.empty()) << "a light window needs nothing";

    // The thread may own windows of the system's too (Wine's input method window): they follow as well.
    theme.SetDark(true);
    EXPECT_TRUE(Has(applied, lightOne, true)) << "the window that is up turns dark";
    applied.clear();
    const HWND darkOne = MakeWindow(WS_OVERLAPPEDWINDOW);
    const HWND child = MakeWindow(WS_CHILD, darkOne);
    EXPECT_EQ(applied, (std::vector<std::pair<HWND, bool>>{{darkOne, true}})) << "made dark, its control left alone";

    applied.clear();
    theme.SetDark(false);
    EXPECT_TRUE(Has(applied, lightOne, false));
    EXPECT_TRUE(Has(applied, darkOne, false));
    for (const auto& [window, dark] : applied) {
        EXPECT_NE(window, child);
        EXPECT_FALSE(dark);
    }
    DestroyWindow(darkOne);
    DestroyWindow(lightOne);
}

TEST(TitleBarTheme, TheSystemFunctionComesFromTheSystemFolder) {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    const std::wstring path = std::wstring(folder) + L"\\dwmapi.dll";
    TitleBarTheme theme;
    const HWND window = MakeWindow(WS_POPUP);
    theme.SetDark(true);
    EXPECT_NE(GetModuleHandleW(path.c_str()), nullptr);
    DestroyWindow(window);
}

} // namespace
} // namespace vantrel::win
