#pragma once
// The decisions of "Icon setting" and "Delete icon": the direct key as the edit shows it and as the item stores it,
// what each typed key does to the edit, the icon strip's cells and selection, how OK changes the item, and how a
// dialog that stays open while the lists change finds the item it was opened for again (or knows it is gone).

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dpi_scale.h"
#include "core/records.h"
#include "grid/cells.h"
#include "services/item_services.h"

namespace vantrel {

// ---- Direct keys ----------------------------------------------------------------------------------------------
// An item keeps its direct key in bits 8-15 of Status: a letter (capital without Shift, small with it), a digit or
// the character Shift makes of it, 192-203 for F1-F12 and 224-235 for Shift+F1-F12.

constexpr int32_t kFunctionKeyCodeBase = 191;      // F1 is 192
constexpr int32_t kShiftFunctionKeyCodeBase = 223; // Shift+F1 is 224
constexpr int32_t kFunctionKeys = 12;

struct DirectKeyShown {
    std::u16string text; // "A", "a", "5", "!", "F7", "f7", or empty
    bool shift = false;
    friend bool operator==(const DirectKeyShown&, const DirectKeyShown&) = default;
};
// How the dialog shows a stored code. A code that no key gives (only a hand-edited file has one) shows as empty.
DirectKeyShown ShowDirectKey(int32_t code, bool usKeyboard);

// The code of what the edit holds; none when the text is not something a key gives, or its character does not
// fit the 8 bits the settings keep (Shift+0 on a Japanese keyboard is U+FF66).
std::optional<int32_t> DirectKeyCode(std::u16string_view text, bool usKeyboard);

// A character typed into the direct-key edit. Every character is handled here (the edit never takes one itself):
// Enter moves on to OK; anything else replaces the edit's text with the key it stands for, or empties it when it
// stands for none (a space, Backspace, a digit while digits are not direct keys).
struct DirectKeyTyped {
    std::u16string text;     // the edit's new text
    bool focusOk = false;    // the focus moves on to OK
    bool textChanged = true; // false for Enter, which leaves the text alone
    bool refused = false;    // the key gives a character the settings cannot keep: the user is told
    friend bool operator==(const DirectKeyTyped&, const DirectKeyTyped&) = default;
};
DirectKeyTyped DirectEditKeyPress(char16_t typed, bool shiftChecked, bool keyNumberFlag, bool usKeyboard);

// F1..F12 (virtual keys 112..123) pressed in the edit: "F7", or "f7" with Shift checked; none for other keys.
std::optional<std::u16string> DirectEditFunctionKey(int32_t virtualKey, bool shiftChecked);

// The edit's text after Shift was checked or cleared; none when the shifted character cannot be kept (the box
// then goes back to how it was).
std::optional<std::u16string> ShiftToggled(std::u16string_view text, bool checked, bool usKeyboard);

// ---- The icon strip -------------------------------------------------------------------------------------------

// The strip's cells are the grids' cells at the dialog's scale (40 pixels at 96 dpi, 60 at 144), each icon
// centred in its cell at the size the grids draw; the strip's window adds its one-pixel frame around them and,
// when the icons do not all fit its width, a scroll bar under them.
constexpr int32_t kIconStripFrame = 2;
constexpr int32_t kIconStripScrollBar = 18; // at 96 dpi; the adapter gives the system's own height
// At most this many icons are shown of one file: each holds two bitmaps, and a process may hold 10,000 GDI
// objects in all (the trays' icons among them). The largest icon libraries of the system hold a few hundred.
constexpr std::size_t kIconStripMostIcons = 1000;
// A cell's icon comes with those of the cells after it, as many as the strip shows at once.
constexpr std::size_t kIconStripBatch = 11;

// The icons of a file, or one substitute cell (the item's own icon) when the file has none. A cell's icon is
// extracted when it is first drawn: a strip shows ten of a library's hundreds, and an opening of "Icon setting" does
// not wait for the rest.
struct IconStripIcons {
    std::u16string path;
    std::vector<IconRef> icons; // one per cell, empty until drawn
    bool substitute = false;    // the file is no icon source: Index becomes -1 when it was picked
};
// The strip's cells for another file. The icons it showed go first, so that two files' icons are never held at once;
// the same file with as many icons as before keeps those it has.
void LoadIconList(IconStripIcons& strip, const std::u16string& path, int32_t status, int32_t index, IconSource& icons);
// The dialog closed with `first` the first cell in view: the icons of the cells in view stay for its next opening on
// the same file, the rest are let go, so that a closed dialog holds no more than one view of icons.
void KeepIconsInView(IconStripIcons& strip, int32_t first);
// The icon of a cell, extracted from the file the first time it is asked for; 0 beyond the cells or when the file
// did not give it.
IconHandle StripIcon(IconStripIcons& strip, int32_t cell, IconSource& icons);

struct IconStrip {
    int32_t cells = 0;
    int32_t Index = 0;          // the selected icon; -1: the associated icon, every cell drawn selected, none pickable
    CellMetrics metrics;        // the cells at the dialog's scale
    int32_t visibleWidth = 400; // the strip's inner width: icons beyond it are scrolled to
    int32_t scrollBarHeight = kIconStripScrollBar; // the horizontal scroll bar's height at that scale

    // The strip's figures on a screen of this scale, with its inner width (frame taken off) and scroll bar there.
    void Scale(DpiScale scale, int32_t innerWidth, int32_t scrollBar);

    bool Selected(int32_t cell) const { return cell == Index || Index < 0; }
    // A click at x in the strip: the cell under it becomes the selection. Ignored while Index is -1 and beyond
    // the last cell.
    bool PickAt(int32_t x);
    int32_t Pitch() const { return metrics.pitch; }
    int32_t IconInset() const { return (metrics.pitch - metrics.iconSize) / 2; }
    int32_t Width() const { return cells * metrics.pitch; }
    // The icons do not all fit: the scroll bar is shown, under the cells.
    bool Scrolls() const { return Width() > visibleWidth; }
    int32_t BoxHeight() const { return metrics.pitch + kIconStripFrame + (Scrolls() ? scrollBarHeight : 0); }
    int32_t ScrollTo() const { return std::max(Index, 0) * metrics.pitch; }
};

// ---- OK -------------------------------------------------------------------------------------------------------

// What the dialog's controls hold when OK is pressed.
struct IconSettingValues {
    std::u16string direct;
    bool directEdited = false; // a key, F-key or the Shift box changed the direct-key edit
    std::u16string title;
    std::u16string iconFile;
    std::u16string exeFile;
    std::u16string arguments;
    std::u16string directory;
    bool runas = false;
    int32_t index = 0;
};

// What the item held when the dialog was filled: an untouched direct key is kept as it was stored, even a code
// no key gives (which shows as an empty edit).
struct IconSettingOrigin {
    int32_t directKey = 0;
};

enum class IconSettingRefusal { None, BlankTitle, DirectKey };
// Checks the values before anything changes: a blank title (the settings file would end its list at it) and a
// direct key the settings cannot keep are refused.
IconSettingRefusal CheckIconSetting(const IconSettingValues& values, const IconSettingOrigin& origin, bool usKeyboard);

// Writes the values into the item: the executable (not of a built-in System item), title, direct key, a new
// icon when its file or number changed, parameters, working folder and the run-as mark. The item must have
// passed CheckIconSetting.
void ApplyIconSetting(RData& item, const IconSettingValues& values, const IconSettingOrigin& origin, bool usKeyboard,
                      IconSource& icons);

// ---- The item a dialog was opened for -------------------------------------------------------------------------

// A dialog that stays open (icon setting, delete) remembers the item as it was; the lists may change meanwhile (a
// drag, a delete, a drive added on a show, an environment switch).
struct ItemTarget {
    int32_t tray = 0;
    int32_t index = 0;
    bool exists = false; // there was an item at that index when the dialog opened
    RData item;
};
ItemTarget TargetOf(const std::array<TrayEntry, 3>& trays, int32_t tray, int32_t index);

// Where the item is now: at its old index when it is still there, else the one place the same item moved to;
// none when it is gone, was changed, or cannot be told apart from an identical one.
std::optional<int32_t> LocateItem(const ItemList& list, const ItemTarget& target);

} // namespace vantrel
