#pragma once
// Cell arithmetic of the tray grids, shared by the launcher window and the icon registration dialog: where a
// cell and its icon sit inside a tray's paint box, and which cell a point of the box falls into. The figures
// below are those of a 96-dpi screen; CellMetrics carries them at the scale of the window that draws the grid.

#include <cstdint>
#include <vector>

#include "core/dpi_scale.h"
#include "core/geometry.h"

namespace vantrel {

constexpr int32_t kCellPitch = 40; // one 32x32 icon, its 3-pixel inset and the cursor frame
constexpr int32_t kCellOffset = 2; // the box's sunken frame takes the first two pixels
constexpr int32_t kIconInset = 3;
constexpr int32_t kIconSize = 32;

// The grid's figures at one scale. Every figure inside a cell is measured from the cell's own edges, so that the
// cursor frame and the button edges hug the scaled icon at any scale.
struct CellMetrics {
    int32_t pitch = kCellPitch;
    int32_t offset = kCellOffset;
    int32_t iconInset = kIconInset;
    int32_t iconSize = kIconSize;
    int32_t framePen = 2;    // width of the box cursor's pen
    int32_t extent = 39;     // the cursor square: pitch - 1
    int32_t buttonLow = 37;  // the raised button's bottom and right edge: pitch - 3
    int32_t buttonHigh = 38; // its top edge's end: pitch - 2
    int32_t badgeInset = 2;  // the key badge, from the cell's corner
    int32_t badgeFontHeight = 14;
    int32_t notUsedInset = 4; // the checkerboard over a cell that is not used
    friend bool operator==(const CellMetrics&, const CellMetrics&) = default;
};
CellMetrics CellMetricsFor(DpiScale scale);

// Top-left corner of cell `index` inside the paint box; columns below 1 count as 1.
ScreenPoint CellOrigin(int32_t index, int32_t columns, const CellMetrics& metrics = {});
// Where the item's icon (and the CD overlay) is drawn, metrics.iconSize square.
ScreenPoint IconOrigin(int32_t index, int32_t columns, const CellMetrics& metrics = {});

// The not-used mark over cell `index`: the checkerboard covers the icon and its inset, not the cursor frame.
ScreenRect NotUsedMarkRect(int32_t index, int32_t columns, const CellMetrics& metrics = {});

// Cells first..last (in either order) as at most three bands of rows: the first row's tail, the whole rows
// between and the last row's head, each grown by a pixel on every side for the focus frame, which reaches into the
// gap before its cell. Repainting only these is what a drag step or a move of the cursor needs.
std::vector<ScreenRect> CellSpanBands(int32_t first, int32_t last, int32_t columns, const CellMetrics& metrics = {});

// Cell under a point of a paint box. Points right of the last column belong to it and points above or left of
// the box to the first row or column, so a click in the 2-pixel border still hits the neighbouring cell.
// Points below the last row give indexes past the shown count, which callers ignore. Never negative; a pitch
// or column count below 1 counts as 1 and an index beyond int32_t saturates.
int32_t CellAt(int32_t x, int32_t y, int32_t pitch, int32_t columns);

} // namespace vantrel
