#pragma once
// The launcher window's popup menu: which entries it offers for the item under the cursor, where it opens,
// and what each command does. The window builds the menu from the visible entries (their ids are the menu
// command ids) and tracks it at ItemMenuPosition: with MenuWatchCount at kMenuWatchTicks, itself in the
// foreground and CDPlayFlag set while the menu is open. Once the menu has closed (it ran a message loop of
// its own) it hands the chosen id, if any, to PerformMenuCommand.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "core/geometry.h"
#include "core/records.h"
#include "launcher/layout.h"
#include "launcher/run_item.h"
#include "launcher/task_actions.h"
#include "services/device_list.h"

namespace vantrel {

// Entries in menu order; the values are the menu command ids (never 0, which is "nothing chosen").
enum class MenuEntryId : int32_t {
    PlayFromStart = 1, // mpPlayFromStart
    NextTrack,         // mpNextTrack
    PreviousTrack,     // mpPreviousTrack
    Eject,             // mpEject
    MarkLine0,         // separator under the CD entries
    Setting,           // mpSetting
    ToIcon,            // mpToIcon
    ToMax,             // mpToMax
    MarkLine01,        // separator over "Run as administrator"
    Runas,             // mpRunas
    MarkLine1,         // separator over the task and drive commands
    CutNetworkDrive,   // mpCutNetworkDrive
    StopDrive,         // mpStopDrive
    StopAllDrives,     // "Stop all USB drives", with "S&top" while a USB drive can be stopped
    Close,             // mpClose
    MarkLine2,         // separator over the "All" commands
    AllClose,          // mpAllClose
    AllToIcon,         // mpAllToIcon
};

struct MenuEntry {
    MenuEntryId id = MenuEntryId::PlayFromStart;
    std::u16string_view caption; // empty for a separator
    bool visible = false;
    bool enabled = true;
    bool IsSeparator() const { return caption.empty(); }
    friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

// MCI mode of an open door: the CD entries that need a disc are disabled.
constexpr int32_t kCdModeOpen = 530;

struct ItemMenuInputs {
    const std::array<TrayEntry, 3>& trays;
    int32_t tray = 0;
    int32_t index = 0;
    TaskWindowOps& ops;                  // is a task window minimised
    const DeviceList& devices;           // USB drives the device library knows
    std::function<int32_t()> cdMode;     // asked only for the CD player item; none counts as no door open
    bool settingDialogAvailable = false; // "&Setting..." is offered once the icon setting dialog exists
};

// All entries in menu order with their state, or none when the cell shows no item. Separators that would
// open the menu or follow another separator are hidden.
std::optional<std::vector<MenuEntry>> ComposeItemMenu(const ItemMenuInputs& inputs);

// Where the menu opens: at the mouse, or at the cursor cell's left edge half-way down.
ScreenPoint ItemMenuPosition(const LauncherLayout& layout, ScreenPoint windowTopLeft, int32_t tray, int32_t index,
                             bool atMouse, ScreenPoint mouse);

// The device instance handle of the first USB device holding the drive letter; 0 for none.
int32_t FindDevice(const DeviceList& devices, char16_t letter);

// What the window does after a command: OpenSettingDialog opens the icon setting dialog for the current item,
// StopAllUsbDrives has the host stop every USB drive once the window is hidden.
enum class MenuOutcome { Done, OpenSettingDialog, StopAllUsbDrives };

// Carries out the chosen entry for the current item (NowIndex of NowMode).
MenuOutcome PerformMenuCommand(RunContext& c, MenuEntryId id, const DeviceList& devices);

} // namespace vantrel
