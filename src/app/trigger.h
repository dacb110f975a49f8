#pragma once
// Trigger decisions of the resident core: the hot key's toggle, the mouse combination polled every timer tick,
// and the steps of the mouse show that dismiss the context menu the combination's right click opened in the
// window underneath. The main window samples buttons, cursor and window classes and carries the answers out.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/geometry.h"
#include "core/records.h"

namespace vantrel {

enum class HotKeyAction { Nothing, HideLauncher, ShowLauncher };
// The hot key toggles the launcher; it neither hides it during a CD command or its popup menu, nor shows it
// while a dialog's message box is up.
HotKeyAction OnHotKey(int32_t showStatus, bool cdPlayFlag, bool messageFlag);

// One button as read from its asynchronous key state.
struct ButtonState {
    bool isDown = false;   // high bit
    bool wentDown = false; // high bit or the low "pressed since the last query" bit: a click between two
                           // ticks still counts
};
struct ButtonSample {
    ButtonState left;
    ButtonState right;
    ButtonState middle;
};

// Button levels of the previous polled tick, so that a held combination shows the window only once.
struct ChordFlags {
    bool LeftFlag = false;
    bool RightFlag = false;
    bool MiddleFlag = false;
    friend bool operator==(const ChordFlags&, const ChordFlags&) = default;
};

// With MouseHookFlag the combination is watched only over consoles and (from Vista) Internet Explorer frames,
// named by the class of the top-level ancestor of the window under the mouse.
bool PollingEnabled(bool mouseHookFlag, std::u16string_view ancestorClass, int32_t winVersion);

// One tick of the combination detector: true when the mouse show must run. MouseFlag 1 is the right button
// pressed while the left is held, 2 the left pressed while the right is held, 3 the middle button; any other
// value detects nothing. The flags follow the buttons on every polled tick and stay put when polling is off.
bool PollMouseChord(ChordFlags& flags, const TOption& option, int32_t winVersion, std::u16string_view ancestorClass,
                    const ButtonSample& sample);

enum class MouseShowStart {
    BringLauncherToFront, // already shown: only take the foreground back
    Ignore,               // a dialog's message box is up
    Show,
};
MouseShowStart StartMouseShow(int32_t showStatus, bool messageFlag);

// The wait before the dismissing click on a desktop-like window, found by walking the class names of the
// window under the mouse and its parents (nearest first). The shell's icon views take a moment before their
// context menu can be closed by a click.
struct DesktopWait {
    bool oldVersion = false; // WaitDesktop 6: the plain click of older versions, no walk and no waits
    int32_t sleepMs = 0;     // before the click
    bool delay = false;      // hold the synthetic button kDismissHoldMs between down and up
    friend bool operator==(const DesktopWait&, const DesktopWait&) = default;
};
constexpr int32_t kDismissHoldMs = 30;
DesktopWait DesktopWalk(const std::vector<std::u16string>& parentChainClasses, int32_t waitDesktop);

// An open popup menu that ends exactly on the cursor's row, horizontally under it, would swallow a click above
// the cursor; the dismissing click then goes one pixel below instead.
bool MenuBelow(const std::optional<ScreenRect>& popupMenu, ScreenPoint cursor);
// Where the dismissing click lands: one pixel left of the cursor, above it (or below with menuBelow).
ScreenPoint DismissClickPoint(ScreenPoint cursor, bool menuBelow);

// The launcher's popup-menu watch after a mouse show: for the first kMenuWatchTicks ticks a popup menu that is
// still open (the context menu underneath survived the click) is dismissed by taking the foreground.
constexpr int32_t kMenuWatchTicks = 100;
struct MenuWatchStep {
    bool dismissMenu = false;
    int32_t MenuWatchCount = 0;
    friend bool operator==(const MenuWatchStep&, const MenuWatchStep&) = default;
};
// Only for a launcher shown by the mouse (ShowStatus 2).
MenuWatchStep WatchPopupMenu(int32_t menuWatchCount, bool popupMenuOpen);

// A launcher shown by the mouse hides on a left press outside it; its edges count as inside. Not while its own
// popup menu is open or a CD command runs (its CDPlayFlag): a menu may reach past the launcher's edge, and a
// press there chooses an entry whose command must still find the launcher up.
bool HidesOnLeftPress(int32_t showStatus, bool leftIsDown, ScreenPoint cursor, const ScreenRect& launcherRect,
                      bool cdPlayFlag);

} // namespace vantrel
