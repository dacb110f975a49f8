#pragma once
// What an icon looks like on screen, for tests that compare icons by their pixels rather than by handle.

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace vantrel::testing {

// What `draw` puts on a width x height picture, as top-down 0x00RRGGBB pixels.
template <class Draw> std::vector<uint32_t> DrawnPixels(int width, int height, HDC reference, Draw draw) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = CreateCompatibleDC(reference);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    if (bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        draw(dc);
        GdiFlush();
        std::memcpy(pixels.data(), bits, pixels.size() * sizeof(uint32_t));
        SelectObject(dc, old);
        DeleteObject(bitmap);
    }
    DeleteDC(dc);
    return pixels;
}

// The icon drawn at 32x32 over black.
inline std::vector<uint32_t> IconPixels(HICON icon) {
    constexpr int kSize = 32;
    return DrawnPixels(kSize, kSize, nullptr, [&](HDC dc) {
        RECT all{0, 0, kSize, kSize};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        DrawIconEx(dc, 0, 0, icon, kSize, kSize, 0, nullptr, DI_NORMAL);
    });
}

// Width of an icon's own image: what it was made at, whatever size it is later drawn.
inline int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return 0;
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// What a shown window's client area holds on screen.
inline std::vector<uint32_t> WindowPixels(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    HDC screen = GetDC(window);
    std::vector<uint32_t> pixels = DrawnPixels(client.right, client.bottom, screen, [&](HDC dc) {
        BitBlt(dc, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    });
    ReleaseDC(window, screen);
    return pixels;
}

inline COLORREF PixelColor(uint32_t pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

} // namespace vantrel::testing
