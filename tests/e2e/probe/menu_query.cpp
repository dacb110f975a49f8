#include "menu_query.h"

#include <string>

namespace vanprobe {

namespace {

// The hook library lies beside the probe.
std::wstring HookLibraryPath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    const size_t slash = folder.find_last_of(L"\\/");
    folder.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return folder + L"vanprobe_hook.dll";
}

void Parse(const std::wstring& text, std::vector<MenuItem>& items) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = text.substr(start, end - start);
        start = end + 1;
        const size_t tab = line.find(L'\t');
        if (tab == std::wstring::npos)
            continue;
        const std::wstring flags = line.substr(0, tab);
        MenuItem item;
        item.text = line.substr(tab + 1);
        item.separator = flags.find(L'S') != std::wstring::npos;
        item.grayed = flags.find(L'G') != std::wstring::npos;
        item.disabled = flags.find(L'D') != std::wstring::npos;
        item.checked = flags.find(L'C') != std::wstring::npos;
        items.push_back(item);
    }
}

} // namespace

bool ReadPopupMenu(HWND menuWindow, DWORD timeoutMs, std::vector<MenuItem>& items, std::wstring& error) {
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(menuWindow, &processId);
    if (!threadId) {
        error = L"the menu window is gone";
        return false;
    }

    const std::wstring name = std::wstring(kMenuSharedPrefix) + std::to_wstring(GetCurrentProcessId());
    HANDLE mapping =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kMenuSharedBytes, name.c_str());
    if (!mapping) {
        error = L"CreateFileMapping failed: " + std::to_wstring(GetLastError());
        return false;
    }
    auto* answer = static_cast<MenuAnswer*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    HMODULE hookLibrary = answer ? LoadLibraryW(HookLibraryPath().c_str()) : nullptr;
    auto* hookProc =
        hookLibrary
            ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hookLibrary, "VanprobeMenuHook")))
            : nullptr;
    HHOOK hook = hookProc ? SetWindowsHookExW(WH_CALLWNDPROC, hookProc, hookLibrary, threadId) : nullptr;
    bool ok = false;
    if (!answer)
        error = L"MapViewOfFile failed";
    else if (!hookProc)
        error = L"cannot load vanprobe_hook.dll beside the probe";
    else if (!hook)
        error = L"SetWindowsHookEx failed: " + std::to_wstring(GetLastError());
    else {
        answer->ready = 0;
        DWORD_PTR ignored = 0;
        // The menu's thread is inside its own message loop; it handles sent messages there, running our hook
        // first. SMTO_ABORTIFHUNG keeps a frozen program from holding the probe.
        SendMessageTimeoutW(menuWindow, RegisterWindowMessageW(kMenuQueryMessage), GetCurrentProcessId(), 0,
                            SMTO_ABORTIFHUNG, timeoutMs, &ignored);
        if (answer->ready == kMenuAnswerReady) {
            MemoryBarrier();
            Parse(std::wstring(answer->text, answer->length < kMenuAnswerCapacity ? answer->length : 0), items);
            ok = true;
        } else {
            error = L"the menu's process did not answer";
        }
    }
    if (hook)
        UnhookWindowsHookEx(hook);
    if (hookLibrary)
        FreeLibrary(hookLibrary);
    if (answer)
        UnmapViewOfFile(answer);
    CloseHandle(mapping);
    return ok;
}

} // namespace vanprobe
