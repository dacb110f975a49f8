// Icon registration figures, measured inside the resident program's own code under Wine:
//
//   registration_bench [runs]   from the tray icon's left click to the dialog with its grid painted, over `runs`
//                               openings (default 30) after the first one, each cancelled as a user does; then
//                               one drag step (the dragged item moves to the next cell and the grid is painted
//                               again), over 10 x `runs` steps
//
// It runs the real resident window with the current user's settings; tools/bench.d/registration.sh fills them
// with 200 Program and 200 System items first.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/vantrel_main_win.h"
#include "bench_support_win.h"
#include "dialog_painted_win.h"
#include "dialogs/registration_dialog_win.h"
#include "grid/cells.h"

using vantrel::bench::FullyPainted;
using vantrel::bench::NowMs;
using vantrel::bench::PumpUntil;
using vantrel::bench::Summarise;
using vantrel::bench::Summary;
using vantrel::win::VantrelMain;

namespace {

HWND Dialog(VantrelMain& main) {
    return main.Registration() ? main.Registration()->Handle() : nullptr;
}

bool TimedOpening(VantrelMain& main, double& ms) {
    const uint32_t paints = main.Registration()->GridPaints();
    const double t0 = NowMs();
    // What the notification area sends for a left click on the icon.
    PostMessageW(main.Handle(), vantrel::win::kMsgTrayIcon, 0, WM_LBUTTONDOWN);
    const bool painted =
        PumpUntil([&] { return main.Registration()->GridPaints() != paints && FullyPainted(Dialog(main)); }, 20000);
    ms = NowMs() - t0;
    return painted;
}

void Cancel(VantrelMain& main) {
    SendMessageW(GetDlgItem(Dialog(main), IDCANCEL), BM_CLICK, 0, 0);
    PumpUntil([&] { return !IsWindowVisible(Dialog(main)); }, 5000);
    PumpUntil([] { return false; }, 20);
}

LPARAM CellPoint(int32_t index, int32_t columns) {
    const vantrel::ScreenPoint cell = vantrel::CellOrigin(index, columns);
    return MAKELPARAM(cell.x + vantrel::kCellPitch / 2, cell.y + vantrel::kCellPitch / 2);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 30;
    VantrelMain main;
    if (!main.Start() || !main.Registration()) {
        std::fprintf(stderr, "the resident window could not be created\n");
        return 1;
    }
    PumpUntil([] { return false; }, 500);
    double cold = 0;
    if (!TimedOpening(main, cold)) {
        std::fprintf(stderr, "the registration dialog was never painted\n");
        return 1;
    }
    const auto& trays = main.State().TrayData;
    const std::size_t programs = trays[vantrel::ProgramTray].Items.size();
    const std::size_t systems = trays[vantrel::SystemTray].Items.size();
    Cancel(main);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double ms = 0;
        if (!TimedOpening(main, ms)) {
            std::fprintf(stderr, "opening %d was never painted\n", i + 1);
            return 1;
        }
        times.push_back(ms);
        Cancel(main);
    }
    const Summary open = Summarise(times);
    std::printf("registration dialog (tray click to grid painted), %zu Program and %zu System items, %d openings: "
                "median %.2f ms, worst %.2f ms; first %.2f ms\n",
                programs, systems, runs, open.median, open.worst, cold);

    // Drag steps on the Program grid: the first item goes back and forth between the first two cells, each step a
    // reorder and a full repaint of the grid, as the mouse reports it.
    double ignored = 0; // the opening before the drag is not a figure
    if (!TimedOpening(main, ignored))
        return 1;
    const HWND grid = main.Registration()->Grid(vantrel::ProgramTray);
    const int32_t columns = std::clamp(main.State().CurrentOption.ColMax, 3, 30);
    SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(0, columns));
    std::vector<double> steps;
    for (int i = 0; i < 10 * runs; ++i) {
        const uint32_t paints = main.Registration()->GridPaints();
        const double t0 = NowMs();
        SendMessageW(grid, WM_MOUSEMOVE, MK_LBUTTON, CellPoint((i + 1) % 2, columns));
        const double ms = NowMs() - t0;
        if (main.Registration()->GridPaints() == paints) {
            std::fprintf(stderr, "drag step %d did not repaint the grid\n", i + 1);
            return 1;
        }
        steps.push_back(ms);
    }
    SendMessageW(grid, WM_LBUTTONUP, 0, CellPoint(0, columns));
    Cancel(main);
    const Summary drag = Summarise(steps);
    std::printf("drag step (reorder and grid repainted), %d steps: median %.2f ms, worst %.2f ms\n", 10 * runs,
                drag.median, drag.worst);
    return 0;
}
