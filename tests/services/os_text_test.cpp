#include "services/os_text.h"

#include <gtest/gtest.h>

#include "services/text.h"
#include "support/utf8.h"

namespace vantrel {
namespace {

TEST(OsText, VersionBuildAndKeyboardNumbers) {
    // What the version query reports once the manifest names 8.1 and 10: every system from 6.2 on is 1602.
    const std::tuple<int, int, int, int32_t> versions[] = {
        {4, 10, 1, 410}, {4, 90, 1, 490},  {5, 0, 2, 1500},  {5, 1, 2, 1501},  {6, 0, 2, 1600},
        {6, 1, 2, 1601}, {6, 2, 2, 1602},  {6, 3, 2, 1602},  {10, 0, 2, 1602}, {11, 0, 2, 1602},
        {7, 0, 2, 1602}, {6, 99, 2, 1602}, {10, 0, 1, 1000}, {5, 99, 2, 1599}};
    for (const auto& [major, minor, platform, number] : versions)
        EXPECT_EQ(WinVersionNumber(major, minor, platform), number) << major << "." << minor;
    for (const auto& [text, build] :
         {std::pair{u"22000", 22000}, {u"21999", 21999}, {u"", 0}, {u"abc", 0}, {u"99999999999999", 0}})
        EXPECT_EQ(ParseBuildNumber(text), build) << Utf16ToUtf8(text);
    for (const auto& [type, subType, us] :
         {std::tuple{4, 0, true}, {7, 0, true}, {7, 1, true}, {7, 2, false}, {7, 13, false}})
        EXPECT_EQ(IsUsKeyboard(type, subType), us) << type << "/" << subType;
}

TEST(OsText, RunValueStartsThisProgramQuotedOrAsOlderVersionsWroteIt) {
    const std::u16string program = u"C:\\My Tools\\vantrel\\vantrel.exe";
    EXPECT_EQ(AutoRunValue(program), u"\"C:\\My Tools\\vantrel\\vantrel.exe\"");
    // A value the box does not recognise is removed by the dialog's next OK: the user loses the start at log-in.
    for (const auto& [value, names] : {std::pair<std::u16string, bool>{AutoRunValue(program), true},
                                       {program, true},
                                       {u"  \"c:\\my tools\\VANTREL\\vantrel.EXE\" ", true},
                                       {u"\"C:\\My Tools\\vantrel\\vantrel.exe", false},
                                       {u"\"C:\\My Tools\\vantrel\\vantrel.exe\" /min", false},
                                       {u"C:\\My Tools\\vantrel\\vantrel.exe.old", false},
                                       {u"\"C:\\Other\\vantrel.exe\"", false},
                                       {u"\"\"", false},
                                       {u"", false}})
        EXPECT_EQ(AutoRunNamesProgram(value, program), names) << Utf16ToUtf8(value);
}

TEST(OsText, SettingsFileNames) {
    const std::u16string base = u"C:\\Users\\me\\AppData\\Roaming";
    EXPECT_EQ(SettingsFolder(base), base + u"\\vantrel64");
    EXPECT_EQ(SettingsFileLeafName(1), u"vantrel.ini");
    EXPECT_EQ(SettingsFileLeafName(3), u"vantrel3.ini");
    EXPECT_EQ(SettingsFileLeafName(5), u"vantrel5.ini");
    EXPECT_EQ(LegacySettingsFolder(base), base + u"\\vantrel");
}

TEST(OsText, ShiftedDigitsOnBothLayouts) {
    // digit, US layout, the character Shift makes of it
    const std::tuple<char16_t, bool, char16_t> shifted[] = {
        {u'1', true, u'!'}, {u'1', false, u'!'},      {u'2', true, u'@'}, {u'2', false, u'"'},
        {u'0', true, u')'}, {u'0', false, u'\uFF66'}, {u'a', true, 0},
    };
    for (const auto& [digit, us, c] : shifted)
        EXPECT_EQ(ShiftedDigitChar(digit, us), c) << static_cast<int>(digit) << us;
    const std::tuple<char16_t, bool, char16_t> digits[] = {
        {u'(', true, u'9'}, {u'(', false, u'8'}, {u'a', true, 0}, {0, false, 0}};
    for (const auto& [c, us, digit] : digits)
        EXPECT_EQ(DigitOfShiftedChar(c, us), digit) << static_cast<int>(c) << us;
    for (char16_t d = u'0'; d <= u'9'; ++d)
        for (bool us : {true, false})
            EXPECT_EQ(DigitOfShiftedChar(ShiftedDigitChar(d, us), us), d);
}

TEST(Text, DecimalAndUtf8) {
    EXPECT_EQ(DecimalText(0), u"0");
    EXPECT_EQ(DecimalText(-42), u"-42");
    EXPECT_EQ(DecimalText(INT64_MIN), u"-9223372036854775808");
    EXPECT_EQ(Utf8ToUtf16("v\xE6\x97\xA5\xF0\x9F\x98\x80"), u"v\u65E5\U0001F600");
    EXPECT_EQ(Utf8ToUtf16("a\xE6\x97"), u"a\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xFF"), u"\uFFFD");
}

} // namespace
} // namespace vantrel
