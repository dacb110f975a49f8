#include "launcher/launcher_access.h"

#include <gtest/gtest.h>

#include <limits>

#include "grid/cell_paint.h"

namespace vantrel {
namespace {

TEST(LauncherAccess, ShortcutsSayTheKeystrokeThatReachesTheItem) {
    struct Case {
        int32_t key;
        bool keyNumberFlag;
        bool usKeyboard;
        std::u16string expected;
    };
    const Case cases[] = {
        {0, false, true, u""},
        {'A', false, true, u"A"},
        {'Z', false, true, u"Z"},
        {'a', false, true, u"Shift+A"},
        {'z', false, true, u"Shift+Z"},
        {0x141, false, true, u"A"}, // only the low byte is the key
        // Digits are direct keys only with KeyNumberFlag; otherwise they belong to the tasks.
        {'5', false, true, u""},
        {'5', true, true, u"5"},
        {'0', true, true, u"0"},
        {'!', true, true, u"Shift+1"},
        {'!', false, true, u""},
        {')', true, true, u"Shift+0"},
        {'@', true, true, u"Shift+2"},
        {'"', true, false, u"Shift+2"}, // the Japanese layout's Shift+2
        {'@', true, false, u""},
        {'(', true, false, u"Shift+8"},
        {0xC0, false, true, u"F1"},
        {0xC9, false, true, u"F10"},
        {0xCB, false, true, u"F12"},
        {0xCC, false, true, u""}, // no F13 key to press
        {0xE0, false, true, u"Shift+F1"},
        {0xEB, false, true, u"Shift+F12"},
        {0xEC, false, true, u""},
        {'#', false, true, u""},
        {'-', true, true, u""}, // no keystroke makes it
    };
    for (const Case& c : cases)
        EXPECT_EQ(DirectKeyShortcut(c.key, c.keyNumberFlag, c.usKeyboard), c.expected)
            << "key 0x" << std::hex << c.key << " flag " << c.keyNumberFlag << " us " << c.usKeyboard;
}

TEST(LauncherAccess, TheFirstTenTasksHaveNumberKeys) {
    EXPECT_EQ(TaskShortcut(0, false), u"1");
    EXPECT_EQ(TaskShortcut(8, false), u"9");
    EXPECT_EQ(TaskShortcut(9, false), u"0");
    EXPECT_EQ(TaskShortcut(10, false), u"");
    EXPECT_EQ(TaskShortcut(-1, false), u"");
    EXPECT_EQ(TaskShortcut(0, true), u"") << "the digits are direct keys then";
}

TEST(LauncherAccess, PositionsCountFromOne) {
    EXPECT_EQ(PositionInList(0, 1), u"1 of 1");
    EXPECT_EQ(PositionInList(2, 8), u"3 of 8");
    EXPECT_EQ(PositionInList(9, 10), u"10 of 10");
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(PositionInList(kMax - 1, kMax), u"2147483647 of 2147483647");
}

class FakeHost : public LauncherHost {
public:
    std::array<TrayEntry, 3>& Trays() override { return trays; }
    const TOption& Option() const override { return option; }
    LauncherFlags Flags() const override { return {usKeyboard, false, false}; }
    const DeviceList& Devices() const override { return devices; }
    int32_t& ShowStatus() override { return showStatus; }
    void LauncherShown() override {}
    void LauncherMenuOpened() override {}
    int32_t CdMode() override { return 0; }
    void OpenItemSetting(int32_t, int32_t, const BoxBounds&) override {}
    void StopAllUsbDrives() override {}

    std::array<TrayEntry, 3> trays;
    TOption option;
    DeviceList devices;
    int32_t showStatus = 1;
    bool usKeyboard = true;
};

class FakeWindow : public LauncherAccessWindow {
public:
    bool Showing() const override { return showing; }
    bool SelectForAccess(int32_t tray, int32_t index) override {
        selected.push_back({tray, index});
        return true;
    }
    bool RunForAccess(int32_t tray, int32_t index) override {
        run.push_back({tray, index});
        return true;
    }
    bool showing = true;
    std::vector<CellAddress> selected;
    std::vector<CellAddress> run;
};

RData Item(std::u16string title, int32_t status = 0) {
    RData item;
    item.Title = std::move(title);
    item.Status = status;
    return item;
}

// Program: Alpha (A), Beta (Shift+F3), a not-used item; Task: two windows; System: one drive.
class Access : public ::testing::Test {
protected:
    Access() {
        host.option.ColMax = 2;
        host.trays[ProgramTray].Items = {Item(u"Alpha", 'A' << 8), Item(u"Beta", 0xE2 << 8),
                                         Item(u"Hidden", StatusNotUsed | ('H' << 8))};
        host.trays[TaskTray].Items = {Item(u"Editor - notes.txt"), Item(u"")};
        host.trays[SystemTray].Items = {Item(u"Local Disk (C:)", StatusSystem)};
        SetLayout(form, host.trays, host.option.ColMax, 16);
    }
    FakeHost host;
    LauncherWindowState form;
    FakeWindow window;
    LauncherAccess access{host, form, window};
};

TEST_F(Access, ListsAreTheTraysWithTheirShownCells) {
    ASSERT_EQ(access.ListCount(), 3);
    EXPECT_EQ(access.ListName(0), u"Program");
    EXPECT_EQ(access.ListName(1), u"Task");
    EXPECT_EQ(access.ListName(2), u"System");
    EXPECT_EQ(access.ListName(3), u"");
    EXPECT_EQ(access.CellCount(ProgramTray), 2) << "the not-used item is not shown";
    EXPECT_EQ(access.CellCount(TaskTray), 2);
    EXPECT_EQ(access.CellCount(-1), 0);
    EXPECT_EQ(access.ListBounds(SystemTray), form.Layout.trayBox[SystemTray]);
}

TEST_F(Access, CellsCarryNamePlaceKeyActionAndBounds) {
    const AccessibleCell beta = access.Cell(ProgramTray, 1);
    EXPECT_EQ(beta.name, u"Beta");
    EXPECT_EQ(beta.position, u"2 of 2");
    EXPECT_EQ(beta.shortcut, u"Shift+F3");
    EXPECT_EQ(beta.defaultAction, u"Run");
    const BoxBounds& box = form.Layout.trayBox[ProgramTray];
    EXPECT_EQ(beta.bounds, (BoxBounds{box.left + 42, box.top + 2, 39, 39})) << "second column of two";

    const AccessibleCell task = access.Cell(TaskTray, 0);
    EXPECT_EQ(task.name, u"Editor - notes.txt");
    EXPECT_EQ(task.position, u"1 of 2");
    EXPECT_EQ(task.shortcut, u"1");
    EXPECT_EQ(task.defaultAction, u"Switch to");
    EXPECT_EQ(access.Cell(TaskTray, 1).name, u"") << "an untitled window is read as it is";

    const AccessibleCell drive = access.Cell(SystemTray, 0);
    EXPECT_EQ(drive.position, u"1 of 1");
    EXPECT_EQ(drive.shortcut, u"");
    const BoxBounds& system = form.Layout.trayBox[SystemTray];
    EXPECT_EQ(drive.bounds, (BoxBounds{system.left + 2, system.top + 2, 39, 39}));

    EXPECT_EQ(access.Cell(ProgramTray, 2), AccessibleCell{}) << "not shown";
}

TEST_F(Access, BoundsAreInTheWindowsScaledPixels) {
    struct Case {
        int32_t dpi;
        BoxBounds beta; // relative to the Program box
    };
    const Case cases[] = {{96, {42, 2, 39, 39}}, {144, {63, 3, 59, 59}}, {192, {84, 4, 79, 79}}};
    for (const auto& c : cases) {
        Rescale(form, host.trays, host.option.ColMax, DpiScale{c.dpi}.Px(16), DpiScale{c.dpi});
        const BoxBounds& box = form.Layout.trayBox[ProgramTray];
        EXPECT_EQ(access.ListBounds(ProgramTray), box) << c.dpi;
        EXPECT_EQ(access.Cell(ProgramTray, 1).bounds,
                  (BoxBounds{box.left + c.beta.left, box.top + c.beta.top, c.beta.width, c.beta.height}))
            << c.dpi << " dpi";
    }
}

TEST_F(Access, TheCursorCellHasTheFocusOnlyWhileTheWindowShows) {
    form.NowMode = ProgramTray;
    host.trays[ProgramTray].NowIndex = 1;
    ASSERT_EQ(access.Focus(), (CellAddress{ProgramTray, 1}));
    EXPECT_TRUE(access.Cell(ProgramTray, 1).focused);
    EXPECT_FALSE(access.Cell(ProgramTray, 0).focused);

    window.showing = false;
    EXPECT_EQ(access.Focus(), std::nullopt);
    EXPECT_FALSE(access.Cell(ProgramTray, 1).focused);

    window.showing = true;
    host.trays[ProgramTray].NowIndex = -1; // a tray whose items are all not used
    EXPECT_EQ(access.Focus(), std::nullopt);
    host.trays[ProgramTray].NowIndex = 2; // the not-used item
    EXPECT_EQ(access.Focus(), std::nullopt);
}

TEST_F(Access, RequestsReachTheWindowOnlyForShownCellsWhileItShows) {
    EXPECT_TRUE(access.SelectCell({TaskTray, 1}));
    EXPECT_TRUE(access.RunCell({SystemTray, 0}));
    EXPECT_FALSE(access.RunCell({ProgramTray, 2})) << "not shown";
    EXPECT_FALSE(access.SelectCell({3, 0}));
    EXPECT_FALSE(access.SelectCell({TaskTray, -1}));
    window.showing = false;
    EXPECT_FALSE(access.RunCell({ProgramTray, 0}));
    ASSERT_EQ(window.selected.size(), 1u);
    EXPECT_EQ(window.selected[0], (CellAddress{TaskTray, 1}));
    ASSERT_EQ(window.run.size(), 1u);
    EXPECT_EQ(window.run[0], (CellAddress{SystemTray, 0}));
}

TEST_F(Access, SelectingMovesTheCursorLikePointingAndRunningRunsLikeEnter) {
    NavigationState nav;
    Navigation n{host.trays, form, nav, host.option, 1, true};
    form.NowMode = ProgramTray;
    host.trays[ProgramTray].NowIndex = 0;

    NavResult r = AccessSelect(n, TaskTray, 1);
    EXPECT_EQ(r.draws, (std::vector<CellDraw>{{ProgramTray, 0, kCellNormal}, {TaskTray, 1, kCellCursor}}));
    EXPECT_EQ(r.name, u"");
    EXPECT_EQ(r.action.kind, NavActionKind::None);
    EXPECT_EQ(form.NowMode, TaskTray);
    EXPECT_EQ(host.trays[TaskTray].NowIndex, 1);
    EXPECT_EQ(host.trays[TaskTray].LastIndex, 1);
    EXPECT_EQ(form.NowColum, 1) << "the arrow keys go on from the selected column";

    r = AccessSelect(n, TaskTray, 1);
    EXPECT_EQ(r.draws, (std::vector<CellDraw>{{TaskTray, 1, kCellCursor}})) << "already there";

    r = AccessRun(n, ProgramTray, 1);
    EXPECT_EQ(r.draws, (std::vector<CellDraw>{{TaskTray, 1, kCellNormal}, {ProgramTray, 1, kCellCursor}}));
    EXPECT_EQ(r.name, u"Beta");
    EXPECT_EQ(r.action.kind, NavActionKind::RunItem);
    EXPECT_EQ(r.action.tray, ProgramTray);
    EXPECT_EQ(r.action.index, 1);
    EXPECT_FALSE(r.action.runas);

    // A cell that is not shown changes nothing and runs nothing.
    r = AccessRun(n, ProgramTray, 2);
    EXPECT_TRUE(r.draws.empty());
    EXPECT_EQ(r.action.kind, NavActionKind::None);
    EXPECT_EQ(host.trays[ProgramTray].NowIndex, 1);

    // From a tray whose cursor designates nothing only the new cell is drawn.
    host.trays[ProgramTray].NowIndex = -1;
    r = AccessSelect(n, SystemTray, 0);
    EXPECT_EQ(r.draws, (std::vector<CellDraw>{{SystemTray, 0, kCellCursor}}));
}

} // namespace
} // namespace vantrel
