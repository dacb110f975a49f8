#pragma once
// Layout of the launcher window: three trays stacked top to bottom, each a caption label over a grid of cells,
// then the name panel. The window asks this model for its size, the bounds of every control, where the cursor
// starts and which point of the window goes under the mouse; it keeps no geometry of its own. Every figure is a
// 96-dpi figure scaled by the DPI of the monitor the window is on.

#include <array>
#include <cstdint>
#include <optional>

#include "core/dpi_scale.h"
#include "core/geometry.h"
#include "core/records.h"
#include "grid/cells.h"

namespace vantrel {

// At 96 dpi: labels, paint boxes and the name panel all start 8 pixels from the left; the panel is 22 high.
constexpr int32_t kTrayLeft = 8;
constexpr int32_t kNamePanelHeight = 22;

// Items shown in a tray: those before the first "not used" item. The rest is neither drawn nor reachable by
// the mouse or the cursor keys.
int32_t ShownCount(const TrayEntry& tray);
bool IsShownCell(const std::array<TrayEntry, 3>& trays, int32_t tray, int32_t index);

// Size of a tray's paint box for a shown count: ColMax cells wide, as many rows as the items need. An empty
// tray keeps one empty row, except with a single column, where (n - 1) div 1 + 1 rows is none: the box is
// then just its frame. ColMax is clamped to kMinColumns..kMaxColumns and the count to >= 0.
struct TraySize {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const TraySize&, const TraySize&) = default;
};
TraySize SetTraySize(int32_t colMax, int32_t shownCount, const CellMetrics& metrics = {});

struct LauncherLayout {
    int32_t columns = 1; // the clamped ColMax every cell computation of this window must use
    DpiScale scale;
    CellMetrics cell; // the grid at that scale
    int32_t labelLeft = kTrayLeft;
    std::array<int32_t, 3> labelTop{};
    std::array<BoxBounds, 3> trayBox{};
    BoxBounds namePanel;
    BoxBounds nameLabel; // inside the panel's bevel, relative to the window
    int32_t nameLabelWidth = 0;
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const LauncherLayout&, const LauncherLayout&) = default;
};
// labelHeight is the caption labels' height, measured by the window from their font at the same scale.
LauncherLayout ComputeLayout(int32_t colMax, const std::array<int32_t, 3>& shownCounts, int32_t labelHeight,
                             DpiScale scale = {});

// The window's own state across one show.
struct LauncherWindowState {
    int32_t NowMode = 0;   // tray holding the cursor
    int32_t NowColum = 0;  // remembered column for vertical moves
    bool ShowFlag = false; // background and trays painted since the last show or size change
    DpiScale Scale;        // of the monitor the window is on; every layout uses it
    LauncherLayout Layout;
};

// Start of a show: nothing painted yet, cursor bookkeeping back to the first tray.
void BeginShow(LauncherWindowState& window);

// Lays the window out from the trays' shown counts and puts every tray's cursor on its first cell. A height
// change clears ShowFlag so that the next background erase repaints the whole window.
const LauncherLayout& SetLayout(LauncherWindowState& window, std::array<TrayEntry, 3>& trays, int32_t colMax,
                                int32_t labelHeight);

// The window moved to a monitor of another DPI: the same trays laid out at the new scale, the cursor left where it
// is, and everything painted anew at the next background erase.
const LauncherLayout& Rescale(LauncherWindowState& window, const std::array<TrayEntry, 3>& trays, int32_t colMax,
                              int32_t labelHeight, DpiScale scale);

// Background erase: true when the whole window must be painted now. After the first full paint the erases are
// swallowed, because the trays are drawn directly and a default erase would wipe them.
bool EraseBackground(LauncherWindowState& window);

// Tray that holds the cursor when the window comes up: the mouse option's tray for a mouse show (ShowStatus 2),
// the hot-key option's tray otherwise, falling back to the first tray that shows anything.
int32_t StartTray(const std::array<TrayEntry, 3>& trays, int32_t showStatus, const TOption& option);

// Whether the window comes up at the mouse (else centred on the primary screen).
bool ShowsAtMouse(const TOption& option, int32_t showStatus);

// Point of the window that goes under the mouse: its centre for the "Center window" choice, otherwise the
// centre of the first cell of the cursor's tray.
ScreenPoint MouseAnchor(const LauncherLayout& layout, int32_t nowMode, int32_t mousePositionFlag);

// Cursor after a task window was closed and the Task list rebuilt: to another tray when no task is left,
// otherwise onto the same index, limited to the last task. Lays the window out again (the Task tray may have
// lost a row) and re-derives the remembered column.
void CursorAfterTaskClose(LauncherWindowState& window, std::array<TrayEntry, 3>& trays, int32_t colMax,
                          int32_t labelHeight);

// The trays changed under a shown window (the show's check found other windows or drives than it painted): laid
// out again with every tray's cursor on the same index, limited to its last shown item. When the cursor's tray
// shows nothing any more, the cursor goes to the first tray that does.
void CursorAfterTraysChanged(LauncherWindowState& window, std::array<TrayEntry, 3>& trays, int32_t colMax,
                             int32_t labelHeight);

// The window's close command (Alt+F4, the system menu): the window is hidden, not destroyed, so that the next
// trigger finds it; during a CD command or the popup menu the close is refused.
enum class CloseAnswer { Refuse, Hide };
CloseAnswer OnCloseCommand(bool cdPlayFlag);

// Losing the activation hides a shown window (a click elsewhere, another program taking the foreground).
bool HidesOnDeactivate(int32_t showStatus);

} // namespace vantrel
