#pragma once
// When a trigger stays quiet. The mouse combination is an ordinary move in games and drawing programs, so it
// does nothing while a full-screen program is in front; the hot key does the same when the user asks. Over a
// program the user told vantrel to leave alone neither trigger acts, and the hot key is handed to that program.
// These questions are asked only once a trigger has fired, never on the idle poll of the mouse buttons.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/records.h"

namespace vantrel {

// What the shell says of the user (the answers of SHQueryUserNotificationState); Unknown when it cannot say.
enum class NotificationState : int32_t {
    Unknown = 0,
    NotPresent = 1,       // screen saver, locked machine, fast user switching
    Busy = 2,             // a full-screen program runs, or presentation settings are on
    D3dFullScreen = 3,    // a Direct3D program in exclusive full-screen mode
    PresentationMode = 4, // the user is presenting
    AcceptsNotifications = 5,
    QuietTime = 6,
    App = 7,
};

// The foreground window as the full-screen check sees it.
struct ForegroundWindow {
    ScreenRect window;  // its rectangle on the screen
    ScreenRect monitor; // the whole rectangle of the monitor it is on, taskbar included
    std::u16string className;
    bool shellWindow = false; // the desktop window or the shell's own
    bool maximized = false;
    bool captioned = false; // it has a title bar
};

// A full-screen program is in front: the shell says so, or the foreground window covers its whole monitor. The
// desktop and the taskbar cover it too without being programs; a maximised window with a title bar covers it
// when the taskbar hides itself, and is an ordinary window.
bool IsFullScreen(NotificationState state, const std::optional<ForegroundWindow>& foreground);

// The facts about the window in front that a verdict may need, asked only when needed: each costs a few
// questions to the window system.
class ForegroundFacts {
public:
    virtual ~ForegroundFacts() = default;
    virtual bool FullScreen() = 0;
    // The path of the program that owns the foreground window; empty when there is none or it cannot be read.
    virtual std::u16string ProgramPath() = 0;
};

enum class Trigger { HotKey, MouseChord };
enum class TriggerVerdict {
    Act,       // show the launcher
    Ignore,    // do nothing at all: the program in front keeps the mouse combination as it came
    PassKeyOn, // give the hot key to the program in front
};
// Asked only when the trigger would show the launcher.
TriggerVerdict QuietVerdict(Trigger trigger, const TOption& option, ForegroundFacts& foreground);

// Virtual-key codes the hot key's modifiers are typed with.
constexpr int32_t kVkShift = 0x10;
constexpr int32_t kVkControl = 0x11;
constexpr int32_t kVkAlt = 0x12;
constexpr int32_t kVkLeftWin = 0x5B;

struct KeyStroke {
    int32_t vk = 0;
    bool up = false;
    bool extended = false; // an arrow or Windows key, told apart from its keypad twin by this flag
    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};
// The modifier keys down at the moment the hot key is handed on.
struct HeldModifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
    bool win = false;
};
// The keystrokes that type the hot key (VkMod, VkKey) again for the program in front, once the hot key no longer
// catches it. A modifier the user still holds is left as it is; one already let go is pressed and let go again
// around the key, so the program sees the whole combination and no key stays down afterwards.
std::vector<KeyStroke> HotKeyStrokes(int32_t vkMod, int32_t vkKey, HeldModifiers held);

// The hot key given up while a window of a program vantrel leaves alone is in front: its later presses, key
// repeat included, reach that window directly. The poll of the mouse buttons asks for the foreground window only
// while the hot key is held back, and takes the hot key again once another window is in front.
class HotKeyHold {
public:
    void GiveUp(std::intptr_t window) { window_ = window; }
    bool Held() const { return window_ != 0; }
    // The foreground window has changed since the hot key was given up: it must be registered again.
    bool Resumes(std::intptr_t foreground) const { return Held() && foreground != window_; }
    // The hot key was registered again (by a resume, new options or another environment).
    void Clear() { window_ = 0; }

private:
    std::intptr_t window_ = 0;
};

} // namespace vantrel
