#include "services/grid_colours_win.h"

#include <windows.h>

#include <string>

namespace vantrel::win {

namespace {

uint32_t Colour(int index) {
    return static_cast<uint32_t>(GetSysColor(index));
}

// The "Flags" text Windows keeps for the user's high-contrast setting ("126" off, "127" on).
std::optional<std::u16string> StoredHighContrastFlags() {
    wchar_t text[32] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Accessibility\\HighContrast", L"Flags", RRF_RT_REG_SZ, nullptr,
                     text, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t*>(text));
}

} // namespace

SystemColours ReadSystemColours() {
    SystemColours c;
    c.face = Colour(COLOR_BTNFACE);
    c.faceText = Colour(COLOR_BTNTEXT);
    c.shadow = Colour(COLOR_BTNSHADOW);
    c.light = Colour(COLOR_BTNHIGHLIGHT);
    c.window = Colour(COLOR_WINDOW);
    c.windowText = Colour(COLOR_WINDOWTEXT);
    c.highlight = Colour(COLOR_HIGHLIGHT);
    c.highlightText = Colour(COLOR_HIGHLIGHTTEXT);
    return c;
}

bool ReadHighContrast() {
    HIGHCONTRASTW answer{};
    answer.cbSize = sizeof(answer);
    std::optional<uint32_t> flags;
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(answer), &answer, 0))
        flags = answer.dwFlags;
    // Read only when the system's answer leaves it open: a registry round trip costs more than the question.
    if (flags && (*flags & kHighContrastAvailable))
        return HighContrastOn(flags, std::nullopt);
    const auto stored = StoredHighContrastFlags();
    return HighContrastOn(flags, stored ? std::optional<std::u16string_view>(*stored) : std::nullopt);
}

bool ReadAppsDark() {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                     L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return AppsDarkFrom(std::nullopt);
    return AppsDarkFrom(value);
}

SystemTheme ReadSystemTheme() {
    return {ReadSystemColours(), ReadHighContrast(), ReadAppsDark()};
}

} // namespace vantrel::win
