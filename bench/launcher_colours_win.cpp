// The launcher's show latency in the light and in the dark scheme ("Colours:" light and dark), measured inside the
// resident program's own code under Wine:
//
//   launcher_colours_bench [runs]   `runs` shows each (default 100) in blocks of five taking turns, so that both see
//                                   the same load; then the ratio of the medians
//
// Like launcher_bench it runs the real resident window with the current user's settings.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/vantrel_main_win.h"
#include "bench_support_win.h"
#include "services/grid_colours.h"
#include "timed_show_win.h"

using vantrel::bench::PumpIdle;
using vantrel::bench::Summarise;
using vantrel::bench::Summary;
using vantrel::bench::TimedShow;
using vantrel::win::VantrelMain;

namespace {

// Light and dark shows in blocks that take turns: the first show of a block paints its trays anew in the other
// colours, the rest reuse them, as a user who switched sees.
int ColourShows(VantrelMain& main, int runs) {
    constexpr int kBlock = 5;
    const vantrel::TOption original = main.State().CurrentOption;
    std::vector<double> light;
    std::vector<double> dark;
    for (int done = 0; done < runs; done += kBlock) {
        for (const int scheme : {vantrel::kColorsLight, vantrel::kColorsDark}) {
            vantrel::TOption option = original;
            option.ColorScheme = scheme;
            main.SetAllOption(option);
            std::vector<double>& times = scheme == vantrel::kColorsLight ? light : dark;
            for (int i = done; i < std::min(done + kBlock, runs); ++i) {
                double ms = 0;
                if (!TimedShow(main, ms)) {
                    std::fprintf(stderr, "a show was never painted\n");
                    return 1;
                }
                times.push_back(ms);
            }
        }
    }
    main.SetAllOption(original);
    const Summary l = Summarise(light);
    const Summary d = Summarise(dark);
    std::printf("show latency by colour scheme (hot key to end of first full paint), %d shows each in blocks of %d "
                "taking turns:\n",
                runs, kBlock);
    std::printf("  light: median %.2f ms, worst %.2f ms\n", l.median, l.worst);
    std::printf("  dark:  median %.2f ms, worst %.2f ms\n", d.median, d.worst);
    std::printf("  ratio of the medians, dark to light: %.2f\n", l.median > 0 ? d.median / l.median : 0.0);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 100;
    VantrelMain main;
    if (!main.Start() || !vantrel::bench::Started(main)) {
        std::fprintf(stderr, "the resident window could not be created\n");
        return 1;
    }
    PumpIdle(200); // start-up messages (tray icon, first ticks)
    return ColourShows(main, runs);
}
