#include "win/popup_menu_win.h"

#include "win/strings_win.h"
#include "win/unique_handle_win.h"

namespace vantrel::win {

uint32_t TrackPopup(HWND owner, const std::vector<PopupItem>& items, POINT at, UINT alignment) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu)
        return 0;
    for (const PopupItem& item : items) {
        if (item.id == 0) {
            AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        if (!item.enabled)
            flags |= MF_GRAYED;
        if (item.checked)
            flags |= MF_CHECKED;
        AppendMenuW(menu.Get(), flags, item.id, WidePtr(item.caption));
    }
    return static_cast<uint32_t>(
        TrackPopupMenu(menu.Get(), alignment | TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr));
}

} // namespace vantrel::win
