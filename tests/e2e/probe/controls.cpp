#include "controls.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace vanprobe {

namespace {

// Another program's window may stop answering; no question waits longer than this.
constexpr UINT kAnswerMs = 2000;

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
    for (char& c : out)
        if (c == '\t' || c == '\n')
            c = ' ';
        else if (c == '\r')
            c = '|'; // keeps the two lines of a label apart in one field
    return out;
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, kAnswerMs, &copied);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

struct Search {
    const wchar_t* className;
    const wchar_t* title;
    HWND found;
};

HWND FindDialog(const wchar_t* className, const wchar_t* title) {
    Search search{className, title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            wchar_t caption[256] = {};
            GetClassNameW(window, name, 64);
            InternalGetWindowText(window, caption, 256);
            if (IsWindowVisible(window) && _wcsicmp(name, s->className) == 0 && wcscmp(caption, s->title) == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Descendants(HWND root) {
    std::vector<HWND> windows;
    EnumChildWindows(
        root,
        [](HWND window, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

} // namespace

int Controls(int argc, wchar_t** argv) {
    if (argc != 4)
        return 2;
    const HWND dialog = FindDialog(argv[2], argv[3]);
    if (!dialog)
        return 1;
    for (HWND control : Descendants(dialog)) {
        const std::wstring className = ClassOf(control);
        long long checked = -1;
        long long selected = -1;
        if (_wcsicmp(className.c_str(), L"Button") == 0)
            checked = Ask(control, BM_GETCHECK, 0, 0);
        else if (_wcsicmp(className.c_str(), L"ListBox") == 0)
            selected = Ask(control, LB_GETCURSEL, 0, 0);
        else if (_wcsicmp(className.c_str(), L"ComboBox") == 0)
            selected = Ask(control, CB_GETCURSEL, 0, 0);
        RECT r{};
        GetWindowRect(control, &r);
        std::printf("%d\t%s\t%s\t%ld,%ld,%ld,%ld\t%d\t%d\t%lld\t%lld\n", GetDlgCtrlID(control), Utf8(className).c_str(),
                    Utf8(TextOf(control)).c_str(), r.left, r.top, r.right, r.bottom, IsWindowVisible(control) ? 1 : 0,
                    IsWindowEnabled(control) ? 1 : 0, checked, selected);
    }
    return 0;
}

int ListLines(int argc, wchar_t** argv) {
    if (argc != 5)
        return 2;
    const HWND dialog = FindDialog(argv[2], argv[3]);
    if (!dialog)
        return 1;
    const int id = _wtoi(argv[4]);
    HWND list = nullptr;
    for (HWND control : Descendants(dialog))
        if (GetDlgCtrlID(control) == id)
            list = control;
    if (!list)
        return 1;
    const bool combo = _wcsicmp(ClassOf(list).c_str(), L"ComboBox") == 0;
    const LRESULT count = Ask(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t line[512] = {};
        if (Ask(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) >= 512)
            continue;
        Ask(list, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
        std::printf("%s\n", Utf8(line).c_str());
    }
    return 0;
}

int FileVersion(int argc, wchar_t** argv) {
    if (argc != 3)
        return 2;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(argv[2], &ignored);
    if (size == 0)
        return 1;
    std::vector<BYTE> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(argv[2], 0, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
        return 1;
    std::printf("%u.%u.%u.%u\n", HIWORD(info->dwProductVersionMS), LOWORD(info->dwProductVersionMS),
                HIWORD(info->dwProductVersionLS), LOWORD(info->dwProductVersionLS));
    return 0;
}

int HoldHotKey(int argc, wchar_t** argv) {
    if (argc != 5)
        return 2;
    const UINT modifiers = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 0));
    const UINT key = static_cast<UINT>(std::wcstoul(argv[3], nullptr, 0));
    const DWORD ms = static_cast<DWORD>(std::wcstoul(argv[4], nullptr, 0));
    if (!RegisterHotKey(nullptr, 1, modifiers, key))
        return 1;
    std::printf("held\n");
    std::fflush(stdout);
    const ULONGLONG end = GetTickCount64() + ms;
    MSG msg;
    while (GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    UnregisterHotKey(nullptr, 1);
    return 0;
}

int HoldFile(int argc, wchar_t** argv) {
    if (argc != 4)
        return 2;
    const DWORD ms = static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 0));
    // No sharing at all, as a backup or sync tool that copies the file may open it.
    const HANDLE file = CreateFileW(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(ms);
    CloseHandle(file);
    return 0;
}

} // namespace vanprobe
