// Keystroke-to-redraw figure of the launcher window, measured inside the resident program's own code:
//
//   nav_bench [runs]   one arrow key sent to the shown launcher window: the navigation model's step, the old
//                      and the new cell redrawn and the name panel, over `runs` keys (default 200), Right and
//                      Left in turn
//
// It runs the real resident window with the current user's settings; the caller prepares a settings file
// whose start tray shows at least two items.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "app/vantrel_main_win.h"
#include "bench_support_win.h"
#include "launcher/launcher_window_win.h"
#include "launcher/layout.h"

using vantrel::bench::NowMs;
using vantrel::bench::PumpUntil;
using vantrel::bench::ShowByHotKey;
using vantrel::win::LauncherWindow;
using vantrel::win::VantrelMain;

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 200;
    VantrelMain main;
    if (!main.Start() || !vantrel::bench::Started(main)) {
        std::fprintf(stderr, "the resident window could not be created\n");
        return 1;
    }
    PumpUntil([] { return false; }, 200); // start-up messages (tray icon, first ticks)
    LauncherWindow* launcher = main.Launcher();
    if (!ShowByHotKey(main)) {
        std::fprintf(stderr, "the launcher window was never painted\n");
        return 1;
    }
    const auto& trays = main.State().TrayData;
    const int tray = launcher->FormState().NowMode;
    if (vantrel::ShownCount(trays[static_cast<std::size_t>(tray)]) < 2) {
        std::fprintf(stderr, "the start tray shows fewer than two items\n");
        return 1;
    }
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const int32_t from = trays[static_cast<std::size_t>(tray)].NowIndex;
        const WPARAM key = from == 0 ? VK_RIGHT : VK_LEFT;
        const double t0 = NowMs();
        SendMessageW(launcher->Handle(), WM_KEYDOWN, key, 1);
        times.push_back(NowMs() - t0);
        if (trays[static_cast<std::size_t>(tray)].NowIndex == from || launcher->FormState().NowMode != tray) {
            std::fprintf(stderr, "key %d did not move the cursor\n", i + 1);
            return 1;
        }
        PumpUntil([] { return false; }, 1);
    }
    const vantrel::bench::Summary s = vantrel::bench::Summarise(times);
    std::printf("arrow key to redraw (model step, two cells and the name panel), %d keys: median %.3f ms, "
                "worst %.3f ms\n",
                runs, s.median, s.worst);
    SendMessageW(main.Handle(), WM_HOTKEY, 0, 0);
    return 0;
}
