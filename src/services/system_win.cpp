#include "services/system_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <climits>

#include "services/os_info_win.h"
#include "services/path_macros.h"
#include "win/strings_win.h"
#include "win/window_win.h"

namespace vantrel::win {

namespace {

std::u16string SystemFolder(UINT (*query)(LPWSTR, UINT)) {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = query(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? FromWide(buffer) : std::u16string();
}

DWORD Attributes(const std::u16string& path) {
    return GetFileAttributesW(WidePtr(path));
}

} // namespace

Win32SystemQueries::Win32SystemQueries()
    : systemDirectory_(SystemFolder(&GetSystemDirectoryW)), windowsDirectory_(SystemFolder(&GetWindowsDirectoryW)),
      winVersion_(OsVersionNumber()), buildNumber_(OsBuildNumberFromRegistry()) {}

std::u16string Win32SystemQueries::ExpandEnvironment(const std::u16string& text) const {
    // Sized from the system's own answer, so a long expansion is never cut.
    const DWORD needed = ExpandEnvironmentStringsW(WidePtr(text), nullptr, 0);
    if (needed == 0)
        return text;
    std::wstring buffer(needed, L'\0');
    const DWORD written = ExpandEnvironmentStringsW(WidePtr(text), buffer.data(), needed);
    if (written == 0 || written > needed)
        return text;
    buffer.resize(written - 1);
    return FromWide(buffer);
}

bool Win32SystemQueries::FileExists(const std::u16string& path) const {
    const DWORD attributes = Attributes(path);
    return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

uint32_t Win32SystemQueries::LogicalDrives() const {
    return GetLogicalDrives();
}

bool Win32SystemQueries::IsRemoteDrive(const std::u16string& root) const {
    return GetDriveTypeW(WidePtr(root)) == DRIVE_REMOTE;
}

std::u16string Win32SystemQueries::DriveDisplayName(const std::u16string& root) const {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(WidePtr(root), 0, &info, sizeof(info), SHGFI_DISPLAYNAME))
        return {};
    return FromWide(info.szDisplayName);
}

Win32IconSource::Win32IconSource(const SystemQueries& system) {
    const std::wstring shell32 = ToWide(ExpandPathMacros(u"%sysdir%\\Shell32.Dll", system));
    HICON icon = nullptr;
    if (ExtractIconExW(shell32.c_str(), 0, &icon, nullptr, 1) == 1 && icon)
        defaultFile_ = FromHicon(icon);
    icon = nullptr;
    if (ExtractIconExW(shell32.c_str(), 2, &icon, nullptr, 1) == 1 && icon)
        defaultProgram_ = FromHicon(icon);
    // A system without those icons still needs two distinct, drawable handles.
    if (!defaultFile_)
        defaultFile_ = FromHicon(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
    if (!defaultProgram_)
        defaultProgram_ = FromHicon(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
}

Win32IconSource::~Win32IconSource() {
    if (defaultFile_)
        ::DestroyIcon(ToHicon(defaultFile_));
    if (defaultProgram_)
        ::DestroyIcon(ToHicon(defaultProgram_));
}

IconHandle Win32IconSource::SpecialFolderIcon(const std::u16string& keyword) {
    PIDLIST_ABSOLUTE idList = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, SpecialFolderId(keyword), &idList) != S_OK || !idList)
        return 0;
    SHFILEINFOW info{};
    const DWORD_PTR ok = SHGetFileInfoW(reinterpret_cast<LPCWSTR>(idList), 0, &info, sizeof(info),
                                        SHGFI_PIDL | SHGFI_ICON | SHGFI_LARGEICON);
    CoTaskMemFree(idList);
    return ok ? FromHicon(info.hIcon) : 0;
}

IconHandle Win32IconSource::ShellIcon(const std::u16string& path) {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(WidePtr(path), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_LARGEICON))
        return 0;
    return FromHicon(info.hIcon);
}

IconHandle Win32IconSource::AssociatedIcon(const std::u16string& path) {
    // The call may write a different path into its buffer, so it gets a copy of its own.
    wchar_t buffer[MAX_PATH] = {};
    const std::wstring wide = ToWide(path);
    if (wide.size() >= MAX_PATH)
        return 0;
    wcscpy(buffer, wide.c_str());
    WORD index = 0;
    return FromHicon(ExtractAssociatedIconW(GetModuleHandleW(nullptr), buffer, &index));
}

IconHandle Win32IconSource::ExtractIconAt(const std::u16string& path, int32_t index) {
    HICON icon = nullptr;
    if (index < 0 || ExtractIconExW(WidePtr(path), index, &icon, nullptr, 1) != 1)
        return 0;
    return FromHicon(icon);
}

bool Win32IconSource::PathExists(const std::u16string& path) {
    return !path.empty() && Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

std::u16string Win32IconSource::OwnExePath() {
    return FromWide(ModulePath());
}

void Win32IconSource::DestroyIcon(IconHandle icon) {
    ::DestroyIcon(ToHicon(icon));
}

std::vector<IconHandle> Win32IconSource::ExtractAllIcons(const std::u16string& path, std::size_t limit) {
    std::vector<IconHandle> found;
    // The count first (-1 asks for it), then all of them in one call: the file is opened twice, not once an icon.
    const UINT count = ExtractIconExW(WidePtr(path), -1, nullptr, nullptr, 0);
    if (count == 0 || count == UINT_MAX)
        return found;
    std::vector<HICON> icons(std::min<std::size_t>(count, limit), nullptr);
    const UINT extracted = ExtractIconExW(WidePtr(path), 0, icons.data(), nullptr, static_cast<UINT>(icons.size()));
    for (UINT i = 0; i < icons.size(); ++i) {
        // A file that yields fewer icons than it announced ends the strip at the first missing one.
        if (i >= extracted || !icons[i]) {
            for (UINT j = i; j < icons.size(); ++j)
                if (icons[j])
                    ::DestroyIcon(icons[j]);
            break;
        }
        found.push_back(FromHicon(icons[i]));
    }
    return found;
}

IconRef::Destroyer Win32IconSource::IconDestroyer() {
    return [](IconHandle icon) { ::DestroyIcon(ToHicon(icon)); };
}

} // namespace vantrel::win
