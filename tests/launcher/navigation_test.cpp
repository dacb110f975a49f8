#include "launcher/navigation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/cell_paint.h"

namespace vantrel {
namespace {

constexpr uint32_t kAfterShowTime = 1000;

RData Item(std::u16string title, char16_t key = 0, int32_t flags = 0) {
    RData item;
    item.Title = std::move(title);
    item.Status = flags | (static_cast<int32_t>(key) << 8);
    return item;
}

ItemList Items(char16_t prefix, int count) {
    ItemList list;
    for (int i = 0; i < count; ++i)
        list.push_back(Item(std::u16string(1, prefix) + std::u16string(1, static_cast<char16_t>(u'0' + i % 10))));
    return list;
}

struct Key {
    int32_t vk;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};
Key Ctrl(char c) {
    return {c, false, true};
}

// A launcher window with 7 columns: Program 10 items (rows 0-6, 7-9), Task 3, System 9 (0-6, 7-8).
class Nav : public ::testing::Test {
protected:
    Nav() {
        trays[ProgramTray].Items = Items(u'P', 10);
        trays[TaskTray].Items = Items(u'T', 3);
        trays[SystemTray].Items = Items(u'S', 9);
        Layout();
        nav.ShowTime = 500;
    }
    void Layout() { SetLayout(window, trays, option.ColMax, 15); }
    void Put(int32_t mode, int32_t index, int32_t column = 0) {
        window.NowMode = mode;
        trays[static_cast<std::size_t>(mode)].NowIndex = index;
        trays[static_cast<std::size_t>(mode)].LastIndex = index;
        window.NowColum = column;
    }
    Navigation N() { return {trays, window, nav, option, showStatus, true}; }
    NavResult Press(Key k) {
        Navigation n = N();
        return OnKeyDown(n, k.vk, k.shift, k.ctrl, k.alt);
    }
    NavResult PressAll(const std::vector<Key>& keys) {
        NavResult last;
        for (const Key& k : keys)
            last = Press(k);
        return last;
    }
    // The centre of cell i of a tray's paint box.
    static ScreenPoint CellCentre(int32_t i) { return {(i % 7) * 40 + 20, (i / 7) * 40 + 20}; }
    NavResult Move(int32_t tray, int32_t i, ScreenPoint mouse = {300, 300}) {
        Navigation n = N();
        const ScreenPoint p = CellCentre(i);
        return OnMouseMove(n, tray, p.x, p.y, mouse);
    }
    NavResult Click(int32_t tray, int32_t i, MouseButton button, Key mods = {0}, uint32_t tick = kAfterShowTime) {
        Navigation n = N();
        const ScreenPoint p = CellCentre(i);
        return OnMouseDown(n, tray, p.x, p.y, button, mods.shift, mods.ctrl, mods.alt, tick);
    }
    std::pair<int32_t, int32_t> Cursor() const {
        return {window.NowMode, trays[static_cast<std::size_t>(window.NowMode)].NowIndex};
    }

    std::array<TrayEntry, 3> trays;
    LauncherWindowState window;
    NavigationState nav;
    TOption option;
    int32_t showStatus = 1;
};

NavAction Runs(int32_t tray, int32_t index, bool runas = false) {
    NavAction a;
    a.kind = NavActionKind::RunItem;
    a.tray = tray;
    a.index = index;
    a.runas = runas;
    return a;
}
NavAction OnCell(NavActionKind kind, int32_t tray, int32_t index) {
    NavAction a;
    a.kind = kind;
    a.tray = tray;
    a.index = index;
    return a;
}
NavAction Menu(int32_t tray, int32_t index, bool atMouse) {
    NavAction a = OnCell(NavActionKind::ShowMenu, tray, index);
    a.atMouse = atMouse;
    return a;
}
NavAction All(bool close) {
    NavAction a;
    a.kind = NavActionKind::AllTasks;
    a.close = close;
    return a;
}

TEST(ControlKeys, MapTheCursorLayoutAndLeaveOtherKeys) {
    const std::pair<int32_t, int32_t> cases[] = {
        {'C', vk::kNext},  {'D', vk::kRight},  {'E', vk::kUp},         {'G', vk::kDelete},
        {'H', vk::kBack},  {'J', vk::kEscape}, {'M', vk::kReturn},     {'Q', vk::kQuickPrefix},
        {'R', vk::kPrior}, {'S', vk::kLeft},   {'X', vk::kDown},       {'A', 'A'},
        {'1', '1'},        {vk::kF1, vk::kF1}, {vk::kDown, vk::kDown},
    };
    for (const auto& [key, mapped] : cases)
        EXPECT_EQ(ControlKeyToKey(key), mapped) << key;
}

TEST_F(Nav, ArrowAndControlKeysMoveTheCursor) {
    struct Case {
        const char* what;
        int32_t mode, index, column;
        std::vector<Key> keys;
        int32_t wantMode, wantIndex;
    };
    const Case cases[] = {
        {"right inside a row", 0, 2, 2, {{vk::kRight}}, 0, 3},
        {"right on a row's last wraps to its first", 0, 6, 6, {{vk::kRight}}, 0, 0},
        {"right on the last item wraps to its row's first", 0, 9, 2, {{vk::kRight}}, 0, 7},
        {"left on a row's first wraps to its last", 0, 0, 0, {{vk::kLeft}}, 0, 6},
        {"left on a short row's first wraps to the last item", 0, 7, 0, {{vk::kLeft}}, 0, 9},
        {"down over a short row goes to the last item", 0, 5, 5, {{vk::kDown}}, 0, 9},
        {"down in the last row enters the next tray's first row", 0, 8, 1, {{vk::kDown}}, 1, 1},
        {"down keeps the remembered column only within reach", 0, 9, 5, {{vk::kDown}}, 1, 2},
        {"up goes to the remembered column", 0, 9, 4, {{vk::kUp}}, 0, 4},
        {"up in the System tray's first row reaches the Task tray's last", 2, 1, 1, {{vk::kUp}}, 1, 1},
        {"up lands on the last task when the column is beyond it", 2, 5, 5, {{vk::kUp}}, 1, 2},
        {"down in the System tray's last row wraps to the Program tray", 2, 8, 1, {{vk::kDown}}, 0, 1},
        {"up in the Program tray's first row wraps to the System tray's last row", 0, 3, 3, {{vk::kUp}}, 2, 8},
        {"page down changes the tray", 0, 3, 3, {{vk::kNext}}, 1, 2},
        {"page up changes the tray, landing in the last row", 1, 0, 1, {{vk::kPrior}}, 0, 8},
        {"Ctrl+E, Ctrl+X, Ctrl+S, Ctrl+D", 0, 9, 2, {Ctrl('E'), Ctrl('D'), Ctrl('S'), Ctrl('S'), Ctrl('X')}, 0, 8},
        {"Ctrl+R and Ctrl+C page", 0, 0, 0, {Ctrl('C'), Ctrl('C'), Ctrl('R')}, 1, 0},
        {"Ctrl+Q S goes to the row's start", 0, 4, 4, {Ctrl('Q'), {'S'}}, 0, 0},
        {"Ctrl+Q D goes to the row's end", 0, 8, 1, {Ctrl('Q'), {'D'}}, 0, 9},
        {"Ctrl+Q R moves two trays up: the first row", 0, 2, 2, {Ctrl('Q'), {'R'}}, 1, 2},
        {"Ctrl+Q C moves two trays down: the last row", 0, 2, 2, {Ctrl('Q'), {'C'}}, 2, 8},
        {"the quick mode ends after one key", 0, 4, 4, {Ctrl('Q'), {'S'}, {'S'}}, 0, 0},
        {"a Ctrl pressed again keeps the quick mode",
         0,
         4,
         4,
         {Ctrl('Q'), {vk::kControl, false, true}, Ctrl('D')},
         0,
         6},
    };
    for (const Case& c : cases) {
        Put(c.mode, c.index, c.column);
        nav.QuickCount = 0;
        PressAll(c.keys);
        EXPECT_EQ(Cursor(), std::make_pair(c.wantMode, c.wantIndex)) << c.what;
    }
}

TEST_F(Nav, ColumnIsRememberedBySidewaysMovesOnly) {
    Put(0, 3, 0);
    Press({vk::kRight});
    EXPECT_EQ(window.NowColum, 4);
    Press({vk::kDown}); // 11 is beyond the 10 items: the last one
    EXPECT_EQ(Cursor(), std::make_pair(0, 9));
    Press({vk::kUp});
    EXPECT_EQ(Cursor(), std::make_pair(0, 4)) << "back to the remembered column, not to 2";
}

TEST_F(Nav, EmptyTaskListIsSkipped) {
    trays[TaskTray].Items.clear();
    Layout();
    Put(0, 2, 2);
    Press({vk::kNext});
    EXPECT_EQ(Cursor(), std::make_pair(2, 2));
    Press({vk::kPrior});
    EXPECT_EQ(Cursor(), std::make_pair(0, 9)) << "the last row, same column";
}

TEST_F(Nav, OnlyTrayThatHoldsItemsKeepsTheCursorAtItsEnds) {
    trays[TaskTray].Items.clear();
    trays[SystemTray].Items.clear();
    Layout();
    Put(0, 2, 2);
    Press({vk::kNext});
    EXPECT_EQ(Cursor(), std::make_pair(0, 9)) << "no other tray: page down moves down";
    Press({vk::kDown});
    EXPECT_EQ(Cursor(), std::make_pair(0, 9));
}

TEST_F(Nav, KeyMoveRedrawsTwoCellsAndTheName) {
    Put(0, 2, 2);
    NavResult r = Press({vk::kRight});
    EXPECT_EQ(r.draws, (std::vector<CellDraw>{{0, 2, kCellNormal}, {0, 3, kCellCursor}}));
    EXPECT_EQ(r.name, u"P3");
    EXPECT_EQ(r.action.kind, NavActionKind::None);
    Put(0, 8, 1);
    r = Press({vk::kDown});
    EXPECT_EQ(r.draws, (std::vector<CellDraw>{{0, 8, kCellNormal}, {1, 1, kCellCursor}}));
    EXPECT_EQ(r.name, u"T1");
    r = Press({vk::kEscape});
    EXPECT_TRUE(r.draws.empty());
    EXPECT_EQ(r.action.kind, NavActionKind::Hide);
}

TEST_F(Nav, KeysThatRunOrActOnItems) {
    struct Case {
        const char* what;
        int32_t mode, index, rightClickFlag;
        Key key;
        NavAction want;
        bool altDisable = false;
    };
    const Case cases[] = {
        {"Enter runs", 0, 4, 0, {vk::kReturn}, Runs(0, 4)},
        {"Alt+Enter asks for elevation", 0, 4, 0, {vk::kReturn, false, false, true}, Runs(0, 4, true)},
        {"Alt+Enter without elevation under AltDisableFlag",
         0,
         4,
         0,
         {vk::kReturn, false, false, true},
         Runs(0, 4),
         true},
        {"Ctrl+M runs", 2, 1, 0, Ctrl('M'), Runs(2, 1)},
        {"Ctrl+J hides", 2, 1, 0, Ctrl('J'), NavAction{NavActionKind::Hide}},
        {"Space opens the menu at the cell", 0, 4, 0, {vk::kSpace}, Menu(0, 4, false)},
        {"the menu key too", 1, 2, 0, {vk::kApps}, Menu(1, 2, false)},
        {"Space iconizes a task with RightClickFlag", 1, 2, 1, {vk::kSpace}, OnCell(NavActionKind::IconizeTask, 1, 2)},
        {"Ctrl+Space closes it", 1, 2, 1, {vk::kSpace, false, true}, OnCell(NavActionKind::CloseTask, 1, 2)},
        {"Shift+Space minimises all", 1, 2, 1, {vk::kSpace, true}, All(false)},
        {"Ctrl+Shift+Space closes all", 1, 2, 1, {vk::kSpace, true, true}, All(true)},
        {"RightClickFlag leaves the other trays' menu", 0, 1, 1, {vk::kSpace}, Menu(0, 1, false)},
        {"Delete closes a task", 1, 1, 0, {vk::kDelete}, OnCell(NavActionKind::CloseTask, 1, 1)},
        {"Ctrl+G is Delete", 1, 1, 0, Ctrl('G'), OnCell(NavActionKind::CloseTask, 1, 1)},
        {"Delete elsewhere does nothing", 0, 1, 0, {vk::kDelete}, NavAction{}},
        {"Shift+Delete closes all", 0, 1, 0, {vk::kDelete, true}, All(true)},
        {"Backspace closes the task before the cursor", 1, 2, 0, {vk::kBack}, OnCell(NavActionKind::CloseTask, 1, 1)},
        {"Backspace on the first task does nothing", 1, 0, 0, {vk::kBack}, NavAction{}},
        {"Shift+Backspace closes all", 1, 0, 0, {vk::kBack, true}, All(true)},
    };
    for (const Case& c : cases) {
        Put(c.mode, c.index, 0);
        option.RightClickFlag = c.rightClickFlag;
        option.AltDisableFlag = c.altDisable;
        EXPECT_EQ(Press(c.key).action, c.want) << c.what;
    }
}

TEST_F(Nav, NumberKeysRunTheFirstTenTasksFromAnyTray) {
    trays[TaskTray].Items = Items(u'T', 12);
    Layout();
    struct Case {
        Key key;
        NavAction want;
    };
    const Case cases[] = {
        {{'3'}, Runs(1, 2)},
        {{'3', true}, Runs(1, 2)},
        {{'1', false, false, true}, Runs(1, 0, true)},
        {{'0'}, Runs(1, 9)},
    };
    for (const Case& c : cases) {
        Put(2, 4, 4);
        const NavResult r = Press(c.key);
        EXPECT_EQ(r.action, c.want) << static_cast<char>(c.key.vk);
        EXPECT_EQ(r.draws, (std::vector<CellDraw>{{2, 4, kCellNormal}, {1, c.want.index, kCellCursor}}));
        EXPECT_EQ(Cursor(), std::make_pair(2, 4)) << "the cursor itself stays";
    }
    trays[TaskTray].Items = Items(u'T', 2);
    Layout();
    Put(0, 0);
    EXPECT_EQ(Press({'3'}).action.kind, NavActionKind::None) << "beyond the count";
    const std::vector<int32_t> notKeys = {0x61, 0x63, 0x69}; // numeric keypad 1, 3, 9
    for (int32_t key : notKeys)
        EXPECT_EQ(Press({key}).action.kind, NavActionKind::None) << key;
}

TEST_F(Nav, DirectKeysVisitEveryItemThatCarriesThemInTurn) {
    trays[ProgramTray].Items[3].Status = 'A' << 8;
    trays[SystemTray].Items[5].Status = 'A' << 8;
    trays[SystemTray].Items[6].Status = 'a' << 8;
    trays[ProgramTray].Items[8].Status = 0xC1 << 8; // F2
    trays[SystemTray].Items[0].Status = 0xE1 << 8;  // Shift+F2
    trays[ProgramTray].Items[1].Status = '5' << 8;
    trays[SystemTray].Items[2].Status = '%' << 8; // Shift+5
    Put(0, 3);
    NavResult r = Press({'A'});
    EXPECT_EQ(r.action, Runs(2, 5));
    EXPECT_EQ(r.draws, (std::vector<CellDraw>{{0, 3, kCellNormal}, {2, 5, kCellCursor}}));
    EXPECT_EQ(Press({'A'}).action, Runs(0, 3)) << "the other one, after wrapping";
    EXPECT_EQ(Press({'A'}).action, Runs(2, 5));
    EXPECT_EQ(Press({'A', true}).action, Runs(2, 6)) << "Shift+A is 'a'";
    EXPECT_EQ(Press({vk::kF1 + 1}).action, Runs(0, 8));
    EXPECT_EQ(Press({vk::kF1 + 1, true}).action, Runs(2, 0));
    EXPECT_EQ(Press({'A', false, false, true}).action, Runs(2, 5, true)) << "Alt asks for elevation";
    option.AltDisableFlag = true;
    EXPECT_EQ(Press({'A', false, false, true}).action, Runs(0, 3));
    EXPECT_EQ(Press({'5'}).action.kind, NavActionKind::None) << "without KeyNumberFlag 5 is a task number";
    option.KeyNumberFlag = true;
    EXPECT_EQ(Press({'5'}).action, Runs(0, 1));
    EXPECT_EQ(Press({'5', true}).action, Runs(2, 2)) << "Shift+5 is its shifted character";
    EXPECT_EQ(Press({'Z'}).action.kind, NavActionKind::None);
}

TEST_F(Nav, DirectMoveOnlyReachesWithoutRunning) {
    option.DirectMoveOnlyFlag = true;
    trays[SystemTray].Items[7].Status = 'K' << 8;
    Put(1, 1);
    const NavResult r = Press({'K'});
    EXPECT_EQ(r.action.kind, NavActionKind::None);
    EXPECT_EQ(Cursor(), std::make_pair(2, 7));
    EXPECT_EQ(r.name, u"S7");
}

TEST_F(Nav, DirectKeysNeverReachTasksOrItemsThatAreNotShown) {
    trays[TaskTray].Items[1].Status = 'B' << 8;
    trays[ProgramTray].Items[5].Status = ('B' << 8) | StatusNotUsed;
    trays[ProgramTray].Items[8].Status = 'B' << 8; // used, but after a "not used" item: not drawn
    Put(0, 0);
    EXPECT_EQ(Press({'B'}).action.kind, NavActionKind::None);
    EXPECT_EQ(Cursor(), std::make_pair(0, 0));
}

TEST_F(Nav, DirectKeySearchEndsOnEveryShapeOfTrays) {
    struct Case {
        const char* what;
        int program, programNotUsed, system, mode;
    };
    const Case cases[] = {
        {"both lists empty", 0, 0, 0, 0},
        {"both lists empty, cursor on a task", 0, 0, 0, 1},
        {"Program list empty, cursor on it", 0, 0, 4, 0},
        {"System list empty, cursor on it", 4, 0, 0, 2},
        {"a Program tray of items that are all not used", 0, 3, 4, 0},
    };
    for (const Case& c : cases) {
        trays[ProgramTray].Items = Items(u'P', c.program);
        for (int i = 0; i < c.programNotUsed; ++i)
            trays[ProgramTray].Items.push_back(Item(u"hidden", 0, StatusNotUsed));
        trays[SystemTray].Items = Items(u'S', c.system);
        Layout();
        Put(c.mode, c.programNotUsed > 0 && c.mode == 0 ? -1 : 0);
        EXPECT_EQ(Press({'Q'}).action.kind, NavActionKind::None) << c.what;
    }
}

TEST_F(Nav, TrayOfItemsThatAreAllNotUsedHoldsACursorOnNothing) {
    trays[TaskTray].Items = {Item(u"hidden", 0, StatusNotUsed), Item(u"hidden too", 0, StatusNotUsed)};
    Layout();
    Put(0, 8, 1);
    NavResult r = Press({vk::kDown});
    EXPECT_EQ(Cursor(), std::make_pair(1, -1));
    EXPECT_EQ(r.draws, (std::vector<CellDraw>{{0, 8, kCellNormal}})) << "no cell of the empty tray is drawn";
    EXPECT_EQ(r.name, u"");
    for (const Key& k :
         {Key{vk::kReturn}, Key{vk::kSpace}, Key{vk::kDelete}, Key{vk::kLeft}, Key{vk::kRight}, Ctrl('Q'), Key{'D'}}) {
        r = Press(k);
        EXPECT_EQ(r.action.kind, NavActionKind::None) << k.vk;
        EXPECT_TRUE(r.draws.empty()) << k.vk;
        EXPECT_EQ(Cursor(), std::make_pair(1, -1)) << k.vk;
    }
    EXPECT_EQ(window.NowColum, 1) << "the column survives";
    Press({vk::kDown});
    EXPECT_EQ(Cursor(), std::make_pair(2, 1));
    Put(2, 3, 3);
    Press({vk::kUp});
    Press({vk::kUp});
    EXPECT_EQ(Cursor(), std::make_pair(0, 9)) << "up leaves it for the Program tray's last row";
}

TEST_F(Nav, MouseMoveMovesTheCursorOnlyWhenTheMouseMoved) {
    Put(0, 0);
    nav.SPoint = {300, 300};
    EXPECT_TRUE(Move(2, 4, {300, 300}).draws.empty()) << "the window appeared under a resting mouse";
    NavResult r = Move(2, 4, {301, 300});
    EXPECT_EQ(Cursor(), std::make_pair(2, 4));
    EXPECT_EQ(r.draws, (std::vector<CellDraw>{{0, 0, kCellNormal}, {2, 4, kCellCursor}}));
    EXPECT_EQ(r.name, u"S4");
    EXPECT_EQ(nav.SPoint, (ScreenPoint{-1, -1}));
    EXPECT_TRUE(Move(2, 4).draws.empty()) << "same cell";
    EXPECT_TRUE(Move(2, 12).draws.empty()) << "below the shown cells";
    Press({vk::kRight});
    EXPECT_EQ(Move(2, 4).draws, (std::vector<CellDraw>{{2, 5, kCellNormal}, {2, 4, kCellCursor}}))
        << "back onto the cell the key left";
    EXPECT_EQ(window.NowColum, 5) << "the mouse leaves the remembered column alone";
}

TEST_F(Nav, KeyOnlyFlagDisablesTheMouseForHotKeyShowsOnly) {
    option.KeyOnlyFlag = true;
    Put(0, 0);
    EXPECT_TRUE(Move(0, 4).draws.empty());
    EXPECT_EQ(Click(0, 4, MouseButton::Left).action.kind, NavActionKind::None);
    EXPECT_EQ(Cursor(), std::make_pair(0, 0));
    showStatus = 2;
    EXPECT_EQ(Click(0, 4, MouseButton::Left).action, Runs(0, 4));
}

TEST_F(Nav, ClicksRightAfterThePaintReachOnlyTheProgramTray) {
    Put(0, 0);
    EXPECT_EQ(Click(0, 1, MouseButton::Left, {0}, 400).action, Runs(0, 1));
    EXPECT_EQ(Click(1, 1, MouseButton::Left, {0}, 400).action.kind, NavActionKind::None);
    EXPECT_EQ(Click(2, 1, MouseButton::Left, {0}, 500).action.kind, NavActionKind::None);
    EXPECT_EQ(Click(2, 1, MouseButton::Left, {0}, 501).action, Runs(2, 1));
    nav.ShowTime = 0xFFFFFFF0u;
    EXPECT_EQ(Click(2, 1, MouseButton::Left, {0}, 0x10).action, Runs(2, 1)) << "after the tick count wrapped";
}

TEST_F(Nav, MouseButtons) {
    struct Case {
        const char* what;
        int32_t tray, index, rightClickFlag;
        MouseButton button;
        Key mods;
        NavAction want;
        bool altDisable = false;
    };
    const Case cases[] = {
        {"left click runs", 0, 4, 0, MouseButton::Left, {0}, Runs(0, 4)},
        {"Alt+click asks for elevation even under AltDisableFlag",
         0,
         4,
         0,
         MouseButton::Left,
         {0, false, false, true},
         Runs(0, 4, true),
         true},
        {"left click on a task activates it", 1, 2, 0, MouseButton::Left, {0}, Runs(1, 2)},
        {"right click opens the menu at the mouse", 2, 3, 0, MouseButton::Right, {0}, Menu(2, 3, true)},
        {"right click on a task with RightClickFlag iconizes",
         1,
         2,
         1,
         MouseButton::Right,
         {0},
         OnCell(NavActionKind::IconizeTask, 1, 2)},
        {"Ctrl+right click closes it",
         1,
         2,
         1,
         MouseButton::Right,
         {0, false, true},
         OnCell(NavActionKind::CloseTask, 1, 2)},
        {"RightClickFlag leaves the menu elsewhere", 0, 2, 1, MouseButton::Right, {0}, Menu(0, 2, true)},
        {"Shift+right click minimises all", 0, 30, 0, MouseButton::Right, {0, true}, All(false)},
        {"Ctrl+Shift+right click closes all", 2, 1, 0, MouseButton::Right, {0, true, true}, All(true)},
        {"the middle button only moves the cursor", 2, 3, 0, MouseButton::Middle, {0}, NavAction{}},
        {"a press below the items does nothing", 1, 5, 0, MouseButton::Left, {0}, NavAction{}},
    };
    for (const Case& c : cases) {
        Put(0, 0);
        option.RightClickFlag = c.rightClickFlag;
        option.AltDisableFlag = c.altDisable;
        EXPECT_EQ(Click(c.tray, c.index, c.button, c.mods).action, c.want) << c.what;
    }
    Put(0, 0);
    const NavResult r = Click(2, 3, MouseButton::Middle);
    EXPECT_EQ(Cursor(), std::make_pair(2, 3));
    EXPECT_EQ(r.draws, (std::vector<CellDraw>{{0, 0, kCellNormal}, {2, 3, kCellCursor}}));
}

TEST_F(Nav, RightDoubleClickIsACtrlRightClickOnTheCellUnderIt) {
    option.RightClickFlag = 1;
    const BoxBounds task = window.Layout.trayBox[TaskTray];
    const BoxBounds program = window.Layout.trayBox[ProgramTray];
    Put(0, 0);
    Navigation n = N();
    EXPECT_EQ(OnRightButtonDoubleClick(n, task.left + 60, task.top + 10).action,
              OnCell(NavActionKind::CloseTask, 1, 1));
    EXPECT_TRUE(nav.RightDoubleClickFlag);
    EXPECT_EQ(Click(1, 1, MouseButton::Right).action.kind, NavActionKind::None) << "the press it delivers next";
    EXPECT_FALSE(nav.RightDoubleClickFlag);
    EXPECT_EQ(Click(1, 1, MouseButton::Right).action, OnCell(NavActionKind::IconizeTask, 1, 1));

    EXPECT_EQ(OnRightButtonDoubleClick(n, program.left, program.top).action, Menu(0, 0, true)) << "edges count";
    EXPECT_FALSE(nav.RightDoubleClickFlag);
    EXPECT_EQ(OnRightButtonDoubleClick(n, program.left - 1, program.top).action.kind, NavActionKind::None);
}

} // namespace
} // namespace vantrel
