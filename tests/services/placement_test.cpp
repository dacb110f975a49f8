#include "services/placement.h"

#include <gtest/gtest.h>

#include <climits>

namespace vantrel {
namespace {

// A 298x265 launcher whose anchor is the centre of its first Program cell.
constexpr int32_t kWidth = 298;
constexpr int32_t kHeight = 265;
constexpr ScreenPoint kAnchor{30, 41};

DesktopGeometry Desktop(std::vector<ScreenRect> monitors, std::optional<ScreenRect> taskbar) {
    return {std::move(monitors), 1920, 1080, taskbar};
}

TEST(Placement, PlaceAtCursor) {
    const ScreenRect primary{0, 0, 1920, 1080};
    const ScreenRect bottomBar{0, 1040, 1920, 1080};
    // Primary with a bottom taskbar, a secondary monitor to its right.
    const DesktopGeometry two = Desktop({primary, {1920, 0, 3200, 1024}}, bottomBar);
    struct Case {
        const char* what;
        DesktopGeometry desktop;
        ScreenPoint cursor, topLeft;
    };
    const Case cases[] = {
        {"room around the cursor", two, {500, 400}, {470, 359}},
        {"right edge: 16 pixels left of it", two, {1900, 400}, {1920 - 16 - kWidth, 359}},
        {"reaching the edge exactly", two, {1920 - kWidth + kAnchor.x, 400}, {1920 - 16 - kWidth, 359}},
        {"bottom: 48 pixels above the taskbar", two, {500, 1000}, {470, 1040 - 48 - kHeight}},
        {"secondary monitor: no taskbar", two, {2500, 1000}, {2470, 1024 - 16 - kHeight}},
        {"top-left corner: kept inside", two, {5, 5}, {0, 0}},
        {"shared edge: the later monitor", two, {1920, 100}, {1920, 59}},
        {"monitor left of the primary", Desktop({primary, {-1280, 0, 0, 1024}}, bottomBar), {-1275, 10}, {-1280, 0}},
        {"taskbar on the right", Desktop({primary}, ScreenRect{1860, 0, 1920, 1080}), {1800, 400}, {1546, 359}},
        {"no monitor enumeration", {std::nullopt, 1920, 1080, bottomBar}, {1900, 1000}, {1606, 727}},
        {"cursor on no monitor: primary", two, {5000, 400}, {1606, 359}},
    };
    for (const auto& c : cases) {
        const auto placed = PlaceAtCursor(c.cursor, kWidth, kHeight, kAnchor, true, c.desktop);
        EXPECT_EQ(placed.topLeft, c.topLeft) << c.what;
        const ScreenPoint underMouse{placed.topLeft.x + kAnchor.x, placed.topLeft.y + kAnchor.y};
        // The mouse follows a shifted window's anchor, and stays put otherwise.
        EXPECT_EQ(placed.moveMouseTo, underMouse == c.cursor ? std::nullopt : std::optional(underMouse)) << c.what;
        EXPECT_FALSE(PlaceAtCursor(c.cursor, kWidth, kHeight, kAnchor, false, c.desktop).moveMouseTo) << c.what;
    }
    const DesktopGeometry huge{std::vector<ScreenRect>{{INT_MIN, INT_MIN, INT_MAX, INT_MAX}}, INT_MAX, INT_MAX,
                               ScreenRect{INT_MAX, INT_MAX, INT_MAX, INT_MAX}};
    EXPECT_EQ(PlaceAtCursor({INT_MAX, INT_MAX}, INT_MAX, INT_MAX, {INT_MIN, INT_MIN}, true, huge),
              (CursorPlacement{{-16, -48}, ScreenPoint{INT_MIN, INT_MIN}}));
}

TEST(Placement, EdgeGapsScaleWithTheWindowsDpi) {
    // A launcher of ColMax 7 at each scale, its anchor the centre of the first cell.
    struct Case {
        int32_t dpi, width, height;
        ScreenPoint anchor;
        int32_t rightGap, aboveTaskbar;
    };
    const Case cases[] = {
        {96, 298, 265, {30, 41}, 16, 48},
        {144, 447, 399, {45, 62}, 24, 72},
        {192, 596, 530, {60, 82}, 32, 96},
    };
    const DesktopGeometry desktop = Desktop({{0, 0, 1920, 1080}}, ScreenRect{0, 1040, 1920, 1080});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        const DpiScale scale{c.dpi};
        const auto right = PlaceAtCursor({1900, 400}, c.width, c.height, c.anchor, false, desktop, scale);
        EXPECT_EQ(1920 - (right.topLeft.x + c.width), c.rightGap);
        EXPECT_EQ(right.topLeft.y, 400 - c.anchor.y);
        const auto low = PlaceAtCursor({500, 1030}, c.width, c.height, c.anchor, false, desktop, scale);
        EXPECT_EQ(1040 - (low.topLeft.y + c.height), c.aboveTaskbar);
        const ScreenPoint aligned = AlignToRect({1720, 980, 100, 100}, 5, 200, 100, 1920, 1080, scale);
        EXPECT_EQ(aligned, (ScreenPoint{1920 - 200 - c.rightGap, 1080 - 100 - c.rightGap}));
    }
}

TEST(Placement, CentreAndAlignment) {
    EXPECT_EQ(PlaceAtScreenCenter(298, 265, 1024, 768), (ScreenPoint{363, 251}));
    EXPECT_EQ(PlaceAtScreenCenter(INT_MIN, INT_MIN, INT_MAX, INT_MAX), (ScreenPoint{INT_MAX, INT_MAX}));
    const BoxBounds target{100, 100, 400, 300};
    const ScreenPoint expected[] = {{100, 200}, {200, 100}, {300, 200}, {200, 300}, {200, 200},
                                    {100, 100}, {300, 100}, {100, 300}, {300, 300}};
    for (int32_t code = 0; code <= 8; ++code)
        EXPECT_EQ(AlignToRect(target, code, 200, 100, 1920, 1080), expected[code]) << code;
    EXPECT_EQ(AlignToRect(target, 9, 200, 100, 1920, 1080), expected[4]) << "unknown codes centre";
    // Touching the screen's edge pulls the window back 16 pixels; there is no lower bound.
    EXPECT_EQ(AlignToRect({1720, 980, 100, 100}, 5, 200, 100, 1920, 1080), (ScreenPoint{1704, 964}));
    EXPECT_EQ(AlignToRect({1719, 979, 100, 100}, 5, 200, 100, 1920, 1080), (ScreenPoint{1719, 979}));
    EXPECT_EQ(AlignToRect({-500, -400, 100, 100}, 4, 200, 100, 1920, 1080), (ScreenPoint{-550, -400}));
}

} // namespace
} // namespace vantrel
