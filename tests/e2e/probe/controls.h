#pragma once
// Questions about another program's dialog windows; a hot key held for the scenarios that need a combination
// another program owns, and a file held open the way a backup tool holds it.

#include <windows.h>

namespace vanprobe {

// controls <class> <title>: every control of the first visible top-level window of that class and title, one
// line each: id, class, text, screen rectangle, visible, enabled, check state (buttons; -1 otherwise) and
// selected line (list and combo boxes; -1 otherwise).
int Controls(int argc, wchar_t** argv);

// list-lines <class> <title> <id>: the lines of a list box or combo box of that window.
int ListLines(int argc, wchar_t** argv);

// file-version <path>: the product version of a file's version resource, "a.b.c.d".
int FileVersion(int argc, wchar_t** argv);

// hold-hotkey <modifiers> <vk> <ms>: registers the hot key for this process and keeps it for ms milliseconds
// (prints "held" once it has it; exit code 1 when the combination was taken already).
int HoldHotKey(int argc, wchar_t** argv);

// hold-file <path> <ms>: opens the file without sharing it and keeps it open for ms milliseconds (prints "held"
// once it has it; exit code 1 when it cannot be opened).
int HoldFile(int argc, wchar_t** argv);

} // namespace vanprobe
