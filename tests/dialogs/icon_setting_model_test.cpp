#include "dialogs/icon_setting_model.h"

#include <gtest/gtest.h>

#include "support/fake_system.h"

namespace vantrel {
namespace {

using vantrel::testing::FakeIcons;

constexpr bool kUs = true;
constexpr bool kJapanese = false;

TEST(DirectKeyTest, StoredCodesAsTheEditShowsThem) {
    struct Case {
        int32_t code;
        bool us;
        std::u16string text;
        bool shift;
    };
    const Case cases[] = {
        {0, kUs, u"", false},        {65, kUs, u"A", false},
        {97, kUs, u"a", true},       {53, kUs, u"5", false},
        {33, kUs, u"!", true},       {40, kUs, u"(", true},
        {38, kJapanese, u"&", true}, {192, kUs, u"F1", false},
        {201, kUs, u"F10", false},   {203, kUs, u"F12", false},
        {224, kUs, u"f1", true},     {228, kUs, u"f5", true},
        {233, kUs, u"f10", true},    {235, kUs, u"f12", true},
        {204, kUs, u"", false}, // no key gives these
        {210, kUs, u"", false},      {236, kUs, u"", false},
        {32, kUs, u"", false},       {0x4100 | 66, kUs, u"B", false}, // only the low byte counts
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShowDirectKey(c.code, c.us), (DirectKeyShown{c.text, c.shift})) << c.code;
}

TEST(DirectKeyTest, EditTextToStoredCode) {
    struct Case {
        std::u16string text;
        bool us;
        std::optional<int32_t> code;
    };
    const Case cases[] = {
        {u"", kUs, 0},
        {u"A", kUs, 65},
        {u"a", kUs, 97},
        {u"7", kUs, 55},
        {u"!", kUs, 33},
        {u"\"", kJapanese, 34},
        {u"\"", kUs, std::nullopt}, // not a shifted digit there
        {u"F1", kUs, 192},
        {u"F10", kUs, 201},
        {u"f10", kUs, 233},
        {u"f12", kUs, 235},
        {u"F13", kUs, std::nullopt},
        {u"F0", kUs, std::nullopt},
        {u"F01", kUs, std::nullopt},
        {u"Fx", kUs, std::nullopt},
        {u"AB", kUs, std::nullopt},
        {u" ", kUs, std::nullopt},
        {u"\u00e9", kUs, std::nullopt},       // a letter the settings would read as Shift+F10
        {u"\uff66", kJapanese, std::nullopt}, // Shift+0 on a Japanese keyboard: more than a byte
    };
    for (const Case& c : cases)
        EXPECT_EQ(DirectKeyCode(c.text, c.us), c.code) << std::string(c.text.begin(), c.text.end());
}

TEST(DirectKeyTest, EveryShownCodeReadsBackAsItself) {
    for (bool us : {kUs, kJapanese})
        for (int32_t code = 1; code <= 0xFF; ++code) {
            const DirectKeyShown shown = ShowDirectKey(code, us);
            if (shown.text.empty())
                continue;
            EXPECT_EQ(DirectKeyCode(shown.text, us), code) << code << (us ? " US" : " Japanese");
        }
}

TEST(DirectKeyTest, TypedCharacters) {
    struct Case {
        char16_t typed;
        bool shift, numbers, us;
        std::u16string text;
        bool focusOk, changed, refused;
    };
    const Case cases[] = {
        {u'a', false, false, kUs, u"A", true, true, false},
        {u'A', true, false, kUs, u"a", true, true, false},
        {u'a', true, false, kUs, u"a", true, true, false},
        {u'5', false, false, kUs, u"", false, true, false}, // digits are the tasks' keys
        {u'5', false, true, kUs, u"5", true, true, false},
        {u'1', true, true, kUs, u"!", true, true, false},
        {u'2', true, true, kJapanese, u"\"", true, true, false},
        {u'0', true, true, kJapanese, u"", false, true, true}, // U+FF66 does not fit
        {u' ', false, false, kUs, u"", false, true, false},
        {u'\b', false, false, kUs, u"", false, true, false},
        {u'!', false, true, kUs, u"", false, true, false}, // typed with the keyboard's own Shift
        {u'\u00e4', false, false, kUs, u"", false, true, false},
        {u'\r', false, false, kUs, u"", true, false, false}, // Enter: on to OK, the text stays
    };
    for (const Case& c : cases) {
        const DirectKeyTyped typed = DirectEditKeyPress(c.typed, c.shift, c.numbers, c.us);
        EXPECT_EQ(typed, (DirectKeyTyped{c.text, c.focusOk, c.changed, c.refused})) << static_cast<int>(c.typed);
    }
}

TEST(DirectKeyTest, FunctionKeysAndTheShiftBox) {
    EXPECT_EQ(DirectEditFunctionKey(112, false), u"F1");
    EXPECT_EQ(DirectEditFunctionKey(121, false), u"F10");
    EXPECT_EQ(DirectEditFunctionKey(121, true), u"f10");
    EXPECT_EQ(DirectEditFunctionKey(123, true), u"f12");
    EXPECT_EQ(DirectEditFunctionKey(111, false), std::nullopt);
    EXPECT_EQ(DirectEditFunctionKey(124, false), std::nullopt) << "F13";
    EXPECT_EQ(DirectKeyCode(*DirectEditFunctionKey(121, false), kUs), 201);
    EXPECT_EQ(DirectKeyCode(*DirectEditFunctionKey(121, true), kUs), 233);

    struct Case {
        std::u16string text;
        bool checked, us;
        std::optional<std::u16string> after;
    };
    const Case cases[] = {
        {u"A", true, kUs, u"a"},
        {u"F5", true, kUs, u"f5"},
        {u"1", true, kUs, u"!"},
        {u"a", false, kUs, u"A"},
        {u"f5", false, kUs, u"F5"},
        {u"!", false, kUs, u"1"},
        {u"(", false, kUs, u"9"},
        {u"(", false, kJapanese, u"8"},
        {u"", true, kUs, u""},
        {u"0", true, kJapanese, std::nullopt}, // the box goes back: Shift+0 cannot be kept there
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShiftToggled(c.text, c.checked, c.us), c.after)
            << std::string(c.text.begin(), c.text.end()) << (c.checked ? " checked" : " cleared");
}

TEST(IconStripTest, AFileWithIconsAndOneWithout) {
    FakeIcons icons;
    icons.paths = {u"C:\\five.dll", u"C:\\notes.txt"};
    icons.iconCounts = {{u"C:\\five.dll", 5}};
    IconStripIcons five;
    LoadIconList(five, u"C:\\five.dll", 0, 3, icons);
    EXPECT_EQ(five.icons.size(), 5u);
    EXPECT_FALSE(five.substitute);
    EXPECT_TRUE(icons.live.empty()) << "a cell's icon is made when it is drawn";
    EXPECT_EQ(icons.Describe(StripIcon(five, 4, icons)), u"extract:C:\\five.dll#4");
    EXPECT_EQ(StripIcon(five, 4, icons), StripIcon(five, 4, icons)) << "and kept";
    EXPECT_EQ(StripIcon(five, 5, icons), 0u);

    IconStripIcons text;
    LoadIconList(text, u"C:\\notes.txt", 0, 0, icons);
    ASSERT_EQ(text.icons.size(), 1u) << "one substitute cell";
    EXPECT_TRUE(text.substitute);
    EXPECT_EQ(icons.Describe(StripIcon(text, 0, icons)), u"default-file") << "the item's own icon for that file";
}

// A huge icon library after another file: never both files' icons at once, nor more than the bound (each icon
// holds two of the process's GDI objects).
TEST(IconStripTest, AnotherFileFreesTheShownIconsFirstAndTheStripIsBounded) {
    FakeIcons icons;
    icons.iconCounts = {{u"C:\\a.dll", 600}, {u"C:\\huge.dll", 5000}};
    IconStripIcons strip;
    for (const char16_t* file : {u"C:\\a.dll", u"C:\\huge.dll"}) {
        LoadIconList(strip, file, 0, 0, icons);
        for (int32_t cell = 0; cell < 5000; ++cell)
            StripIcon(strip, cell, icons); // every cell drawn, scrolled through
    }
    EXPECT_EQ(strip.icons.size(), kIconStripMostIcons);
    EXPECT_EQ(icons.peak, kIconStripMostIcons);
}

// "Icon setting" closed and opened again on the same file shows the icons it had in view without reading the file,
// and a closed dialog holds no more than that one view.
TEST(IconStripTest, AClosedStripKeepsOneViewForTheSameFile) {
    FakeIcons icons;
    icons.iconCounts = {{u"C:\\lib.dll", 300}, {u"C:\\other.dll", 5}};
    IconStripIcons strip;
    LoadIconList(strip, u"C:\\lib.dll", 0, 0, icons);
    for (int32_t cell = 0; cell < 60; ++cell)
        StripIcon(strip, cell, icons); // scrolled through
    const IconHandle shown = StripIcon(strip, 45, icons);
    KeepIconsInView(strip, 40);
    EXPECT_EQ(icons.live.size(), kIconStripBatch);
    LoadIconList(strip, u"C:\\lib.dll", 0, 45, icons);
    EXPECT_EQ(StripIcon(strip, 45, icons), shown);
    EXPECT_EQ(icons.live.size(), kIconStripBatch) << "nothing read again";
    LoadIconList(strip, u"C:\\other.dll", 0, 0, icons);
    EXPECT_TRUE(icons.live.empty()) << "another file lets them go";
}

TEST(IconStripTest, SelectionAndPicking) {
    IconStrip strip{5, 0};
    EXPECT_TRUE(strip.Selected(0));
    EXPECT_FALSE(strip.Selected(1));
    EXPECT_TRUE(strip.PickAt(85));
    EXPECT_EQ(strip.Index, 2);
    EXPECT_FALSE(strip.PickAt(200)) << "beyond the last cell";
    EXPECT_FALSE(strip.PickAt(-3));
    EXPECT_EQ(strip.Index, 2);
    EXPECT_EQ(strip.ScrollTo(), 80);

    IconStrip associated{5, -1};
    for (int32_t cell = 0; cell < 5; ++cell)
        EXPECT_TRUE(associated.Selected(cell)) << "every cell drawn selected";
    EXPECT_FALSE(associated.PickAt(45)) << "nothing can be picked until another file is loaded";
    EXPECT_EQ(associated.Index, -1);
    EXPECT_EQ(associated.ScrollTo(), 0);

    EXPECT_EQ((IconStrip{10, 0}).BoxHeight(), 42) << "400 pixels fit";
    EXPECT_EQ((IconStrip{11, 0}).BoxHeight(), 60) << "room for the scroll bar";
    EXPECT_EQ((IconStrip{11, 0}).Width(), 440);
}

TEST(IconStripTest, CellsAndScrollingFollowTheScale) {
    // dpi, icons, the strip's inner width, then the pitch, whether it scrolls and the strip's height.
    const std::array<std::array<int32_t, 6>, 5> cases{{
        {96, 10, 400, 40, 0, 42},
        {96, 7, 276, 40, 1, 42 + 17}, // a narrower strip scrolls sooner
        {144, 10, 600, 60, 0, 62},    // 150 %: ten icons fit the strip 1.5 times as wide
        {144, 11, 600, 60, 1, 62 + 26},
        {192, 10, 800, 80, 0, 82},
    }};
    for (const auto& [dpi, cells, width, pitch, scrolls, height] : cases) {
        IconStrip strip{cells, 0};
        strip.Scale(DpiScale{dpi}, width, DpiScale{dpi}.Px(17));
        EXPECT_EQ(strip.Pitch(), pitch) << dpi;
        EXPECT_EQ(strip.Scrolls(), scrolls != 0) << dpi << " dpi, " << cells << " icons";
        EXPECT_EQ(strip.BoxHeight(), height) << dpi << " dpi, " << cells << " icons";
    }
    IconStrip large{10, 0};
    large.Scale(DpiScale{144}, 600, 26);
    EXPECT_TRUE(large.PickAt(125));
    EXPECT_EQ(large.Index, 2) << "a click picks by the scaled pitch";
}

class ApplyTest : public ::testing::Test {
protected:
    FakeIcons icons;
    RData item;
    IconSettingOrigin origin;

    void SetUp() override {
        icons.paths = {u"C:\\Tools\\tool.exe", u"C:\\Icons\\set.dll", u"C:\\notes.txt"};
        icons.iconCounts = {{u"C:\\Tools\\tool.exe", 2}, {u"C:\\Icons\\set.dll", 5}};
        item.Title = u"Tool";
        item.ExeFileName = u"C:\\Tools\\tool.exe";
        item.IconFileName = u"C:\\Tools\\tool.exe";
        item.IconIndex = 0;
        item.Status = 228 << 8; // Shift+F5
        item.Icon = ResolveItemIcon(item.Status, item.IconFileName, item.IconIndex, icons);
        origin = {228};
    }
    IconSettingValues Unchanged() const {
        return {ShowDirectKey(origin.directKey, kUs).text,
                false,
                item.Title,
                item.IconFileName,
                item.ExeFileName,
                item.ArgumentName,
                item.DirectoryName,
                item.RunasFlag,
                item.IconIndex};
    }
};

TEST_F(ApplyTest, OkWithoutChangesKeepsEverythingTheIconIncluded) {
    const RData before = item;
    ASSERT_EQ(CheckIconSetting(Unchanged(), origin, kUs), IconSettingRefusal::None);
    ApplyIconSetting(item, Unchanged(), origin, kUs, icons);
    EXPECT_EQ(item, before);
    EXPECT_EQ((item.Status >> 8) & 0xFF, 228);
    EXPECT_TRUE(icons.destroyed.empty());

    // A code no key gives shows as an empty edit; left untouched it survives, emptied on purpose it goes.
    item.Status = 210 << 8;
    const IconSettingOrigin odd{210};
    IconSettingValues values = Unchanged();
    values.direct = ShowDirectKey(210, kUs).text;
    ASSERT_EQ(values.direct, u"");
    ApplyIconSetting(item, values, odd, kUs, icons);
    EXPECT_EQ((item.Status >> 8) & 0xFF, 210);
    values.directEdited = true; // Backspace typed into the edit
    ApplyIconSetting(item, values, odd, kUs, icons);
    EXPECT_EQ((item.Status >> 8) & 0xFF, 0);
}

TEST_F(ApplyTest, TheEditedValuesReachTheItem) {
    item.Status |= StatusShellIcon; // a flag of the low byte stays
    IconSettingValues values = Unchanged();
    values.direct = u"F10";
    values.directEdited = true;
    values.title = u"Renamed";
    values.exeFile = u"C:\\Missing\\typed.exe"; // typed, OK without Enter: taken as it is
    values.arguments = u"-x";
    values.directory = u"C:\\Work";
    values.runas = true;
    ApplyIconSetting(item, values, origin, kUs, icons);
    EXPECT_EQ(item.Title, u"Renamed");
    EXPECT_EQ(item.ExeFileName, u"C:\\Missing\\typed.exe");
    EXPECT_EQ(item.Status, StatusShellIcon | (201 << 8));
    EXPECT_EQ(item.ArgumentName, u"-x");
    EXPECT_EQ(item.DirectoryName, u"C:\\Work");
    EXPECT_TRUE(item.RunasFlag);

    values.direct = u"";
    ApplyIconSetting(item, values, origin, kUs, icons);
    EXPECT_EQ(item.Status, StatusShellIcon) << "an emptied edit removes the direct key";
}

TEST_F(ApplyTest, ABuiltInSystemItemKeepsItsTarget) {
    item.Status = StatusSystem;
    item.ExeFileName = u"C:\\";
    IconSettingValues values = Unchanged();
    values.exeFile = u""; // the disabled edit stays empty
    ApplyIconSetting(item, values, origin, kUs, icons);
    EXPECT_EQ(item.ExeFileName, u"C:\\");
}

TEST_F(ApplyTest, ANewIconReplacesTheOldOneWhichGoesWithItsLastHolder) {
    const IconHandle old = item.Icon.Get();
    const RData kept = item; // the registration dialog's copy for Cancel
    IconSettingValues values = Unchanged();
    values.iconFile = u"C:\\Icons\\set.dll";
    values.index = 3;
    ApplyIconSetting(item, values, origin, kUs, icons);
    EXPECT_EQ(item.IconFileName, u"C:\\Icons\\set.dll");
    EXPECT_EQ(item.IconIndex, 3);
    EXPECT_EQ(icons.Describe(item.Icon.Get()), u"extract:C:\\Icons\\set.dll#3");
    EXPECT_TRUE(icons.destroyed.empty()) << "the kept copy still shows the old icon";
    EXPECT_EQ(kept.Icon.Get(), old);

    // Only the number changes: a new icon as well.
    values.index = 4;
    const IconHandle second = item.Icon.Get();
    ApplyIconSetting(item, values, origin, kUs, icons);
    EXPECT_EQ(icons.destroyed.count(second), 1u) << "nobody else held the replaced icon";
    EXPECT_EQ(icons.destroyed.count(old), 0u);

    // A text file picked as icon file: one substitute cell, Index -1, stored as the associated icon.
    values.iconFile = u"C:\\notes.txt";
    IconStripIcons strip;
    LoadIconList(strip, values.iconFile, item.Status, item.IconIndex, icons);
    values.index = strip.substitute ? -1 : 0;
    ApplyIconSetting(item, values, origin, kUs, icons);
    EXPECT_EQ(item.IconIndex, -1);
    EXPECT_EQ(icons.Describe(item.Icon.Get()), u"assoc:C:\\notes.txt");
}

TEST_F(ApplyTest, RefusalsComeBeforeAnythingChanges) {
    IconSettingValues values = Unchanged();
    values.title = u"  ";
    EXPECT_EQ(CheckIconSetting(values, origin, kUs), IconSettingRefusal::BlankTitle);
    values.title = u"";
    EXPECT_EQ(CheckIconSetting(values, origin, kUs), IconSettingRefusal::BlankTitle);
    values.title = u"Tool";
    EXPECT_EQ(CheckIconSetting(values, origin, kUs), IconSettingRefusal::None);
    values.directEdited = true;
    values.direct = u"\uff66";
    EXPECT_EQ(CheckIconSetting(values, origin, kJapanese), IconSettingRefusal::DirectKey);
    values.direct = u"pasted";
    EXPECT_EQ(CheckIconSetting(values, origin, kUs), IconSettingRefusal::DirectKey);
    values.direct = u"Z";
    EXPECT_EQ(CheckIconSetting(values, origin, kUs), IconSettingRefusal::None);
}

TEST(ItemTargetTest, TheDialogFindsItsItemOrKnowsItIsGone) {
    std::array<TrayEntry, 3> trays;
    for (const char16_t* title : {u"A", u"B", u"C", u"D"}) {
        RData item;
        item.Title = title;
        item.Icon = IconRef::Borrowed(reinterpret_cast<std::uintptr_t>(title));
        trays[ProgramTray].Items.push_back(item);
    }
    const ItemTarget target = TargetOf(trays, ProgramTray, 1); // B
    ItemList& list = trays[ProgramTray].Items;
    EXPECT_EQ(LocateItem(list, target), 1);

    std::swap(list[1], list[3]); // dragged elsewhere meanwhile
    EXPECT_EQ(LocateItem(list, target), 3) << "followed to its new place, not the item now at its index";

    list.insert(list.begin(), RData{}); // a drive added before it on a show
    EXPECT_EQ(LocateItem(list, target), 4);

    list[4].Title = u"B2"; // changed through another dialog
    EXPECT_EQ(LocateItem(list, target), std::nullopt);
    list[4].Title = u"B";

    list.push_back(list[4]); // an identical twin: which one was meant cannot be told
    EXPECT_EQ(LocateItem(list, target), std::nullopt);
    list.pop_back();

    list.erase(list.begin() + 4); // deleted
    EXPECT_EQ(LocateItem(list, target), std::nullopt);

    EXPECT_FALSE(TargetOf(trays, ProgramTray, 9).item.Icon) << "no item there: nothing to find";
    EXPECT_EQ(LocateItem(list, TargetOf(trays, ProgramTray, 9)), std::nullopt);
}

} // namespace
} // namespace vantrel
