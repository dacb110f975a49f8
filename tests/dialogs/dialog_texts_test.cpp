#include "dialogs/dialog_texts.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

bool Contains(const std::u16string& text, std::u16string_view part) {
    return text.find(part) != std::u16string::npos;
}

TEST(DialogTexts, TakenHotKeyNamesTheCombinationAndWhatStillWorks) {
    TOption option;
    option.VkMod = 3;
    option.VkKey = 0x4B;
    const std::u16string chord = HotKeyTakenText(option, false);
    EXPECT_TRUE(Contains(chord, u"Ctrl + Alt + K"));
    EXPECT_TRUE(Contains(chord, u"right mouse button while holding the left one"));
    EXPECT_TRUE(Contains(chord, u"notification area"));
    EXPECT_FALSE(Contains(chord, u"saved"));

    option.MouseFlag = 3;
    EXPECT_TRUE(Contains(HotKeyTakenText(option, false), u"middle mouse button"));

    // With the mouse switched off nothing opens the launcher: the text must not claim otherwise.
    option.MouseFlag = 0;
    const std::u16string none = HotKeyTakenText(option, true);
    EXPECT_FALSE(Contains(none, u"still opens with the mouse"));
    EXPECT_TRUE(Contains(none, u"nothing opens the launcher"));
    EXPECT_TRUE(Contains(none, u"saved"));
}

TEST(DialogTexts, FailuresNameWhatFailedAndWhere) {
    EXPECT_TRUE(Contains(AutoRunFailureText(true, u"Access is denied."), u"Access is denied."));
    EXPECT_TRUE(Contains(AutoRunFailureText(true, u"x"), u"written"));
    EXPECT_TRUE(Contains(AutoRunFailureText(false, u"x"), u"removed"));

    const std::u16string both = HelpMissingText(u"C:\\P\\vantrelj.chm", u"C:\\P\\vantrel.chm");
    EXPECT_TRUE(Contains(both, u"C:\\P\\vantrelj.chm\r\nC:\\P\\vantrel.chm"));
    EXPECT_EQ(HelpMissingText(u"C:\\P\\vantrel.chm", u"").find(u"vantrel.chm"),
              HelpMissingText(u"C:\\P\\vantrel.chm", u"").rfind(u"vantrel.chm"))
        << "the English file is named once";
}

} // namespace
} // namespace vantrel
