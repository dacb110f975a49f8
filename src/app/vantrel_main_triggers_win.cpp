// The triggers of the hidden main window: the hot key, and the 100 ms poll of the mouse combination with the
// dismissal of the context menu its right click opened underneath.

#include "app/vantrel_main_win.h"

#include <mmsystem.h>

#include <vector>

#include "dialogs/about_dialog_win.h"
#include "dialogs/dialog_texts.h"
#include "launcher/launcher_window_win.h"
#include "win/strings_win.h"

namespace vantrel::win {

namespace {

constexpr int kHotKeyId = 0;
constexpr UINT kTickMs = 100;
// Parent chains are a handful of windows deep; the bound only guards against a chain that never ends.
constexpr int kMaxChain = 64;

// Runs on a system timer thread: it touches no state and only asks the main window for a tick.
void CALLBACK TimerCallback(UINT, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR) {
    PostMessageW(reinterpret_cast<HWND>(window), kMsgTick, 0, 0);
}

std::u16string ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return FromWide(name);
}

// The window under the point and its parents (owners for owned top-level windows), nearest first.
std::vector<HWND> ParentChainAt(POINT at) {
    std::vector<HWND> chain;
    for (HWND w = WindowFromPoint(at); w && chain.size() < kMaxChain; w = GetParent(w))
        chain.push_back(w);
    return chain;
}

// The class of the top-level ancestor of the window under the point: what the tick reads 10 times a second.
std::u16string TopLevelClassAt(POINT at) {
    HWND last = nullptr;
    int depth = 0;
    for (HWND w = WindowFromPoint(at); w && depth < kMaxChain; w = GetParent(w), ++depth)
        last = w;
    return last ? ClassNameOf(last) : std::u16string();
}

ButtonState ReadButton(int key) {
    const SHORT state = GetAsyncKeyState(key);
    return {(state & 0x8000) != 0, (state & 0x8001) != 0};
}

void SendMouseButton(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

} // namespace

bool VantrelMain::RegisterLauncherHotKey(bool savedOptions) {
    return RegisterHotKeyOf(state_.CurrentOption, savedOptions);
}

void VantrelMain::HotKeyOn(const TOption& option) {
    RegisterHotKeyOf(option, false);
}

bool VantrelMain::RegisterHotKeyOf(const TOption& option, bool savedOptions) {
    quiet_.ForgetHold();
    if (RegisterHotKey(Handle(), kHotKeyId, static_cast<UINT>(option.VkMod), static_cast<UINT>(option.VkKey)))
        return true;
    // Another program owns the combination. The mouse triggers still work; the user learns it from a notice
    // that stops nothing (start-up goes on, triggers are not blocked while it is up).
    if (!notice_)
        notice_ = std::make_unique<NoticeDialog>();
    notice_->Show(HotKeyTakenText(option, savedOptions));
    return false;
}

void VantrelMain::UnregisterLauncherHotKey() {
    quiet_.ForgetHold();
    UnregisterHotKey(Handle(), kHotKeyId);
}

void VantrelMain::StartTimer() {
    timerId_ = timeSetEvent(kTickMs, kTickMs, &TimerCallback, reinterpret_cast<DWORD_PTR>(Handle()),
                            TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
}

void VantrelMain::KillTimer() {
    if (timerId_)
        timeKillEvent(timerId_);
    timerId_ = 0;
}

void VantrelMain::SetAllOption(const TOption& newOption) {
    if (closed_)
        return;
    UnregisterLauncherHotKey();
    state_.CurrentOption = newOption;
    RegisterLauncherHotKey(true);
    store_->WriteOption(state_.Environments.CurrentFileNumber(), state_.CurrentOption);
    UpdateTitleBars();
}

void VantrelMain::HotKey() {
    FinishStartNow();
    if (!launcher_)
        return;
    switch (OnHotKey(state_.ShowStatus, launcher_->CDPlayFlag(), state_.MessageFlag)) {
    case HotKeyAction::HideLauncher:
        HideLauncher();
        break;
    case HotKeyAction::ShowLauncher:
        // The hot key gives this thread the right to take the foreground, and the launcher takes it as it comes
        // up; making this hidden window the foreground first would only cost another window-system round trip.
        if (!quiet_.HotKeyShows(Handle(), kHotKeyId, state_.CurrentOption))
            break;
        HideDialogs(5);
        state_.ShowStatus = 1;
        launcher_->Show();
        break;
    case HotKeyAction::Nothing:
        break;
    }
}

void VantrelMain::Tick() {
    // The hot key given up over a program vantrel leaves alone comes back once another window is in front.
    if (quiet_.ResumeDue())
        RegisterLauncherHotKey();
    POINT pt{};
    GetCursorPos(&pt);
    const std::u16string ancestor = TopLevelClassAt(pt);
    const TOption& option = state_.CurrentOption;
    ButtonSample sample;
    bool sampled = false;
    if (PollingEnabled(option.MouseHookFlag, ancestor, system_.WinVersion())) {
        sample = {ReadButton(VK_LBUTTON), ReadButton(VK_RBUTTON), ReadButton(VK_MBUTTON)};
        sampled = true;
        // Over a full-screen program or one vantrel leaves alone the combination is left to the program, as it
        // came: no show and none of the mouse show's own clicks.
        if (PollMouseChord(chord_, option, system_.WinVersion(), ancestor, sample) &&
            (StartMouseShow(state_.ShowStatus, state_.MessageFlag) != MouseShowStart::Show ||
             quiet_.ChordShows(option)))
            MouseShow();
    }
    if (state_.ShowStatus != 2 || !launcher_ || closed_)
        return;

    const bool menuOpen = menuWatchCount_ < kMenuWatchTicks &&
                          (FindWindowW(L"TCustomActionPopupMenuEx", nullptr) || FindWindowW(L"#32768", nullptr));
    const MenuWatchStep step = WatchPopupMenu(menuWatchCount_, menuOpen);
    if (step.dismissMenu) {
        // The context menu underneath survived the dismissing click: the launcher takes the foreground from
        // it, on top of everything, with the mouse back where the combination was made.
        SetCursorPos(showPt_.x, showPt_.y);
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetWindowLongPtrW(Handle(), GWL_EXSTYLE, GetWindowLongPtrW(Handle(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
        ForceForeground(launcher_->Handle());
    }
    menuWatchCount_ = step.MenuWatchCount;

    // The position of this moment, not the tick's first one: a mouse show in this very tick may have moved the
    // mouse onto a window that had to be shifted from the screen's edge, and the still-held button would
    // otherwise hide it at once.
    GetCursorPos(&pt);
    const bool leftDown = sampled ? sample.left.isDown : (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
    RECT r{};
    GetWindowRect(launcher_->Handle(), &r);
    if (HidesOnLeftPress(state_.ShowStatus, leftDown, {pt.x, pt.y}, {r.left, r.top, r.right, r.bottom},
                         launcher_->CDPlayFlag()))
        HideLauncher();
}

void VantrelMain::MouseShow() {
    FinishStartNow();
    if (!launcher_ || inMouseShow_)
        return;
    switch (StartMouseShow(state_.ShowStatus, state_.MessageFlag)) {
    case MouseShowStart::BringLauncherToFront:
        ForceForeground(launcher_->Handle());
        return;
    case MouseShowStart::Ignore:
        return;
    case MouseShowStart::Show:
        break;
    }
    inMouseShow_ = true;
    // The combination's right button is let go at once, so the window underneath finishes its right click.
    if (GetAsyncKeyState(VK_RBUTTON) & 0x8000)
        SendMouseButton(MOUSEEVENTF_RIGHTUP);
    POINT pt{};
    GetCursorPos(&pt);
    std::vector<std::u16string> classes;
    for (HWND w : ParentChainAt(pt))
        classes.push_back(ClassNameOf(w));
    const DesktopWait wait = DesktopWalk(classes, state_.CurrentOption.WaitDesktop);
    if (wait.oldVersion) {
        ProcessPendingMessages();
        GetCursorPos(&pt);
        SetCursorPos(pt.x - 1, pt.y - 1);
        SendMouseButton(MOUSEEVENTF_LEFTDOWN);
        SendMouseButton(MOUSEEVENTF_LEFTUP);
        SetCursorPos(pt.x, pt.y);
    } else {
        if (wait.sleepMs > 0)
            Sleep(static_cast<DWORD>(wait.sleepMs));
        GetCursorPos(&pt);
        std::optional<ScreenRect> menu;
        RECT r{};
        if (const HWND popup = FindWindowW(L"#32768", nullptr); popup && GetWindowRect(popup, &r))
            menu = ScreenRect{r.left, r.top, r.right, r.bottom};
        showPt_ = pt;
        // A click one pixel beside the cursor closes the context menu the right button opened underneath.
        const ScreenPoint click = DismissClickPoint({pt.x, pt.y}, MenuBelow(menu, {pt.x, pt.y}));
        SetCursorPos(click.x, click.y);
        SendMouseButton(MOUSEEVENTF_LEFTDOWN);
        if (wait.delay)
            Sleep(kDismissHoldMs);
        SendMouseButton(MOUSEEVENTF_LEFTUP);
        SetCursorPos(pt.x, pt.y);
    }
    ProcessPendingMessages();
    inMouseShow_ = false;
    // The messages just run may have asked the program to end, or shown the launcher another way.
    if (closeRequested_ || !launcher_)
        return;
    ForceForeground(Handle());
    HideDialogs(5);
    state_.ShowStatus = 2;
    launcher_->Show();
}

} // namespace vantrel::win
