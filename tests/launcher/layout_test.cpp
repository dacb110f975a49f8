#include "launcher/layout.h"

#include <gtest/gtest.h>

#include <climits>

#include "grid/cells.h"
#include "services/placement.h"

namespace vantrel {
namespace {

constexpr int32_t kLabelHeight = 15;

std::array<TrayEntry, 3> Trays(int program, int task, int system, int programNotUsed = 0) {
    std::array<TrayEntry, 3> trays;
    trays[ProgramTray].Items.resize(static_cast<std::size_t>(program + programNotUsed));
    for (int i = program; i < program + programNotUsed; ++i)
        trays[ProgramTray].Items[static_cast<std::size_t>(i)].Status = StatusNotUsed;
    trays[TaskTray].Items.resize(static_cast<std::size_t>(task));
    trays[SystemTray].Items.resize(static_cast<std::size_t>(system));
    return trays;
}

TEST(Layout, TraySize) {
    struct Case {
        int32_t colMax, shown;
        TraySize size;
    };
    const Case cases[] = {
        {7, 0, {282, 42}},        {7, 7, {282, 42}},
        {7, 8, {282, 82}},        {7, 15, {282, 122}},
        {1, 0, {42, 2}},          {1, 1, {42, 42}},
        {2, 0, {82, 42}}, // one column: an empty tray has no row
        {0, 5, {42, 202}},        {-3, 0, {42, 2}},
        {INT_MAX, 0, {1202, 42}}, // hand-edited ColMax: 1..30
        {7, -5, {282, 42}},       {1, INT_MAX, {42, INT_MAX}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SetTraySize(c.colMax, c.shown), c.size) << c.colMax << " columns, " << c.shown << " items";
}

TEST(Layout, WindowStacksLabelsBoxesAndNamePanel) {
    const LauncherLayout layout = ComputeLayout(7, {8, 0, 3}, kLabelHeight);
    EXPECT_EQ(layout.width, 298);
    EXPECT_EQ(layout.labelTop, (std::array<int32_t, 3>{2, 103, 164}));
    EXPECT_EQ(layout.trayBox[0], (BoxBounds{8, 19, 282, 82}));
    EXPECT_EQ(layout.trayBox[2], (BoxBounds{8, 181, 282, 42}));
    EXPECT_EQ(layout.namePanel, (BoxBounds{8, 233, 282, 22}));
    EXPECT_EQ(layout.nameLabelWidth, 276);
    EXPECT_EQ(layout.height, 265);
    const LauncherLayout huge = ComputeLayout(INT_MIN, {INT_MAX, INT_MAX, INT_MAX}, INT_MAX);
    EXPECT_EQ(huge.width, 58);
    EXPECT_EQ(huge.height, INT_MAX);
}

TEST(Layout, EveryFigureScalesWithTheMonitorsDpi) {
    struct Case {
        int32_t dpi, labelHeight;
        int32_t width, height;
        std::array<int32_t, 3> labelTop;
        BoxBounds program, system, namePanel, nameLabel;
    };
    const Case cases[] = {
        {96, 15, 298, 265, {2, 103, 164}, {8, 19, 282, 82}, {8, 181, 282, 42}, {8, 233, 282, 22}, {12, 234, 276, 18}},
        {144,
         23,
         447,
         399,
         {3, 155, 247},
         {12, 29, 423, 123},
         {12, 273, 423, 63},
         {12, 351, 423, 33},
         {18, 353, 414, 27}},
        {192,
         30,
         596,
         530,
         {4, 206, 328},
         {16, 38, 564, 164},
         {16, 362, 564, 84},
         {16, 466, 564, 44},
         {24, 468, 552, 36}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        const LauncherLayout layout = ComputeLayout(7, {8, 0, 3}, c.labelHeight, DpiScale{c.dpi});
        EXPECT_EQ(layout.width, c.width);
        EXPECT_EQ(layout.height, c.height);
        EXPECT_EQ(layout.labelTop, c.labelTop);
        EXPECT_EQ(layout.labelLeft, c.program.left);
        EXPECT_EQ(layout.trayBox[0], c.program);
        EXPECT_EQ(layout.trayBox[2], c.system);
        EXPECT_EQ(layout.namePanel, c.namePanel);
        EXPECT_EQ(layout.nameLabel, c.nameLabel);
        EXPECT_EQ(layout.cell, CellMetricsFor(DpiScale{c.dpi}));
        // The first cell's centre is what goes under the mouse, at every scale.
        const ScreenPoint anchor = MouseAnchor(layout, 0, 0);
        EXPECT_EQ(CellAt(anchor.x - c.program.left, anchor.y - c.program.top, layout.cell.pitch, 7), 0);
        EXPECT_EQ(anchor.x - c.program.left, layout.cell.offset + layout.cell.pitch / 2);
    }
}

TEST(Layout, RescaleKeepsTheCursorAndRepaintsEverything) {
    auto trays = Trays(10, 3, 9);
    LauncherWindowState window;
    BeginShow(window);
    SetLayout(window, trays, 7, kLabelHeight);
    EXPECT_TRUE(EraseBackground(window));
    trays[ProgramTray].NowIndex = 8;
    trays[ProgramTray].LastIndex = 8;
    window.NowColum = 1;
    const LauncherLayout& layout = Rescale(window, trays, 7, 23, DpiScale{144});
    EXPECT_EQ(layout.width, 447);
    EXPECT_EQ(window.Scale, DpiScale{144});
    EXPECT_EQ(trays[ProgramTray].NowIndex, 8) << "a move to another monitor is no new show";
    EXPECT_EQ(window.NowColum, 1);
    EXPECT_TRUE(EraseBackground(window)) << "drawn anew at the new size";
    // A task closed later lays the window out at the scale it is at now.
    SetLayout(window, trays, 7, 23);
    EXPECT_EQ(window.Layout.width, 447);
}

TEST(Layout, NotUsedItemsAreNeitherShownNorCounted) {
    auto trays = Trays(8, 0, 0, 3);
    trays[ProgramTray].Items.push_back({}); // a used item after a not-used one stays hidden
    EXPECT_TRUE(IsShownCell(trays, ProgramTray, 7));
    EXPECT_FALSE(IsShownCell(trays, ProgramTray, 8));
    EXPECT_FALSE(IsShownCell(trays, ProgramTray, -1));
    LauncherWindowState window;
    EXPECT_EQ(SetLayout(window, trays, 7, kLabelHeight).trayBox[0].height, 82);
}

TEST(Layout, SetLayoutResetsCursorsAndRepaintsAfterAHeightChange) {
    auto trays = Trays(3, 8, 2);
    trays[TaskTray].NowIndex = 5;
    trays[TaskTray].LastIndex = 4;
    LauncherWindowState window;
    BeginShow(window);
    SetLayout(window, trays, 7, kLabelHeight);
    EXPECT_EQ(trays[TaskTray].NowIndex, 0);
    EXPECT_EQ(trays[TaskTray].LastIndex, 0);
    EXPECT_TRUE(EraseBackground(window)) << "the first erase paints everything";
    EXPECT_FALSE(EraseBackground(window));
    SetLayout(window, trays, 7, kLabelHeight);
    EXPECT_FALSE(EraseBackground(window)) << "same height";
    trays[TaskTray].Items.pop_back(); // a closed task takes the Task tray's second row
    SetLayout(window, trays, 7, kLabelHeight);
    EXPECT_TRUE(EraseBackground(window));
}

TEST(Layout, StartTray) {
    struct Case {
        int32_t showStatus, mousePosition, keyCursor;
        std::array<int, 4> used; // Program, Task, System, not-used Program items
        int32_t expected;
    };
    const Case cases[] = {
        {2, 1, 0, {3, 2, 4, 0}, 1}, {2, 1, 0, {3, 0, 4, 0}, 0}, {2, 1, 0, {0, 0, 4, 0}, 2},
        {1, 2, 1, {3, 2, 4, 0}, 1}, {2, 3, 2, {3, 2, 4, 0}, 0}, {1, 0, 7, {3, 2, 4, 0}, 0},
        {1, 0, 0, {0, 0, 0, 0}, 0}, {1, 0, 0, {0, 0, 4, 2}, 2}, // only not-used Program items: nothing to stand on
    };
    TOption option;
    for (const auto& c : cases) {
        option.MousePositionFlag = c.mousePosition;
        option.KeyCursorFlag = c.keyCursor;
        const auto trays = Trays(c.used[0], c.used[1], c.used[2], c.used[3]);
        EXPECT_EQ(StartTray(trays, c.showStatus, option), c.expected)
            << c.showStatus << "/" << c.mousePosition << "/" << c.keyCursor;
    }
}

TEST(Layout, WhereTheWindowComesUp) {
    TOption option;
    EXPECT_TRUE(ShowsAtMouse(option, 2));
    EXPECT_FALSE(ShowsAtMouse(option, 1)) << "hot key: centred";
    option.MouseFlag = 0;
    EXPECT_FALSE(ShowsAtMouse(option, 2));
    option.KeyPositionFlag = true;
    option.MousePositionFlag = -1;
    EXPECT_TRUE(ShowsAtMouse(option, 2)) << "KeyPositionFlag brings every call to the mouse";

    // Hot key at the mouse: the first cell of the start tray comes to lie under the mouse.
    auto trays = Trays(5, 3, 9);
    option.KeyCursorFlag = 2;
    LauncherWindowState window;
    const LauncherLayout& layout = SetLayout(window, trays, option.ColMax, kLabelHeight);
    window.NowMode = StartTray(trays, 1, option);
    const ScreenPoint anchor = MouseAnchor(layout, window.NowMode, option.MousePositionFlag);
    const BoxBounds& box = layout.trayBox[2];
    EXPECT_EQ(CellAt(anchor.x - box.left, anchor.y - box.top, kCellPitch, layout.columns), 0);
    const DesktopGeometry desktop{std::vector<ScreenRect>{{0, 0, 1920, 1080}}, 1920, 1080, std::nullopt};
    const auto placed = PlaceAtCursor({700, 500}, layout.width, layout.height, anchor, true, desktop);
    EXPECT_EQ((ScreenPoint{placed.topLeft.x + anchor.x, placed.topLeft.y + anchor.y}), (ScreenPoint{700, 500}));
    EXPECT_EQ(MouseAnchor(layout, 0, 3), (ScreenPoint{layout.width / 2, layout.height / 2}));
}

TEST(Layout, CursorAfterTaskClose) {
    struct Case {
        std::array<int, 3> usedAfterClose;
        int32_t taskIndexBefore, nowMode, taskIndex, nowColum;
    };
    const Case cases[] = {
        {{3, 0, 4}, 0, 0, 0, 0}, // last task closed: Program tray
        {{0, 0, 4}, 0, 2, 0, 0}, // or System when Program is empty
        {{3, 9, 4}, 9, 1, 8, 1}, // limited to the last task
        {{3, 9, 4}, 4, 1, 4, 4},
    };
    for (const auto& c : cases) {
        auto trays = Trays(c.usedAfterClose[0], c.usedAfterClose[1], c.usedAfterClose[2]);
        trays[ProgramTray].NowIndex = 2;
        trays[TaskTray].NowIndex = c.taskIndexBefore;
        LauncherWindowState window;
        window.NowMode = TaskTray;
        CursorAfterTaskClose(window, trays, 7, kLabelHeight);
        EXPECT_EQ((std::array{window.NowMode, trays[TaskTray].NowIndex, trays[ProgramTray].NowIndex, window.NowColum}),
                  (std::array{c.nowMode, c.taskIndex, 0, c.nowColum}));
    }
}

TEST(Layout, CursorAfterTraysChanged) {
    struct Case {
        const char* what;
        std::array<int, 3> shownAfter;
        int32_t nowMode;
        std::array<int32_t, 3> indexBefore;
        int32_t expectedMode;
        std::array<int32_t, 3> expectedIndex;
        int32_t nowColum;
    };
    const Case cases[] = {
        {"every cursor stays", {9, 9, 9}, 2, {1, 8, 3}, 2, {1, 8, 3}, 3},
        {"limited to the last shown item", {9, 2, 9}, 1, {1, 8, 8}, 1, {1, 1, 8}, 1},
        {"a tray that lost all its items", {9, 0, 9}, 1, {4, 3, 2}, 0, {4, 0, 2}, 4},
        {"nothing before it: the next tray", {0, 0, 9}, 1, {0, 3, 8}, 2, {0, 0, 8}, 1},
        {"nothing anywhere", {0, 0, 0}, 2, {1, 2, 3}, 2, {0, 0, 0}, 0},
    };
    for (const auto& c : cases) {
        auto trays = Trays(c.shownAfter[0], c.shownAfter[1], c.shownAfter[2]);
        for (std::size_t t = 0; t < 3; ++t)
            trays[t].NowIndex = c.indexBefore[t];
        LauncherWindowState window;
        window.NowMode = c.nowMode;
        CursorAfterTraysChanged(window, trays, 7, kLabelHeight);
        EXPECT_EQ(window.NowMode, c.expectedMode) << c.what;
        EXPECT_EQ((std::array{trays[0].NowIndex, trays[1].NowIndex, trays[2].NowIndex}), c.expectedIndex) << c.what;
        EXPECT_EQ(trays[static_cast<std::size_t>(window.NowMode)].LastIndex, c.expectedIndex[c.expectedMode]) << c.what;
        EXPECT_EQ(window.NowColum, c.nowColum) << c.what;
        EXPECT_EQ(window.Layout, ComputeLayout(7, {c.shownAfter[0], c.shownAfter[1], c.shownAfter[2]}, kLabelHeight))
            << c.what;
    }
}

TEST(Layout, CloseAndDeactivation) {
    EXPECT_EQ(OnCloseCommand(false), CloseAnswer::Hide);
    EXPECT_EQ(OnCloseCommand(true), CloseAnswer::Refuse) << "a CD command or the popup menu is running";
    EXPECT_TRUE(HidesOnDeactivate(1));
    EXPECT_TRUE(HidesOnDeactivate(2));
    EXPECT_FALSE(HidesOnDeactivate(0));
}

} // namespace
} // namespace vantrel
