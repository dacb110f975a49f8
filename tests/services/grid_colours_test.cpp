#include "services/grid_colours.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

// A scheme whose colours are all different, so that every choice can be told apart, and whose texts read well.
SystemColours Distinct() {
    SystemColours s;
    s.face = 0xF0F0F0;
    s.faceText = 0x101010;
    s.shadow = 0x303030;
    s.light = 0x404040;
    s.window = 0x050505;
    s.windowText = 0xFAFAFA;
    s.highlight = 0x707070;
    s.highlightText = 0x808080;
    return s;
}

TOption Colours(int32_t back, int32_t text) {
    TOption o;
    o.BackColor = back;
    o.TextColor = text;
    return o;
}

TEST(GridColours, NormallyButtonFaceWithTheUsersCursorAndBadge) {
    const GridColours c = ChooseGridColours(false, Distinct(), Colours(0x800000, 0xFFFFFF));
    EXPECT_FALSE(c.highContrast);
    EXPECT_EQ(c.background, 0xF0F0F0u);
    EXPECT_EQ(c.label, 0x101010u);
    EXPECT_EQ(c.nameText, 0x000000u) << "the name label is black";
    EXPECT_EQ(c.nameBack, 0xF0F0F0u);
    EXPECT_EQ(c.cursor, 0x800000u);
    EXPECT_EQ(c.cursorLight, 0x404040u);
    EXPECT_EQ(c.cursorShadow, 0x303030u);
    EXPECT_EQ(c.cursorFill, 0x000000u);
    EXPECT_EQ(c.badgeText, 0xFFFFFFu);
    EXPECT_EQ(c.badgeBack, 0x800000u);
    EXPECT_EQ(c.frameShadow, 0x303030u);
    EXPECT_EQ(c.frameLight, 0x404040u);
    // Only the colour bytes of a hand-edited value reach GDI.
    EXPECT_EQ(ChooseGridColours(false, Distinct(), Colours(0x12345678, -1)).cursor, 0x345678u);
    EXPECT_EQ(ChooseGridColours(false, Distinct(), Colours(0x12345678, -1)).badgeText, 0xFFFFFFu);
}

TEST(GridColours, HighContrastTakesTheSystemsScheme) {
    const GridColours c = ChooseGridColours(true, Distinct(), Colours(0x800000, 0xFFFFFF));
    EXPECT_TRUE(c.highContrast);
    EXPECT_EQ(c.background, 0x050505u);
    EXPECT_EQ(c.label, 0xFAFAFAu);
    EXPECT_EQ(c.nameText, 0xFAFAFAu);
    EXPECT_EQ(c.nameBack, 0x050505u);
    EXPECT_EQ(c.cursor, 0x707070u);
    EXPECT_EQ(c.cursorLight, 0x707070u) << "the button cursor too";
    EXPECT_EQ(c.cursorShadow, 0x707070u);
    EXPECT_EQ(c.cursorFill, 0x707070u);
    EXPECT_EQ(c.badgeText, 0x808080u);
    EXPECT_EQ(c.badgeBack, 0x707070u);
    EXPECT_EQ(c.frameShadow, 0xFAFAFAu);
    EXPECT_EQ(c.frameLight, 0xFAFAFAu);
    EXPECT_EQ(ChooseGridColours(true, Distinct(), Colours(0x00FF00, 0x0000FF)), c) << "the user's colours do not count";
}

TEST(GridColours, HighContrastNeverDrawsTheCursorOrBadgeInvisibly) {
    SystemColours s = Distinct();
    s.highlight = s.window;
    GridColours c = ChooseGridColours(true, s, TOption{});
    EXPECT_EQ(c.cursor, s.windowText) << "a highlight like the window would hide the cursor";
    EXPECT_NE(c.badgeText, c.badgeBack);

    s = Distinct();
    s.highlightText = s.highlight;
    c = ChooseGridColours(true, s, TOption{});
    EXPECT_EQ(c.badgeText, s.windowText);
    EXPECT_EQ(c.badgeBack, s.window);
    EXPECT_EQ(c.cursor, s.highlight);
}

TEST(GridColours, HighContrastWinsThenTheOptionThenWindows) {
    using enum GridScheme;
    EXPECT_EQ(ChooseGridScheme(false, false, kColorsFollowWindows), Light);
    EXPECT_EQ(ChooseGridScheme(false, true, kColorsFollowWindows), Dark);
    EXPECT_EQ(ChooseGridScheme(false, true, kColorsLight), Light);
    EXPECT_EQ(ChooseGridScheme(false, false, kColorsDark), Dark);
    EXPECT_EQ(ChooseGridScheme(true, true, kColorsDark), HighContrast);
    EXPECT_EQ(ChooseGridScheme(false, true, 7), Dark) << "a value no version wrote follows Windows";
    EXPECT_TRUE(AppsDarkFrom(0u));
    EXPECT_FALSE(AppsDarkFrom(std::nullopt)) << "a system without the setting is light";
}

TEST(GridColours, TextReadsWellInEveryScheme) {
    EXPECT_DOUBLE_EQ(ContrastRatio(0x000000, 0xFFFFFF), 21.0);
    SystemColours windows10; // Windows 10's and 11's light colours
    windows10.face = 0xF0F0F0;
    SystemColours darkFace = windows10; // a theme whose button face is dark, with black button text
    darkFace.face = 0x303030;
    SystemColours black; // "High Contrast Black"
    black.window = 0x000000;
    black.windowText = 0xFFFFFF;
    const std::pair<GridScheme, SystemColours> schemes[] = {{GridScheme::Light, windows10},
                                                            {GridScheme::Light, darkFace},
                                                            {GridScheme::Dark, windows10},
                                                            {GridScheme::HighContrast, black}};
    for (const auto& [scheme, system] : schemes) {
        const GridColours c = ChooseGridColours(scheme, system, TOption{});
        EXPECT_GE(ContrastRatio(c.label, c.background), kReadableContrast) << static_cast<int>(scheme);
        EXPECT_GE(ContrastRatio(c.nameText, c.nameBack), kReadableContrast) << static_cast<int>(scheme);
    }
    const GridColours dark = ChooseGridColours(GridScheme::Dark, windows10, Colours(0x0000FF, 0x00FF00));
    EXPECT_GE(ContrastRatio(dark.cursor, dark.background), 3.0) << "the cursor stands out as a control must";
    EXPECT_EQ(dark.badgeBack, 0x0000FFu) << "the user's badge colours stay as stored";
    EXPECT_EQ(dark.badgeText, 0x00FF00u);
}

TEST(GridColours, HighContrastFromTheSystemOrElseFromTheStoredSetting) {
    struct Case {
        std::optional<uint32_t> system;
        std::optional<std::u16string_view> stored;
        bool expected;
    };
    constexpr uint32_t kOn = kHighContrastOn, kAvailable = kHighContrastAvailable;
    const Case cases[] = {
        {kAvailable | kOn, std::nullopt, true},
        {kAvailable, std::nullopt, false},
        {kAvailable, u"127", false}, // a system that tracks the setting is believed
        {kAvailable | kOn, u"126", true},
        {0u, u"127", true}, // answered without the feature (Wine): the stored setting decides
        {0u, u"126", false},
        {kOn, u"126", false},
        {std::nullopt, u"1", true},
        {std::nullopt, u" 127 ", true},
        {std::nullopt, u"", false},
        {std::nullopt, u"12a", false},
        {std::nullopt, u"-1", false},
        {std::nullopt, u"999999999", true},
        {std::nullopt, u"1000000001", false}, // ten digits: no number
        {std::nullopt, std::nullopt, false},
        {0u, std::nullopt, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HighContrastOn(c.system, c.stored), c.expected)
            << "system " << (c.system ? static_cast<int>(*c.system) : -1) << " stored "
            << (c.stored ? std::string(c.stored->begin(), c.stored->end()) : std::string("none"));
}

} // namespace
} // namespace vantrel
