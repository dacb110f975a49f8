#include "win/system_library_win.h"

namespace vantrel::win {

namespace {

using FolderQuery = UINT(WINAPI*)(LPWSTR, UINT);

std::wstring Folder(FolderQuery query) {
    wchar_t path[MAX_PATH] = {};
    const UINT length = query(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

} // namespace

void RestrictLibrarySearch() {
    // Looked up by name: Windows 7 and Vista have it only with an update, and the program must start without.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (!setDefault || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        SetDllDirectoryW(L""); // at least not the current folder
}

std::wstring SystemFolder() {
    return Folder(&GetSystemDirectoryW);
}

std::wstring WindowsFolder() {
    return Folder(&GetWindowsDirectoryW);
}

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
    const std::wstring folder = SystemFolder();
    return folder.empty() ? nullptr : LoadLibraryAt(folder + L"\\" + fileName);
}

HMODULE LoadLibraryAt(const std::wstring& path) {
    if (HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    // A system without the search flags refuses them; the restricted default search then applies.
    return GetLastError() == ERROR_INVALID_PARAMETER ? LoadLibraryExW(path.c_str(), nullptr, 0) : nullptr;
}

} // namespace vantrel::win
