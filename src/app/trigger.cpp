#include "app/trigger.h"

#include <algorithm>

namespace vantrel {

HotKeyAction OnHotKey(int32_t showStatus, bool cdPlayFlag, bool messageFlag) {
    if (showStatus != 0)
        return cdPlayFlag ? HotKeyAction::Nothing : HotKeyAction::HideLauncher;
    return messageFlag ? HotKeyAction::Nothing : HotKeyAction::ShowLauncher;
}

namespace {

constexpr int32_t kVistaVersion = 1600;
constexpr int32_t kMaxWaitDesktop = 5;
constexpr int32_t kOldVersionWait = 6;

// One poll of a two-button chord: the held button down while the other is newly pressed. The pressed
// button's flag remembers this poll's press, so a press held over several polls shows only once.
bool ChordStep(bool held, bool pressed, bool& heldFlag, bool& pressedFlag) {
    const bool show = held && !pressedFlag && pressed;
    pressedFlag = pressed;
    heldFlag = held;
    return show;
}

} // namespace

bool PollingEnabled(bool mouseHookFlag, std::u16string_view ancestorClass, int32_t winVersion) {
    return !mouseHookFlag || ancestorClass == u"ConsoleWindowClass" ||
           (winVersion >= kVistaVersion && ancestorClass == u"IEFrame");
}

bool PollMouseChord(ChordFlags& flags, const TOption& option, int32_t winVersion, std::u16string_view ancestorClass,
                    const ButtonSample& sample) {
    if (!PollingEnabled(option.MouseHookFlag, ancestorClass, winVersion))
        return false;
    switch (option.MouseFlag) {
    case 1:
        return ChordStep(sample.left.isDown, sample.right.wentDown, flags.LeftFlag, flags.RightFlag);
    case 2:
        return ChordStep(sample.right.isDown, sample.left.wentDown, flags.RightFlag, flags.LeftFlag);
    case 3: {
        const bool pressed = sample.middle.wentDown;
        const bool show = !flags.MiddleFlag && pressed;
        flags.MiddleFlag = pressed;
        return show;
    }
    default:
        return false;
    }
}

MouseShowStart StartMouseShow(int32_t showStatus, bool messageFlag) {
    if (showStatus != 0)
        return MouseShowStart::BringLauncherToFront;
    return messageFlag ? MouseShowStart::Ignore : MouseShowStart::Show;
}

DesktopWait DesktopWalk(const std::vector<std::u16string>& parentChainClasses, int32_t waitDesktop) {
    if (waitDesktop == kOldVersionWait)
        return {true, 0, false};
    // A hand-edited value must not turn into a negative (for Sleep: about 49 days) or endless wait.
    const int32_t wait = std::clamp(waitDesktop, 0, kMaxWaitDesktop);
    if (wait == 0)
        return {};
    bool seenView = false;
    for (const auto& cls : parentChainClasses) {
        if (cls == u"SysListView32" || cls == u"SHELLDLL_DefView")
            seenView = true;
        else if (cls == u"Chrome_WidgetWin_1")
            return {false, wait * 3, true};
        else if (seenView && (cls == u"CabinetWClass" || cls == u"Progman"))
            return {false, wait * 10, true};
    }
    return {};
}

bool MenuBelow(const std::optional<ScreenRect>& popupMenu, ScreenPoint cursor) {
    return popupMenu && popupMenu->left <= cursor.x && cursor.x < popupMenu->right && popupMenu->bottom == cursor.y;
}

ScreenPoint DismissClickPoint(ScreenPoint cursor, bool menuBelow) {
    // Cursor positions are screen pixels, far from the int32_t limits; saturate anyway.
    const auto step = [](int32_t v, int32_t d) {
        return static_cast<int32_t>(std::clamp<int64_t>(int64_t{v} + d, INT32_MIN, INT32_MAX));
    };
    return {step(cursor.x, -1), step(cursor.y, menuBelow ? 1 : -1)};
}

MenuWatchStep WatchPopupMenu(int32_t menuWatchCount, bool popupMenuOpen) {
    MenuWatchStep step{false, menuWatchCount};
    if (step.MenuWatchCount < kMenuWatchTicks && popupMenuOpen) {
        step.dismissMenu = true;
        step.MenuWatchCount = kMenuWatchTicks;
    }
    // The count only needs to stay at or above the limit; it must not wrap around to a negative value.
    if (step.MenuWatchCount < INT32_MAX)
        ++step.MenuWatchCount;
    return step;
}

bool HidesOnLeftPress(int32_t showStatus, bool leftIsDown, ScreenPoint cursor, const ScreenRect& launcherRect,
                      bool cdPlayFlag) {
    return showStatus == 2 && leftIsDown && !cdPlayFlag && !ContainsWithEdges(launcherRect, cursor);
}

} // namespace vantrel
