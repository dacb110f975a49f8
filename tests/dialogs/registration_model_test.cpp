#include "dialogs/registration_model.h"

#include <gtest/gtest.h>

#include <map>

#include "config/item_lists.h"
#include "grid/cells.h"
#include "support/fake_system.h"

namespace vantrel {
namespace {

using vantrel::testing::FakeIcons;
using vantrel::testing::FakeSystem;

ItemList Items(const std::u16string& titles, int32_t notUsedFrom = -1) {
    ItemList list;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        RData item;
        item.Title = std::u16string(1, titles[i]);
        item.Icon = IconRef::Borrowed(100 + i);
        if (notUsedFrom >= 0 && static_cast<int32_t>(i) >= notUsedFrom)
            item.Status = StatusSystem | StatusNotUsed;
        list.push_back(item);
    }
    return list;
}

std::u16string Titles(const ItemList& list) {
    std::u16string out;
    for (const RData& item : list)
        out += item.Title + ((item.Status & StatusNotUsed) ? u"-" : u"");
    return out;
}

TEST(RegistrationLayoutTest, WidthFollowsTheColumnsButNeverBelowEight) {
    struct Case {
        int32_t colMax, formWidth, pageWidth, okLeft, cancelLeft, panelWidth;
    };
    const Case cases[] = {
        {3, 338, 132, 188, 260, 325}, {5, 338, 212, 188, 260, 325}, {7, 338, 292, 188, 260, 325},
        {8, 338, 332, 188, 260, 325}, {9, 378, 372, 228, 300, 365}, {30, 1218, 1212, 1068, 1140, 1205},
    };
    for (const Case& c : cases) {
        RegistrationArrangement arrangement;
        const ArrangeOutcome outcome = ArrangeControls(arrangement, {c.colMax, 0, 0, {10, 10}, 4000, 3000});
        const RegistrationLayout& l = arrangement.layout;
        EXPECT_TRUE(outcome.widthChanged) << c.colMax << ": the first arrangement sets the width";
        EXPECT_EQ(l.formWidth, c.formWidth) << c.colMax;
        EXPECT_EQ(l.ClientWidth(), c.formWidth - 8) << c.colMax;
        EXPECT_EQ(l.page.width, c.pageWidth) << c.colMax;
        EXPECT_EQ(l.okButton.left, c.okLeft) << c.colMax;
        EXPECT_EQ(l.cancelButton.left, c.cancelLeft) << c.colMax;
        EXPECT_EQ(l.namePanel.width, c.panelWidth) << c.colMax;
        EXPECT_EQ(l.formHeight, 246) << c.colMax << ": three rows, no growth";
    }
}

// At 150 and 200 % every figure of the form scales with the grid's cells, so that the grid still holds ColMax
// columns of scaled cells and the controls keep their places; a dialog moved to another scale is laid out anew.
TEST(RegistrationLayoutTest, TheFormScalesWithTheScreen) {
    struct Case {
        int32_t dpi, colMax, items, formWidth, clientWidth, pageWidth, okLeft, formHeight, gridHeight, okTop;
    };
    const Case cases[] = {
        {96, 5, 20, 338, 330, 212, 188, 286, 164, 228},
        {144, 5, 20, 507, 495, 318, 282, 429, 246, 342},
        {144, 30, 0, 1827, 1815, 1818, 1602, 369, 186, 282},
        {192, 7, 22, 676, 660, 584, 376, 572, 328, 456},
    };
    for (const Case& c : cases) {
        RegistrationArrangement arrangement;
        ArrangeControls(arrangement, {c.colMax, c.items, 0, {10, 10}, 8000, 6000, DpiScale{c.dpi}});
        const RegistrationLayout& l = arrangement.layout;
        EXPECT_EQ(l.formWidth, c.formWidth) << c.dpi << "/" << c.colMax;
        EXPECT_EQ(l.ClientWidth(), c.clientWidth) << c.dpi << "/" << c.colMax;
        EXPECT_EQ(l.page.width, c.pageWidth) << c.dpi << "/" << c.colMax;
        EXPECT_EQ(l.okButton.left, c.okLeft) << c.dpi << "/" << c.colMax;
        EXPECT_EQ(l.formHeight, c.formHeight) << c.dpi << "/" << c.colMax;
        EXPECT_EQ(l.gridHeight, c.gridHeight) << c.dpi << "/" << c.colMax;
        EXPECT_EQ(l.okButton.top, c.okTop) << c.dpi << "/" << c.colMax;
    }
    RegistrationArrangement arrangement;
    ArrangeControls(arrangement, {7, 22, 0, {10, 10}, 8000, 6000, DpiScale{96}});
    const ArrangeOutcome moved = ArrangeControls(arrangement, {7, 22, 0, {10, 10}, 8000, 6000, DpiScale{144}});
    EXPECT_TRUE(moved.widthChanged && moved.heightChanged);
    EXPECT_EQ(arrangement.layout.formWidth, 507);
    EXPECT_EQ(arrangement.layout.formHeight, 429);
}

TEST(RegistrationLayoutTest, TheLargerTrayAddsOneRowPerFurtherRowOfItems) {
    struct Case {
        int32_t colMax, program, system, extraRows;
    };
    const Case cases[] = {
        {7, 21, 0, 0}, {7, 0, 21, 0},    {7, 22, 3, 1}, {7, 3, 22, 1}, {7, 28, 29, 2}, {7, 0, 0, 0},
        {3, 10, 0, 1}, {30, 200, 91, 4}, {1, 4, 0, 1},  {0, 4, 0, 1}, // a column count below 1 counts as 1
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtraRows(c.colMax, c.program, c.system), c.extraRows)
            << c.colMax << " columns, " << c.program << "/" << c.system;

    RegistrationArrangement arrangement;
    ArrangeControls(arrangement, {7, 22, 0, {10, 10}, 1024, 768});
    const RegistrationLayout& l = arrangement.layout;
    EXPECT_EQ(l.formHeight, 286) << "22 items in 7 columns: four rows";
    EXPECT_EQ(l.ClientHeight(), 256);
    EXPECT_EQ(l.page.height, 195);
    EXPECT_EQ(l.gridHeight, 164);
    EXPECT_EQ(l.namePanel.top, 200);
    EXPECT_EQ(l.okButton.top, 228);
    EXPECT_EQ(l.cancelButton.top, 228);
    EXPECT_EQ(l.widthCombo.top, 228);
    EXPECT_EQ(l.widthLabel.top, 232);

    // Deleting items shrinks it again.
    ArrangeControls(arrangement, {7, 21, 0, {10, 10}, 1024, 768});
    EXPECT_EQ(arrangement.layout, [] {
        RegistrationArrangement fresh;
        ArrangeControls(fresh, {7, 0, 0, {10, 10}, 1024, 768});
        return fresh.layout;
    }());
}

TEST(RegistrationLayoutTest, TheFormMovesOffTheScreenEdgeOnlyWhenItGrowsTowardsIt) {
    RegistrationArrangement arrangement;
    // Near the right edge: the first arrangement pulls it back 16 pixels before the edge.
    ArrangeOutcome outcome = ArrangeControls(arrangement, {7, 0, 0, {800, 100}, 1024, 768});
    ASSERT_TRUE(outcome.left);
    EXPECT_EQ(*outcome.left, 1024 - 338 - 16);
    EXPECT_FALSE(outcome.top);
    // Nothing changed: where the user put it, it stays, even half off the screen.
    outcome = ArrangeControls(arrangement, {7, 0, 0, {900, 100}, 1024, 768});
    EXPECT_EQ(outcome, ArrangeOutcome{});
    // A ninth column widens it: moved back again.
    outcome = ArrangeControls(arrangement, {9, 0, 0, {900, 100}, 1024, 768});
    ASSERT_TRUE(outcome.left);
    EXPECT_EQ(*outcome.left, 1024 - 378 - 16);
    // Growing downwards near the bottom: two rows more pull it up.
    outcome = ArrangeControls(arrangement, {9, 45, 0, {100, 500}, 1024, 768});
    EXPECT_TRUE(outcome.heightChanged);
    ASSERT_TRUE(outcome.top);
    EXPECT_EQ(*outcome.top, 768 - 80 - 262);
    // Growing where there is room: no move.
    outcome = ArrangeControls(arrangement, {9, 60, 0, {100, 100}, 1024, 768});
    EXPECT_TRUE(outcome.heightChanged);
    EXPECT_FALSE(outcome.top);
}

TEST(RegistrationGridTest, CellAtAPointWithItsClamps) {
    struct Case {
        int32_t x, y, colMax, index;
    };
    const Case cases[] = {
        {0, 0, 7, 0},    {39, 0, 7, 0},   {40, 0, 7, 1},  {279, 0, 7, 6},   {5000, 0, 7, 6}, // right of the grid
        {-20, 45, 7, 7}, {10, -30, 7, 0}, {0, 85, 7, 14}, {45, 125, 5, 16}, {1000, 1000, 30, 775},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CellAt(c.x, c.y, kCellPitch, c.colMax), c.index) << c.x << "," << c.y << " in " << c.colMax;
}

TEST(RegistrationGridTest, DraggingReordersUsedItemsLiveAndRefusesNotUsedCells) {
    ItemList list = Items(u"ABCDEFG", 5); // A..E used, F and G not
    ASSERT_TRUE(CanStartDrag(list, 1));
    EXPECT_FALSE(CanStartDrag(list, 5)) << "a not-used item cannot be dragged";
    EXPECT_FALSE(CanStartDrag(list, 9));
    int32_t dragPosition = 1;

    EXPECT_EQ(DragOverCell(list, dragPosition, 1), (DragStep{true, false})) << "over its own cell";
    EXPECT_EQ(DragOverCell(list, dragPosition, 3), (DragStep{true, true}));
    EXPECT_EQ(Titles(list), u"ACDBEF-G-");
    EXPECT_EQ(dragPosition, 3);
    EXPECT_EQ(DragOverCell(list, dragPosition, 0), (DragStep{true, true}));
    EXPECT_EQ(Titles(list), u"BACDEF-G-");
    EXPECT_EQ(DragOverCell(list, dragPosition, 5), (DragStep{false, false})) << "a not-used cell: no drop";
    EXPECT_EQ(DragOverCell(list, dragPosition, 12), (DragStep{false, false})) << "beyond the items";
    EXPECT_EQ(DragOverCell(list, dragPosition, -1), (DragStep{false, false}));
    EXPECT_EQ(Titles(list), u"BACDEF-G-") << "refused cells change nothing";
    EXPECT_EQ(DragOverCell(list, dragPosition, 4), (DragStep{true, true}));
    EXPECT_EQ(Titles(list), u"ACDEBF-G-") << "onto the last used cell";
}

TEST(RegistrationGridTest, MoveItemKeepsTheOthersInOrder) {
    struct Case {
        int32_t from, to;
        std::u16string after;
        bool done;
    };
    const Case cases[] = {
        {0, 4, u"BCDEA", true},  {4, 0, u"EABCD", true},   {2, 2, u"ABCDE", true},
        {1, 5, u"ABCDE", false}, {-1, 0, u"ABCDE", false},
    };
    for (const Case& c : cases) {
        ItemList list = Items(u"ABCDE");
        EXPECT_EQ(MoveItem(list, c.from, c.to), c.done) << c.from << "->" << c.to;
        EXPECT_EQ(Titles(list), c.after) << c.from << "->" << c.to;
    }
}

TEST(RegistrationGridTest, UseAndDoNotUseMoveTheItemToTheBorderOfTheUsedItems) {
    ItemList list = Items(u"ABCDEFG", 5); // A..E used, F G not used
    for (RData& item : list)
        item.Status |= StatusSystem;
    EXPECT_EQ(ThirdCommandFor(list[1]), ThirdCommand::DoNotUseItem);
    EXPECT_EQ(ToggleUse(list, 1), 4) << "the second of five used items becomes the first not used one";
    EXPECT_EQ(Titles(list), u"ACDEB-F-G-");
    EXPECT_EQ(ThirdCommandFor(list[4]), ThirdCommand::UseItem);
    EXPECT_EQ(ToggleUse(list, 4), 4) << "used again, it stays where it is as the last used item";
    EXPECT_EQ(Titles(list), u"ACDEBF-G-");
    EXPECT_EQ(ToggleUse(list, 6), 5) << "a later not-used item comes to the end of the used items";
    EXPECT_EQ(Titles(list), u"ACDEBGF-");
    EXPECT_EQ(ToggleUse(list, 0), 5) << "the first of all goes behind every used item";
    EXPECT_EQ(Titles(list), u"CDEBGA-F-");
    EXPECT_EQ(ToggleUse(list, 7), -1);

    ItemList allUsed = Items(u"AB");
    allUsed[1].Status = StatusSystem;
    EXPECT_EQ(ToggleUse(allUsed, 1), 1) << "the last used item just gets the mark";
    EXPECT_EQ(Titles(allUsed), u"AB-");
    EXPECT_EQ(ToggleUse(allUsed, 1), 1);
    EXPECT_EQ(Titles(allUsed), u"AB");
}

TEST(RegistrationMenuTest, WhatTheRightClickOffers) {
    ItemList list = Items(u"ABC");
    list[1].Status = StatusSystem;                 // a built-in System item (a drive, a special folder)
    list[2].Status = StatusSystem | StatusNotUsed; // the command prompt, not used
    struct Case {
        int32_t index;
        bool setting, third;
        ThirdCommand command;
        std::u16string_view caption;
    };
    const Case cases[] = {
        {0, true, true, ThirdCommand::Delete, u"&Delete"},
        {1, true, true, ThirdCommand::DoNotUseItem, u"&Do not use item"},
        {2, true, true, ThirdCommand::UseItem, u"&Use item"},
        {3, false, false, ThirdCommand::Delete, u"&Delete"}, // the empty cell after the items
        {20, false, false, ThirdCommand::Delete, u"&Delete"},
    };
    for (const Case& c : cases) {
        const RegistrationMenu menu = ComposeRegistrationMenu(list, c.index);
        EXPECT_EQ(menu.settingEnabled, c.setting) << c.index;
        EXPECT_EQ(menu.thirdEnabled, c.third) << c.index;
        EXPECT_EQ(menu.third, c.command) << c.index;
        EXPECT_EQ(ThirdCommandCaption(menu.third), c.caption) << c.index;
        EXPECT_TRUE(menu.newEnabled) << c.index;
        EXPECT_EQ(menu.selNow, c.index) << c.index << ": the commands act on the clicked cell";
    }
    RData iconless;
    iconless.Status = StatusSystem;
    EXPECT_EQ(ThirdCommandFor(iconless), ThirdCommand::Delete) << "the toggle needs an item with an icon";

    ItemList full(199);
    EXPECT_TRUE(ComposeRegistrationMenu(full, 0).newEnabled) << "199 items: one more fits";
    full.emplace_back();
    EXPECT_FALSE(ComposeRegistrationMenu(full, 0).newEnabled) << "200 items: the settings file keeps no more";
}

class ShortcutTable : public ShortcutResolver {
public:
    std::map<std::u16string, ShortcutLink> links;
    std::optional<ShortcutLink> ResolveShortcut(const std::u16string& path) override {
        const auto it = links.find(path);
        if (it == links.end())
            return std::nullopt;
        return it->second;
    }
};

class FileItemTest : public ::testing::Test {
protected:
    FakeSystem system;
    FakeIcons icons;
    ShortcutTable shortcuts;
    RData Make(const std::u16string& path) { return MakeFileItem(path, shortcuts, system, icons); }
};

TEST_F(FileItemTest, ProgramsDocumentsAndFolders) {
    const RData exe = Make(u"C:\\Tools\\My Tool.EXE");
    EXPECT_EQ(exe.Title, u"My Tool.EXE");
    EXPECT_EQ(exe.ExeFileName, u"C:\\Tools\\My Tool.EXE");
    EXPECT_EQ(exe.IconFileName, u"C:\\Tools\\My Tool.EXE");
    EXPECT_EQ(exe.IconIndex, 0) << "a program shows its first icon";
    EXPECT_EQ(exe.DirectoryName, u"C:\\Tools");
    EXPECT_EQ(exe.ArgumentName, u"");
    EXPECT_EQ(exe.Status, 0);
    EXPECT_FALSE(exe.RunasFlag);
    EXPECT_EQ(icons.Describe(exe.Icon.Get()), u"assoc:C:\\Tools\\My Tool.EXE");

    const RData doc = Make(u"C:\\notes.txt");
    EXPECT_EQ(doc.IconIndex, -1) << "a document shows its associated icon";
    EXPECT_EQ(doc.DirectoryName, u"C:\\") << "a file in a drive's root keeps the root's backslash";

    const RData root = Make(u"D:\\");
    EXPECT_EQ(root.Title, u"D:\\") << "never an empty title: the settings file would end its list there";

    system.environment[u"TOOLS"] = u"C:\\Tools";
    EXPECT_EQ(Make(u"C:\\50%TOOLS%.exe").ExeFileName, u"C:\\50%TOOLS%.exe") << "a real name is never expanded";
}

TEST_F(FileItemTest, ShortcutsAreResolvedToTheirTarget) {
    shortcuts.links[u"C:\\Users\\me\\Desktop\\My Tool.v2.lnk"] = {u"C:\\Tools\\tool.exe", u"-fast", u"C:\\Work"};
    const RData item = Make(u"C:\\Users\\me\\Desktop\\My Tool.v2.lnk");
    EXPECT_EQ(item.Title, u"My Tool");
    EXPECT_EQ(item.ExeFileName, u"C:\\Tools\\tool.exe");
    EXPECT_EQ(item.IconFileName, u"C:\\Tools\\tool.exe");
    EXPECT_EQ(item.IconIndex, 0);
    EXPECT_EQ(item.ArgumentName, u"-fast");
    EXPECT_EQ(item.DirectoryName, u"C:\\Work");
    EXPECT_EQ(icons.Describe(item.Icon.Get()), u"assoc:C:\\Tools\\tool.exe");

    // Without arguments and working folder the shortcut's own folder stays the working folder.
    shortcuts.links[u"C:\\Links\\doc.LNK"] = {u"C:\\Docs\\a.txt", u"", u""};
    const RData doc = Make(u"C:\\Links\\doc.LNK");
    EXPECT_EQ(doc.ExeFileName, u"C:\\Docs\\a.txt");
    EXPECT_EQ(doc.IconIndex, -1);
    EXPECT_EQ(doc.DirectoryName, u"C:\\Links");
    EXPECT_EQ(doc.ArgumentName, u"");
}

TEST_F(FileItemTest, AMissingX86TargetIsLookedForUnderProgramFiles) {
    const std::u16string x86 = u"C:\\Program Files (x86)\\Tool\\tool.exe";
    shortcuts.links[u"C:\\a.lnk"] = {x86, u"", u""};
    EXPECT_EQ(Make(u"C:\\a.lnk").ExeFileName, u"C:\\Program Files\\Tool\\tool.exe");
    system.files.insert(x86);
    EXPECT_EQ(Make(u"C:\\a.lnk").ExeFileName, x86) << "an existing target is kept as it is";
    EXPECT_EQ(WithoutX86Folder(u"D:\\Files (x86)\\Files (x86)\\x"), u"D:\\Files\\Files\\x");
    EXPECT_EQ(WithoutX86Folder(u"C:\\Tools\\x"), u"C:\\Tools\\x");
}

TEST_F(FileItemTest, AShortcutThatCannotBeResolvedIsKeptAsTheShortcutFile) {
    const RData item = Make(u"C:\\Links\\Broken Link.lnk");
    EXPECT_EQ(item.Title, u"Broken Link");
    EXPECT_EQ(item.ExeFileName, u"C:\\Links\\Broken Link.lnk");
    EXPECT_EQ(item.IconFileName, u"C:\\Links\\Broken Link.lnk");
    EXPECT_EQ(item.IconIndex, -1);
    EXPECT_EQ(Make(u"C:\\Links\\.lnk").Title, u"C:\\Links\\.lnk") << "a shortcut without a name";
}

// 200 broken shortcuts in one drop must not cost 200 searches.
TEST(ShortcutSearchTest, EachSearchIsBoundedAndTheDropsSearchesTogetherToo) {
    for (const auto& [elapsed, limit] : {std::pair<uint64_t, uint32_t>{0, 1000}, {2500, 500}, {3000, 0}, {9999, 0}})
        EXPECT_EQ(ShortcutSearchLimit(elapsed), limit) << elapsed << " ms spent";
}

TEST(InsertFileItemTest, NewItemsLandOnTheSelectedCellButNeverBehindNotUsedItems) {
    struct Case {
        int32_t selNow, at;
        std::u16string after;
    };
    const Case cases[] = {
        {0, 0, u"NABCD-E-"}, {2, 2, u"ABNCD-E-"},  {3, 3, u"ABCND-E-"},
        {4, 3, u"ABCND-E-"}, {17, 3, u"ABCND-E-"}, {-2, 0, u"NABCD-E-"},
    };
    for (const Case& c : cases) {
        ItemList list = Items(u"ABCDE", 3);
        RData item;
        item.Title = u"N";
        EXPECT_EQ(InsertFileItem(list, c.selNow, item), c.at) << c.selNow;
        EXPECT_EQ(Titles(list), c.after) << c.selNow;
    }
}

TEST_F(FileItemTest, DroppedFilesKeepTheirOrderUntilTheTrayIsFull) {
    ItemList list = Items(u"AB");
    const DropOutcome outcome =
        AddDroppedFiles(list, 1, {u"C:\\x.exe", u"C:\\y.exe", u"C:\\z.exe"}, shortcuts, system, icons);
    EXPECT_EQ(outcome.added, 3);
    EXPECT_EQ(outcome.firstIndex, 1);
    EXPECT_FALSE(outcome.full);
    EXPECT_EQ(Titles(list), u"Ax.exey.exez.exeB") << "in the order they were dropped, from the drop cell on";

    ItemList nearlyFull = Items(std::u16string(198, u'a'));
    const DropOutcome limited =
        AddDroppedFiles(nearlyFull, 500, {u"C:\\1.exe", u"C:\\2.exe", u"C:\\3.exe"}, shortcuts, system, icons);
    EXPECT_EQ(limited.added, 2);
    EXPECT_EQ(limited.firstIndex, 198) << "a drop behind the items appends";
    EXPECT_TRUE(limited.full);
    EXPECT_EQ(nearlyFull.size(), 200u);
    EXPECT_EQ(nearlyFull[199].Title, u"2.exe") << "the files before the limit stay added";
}

} // namespace
} // namespace vantrel
