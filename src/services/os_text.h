#pragma once
// Operating-system facts expressed as plain values: the version number, the settings file names and the
// shifted digits of the two keyboard layouts.

#include <cstdint>
#include <string>

namespace vantrel {

// major * 100 + minor, plus 1000 on the NT family (platform id 2); 1602 for 6.2 (Windows 8) and every later NT.
int32_t WinVersionNumber(uint32_t major, uint32_t minor, uint32_t platformId);

// Build number text of the registry ("22631") as an integer; 0 when empty or not a number.
int32_t ParseBuildNumber(std::u16string_view text);

// false only for a Japanese keyboard (type 7) whose subtype is neither 0 nor 1.
bool IsUsKeyboard(int32_t keyboardType, int32_t keyboardSubtype);

// Settings folder and file of environment file number n (1..5) under the base folder.
std::u16string SettingsFolder(const std::u16string& baseFolder);
std::u16string SettingsFileLeafName(int32_t fileNumber); // "vantrel.ini", "vantrel2.ini", ...
// The older folder whose files are copied once into the settings folder.
std::u16string LegacySettingsFolder(const std::u16string& baseFolder);

// The automatic-start value that starts the program at this path: the path in quotes, without arguments. Unquoted,
// a path with a space ("C:\My Tools\vantrel\vantrel.exe") is first tried as "C:\My.exe" when the user logs in.
std::u16string AutoRunValue(std::u16string_view programPath);
// Whether a Run value starts the program at this path: the path quoted, or bare as older versions wrote it,
// compared without regard to ASCII letter case; blanks around it do not count.
bool AutoRunNamesProgram(std::u16string_view value, std::u16string_view programPath);

// Shifted character of a digit on the selected layout, or 0; and back.
char16_t ShiftedDigitChar(char16_t c, bool usKeyboard);
char16_t DigitOfShiftedChar(char16_t c, bool usKeyboard);

} // namespace vantrel
