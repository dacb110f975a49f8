#include "win/window_win.h"

#include "win/dialog_win.h"

namespace vantrel::win {

Window::~Window() {
    if (hwnd_) {
        // The object is going away: the window must no longer find it.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool Window::Create(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle, int x, int y,
                    int width, int height, HWND parent, HICON classIcon) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{sizeof(existing)};
    if (!GetClassInfoExW(instance, className, &existing)) {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = &Window::WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = classIcon;
        wc.lpszClassName = className;
        if (!RegisterClassExW(&wc))
            return false;
    }
    return CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent, nullptr, instance, this) !=
           nullptr;
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

std::wstring ModulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ModuleFolder(HMODULE module) {
    std::wstring path = ModulePath(module);
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

void ProcessPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (PreTranslateDialogMessage(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace vantrel::win
