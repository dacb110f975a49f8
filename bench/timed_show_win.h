// The launcher's show as the launcher benchmarks time it: the hot key to the end of the first full paint, and
// hidden again afterwards.
#pragma once

#include <windows.h>

#include "app/vantrel_main_win.h"
#include "bench_support_win.h"

namespace vantrel::bench {

inline void PumpIdle(double ms) {
    PumpUntil([] { return false; }, ms);
}

// Dispatches the posted messages that are waiting, which come before any key or click, and returns how long that
// took.
inline double DrainPosted() {
    const double t0 = NowMs();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return NowMs() - t0;
}

// One show by the hot key, timed to the end of the full paint that follows it, then the messages the show left
// waiting (its check of what it took from memory), which a key pressed at once would wait for; hidden again
// afterwards.
inline bool TimedShow(win::VantrelMain& main, double& ms, double* checkMs = nullptr) {
    const double t0 = NowMs();
    const bool painted = ShowByHotKey(main);
    ms = NowMs() - t0;
    const double check = DrainPosted();
    if (checkMs)
        *checkMs = check;
    SendMessageW(main.Handle(), WM_HOTKEY, 0, 0); // the hot key again hides it
    PumpIdle(20);
    return painted;
}

} // namespace vantrel::bench
