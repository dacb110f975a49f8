#include "services/grid_colours.h"

namespace vantrel {

namespace {

constexpr uint32_t kBlack = 0x000000;

// A decimal number of at most nine digits, blanks around it allowed; anything else is no number.
std::optional<uint32_t> ParseFlags(std::u16string_view text) {
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    uint32_t value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + static_cast<uint32_t>(c - u'0');
    }
    return value;
}

} // namespace

GridColours ChooseGridColours(bool highContrast, const SystemColours& system, const TOption& option) {
    GridColours c;
    c.highContrast = highContrast;
    if (!highContrast) {
        c.background = system.face;
        c.label = system.faceText;
        c.nameText = kBlack;
        c.nameBack = system.face;
        c.cursor = static_cast<uint32_t>(option.BackColor) & 0xFFFFFF;
        c.cursorLight = system.light;
        c.cursorShadow = system.shadow;
        c.cursorFill = kBlack;
        c.badgeText = static_cast<uint32_t>(option.TextColor) & 0xFFFFFF;
        c.badgeBack = static_cast<uint32_t>(option.BackColor) & 0xFFFFFF;
        c.frameShadow = system.shadow;
        c.frameLight = system.light;
        return c;
    }
    c.background = system.window;
    c.label = system.windowText;
    c.nameText = system.windowText;
    c.nameBack = system.window;
    // A scheme whose highlight is its window colour would hide the cursor: it is drawn in the text colour then.
    const uint32_t cursor = system.highlight != system.window ? system.highlight : system.windowText;
    c.cursor = cursor;
    c.cursorLight = cursor;
    c.cursorShadow = cursor;
    c.cursorFill = cursor;
    // The badge is highlight text on highlight, the pair every scheme keeps readable; should a scheme make them
    // equal, window text on window is.
    if (system.highlightText != system.highlight) {
        c.badgeText = system.highlightText;
        c.badgeBack = system.highlight;
    } else {
        c.badgeText = system.windowText;
        c.badgeBack = system.window;
    }
    // The boxes' edges in the text colour: the 3-D shades of a high-contrast scheme may vanish on its window.
    c.frameShadow = system.windowText;
    c.frameLight = system.windowText;
    return c;
}

bool HighContrastOn(std::optional<uint32_t> systemFlags, std::optional<std::u16string_view> storedFlags) {
    if (systemFlags && (*systemFlags & kHighContrastAvailable))
        return (*systemFlags & kHighContrastOn) != 0;
    if (!storedFlags)
        return false;
    const auto flags = ParseFlags(*storedFlags);
    return flags && (*flags & kHighContrastOn) != 0;
}

} // namespace vantrel
