#pragma once
// Timing and message pumping shared by the benchmarks that drive the real resident window in-process.

#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/vantrel_main_win.h"
#include "launcher/launcher_window_win.h"
#include "win/dialog_win.h"

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
            // As in the program's own loop: the modeless dialogs see their messages first.
            if (win::PreTranslateDialogMessage(msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        }
    }
    return true;
}

// After Start: the rest of the start (the launcher window among it) is the first thing the message loop does.
inline bool Started(win::VantrelMain& main) {
    return PumpUntil([&] { return main.Launcher() != nullptr; }, 5000);
}

struct Summary {
    double median = 0;
    double worst = 0;
};

inline Summary Summarise(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

// The hot key, then messages until the launcher window has finished the full paint of that show.
inline bool ShowByHotKey(win::VantrelMain& main) {
    win::LauncherWindow* launcher = main.Launcher();
    const uint32_t before = launcher->FullPaintCount();
    SendMessageW(main.Handle(), WM_HOTKEY, 0, 0);
    return PumpUntil([&] { return launcher->FullPaintCount() != before; }, 5000);
}

} // namespace vantrel::bench
