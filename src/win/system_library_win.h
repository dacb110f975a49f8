#pragma once
// Where the program takes libraries and helper programs from. A copy of the program may sit in a folder anyone can
// write to (Downloads, a USB stick): a library or program of the same name as a system one placed beside it, or in
// the folder the program was started from, must never be what runs.

#include <string>

#include <windows.h>

namespace vantrel::win {

// Libraries asked for by name (by the program, its delay-loaded imports and the system's own libraries) are then
// looked for in the system folder only, neither beside the program nor in the current folder. Called first.
void RestrictLibrarySearch();

// The system folder (System32) and the Windows folder, without a trailing backslash.
std::wstring SystemFolder();
std::wstring WindowsFolder();

// A library of the system folder, by its full path.
HMODULE LoadSystemLibrary(const wchar_t* fileName);
// A library by its full path, whose own dependencies come from the system folder only.
HMODULE LoadLibraryAt(const std::wstring& path);

} // namespace vantrel::win
