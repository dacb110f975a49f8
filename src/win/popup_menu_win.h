#pragma once
// Popup menus built from tables of entries: the tray menu and the launcher's item menu.

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

namespace vantrel::win {

struct PopupItem {
    uint32_t id = 0; // 0 for a separator
    std::u16string caption;
    bool enabled = true;
    bool checked = false;
};

// Shows the items as a popup menu at a screen point and returns the chosen id, 0 for none. The menu runs a
// message loop of its own: afterwards the caller must check that its window and state are still what the
// choice was made for.
uint32_t TrackPopup(HWND owner, const std::vector<PopupItem>& items, POINT at, UINT alignment);

} // namespace vantrel::win
