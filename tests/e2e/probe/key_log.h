#pragma once
// Which keys another program's thread receives: for "the hot key reaches the program in front".
//
// The probe installs a WH_KEYBOARD hook from vanprobe_hook.dll on the thread of a window; the system loads the
// library into that program and calls the hook as the thread takes each key message from its queue. The hook
// writes every key press, with the modifiers that thread sees held at that moment, into a named shared block
// the probe created and reads when its time is up.

#include <windows.h>

#include <cstdint>

namespace vanprobe {

inline constexpr wchar_t kKeyLogName[] = L"Local\\vanprobe-keys";
inline constexpr LONG kKeyLogCapacity = 256;

// Modifier bits of an entry.
inline constexpr uint32_t kKeyCtrl = 1;
inline constexpr uint32_t kKeyAlt = 2;
inline constexpr uint32_t kKeyShift = 4;

struct KeyLogEntry {
    uint32_t vk;
    uint32_t modifiers;
};
struct KeyLog {
    volatile LONG count; // entries claimed; an entry is complete once `written` has passed it
    volatile LONG written;
    KeyLogEntry entries[kKeyLogCapacity];
};

// key-log <class> <ms>: hooks the thread of the first visible top-level window of that class, prints "hooked"
// once the hook is in, and after ms milliseconds one line per key press that thread took:
// "<vk in hex>\t<modifiers>", the modifiers as "ctrl+alt+shift" (those held) or "-".
int KeyLogCommand(int argc, wchar_t** argv);

} // namespace vanprobe
