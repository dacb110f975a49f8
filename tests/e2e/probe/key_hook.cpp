// The keyboard half of vanprobe_hook.dll (see key_log.h): runs in the hooked program's thread.

#include <windows.h>

#include "key_log.h"

namespace {

vanprobe::KeyLog* OpenLog() {
    // Opened once in the hooked process and kept for as long as the library stays loaded there.
    static vanprobe::KeyLog* log = [] {
        HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, vanprobe::kKeyLogName);
        return mapping ? static_cast<vanprobe::KeyLog*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0)) : nullptr;
    }();
    return log;
}

bool Held(int vk) {
    return GetKeyState(vk) < 0;
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK VanprobeKeyHook(int code, WPARAM wParam, LPARAM lParam) {
    // Bit 31 of lParam is set for a key being let go; only presses are logged.
    if (code == HC_ACTION && (lParam & 0x80000000) == 0) {
        if (vanprobe::KeyLog* log = OpenLog()) {
            const LONG index = InterlockedIncrement(&log->count) - 1;
            if (index < vanprobe::kKeyLogCapacity) {
                log->entries[index].vk = static_cast<uint32_t>(wParam);
                log->entries[index].modifiers = (Held(VK_CONTROL) ? vanprobe::kKeyCtrl : 0) |
                                                (Held(VK_MENU) ? vanprobe::kKeyAlt : 0) |
                                                (Held(VK_SHIFT) ? vanprobe::kKeyShift : 0);
                MemoryBarrier();
                InterlockedIncrement(&log->written);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
