#pragma once
// Where a window goes on the screen: at the mouse inside the mouse's monitor (the launcher window and the
// dialogs), centred on the primary screen, or aligned to another window's rectangle. The window gathers the
// facts (cursor, monitors, taskbar) and moves itself to the answer.

#include <cstdint>
#include <optional>
#include <vector>

#include "core/dpi_scale.h"
#include "core/geometry.h"

namespace vantrel {

struct DesktopGeometry {
    // Monitor rectangles in enumeration order; nullopt when the system offers no monitor enumeration.
    std::optional<std::vector<ScreenRect>> monitors;
    int32_t screenWidth = 0; // primary screen
    int32_t screenHeight = 0;
    std::optional<ScreenRect> taskbar; // the "Shell_TrayWnd" window, when there is one
};

// Gap kept between a shifted window and the monitor's right or bottom edge (96-dpi pixels, scaled by the DPI of the
// window placed).
constexpr int32_t kEdgeGap = 16;
// Extra room kept above a bottom taskbar, so the window ends kEdgeGap + kTaskbarGap pixels above it.
constexpr int32_t kTaskbarGap = 32;

struct CursorPlacement {
    ScreenPoint topLeft;
    // Where to move the mouse so that it stays on the anchor: set only when asked to and when the window had to
    // be shifted (otherwise the mouse is already there).
    std::optional<ScreenPoint> moveMouseTo;
    friend bool operator==(const CursorPlacement&, const CursorPlacement&) = default;
};

// Puts the window's point `anchor` under `cursor` and keeps the window inside the cursor's monitor: a window
// that would reach the right or bottom edge is pulled back to kEdgeGap pixels before it, and never starts
// left of or above the monitor otherwise. On the first (primary) monitor the taskbar, when at the bottom or
// the right, shortens the area. A cursor outside every monitor is treated as on the primary screen.
CursorPlacement PlaceAtCursor(ScreenPoint cursor, int32_t formWidth, int32_t formHeight, ScreenPoint anchor,
                              bool moveMouse, const DesktopGeometry& desktop, DpiScale scale = {});

// Top-left corner of a window centred on the primary screen.
ScreenPoint PlaceAtScreenCenter(int32_t formWidth, int32_t formHeight, int32_t screenWidth, int32_t screenHeight);

// Top-left corner of a window placed relative to `target` (x, y, width, height) by an alignment code 0..8:
// 0 left/middle, 1 centre/top, 2 right/middle, 3 centre/bottom, 4 centred, 5 top-left, 6 top-right,
// 7 bottom-left, 8 bottom-right. Unknown codes centre. A window reaching the primary screen's right or bottom
// edge is pulled back to kEdgeGap pixels before it; there is no lower bound.
ScreenPoint AlignToRect(const BoxBounds& target, int32_t code, int32_t formWidth, int32_t formHeight,
                        int32_t screenWidth, int32_t screenHeight, DpiScale scale = {});

} // namespace vantrel
