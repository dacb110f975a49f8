// The floor for the dialog figures as a program of its own (dialog_floor_win.h):
//
//   dialog_floor [runs]    command to painted, default 30 openings after a cold one

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "dialog_floor_win.h"

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 30;
    const double cold = vantrel::bench::TimedFloorOpening();
    if (cold < 0) {
        std::fprintf(stderr, "the dialog was never painted\n");
        return 1;
    }
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = vantrel::bench::TimedFloorOpening();
        if (ms < 0)
            return 1;
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "minimal dialog program (command to painted), %d openings: median %.2f ms, worst %.2f ms; first %.2f ms\n",
        runs, times[times.size() / 2], times.back(), cold);
    return 0;
}
