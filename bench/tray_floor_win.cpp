// The floor of the start-up figure: the least a resident program with a notification-area icon must do. It makes a
// hidden window, loads its small icon from its own resources, adds the icon and answers messages; WM_CLOSE ends it.
// startup_bench times it from process start to its window answering, the same way as vantrel.exe.
//
//   tray_floor        resident until closed

#include <windows.h>

#include <shellapi.h>

namespace {

constexpr wchar_t kClass[] = L"VanTrayFloor";

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        DestroyWindow(hwnd);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = instance;
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    const HWND window =
        CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"floor", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    const int size = GetSystemMetrics(SM_CXSMICON);
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_APP;
    data.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    lstrcpyW(data.szTip, L"floor");
    Shell_NotifyIconW(NIM_ADD, &data);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    Shell_NotifyIconW(NIM_DELETE, &data);
    return 0;
}
