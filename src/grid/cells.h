#pragma once
// Cell arithmetic of the tray grids, shared by the launcher window and the icon registration dialog: where a
// cell and its icon sit inside a tray's paint box, and which cell a point of the box falls into.

#include <cstdint>

#include "core/geometry.h"

namespace vantrel {

constexpr int32_t kCellPitch = 40; // one 32x32 icon, its 3-pixel inset and the cursor frame
constexpr int32_t kCellOffset = 2; // the box's sunken frame takes the first two pixels
constexpr int32_t kIconInset = 3;
constexpr int32_t kIconSize = 32;

// Top-left corner of cell `index` inside the paint box; columns below 1 count as 1.
ScreenPoint CellOrigin(int32_t index, int32_t columns);
// Where the item's 32x32 icon (and the CD overlay) is drawn.
ScreenPoint IconOrigin(int32_t index, int32_t columns);

// The not-used mark over cell `index`: the checkerboard covers the icon and its inset, not the cursor frame.
ScreenRect NotUsedMarkRect(int32_t index, int32_t columns);

// Cell under a point of a paint box. Points right of the last column belong to it and points above or left of
// the box to the first row or column, so a click in the 2-pixel border still hits the neighbouring cell.
// Points below the last row give indexes past the shown count, which callers ignore. Never negative; a pitch
// or column count below 1 counts as 1 and an index beyond int32_t saturates.
int32_t CellAt(int32_t x, int32_t y, int32_t pitch, int32_t columns);

} // namespace vantrel
