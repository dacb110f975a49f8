#include "app/quiet_triggers_win.h"

#include <shellapi.h>

#include "services/window_programs_win.h"
#include "win/strings_win.h"

namespace vantrel::win {

namespace {

ScreenRect ToScreenRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

bool KeyIsDown(int vk) {
    return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

} // namespace

NotificationState QueryNotificationState() {
    QUERY_USER_NOTIFICATION_STATE state{};
    if (FAILED(SHQueryUserNotificationState(&state)))
        return NotificationState::Unknown;
    return static_cast<NotificationState>(state);
}

std::optional<ForegroundWindow> ReadForegroundWindow(HWND window) {
    RECT rect{};
    if (!window || !GetWindowRect(window, &rect))
        return std::nullopt;
    ForegroundWindow facts;
    facts.window = ToScreenRect(rect);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        facts.monitor = ToScreenRect(monitor.rcMonitor);
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    facts.className = FromWide(name);
    facts.shellWindow = window == GetShellWindow() || window == GetDesktopWindow();
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    facts.maximized = (style & WS_MAXIMIZE) != 0;
    facts.captioned = (style & WS_CAPTION) == WS_CAPTION;
    return facts;
}

Win32Foreground::Win32Foreground() : window_(GetForegroundWindow()) {}

bool Win32Foreground::FullScreen() {
    // The shell's answer first: it costs no question to another window.
    const NotificationState state = QueryNotificationState();
    if (IsFullScreen(state, std::nullopt))
        return true;
    return IsFullScreen(state, ReadForegroundWindow(window_));
}

std::u16string Win32Foreground::ProgramPath() {
    return ProgramPathOfWindow(window_);
}

bool QuietTriggers::HotKeyShows(HWND owner, int hotKeyId, const TOption& option) {
    Win32Foreground foreground;
    switch (QuietVerdict(Trigger::HotKey, option, foreground)) {
    case TriggerVerdict::Act:
        return true;
    case TriggerVerdict::Ignore:
        return false;
    case TriggerVerdict::PassKeyOn:
        break;
    }
    // Unregistered first, so that the keys typed below reach the program instead of coming back as the hot key.
    UnregisterHotKey(owner, hotKeyId);
    const HeldModifiers held{KeyIsDown(VK_SHIFT), KeyIsDown(VK_CONTROL), KeyIsDown(VK_MENU),
                             KeyIsDown(VK_LWIN) || KeyIsDown(VK_RWIN)};
    SendKeyStrokes(HotKeyStrokes(option.VkMod, option.VkKey, held));
    hold_.GiveUp(reinterpret_cast<std::intptr_t>(foreground.Window()));
    return false;
}

bool QuietTriggers::ChordShows(const TOption& option) {
    Win32Foreground foreground;
    return QuietVerdict(Trigger::MouseChord, option, foreground) == TriggerVerdict::Act;
}

bool QuietTriggers::ResumeDue() const {
    return hold_.Held() && hold_.Resumes(reinterpret_cast<std::intptr_t>(GetForegroundWindow()));
}

void SendKeyStrokes(const std::vector<KeyStroke>& strokes) {
    std::vector<INPUT> inputs;
    inputs.reserve(strokes.size());
    for (const KeyStroke& stroke : strokes) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(stroke.vk);
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(static_cast<UINT>(stroke.vk), MAPVK_VK_TO_VSC));
        input.ki.dwFlags = (stroke.up ? KEYEVENTF_KEYUP : 0) | (stroke.extended ? KEYEVENTF_EXTENDEDKEY : 0);
        inputs.push_back(input);
    }
    // One call, so that no key of the user's can come between them.
    if (!inputs.empty())
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

} // namespace vantrel::win
