#pragma once
// The normal-state pictures of the trays, kept between shows: the Program and System trays seldom change, and
// the Task tray holds the same windows from one show to the next more often than not; drawing forty icons is
// most of a show's painting.

#include <array>
#include <cstdint>
#include <functional>

#include <windows.h>

#include "core/geometry.h"
#include "grid/cell_paint.h"
#include "win/back_buffer_win.h"
#include "win/unique_handle_win.h"

namespace vantrel::win {

class TrayPictures {
public:
    // Draws tray's picture at `bounds` of dc. The picture is painted anew through `paint` (the tray's cells,
    // with the box's origin given) when its key or size changed; without memory for it the tray is painted
    // straight onto dc.
    void Draw(HDC dc, int32_t tray, const BoxBounds& bounds, TrayPictureKey key,
              const std::function<void(HDC, POINT)>& paint);
    // Whether tray's picture is painted, of the size of `bounds`, and shows `key`.
    bool Holds(int32_t tray, const BoxBounds& bounds, const TrayPictureKey& key) const;

private:
    // Each picture stays selected in a DC of its own: under Wine selecting a bitmap into a DC costs more than
    // copying the whole picture.
    struct Picture {
        TrayPictureKey key;
        BackBuffer buffer;
        bool painted = false;
    };
    std::array<Picture, 3> pictures_;
};

} // namespace vantrel::win
