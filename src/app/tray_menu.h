#pragma once
// The notification-area icon's menu and how the icon's callback messages map to actions.

#include <cstdint>
#include <string>
#include <vector>

#include "config/environments.h"

namespace vantrel {

// Command identifiers of the tray menu (tmSet1..tmSet5 are consecutive).
enum TrayCommand : uint32_t {
    tmSet1 = 101,
    tmSet5 = 105,
    tmOption = 110,
    tmRegist = 111,
    tmCondition = 112,
    tmHelp = 113,
    tmAbout = 114,
    tmExit = 115,
    tmStopAllDrives = 116,
};

// Which settings dialogs exist; an entry whose dialog does not is shown greyed.
struct DialogAvailability {
    bool option = false;
    bool registration = false;
    bool environments = false;
    bool about = false;
};

struct TrayMenuEntry {
    uint32_t id = 0; // 0 for a separator
    std::u16string caption;
    bool enabled = true;
    bool checked = false;

    friend bool operator==(const TrayMenuEntry&, const TrayMenuEntry&) = default;
};

// The entries to show, in order; hidden entries (environments not offered, their separator when none is;
// "Stop all USB drives" while no USB drive can be stopped) are left out.
std::vector<TrayMenuEntry> BuildTrayMenu(const EnvironmentList& environments, const DialogAvailability& dialogs,
                                         bool usbDrives = false);

// What a callback message of the icon asks for. The icon talks the version-4 protocol, which reports the
// mouse buttons and also the keyboard (NIN_KEYSELECT for Enter/Space, WM_CONTEXTMENU for the menu key);
// a right click brings both WM_RBUTTONDOWN and, on release, WM_CONTEXTMENU, and must open the menu once.
enum class TrayIconAction { None, OpenRegistration, ShowMenu };

class TrayIconInput {
public:
    TrayIconAction OnCallback(uint32_t message);

private:
    bool rightButtonMenuShown_ = false;
};

// When to try again to add the notification-area icon. The add fails while the shell is not ready (the
// program started with the session, or the shell is restarting) and nothing says when it becomes ready, so it
// is tried again, soon at first and then less often, for as long as it fails.
class TrayIconRetry {
public:
    // The outcome of an attempt; the wait in milliseconds before the next one, 0 once the icon is there.
    uint32_t AfterAttempt(bool added);

private:
    uint32_t nextWaitMs_ = 0;
};

constexpr uint32_t kTrayRetryFirstMs = 500;
constexpr uint32_t kTrayRetryLongestMs = 5000;

// Message numbers of the icon's callback protocol.
constexpr uint32_t kWmLButtonDown = 0x0201;
constexpr uint32_t kWmRButtonDown = 0x0204;
constexpr uint32_t kWmContextMenu = 0x007B;
constexpr uint32_t kNinSelect = 0x0400;
constexpr uint32_t kNinKeySelect = 0x0401;

} // namespace vantrel
