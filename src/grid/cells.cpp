#include "grid/cells.h"

#include <algorithm>

#include "services/grid.h"

namespace vantrel {

CellMetrics CellMetricsFor(DpiScale scale) {
    CellMetrics m;
    m.pitch = std::max(scale.Px(kCellPitch), 1);
    m.offset = scale.Px(kCellOffset);
    m.iconInset = scale.Px(kIconInset);
    m.iconSize = scale.Px(kIconSize);
    m.framePen = std::max(scale.Px(2), 1);
    m.extent = m.pitch - 1;
    m.buttonLow = m.pitch - 3;
    m.buttonHigh = m.pitch - 2;
    m.badgeInset = scale.Px(2);
    m.badgeFontHeight = scale.Px(14);
    m.notUsedInset = scale.Px(4);
    return m;
}

ScreenPoint CellOrigin(int32_t index, int32_t columns, const CellMetrics& metrics) {
    const int32_t column = RemainderOf(index, columns);
    const int64_t row = index / std::max(columns, 1);
    return {SaturateToInt32(int64_t{column} * metrics.pitch + metrics.offset),
            SaturateToInt32(row * metrics.pitch + metrics.offset)};
}

ScreenPoint IconOrigin(int32_t index, int32_t columns, const CellMetrics& metrics) {
    const ScreenPoint cell = CellOrigin(index, columns, metrics);
    return {SaturateToInt32(int64_t{cell.x} + metrics.iconInset), SaturateToInt32(int64_t{cell.y} + metrics.iconInset)};
}

ScreenRect NotUsedMarkRect(int32_t index, int32_t columns, const CellMetrics& metrics) {
    // From the grid position of the cell, without the box's frame: the inset to the cursor square's far edge.
    const ScreenPoint cell = CellOrigin(index, columns, metrics);
    const int64_t x = int64_t{cell.x} - metrics.offset;
    const int64_t y = int64_t{cell.y} - metrics.offset;
    const int64_t far = metrics.extent;
    return {SaturateToInt32(x + metrics.notUsedInset), SaturateToInt32(y + metrics.notUsedInset),
            SaturateToInt32(x + far), SaturateToInt32(y + far)};
}

std::vector<ScreenRect> CellSpanBands(int32_t first, int32_t last, int32_t columns, const CellMetrics& metrics) {
    const int64_t cols = std::max(columns, 1);
    const int64_t lo = std::max(std::min(first, last), 0);
    const int64_t hi = std::max(std::max(first, last), 0);
    const int64_t p = metrics.pitch;
    // Rows and columns [r0, r1) x [c0, c1) of cells, as a rectangle of the box with a pixel to spare around it.
    const auto band = [&](int64_t r0, int64_t r1, int64_t c0, int64_t c1) {
        return ScreenRect{SaturateToInt32(c0 * p + metrics.offset - 1), SaturateToInt32(r0 * p + metrics.offset - 1),
                          SaturateToInt32(c1 * p + metrics.offset + 1), SaturateToInt32(r1 * p + metrics.offset + 1)};
    };
    const int64_t firstRow = lo / cols;
    const int64_t lastRow = hi / cols;
    if (firstRow == lastRow)
        return {band(firstRow, firstRow + 1, lo % cols, hi % cols + 1)};
    std::vector<ScreenRect> bands{band(firstRow, firstRow + 1, lo % cols, cols)};
    if (lastRow > firstRow + 1)
        bands.push_back(band(firstRow + 1, lastRow, 0, cols));
    bands.push_back(band(lastRow, lastRow + 1, 0, hi % cols + 1));
    return bands;
}

int32_t CellAt(int32_t x, int32_t y, int32_t pitch, int32_t columns) {
    const int64_t p = std::max(pitch, 1);
    const int64_t cols = std::max(columns, 1);
    const int64_t lastColumnX = p * (cols - 1);
    const int64_t cx = std::clamp<int64_t>(x, 0, lastColumnX);
    const int64_t cy = std::max<int64_t>(y, 0);
    return SaturateToInt32(std::max<int64_t>(cols * (cy / p) + cx / p, 0));
}

} // namespace vantrel
