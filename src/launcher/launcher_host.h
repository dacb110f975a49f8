#pragma once
// What the launcher window needs from the program that hosts it: the trays and options it shows, how it was
// called, and the few things it tells the host. The resident core implements it; the launcher knows nothing
// else of the program around it.

#include <array>
#include <cstdint>

#include "core/geometry.h"
#include "core/records.h"
#include "services/device_list.h"

namespace vantrel {

// Process-wide flags the launcher reads; they are set once at start-up or when the System list changes.
struct LauncherFlags {
    bool UsKeyboardFlag = true; // picks the shifted-digit table of direct keys
    bool CdPlayerFlag = false;  // the System tray holds a used "CD Player" item
    bool MeiryoFlag = false;    // Japanese labels in "Meiryo UI"
};

class LauncherHost {
public:
    virtual ~LauncherHost() = default;

    virtual std::array<TrayEntry, 3>& Trays() = 0;
    virtual const TOption& Option() const = 0;
    virtual LauncherFlags Flags() const = 0;
    // USB drives the device library knows, for "S&top".
    virtual const DeviceList& Devices() const = 0;
    // 0 hidden, 1 shown by the hot key, 2 by the mouse. The launcher sets it to 0 whenever it hides itself.
    virtual int32_t& ShowStatus() = 0;

    // The window has come up: a context menu the mouse show left open underneath is watched for from now.
    virtual void LauncherShown() = 0;
    // The window opens a popup menu of its own, which that watch must not take for a stray one.
    virtual void LauncherMenuOpened() = 0;
    // The CD device's mode for the overlay and the CD entries of the popup menu; 0 when there is no device.
    virtual int32_t CdMode() = 0;
    // "&Setting..." of the popup menu: the icon setting dialog for the item, centred over the launcher's
    // rectangle (screen coordinates); its OK writes the settings file at once.
    virtual void OpenItemSetting(int32_t tray, int32_t index, const BoxBounds& launcherRect) = 0;
    // "Stop all USB drives" of the popup menu, chosen with the window already hidden.
    virtual void StopAllUsbDrives() = 0;
};

} // namespace vantrel
