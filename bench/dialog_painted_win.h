#pragma once
// "Painted": a window is on screen and neither it nor any of its controls waits for a paint any more. Shared by
// the option-dialog benchmark and the minimal dialog program it is compared with.

#include <windows.h>

namespace vantrel::bench {

inline bool NothingToPaint(HWND window) {
    return !GetUpdateRect(window, nullptr, FALSE);
}

inline bool FullyPainted(HWND window) {
    if (!window || !IsWindowVisible(window) || !NothingToPaint(window))
        return false;
    bool painted = true;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            if (IsWindowVisible(child) && !NothingToPaint(child)) {
                *reinterpret_cast<bool*>(data) = false;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&painted));
    return painted;
}

} // namespace vantrel::bench
