#include "win/dpi_win.h"

#include "win/system_library_win.h"

namespace vantrel::win {

namespace {

// The per-monitor calls exist from Windows 8.1 (GetDpiForMonitor) and 10 (the others); they are looked up by name so
// that the program still starts on the older systems it supports.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI

template <typename Fn> Fn UserFunction(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

GetDpiForMonitorFn MonitorDpiFunction() {
    static const GetDpiForMonitorFn function = [] {
        HMODULE shcore = LoadSystemLibrary(L"shcore.dll");
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    return function;
}

DpiScale Valid(UINT dpi) {
    return dpi > 0 && dpi < 10000 ? DpiScale{static_cast<int32_t>(dpi)} : SystemScale();
}

} // namespace

DpiScale SystemScale() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kDefaultDpi;
    if (screen)
        ReleaseDC(nullptr, screen);
    return {dpi > 0 ? dpi : kDefaultDpi};
}

DpiScale MonitorScale(HMONITOR monitor) {
    UINT x = 0;
    UINT y = 0;
    if (const auto function = MonitorDpiFunction();
        function && monitor && SUCCEEDED(function(monitor, kEffectiveDpi, &x, &y)))
        return Valid(x);
    return SystemScale();
}

DpiScale ScaleAtPoint(POINT point) {
    return MonitorScale(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST));
}

DpiScale WindowScale(HWND window) {
    static const auto function = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
    if (function && window)
        if (const UINT dpi = function(window))
            return Valid(dpi);
    return window ? MonitorScale(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)) : SystemScale();
}

int SystemMetricAt(int index, DpiScale scale) {
    static const auto function = UserFunction<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (function)
        return function(index, static_cast<UINT>(scale.dpi));
    return GetSystemMetrics(index);
}

} // namespace vantrel::win
