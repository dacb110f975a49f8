#include "config/settings_values.h"

#include <algorithm>

#include "services/text.h"

namespace vantrel {

namespace {

std::optional<int32_t> ParseHex(std::u16string_view digits) {
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    uint32_t value = 0;
    for (const char16_t c : digits) {
        uint32_t d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + d;
    }
    return static_cast<int32_t>(value);
}

} // namespace

std::optional<int32_t> ParseIniInteger(std::u16string_view text) {
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        return ParseHex(text.substr(2));
    if (!text.empty() && text[0] == u'$')
        return ParseHex(text.substr(1));

    bool negative = false;
    if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) {
        negative = text[0] == u'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    int64_t value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > int64_t{INT32_MAX} + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::u16string FormatIniInteger(int32_t value) {
    return DecimalText(value);
}

void ClampOption(TOption& option) {
    const TOption defaults;
    auto inRange = [](int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; };

    // A hot key the system cannot register is harmless, but a key code outside a byte is no key at all.
    if (!inRange(option.VkKey, 1, 254))
        option.VkKey = defaults.VkKey;
    if (!inRange(option.VkMod, 0, 15))
        option.VkMod = defaults.VkMod;
    if (!inRange(option.MouseFlag, 0, 3))
        option.MouseFlag = 0;
    option.ColMax = std::clamp(option.ColMax, kMinColumns, kMaxColumns);
    if (!inRange(option.MousePositionFlag, -1, 3))
        option.MousePositionFlag = defaults.MousePositionFlag;
    // These two index the three trays.
    if (!inRange(option.KeyCursorFlag, 0, 2))
        option.KeyCursorFlag = defaults.KeyCursorFlag;
    if (!inRange(option.RightClickFlag, 0, 1))
        option.RightClickFlag = defaults.RightClickFlag;
    if (!inRange(option.FrameType, 0, 1))
        option.FrameType = defaults.FrameType;
    // The desktop wait sleeps for a multiple of this value on the UI thread; a huge one would freeze it.
    if (!inRange(option.WaitDesktop, 0, 6))
        option.WaitDesktop = defaults.WaitDesktop;
    if (!inRange(option.ColorScheme, 0, 2))
        option.ColorScheme = defaults.ColorScheme;
    // Colours are plain RGB; a high byte would make the system read them as palette indexes.
    option.TextColor &= 0xFFFFFF;
    option.BackColor &= 0xFFFFFF;
}

} // namespace vantrel
