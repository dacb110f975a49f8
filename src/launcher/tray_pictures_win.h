#pragma once
// The normal-state pictures of the Program and System trays, kept between shows: their contents seldom
// change, and drawing forty icons is most of a show's painting. The Task tray changes at every show.

#include <array>
#include <cstdint>
#include <functional>

#include <windows.h>

#include "core/geometry.h"
#include "grid/cell_paint.h"
#include "win/unique_handle_win.h"

namespace vantrel::win {

class TrayPictures {
public:
    // Draws tray's picture at `bounds` of dc. The picture is painted anew through `paint` (the tray's cells,
    // with the box's origin given) when its key or size changed; without memory for it the tray is painted
    // straight onto dc.
    void Draw(HDC dc, int32_t tray, const BoxBounds& bounds, TrayPictureKey key,
              const std::function<void(HDC, POINT)>& paint);

private:
    struct Picture {
        TrayPictureKey key;
        UniqueGdiObject bitmap;
        SIZE size{0, 0};
    };
    std::array<Picture, 3> pictures_;
};

} // namespace vantrel::win
