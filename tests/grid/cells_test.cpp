#include "grid/cells.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <vector>

#include "grid/cell_paint.h"

namespace vantrel {
namespace {

TEST(Cells, CellAt) {
    struct Case {
        int32_t x, y, pitch, columns, expected;
    };
    const Case cases[] = {
        {1000, 0, 40, 7, 6}, // right of the grid: the last column
        {-5, -5, 40, 7, 0},  // above and left of it: the first cell
        {0, 85, 40, 7, 14},  // third row
        {39, 39, 40, 7, 0},
        {40, 39, 40, 7, 1},
        {39, 40, 40, 7, 7},
        {50, 50, 0, 0, 50}, // degenerate pitch and columns count as 1
        {INT_MAX, INT_MAX, 1, INT_MAX, INT_MAX},
        {INT_MIN, INT_MIN, INT_MIN, INT_MIN, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CellAt(c.x, c.y, c.pitch, c.columns), c.expected) << "(" << c.x << ", " << c.y << ")";
    EXPECT_EQ(CellOrigin(8, 7), (ScreenPoint{42, 42}));
    EXPECT_EQ(IconOrigin(6, 7), (ScreenPoint{245, 5}));
    EXPECT_EQ(CellOrigin(3, 0), (ScreenPoint{2, 122}));
}

// A drag step repaints the bands of the cells it moved: every one of them whole, and nothing beyond their neighbours.
TEST(Cells, SpanBandsCoverTheCellsThatMoved) {
    struct Case {
        int32_t first, last, columns;
    };
    const Case cases[] = {{0, 1, 20}, {1, 0, 20}, {5, 5, 7}, {6, 7, 7}, {3, 30, 7}, {0, 199, 20}, {199, 0, 20}};
    for (const CellMetrics& metrics : {CellMetrics{}, CellMetricsFor(DpiScale{144})})
        for (const auto& c : cases) {
            const std::vector<ScreenRect> bands = CellSpanBands(c.first, c.last, c.columns, metrics);
            const auto inside = [&](int32_t i) {
                const ScreenPoint o = CellOrigin(i, c.columns, metrics);
                // The cell's square and the focus frame a pixel before it.
                for (const ScreenRect& b : bands)
                    if (b.left <= o.x - 1 && b.top <= o.y - 1 && b.right >= o.x + metrics.pitch &&
                        b.bottom >= o.y + metrics.pitch)
                        return true;
                return false;
            };
            const int32_t lo = std::min(c.first, c.last);
            const int32_t hi = std::max(c.first, c.last);
            for (int32_t i = 0; i < 200; ++i)
                EXPECT_EQ(inside(i), i >= lo && i <= hi) << i << " of " << c.first << ".." << c.last;
        }
}

// The registration grid redraws what its kept picture shows differently: an item that moved, one that went, and
// everything when the columns or colours changed.
TEST(CellPaint, ChangedCellsBetweenTwoPictures) {
    TrayEntry entry;
    for (int i = 0; i < 4; ++i) {
        RData item;
        item.Title = u"x";
        item.IconFileName = std::u16string(1, static_cast<char16_t>(u'a' + i));
        entry.Items.push_back(item);
    }
    const TOption option;
    const auto key = [&](const TrayEntry& e, int32_t columns) {
        return PictureKeyFor(ProgramTray, e, option, columns, true, false, 0, GridColours{}, CellMetrics{}, true);
    };
    const TrayPictureKey before = key(entry, 7);
    EXPECT_TRUE(ChangedCells(before, before).empty());
    TrayEntry swapped = entry;
    std::swap(swapped.Items[1], swapped.Items[2]);
    EXPECT_EQ(ChangedCells(before, key(swapped, 7)), (std::vector<int32_t>{1, 2}));
    TrayEntry shorter = entry;
    shorter.Items.pop_back();
    EXPECT_EQ(ChangedCells(before, key(shorter, 7)), (std::vector<int32_t>{3}));
    EXPECT_EQ(ChangedCells(before, key(entry, 8)).size(), 4u);
}

TEST(DpiScale, PixelsRoundAsTheSystemScales) {
    struct Case {
        int32_t dpi, pixels96, expected;
    };
    const Case cases[] = {
        {96, 40, 40},
        {144, 40, 60},
        {192, 40, 80},
        {120, 40, 50},
        {144, 3, 5},
        {144, 1, 2},
        {120, 2, 3}, // halves round away from zero, as MulDiv does
        {144, -12, -18},
        {144, -15, -23},
        {192, -14, -28}, // font heights are negative
        {0, 40, 40},
        {-96, 40, 40}, // no DPI: 96
        {192, INT_MAX, INT_MAX},
        {192, INT_MIN, INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DpiScale{c.dpi}.Px(c.pixels96), c.expected) << c.pixels96 << " at " << c.dpi << " dpi";
}

TEST(Cells, GridAtEveryScale) {
    struct Case {
        int32_t dpi;
        CellMetrics metrics;
        ScreenPoint secondRow, lastIconOfFirstRow;
    };
    // pitch, offset, icon inset, icon, pen, extent, button low/high, badge inset, badge font, not-used inset
    const Case cases[] = {
        {96, {40, 2, 3, 32, 2, 39, 37, 38, 2, 14, 4}, {42, 42}, {245, 5}},
        {120, {50, 3, 4, 40, 3, 49, 47, 48, 3, 18, 5}, {53, 53}, {307, 7}},
        {144, {60, 3, 5, 48, 3, 59, 57, 58, 3, 21, 6}, {63, 63}, {368, 8}},
        {192, {80, 4, 6, 64, 4, 79, 77, 78, 4, 28, 8}, {84, 84}, {490, 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        const CellMetrics m = CellMetricsFor(DpiScale{c.dpi});
        EXPECT_EQ(m, c.metrics);
        EXPECT_EQ(CellOrigin(8, 7, m), c.secondRow);
        EXPECT_EQ(IconOrigin(6, 7, m), c.lastIconOfFirstRow);
        // The icon and the cursor square stay inside the cell, so neighbours never overlap.
        EXPECT_LE(m.iconInset + m.iconSize, m.buttonLow);
        EXPECT_LT(m.extent, m.pitch);
        // The pitch hits the same cells a scaled point lies in.
        EXPECT_EQ(CellAt(m.pitch - 1, 0, m.pitch, 7), 0);
        EXPECT_EQ(CellAt(m.pitch, m.pitch, m.pitch, 7), 8);
    }
    EXPECT_EQ(CellMetricsFor(DpiScale{}), CellMetrics{}) << "the defaults are the 96-dpi grid";
}

TEST(CellPaint, Badges) {
    struct Case {
        int32_t tray, index, key;
        bool keyNumber, usKeyboard;
        const char16_t* text; // nullptr: no badge
    };
    const Case cases[] = {
        {0, 0, 'A', false, true, u"A"},    {2, 3, 'a', false, true, u"a"},    {0, 0, 0xC4, false, true, u"F5"},
        {0, 0, 0xE4, false, true, u"f5"},  {0, 0, 0xCB, false, true, u"F12"}, {0, 0, 0xEB, false, true, u"f12"},
        {0, 0, 0xCD, false, true, u"F14"}, {0, 0, 0xFF, false, true, u"f32"}, // hand-edited codes
        {0, 0, '5', false, true, nullptr}, {0, 0, '5', true, true, u"5"},     {0, 0, '%', false, true, nullptr},
        {0, 0, '%', true, true, u"%"},                                        // shifted 5
        {0, 0, '@', false, false, u"@"},   {0, 0, '@', false, true, nullptr}, // shifted 2 on US only
        {2, 0, 0, false, true, nullptr},   {1, 0, 0, false, true, u"1"},      {1, 8, 0, false, true, u"9"},
        {1, 9, 0, false, true, u"0"},      {1, 10, 0, false, true, nullptr},  {1, 0, 0, true, true, nullptr},
        {1, 2, 'A', false, true, u"3"},
    };
    TOption option;
    option.TextColor = 0x00FFFF;
    option.BackColor = 0x123456;
    for (const auto& c : cases) {
        option.KeyNumberFlag = c.keyNumber;
        RData item;
        item.Status = (c.key << 8) | StatusSpecial;
        const auto badge = BadgeFor(c.tray, c.index, item, option, c.usKeyboard);
        SCOPED_TRACE(testing::Message() << "tray " << c.tray << " index " << c.index << " key " << c.key);
        const auto expected = c.text ? std::optional(CellBadge{c.text, 0x00FFFF, 0x123456}) : std::nullopt;
        EXPECT_EQ(badge, expected);
    }
}

TEST(CellPaint, CursorAndCdOverlay) {
    EXPECT_EQ(CellBackgroundFor(1, 2), CellBackground::RaisedButton) << "the black fill is for boxes only";
    EXPECT_EQ(CellBackgroundFor(2, 1), CellBackground::Nothing);
    RData player;
    player.Status = StatusSpecial;
    player.ExeFileName = u"cd player";
    EXPECT_EQ(CdOverlayFor(player, true, kCdModePlaying), CdOverlay::Playing);
    EXPECT_EQ(CdOverlayFor(player, true, 525), CdOverlay::Stopped);
    EXPECT_EQ(CdOverlayFor(player, false, kCdModePlaying), CdOverlay::None);
    player.Status = 0; // a program that happens to be called so
    EXPECT_EQ(CdOverlayFor(player, true, kCdModePlaying), CdOverlay::None);
}

TEST(CellPaint, TrayPictureKeyChangesWithEverythingDrawn) {
    TrayEntry tray;
    tray.Items.resize(3);
    tray.Items[0].Icon = IconRef::Borrowed(10);
    tray.Items[0].IconFileName = u"C:\\a.exe";
    tray.Items[1].Status = 'A' << 8;
    tray.Items[2].Status = StatusNotUsed;
    const TOption option;
    const GridColours colours = ChooseGridColours(false, SystemColours{}, option);
    const auto key = [&](const TrayEntry& t, const TOption& o, int32_t cdMode = 0) {
        return PictureKeyFor(0, t, o, 7, true, false, cdMode, colours);
    };
    const TrayPictureKey base = key(tray, option);
    EXPECT_EQ(base.cells.size(), 2u) << "only shown items";
    EXPECT_EQ(key(tray, option), base);

    const auto changed = [&](auto edit) {
        TrayEntry t = tray;
        TOption o = option;
        edit(t, o);
        return key(t, o) != base;
    };
    EXPECT_TRUE(changed([](TrayEntry& t, TOption&) { t.Items[0].Icon = IconRef::Borrowed(11); }));
    EXPECT_TRUE(changed([](TrayEntry& t, TOption&) { t.Items[0].IconIndex = 1; })) << "same handle, other icon";
    EXPECT_TRUE(changed([](TrayEntry& t, TOption&) { t.Items[0].IconFileName = u"C:\\b.exe"; }));
    EXPECT_TRUE(changed([](TrayEntry& t, TOption&) { t.Items[1].Status = 'B' << 8; })) << "badge";
    EXPECT_TRUE(changed([](TrayEntry& t, TOption&) { t.Items[2].Status = 0; })) << "a fourth cell appears";
    EXPECT_TRUE(changed([](TrayEntry&, TOption& o) { o.KeyNumberFlag = true; }));
    EXPECT_TRUE(changed([](TrayEntry&, TOption& o) { o.BackColor = 1; }));
    EXPECT_TRUE(changed([](TrayEntry&, TOption& o) { o.TextColor = 1; }));
    EXPECT_FALSE(changed([](TrayEntry& t, TOption&) { t.Items[0].Title = u"renamed"; })) << "titles are not drawn";
    EXPECT_FALSE(changed([](TrayEntry& t, TOption&) { t.Items[2].Icon = IconRef::Borrowed(5); })) << "not shown";
    EXPECT_FALSE(changed([](TrayEntry&, TOption& o) { o.FrameType = 0; })) << "the normal state has no cursor";
    EXPECT_NE(key(tray, option, kCdModePlaying), base);
    EXPECT_NE(PictureKeyFor(0, tray, option, 6, true, false, 0, colours), base);
    EXPECT_NE(PictureKeyFor(0, tray, option, 7, true, false, 0, colours, CellMetricsFor(DpiScale{144})), base)
        << "another scale";
    SystemColours other;
    other.face = 0xD4D0C8;
    EXPECT_NE(PictureKeyFor(0, tray, option, 7, true, false, 0, ChooseGridColours(false, other, option)), base)
        << "system colours changed";
    EXPECT_NE(PictureKeyFor(0, tray, option, 7, true, false, 0, ChooseGridColours(true, SystemColours{}, option)), base)
        << "high contrast switched on";
}

// The checkerboard of a not-used cell covers the icon and its inset but leaves the cursor frame, at every scale.
TEST(CellsTest, NotUsedMarkScalesWithTheCells) {
    struct Case {
        int32_t dpi, index;
        ScreenRect mark;
    };
    const Case cases[] = {
        {96, 0, {4, 4, 39, 39}},
        {96, 8, {44, 44, 79, 79}},
        {144, 0, {6, 6, 59, 59}},
        {192, 8, {88, 88, 159, 159}},
    };
    for (const Case& c : cases) {
        const ScreenRect mark = NotUsedMarkRect(c.index, 7, CellMetricsFor(DpiScale{c.dpi}));
        EXPECT_EQ(mark.left, c.mark.left) << c.dpi << "/" << c.index;
        EXPECT_EQ(mark.top, c.mark.top) << c.dpi << "/" << c.index;
        EXPECT_EQ(mark.right, c.mark.right) << c.dpi << "/" << c.index;
        EXPECT_EQ(mark.bottom, c.mark.bottom) << c.dpi << "/" << c.index;
    }
}

} // namespace
} // namespace vantrel
