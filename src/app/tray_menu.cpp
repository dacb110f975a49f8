#include "app/tray_menu.h"

#include <algorithm>

namespace vantrel {

std::vector<TrayMenuEntry> BuildTrayMenu(const EnvironmentList& environments, const DialogAvailability& dialogs,
                                         bool usbDrives) {
    std::vector<TrayMenuEntry> entries;
    bool anyEnvironment = false;
    for (int32_t slot = 1; slot <= kMaxEnvironments; ++slot) {
        if (!EnvironmentMenuVisible(environments, slot))
            continue;
        anyEnvironment = true;
        entries.push_back({tmSet1 + static_cast<uint32_t>(slot - 1), EnvironmentMenuCaption(environments, slot), true,
                           slot == environments.IniNo});
    }
    if (anyEnvironment)
        entries.push_back({});
    entries.push_back({tmOption, u"&Setting...", dialogs.option});
    entries.push_back({tmRegist, u"&Registering Icons...", dialogs.registration});
    entries.push_back({});
    entries.push_back({tmCondition, u"Select &Environment...", dialogs.environments});
    entries.push_back({});
    if (usbDrives) {
        entries.push_back({tmStopAllDrives, u"Stop all &USB drives"});
        entries.push_back({});
    }
    entries.push_back({tmHelp, u"&Help"});
    entries.push_back({tmAbout, u"&About...", dialogs.about});
    entries.push_back({});
    entries.push_back({tmExit, u"E&xit"});
    return entries;
}

TrayIconAction TrayIconInput::OnCallback(uint32_t message) {
    switch (message) {
    case kWmLButtonDown:
    case kNinKeySelect:
        return TrayIconAction::OpenRegistration;
    case kWmRButtonDown:
        rightButtonMenuShown_ = true;
        return TrayIconAction::ShowMenu;
    case kWmContextMenu:
        // After a right click the menu is already up (or was just closed): the release must not reopen it.
        if (rightButtonMenuShown_) {
            rightButtonMenuShown_ = false;
            return TrayIconAction::None;
        }
        return TrayIconAction::ShowMenu;
    default:
        return TrayIconAction::None;
    }
}

uint32_t TrayIconRetry::AfterAttempt(bool added) {
    if (added) {
        nextWaitMs_ = 0;
        return 0;
    }
    nextWaitMs_ = nextWaitMs_ == 0 ? kTrayRetryFirstMs : std::min(nextWaitMs_ * 2, kTrayRetryLongestMs);
    return nextWaitMs_;
}

} // namespace vantrel
