#pragma once
// Timing and message pumping shared by the benchmarks that drive the real resident window in-process.

#include <windows.h>

namespace vantrel::bench {

inline double NowMs() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// Dispatches messages until `done` holds (checked after every message) or `limitMs` passes.
template <typename Done> bool PumpUntil(Done done, double limitMs) {
    const double end = NowMs() + limitMs;
    MSG msg;
    while (!done()) {
        if (NowMs() > end)
            return false;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        }
    }
    return true;
}

} // namespace vantrel::bench
