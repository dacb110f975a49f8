// The floor of the resident program's idle cost: a hidden window polled every 100 ms by a multimedia timer,
// whose tick does what the mouse-combination detector must (read the cursor, walk the parent chain of the
// window under it, read the top-level window's class name and the three buttons) and nothing else.
//
//   launcher_idle_floor [seconds]    runs that long (default 70), then ends

#include <windows.h>

#include <mmsystem.h>

#include <cwchar>

namespace {

constexpr UINT kTick = WM_APP + 3;

void CALLBACK TimerCallback(UINT, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR) {
    PostMessageW(reinterpret_cast<HWND>(window), kTick, 0, 0);
}

volatile SHORT sink;

void Tick() {
    POINT pt{};
    GetCursorPos(&pt);
    HWND last = nullptr;
    for (HWND w = WindowFromPoint(pt); w; w = GetParent(w))
        last = w;
    wchar_t name[256] = {};
    if (last)
        GetClassNameW(last, name, 256);
    sink = static_cast<SHORT>(GetAsyncKeyState(VK_LBUTTON) | GetAsyncKeyState(VK_RBUTTON) |
                              GetAsyncKeyState(VK_MBUTTON) | name[0]);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTick) {
        Tick();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const DWORD seconds = argc > 1 ? static_cast<DWORD>(_wtoi(argv[1])) : 70;
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VanIdleFloor";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"VanIdleFloor", L"VanIdleFloor", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, wc.hInstance, nullptr);
    if (!hwnd)
        return 1;
    const UINT timer = timeSetEvent(100, 100, &TimerCallback, reinterpret_cast<DWORD_PTR>(hwnd),
                                    TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    const DWORD end = GetTickCount() + seconds * 1000;
    MSG msg;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, end - GetTickCount(), QS_ALLINPUT) == WAIT_OBJECT_0) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
        }
    }
    timeKillEvent(timer);
    DestroyWindow(hwnd);
    return 0;
}
