#include "services/grid_colours.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

// A scheme whose colours are all different, so that every choice can be told apart.
SystemColours Distinct() {
    SystemColours s;
    s.face = 0x101010;
    s.faceText = 0x202020;
    s.shadow = 0x303030;
    s.light = 0x404040;
    s.window = 0x505050;
    s.windowText = 0x606060;
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
    EXPECT_EQ(c.background, 0x101010u);
    EXPECT_EQ(c.label, 0x202020u);
    EXPECT_EQ(c.nameText, 0x000000u) << "the name label is black";
    EXPECT_EQ(c.nameBack, 0x101010u);
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
    EXPECT_EQ(c.background, 0x505050u);
    EXPECT_EQ(c.label, 0x606060u);
    EXPECT_EQ(c.nameText, 0x606060u);
    EXPECT_EQ(c.nameBack, 0x505050u);
    EXPECT_EQ(c.cursor, 0x707070u);
    EXPECT_EQ(c.cursorLight, 0x707070u) << "the button cursor too";
    EXPECT_EQ(c.cursorShadow, 0x707070u);
    EXPECT_EQ(c.cursorFill, 0x707070u);
    EXPECT_EQ(c.badgeText, 0x808080u);
    EXPECT_EQ(c.badgeBack, 0x707070u);
    EXPECT_EQ(c.frameShadow, 0x606060u);
    EXPECT_EQ(c.frameLight, 0x606060u);
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
