#include "win/title_bar_win.h"

#include "win/system_library_win.h"

namespace vantrel::win {

namespace {

// The attribute's number since the 2004 update of Windows 10, and before it (builds 17763 to 18985).
constexpr DWORD kDarkModeAttribute = 20;
constexpr DWORD kDarkModeAttributeBefore2004 = 19;

using SetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

// The hook has no data of its own: it finds the theme of its thread here.
thread_local TitleBarTheme* threadTheme = nullptr;

bool IsTopLevel(HWND window) {
    return window && (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0;
}

} // namespace

TitleBarTheme::TitleBarTheme(Apply apply) : apply_(std::move(apply)) {
    if (!apply_)
        apply_ = [this](HWND window, bool dark) { return SystemApply(window, dark); };
    threadTheme = this;
    hook_ = SetWindowsHookExW(WH_CBT, &HookProc, nullptr, GetCurrentThreadId());
}

TitleBarTheme::~TitleBarTheme() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
    if (threadTheme == this)
        threadTheme = nullptr;
}

LRESULT CALLBACK TitleBarTheme::HookProc(int code, WPARAM wParam, LPARAM lParam) {
    // A window being made: its frame is not drawn yet, so it never shows in the other colour first. Light is what
    // every window starts with, so only a dark choice needs the call.
    if (code == HCBT_CREATEWND && threadTheme && threadTheme->dark_) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        if (create && create->lpcs && (create->lpcs->style & WS_CHILD) == 0)
            threadTheme->apply_(reinterpret_cast<HWND>(wParam), true);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TitleBarTheme::SetDark(bool dark) {
    if (dark == dark_)
        return;
    dark_ = dark;
    EnumThreadWindows(GetCurrentThreadId(), &EnumProc, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK TitleBarTheme::EnumProc(HWND window, LPARAM self) {
    reinterpret_cast<TitleBarTheme*>(self)->ApplyTo(window);
    return TRUE;
}

void TitleBarTheme::ApplyTo(HWND window) {
    if (!IsTopLevel(window) || !apply_(window, dark_))
        return;
    // The frame of a window already up is drawn again in the new colours.
    if (IsWindowVisible(window))
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

bool TitleBarTheme::SystemApply(HWND window, bool dark) {
    if (!dwmapiTried_) {
        dwmapiTried_ = true;
        // By its full path: a dwmapi.dll beside the program or in the current folder must never load in its place.
        dwmapi_.Reset(LoadSystemLibrary(L"dwmapi.dll"));
        if (dwmapi_)
            setAttribute_ = GetProcAddress(dwmapi_.Get(), "DwmSetWindowAttribute");
    }
    if (!setAttribute_)
        return false;
    const auto set = reinterpret_cast<SetWindowAttribute>(reinterpret_cast<void*>(setAttribute_));
    const BOOL value = dark ? TRUE : FALSE;
    return SUCCEEDED(set(window, kDarkModeAttribute, &value, sizeof(value))) ||
           SUCCEEDED(set(window, kDarkModeAttributeBefore2004, &value, sizeof(value)));
}

} // namespace vantrel::win
