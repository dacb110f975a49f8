// The floor of the launcher's show as a program of its own: on the launcher's hot key (Ctrl+Alt+J) a window
// of the launcher's size comes up and paints itself from a prepared bitmap; the key again hides it.
//
//   show_floor [width height]               resident until Escape is pressed in its window (default 298 x 400)
//   show_floor time [runs] [width height]   the hot-key message to the end of the paint, over `runs` shows
//
// launcher_bench measures the same floor in its own process, between the launcher's shows, for the ratio.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "show_floor_win.h"

namespace {

double NowMs() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

template <typename Done> bool PumpUntil(Done done, double limitMs) {
    const double end = NowMs() + limitMs;
    MSG msg;
    while (!done()) {
        if (NowMs() > end)
            return false;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    return true;
}

int Time(vantrel::bench::ShowFloor& floor, int runs) {
    std::vector<double> times;
    for (int i = 0; i <= runs; ++i) {
        const uint32_t before = floor.PaintCount();
        const double t0 = NowMs();
        SendMessageW(floor.Handle(), WM_HOTKEY, 0, 0);
        if (!PumpUntil([&] { return floor.PaintCount() != before; }, 5000)) {
            std::fprintf(stderr, "the floor window was never painted\n");
            return 1;
        }
        if (i > 0) // the first show is the cold one
            times.push_back(NowMs() - t0);
        SendMessageW(floor.Handle(), WM_HOTKEY, 0, 0);
        PumpUntil([] { return false; }, 20);
    }
    std::sort(times.begin(), times.end());
    std::printf("floor show (hot key to end of paint), %d shows: median %.2f ms, worst %.2f ms\n", runs,
                times[times.size() / 2], times.back());
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const bool time = argc > 1 && std::wcscmp(argv[1], L"time") == 0;
    const int first = time ? 3 : 1;
    const int runs = time && argc > 2 ? std::max(1, _wtoi(argv[2])) : 50;
    const int width = argc > first + 1 ? _wtoi(argv[first]) : 298;
    const int height = argc > first + 1 ? _wtoi(argv[first + 1]) : 400;
    vantrel::bench::ShowFloor floor;
    if (!floor.Create(width, height)) {
        std::fprintf(stderr, "the floor window could not be created\n");
        return 1;
    }
    if (time)
        return Time(floor, runs);
    if (!RegisterHotKey(floor.Handle(), 0, MOD_CONTROL | MOD_ALT, 'J'))
        std::fprintf(stderr, "Ctrl+Alt+J belongs to another program\n");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            break;
        DispatchMessageW(&msg);
    }
    return 0;
}
