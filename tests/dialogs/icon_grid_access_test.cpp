// What a screen reader reads of the icon dialogs' grids: names, places, bounds and the focus, and which requests
// to move the cursor reach the dialog.

#include "dialogs/icon_grid_access.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

RData Item(const char16_t* title, int32_t status = 0) {
    RData item;
    item.Title = title;
    item.Status = status;
    return item;
}

struct FakeTrayView : TrayGridView {
    std::array<ItemList, 3> lists;
    bool showing = true;
    int32_t cursor = 0;
    int32_t columns = 5;
    bool accepts = true;
    std::vector<CellAddress> selected;

    const ItemList& GridItems(int32_t tray) const override { return lists[static_cast<std::size_t>(tray)]; }
    bool GridShowing(int32_t) const override { return showing; }
    int32_t GridCursor() const override { return cursor; }
    int32_t GridColumns() const override { return columns; }
    BoxBounds GridArea(int32_t) const override { return {0, 0, 204, 82}; }
    bool SelectGridCell(int32_t tray, int32_t index) override {
        selected.push_back({tray, index});
        return accepts;
    }
};

TEST(TrayGridAccessTest, CellsAreNamedPlacedAndBoundedLikeTheGrid) {
    FakeTrayView view;
    view.lists[SystemTray] = {Item(u"Recycle Bin", StatusSystem), Item(u"Drive"),
                              Item(u"This PC", StatusSystem | StatusNotUsed)};
    view.cursor = 1;
    TrayGridAccess access(view, SystemTray);
    EXPECT_EQ(access.ListName(0), u"System");
    EXPECT_EQ(TrayGridAccess(view, ProgramTray).ListName(0), u"Program");
    EXPECT_EQ(access.CellCount(0), 3);
    EXPECT_EQ(access.CellCount(1), 0) << "one list per grid";

    struct Case {
        int32_t index;
        const char16_t* name;
        const char16_t* position;
        BoxBounds bounds;
        bool focused;
    };
    const Case cases[] = {
        {0, u"Recycle Bin", u"1 of 3", {2, 2, 39, 39}, false},
        {1, u"Drive", u"2 of 3", {42, 2, 39, 39}, true},
        {2, u"This PC (not used)", u"3 of 3", {82, 2, 39, 39}, false},
    };
    for (const Case& c : cases) {
        const AccessibleCell cell = access.Cell(0, c.index);
        EXPECT_EQ(cell.name, c.name) << c.index;
        EXPECT_EQ(cell.position, c.position) << c.index;
        EXPECT_EQ(cell.bounds, c.bounds) << c.index;
        EXPECT_EQ(cell.focused, c.focused) << c.index;
        EXPECT_TRUE(cell.defaultAction.empty()) << "the dialog runs nothing";
    }
    view.columns = 2;
    EXPECT_EQ(access.Cell(0, 2).bounds, (BoxBounds{2, 42, 39, 39})) << "the third cell wraps to the second row";
    EXPECT_EQ(access.Cell(0, 3), AccessibleCell{}) << "past the end";
}

TEST(TrayGridAccessTest, FocusAndSelectionOnlyWhileTheGridIsOnTop) {
    FakeTrayView view;
    view.lists[ProgramTray] = {Item(u"A"), Item(u"B")};
    TrayGridAccess access(view, ProgramTray);
    view.cursor = 1;
    EXPECT_EQ(access.Focus(), (CellAddress{0, 1}));
    view.cursor = 2; // the cursor on the cell after the last (the list shrank)
    EXPECT_EQ(access.Focus(), std::nullopt);
    view.cursor = 0;
    view.showing = false;
    EXPECT_EQ(access.Focus(), std::nullopt);
    EXPECT_FALSE(access.SelectCell({0, 1})) << "a hidden page takes no selection";
    view.showing = true;
    EXPECT_FALSE(access.SelectCell({0, 2}));
    EXPECT_FALSE(access.SelectCell({1, 0}));
    EXPECT_TRUE(view.selected.empty());
    EXPECT_TRUE(access.SelectCell({0, 1}));
    view.accepts = false; // a drag or a child dialog
    EXPECT_FALSE(access.SelectCell({0, 0}));
    EXPECT_EQ(view.selected, (std::vector<CellAddress>{{ProgramTray, 1}, {ProgramTray, 0}}));
    EXPECT_FALSE(access.RunCell({0, 0}));
}

struct FakeStripView : IconStripView {
    int32_t cells = 4;
    int32_t index = 2;
    int32_t offset = 0;
    int32_t pitch = 40;
    bool showing = true;
    std::vector<int32_t> picked;
    int32_t StripCells() const override { return cells; }
    int32_t StripIndex() const override { return index; }
    int32_t StripOffset() const override { return offset; }
    int32_t StripPitch() const override { return pitch; }
    bool StripShowing() const override { return showing; }
    bool PickStripCell(int32_t cell) override {
        picked.push_back(cell);
        index = cell;
        return true;
    }
};

TEST(IconStripAccessTest, IconsAreNumberedTheScrolledBoundsFollowAndTheAssociatedIconPicksNothing) {
    FakeStripView view;
    IconStripAccess access(view);
    EXPECT_EQ(access.ListName(0), u"Icon");
    EXPECT_EQ(access.Cell(0, 2).name, u"Icon 3");
    EXPECT_EQ(access.Cell(0, 2).position, u"3 of 4");
    EXPECT_TRUE(access.Cell(0, 2).focused);
    view.offset = 60;
    EXPECT_EQ(access.Cell(0, 1).bounds, (BoxBounds{-20, 0, 40, 40}));
    EXPECT_EQ(access.ListBounds(0), (BoxBounds{-60, 0, 160, 40}));
    view.pitch = 60; // at 150 %
    EXPECT_EQ(access.Cell(0, 1).bounds, (BoxBounds{0, 0, 60, 60})) << "read in the strip's scaled pixels";
    EXPECT_TRUE(access.SelectCell({0, 3}));
    EXPECT_EQ(access.Focus(), (CellAddress{0, 3}));
    EXPECT_FALSE(access.SelectCell({0, 4}));

    view.index = -1; // the file's associated icon: every cell drawn picked, none pickable
    EXPECT_EQ(access.Focus(), std::nullopt);
    EXPECT_FALSE(access.SelectCell({0, 0}));
    EXPECT_EQ(view.picked, std::vector<int32_t>{3});
}

} // namespace
} // namespace vantrel
