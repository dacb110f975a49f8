#include "services/system_win.h"

#include <commctrl.h>
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

// {46EB5926-582E-4017-9FDF-E8998DAA0950}, declared here so that no import library needs to carry it.
const GUID kImageListInterface = {0x46eb5926, 0x582e, 0x4017, {0x9f, 0xdf, 0xe8, 0x99, 0x8d, 0xaa, 0x09, 0x50}};

// The shell's icon of a path or an item-id list at a size other than the standard 32: from the file that holds it,
// extracted at the size, or else from the shell's image list of the next larger size (drawn smaller, never larger).
HICON ShellIconSized(LPCWSTR item, UINT itemFlags, int size) {
    SHFILEINFOW info{};
    if (SHGetFileInfoW(item, 0, &info, sizeof(info), itemFlags | SHGFI_ICONLOCATION) && info.szDisplayName[0])
        if (HICON icon = ExtractSized(info.szDisplayName, info.iIcon, size))
            return icon;
    info = {};
    const auto list = SHGetFileInfoW(item, 0, &info, sizeof(info), itemFlags | SHGFI_SYSICONINDEX);
    if (!list)
        return nullptr;
    const int which = size > 48 ? SHIL_JUMBO : size > 32 ? SHIL_EXTRALARGE : SHIL_LARGE;
    void* images = nullptr;
    if (SHGetImageList(which, kImageListInterface, &images) == S_OK && images) {
        // An IImageList is usable as the image list handle it stands for.
        HICON icon = ImageList_GetIcon(static_cast<HIMAGELIST>(images), info.iIcon, ILD_TRANSPARENT);
        static_cast<IUnknown*>(images)->Release();
        if (icon)
            return icon;
    }
    return nullptr;
}

} // namespace

HICON ExtractSized(const wchar_t* path, int index, int size) {
    // One icon asked for, one handed out: Wine's SHDefExtractIconW asks for two and destroys a second handle it may
    // never have been given, which can be one of ours.
    HICON icon = nullptr;
    const UINT extracted = PrivateExtractIconsW(path, index, size, size, &icon, nullptr, 1, LR_DEFAULTCOLOR);
    if (extracted == 0 || extracted == UINT_MAX || !icon)
        return nullptr;
    return icon;
}

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

Win32IconSource::Win32IconSource(const SystemQueries& system)
    : shell32_(ToWide(ExpandPathMacros(u"%sysdir%\\Shell32.Dll", system))) {}

Win32IconSource::~Win32IconSource() {
    for (const auto& [size, fallback] : fallbacks_) {
        if (fallback.file)
            ::DestroyIcon(ToHicon(fallback.file));
        if (fallback.program)
            ::DestroyIcon(ToHicon(fallback.program));
    }
}

const Win32IconSource::Fallback& Win32IconSource::Fallbacks() const {
    const int32_t size = IconSize();
    auto& fallback = fallbacks_[size];
    // A system without those icons still needs two distinct, drawable handles. Only what is missing is made, so a
    // handle items already borrow is never replaced.
    const auto make = [&](int index) {
        if (HICON icon = ExtractSized(shell32_.c_str(), index, size))
            return FromHicon(icon);
        return FromHicon(static_cast<HICON>(CopyImage(LoadIconW(nullptr, IDI_APPLICATION), IMAGE_ICON, size, size, 0)));
    };
    if (!fallback.file)
        fallback.file = make(0);
    if (!fallback.program)
        fallback.program = make(2);
    return fallback;
}

bool Win32IconSource::IsSharedIcon(IconHandle icon) const {
    for (const auto& [size, fallback] : fallbacks_)
        if (icon && (icon == fallback.file || icon == fallback.program))
            return true;
    return false;
}

IconHandle Win32IconSource::SpecialFolderIcon(const std::u16string& keyword) {
    PIDLIST_ABSOLUTE idList = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, SpecialFolderId(keyword), &idList) != S_OK || !idList)
        return 0;
    if (IconSize() != kStandardIconSize) {
        const HICON icon = ShellIconSized(reinterpret_cast<LPCWSTR>(idList), SHGFI_PIDL, IconSize());
        CoTaskMemFree(idList);
        return FromHicon(icon);
    }
    SHFILEINFOW info{};
    const DWORD_PTR ok = SHGetFileInfoW(reinterpret_cast<LPCWSTR>(idList), 0, &info, sizeof(info),
                                        SHGFI_PIDL | SHGFI_ICON | SHGFI_LARGEICON);
    CoTaskMemFree(idList);
    return ok ? FromHicon(info.hIcon) : 0;
}

IconHandle Win32IconSource::ShellIcon(const std::u16string& path) {
    if (IconSize() != kStandardIconSize)
        return FromHicon(ShellIconSized(WidePtr(path), 0, IconSize()));
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
    if (IconSize() != kStandardIconSize)
        if (HICON icon = ShellIconSized(wide.c_str(), 0, IconSize()))
            return FromHicon(icon);
    wcscpy(buffer, wide.c_str());
    WORD index = 0;
    return FromHicon(ExtractAssociatedIconW(GetModuleHandleW(nullptr), buffer, &index));
}

IconHandle Win32IconSource::ExtractIconAt(const std::u16string& path, int32_t index) {
    if (index < 0)
        return 0;
    return FromHicon(ExtractSized(WidePtr(path), index, IconSize()));
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

std::vector<IconHandle> Win32IconSource::ExtractIcons(const std::u16string& path, int32_t first, int32_t count) {
    // ExtractIconExW hands out the system's standard size only, but reads the file once for all of them.
    if (IconSize() != kStandardIconSize || first < 0 || count < 1)
        return IconSource::ExtractIcons(path, first, count);
    std::vector<HICON> icons(static_cast<std::size_t>(count), nullptr);
    const UINT extracted = ExtractIconExW(WidePtr(path), first, icons.data(), nullptr, static_cast<UINT>(count));
    std::vector<IconHandle> found;
    for (std::size_t i = 0; i < icons.size(); ++i) {
        if (extracted == UINT_MAX || i >= extracted) {
            if (icons[i])
                ::DestroyIcon(icons[i]);
            continue;
        }
        found.push_back(FromHicon(icons[i]));
    }
    return found;
}

std::size_t Win32IconSource::IconCount(const std::u16string& path, std::size_t limit) {
    // Index -1 asks for the count alone: nothing is extracted.
    const UINT count = ExtractIconExW(WidePtr(path), -1, nullptr, nullptr, 0);
    if (count == UINT_MAX)
        return 0;
    return std::min<std::size_t>(count, limit);
}

IconRef::Destroyer Win32IconSource::IconDestroyer() {
    return [](IconHandle icon) { ::DestroyIcon(ToHicon(icon)); };
}

} // namespace vantrel::win
