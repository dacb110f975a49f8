#pragma once
// Reading the items of a popup menu that another process has open.
//
// A menu handle is only readable inside the process that made the menu (Wine keeps menus in the owner's
// memory; GetMenuItemCount on a foreign HMENU fails). So the probe asks from the inside: it installs a
// WH_CALLWNDPROC hook from vanprobe_hook.dll on the menu window's thread, sends that window a private
// message, and the hook, now running in the owner's thread, reads the menu and writes the answer into a
// named shared-memory block that the probe created.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vanprobe {

struct MenuItem {
    std::wstring text;
    bool separator = false;
    bool grayed = false;
    bool disabled = false;
    bool checked = false;
};

// The protocol between the probe and the hook.
inline constexpr wchar_t kMenuQueryMessage[] = L"vanprobe.menu-query";
inline constexpr wchar_t kMenuSharedPrefix[] = L"Local\\vanprobe-menu-";
inline constexpr DWORD kMenuSharedBytes = 64 * 1024;
inline constexpr uint32_t kMenuAnswerReady = 0x564D4E55; // set last, after the text

// The shared block: the hook fills `text` with one line per item, "<flags>\t<caption>\n", where flags holds
// S (separator), G (grayed), D (disabled), C (checked) or "-" for none.
struct MenuAnswer {
    volatile uint32_t ready;
    uint32_t length; // characters of text
    wchar_t text[1];
};
inline constexpr DWORD kMenuAnswerCapacity = (kMenuSharedBytes - offsetof(MenuAnswer, text)) / sizeof(wchar_t);

// Fills items from the popup menu window (class #32768); false with a reason in error when it cannot.
bool ReadPopupMenu(HWND menuWindow, DWORD timeoutMs, std::vector<MenuItem>& items, std::wstring& error);

} // namespace vanprobe
