#include "services/window_programs_win.h"

#include <iterator>

#include "win/strings_win.h"

namespace vantrel::win {

namespace {

std::u16string ProgramPathOfProcess(DWORD processId) {
    std::u16string path;
    // The limited right is what a process of the same user grants even when it runs elevated.
    if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)) {
        wchar_t buffer[MAX_PATH * 2] = {};
        DWORD size = static_cast<DWORD>(std::size(buffer));
        if (QueryFullProcessImageNameW(process, 0, buffer, &size))
            path = FromWide(std::wstring_view(buffer, size));
        CloseHandle(process);
    }
    return path;
}

// The stored caption: asking the window itself could hang on a program that has stopped answering.
bool HasTitle(HWND window) {
    wchar_t first[2] = {};
    return InternalGetWindowText(window, first, 2) > 0;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
    auto& processes = *reinterpret_cast<std::vector<DWORD>*>(data);
    if (!IsWindowVisible(window) || !HasTitle(window) || (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW))
        return TRUE;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != 0)
        processes.push_back(process);
    return TRUE;
}

} // namespace

std::u16string ProgramPathOfWindow(HWND window) {
    DWORD process = 0;
    if (!window || !GetWindowThreadProcessId(window, &process) || process == 0)
        return {};
    return ProgramPathOfProcess(process);
}

std::vector<std::u16string> ProgramPathsOfDesktopWindows() {
    std::vector<DWORD> processes;
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&processes));
    std::vector<std::u16string> paths;
    std::vector<DWORD> asked;
    for (const DWORD process : processes) {
        // Several windows of one program: its path is asked once.
        bool seen = false;
        for (const DWORD other : asked)
            seen = seen || other == process;
        if (seen)
            continue;
        asked.push_back(process);
        if (std::u16string path = ProgramPathOfProcess(process); !path.empty())
            paths.push_back(std::move(path));
    }
    return paths;
}

std::u16string OwnProgramPath() {
    return ProgramPathOfProcess(GetCurrentProcessId());
}

} // namespace vantrel::win
