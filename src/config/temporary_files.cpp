#include "config/temporary_files.h"

#include "config/environments.h"
#include "services/os_text.h"
#include "services/text.h"

namespace vantrel::config {

namespace {

constexpr std::u16string_view kSuffix = u".tmp";
// A 32-bit number in hexadecimal never needs more digits.
constexpr std::size_t kMaxHexDigits = 8;

std::u16string Hex(uint32_t value) {
    constexpr char16_t kDigits[] = u"0123456789abcdef";
    std::u16string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return text;
}

bool IsHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool IsHexNumber(std::u16string_view text) {
    if (text.empty() || text.size() > kMaxHexDigits)
        return false;
    for (char16_t c : text)
        if (!IsHexDigit(c))
            return false;
    return true;
}

} // namespace

std::u16string TemporaryFileName(const std::u16string& target, uint32_t processId, uint32_t n) {
    return target + u"." + Hex(processId) + u"-" + Hex(n) + std::u16string(kSuffix);
}

bool IsSettingsTemporaryFile(std::u16string_view name) {
    if (name.size() <= kSuffix.size() || !EqualsNoCase(name.substr(name.size() - kSuffix.size()), kSuffix))
        return false;
    name.remove_suffix(kSuffix.size());
    const std::size_t dash = name.rfind(u'-');
    if (dash == std::u16string_view::npos || !IsHexNumber(name.substr(dash + 1)))
        return false;
    name = name.substr(0, dash);
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos || !IsHexNumber(name.substr(dot + 1)))
        return false;
    const std::u16string_view target = name.substr(0, dot);
    for (int32_t file = 1; file <= kMaxEnvironments; ++file)
        if (EqualsNoCase(target, SettingsFileLeafName(file)))
            return true;
    return false;
}

} // namespace vantrel::config
