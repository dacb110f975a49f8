#pragma once
// What a tray cell shows besides its icon: the cursor frame, the CD player's state overlay and the small
// badge in the icon's top-left corner (an item's direct key, or the number key of a task). The window only
// carries these decisions out with GDI.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/records.h"
#include "grid/cells.h"
#include "services/grid_colours.h"

namespace vantrel {

// Drawing states of a cell.
constexpr int32_t kCellNormal = 0;
constexpr int32_t kCellCursor = 1;
constexpr int32_t kCellCursorBlack = 2; // the registration dialog's mark, box format only

// How the cell's background and cursor are drawn before the icon.
enum class CellBackground {
    Erase,             // button-face rectangle: state 0 in every format
    BoxFrame,          // 2-pixel frame in BackColor on button face
    BoxFrameBlackFill, // 2-pixel frame in BackColor on black
    RaisedButton,      // highlight/shadow edges around the icon, the cell is not erased
    Nothing,           // an unknown cursor format draws no cursor at all
};
CellBackground CellBackgroundFor(int32_t frameType, int32_t state);

// Text of a direct key: the character itself, "F1".."F12" for function keys and "f1".."f12" with Shift.
std::u16string DirectKeyText(int32_t key);

struct CellBadge {
    std::u16string text;
    int32_t textColor = 0; // red in the low byte
    int32_t backColor = 0;
    friend bool operator==(const CellBadge&, const CellBadge&) = default;
};
// The badge of item `index` of tray `tray`, or none. Without KeyNumberFlag the digit keys belong to the first
// ten tasks, which carry "1".."9", "0"; a Program or System item's digit (or shifted digit) direct key then
// shows no badge, so that no two cells advertise the same key.
std::optional<CellBadge> BadgeFor(int32_t tray, int32_t index, const RData& item, const TOption& option,
                                  bool usKeyboard);

// Overlay drawn over the CD player item: its state as read when the window was shown.
enum class CdOverlay { None, Playing, Stopped };
constexpr int32_t kCdModePlaying = 526;
CdOverlay CdOverlayFor(const RData& item, bool cdPlayerFlag, int32_t cdMode);

// Everything the normal-state picture of a tray depends on: two equal keys draw the same pixels. The window
// keeps the pictures of the trays between shows and draws a tray again only when its key changed; the Task
// tray's picture mostly survives a show too, as long as the same windows with the same icons are open. An icon is known
// by its handle together with the file and index it came from, so a handle that the system hands out again for another
// icon cannot bring back an old picture.
struct TrayPictureKey {
    struct Cell {
        IconHandle icon = 0;
        std::intptr_t window = 0; // a task's window: its icon handle is not ours and may be handed out again
        int32_t status = 0;
        std::u16string exeFileName; // the CD player item
        std::u16string iconFileName;
        int32_t iconIndex = 0;
        friend bool operator==(const Cell&, const Cell&) = default;
    };
    int32_t tray = 0;
    int32_t columns = 0;
    bool keyNumberFlag = false;
    int32_t textColor = 0;
    int32_t backColor = 0;
    bool usKeyboard = true;
    bool cdPlayerFlag = false;
    int32_t cdMode = 0;
    GridColours colours;     // what the cells are erased and their badges drawn with
    CellMetrics metrics;     // the scale they are drawn at
    std::vector<Cell> cells; // the shown items
    friend bool operator==(const TrayPictureKey&, const TrayPictureKey&) = default;
};
// The shown items' cells, or with `withNotUsed` every item's (the registration dialog draws those too, marked).
TrayPictureKey PictureKeyFor(int32_t tray, const TrayEntry& entry, const TOption& option, int32_t columns,
                             bool usKeyboard, bool cdPlayerFlag, int32_t cdMode, const GridColours& colours,
                             const CellMetrics& metrics = {}, bool withNotUsed = false);

// The cells that two pictures of a tray draw differently, in index order: every cell either has when anything the
// whole picture depends on (columns, colours, scale, the options the badges read) differs, else those whose items
// differ and those only one of them has.
std::vector<int32_t> ChangedCells(const TrayPictureKey& before, const TrayPictureKey& after);

} // namespace vantrel
