#include "services/os_text.h"

#include <gtest/gtest.h>

#include "services/text.h"

namespace vantrel {
namespace {

TEST(OsText, VersionNumbers) {
    EXPECT_EQ(WinVersionNumber(4, 10, 1), 410);
    EXPECT_EQ(WinVersionNumber(4, 90, 1), 490);
    EXPECT_EQ(WinVersionNumber(5, 0, 2), 1500);
    EXPECT_EQ(WinVersionNumber(5, 1, 2), 1501);
    EXPECT_EQ(WinVersionNumber(6, 1, 2), 1601);
    EXPECT_EQ(WinVersionNumber(6, 2, 2), 1602);
}

TEST(OsText, BuildNumbers) {
    EXPECT_EQ(ParseBuildNumber(u"22000"), 22000);
    EXPECT_EQ(ParseBuildNumber(u"21999"), 21999);
    EXPECT_EQ(ParseBuildNumber(u""), 0);
    EXPECT_EQ(ParseBuildNumber(u"abc"), 0);
    EXPECT_EQ(ParseBuildNumber(u"99999999999999"), 0);
}

TEST(OsText, KeyboardLayouts) {
    EXPECT_TRUE(IsUsKeyboard(4, 0));
    EXPECT_TRUE(IsUsKeyboard(7, 0));
    EXPECT_TRUE(IsUsKeyboard(7, 1));
    EXPECT_FALSE(IsUsKeyboard(7, 2));
    EXPECT_FALSE(IsUsKeyboard(7, 13));
}

TEST(OsText, SettingsFileNames) {
    const std::u16string base = u"C:\\Users\\me\\AppData\\Roaming";
    EXPECT_EQ(SettingsFileName(base, 1), base + u"\\vantrel64\\vantrel.ini");
    EXPECT_EQ(SettingsFileName(base, 3), base + u"\\vantrel64\\vantrel3.ini");
    EXPECT_EQ(SettingsFileLeafName(5), u"vantrel5.ini");
    EXPECT_EQ(LegacySettingsFolder(base), base + u"\\vantrel");
}

TEST(OsText, ShiftedDigitsOnBothLayouts) {
    EXPECT_EQ(ShiftedDigitChar(u'1', true), u'!');
    EXPECT_EQ(ShiftedDigitChar(u'1', false), u'!');
    EXPECT_EQ(ShiftedDigitChar(u'2', true), u'@');
    EXPECT_EQ(ShiftedDigitChar(u'2', false), u'"');
    EXPECT_EQ(ShiftedDigitChar(u'0', true), u')');
    EXPECT_EQ(ShiftedDigitChar(u'0', false), u'\uFF66');
    EXPECT_EQ(ShiftedDigitChar(u'a', true), 0);
    EXPECT_EQ(DigitOfShiftedChar(u'(', true), u'9');
    EXPECT_EQ(DigitOfShiftedChar(u'(', false), u'8');
    EXPECT_EQ(DigitOfShiftedChar(u'a', true), 0);
    EXPECT_EQ(DigitOfShiftedChar(0, false), 0);
    for (char16_t d = u'0'; d <= u'9'; ++d)
        for (bool us : {true, false})
            EXPECT_EQ(DigitOfShiftedChar(ShiftedDigitChar(d, us), us), d);
}

TEST(Text, DecimalAndUtf8) {
    EXPECT_EQ(DecimalText(0), u"0");
    EXPECT_EQ(DecimalText(-42), u"-42");
    EXPECT_EQ(DecimalText(INT64_MIN), u"-9223372036854775808");
    EXPECT_EQ(Utf16ToUtf8(u"v\u65E5\U0001F600"), "v\xE6\x97\xA5\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToUtf16("v\xE6\x97\xA5\xF0\x9F\x98\x80"), u"v\u65E5\U0001F600");
    EXPECT_EQ(Utf8ToUtf16("a\xE6\x97"), u"a\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xFF"), u"\uFFFD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

} // namespace
} // namespace vantrel
