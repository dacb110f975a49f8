#include "win/back_buffer_win.h"

#include <algorithm>

namespace vantrel::win {

BackBuffer::~BackBuffer() {
    if (dc_ && originalBitmap_)
        SelectObject(dc_.Get(), originalBitmap_);
}

bool BackBuffer::Resize(SIZE size) {
    if (Ready() && size.cx == size_.cx && size.cy == size_.cy)
        return true;
    WindowDc screen(nullptr);
    if (!dc_)
        dc_.Reset(CreateCompatibleDC(screen.Get()));
    if (!dc_)
        return false;
    UniqueGdiObject bitmap(
        CreateCompatibleBitmap(screen.Get(), std::max<LONG>(size.cx, 1), std::max<LONG>(size.cy, 1)));
    if (!bitmap)
        return false;
    const HGDIOBJ previous = SelectObject(dc_.Get(), bitmap.Get());
    if (!originalBitmap_)
        originalBitmap_ = previous;
    bitmap_ = std::move(bitmap); // the previous bitmap is no longer selected and goes now
    size_ = size;
    return true;
}

void BackBuffer::CopyTo(HDC target, const RECT& area) const {
    if (!Ready() || !target)
        return;
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.Get(), area.left, area.top,
           SRCCOPY);
}

} // namespace vantrel::win
