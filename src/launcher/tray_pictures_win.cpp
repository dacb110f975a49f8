#include "launcher/tray_pictures_win.h"

#include <algorithm>
#include <utility>

namespace vantrel::win {

bool TrayPictures::Holds(int32_t tray, const BoxBounds& bounds, const TrayPictureKey& key) const {
    const Picture& picture = pictures_[static_cast<std::size_t>(std::clamp(tray, 0, 2))];
    const SIZE size = picture.buffer.Size();
    return picture.painted && size.cx == bounds.width && size.cy == bounds.height && key == picture.key;
}

void TrayPictures::Draw(HDC dc, int32_t tray, const BoxBounds& bounds, TrayPictureKey key,
                        const std::function<void(HDC, POINT)>& paint) {
    Picture& picture = pictures_[static_cast<std::size_t>(std::clamp(tray, 0, 2))];
    if (!Holds(tray, bounds, key)) {
        picture.painted = false;
        if (picture.buffer.Resize({bounds.width, bounds.height})) {
            const RECT all{0, 0, bounds.width, bounds.height};
            const UniqueGdiObject background(CreateSolidBrush(key.colours.background));
            FillRect(picture.buffer.Dc(), &all, static_cast<HBRUSH>(background.Get()));
            paint(picture.buffer.Dc(), POINT{0, 0});
            picture.key = std::move(key);
            picture.painted = true;
        }
    }
    if (!picture.painted) {
        paint(dc, POINT{bounds.left, bounds.top});
        return;
    }
    BitBlt(dc, bounds.left, bounds.top, bounds.width, bounds.height, picture.buffer.Dc(), 0, 0, SRCCOPY);
}

} // namespace vantrel::win
