#pragma once
// The colours the tray grids are drawn in. In the light scheme the window is button face with the user's cursor
// and badge colours (BackColor, TextColor); in the dark scheme, chosen when Windows' apps are dark or by the
// option, it is dark grey with light text and a light cursor, the badges still in the user's colours; in the
// system's high-contrast mode the grids take the system's own scheme instead (window, window text, highlight and
// highlight text), whatever else is chosen, so that a user who needs strong contrast sees the launcher and the
// settings dialogs' grids like every other window. Text is at least 4.5 times as bright as its background, or the
// other way round, in every scheme.

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/records.h"

namespace vantrel {

// The system colours the decision reads, as 0x00BBGGRR values.
struct SystemColours {
    uint32_t face = 0xC0C0C0;   // button face
    uint32_t faceText = 0;      // button text
    uint32_t shadow = 0x808080; // button shadow
    uint32_t light = 0xFFFFFF;  // button highlight
    uint32_t window = 0xFFFFFF;
    uint32_t windowText = 0;
    uint32_t highlight = 0x800000;
    uint32_t highlightText = 0xFFFFFF;
    friend bool operator==(const SystemColours&, const SystemColours&) = default;
};

enum class GridScheme { Light, Dark, HighContrast };

// The option "Colours:" (ColorScheme): follow Windows, always light, always dark.
constexpr int32_t kColorsFollowWindows = 0;
constexpr int32_t kColorsLight = 1;
constexpr int32_t kColorsDark = 2;

// High contrast wins; otherwise the option, which by default follows what Windows says of its apps.
GridScheme ChooseGridScheme(bool highContrast, bool appsDark, int32_t colorScheme);

// Windows' apps are dark: its "AppsUseLightTheme" value is 0 (absent on systems without the setting).
bool AppsDarkFrom(std::optional<uint32_t> appsUseLightTheme);

struct GridColours {
    uint32_t background = 0; // the window, the tray boxes and every erased cell
    uint32_t label = 0;      // the tray captions
    uint32_t nameText = 0;   // the name panel's text and its field
    uint32_t nameBack = 0;
    uint32_t cursor = 0;      // the box cursor's frame
    uint32_t cursorLight = 0; // the button cursor's upper-left and lower-right edges
    uint32_t cursorShadow = 0;
    uint32_t cursorFill = 0; // the registration dialog's filled cursor
    uint32_t badgeText = 0;  // a direct key's or a task number's badge
    uint32_t badgeBack = 0;
    uint32_t frameShadow = 0; // the sunken frame around a tray box
    uint32_t frameLight = 0;
    uint32_t notUsedDots = 0; // the checkerboard over a not-used item: its dots, and what the icon shows through
    uint32_t notUsedKeep = 0;
    bool highContrast = false;
    bool dark = false;
    friend bool operator==(const GridColours&, const GridColours&) = default;
};

GridColours ChooseGridColours(GridScheme scheme, const SystemColours& system, const TOption& option);
// Light, or the system's in high contrast: for grids that do not follow the dark setting.
inline GridColours ChooseGridColours(bool highContrast, const SystemColours& system, const TOption& option) {
    return ChooseGridColours(highContrast ? GridScheme::HighContrast : GridScheme::Light, system, option);
}

// What the system says that the grids' colours depend on.
struct SystemTheme {
    SystemColours colours;
    bool highContrast = false;
    bool appsDark = false; // Windows' apps are dark
    friend bool operator==(const SystemTheme&, const SystemTheme&) = default;
};

// The colours of the scheme the theme and the option ColorScheme choose.
GridColours ChooseGridColours(const SystemTheme& theme, const TOption& option);

// How much brighter the brighter of two 0x00BBGGRR colours is, as readability is measured (1 to 21).
double ContrastRatio(uint32_t a, uint32_t b);
constexpr double kReadableContrast = 4.5;

// Whether high contrast is on, from the system's answer (its HIGHCONTRAST flags, when it answered) and the
// setting the system keeps for the user (the "Flags" text under Control Panel\Accessibility\HighContrast,
// when present). A system that offers the feature says so with the "available" flag, and its answer holds;
// one that answers without it (Wine) does not track the setting, which then decides.
constexpr uint32_t kHighContrastOn = 0x1;
constexpr uint32_t kHighContrastAvailable = 0x2;
bool HighContrastOn(std::optional<uint32_t> systemFlags, std::optional<std::u16string_view> storedFlags);

} // namespace vantrel
