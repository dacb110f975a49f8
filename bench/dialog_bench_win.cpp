// Dialog figures, measured inside the resident program's own code under Wine: from the command that opens each
// dialog to the dialog painted (the window and every control with nothing left to paint), over `runs` openings
// after a first one, each closed again as a user does:
//
//   dialog_bench [runs]    (default 30)
//
//   Setting              the tray command "&Setting...", cancelled
//   Registering Icons    the tray icon's left click, with the grid painted too, cancelled
//   Select Environment   the tray command "Select &Environment...", cancelled
//   About                the tray command "&About...", closed with OK
//   Icon setting         "&Setting..." of Registering Icons' popup menu on the first Program item, from the moment the
//                        menu closes; cancelled
//   Delete icon          the Delete key on the first Program item of Registering Icons; answered "&No"
//
// After every opening the minimal dialog program's opening (dialog_floor_win.h) is timed in the same process, so that
// each dialog's figure has a floor from the same moments of the machine, and their ratio.
//
// It runs the real resident window with the current user's settings (tools/bench.d/speed.sh gives it 200 Program and
// 200 System items). Only the resident window's public face is used, so that the same file measures an older tree.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "app/tray_menu.h"
#include "app/vantrel_main_win.h"
#include "bench_support_win.h"
#include "dialog_floor_win.h"
#include "dialog_painted_win.h"
#include "dialogs/about_dialog_win.h"
#include "dialogs/environment_dialogs_win.h"
#include "dialogs/option_dialog_win.h"
#include "dialogs/registration_dialog_win.h"

using vantrel::bench::FullyPainted;
using vantrel::bench::NowMs;
using vantrel::bench::PumpUntil;
using vantrel::bench::Summarise;
using vantrel::bench::Summary;
using vantrel::win::VantrelMain;

namespace {

void PumpIdle(double ms) {
    PumpUntil([] { return false; }, ms);
}

// A visible dialog of this thread with that caption.
HWND FindDialog(const wchar_t* caption) {
    struct Search {
        const wchar_t* caption;
        HWND found;
    } search{caption, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t text[64] = {};
            GetWindowTextW(window, text, 64);
            if (IsWindowVisible(window) && std::wcscmp(text, s->caption) == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// One dialog: how it is opened (returning the moment the command began, for a command that runs inside a menu),
// how its window is found painted, and how it is closed.
struct DialogCase {
    const char* name;
    std::function<double()> open;
    std::function<HWND()> window;
    std::function<bool(HWND)> painted;
    std::function<void(HWND)> close;
};

bool TimedOpening(const DialogCase& c, double& ms) {
    double t0 = NowMs();
    const double commandAt = c.open();
    if (commandAt > 0)
        t0 = commandAt;
    HWND window = nullptr;
    const bool painted = PumpUntil(
        [&] {
            window = c.window();
            return window && c.painted(window);
        },
        20000);
    ms = NowMs() - t0;
    if (window)
        c.close(window);
    PumpUntil([&] { return !IsWindowVisible(window); }, 5000);
    // What the program does once a dialog is drawn and closed (a dialog made ahead for the next opening) belongs to
    // neither this figure nor the floor's that follows.
    PumpIdle(60);
    return painted;
}

// The moment the popup menu of Registering Icons closed: the command chosen in it begins there.
double g_menuClosedAt = 0;
HHOOK g_hook = nullptr;

LRESULT CALLBACK MenuWatch(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_EXITMENULOOP)
        g_menuClosedAt = NowMs();
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

// Right-clicks the first cell of the Program grid; the menu that opens takes its first entry, "&Setting...", from
// keys waiting for it. Returns when the menu has closed and the command has run.
double ChooseSettingFromMenu(VantrelMain& main) {
    const HWND grid = main.Registration()->Grid(vantrel::ProgramTray);
    g_menuClosedAt = 0;
    PostMessageW(grid, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(grid, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(grid, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
    return g_menuClosedAt;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 30;
    VantrelMain main;
    if (!main.Start() || !main.Options() || !main.Registration()) {
        std::fprintf(stderr, "the resident window could not be created\n");
        return 1;
    }
    // The program makes its dialogs' windows once it is idle after the start: the first openings come after that.
    PumpIdle(2500);
    g_hook = SetWindowsHookExW(WH_CALLWNDPROCRET, &MenuWatch, nullptr, GetCurrentThreadId());
    const auto registration = [&] { return main.Registration()->Handle(); };
    uint32_t gridPaints = 0;
    const auto openRegistration = [&] {
        gridPaints = main.Registration()->GridPaints();
        // What the notification area sends for a left click on the icon.
        PostMessageW(main.Handle(), vantrel::win::kMsgTrayIcon, 0, WM_LBUTTONDOWN);
        return 0.0;
    };
    const auto cancel = [](HWND w) { Click(w, IDCANCEL); };
    const std::vector<DialogCase> cases = {
        {"Setting", [&] { return main.RunTrayCommand(vantrel::tmOption), 0.0; },
         [&] { return main.Options()->Handle(); }, FullyPainted, cancel},
        {"Registering Icons", openRegistration, registration,
         [&](HWND w) { return main.Registration()->GridPaints() != gridPaints && FullyPainted(w); }, cancel},
        {"Select Environment", [&] { return main.RunTrayCommand(vantrel::tmCondition), 0.0; },
         [&] { return main.Selection() ? main.Selection()->Handle() : nullptr; }, FullyPainted, cancel},
        {"About", [&] { return main.RunTrayCommand(vantrel::tmAbout), 0.0; },
         [&] { return main.About() ? main.About()->Handle() : nullptr; }, FullyPainted, [](HWND w) { Click(w, IDOK); }},
        {"Icon setting", [&] { return ChooseSettingFromMenu(main); }, [] { return FindDialog(L"Icon setting"); },
         FullyPainted, cancel},
        {"Delete icon",
         [&] {
             SendMessageW(main.Registration()->Grid(vantrel::ProgramTray), WM_KEYDOWN, VK_DELETE, 0);
             return 0.0;
         },
         [] { return FindDialog(L"Delete icon"); }, FullyPainted, cancel},
    };
    const auto& trays = main.State().TrayData;
    std::printf("dialogs (command to painted), %d openings each after a first one, each followed by the minimal dialog "
                "program's (goal: ratio at most 1.5); %zu Program and %zu System items:\n",
                runs, trays[vantrel::ProgramTray].Items.size(), trays[vantrel::SystemTray].Items.size());
    for (const DialogCase& c : cases) {
        // The icon dialogs are opened from Registering Icons, which stays open under them.
        const bool child = c.name == std::string("Icon setting") || c.name == std::string("Delete icon");
        if (child && trays[vantrel::ProgramTray].Items.empty()) {
            std::printf("  %-19s (no Program item to open it for)\n", c.name);
            continue;
        }
        if (child) {
            openRegistration();
            PumpUntil([&] { return FullyPainted(registration()); }, 20000);
        }
        std::vector<double> times;
        std::vector<double> floorTimes;
        double first = 0;
        for (int i = 0; i <= runs; ++i) {
            double ms = 0;
            if (!TimedOpening(c, ms)) {
                std::fprintf(stderr, "%s: opening %d was never painted\n", c.name, i + 1);
                return 1;
            }
            const double floor = vantrel::bench::TimedFloorOpening();
            if (floor < 0) {
                std::fprintf(stderr, "the minimal dialog was never painted\n");
                return 1;
            }
            if (i == 0) {
                first = ms;
                continue;
            }
            times.push_back(ms);
            floorTimes.push_back(floor);
        }
        if (child)
            cancel(registration());
        PumpIdle(50);
        const Summary s = Summarise(times);
        const Summary f = Summarise(floorTimes);
        std::printf("  %-19s median %7.2f ms, worst %7.2f ms; first %7.2f ms; floor median %6.2f ms; ratio %.2f\n",
                    c.name, s.median, s.worst, first, f.median, s.median / f.median);
    }
    UnhookWindowsHookEx(g_hook);
    return 0;
}
