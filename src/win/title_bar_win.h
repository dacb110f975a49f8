#pragma once
// Dark title bars on every window the program makes, where the system offers them (the DWM attribute
// DWMWA_USE_IMMERSIVE_DARK_MODE). One hook on the user-interface thread sees each top-level window as it is made
// (dialogs, property sheets, message boxes, file dialogs alike) before its frame is first drawn; a change of the
// choice reaches the windows that exist at once.
//
//   TitleBarTheme titleBars;            // on the user-interface thread, before the first window
//   titleBars.SetDark(scheme == Dark);  // at the start and whenever the scheme may have changed

#include <windows.h>

#include <functional>

#include "win/unique_handle_win.h"

namespace vantrel::win {

class TitleBarTheme {
public:
    // Sets a window's title bar dark or light; false when the system cannot.
    using Apply = std::function<bool(HWND, bool dark)>;

    // Applies through dwmapi.dll, loaded from the system folder when first needed, unless a test gives another way.
    explicit TitleBarTheme(Apply apply = {});
    ~TitleBarTheme();
    TitleBarTheme(const TitleBarTheme&) = delete;
    TitleBarTheme& operator=(const TitleBarTheme&) = delete;

    bool Dark() const { return dark_; }
    // The choice for the windows to come; the top-level windows of this thread change at once.
    void SetDark(bool dark);

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    static BOOL CALLBACK EnumProc(HWND window, LPARAM self);
    bool SystemApply(HWND window, bool dark);
    void ApplyTo(HWND window);

    Apply apply_;
    bool dark_ = false;
    HHOOK hook_ = nullptr;
    UniqueModule dwmapi_;
    bool dwmapiTried_ = false;
    FARPROC setAttribute_ = nullptr;
};

} // namespace vantrel::win
