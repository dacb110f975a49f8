#pragma once
// An off-screen picture of a window. Full paints and partial redraws go into it, and the changed part is
// copied to the screen in one step, so nothing flickers; a window that was covered is restored from it.

#include <windows.h>

#include "win/unique_handle_win.h"

namespace vantrel::win {

class BackBuffer {
public:
    BackBuffer() = default;
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // Gives the buffer this size (a size of zero counts as one pixel); the contents are undefined after a
    // change. False when the system refused the memory.
    bool Resize(SIZE size);
    HDC Dc() const { return dc_.Get(); }
    SIZE Size() const { return size_; }
    bool Ready() const { return dc_ && bitmap_; }

    // Copies an area of the buffer to the same place of a window's DC.
    void CopyTo(HDC target, const RECT& area) const;

private:
    UniqueDc dc_;
    UniqueGdiObject bitmap_;
    HGDIOBJ originalBitmap_ = nullptr; // selected back before the DC goes
    SIZE size_{0, 0};
};

} // namespace vantrel::win
