#include "services/placement_win.h"

#include <vector>

#include "services/os_info_win.h"
#include "win/dpi_win.h"

namespace vantrel::win {

namespace {

SIZE WindowSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

} // namespace

DesktopGeometry CurrentDesktop() {
    DesktopGeometry desktop;
    std::vector<RECT> monitors;
    if (EnumerateMonitors(monitors)) {
        desktop.monitors.emplace();
        for (const RECT& r : monitors)
            desktop.monitors->push_back({r.left, r.top, r.right, r.bottom});
    }
    desktop.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    desktop.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT bar{};
    if (const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr); taskbar && GetWindowRect(taskbar, &bar))
        desktop.taskbar = ScreenRect{bar.left, bar.top, bar.right, bar.bottom};
    return desktop;
}

void PlaceWindowAtCursor(HWND window, ScreenPoint anchor, bool moveMouse) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const SIZE size = WindowSize(window);
    const CursorPlacement placed =
        PlaceAtCursor({cursor.x, cursor.y}, size.cx, size.cy, anchor, moveMouse, CurrentDesktop(), WindowScale(window));
    SetWindowPos(window, nullptr, placed.topLeft.x, placed.topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (placed.moveMouseTo)
        SetCursorPos(placed.moveMouseTo->x, placed.moveMouseTo->y);
}

void ShowAlignedTo(HWND window, const BoxBounds& target, int32_t code) {
    const SIZE size = WindowSize(window);
    const ScreenPoint at = AlignToRect(target, code, size.cx, size.cy, GetSystemMetrics(SM_CXSCREEN),
                                       GetSystemMetrics(SM_CYSCREEN), WindowScale(window));
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOW);
}

} // namespace vantrel::win
