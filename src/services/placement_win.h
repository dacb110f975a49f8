#pragma once
// Placing real windows: the desktop's facts gathered for the placement rules, and the two ways the dialogs
// come up (top-left corner at the mouse, or centred on another window's rectangle).

#include <windows.h>

#include "services/placement.h"

namespace vantrel::win {

// Monitors, primary screen and taskbar as they are now.
DesktopGeometry CurrentDesktop();

// Moves the window so that its point `anchor` lies under the mouse, inside the mouse's monitor; with moveMouse
// the mouse follows a window that had to be shifted.
void PlaceWindowAtCursor(HWND window, ScreenPoint anchor = {0, 0}, bool moveMouse = false);

// Moves the window relative to the rectangle by an alignment code (4 centres it) and shows it.
void ShowAlignedTo(HWND window, const BoxBounds& target, int32_t code);

} // namespace vantrel::win
