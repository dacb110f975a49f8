#include "key_log.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vanprobe {

namespace {

struct Target {
    const wchar_t* className;
    HWND window = nullptr;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM data) {
    auto& target = *reinterpret_cast<Target*>(data);
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    if (IsWindowVisible(window) && _wcsicmp(name, target.className) == 0) {
        target.window = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring HookLibraryPath() {
    wchar_t path[MAX_PATH] = {};
    std::wstring folder(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + L"vanprobe_hook.dll";
}

} // namespace

int KeyLogCommand(int argc, wchar_t** argv) {
    if (argc != 4)
        return 2;
    Target target{argv[2]};
    EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&target));
    const DWORD thread = target.window ? GetWindowThreadProcessId(target.window, nullptr) : 0;
    if (!thread) {
        std::fprintf(stderr, "no visible window of that class\n");
        return 1;
    }
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(KeyLog), kKeyLogName);
    auto* log = mapping ? static_cast<KeyLog*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
    HMODULE library = log ? LoadLibraryW(HookLibraryPath().c_str()) : nullptr;
    auto* proc = library
                     ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(library, "VanprobeKeyHook")))
                     : nullptr;
    HHOOK hook = proc ? SetWindowsHookExW(WH_KEYBOARD, proc, library, thread) : nullptr;
    if (!hook) {
        std::fprintf(stderr, "cannot hook the window's thread (%lu)\n", GetLastError());
        return 1;
    }
    std::printf("hooked\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(_wtoi(argv[3])));
    UnhookWindowsHookEx(hook);
    const LONG count = log->written < kKeyLogCapacity ? log->written : kKeyLogCapacity;
    for (LONG i = 0; i < count; ++i) {
        const KeyLogEntry& entry = log->entries[i];
        std::string held;
        for (const auto& [bit, name] : {std::pair{kKeyCtrl, "ctrl"}, {kKeyAlt, "alt"}, {kKeyShift, "shift"}}) {
            if (!(entry.modifiers & bit))
                continue;
            if (!held.empty())
                held += '+';
            held += name;
        }
        std::printf("0x%02X\t%s\n", entry.vk, held.empty() ? "-" : held.c_str());
    }
    UnmapViewOfFile(log);
    CloseHandle(mapping);
    FreeLibrary(library);
    return 0;
}

} // namespace vanprobe
