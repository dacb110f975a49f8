#pragma once
// The quiet triggers on the window system: the facts about the window in front, read when a trigger fires, and
// the hot key handed to a program vantrel leaves alone.

#include <optional>

#include <windows.h>

#include "app/quiet_triggers.h"

namespace vantrel::win {

// The foreground window of the moment it is made; every question is about that window.
class Win32Foreground : public ForegroundFacts {
public:
    Win32Foreground();
    HWND Window() const { return window_; }
    bool FullScreen() override;
    std::u16string ProgramPath() override;

private:
    HWND window_ = nullptr;
};

NotificationState QueryNotificationState();
std::optional<ForegroundWindow> ReadForegroundWindow(HWND window);

// The resident program's side of the quiet triggers.
class QuietTriggers {
public:
    // The hot key would show the launcher: true when it must. Over a listed program the hot key (registered on
    // `owner` under `hotKeyId`) is given up and its press typed again for that program.
    bool HotKeyShows(HWND owner, int hotKeyId, const TOption& option);
    // The mouse combination would show the launcher: true when it must.
    bool ChordShows(const TOption& option);
    // Asked on every poll: true when the hot key was given up and another window is now in front, so it must be
    // registered again. Asks the window system nothing while the hot key is not given up.
    bool ResumeDue() const;
    // The hot key was registered or unregistered by the program: whatever was given up no longer counts.
    void ForgetHold() { hold_.Clear(); }
    bool Held() const { return hold_.Held(); }

private:
    HotKeyHold hold_;
};

// Types keystrokes as a keyboard would, with their scan codes (a remote-desktop client reads those).
void SendKeyStrokes(const std::vector<KeyStroke>& strokes);

} // namespace vantrel::win
