#pragma once
// The programs behind windows: which program file owns a window, and the programs of the windows on the desktop,
// for the list of programs vantrel leaves alone.

#include <string>
#include <vector>

#include <windows.h>

namespace vantrel::win {

// The full path of the program that owns the window; empty when there is no window or the system does not say
// (a process of another user, one that has just ended).
std::u16string ProgramPathOfWindow(HWND window);

// The program paths of the visible, titled top-level windows a user switches between (tool windows left out), in
// the window system's order, each process once.
std::vector<std::u16string> ProgramPathsOfDesktopWindows();

// This program's own path.
std::u16string OwnProgramPath();

} // namespace vantrel::win
