// Start-up time: from starting vantrel.exe to its main window answering messages, which happens right
// after the notification-area icon has been added. Prints the median and the spread of several runs.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: startup_bench <path of vantrel.exe> [runs]\n");
        return 2;
    }
    const int runs = argc > 2 ? _wtoi(argv[2]) : 9;
    std::vector<double> times;
    for (int run = 0; run < runs + 1; ++run) {
        STARTUPINFOW si{sizeof(si)};
        PROCESS_INFORMATION pi{};
        std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
        const double t0 = Now();
        if (!CreateProcessW(argv[1], command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            std::fwprintf(stderr, L"cannot start %ls (%lu)\n", argv[1], GetLastError());
            return 1;
        }
        double t1 = 0;
        HWND main = nullptr;
        while (Now() - t0 < 20) {
            main = FindWindowW(L"TVantrelMain", nullptr);
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
        if (t1 == 0) {
            std::fwprintf(stderr, L"vantrel did not come up\n");
            return 1;
        }
        if (run > 0) // the first run creates the settings file and warms the caches
            times.push_back((t1 - t0) * 1000);
    }
    std::sort(times.begin(), times.end());
    std::printf("start-up to tray icon, %zu runs: median %.1f ms, min %.1f ms, max %.1f ms\n", times.size(),
                times[times.size() / 2], times.front(), times.back());
    return 0;
}
