#include "services/placement.h"

#include <algorithm>

#include "services/grid.h"

namespace vantrel {

namespace {

struct Area {
    ScreenRect rect;
    bool primary = false;
};

Area MouseArea(ScreenPoint cursor, const DesktopGeometry& desktop) {
    const Area primaryScreen{{0, 0, desktop.screenWidth, desktop.screenHeight}, true};
    if (!desktop.monitors || desktop.monitors->empty())
        return primaryScreen;
    const auto& monitors = *desktop.monitors;
    // Adjacent monitors share an edge; the later one in the list wins.
    const auto last = std::find_if(monitors.rbegin(), monitors.rend(),
                                   [&](const ScreenRect& r) { return ContainsWithEdges(r, cursor); });
    if (last == monitors.rend())
        return primaryScreen;
    return {*last, ContainsWithEdges(monitors.front(), cursor)};
}

// One axis of PlaceAtCursor, in 64 bits so that no input can overflow.
int32_t PlaceOnAxis(int64_t cursor, int64_t size, int64_t anchor, int64_t areaLow, int64_t areaHigh, int64_t gap) {
    if (cursor + size - anchor >= areaHigh)
        return SaturateToInt32(areaHigh - size - gap);
    return SaturateToInt32(std::max(cursor - anchor, areaLow));
}

int32_t PullBackFromEdge(int64_t position, int64_t size, int64_t screenSize, int64_t gap) {
    if (position + size >= screenSize)
        return SaturateToInt32(screenSize - size - gap);
    return SaturateToInt32(position);
}

} // namespace

CursorPlacement PlaceAtCursor(ScreenPoint cursor, int32_t formWidth, int32_t formHeight, ScreenPoint anchor,
                              bool moveMouse, const DesktopGeometry& desktop, DpiScale scale) {
    Area area = MouseArea(cursor, desktop);
    const int64_t gap = scale.Px(kEdgeGap);
    if (area.primary && desktop.taskbar) {
        const ScreenRect& bar = *desktop.taskbar;
        if (bar.top > 0)
            area.rect.bottom = SaturateToInt32(int64_t{bar.top} - scale.Px(kTaskbarGap));
        if (bar.left > 0)
            area.rect.right = bar.left;
    }
    CursorPlacement placement;
    placement.topLeft.x = PlaceOnAxis(cursor.x, formWidth, anchor.x, area.rect.left, area.rect.right, gap);
    placement.topLeft.y = PlaceOnAxis(cursor.y, formHeight, anchor.y, area.rect.top, area.rect.bottom, gap);
    const ScreenPoint anchorOnScreen{SaturateToInt32(int64_t{placement.topLeft.x} + anchor.x),
                                     SaturateToInt32(int64_t{placement.topLeft.y} + anchor.y)};
    if (moveMouse && anchorOnScreen != cursor)
        placement.moveMouseTo = anchorOnScreen;
    return placement;
}

ScreenPoint PlaceAtScreenCenter(int32_t formWidth, int32_t formHeight, int32_t screenWidth, int32_t screenHeight) {
    return {SaturateToInt32((int64_t{screenWidth} - formWidth) / 2),
            SaturateToInt32((int64_t{screenHeight} - formHeight) / 2)};
}

ScreenPoint AlignToRect(const BoxBounds& target, int32_t code, int32_t formWidth, int32_t formHeight,
                        int32_t screenWidth, int32_t screenHeight, DpiScale scale) {
    const int64_t start = 0;
    const int64_t middleX = (int64_t{target.width} - formWidth) / 2;
    const int64_t endX = int64_t{target.width} - formWidth;
    const int64_t middleY = (int64_t{target.height} - formHeight) / 2;
    const int64_t endY = int64_t{target.height} - formHeight;
    struct Offsets {
        int64_t dx;
        int64_t dy;
    };
    const Offsets table[9] = {{start, middleY}, {middleX, start}, {endX, middleY}, {middleX, endY}, {middleX, middleY},
                              {start, start},   {endX, start},    {start, endY},   {endX, endY}};
    const Offsets offsets = code >= 0 && code <= 8 ? table[code] : table[4];
    const int64_t gap = scale.Px(kEdgeGap);
    return {PullBackFromEdge(target.left + offsets.dx, formWidth, screenWidth, gap),
            PullBackFromEdge(target.top + offsets.dy, formHeight, screenHeight, gap)};
}

} // namespace vantrel
