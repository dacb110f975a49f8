// Start-up time: from starting vantrel.exe to its main window answering messages, which happens right
// after the notification-area icon has been added. Prints the median and the spread of several runs.
//
//   startup_bench <vantrel.exe> [runs] [<floor.exe> <floor's window class>]
//
// With a floor (bench/tray_floor_win.cpp, a minimal program with a tray icon), the two start in turn, so that both
// meet the same machine, and the ratio of the medians follows.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kSettleMs = 300;

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// One start, in milliseconds to the window answering; 0 when it did not come up.
double TimedStart(const wchar_t* exe, const wchar_t* windowClass) {
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + std::wstring(exe) + L"\"";
    const double t0 = Now();
    if (!CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fwprintf(stderr, L"cannot start %ls (%lu)\n", exe, GetLastError());
        return 0;
    }
    double t1 = 0;
    HWND main = nullptr;
    while (Now() - t0 < 20) {
        main = FindWindowW(windowClass, nullptr);
        DWORD_PTR ignored;
        // The window exists before start-up ends; it answers only once its message loop runs.
        if (main && SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored)) {
            t1 = Now();
            break;
        }
        Sleep(1);
    }
    if (main)
        PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // The shell takes the icon away and lays its notification area out again after the program has gone: the next
    // start, the floor's or the program's, is to meet a desktop that has finished with this one. Without the pause
    // the floor, started right after the program has ended, took from 40 to 120 ms within one run.
    Sleep(kSettleMs);
    if (t1 == 0)
        std::fwprintf(stderr, L"%ls did not come up\n", exe);
    return t1 == 0 ? 0 : (t1 - t0) * 1000;
}

struct Spread {
    double median, min, max;
};

Spread SpreadOf(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front(), times.back()};
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc == 4) {
        std::fwprintf(stderr, L"usage: startup_bench <path of vantrel.exe> [runs] [<floor.exe> <window class>]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 9;
    const bool floor = argc > 4;
    std::vector<double> times;
    std::vector<double> floorTimes;
    for (int run = 0; run < runs + 1; ++run) {
        const double ms = TimedStart(argv[1], L"TVantrelMain");
        const double floorMs = floor ? TimedStart(argv[3], argv[4]) : 1;
        if (ms == 0 || floorMs == 0)
            return 1;
        if (run == 0) // the first run creates the settings file and warms the caches
            continue;
        times.push_back(ms);
        floorTimes.push_back(floorMs);
    }
    const Spread s = SpreadOf(times);
    std::printf("start-up to tray icon, %zu runs: median %.1f ms, min %.1f ms, max %.1f ms\n", times.size(), s.median,
                s.min, s.max);
    if (!floor)
        return 0;
    const Spread f = SpreadOf(floorTimes);
    std::printf("minimal tray-icon program, same run: median %.1f ms, min %.1f ms, max %.1f ms\n", f.median, f.min,
                f.max);
    std::printf("  ratio of the medians: %.2f (goal: at most 1.5); of the fastest starts: %.2f\n", s.median / f.median,
                s.min / f.min);
    return 0;
}
