#include "dialogs/option_model.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(KeyTable, CodesAndIndexes) {
    struct Case {
        int index;
        int32_t code;
        std::u16string_view name;
    };
    const Case cases[] = {
        {0, 0x41, u"A"},       {25, 0x5A, u"Z"},      {26, 0x70, u"F1"},     {37, 0x7B, u"F12"},
        {38, 0x31, u"1"},      {46, 0x39, u"9"},      {47, 0x30, u"0"},      {48, 0x27, u"\u2192"},
        {49, 0x25, u"\u2190"}, {50, 0x26, u"\u2191"}, {51, 0x28, u"\u2193"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetVirtualKeyCode(c.index), c.code) << c.index;
        EXPECT_EQ(VirtualKeyCodeToIndex(c.code), c.index) << c.index;
        EXPECT_EQ(KeyTable[static_cast<std::size_t>(c.index)].name, c.name) << c.index;
    }
    EXPECT_EQ(GetVirtualKeyCode(-1), 0) << "no selection";
    EXPECT_EQ(GetVirtualKeyCode(52), 0) << "one past the table";
    EXPECT_EQ(VirtualKeyCodeToIndex(0x20), 0) << "a code outside the table selects A";
    EXPECT_EQ(VirtualKeyCodeToIndex(0), 0);
}

TEST(OptionControls, UnknownKeySelectsAAndOkStoresItsCode) {
    TOption option;
    option.VkKey = 0x20; // Space: not offered by the dialog
    const OptionControls c = FillOptionControls(option, OptionControls{}, true, false);
    EXPECT_EQ(c.KeyListIndex, 0);
    EXPECT_EQ(ReadOptionControls(c, option).VkKey, 0x41);
}

TEST(OptionControls, DefaultOptionsRoundTripUnchanged) {
    const TOption defaults;
    EXPECT_EQ(ReadOptionControls(FillOptionControls(defaults, OptionControls{}, true, false), defaults), defaults);
}

TEST(OptionControls, EveryFieldRoundTrips) {
    TOption option;
    option.VkKey = 0x7B;
    option.VkMod = 7;
    option.MouseFlag = 3;
    option.KeyPositionFlag = true;
    option.KeyOnlyFlag = true;
    option.MousePositionFlag = 3;
    option.KeyCursorFlag = 2;
    option.RightClickFlag = 1;
    option.MoveCursorFlag = false;
    option.DirectMoveOnlyFlag = true;
    option.DosFlag = 0;
    option.KeyNumberFlag = true;
    option.ColMax = 11;
    option.RowMax = 9;
    option.FrameType = 0;
    option.TextColor = 0x123456;
    option.BackColor = 0x00FF00;
    option.MouseHookFlag = true;
    option.WaitDesktop = 6;
    option.AltDisableFlag = true;
    option.ColorScheme = 2;
    // Outside the NT family DosFlag is the box's state; on NT it is always written as 1.
    EXPECT_EQ(ReadOptionControls(FillOptionControls(option, OptionControls{}, false, true), option), option);
    TOption onNt = option;
    onNt.DosFlag = 1;
    const OptionControls nt = FillOptionControls(option, OptionControls{}, true, true);
    EXPECT_TRUE(nt.DosCheck);
    EXPECT_FALSE(nt.DosEnabled);
    EXPECT_EQ(ReadOptionControls(nt, option), onNt);
}

TEST(OptionControls, FieldsTheDialogDoesNotShowPassThrough) {
    TOption now;
    now.ColMax = 17;
    now.RowMax = 5;
    TOption shown;
    const OptionControls c = FillOptionControls(shown, OptionControls{}, true, false);
    const TOption read = ReadOptionControls(c, now);
    EXPECT_EQ(read.ColMax, 17);
    EXPECT_EQ(read.RowMax, 5);
}

TEST(OptionControls, SwitchedOffGroupsKeepTheirLastSelection) {
    OptionControls previous;
    previous.MCursorRadio = 2;
    previous.MouseRadio = 1;
    TOption off;
    off.MousePositionFlag = -1;
    off.MouseFlag = 0;
    const OptionControls c = FillOptionControls(off, previous, true, false);
    EXPECT_FALSE(c.MousePositionCheck);
    EXPECT_FALSE(c.KickMouseCheck);
    EXPECT_EQ(c.MCursorRadio, 2);
    EXPECT_EQ(c.MouseRadio, 1);
    EXPECT_EQ(ReadOptionControls(c, off).MousePositionFlag, -1);
    EXPECT_EQ(ReadOptionControls(c, off).MouseFlag, 0);

    // Checking the boxes again offers the kept choices.
    OptionControls on = c;
    on.MousePositionCheck = true;
    on.KickMouseCheck = true;
    EXPECT_EQ(ReadOptionControls(on, off).MousePositionFlag, 2);
    EXPECT_EQ(ReadOptionControls(on, off).MouseFlag, 2);
}

TEST(OptionControls, CancelledColoursComeBackFromTheOptions) {
    TOption stored;
    stored.TextColor = 0x0000FF;
    stored.BackColor = 0x00FF00;
    OptionControls edited = FillOptionControls(stored, OptionControls{}, true, false);
    edited.LabelTextColor = 0x111111;
    edited.LabelBackColor = 0x222222;
    // Cancel applies nothing; the next showing fills from the stored options again.
    const OptionControls next = FillOptionControls(stored, edited, true, false);
    EXPECT_EQ(next.LabelTextColor, 0x0000FF);
    EXPECT_EQ(next.LabelBackColor, 0x00FF00);
}

TEST(OptionControls, AutoRunBoxShowsTheRegistry) {
    EXPECT_TRUE(FillOptionControls(TOption{}, OptionControls{}, true, true).AutoRunCheck);
    OptionControls was;
    was.AutoRunCheck = true;
    EXPECT_FALSE(FillOptionControls(TOption{}, was, true, false).AutoRunCheck);
}

TEST(OptionEnabling, MouseBoxesRule) {
    struct Case {
        bool kick;
        bool position;
        OptionEnabling expected;
    };
    const Case cases[] = {
        {true, true, {true, true, true, true}},
        {true, false, {true, true, false, false}},
        {false, true, {false, false, false, false}},
        {false, false, {false, false, false, false}},
    };
    for (const Case& c : cases) {
        OptionControls controls;
        controls.KickMouseCheck = c.kick;
        controls.MousePositionCheck = c.position;
        EXPECT_EQ(EnablingRule(controls), c.expected) << c.kick << c.position;
    }
}

TEST(KeyLabel, ModifiersInShiftCtrlAltOrder) {
    struct Case {
        bool shift;
        bool ctrl;
        bool alt;
        int key;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {false, false, false, 30, u"F5"},
        {true, false, true, 30, u"Shift + Alt + F5"},
        {true, true, true, 37, u"Shift + Ctrl + Alt + F12"},
        {false, true, true, 9, u"Ctrl + Alt + J"},
        {false, true, false, -1, u"Ctrl + "},
        {false, false, false, 52, u""},
    };
    for (const Case& c : cases) {
        OptionControls controls;
        controls.ShiftCheck = c.shift;
        controls.ControlCheck = c.ctrl;
        controls.AltCheck = c.alt;
        controls.KeyListIndex = c.key;
        EXPECT_EQ(DispKeyName(controls), c.expected);
    }
}

// After a removal the next line is selected, so Remove can be pressed again at once.
TEST(OptionExclusions, RemovingSelectsTheNextLine) {
    OptionControls c;
    c.ExcludeList = {u"a.exe", u"b.exe", u"c.exe"};
    int next = 9;
    EXPECT_FALSE(RemoveExcludedProgram(c, 3, &next)) << "past the end";
    for (const auto& [line, expected] : {std::pair{1, 1}, {1, 0}, {0, -1}}) {
        ASSERT_TRUE(RemoveExcludedProgram(c, line, &next));
        EXPECT_EQ(next, expected);
    }
    EXPECT_TRUE(c.ExcludeList.empty());
}

TEST(KeyLabel, StoredHotKeys) {
    EXPECT_EQ(HotKeyText(3, 0x4A), u"Ctrl + Alt + J");
    EXPECT_EQ(HotKeyText(4 | 2, 0x74), u"Shift + Ctrl + F5");
    EXPECT_EQ(HotKeyText(8 | 1, 0x27), u"Win + Alt + \u2192");
    EXPECT_EQ(HotKeyText(0, 0x20), u"key 32") << "a code the dialog does not offer";
}

} // namespace
} // namespace vantrel
