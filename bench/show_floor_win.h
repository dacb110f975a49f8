#pragma once
// The floor of a show: the least any launcher must do on its hot key. A borderless tool window of a given size
// comes up in front, takes the keyboard, and paints itself from a bitmap prepared at start; the same hot key
// hides it again. Nothing is enumerated, laid out or drawn at show time.

#include <windows.h>

#include <cstdint>

namespace vantrel::bench {

class ShowFloor {
public:
    ShowFloor() = default;
    ~ShowFloor() {
        if (window_)
            DestroyWindow(window_);
        if (dc_) {
            SelectObject(dc_, original_);
            DeleteDC(dc_);
        }
        if (bitmap_)
            DeleteObject(bitmap_);
    }
    ShowFloor(const ShowFloor&) = delete;
    ShowFloor& operator=(const ShowFloor&) = delete;

    // The window (hidden) and its picture, width x height pixels.
    bool Create(int width, int height) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &ShowFloor::WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"VanShowFloor";
        RegisterClassW(&wc);
        width_ = width;
        height_ = height;
        window_ = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"floor", WS_POPUP | WS_SYSMENU, 0, 0, width,
                                  height, nullptr, nullptr, wc.hInstance, this);
        if (!window_)
            return false;
        const HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        if (!dc_ || !bitmap_)
            return false;
        original_ = SelectObject(dc_, bitmap_);
        // Something that looks like trays: a face-coloured field with darker boxes.
        const RECT all{0, 0, width, height};
        FillRect(dc_, &all, GetSysColorBrush(COLOR_BTNFACE));
        for (int y = 20; y + 40 < height; y += 90) {
            const RECT box{8, y, width - 8, y + 82};
            FillRect(dc_, &box, GetSysColorBrush(COLOR_BTNSHADOW));
        }
        return true;
    }

    HWND Handle() const { return window_; }
    uint32_t PaintCount() const { return paints_; }

    // The hot key: up, centred on the screen and in front with the keyboard, or hidden when it is up.
    void Toggle() {
        if (IsWindowVisible(window_)) {
            ShowWindow(window_, SW_HIDE);
            return;
        }
        const int x = (GetSystemMetrics(SM_CXSCREEN) - width_) / 2;
        const int y = (GetSystemMetrics(SM_CYSCREEN) - height_) / 2;
        SetWindowPos(window_, HWND_TOP, x, y, width_, height_, SWP_SHOWWINDOW | SWP_NOACTIVATE);
        SetForegroundWindow(window_);
        SetFocus(window_);
    }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<ShowFloor*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        switch (message) {
        case WM_HOTKEY:
            if (self)
                self->Toggle();
            return 0;
        case WM_ERASEBKGND:
            return 1; // the picture covers everything
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            const HDC dc = BeginPaint(hwnd, &ps);
            if (self && dc) {
                BitBlt(dc, 0, 0, self->width_, self->height_, self->dc_, 0, 0, SRCCOPY);
                ++self->paints_;
            }
            EndPaint(hwnd, &ps);
            return 0;
        }
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    }

    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ original_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    uint32_t paints_ = 0;
};

} // namespace vantrel::bench
