#include "services/os_info_win.h"

#include <shlobj.h>

#include "services/os_text.h"
#include "win/strings_win.h"
#include "win/unique_handle_win.h"
#include "win/window_win.h"

namespace vantrel::win {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Vantrel64";

std::wstring ReadRegistryString(HKEY root, const wchar_t* path, const wchar_t* name, REGSAM access) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(root, path, 0, access, &raw) != ERROR_SUCCESS)
        return {};
    UniqueRegKey key(raw);
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &bytes) !=
        ERROR_SUCCESS)
        return {};
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

} // namespace

int OsVersionNumber() {
    OSVERSIONINFOW info{sizeof(info)};
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    // The answer depends on the manifest: 6.3 on 8.1 and 10.0 on 10 and 11 only because it names them.
    if (!GetVersionExW(&info))
        return 0;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return WinVersionNumber(info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId);
}

int OsBuildNumberFromRegistry() {
    // 0x20019 is KEY_READ: the value is only read.
    const std::wstring text = ReadRegistryString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion",
                                                 L"CurrentBuildNumber", KEY_READ);
    return ParseBuildNumber(FromWide(text));
}

std::wstring LanguageAbbreviation() {
    wchar_t buffer[16] = {};
    if (!GetLocaleInfoW(GetUserDefaultLCID(), LOCALE_SABBREVLANGNAME, buffer, 16))
        return {};
    return buffer;
}

bool DetectUsKeyboard() {
    return IsUsKeyboard(GetKeyboardType(0), GetKeyboardType(1));
}

std::wstring SettingsBaseFolder() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = ExpandEnvironmentStringsW(L"%APPDATA%", buffer, MAX_PATH);
    if (length > 0 && length <= MAX_PATH && buffer[0] != L'%')
        return buffer;
    // No APPDATA variable (a service account, a stripped environment): ask the shell instead.
    if (SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer) == S_OK)
        return buffer;
    return ModuleFolder();
}

bool IsAutoRun() {
    return IsAutoRun(ModulePath());
}

bool IsAutoRun(const std::wstring& programPath) {
    const std::wstring value = ReadRegistryString(HKEY_CURRENT_USER, kRunKey, kRunValue, KEY_READ);
    return AutoRunNamesProgram(FromWide(value), FromWide(programPath));
}

bool SetAutoRun(bool on, std::wstring* reason) {
    return SetAutoRun(on, reason, ModulePath());
}

bool SetAutoRun(bool on, std::wstring* reason, const std::wstring& programPath) {
    auto fail = [&](LSTATUS status) {
        if (reason)
            *reason = SystemErrorText(static_cast<DWORD>(status));
        return false;
    };
    HKEY raw = nullptr;
    // The key is opened, never created: a missing Run key is a damaged profile, not ours to repair.
    const LSTATUS opened = RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &raw);
    if (opened != ERROR_SUCCESS)
        return !on && opened == ERROR_FILE_NOT_FOUND ? true : fail(opened);
    UniqueRegKey key(raw);
    if (on) {
        const std::wstring value = ToWide(AutoRunValue(FromWide(programPath)));
        const LSTATUS written =
            RegSetValueExW(key.Get(), kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        return written == ERROR_SUCCESS ? true : fail(written);
    }
    const LSTATUS removed = RegDeleteValueW(key.Get(), kRunValue);
    return removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND ? true : fail(removed);
}

std::wstring VersionText() {
    return FileVersionText(ModulePath());
}

std::wstring FileVersionText(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
        infoSize < sizeof(VS_FIXEDFILEINFO))
        return {};
    wchar_t text[64];
    swprintf(text, 64, L"Version %u.%u.%u.%u", HIWORD(info->dwProductVersionMS), LOWORD(info->dwProductVersionMS),
             HIWORD(info->dwProductVersionLS), LOWORD(info->dwProductVersionLS));
    return text;
}

void ForceForeground(HWND window) {
    const HWND foreground = GetForegroundWindow();
    const DWORD foregroundThread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    const DWORD ownThread = GetCurrentThreadId();
    bool attach = foregroundThread != 0 && foregroundThread != ownThread;
    // Sharing input with a thread that reads no messages ties this thread to it: the activation change sends
    // the window it leaves messages and waits for the answers, for ever. So that thread must answer first;
    // SMTO_ABORTIFHUNG returns at once for a window the system already calls hung.
    DWORD_PTR result = 0;
    if (attach &&
        !SendMessageTimeoutW(foreground, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kForegroundAnswerMs, &result))
        attach = false;
    if (attach)
        AttachThreadInput(ownThread, foregroundThread, TRUE);
    SetForegroundWindow(window);
    if (attach)
        AttachThreadInput(ownThread, foregroundThread, FALSE);
}

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
    reinterpret_cast<std::vector<RECT>*>(data)->push_back(*rect);
    return TRUE;
}

} // namespace

bool EnumerateMonitors(std::vector<RECT>& monitors) {
    return EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&monitors)) != FALSE;
}

} // namespace vantrel::win
