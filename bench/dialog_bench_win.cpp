// Option dialog figure, measured inside the resident program's own code under Wine:
//
//   dialog_bench [runs]    from the tray command "&Setting..." to the end of the option dialog's first paint, over
//                          `runs` openings (default 30) after the first one, which makes the dialog's window; the
//                          dialog is cancelled between openings, as a user does
//
// It runs the real resident window with the current user's settings.

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/tray_menu.h"
#include "app/vantrel_main_win.h"
#include "bench_support_win.h"
#include "dialog_painted_win.h"
#include "dialogs/option_dialog_win.h"

using vantrel::bench::FullyPainted;
using vantrel::bench::NowMs;
using vantrel::bench::PumpUntil;
using vantrel::bench::Summarise;
using vantrel::bench::Summary;
using vantrel::win::VantrelMain;

namespace {

bool TimedOpening(VantrelMain& main, double& ms) {
    const double t0 = NowMs();
    main.RunTrayCommand(vantrel::tmOption);
    const bool painted = PumpUntil([&] { return FullyPainted(main.Options()->Handle()); }, 10000);
    ms = NowMs() - t0;
    // Cancel, as a click on the button: the dialog is hidden and kept for the next opening.
    SendMessageW(GetDlgItem(main.Options()->Handle(), IDCANCEL), BM_CLICK, 0, 0);
    PumpUntil([&] { return !IsWindowVisible(main.Options()->Handle()); }, 5000);
    PumpUntil([] { return false; }, 20);
    return painted;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 30;
    VantrelMain main;
    if (!main.Start() || !main.Options()) {
        std::fprintf(stderr, "the resident window could not be created\n");
        return 1;
    }
    PumpUntil([] { return false; }, 500);
    double cold = 0;
    if (!TimedOpening(main, cold)) {
        std::fprintf(stderr, "the option dialog was never painted\n");
        return 1;
    }
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double ms = 0;
        if (!TimedOpening(main, ms)) {
            std::fprintf(stderr, "opening %d was never painted\n", i + 1);
            return 1;
        }
        times.push_back(ms);
    }
    const Summary s = Summarise(times);
    std::printf("option dialog (tray command to painted), %d openings: median %.2f ms, worst %.2f ms; first %.2f ms\n",
                runs, s.median, s.worst, cold);
    return 0;
}
