#include "services/os_text.h"

#include <string_view>

#include "services/text.h"

namespace vantrel {

int32_t WinVersionNumber(uint32_t major, uint32_t minor, uint32_t platformId) {
    constexpr uint32_t kPlatformNt = 2;
    // The manifest names Windows 8.1, 10 and 11, so the version query reports 6.3 and 10.0 there rather than
    // the 6.2 it reports for an undeclared system. The program's version checks know one number for Windows 8
    // and every later system, 1602; 8.1 (1603) and 10 (2000) would fall outside every comparison written for
    // it, so everything from 6.2 on is 1602.
    if (platformId == kPlatformNt && (major > 6 || (major == 6 && minor >= 2)))
        return 1602;
    // Clamped so that a nonsense answer cannot overflow; real versions are far below.
    const auto value = static_cast<int32_t>((major % 100) * 100 + minor % 100);
    return platformId == kPlatformNt ? value + 1000 : value;
}

int32_t ParseBuildNumber(std::u16string_view text) {
    int64_t value = 0;
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    const std::size_t start = i;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > INT32_MAX)
            return 0;
    }
    return i == start ? 0 : static_cast<int32_t>(value);
}

bool IsUsKeyboard(int32_t keyboardType, int32_t keyboardSubtype) {
    return !(keyboardType == 7 && keyboardSubtype != 0 && keyboardSubtype != 1);
}

std::u16string AutoRunValue(std::u16string_view programPath) {
    std::u16string value(1, u'"');
    value.append(programPath);
    value.push_back(u'"');
    return value;
}

bool AutoRunNamesProgram(std::u16string_view value, std::u16string_view programPath) {
    const auto first = value.find_first_not_of(u' ');
    if (first == std::u16string_view::npos || programPath.empty())
        return false;
    value = value.substr(first, value.find_last_not_of(u' ') - first + 1);
    if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
        value = value.substr(1, value.size() - 2);
    return EqualsNoCase(value, programPath);
}

std::u16string SettingsFolder(const std::u16string& baseFolder) {
    return baseFolder + u"\\vantrel64";
}

std::u16string LegacySettingsFolder(const std::u16string& baseFolder) {
    return baseFolder + u"\\vantrel";
}

std::u16string SettingsFileLeafName(int32_t fileNumber) {
    if (fileNumber == 1)
        return u"vantrel.ini";
    return u"vantrel" + DecimalText(fileNumber) + u".ini";
}

namespace {

constexpr std::u16string_view kUsShifted = u")!@#$%^&*(";
constexpr std::u16string_view kJapaneseShifted = u"\uFF66!\"#$%&'()";

std::u16string_view ShiftedTable(bool usKeyboard) {
    return usKeyboard ? kUsShifted : kJapaneseShifted;
}

} // namespace

char16_t ShiftedDigitChar(char16_t c, bool usKeyboard) {
    if (c < u'0' || c > u'9')
        return 0;
    return ShiftedTable(usKeyboard)[c - u'0'];
}

char16_t DigitOfShiftedChar(char16_t c, bool usKeyboard) {
    const auto pos = ShiftedTable(usKeyboard).find(c);
    return pos == std::u16string_view::npos ? char16_t{0} : static_cast<char16_t>(u'0' + pos);
}

} // namespace vantrel
