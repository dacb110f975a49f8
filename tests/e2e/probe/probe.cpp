// vanprobe: looks at the Wine desktop from the inside for the end-to-end scenarios.
//
// Started in the same virtual desktop as the program under test, it answers one question per run and
// prints the answer on stdout (UTF-8, one record a line). Exit code 0 means "yes / found / done",
// 1 "no / not found / timed out", 2 a usage error. Every wait is bounded by the timeout it is given.
//
//   list                                   top-level windows: hwnd pid class title left,top,right,bottom
//                                          visible style exstyle (tab-separated)
//   count-windows <class> [title]          number of top-level windows of that class (and exact title)
//   count-visible <class> [title]          the same, of those on screen only
//   wait-window <class> [title] <ms>       until such a window exists and is visible
//   wait-exists <class> [title] <ms>       until such a window exists, shown or not
//   wait-gone <class> <ms>                 until no window of that class exists
//   wait-hidden <class> <ms>               until no window of that class is on screen
//   foreground                             hwnd, class and title of the foreground window, and the window that
//                                          has the keyboard focus in its thread (hwnd, class, control id)
//   pixel <x> <y>                          screen colour as RRGGBB
//   find-color <RRGGBB> <tol> <x0> <y0> <x1> <y1>
//                                          number of pixels of the rectangle within tol of the colour
//   post <class> <msg> <wparam> <lparam>   posts a message to the first window of that class
//   count-processes <exe>                  number of processes with that file name (any case)
//   wait-processes <exe> <n> <ms>          until exactly n such processes run
//   process-paths <exe>                    the full program path of every process with that file name
//   window-text <class> <ms>               once a visible window of that class exists: its title and the text
//                                          of each child window, one a line (a message box's message, say)
//   menu-items [ms]                        items of the open popup menu (class #32768): index, state
//                                          (normal/grayed/disabled, checked, separator) and text
//   broadcast-taskbarcreated               sends the shell's "TaskbarCreated" message to every window
//   define-drive <letter> <unix folder>    makes a drive of that folder through Wine's mount manager, as
//                                          winecfg does (Wine only)
//   child-texts <class> [title]            the texts of the first such window's child windows, one a line
//                                          (a message box: its message, then its buttons)
//   controls <class> <title>               the controls of a dialog: id, class, text, rectangle, visible,
//                                          enabled, check state, selected line
//   list-lines <class> <title> <id>        the lines of one of its list or combo boxes
//   file-version <path>                    a file's product version, a.b.c.d
//   hold-hotkey <modifiers> <vk> <ms>      holds a hot key for a while, as another program would
//   hold-file <path> <ms>                  holds a file open without sharing for a while, as a backup tool may
//   change-window <class> <title> text <new title> | hide | exstyle <value>
//                                          changes another program's window as that program itself could: its
//                                          title, its visibility, its extended style
//   key-log <class> <ms>                   the key presses the thread of that window takes while the probe waits,
//                                          with the modifiers it sees held (see key_log.h)
//   gui-objects <exe> [types]              "gdi <n> user <n>" for the first process with that file name: the
//                                          system's counts (GetGuiResources); where it answers zero (Wine), the
//                                          used entries of the process's GDI handle table read from its memory,
//                                          update regions left out, and its windows with their children
//
// Numbers may be decimal or 0x-hexadecimal.

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <tlhelp32.h>
#include <winioctl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "controls.h"
#include "key_log.h"
#include "menu_query.h"

namespace {

constexpr DWORD kPollMs = 50;

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
    return out;
}

// Tabs and line breaks inside a title would break the one-record-a-line output.
std::string Field(const std::wstring& text) {
    std::string out = Utf8(text);
    for (char& c : out)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return out;
}

bool ParseNumber(const wchar_t* text, long long& value) {
    if (!text || !*text)
        return false;
    wchar_t* end = nullptr;
    value = std::wcstoll(text, &end, 0);
    return end && *end == L'\0';
}

struct WindowInfo {
    HWND hwnd;
    DWORD pid;
    std::wstring className;
    std::wstring title;
    RECT rect;
    bool visible;
    LONG_PTR style;
    LONG_PTR exStyle;
};

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

std::wstring TitleOf(HWND hwnd) {
    // Asking the window itself could hang on a frozen program; the stored caption is enough here.
    wchar_t title[512] = {};
    InternalGetWindowText(hwnd, title, 512);
    return title;
}

std::vector<WindowInfo> TopLevelWindows() {
    std::vector<HWND> handles;
    EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&handles));
    std::vector<WindowInfo> windows;
    for (HWND hwnd : handles) {
        WindowInfo info{hwnd,
                        0,
                        ClassOf(hwnd),
                        TitleOf(hwnd),
                        {},
                        IsWindowVisible(hwnd) != FALSE,
                        GetWindowLongPtrW(hwnd, GWL_STYLE),
                        GetWindowLongPtrW(hwnd, GWL_EXSTYLE)};
        GetWindowThreadProcessId(hwnd, &info.pid);
        GetWindowRect(hwnd, &info.rect);
        windows.push_back(info);
    }
    return windows;
}

bool Matches(const WindowInfo& w, const wchar_t* className, const wchar_t* title) {
    return _wcsicmp(w.className.c_str(), className) == 0 && (!title || w.title == title);
}

int CountWindows(const wchar_t* className, const wchar_t* title, bool visibleOnly) {
    int count = 0;
    for (const auto& w : TopLevelWindows())
        if (Matches(w, className, title) && (!visibleOnly || w.visible))
            ++count;
    return count;
}

// Polls until the condition holds or the time is up; the condition is always checked at least once.
template <typename Condition> bool WaitFor(long long timeoutMs, Condition condition) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(kPollMs);
    }
}

int Usage() {
    std::fprintf(stderr,
                 "usage: vanprobe "
                 "<list|count-windows|count-visible|wait-window|wait-hidden|wait-exists|wait-gone|foreground|pixel|"
                 "find-color|post|count-processes|wait-processes|process-paths|window-text|menu-items|"
                 "broadcast-taskbarcreated|define-drive|child-texts|controls|list-lines|file-version|"
                 "hold-hotkey|hold-file|program-windows|change-window|gui-objects|key-log> ...\n");
    return 2;
}

int List() {
    for (const auto& w : TopLevelWindows())
        std::printf("0x%llx\t%lu\t%s\t%s\t%ld,%ld,%ld,%ld\t%d\t0x%08llx\t0x%08llx\n",
                    static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(w.hwnd)),
                    static_cast<unsigned long>(w.pid), Field(w.className).c_str(), Field(w.title).c_str(), w.rect.left,
                    w.rect.top, w.rect.right, w.rect.bottom, w.visible ? 1 : 0,
                    static_cast<unsigned long long>(static_cast<uint32_t>(w.style)),
                    static_cast<unsigned long long>(static_cast<uint32_t>(w.exStyle)));
    return 0;
}

// wait-window / wait-exists: <class> [title] <ms>
int WaitWindow(int argc, wchar_t** argv, bool visibleOnly) {
    if (argc != 4 && argc != 5)
        return Usage();
    long long timeout = 0;
    if (!ParseNumber(argv[argc - 1], timeout))
        return Usage();
    const wchar_t* title = argc == 5 ? argv[3] : nullptr;
    return WaitFor(timeout, [&] { return CountWindows(argv[2], title, visibleOnly) > 0; }) ? 0 : 1;
}

int WaitGone(int argc, wchar_t** argv, bool visibleOnly) {
    long long timeout = 0;
    if (argc != 4 || !ParseNumber(argv[3], timeout))
        return Usage();
    return WaitFor(timeout, [&] { return CountWindows(argv[2], nullptr, visibleOnly) == 0; }) ? 0 : 1;
}

int CountWindowsCommand(int argc, wchar_t** argv, bool visibleOnly) {
    if (argc != 3 && argc != 4)
        return Usage();
    const int count = CountWindows(argv[2], argc == 4 ? argv[3] : nullptr, visibleOnly);
    std::printf("%d\n", count);
    return count > 0 ? 0 : 1;
}

int Foreground() {
    HWND hwnd = GetForegroundWindow();
    if (!hwnd) {
        std::printf("0x0\t\t\n");
        return 1;
    }
    // The window with the keyboard focus in the foreground window's thread, as the fourth field.
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &thread);
    std::printf("0x%llx\t%s\t%s\t0x%llx %s %d\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hwnd)),
                Field(ClassOf(hwnd)).c_str(), Field(TitleOf(hwnd)).c_str(),
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(thread.hwndFocus)),
                Field(thread.hwndFocus ? ClassOf(thread.hwndFocus) : L"-").c_str(),
                thread.hwndFocus ? GetDlgCtrlID(thread.hwndFocus) : 0);
    return 0;
}

// The screen's pixels of a rectangle, copied once: reading pixel by pixel costs a server round trip each.
std::vector<uint32_t> Grab(int x0, int y0, int width, int height) {
    std::vector<uint32_t> pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, x0, y0, SRCCOPY)) {
            GdiFlush();
            const auto* data = static_cast<const uint32_t*>(bits);
            pixels.assign(data, data + static_cast<size_t>(width) * static_cast<size_t>(height));
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

int Pixel(int argc, wchar_t** argv) {
    long long x = 0, y = 0;
    if (argc != 4 || !ParseNumber(argv[2], x) || !ParseNumber(argv[3], y))
        return Usage();
    const auto pixels = Grab(static_cast<int>(x), static_cast<int>(y), 1, 1);
    if (pixels.empty())
        return 1;
    std::printf("%06X\n", pixels[0] & 0xFFFFFFu); // a 32-bit DIB holds 0x00RRGGBB
    return 0;
}

int FindColor(int argc, wchar_t** argv) {
    long long tolerance = 0, x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    wchar_t* end = nullptr;
    const unsigned long rgb = argc == 8 ? std::wcstoul(argv[2], &end, 16) : 0;
    if (argc != 8 || !end || *end || !ParseNumber(argv[3], tolerance) || !ParseNumber(argv[4], x0) ||
        !ParseNumber(argv[5], y0) || !ParseNumber(argv[6], x1) || !ParseNumber(argv[7], y1))
        return Usage();
    const auto pixels =
        Grab(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0), static_cast<int>(y1 - y0));
    long count = 0;
    for (uint32_t p : pixels) {
        const long dr = static_cast<long>((p >> 16) & 0xFF) - static_cast<long>((rgb >> 16) & 0xFF);
        const long dg = static_cast<long>((p >> 8) & 0xFF) - static_cast<long>((rgb >> 8) & 0xFF);
        const long db = static_cast<long>(p & 0xFF) - static_cast<long>(rgb & 0xFF);
        if (std::labs(dr) <= tolerance && std::labs(dg) <= tolerance && std::labs(db) <= tolerance)
            ++count;
    }
    std::printf("%ld\n", count);
    return count > 0 ? 0 : 1;
}

int Post(int argc, wchar_t** argv) {
    long long message = 0, wParam = 0, lParam = 0;
    if (argc != 6 || !ParseNumber(argv[3], message) || !ParseNumber(argv[4], wParam) || !ParseNumber(argv[5], lParam))
        return Usage();
    HWND target = FindWindowW(argv[2], nullptr);
    if (!target)
        return 1;
    return PostMessageW(target, static_cast<UINT>(message), static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam))
               ? 0
               : 1;
}

int ChangeWindow(int argc, wchar_t** argv) {
    if (argc < 5)
        return Usage();
    HWND target = FindWindowW(argv[2], argv[3]);
    if (!target)
        return 1;
    const std::wstring change = argv[4];
    long long value = 0;
    if (change == L"text" && argc == 6)
        return SetWindowTextW(target, argv[5]) ? 0 : 1;
    if (change == L"hide" && argc == 5)
        return ShowWindow(target, SW_HIDE), 0;
    if (change == L"exstyle" && argc == 6 && ParseNumber(argv[5], value)) {
        SetLastError(0);
        return SetWindowLongPtrW(target, GWL_EXSTYLE, static_cast<LONG_PTR>(value)) || GetLastError() == 0 ? 0 : 1;
    }
    return Usage();
}

int CountProcesses(const wchar_t* exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, exeName) == 0)
            ++count;
    CloseHandle(snapshot);
    return count;
}

std::vector<DWORD> ProcessIds(const wchar_t* exeName);
long WindowsOf(const std::vector<DWORD>& ids);

// The GDI objects of another process under Wine: its process environment block points to its GDI handle table
// (0x10000 entries of 24 bytes, the object type in byte 15). Regions are the window system's passing update
// regions, not objects the program keeps.
long GdiTableObjects(HANDLE process, bool byType) {
    using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    struct BasicInformation {
        LONG_PTR exitStatus;
        void* peb;
        ULONG_PTR affinity;
        LONG_PTR priority;
        ULONG_PTR processId;
        ULONG_PTR parentId;
    } basic{};
    if (!query || query(process, 0, &basic, sizeof(basic), nullptr) != 0 || !basic.peb)
        return -1;
    constexpr std::size_t kTableOffset = 0xF8, kEntries = 0x10000, kEntrySize = 24, kTypeOffset = 14;
    constexpr unsigned char kRegion = 4;
    void* table = nullptr;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, static_cast<char*>(basic.peb) + kTableOffset, &table, sizeof(table), &read) ||
        !table)
        return -1;
    std::vector<unsigned char> entries(kEntries * kEntrySize);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size(), &read) || read != entries.size())
        return -1;
    long used = 0;
    std::map<int, long> types;
    for (std::size_t i = 0; i < kEntries; ++i) {
        const unsigned char type = entries[i * kEntrySize + kTypeOffset];
        used += type != 0 && type != kRegion;
        if (type != 0)
            ++types[type];
    }
    if (byType)
        for (const auto& [type, count] : types)
            std::printf("type 0x%02x: %ld\n", type, count);
    return used;
}

int GuiObjects(int argc, wchar_t** argv) {
    if (argc != 3 && argc != 4)
        return Usage();
    const std::vector<DWORD> ids = ProcessIds(argv[2]);
    if (ids.empty())
        return 1;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids.front());
    if (!process)
        return 1;
    long gdi = static_cast<long>(GetGuiResources(process, GR_GDIOBJECTS));
    long user = static_cast<long>(GetGuiResources(process, GR_USEROBJECTS));
    if (gdi == 0)
        gdi = GdiTableObjects(process, argc == 4);
    if (user == 0)
        user = WindowsOf({ids.front()});
    CloseHandle(process);
    std::printf("gdi %ld user %ld\n", gdi, user);
    return gdi >= 0 ? 0 : 1;
}

std::vector<DWORD> ProcessIds(const wchar_t* exeName) {
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, exeName) == 0)
            ids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

long WindowsOf(const std::vector<DWORD>& ids) {
    long count = 0;
    const auto owned = [&](HWND hwnd) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        return std::find(ids.begin(), ids.end(), pid) != ids.end();
    };
    for (const auto& w : TopLevelWindows()) {
        if (!owned(w.hwnd))
            continue;
        ++count;
        EnumChildWindows(
            w.hwnd,
            [](HWND, LPARAM data) -> BOOL {
                ++*reinterpret_cast<long*>(data);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

int ProgramWindows(int argc, wchar_t** argv) {
    if (argc != 3)
        return Usage();
    const std::vector<DWORD> ids = ProcessIds(argv[2]);
    if (ids.empty())
        return 1;
    std::printf("%ld\n", WindowsOf(ids));
    return 0;
}

int CountProcessesCommand(int argc, wchar_t** argv) {
    if (argc != 3)
        return Usage();
    const int count = CountProcesses(argv[2]);
    std::printf("%d\n", count);
    return count > 0 ? 0 : 1;
}

int WaitProcesses(int argc, wchar_t** argv) {
    long long wanted = 0, timeout = 0;
    if (argc != 5 || !ParseNumber(argv[3], wanted) || !ParseNumber(argv[4], timeout))
        return Usage();
    int last = -1;
    const bool ok = WaitFor(timeout, [&] { return (last = CountProcesses(argv[2])) == wanted; });
    std::printf("%d\n", last);
    return ok ? 0 : 1;
}

int ProcessPaths(int argc, wchar_t** argv) {
    if (argc != 3)
        return Usage();
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 1;
    int found = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, argv[2]) != 0)
            continue;
        wchar_t path[MAX_PATH * 2] = {};
        DWORD length = MAX_PATH * 2;
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (process && QueryFullProcessImageNameW(process, 0, path, &length))
            std::printf("%s\n", Field(path).c_str());
        else
            std::printf("?\n");
        if (process)
            CloseHandle(process);
        ++found;
    }
    CloseHandle(snapshot);
    return found > 0 ? 0 : 1;
}

int WindowText(int argc, wchar_t** argv) {
    long long timeout = 0;
    if (argc != 4 || !ParseNumber(argv[3], timeout))
        return Usage();
    HWND window = nullptr;
    WaitFor(timeout, [&] {
        for (const auto& w : TopLevelWindows())
            if (_wcsicmp(w.className.c_str(), argv[2]) == 0 && w.visible) {
                window = w.hwnd;
                return true;
            }
        return false;
    });
    if (!window)
        return 1;
    std::printf("%s\n", Field(TitleOf(window)).c_str());
    EnumChildWindows(
        window,
        [](HWND child, LPARAM) -> BOOL {
            // Another process's control: asked with a bound, so a frozen program cannot hold the probe.
            wchar_t text[2048] = {};
            DWORD_PTR copied = 0;
            SendMessageTimeoutW(child, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                                &copied);
            if (text[0])
                std::printf("%s\n", Field(text).c_str());
            return TRUE;
        },
        0);
    return 0;
}

int MenuItems(int argc, wchar_t** argv) {
    long long timeout = 2000;
    if (argc > 3 || (argc == 3 && !ParseNumber(argv[2], timeout)))
        return Usage();
    HWND menuWindow = nullptr;
    WaitFor(timeout, [&] {
        menuWindow = nullptr;
        for (const auto& w : TopLevelWindows())
            if (w.className == L"#32768" && w.visible) {
                menuWindow = w.hwnd;
                return true;
            }
        return false;
    });
    if (!menuWindow) {
        std::fprintf(stderr, "no open popup menu\n");
        return 1;
    }
    std::vector<vanprobe::MenuItem> items;
    std::wstring error;
    if (!vanprobe::ReadPopupMenu(menuWindow, static_cast<DWORD>(timeout), items, error)) {
        std::fprintf(stderr, "%s\n", Utf8(error).c_str());
        return 1;
    }
    for (size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        std::string state;
        if (item.separator)
            state = "separator";
        else
            state = item.grayed ? "grayed" : (item.disabled ? "disabled" : "normal");
        if (item.checked)
            state += ",checked";
        std::printf("%zu\t%s\t%s\n", i, state.c_str(), Field(item.text).c_str());
    }
    return 0;
}

int BroadcastTaskbarCreated() {
    const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    DWORD_PTR result = 0;
    // A hung window must not hold the probe; each receiver gets at most two seconds.
    SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, 2000, &result);
    return 0;
}

// Wine's mount manager request that defines a drive letter over a Unix folder (its own extension of the
// mount manager's interface, the layout of Wine 8).
struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

int DefineDrive(int argc, wchar_t** argv) {
    if (argc != 4 || !argv[2][0])
        return Usage();
    const std::string folder = Utf8(argv[3]);
    std::vector<char> buffer(sizeof(UnixDriveRequest) + folder.size() + 1, '\0');
    auto* request = reinterpret_cast<UnixDriveRequest*>(buffer.data());
    request->size = static_cast<ULONG>(buffer.size());
    request->type = DRIVE_REMOVABLE;
    request->letter = static_cast<WCHAR>(towlower(argv[2][0]));
    request->mountPointOffset = sizeof(UnixDriveRequest);
    std::copy(folder.begin(), folder.end(), buffer.begin() + sizeof(UnixDriveRequest));
    const HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE)
        return 1;
    DWORD returned = 0;
    const BOOL done = DeviceIoControl(manager, kDefineUnixDrive, buffer.data(), static_cast<DWORD>(buffer.size()),
                                      nullptr, 0, &returned, nullptr);
    CloseHandle(manager);
    return done ? 0 : 1;
}

int ChildTexts(int argc, wchar_t** argv) {
    if (argc != 3 && argc != 4)
        return Usage();
    const wchar_t* title = argc == 4 ? argv[3] : nullptr;
    for (const auto& w : TopLevelWindows()) {
        if (!Matches(w, argv[2], title))
            continue;
        std::vector<HWND> children;
        EnumChildWindows(
            w.hwnd,
            [](HWND child, LPARAM data) -> BOOL {
                reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&children));
        for (HWND child : children) {
            // The control's own answer: a static control's caption is its text. Bounded, for a hung owner.
            wchar_t text[2048] = {};
            DWORD_PTR length = 0;
            if (SendMessageTimeoutW(child, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                                    &length) &&
                text[0])
                std::printf("%s\n", Field(text).c_str());
        }
        return 0;
    }
    return 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    // Plain "\n" line ends, for the shell scripts that read the answers.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2)
        return Usage();
    const std::wstring command = argv[1];
    int rc = 2;
    if (command == L"list")
        rc = List();
    else if (command == L"count-windows")
        rc = CountWindowsCommand(argc, argv, false);
    else if (command == L"count-visible")
        rc = CountWindowsCommand(argc, argv, true);
    else if (command == L"wait-window")
        rc = WaitWindow(argc, argv, true);
    else if (command == L"wait-exists")
        rc = WaitWindow(argc, argv, false);
    else if (command == L"wait-gone")
        rc = WaitGone(argc, argv, false);
    else if (command == L"wait-hidden")
        rc = WaitGone(argc, argv, true);
    else if (command == L"foreground")
        rc = Foreground();
    else if (command == L"pixel")
        rc = Pixel(argc, argv);
    else if (command == L"find-color")
        rc = FindColor(argc, argv);
    else if (command == L"post")
        rc = Post(argc, argv);
    else if (command == L"count-processes")
        rc = CountProcessesCommand(argc, argv);
    else if (command == L"wait-processes")
        rc = WaitProcesses(argc, argv);
    else if (command == L"process-paths")
        rc = ProcessPaths(argc, argv);
    else if (command == L"window-text")
        rc = WindowText(argc, argv);
    else if (command == L"menu-items")
        rc = MenuItems(argc, argv);
    else if (command == L"broadcast-taskbarcreated")
        rc = BroadcastTaskbarCreated();
    else if (command == L"define-drive")
        rc = DefineDrive(argc, argv);
    else if (command == L"child-texts")
        rc = ChildTexts(argc, argv);
    else if (command == L"controls")
        rc = vanprobe::Controls(argc, argv);
    else if (command == L"list-lines")
        rc = vanprobe::ListLines(argc, argv);
    else if (command == L"file-version")
        rc = vanprobe::FileVersion(argc, argv);
    else if (command == L"hold-hotkey")
        rc = vanprobe::HoldHotKey(argc, argv);
    else if (command == L"hold-file")
        rc = vanprobe::HoldFile(argc, argv);
    else if (command == L"program-windows")
        rc = ProgramWindows(argc, argv);
    else if (command == L"gui-objects")
        rc = GuiObjects(argc, argv);
    else if (command == L"change-window")
        rc = ChangeWindow(argc, argv);
    else if (command == L"key-log")
        rc = vanprobe::KeyLogCommand(argc, argv);
    else
        rc = Usage();
    std::fflush(stdout);
    return rc;
}
