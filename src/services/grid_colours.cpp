#include "services/grid_colours.h"

#include <algorithm>
#include <cmath>

namespace vantrel {

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

// The dark scheme, as 0x00BBGGRR: the greys of Windows' own dark apps and a light blue cursor.
constexpr uint32_t kDarkBackground = 0x202020;
constexpr uint32_t kDarkLabel = 0xDADADA;
constexpr uint32_t kDarkNameBack = 0x2B2B2B;
constexpr uint32_t kDarkNameText = 0xFFFFFF;
constexpr uint32_t kDarkCursor = 0xFFC24C;
constexpr uint32_t kDarkCursorLight = 0xA0A0A0;
constexpr uint32_t kDarkCursorShadow = 0x606060;
constexpr uint32_t kDarkCursorFill = 0x784000;
constexpr uint32_t kDarkFrameShadow = 0x141414;
constexpr uint32_t kDarkFrameLight = 0x3C3C3C;
// Masked over the icon: the dots sink into the background, the rest of the icon is dimmed a little.
constexpr uint32_t kDarkNotUsedKeep = 0xB0B0B0;

// Relative luminance of one channel, as the readability measure defines it.
double Linear(uint32_t channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(uint32_t colour) {
    return 0.2126 * Linear(colour & 0xFF) + 0.7152 * Linear((colour >> 8) & 0xFF) +
           0.0722 * Linear((colour >> 16) & 0xFF);
}

// The wanted text colour when it reads well on the background; else black or white, whichever reads better.
uint32_t Readable(uint32_t text, uint32_t background) {
    if (ContrastRatio(text, background) >= kReadableContrast)
        return text;
    return ContrastRatio(kBlack, background) >= ContrastRatio(kWhite, background) ? kBlack : kWhite;
}

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

GridScheme ChooseGridScheme(bool highContrast, bool appsDark, int32_t colorScheme) {
    if (highContrast)
        return GridScheme::HighContrast;
    switch (colorScheme) {
    case kColorsLight:
        return GridScheme::Light;
    case kColorsDark:
        return GridScheme::Dark;
    default:
        return appsDark ? GridScheme::Dark : GridScheme::Light;
    }
}

bool AppsDarkFrom(std::optional<uint32_t> appsUseLightTheme) {
    return appsUseLightTheme && *appsUseLightTheme == 0;
}

double ContrastRatio(uint32_t a, uint32_t b) {
    const double la = Luminance(a & 0xFFFFFF);
    const double lb = Luminance(b & 0xFFFFFF);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

GridColours ChooseGridColours(GridScheme scheme, const SystemColours& system, const TOption& option) {
    GridColours c;
    const uint32_t userCursor = static_cast<uint32_t>(option.BackColor) & 0xFFFFFF;
    switch (scheme) {
    case GridScheme::Light:
        c.background = system.face;
        c.label = Readable(system.faceText, system.face);
        c.nameText = Readable(kBlack, system.face);
        c.nameBack = system.face;
        c.cursor = userCursor;
        c.cursorLight = system.light;
        c.cursorShadow = system.shadow;
        c.cursorFill = kBlack;
        c.frameShadow = system.shadow;
        c.frameLight = system.light;
        c.notUsedDots = kBlack;
        c.notUsedKeep = system.face;
        break;
    case GridScheme::Dark:
        c.dark = true;
        c.background = kDarkBackground;
        c.label = kDarkLabel;
        c.nameText = kDarkNameText;
        c.nameBack = kDarkNameBack;
        c.cursor = kDarkCursor;
        c.cursorLight = kDarkCursorLight;
        c.cursorShadow = kDarkCursorShadow;
        c.cursorFill = kDarkCursorFill;
        c.frameShadow = kDarkFrameShadow;
        c.frameLight = kDarkFrameLight;
        c.notUsedDots = kDarkBackground;
        c.notUsedKeep = kDarkNotUsedKeep;
        break;
    case GridScheme::HighContrast: {
        c.highContrast = true;
        c.background = system.window;
        c.label = Readable(system.windowText, system.window);
        c.nameText = c.label;
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
        c.notUsedDots = kBlack;
        c.notUsedKeep = system.window;
        return c;
    }
    }
    // The user's badge colours, as stored, in the light and the dark scheme alike.
    c.badgeText = static_cast<uint32_t>(option.TextColor) & 0xFFFFFF;
    c.badgeBack = userCursor;
    return c;
}

GridColours ChooseGridColours(const SystemTheme& theme, const TOption& option) {
    return ChooseGridColours(ChooseGridScheme(theme.highContrast, theme.appsDark, option.ColorScheme), theme.colours,
                             option);
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
