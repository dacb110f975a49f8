#pragma once
// The decisions of "Registering Icons": how the dialog sizes itself for the column count and the larger tray,
// which cell a point names, how a drag reorders the used items, how an item is switched between used and not
// used, what the popup menu offers, and how a file (a program, a document, a shortcut) becomes a new item and
// where it lands. The dialog window only shows the answers and carries them out.
//
// Sizes are named as pixels at 96 dots per inch, as the dialog was designed; the layout applies the scale of the
// screen the dialog is on to every one of them, and its cells are the grid's cells at that scale.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dpi_scale.h"
#include "core/geometry.h"
#include "core/records.h"
#include "services/item_services.h"
#include "services/system_queries.h"

namespace vantrel {

// The column counts the dialog offers ("3" to "30").
constexpr int32_t kRegistrationMinColumns = 3;
constexpr int32_t kRegistrationMaxColumns = 30;
// The form is never narrower than this many columns, and the grids show at least this many rows.
constexpr int32_t kRegistrationNarrowestColumns = 8;
constexpr int32_t kRegistrationShownRows = 3;

// The design's outer size of the form is its client area plus this frame; the window gives itself the client
// area and lets the system add the frame it actually draws.
constexpr int32_t kRegistrationFrameWidth = 8;
constexpr int32_t kRegistrationFrameHeight = 30;

// Where every control of the dialog sits (client coordinates) for one layout.
struct RegistrationLayout {
    int32_t formWidth = 0; // outer size as designed; the client area is this less the design frame
    int32_t formHeight = 0;
    BoxBounds page;         // the tab control with the Program and System pages
    int32_t gridHeight = 0; // both grids, each filling its page's width
    BoxBounds namePanel;
    BoxBounds widthLabel;
    BoxBounds widthCombo;
    BoxBounds okButton;
    BoxBounds cancelButton;
    int32_t frameWidth = kRegistrationFrameWidth; // the design frame at the layout's scale
    int32_t frameHeight = kRegistrationFrameHeight;

    int32_t ClientWidth() const { return formWidth - frameWidth; }
    int32_t ClientHeight() const { return formHeight - frameHeight; }
    friend bool operator==(const RegistrationLayout&, const RegistrationLayout&) = default;
};

// The layout the dialog was designed with: eight columns and three rows.
RegistrationLayout DesignRegistrationLayout(DpiScale scale = {});

// ArrangeControls' memory: the outer width and the extra rows of the current layout (both 0 before the first).
struct RegistrationArrangement {
    int32_t WiKeep = 0;
    int32_t HiKeep = 0;
    RegistrationLayout layout = DesignRegistrationLayout();
    DpiScale scale; // of the layout; another scale lays the dialog out anew
};

struct ArrangeInputs {
    int32_t colMax = 7;
    int32_t programCount = 0;
    int32_t systemCount = 0;
    ScreenPoint formTopLeft;
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    DpiScale scale; // of the screen the dialog is on
};

// What ArrangeControls changed: the form moves only when its new size would reach the screen's right or bottom
// edge, and only in the direction that grew.
struct ArrangeOutcome {
    bool widthChanged = false;
    bool heightChanged = false;
    std::optional<int32_t> left;
    std::optional<int32_t> top;
    friend bool operator==(const ArrangeOutcome&, const ArrangeOutcome&) = default;
};

// Lays the dialog out for the column count and the larger tray: max(ColMax, 8) columns wide (the page itself
// ColMax columns), three rows high plus one row for each further row of items.
ArrangeOutcome ArrangeControls(RegistrationArrangement& arrangement, const ArrangeInputs& in);

// Rows beyond the three every grid shows, for the larger of the two trays.
int32_t ExtraRows(int32_t colMax, int32_t programCount, int32_t systemCount);

// ---- What Cancel puts back ------------------------------------------------------------------------------------

// The trays and the column count as the dialog found them when a visit began. A visit lasts from an opening to OK
// or Cancel: a dialog that was only hidden meanwhile (the hot key brought the launcher up, another dialog came)
// and is brought back goes on with the same visit, so that Cancel still undoes everything since it began. An
// environment switch meanwhile put another environment's trays in use; the next opening begins a new visit.
class CancelCopies {
public:
    bool StartsVisit(int32_t environmentFile) const { return !open_ || environmentFile != file_; }
    void Take(const ItemList& program, const ItemList& system, int32_t colMax, int32_t environmentFile);
    // Cancel: the trays and the column count as the visit found them.
    void PutBack(ItemList& program, ItemList& system, int32_t& colMax) const;
    // OK or Cancel: the visit is over and its copies go.
    void End();

private:
    bool open_ = false;
    int32_t file_ = 0;
    int32_t colMax_ = 0;
    ItemList program_;
    ItemList system_;
};

// ---- Reordering and the use toggle ----------------------------------------------------------------------------

// Moves the item at `from` to `to`, shifting those in between; false when either index names no item.
bool MoveItem(ItemList& list, int32_t from, int32_t to);

// One step of a drag over cell `index`: a used cell accepts the drag and the dragged item moves onto it at once
// (dragPosition follows); any other cell shows the no-drop cursor and nothing moves.
struct DragStep {
    bool accepted = false;
    bool moved = false;
    friend bool operator==(const DragStep&, const DragStep&) = default;
};
DragStep DragOverCell(ItemList& list, int32_t& dragPosition, int32_t index);

// Only used items can be dragged.
bool CanStartDrag(const ItemList& list, int32_t index);

// The popup menu's third command for an item: built-in System items are hidden and shown again, every other item
// is deleted.
enum class ThirdCommand { Delete, UseItem, DoNotUseItem };
ThirdCommand ThirdCommandFor(const RData& item);
std::u16string_view ThirdCommandCaption(ThirdCommand command);

// "&Use item" makes a not-used item the last used one; "&Do not use item" makes a used item the first not-used
// one. Returns the item's new index, or -1 when index names no item.
int32_t ToggleUse(ItemList& list, int32_t index);

// ---- The popup menu -------------------------------------------------------------------------------------------

constexpr int32_t kPmSetting = 1;
constexpr int32_t kPmNew = 2;
constexpr int32_t kPmDelete = 3;

struct RegistrationMenu {
    bool settingEnabled = false;
    bool newEnabled = false;
    bool thirdEnabled = false;
    ThirdCommand third = ThirdCommand::Delete;
    // The cell the commands act on from now: the right-clicked one, item or empty cell.
    int32_t selNow = 0;
    friend bool operator==(const RegistrationMenu&, const RegistrationMenu&) = default;
};
// The menu for a right click on cell `index` of a tray list. "&Add" stays available until the tray holds the most
// items a settings file keeps.
RegistrationMenu ComposeRegistrationMenu(const ItemList& list, int32_t index);

// ---- New items from files -------------------------------------------------------------------------------------

// A shortcut whose target has moved is looked for without the shell's search window, within a time limit: each
// at most kShortcutSearchMs, the shortcuts of one drop together kDropSearchMs. One not found by then stays the
// shortcut file, whose target the shell looks for when it is run.
constexpr uint32_t kShortcutSearchMs = 1000;
constexpr uint32_t kDropSearchMs = 3000;
// The limit of the next search when the drop's searches took `elapsedMs` so far; 0 when none is left.
uint32_t ShortcutSearchLimit(uint64_t elapsedMs);

// What a shortcut file points at.
struct ShortcutLink {
    std::u16string target;
    std::u16string arguments;
    std::u16string directory;
};

class ShortcutResolver {
public:
    virtual ~ShortcutResolver() = default;
    // The shortcut's target, arguments and working folder; none when it cannot be read or resolved.
    virtual std::optional<ShortcutLink> ResolveShortcut(const std::u16string& path) = 0;
    // The short (8.3) name of a file or folder, which names the same one; the path itself without one.
    virtual std::u16string ShortName(const std::u16string& path) { return path; }
};

// The item for a file: its name as title (a shortcut's name without extensions), the target of a shortcut with
// its arguments and working folder (a target under "Program Files (x86)" that does not exist is looked for under
// "Program Files"; a shortcut that cannot be resolved stays the shortcut file itself), the file's own icon. Paths
// are real names and are never expanded; one that holds a variable's name between two "%" is stored by its short
// name, because the shell expands variables in what it is given to run.
RData MakeFileItem(const std::u16string& path, ShortcutResolver& shortcuts, const SystemQueries& system,
                   IconSource& icons);

// Every "Files (x86)" of a path as "Files".
std::u16string WithoutX86Folder(std::u16string path);

// Where a new item goes: the selected cell, or the end of the used items when that cell lies behind them.
// Returns the new item's index.
int32_t InsertFileItem(ItemList& list, int32_t selNow, RData item);

// Files dropped on cell `dropCell`, added in the order they were dropped (the first on that cell, the next
// after it) until the tray is full.
struct DropOutcome {
    int32_t added = 0;
    int32_t firstIndex = -1; // where the first file went, -1 when none was added
    bool full = false;       // a file was left out because the tray holds the most items a file keeps
};
DropOutcome AddDroppedFiles(ItemList& list, int32_t dropCell, const std::vector<std::u16string>& files,
                            ShortcutResolver& shortcuts, const SystemQueries& system, IconSource& icons);

// A tray that holds this many items takes no more.
bool TrayFull(const ItemList& list);

} // namespace vantrel
