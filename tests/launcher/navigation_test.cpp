#include "launcher/navigation.h"

#include <gtest/gtest.h>

#include "grid/cell_paint.h"

namespace vantrel {
namespace {

constexpr int32_t N = kCellNormal, C = kCellCursor;
using Draws = std::vector<CellDraw>;
using Cursor = std::pair<int32_t, int32_t>; // tray, index

ItemList Items(char16_t prefix, int count, int32_t status = 0) {
    ItemList list(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        list[static_cast<std::size_t>(i)] = {.Status = status, .Title = {prefix, static_cast<char16_t>(u'0' + i)}};
    return list;
}

struct Key {
    int32_t vk;
    bool shift = false, ctrl = false, alt = false;
};
Key Ctrl(char c) {
    return {c, false, true};
}

NavAction Act(NavActionKind kind, int32_t tray = 0, int32_t index = 0, bool flag = false) {
    NavAction a{kind, tray, index};
    (kind == NavActionKind::ShowMenu ? a.atMouse : kind == NavActionKind::AllTasks ? a.close : a.runas) = flag;
    return a;
}
constexpr auto kRun = NavActionKind::RunItem, kMenu = NavActionKind::ShowMenu, kClose = NavActionKind::CloseTask,
               kIconize = NavActionKind::IconizeTask, kAll = NavActionKind::AllTasks, kNone = NavActionKind::None;

// A launcher with 7 columns: Program 10 items (rows 0-6, 7-9), Task 3, System 9 (rows 0-6, 7-8).
class Nav : public ::testing::Test {
protected:
    Nav() { SetTrays(10, 3, 9); }
    void SetTrays(int program, int task, int system) {
        trays[ProgramTray].Items = Items(u'P', program);
        trays[TaskTray].Items = Items(u'T', task);
        trays[SystemTray].Items = Items(u'S', system);
        SetLayout(window, trays, option.ColMax, 15);
    }
    void Put(int32_t mode, int32_t index, int32_t column = 0) {
        window.NowMode = mode;
        trays[static_cast<std::size_t>(mode)].NowIndex = index;
        window.NowColum = column;
        nav.QuickCount = 0;
    }
    NavResult Press(std::vector<Key> keys) {
        NavResult r;
        for (const Key& k : keys) {
            Navigation n{trays, window, nav, option, showStatus, true};
            r = OnKeyDown(n, k.vk, k.shift, k.ctrl, k.alt);
        }
        return r;
    }
    NavResult Mouse(int32_t tray, int32_t i, std::optional<MouseButton> button = {}, Key mods = {0},
                    uint32_t tick = 1000, ScreenPoint at = {300, 300}) {
        Navigation n{trays, window, nav, option, showStatus, true};
        const int32_t x = i % 7 * 40 + 20, y = i / 7 * 40 + 20;
        return button ? OnMouseDown(n, tray, x, y, *button, mods.shift, mods.ctrl, mods.alt, tick)
                      : OnMouseMove(n, tray, x, y, at);
    }
    Cursor At() const { return {window.NowMode, trays[static_cast<std::size_t>(window.NowMode)].NowIndex}; }

    std::array<TrayEntry, 3> trays;
    LauncherWindowState window;
    NavigationState nav{.ShowTime = 500};
    TOption option;
    int32_t showStatus = 1;
};

// The mouse finds the cells at the pitch of the window's scale: x = 100 is in the third column at 100 %, the second at
// 150 % and the second at 200 %.
TEST_F(Nav, MouseAtEveryScale) {
    const std::pair<int32_t, int32_t> cases[] = {{96, 2}, {144, 1}, {192, 1}};
    for (const auto& [dpi, column] : cases) {
        Rescale(window, trays, option.ColMax, DpiScale{dpi}.Px(15), DpiScale{dpi});
        const int32_t pitch = window.Layout.cell.pitch;
        Put(SystemTray, 0);
        Navigation n{trays, window, nav, option, showStatus, true};
        OnMouseMove(n, ProgramTray, 100, pitch + 5, {static_cast<int32_t>(dpi), 1});
        EXPECT_EQ(At(), (Cursor{ProgramTray, 7 + column})) << dpi << " dpi";
        OnMouseDown(n, ProgramTray, 100, 5, MouseButton::Left, false, false, false, 1000);
        EXPECT_EQ(At(), (Cursor{ProgramTray, column})) << dpi << " dpi";
    }
}

TEST_F(Nav, CursorKeys) {
    struct Case {
        const char* what;
        Cursor from;
        int32_t column;
        std::vector<Key> keys;
        Cursor want;
    };
    const Case cases[] = {
        {"right inside a row", {0, 2}, 2, {{vk::kRight}}, {0, 3}},
        {"right on a row's last wraps to its first", {0, 6}, 6, {{vk::kRight}}, {0, 0}},
        {"right on the last item wraps to its row's first", {0, 9}, 2, {{vk::kRight}}, {0, 7}},
        {"left on a row's first wraps to its last", {0, 0}, 0, {{vk::kLeft}}, {0, 6}},
        {"left on a short row's first wraps to the last item", {0, 7}, 0, {{vk::kLeft}}, {0, 9}},
        {"down over a short row goes to the last item", {0, 5}, 5, {{vk::kDown}}, {0, 9}},
        {"down in the last row enters the next tray's first row", {0, 8}, 1, {{vk::kDown}}, {1, 1}},
        {"up returns to the remembered column", {0, 3}, 0, {{vk::kRight}, {vk::kDown}, {vk::kUp}}, {0, 4}},
        {"up from the System tray's first row: the Task tray's last", {2, 1}, 1, {{vk::kUp}}, {1, 1}},
        {"... or its last item when the column is beyond it", {2, 5}, 5, {{vk::kUp}}, {1, 2}},
        {"down in the System tray's last row wraps to the Program tray", {2, 8}, 1, {{vk::kDown}}, {0, 1}},
        {"up in the Program tray's first row wraps to the System tray", {0, 3}, 3, {{vk::kUp}}, {2, 8}},
        {"page down", {0, 3}, 3, {{vk::kNext}}, {1, 2}},
        {"page up lands in the last row", {1, 0}, 1, {{vk::kPrior}}, {0, 8}},
        {"Ctrl+E, D, S, S, X", {0, 9}, 2, {Ctrl('E'), Ctrl('D'), Ctrl('S'), Ctrl('S'), Ctrl('X')}, {0, 8}},
        {"Ctrl+C, C, R", {0, 0}, 0, {Ctrl('C'), Ctrl('C'), Ctrl('R')}, {1, 0}},
        {"Ctrl+Q S: the row's start", {0, 4}, 4, {Ctrl('Q'), {'S'}}, {0, 0}},
        {"Ctrl+Q D: the row's end", {0, 8}, 1, {Ctrl('Q'), {'D'}}, {0, 9}},
        {"Ctrl+Q R: two trays up, first row", {0, 2}, 2, {Ctrl('Q'), {'R'}}, {1, 2}},
        {"Ctrl+Q C: two trays down, last row", {0, 2}, 2, {Ctrl('Q'), {'C'}}, {2, 8}},
        {"the quick mode ends after one key", {0, 4}, 4, {Ctrl('Q'), {'S'}, {'S'}}, {0, 0}},
        {"a Ctrl pressed again keeps the quick mode", {0, 4}, 4, {Ctrl('Q'), {vk::kControl, 0, 1}, Ctrl('D')}, {0, 6}},
    };
    for (const Case& c : cases) {
        Put(c.from.first, c.from.second, c.column);
        Press(c.keys);
        EXPECT_EQ(At(), c.want) << c.what;
    }
    SetTrays(10, 0, 9);
    Put(0, 2, 2);
    Press({{vk::kNext}});
    EXPECT_EQ(At(), Cursor(2, 2)) << "an empty Task list is skipped";
    SetTrays(10, 0, 0);
    Put(0, 2, 2);
    Press({{vk::kNext}, {vk::kDown}});
    EXPECT_EQ(At(), Cursor(0, 9)) << "the only tray keeps the cursor";
}

TEST_F(Nav, KeyMoveRedrawsTwoCellsAndTheName) {
    Put(0, 8, 1);
    NavResult r = Press({{vk::kRight}});
    EXPECT_EQ(r.draws, (Draws{{0, 8, N}, {0, 9, C}}));
    EXPECT_EQ(r.name, u"P9");
    r = Press({{vk::kDown}});
    EXPECT_EQ(r.draws, (Draws{{0, 9, N}, {1, 2, C}}));
    EXPECT_EQ(r.name, u"T2");
}

TEST_F(Nav, KeysThatAct) {
    struct Case {
        const char* what;
        Cursor at;
        int32_t rightClickFlag;
        Key key;
        NavAction want;
    };
    const Case cases[] = {
        {"Enter runs", {0, 4}, 0, {vk::kReturn}, Act(kRun, 0, 4)},
        {"Alt+Enter asks for elevation", {0, 4}, 0, {vk::kReturn, 0, 0, 1}, Act(kRun, 0, 4, true)},
        {"Ctrl+M runs", {2, 1}, 0, Ctrl('M'), Act(kRun, 2, 1)},
        {"Ctrl+J hides", {2, 1}, 0, Ctrl('J'), Act(NavActionKind::Hide)},
        {"Space: the menu at the cell", {0, 4}, 0, {vk::kSpace}, Act(kMenu, 0, 4)},
        {"the menu key too", {1, 2}, 0, {vk::kApps}, Act(kMenu, 1, 2)},
        {"Space with RightClickFlag iconizes a task", {1, 2}, 1, {vk::kSpace}, Act(kIconize, 1, 2)},
        {"Ctrl+Space closes it", {1, 2}, 1, {vk::kSpace, 0, 1}, Act(kClose, 1, 2)},
        {"Shift+Space minimises all", {1, 2}, 1, {vk::kSpace, 1}, Act(kAll)},
        {"Ctrl+Shift+Space closes all", {1, 2}, 1, {vk::kSpace, 1, 1}, Act(kAll, 0, 0, true)},
        {"RightClickFlag leaves other trays the menu", {0, 1}, 1, {vk::kSpace}, Act(kMenu, 0, 1)},
        {"Delete closes a task", {1, 1}, 0, {vk::kDelete}, Act(kClose, 1, 1)},
        {"Ctrl+G is Delete", {1, 1}, 0, Ctrl('G'), Act(kClose, 1, 1)},
        {"Delete elsewhere does nothing", {0, 1}, 0, {vk::kDelete}, Act(kNone)},
        {"Shift+Delete closes all", {0, 1}, 0, {vk::kDelete, 1}, Act(kAll, 0, 0, true)},
        {"Backspace closes the task before the cursor", {1, 2}, 0, {vk::kBack}, Act(kClose, 1, 1)},
        {"... and nothing on the first", {1, 0}, 0, {vk::kBack}, Act(kNone)},
        {"Shift+Backspace closes all", {1, 0}, 0, {vk::kBack, 1}, Act(kAll, 0, 0, true)},
    };
    for (const Case& c : cases) {
        Put(c.at.first, c.at.second);
        option.RightClickFlag = c.rightClickFlag;
        EXPECT_EQ(Press({c.key}).action, c.want) << c.what;
    }
    option.AltDisableFlag = true;
    EXPECT_EQ(Press({{vk::kReturn, 0, 0, 1}}).action, Act(kRun, 1, 0)) << "no elevation under AltDisableFlag";
}

TEST_F(Nav, NumberKeysRunTheFirstTenTasksFromAnyTray) {
    SetTrays(10, 12, 9);
    for (const auto& [key, index] : {std::pair{Key{'3'}, 2}, {Key{'3', true}, 2}, {Key{'0'}, 9}}) {
        Put(2, 4, 4);
        const NavResult r = Press({key});
        EXPECT_EQ(r.action, Act(kRun, 1, index));
        EXPECT_EQ(r.draws, (Draws{{2, 4, N}, {1, index, C}}));
        EXPECT_EQ(At(), Cursor(2, 4)) << "the cursor itself stays";
    }
    SetTrays(10, 2, 9);
    for (int32_t key : {int32_t{'3'}, 0x61, 0x63}) // beyond the count; numeric keypad 1 and 3 are no digits
        EXPECT_EQ(Press({{key}}).action, Act(kNone)) << key;
}

TEST_F(Nav, DirectKeysVisitEveryItemThatCarriesThemInTurn) {
    const std::pair<Cursor, int32_t> keys[] = {{{0, 3}, 'A'},  {{2, 5}, 'A'},  {{2, 6}, 'a'},
                                               {{0, 8}, 0xC1}, {{2, 0}, 0xE1}, {{0, 1}, '5'},
                                               {{2, 2}, '%'},  {{1, 1}, 'B'},  {{0, 9}, 'B' | StatusNotUsed << 8}};
    for (const auto& [cell, key] : keys)
        trays[static_cast<std::size_t>(cell.first)].Items[static_cast<std::size_t>(cell.second)].Status =
            key & 0xFF00 ? StatusNotUsed | (key & 0xFF) << 8 : key << 8;
    Put(0, 3);
    NavResult r = Press({{'A'}});
    EXPECT_EQ(r.action, Act(kRun, 2, 5));
    EXPECT_EQ(r.draws, (Draws{{0, 3, N}, {2, 5, C}}));
    EXPECT_EQ(Press({{'A'}}).action, Act(kRun, 0, 3)) << "the other one, after wrapping";
    EXPECT_EQ(Press({{'A', 0, 0, 1}}).action, Act(kRun, 2, 5, true)) << "Alt asks for elevation";
    EXPECT_EQ(Press({{'A', 1}}).action, Act(kRun, 2, 6)) << "Shift+A is 'a'";
    EXPECT_EQ(Press({{vk::kF1 + 1}}).action, Act(kRun, 0, 8));
    EXPECT_EQ(Press({{vk::kF1 + 1, 1}}).action, Act(kRun, 2, 0));
    EXPECT_EQ(Press({{'B'}}).action, Act(kNone)) << "never a task, never an item not used";
    EXPECT_EQ(Press({{'5'}}).action, Act(kNone)) << "without KeyNumberFlag 5 is a task number";
    option.KeyNumberFlag = true;
    EXPECT_EQ(Press({{'5'}}).action, Act(kRun, 0, 1));
    EXPECT_EQ(Press({{'5', 1}}).action, Act(kRun, 2, 2)) << "Shift+5 is its shifted character";
    option.DirectMoveOnlyFlag = true;
    EXPECT_EQ(Press({{'A'}}).action, Act(kNone));
    EXPECT_EQ(At(), Cursor(2, 5)) << "reached, not run";
}

TEST_F(Nav, DirectKeySearchEndsOnEveryShapeOfTrays) {
    for (const auto& [program, programNotUsed, system, mode] :
         {std::tuple{0, 0, 0, 0}, {0, 0, 0, 1}, {0, 0, 4, 0}, {4, 0, 0, 2}, {0, 3, 4, 0}}) {
        SetTrays(program, 3, system);
        ItemList hidden = Items(u'H', programNotUsed, StatusNotUsed);
        trays[ProgramTray].Items.insert(trays[ProgramTray].Items.end(), hidden.begin(), hidden.end());
        Put(mode, programNotUsed > 0 ? -1 : 0);
        EXPECT_EQ(Press({{'Q'}}).action, Act(kNone)) << program << programNotUsed << system << mode;
    }
}

TEST_F(Nav, TrayOfItemsThatAreAllNotUsedHoldsACursorOnNothing) {
    trays[TaskTray].Items = Items(u'H', 2, StatusNotUsed);
    Put(0, 8, 1);
    NavResult r = Press({{vk::kDown}});
    EXPECT_EQ(At(), Cursor(1, -1));
    EXPECT_EQ(r.draws, (Draws{{0, 8, N}}));
    EXPECT_EQ(r.name, u"");
    for (const Key& k :
         {Key{vk::kReturn}, Key{vk::kSpace}, Key{vk::kDelete}, Key{vk::kLeft}, Key{vk::kRight}, Ctrl('Q'), Key{'D'}}) {
        r = Press({k});
        EXPECT_EQ(r.action, Act(kNone)) << k.vk;
        EXPECT_TRUE(r.draws.empty()) << k.vk;
        EXPECT_EQ(At(), Cursor(1, -1)) << k.vk;
    }
    EXPECT_EQ(window.NowColum, 1) << "the column survives";
    Press({{vk::kDown}});
    EXPECT_EQ(At(), Cursor(2, 1));
    Press({{vk::kUp}, {vk::kUp}});
    EXPECT_EQ(At(), Cursor(0, 8)) << "up passes it for the Program tray's last row";
}

TEST_F(Nav, MouseMoves) {
    Put(0, 0);
    nav.SPoint = {300, 300};
    EXPECT_TRUE(Mouse(2, 4).draws.empty()) << "the window appeared under a resting mouse";
    NavResult r = Mouse(2, 4, {}, {0}, 0, {301, 300});
    EXPECT_EQ(r.draws, (Draws{{0, 0, N}, {2, 4, C}}));
    EXPECT_EQ(r.name, u"S4");
    EXPECT_TRUE(Mouse(2, 4).draws.empty()) << "same cell";
    EXPECT_TRUE(Mouse(2, 12).draws.empty()) << "below the shown cells";
    Press({{vk::kRight}});
    EXPECT_TRUE(Mouse(2, 4, {}, {0}, 0, {302, 300}).draws.empty()) << "still on the cell the key left";
    EXPECT_EQ(Mouse(2, 3, {}, {0}, 0, {262, 300}).draws, (Draws{{2, 5, N}, {2, 3, C}})) << "onto another cell";
    EXPECT_EQ(window.NowColum, 5) << "the mouse leaves the remembered column alone";
    option.KeyOnlyFlag = true;
    EXPECT_TRUE(Mouse(0, 1).draws.empty()) << "KeyOnlyFlag, shown by the hot key";
    EXPECT_EQ(Mouse(0, 1, MouseButton::Left).action, Act(kNone));
    showStatus = 2;
    EXPECT_EQ(Mouse(0, 1, MouseButton::Left).action, Act(kRun, 0, 1)) << "shown by the mouse";
}

// The system reports mouse moves without the mouse moving whenever the windows under it change: the launcher
// appearing, a window above it going, the launcher resized after a task closed. The keys' moves must survive
// them, whatever cell the resting mouse is over; a real move still takes the cursor.
TEST_F(Nav, MovesReportedUnderARestingMouseLeaveTheKeysMovesAlone) {
    const ScreenPoint rest{310, 300};
    Put(0, 0);
    TraysPainted(nav, {500, 500}, 1000);
    EXPECT_EQ(nav.ShowTime, 1150u);
    EXPECT_TRUE(Mouse(0, 0, {}, {0}, 0, {500, 500}).draws.empty()) << "the window appeared under the mouse";
    Mouse(0, 3, {}, {0}, 0, rest); // the mouse comes to rest on P3
    EXPECT_EQ(At(), Cursor(0, 3));
    struct Step {
        const char* what;
        std::vector<Key> keys;
        int32_t cellUnderMouse; // of the Program tray, after the windows changed
        Cursor want;
    };
    const Step steps[] = {
        {"Right, then a report over the cell the key left", {{vk::kRight}}, 3, {0, 4}},
        {"a second Right: the key's start is no longer under the mouse", {{vk::kRight}}, 3, {0, 5}},
        {"the launcher relaid out: another cell under the same point", {{vk::kLeft}}, 6, {0, 4}},
        {"Down into the next row", {{vk::kDown}}, 3, {0, 9}},
        {"PageDown to the Task tray, the mouse over the Program tray", {{vk::kNext}}, 3, {1, 2}},
    };
    for (const Step& step : steps) {
        Press(step.keys);
        EXPECT_TRUE(Mouse(0, step.cellUnderMouse, {}, {0}, 0, rest).draws.empty()) << step.what;
        EXPECT_EQ(At(), step.want) << step.what;
    }
    EXPECT_EQ(Mouse(0, 2, {}, {0}, 0, {290, 300}).draws, (Draws{{1, 2, N}, {0, 2, C}})) << "a real move";
    EXPECT_EQ(At(), Cursor(0, 2));

    // The next show starts afresh: a move to where the mouse last was is a move again.
    BeginShow(window);
    SetLayout(window, trays, option.ColMax, 15);
    TraysPainted(nav, {700, 700}, 2000);
    EXPECT_EQ(Mouse(0, 2, {}, {0}, 0, {290, 300}).draws, (Draws{{0, 0, N}, {0, 2, C}}));
}

// A direct key that jumps to another tray is a tray change: the mouse resting on that tray's old cell does not
// take the cursor back, while it does take it from a cell the key passed over.
TEST_F(Nav, ADirectKeyIntoAnotherTrayIsATrayChange) {
    trays[SystemTray].Items[5].Status = 'K' << 8;
    option.DirectMoveOnlyFlag = true;
    Put(2, 0);
    Mouse(2, 0, {}, {0}, 0, {10, 10}); // a real move onto S0 (already the cursor)
    Put(0, 0);
    Press({{'K'}});
    EXPECT_EQ(At(), Cursor(2, 5));
    EXPECT_EQ(Mouse(2, 0, {}, {0}, 0, {12, 10}).draws, (Draws{{2, 5, N}, {2, 0, C}}))
        << "the mouse moving within S0 after the jump takes the cursor";
}

TEST_F(Nav, MouseButtons) {
    struct Case {
        const char* what;
        Cursor at;
        MouseButton button;
        Key mods;
        uint32_t tick;
        NavAction want;
    };
    using B = MouseButton;
    const Case cases[] = {
        {"left click runs", {0, 4}, B::Left, {0}, 1000, Act(kRun, 0, 4)},
        {"Alt+click elevates even under AltDisableFlag", {0, 4}, B::Left, {0, 0, 0, 1}, 1000, Act(kRun, 0, 4, true)},
        {"a click on the Program tray right after the paint", {0, 4}, B::Left, {0}, 400, Act(kRun, 0, 4)},
        {"on the Task tray it is ignored", {1, 1}, B::Left, {0}, 400, Act(kNone)},
        {"on the System tray until ShowTime", {2, 1}, B::Left, {0}, 500, Act(kNone)},
        {"and not after", {2, 1}, B::Left, {0}, 501, Act(kRun, 2, 1)},
        {"right click: the menu at the mouse", {2, 3}, B::Right, {0}, 1000, Act(kMenu, 2, 3, true)},
        {"RightClickFlag iconizes a task", {1, 2}, B::Right, {0}, 1000, Act(kIconize, 1, 2)},
        {"Ctrl+right click closes it", {1, 2}, B::Right, {0, 0, 1}, 1000, Act(kClose, 1, 2)},
        {"Shift+right click anywhere minimises all", {0, 30}, B::Right, {0, 1}, 1000, Act(kAll)},
        {"Ctrl+Shift+right click closes all", {2, 1}, B::Right, {0, 1, 1}, 1000, Act(kAll, 0, 0, true)},
        {"a press below the items", {1, 5}, B::Left, {0}, 1000, Act(kNone)},
        {"the middle button only moves the cursor", {2, 3}, B::Middle, {0}, 1000, Act(kNone)},
    };
    option.RightClickFlag = 1;
    option.AltDisableFlag = true;
    for (const Case& c : cases) {
        Put(0, 0);
        EXPECT_EQ(Mouse(c.at.first, c.at.second, c.button, c.mods, c.tick).action, c.want) << c.what;
    }
    EXPECT_EQ(At(), Cursor(2, 3));
    nav.ShowTime = 0xFFFFFFF0u;
    EXPECT_EQ(Mouse(2, 1, B::Left, {0}, 0x10).action, Act(kRun, 2, 1)) << "after the tick count wrapped";
}

TEST_F(Nav, RightDoubleClickIsACtrlRightClickOnTheCellUnderIt) {
    option.RightClickFlag = 1;
    const BoxBounds task = window.Layout.trayBox[TaskTray], program = window.Layout.trayBox[ProgramTray];
    Navigation n{trays, window, nav, option, showStatus, true};
    EXPECT_EQ(OnRightButtonDoubleClick(n, task.left + 60, task.top + 10).action, Act(kClose, 1, 1));
    EXPECT_EQ(Mouse(1, 1, MouseButton::Right).action, Act(kNone)) << "the press it delivers next";
    EXPECT_EQ(Mouse(1, 1, MouseButton::Right).action, Act(kIconize, 1, 1));
    EXPECT_EQ(OnRightButtonDoubleClick(n, program.left, program.top).action, Act(kMenu, 0, 0, true)) << "edges count";
    EXPECT_EQ(OnRightButtonDoubleClick(n, program.left - 1, program.top).action, Act(kNone));
}

} // namespace
} // namespace vantrel
