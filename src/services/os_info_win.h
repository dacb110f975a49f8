#pragma once
// Questions the program asks Windows about itself and the machine.

#include <string>
#include <vector>

#include <windows.h>

namespace vantrel::win {

// Operating-system version number (major * 100 + minor, + 1000 on the NT family), 1602 from Windows 8 on
// whatever the manifest lets the system report.
int OsVersionNumber();
int OsBuildNumberFromRegistry();
// The three-letter language abbreviation of the user's default locale ("ENU", "JPN"); empty when unknown.
std::wstring LanguageAbbreviation();
bool DetectUsKeyboard();

// %APPDATA% on the NT family; the documents folder followed by the user name elsewhere.
std::wstring SettingsBaseFolder();

// The automatic-start value "Vantrel64" under the current user's Run key starts the running program (or the one
// at programPath): its path quoted, or bare as older versions wrote it.
bool IsAutoRun();
bool IsAutoRun(const std::wstring& programPath);
// Writes (on) the program's path quoted, or removes (off) the value. False when it could not, with the system's
// reason in *reason. Removing a value that is not there, or from a Run key that does not exist, succeeds: nothing
// starts automatically then.
bool SetAutoRun(bool on, std::wstring* reason = nullptr);
bool SetAutoRun(bool on, std::wstring* reason, const std::wstring& programPath);

// "Version a.b.c.d" from the program's own version resource; empty when it has none.
std::wstring VersionText();
// The same text for another file.
std::wstring FileVersionText(const std::wstring& path);

// How long the foreground window may take to show that its thread still answers before this thread ties its
// input to that thread to take the foreground from it.
constexpr UINT kForegroundAnswerMs = 100;

// Brings a window to the front even when another thread owns the foreground, by sharing that thread's input
// for the moment of the switch. A thread that does not answer within kForegroundAnswerMs is left alone and the
// plain request has to do.
void ForceForeground(HWND window);

// Monitor rectangles of the desktop; false when the system offers no monitor enumeration.
bool EnumerateMonitors(std::vector<RECT>& monitors);

} // namespace vantrel::win
