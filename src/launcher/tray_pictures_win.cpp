#include "launcher/tray_pictures_win.h"

#include <algorithm>
#include <utility>

namespace vantrel::win {

void TrayPictures::Draw(HDC dc, int32_t tray, const BoxBounds& bounds, TrayPictureKey key,
                        const std::function<void(HDC, POINT)>& paint) {
    Picture& picture = pictures_[static_cast<std::size_t>(std::clamp(tray, 0, 2))];
    const UniqueDc pictureDc(CreateCompatibleDC(dc));
    const bool sameSize = picture.size.cx == bounds.width && picture.size.cy == bounds.height;
    if (pictureDc && (!picture.bitmap || !sameSize || !(key == picture.key))) {
        picture.bitmap.Reset(CreateCompatibleBitmap(dc, std::max(bounds.width, 1), std::max(bounds.height, 1)));
        if (picture.bitmap) {
            SelectGuard select(pictureDc.Get(), picture.bitmap.Get());
            const RECT all{0, 0, bounds.width, bounds.height};
            const UniqueGdiObject background(CreateSolidBrush(key.colours.background));
            FillRect(pictureDc.Get(), &all, static_cast<HBRUSH>(background.Get()));
            paint(pictureDc.Get(), POINT{0, 0});
            picture.key = std::move(key);
            picture.size = {bounds.width, bounds.height};
        }
    }
    if (!pictureDc || !picture.bitmap) {
        picture.bitmap.Reset();
        paint(dc, POINT{bounds.left, bounds.top});
        return;
    }
    SelectGuard select(pictureDc.Get(), picture.bitmap.Get());
    BitBlt(dc, bounds.left, bounds.top, bounds.width, bounds.height, pictureDc.Get(), 0, 0, SRCCOPY);
}

} // namespace vantrel::win
