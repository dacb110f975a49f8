#pragma once
// Keyboard and mouse navigation of the launcher window as a state machine without Win32. Each handler takes
// the trays, the window's state and the input, changes the cursor bookkeeping, and returns what the window
// must redraw and what it must run. The window draws first and then carries the action out:
//
//   WM_KEYDOWN, WM_SYSKEYDOWN        -> OnKeyDown(n, vk, shift, ctrl, alt)
//   mouse move over tray t's box     -> OnMouseMove(n, t, x, y, mouse position on the screen)
//   button press over tray t's box   -> OnMouseDown(n, t, x, y, button, shift, ctrl, alt, GetTickCount())
//   right double-click (message hook) -> OnRightButtonDoubleClick(n, x, y) in client coordinates
//   then: draw result.draws, put *result.name into the name panel, and for result.action either
//   ShowMenu -> ComposeItemMenu / ItemMenuPosition / PerformMenuCommand (item_menu.h), or
//   anything else -> PerformAction (run_item.h).
//
// Invariant kept by every handler: a tray's cursor index is a shown cell (IsShownCell) or -1, which a tray
// gets when it holds items but shows none (all "not used"); -1 designates nothing, draws nothing and runs
// nothing.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/records.h"
#include "launcher/layout.h"

namespace vantrel {

// Virtual-key codes the launcher reacts to.
namespace vk {
constexpr int32_t kBack = 0x08;
constexpr int32_t kReturn = 0x0D;
constexpr int32_t kShift = 0x10;
constexpr int32_t kControl = 0x11;
constexpr int32_t kMenu = 0x12; // Alt
constexpr int32_t kEscape = 0x1B;
constexpr int32_t kSpace = 0x20;
constexpr int32_t kPrior = 0x21; // PageUp
constexpr int32_t kNext = 0x22;  // PageDown
constexpr int32_t kLeft = 0x25;
constexpr int32_t kUp = 0x26;
constexpr int32_t kRight = 0x27;
constexpr int32_t kDown = 0x28;
constexpr int32_t kDelete = 0x2E;
constexpr int32_t kLeftWin = 0x5B;
constexpr int32_t kRightWin = 0x5C;
constexpr int32_t kApps = 0x5D; // the menu key
constexpr int32_t kF1 = 0x70;
constexpr int32_t kF12 = 0x7B;
constexpr int32_t kQuickPrefix = 0x7E; // what Ctrl+Q stands for
constexpr int32_t kLeftShift = 0xA0;
constexpr int32_t kRightMenu = 0xA5;
} // namespace vk

// Window state that only navigation uses.
struct NavigationState {
    int32_t QuickCount = 0;            // keystrokes left in the Ctrl+Q quick mode
    ScreenPoint SPoint{-1, -1};        // mouse position at the last full paint; (-1, -1) once the mouse moved
    ScreenPoint MousePoint{-1, -1};    // mouse position of the last move taken
    uint32_t ShowTime = 0;             // tick count until which presses on the Task and System trays are ignored
    bool RightDoubleClickFlag = false; // the Task tray ignores the press a right double-click delivers next
};

// Everything a handler reads and changes.
struct Navigation {
    std::array<TrayEntry, 3>& trays;
    LauncherWindowState& window; // NowMode, NowColum and the layout (columns, tray boxes)
    NavigationState& nav;
    const TOption& option;
    int32_t showStatus = 0; // 1 shown by the hot key, 2 by the mouse
    bool usKeyboard = true;
};

// One cell to draw, normal (kCellNormal) or as the cursor (kCellCursor).
struct CellDraw {
    int32_t tray = 0;
    int32_t index = 0;
    int32_t state = 0;
    friend bool operator==(const CellDraw&, const CellDraw&) = default;
};

enum class NavActionKind {
    None,
    RunItem,     // tray, index, runas
    ShowMenu,    // popup menu for (tray, index); atMouse: at the mouse, else at the cursor cell
    IconizeTask, // tray, index, maximize, force
    CloseTask,   // tray, index
    AllTasks,    // close: close every task window, else minimise all
    Hide,        // Escape
};

struct NavAction {
    NavActionKind kind = NavActionKind::None;
    int32_t tray = 0;
    int32_t index = 0;
    bool runas = false;
    bool atMouse = false;
    bool maximize = false;
    bool force = false;
    bool close = false;
    friend bool operator==(const NavAction&, const NavAction&) = default;
};

struct NavResult {
    // Shown cells only, each once, the normal ones first: a cursor frame that reaches into its neighbour is
    // never painted over by the neighbour's erase.
    std::vector<CellDraw> draws;
    // New text of the name panel: the title under the cursor, empty when the cursor designates nothing.
    std::optional<std::u16string> name;
    NavAction action;
};

// Presses on the Task and System trays this soon after the trays were painted end the trigger that showed the
// window and are ignored.
constexpr uint32_t kPressGuardMs = 150;

// The trays have just been painted, with the mouse at `mouse`, at tick count tickNow.
void TraysPainted(NavigationState& nav, ScreenPoint mouse, uint32_t tickNow);

// Ctrl layout of the cursor keys: C PageDown, D Right, E Up, G Delete, H Backspace, J Escape, M Return,
// Q the quick prefix, R PageUp, S Left, X Down; any other key unchanged.
int32_t ControlKeyToKey(int32_t key);

// WM_KEYDOWN (and WM_SYSKEYDOWN, which is how a key arrives while Alt is held).
NavResult OnKeyDown(Navigation& n, int32_t key, bool shift, bool ctrl, bool alt);

// Mouse over tray `tray` at (x, y) of its paint box; `mouse` is the mouse's screen position.
NavResult OnMouseMove(Navigation& n, int32_t tray, int32_t x, int32_t y, ScreenPoint mouse);

enum class MouseButton { Left, Right, Middle };
// Button pressed over tray `tray`; tickNow is the system tick count, compared with ShowTime for the Task and
// System trays.
NavResult OnMouseDown(Navigation& n, int32_t tray, int32_t x, int32_t y, MouseButton button, bool shift, bool ctrl,
                      bool alt, uint32_t tickNow);

// A right double-click at (x, y) of the window's client area: a Ctrl+right click on the cell under it.
NavResult OnRightButtonDoubleClick(Navigation& n, int32_t x, int32_t y);

} // namespace vantrel
