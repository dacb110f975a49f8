#pragma once
// The floor of the dialog figures: a minimal dialog program doing the same thing in the plainest way. A command makes
// a modeless dialog from a small template (a list, a few boxes, OK and Cancel, dialog_floor.rc) and shows it; the
// time runs until it is painted, and the dialog is destroyed again. dialog_floor.exe measures it alone, dialog_bench
// between the openings of vantrel's dialogs, so that both meet the same moment of the machine.

#include <windows.h>

#include "dialog_painted_win.h"

namespace vantrel::bench {

constexpr int kFloorTemplate = 100;
constexpr int kFloorList = 101;

inline double FloorNowMs() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// Dispatches messages (the dialog's first) until `done` holds or `limitMs` passes.
template <typename Done> bool FloorPumpUntil(HWND dialog, Done done, double limitMs) {
    const double end = FloorNowMs() + limitMs;
    MSG msg;
    while (!done()) {
        if (FloorNowMs() > end)
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

inline INT_PTR CALLBACK FloorProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        for (int i = 0; i < 26; ++i) {
            const wchar_t letter[2] = {static_cast<wchar_t>(L'A' + i), 0};
            SendDlgItemMessageW(dialog, kFloorList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(letter));
        }
        return TRUE;
    }
    return FALSE;
}

// One opening: made, shown, painted, destroyed; the milliseconds to painted, or a negative value when it never was.
inline double TimedFloorOpening() {
    const double t0 = FloorNowMs();
    const HWND dialog =
        CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kFloorTemplate), nullptr, &FloorProc, 0);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    const bool painted = FloorPumpUntil(
        dialog, [&] { return FullyPainted(dialog); }, 10000);
    const double ms = FloorNowMs() - t0;
    DestroyWindow(dialog);
    FloorPumpUntil(
        nullptr, [] { return false; }, 20);
    return painted ? ms : -1;
}

} // namespace vantrel::bench
