// Launcher window figures, measured inside the resident program's own code under Wine:
//
//   launcher_bench show [runs]     from the hot-key message to the end of the first full paint of the
//                                  launcher window, over `runs` shows (default 50) after one cold show, and
//                                  the same for the show floor (show_floor_win.h) of the launcher's size,
//                                  the two taking turns so that both see the same load; then the ratio;
//                                  then the hot key with an arrow key pressed at once, to the arrow handled
//
// The same show in the light and the dark scheme is launcher_colours_bench's.
//
// It runs the real resident window with the current user's settings, so the caller prepares the settings
// file (Program items) and the windows the Task tray is to list.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "app/vantrel_main_win.h"
#include "bench_support_win.h"
#include "launcher/launcher_window_win.h"
#include "launcher/layout.h"
#include "show_floor_win.h"
#include "timed_show_win.h"

using vantrel::bench::NowMs;
using vantrel::bench::PumpIdle;
using vantrel::bench::PumpUntil;
using vantrel::bench::Summarise;
using vantrel::bench::Summary;
using vantrel::bench::TimedShow;
using vantrel::win::LauncherWindow;
using vantrel::win::VantrelMain;

namespace {

// The floor's show by the same message, timed to the end of its paint; hidden again afterwards.
bool TimedFloorShow(vantrel::bench::ShowFloor& floor, double& ms) {
    const uint32_t before = floor.PaintCount();
    const double t0 = NowMs();
    SendMessageW(floor.Handle(), WM_HOTKEY, 0, 0);
    const bool painted = PumpUntil([&] { return floor.PaintCount() != before; }, 5000);
    ms = NowMs() - t0;
    SendMessageW(floor.Handle(), WM_HOTKEY, 0, 0);
    PumpIdle(20);
    return painted;
}

// The hot key and, pressed at once behind it, an arrow: from the hot key to the moment the arrow has moved the
// cursor. The arrow waits behind whatever the show left to do, as a key typed that fast would. Hidden again
// afterwards.
bool TimedHotKeyThenKey(VantrelMain& main, double& ms) {
    LauncherWindow* launcher = main.Launcher();
    const auto& trays = main.State().TrayData;
    const double t0 = NowMs();
    SendMessageW(main.Handle(), WM_HOTKEY, 0, 0);
    const auto tray = static_cast<std::size_t>(std::clamp(launcher->FormState().NowMode, 0, 2));
    const int32_t from = trays[tray].NowIndex;
    PostMessageW(launcher->Handle(), WM_KEYDOWN, VK_RIGHT, 1);
    const bool moved = PumpUntil([&] { return trays[tray].NowIndex != from; }, 5000);
    ms = NowMs() - t0;
    SendMessageW(main.Handle(), WM_HOTKEY, 0, 0);
    PumpIdle(20);
    return moved;
}

int Shows(VantrelMain& main, int runs) {
    double cold = 0;
    if (!TimedShow(main, cold)) {
        std::fprintf(stderr, "the launcher window was never painted\n");
        return 1;
    }
    const auto& layout = main.Launcher()->FormState().Layout;
    vantrel::bench::ShowFloor floor;
    double floorCold = 0;
    if (!floor.Create(layout.width, layout.height) || !TimedFloorShow(floor, floorCold)) {
        std::fprintf(stderr, "the floor window was never painted\n");
        return 1;
    }
    std::vector<double> times;
    std::vector<double> floorTimes;
    std::vector<double> checkTimes;
    for (int i = 0; i < runs; ++i) {
        double ms = 0;
        double check = 0;
        if (!TimedShow(main, ms, &check)) {
            std::fprintf(stderr, "show %d was never painted\n", i + 1);
            return 1;
        }
        times.push_back(ms);
        checkTimes.push_back(check);
        if (!TimedFloorShow(floor, ms)) {
            std::fprintf(stderr, "floor show %d was never painted\n", i + 1);
            return 1;
        }
        floorTimes.push_back(ms);
    }
    const auto& trays = main.State().TrayData;
    const Summary s = Summarise(times);
    const Summary f = Summarise(floorTimes);
    std::printf("show latency (hot key to end of first full paint), %d shows: median %.2f ms, worst %.2f ms; "
                "first show %.2f ms\n",
                runs, s.median, s.worst, cold);
    std::printf("show floor (%dx%d window painted from a prepared bitmap), same run: median %.2f ms, worst %.2f ms\n",
                layout.width, layout.height, f.median, f.worst);
    std::printf("  ratio of the medians: %.2f (goal: at most 1.2, and the median under 16.7 ms)\n",
                f.median > 0 ? s.median / f.median : 0.0);
    const Summary c = Summarise(checkTimes);
    std::printf("  after the paint, what a key pressed at once waits for (the show's check): median %.2f ms, "
                "worst %.2f ms\n",
                c.median, c.worst);
    std::printf("  trays: %d Program, %d Task, %d System items\n", vantrel::ShownCount(trays[0]),
                vantrel::ShownCount(trays[1]), vantrel::ShownCount(trays[2]));
    std::printf("  window: %dx%d at %d dpi (%d %%), cell pitch %d, icons %d pixels\n", layout.width, layout.height,
                layout.scale.dpi, layout.scale.Px(100), layout.cell.pitch, layout.cell.iconSize);
    std::vector<double> keyTimes;
    for (int i = 0; i < runs; ++i) {
        double ms = 0;
        if (!TimedHotKeyThenKey(main, ms)) {
            std::fprintf(stderr, "the arrow after show %d did not move the cursor\n", i + 1);
            return 1;
        }
        keyTimes.push_back(ms);
    }
    const Summary k = Summarise(keyTimes);
    std::printf("hot key to the first key handled (an arrow pressed at once), %d shows: median %.2f ms, worst %.2f ms "
                "(goal: under 16.7 ms)\n",
                runs, k.median, k.worst);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || std::wcscmp(argv[1], L"show") != 0) {
        std::fwprintf(stderr, L"usage: launcher_bench show [runs]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 50;
    VantrelMain main;
    if (!main.Start() || !vantrel::bench::Started(main)) {
        std::fprintf(stderr, "the resident window could not be created\n");
        return 1;
    }
    PumpIdle(200); // start-up messages (tray icon, first ticks)
    return Shows(main, runs);
}
