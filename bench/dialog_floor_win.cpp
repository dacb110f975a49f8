// The floor for the option-dialog figure: a minimal dialog program doing the same thing in the plainest way. A
// command makes a modeless dialog from a small template (a list, a few boxes, OK and Cancel) and shows it; the
// time runs until it is painted, the dialog is destroyed, and again.
//
//   dialog_floor [runs]    the same figure as dialog_bench, default 30 openings after a cold one

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "dialog_painted_win.h"

namespace {

constexpr int kTemplate = 100;
constexpr int kList = 101;

double NowMs() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

template <typename Done> bool PumpUntil(HWND dialog, Done done, double limitMs) {
    const double end = NowMs() + limitMs;
    MSG msg;
    while (!done()) {
        if (NowMs() > end)
            return false;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (dialog && IsDialogMessageW(dialog, &msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        }
    }
    return true;
}

INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        for (int i = 0; i < 26; ++i) {
            const wchar_t letter[2] = {static_cast<wchar_t>(L'A' + i), 0};
            SendDlgItemMessageW(dialog, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(letter));
        }
        return TRUE;
    }
    return FALSE;
}

HWND OpenDialog() {
    const HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTemplate), nullptr, &Proc, 0);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    return dialog;
}

bool TimedOpening(double& ms) {
    const double t0 = NowMs();
    HWND dialog = OpenDialog();
    const bool painted = PumpUntil(
        dialog, [&] { return vantrel::bench::FullyPainted(dialog); }, 10000);
    ms = NowMs() - t0;
    DestroyWindow(dialog);
    PumpUntil(
        nullptr, [] { return false; }, 20);
    return painted;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 30;
    double cold = 0;
    if (!TimedOpening(cold)) {
        std::fprintf(stderr, "the dialog was never painted\n");
        return 1;
    }
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double ms = 0;
        if (!TimedOpening(ms))
            return 1;
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "minimal dialog program (command to painted), %d openings: median %.2f ms, worst %.2f ms; first %.2f ms\n",
        runs, times[times.size() / 2], times.back(), cold);
    return 0;
}
