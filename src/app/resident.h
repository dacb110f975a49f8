#pragma once
// State of the resident core and the start-up and shut-down steps that decide something: which settings
// are read in which order, which help file is used, what happens to the trays at exit.

#include <array>
#include <string>

#include "app/show_state.h"
#include "config/environments.h"
#include "config/settings_store.h"
#include "core/records.h"
#include "services/cd_audio.h"
#include "services/device_list.h"
#include "services/item_services.h"
#include "services/system_queries.h"

namespace vantrel {

// ShowStatus, MessageFlag and the current dialogs come from the show state.
struct ResidentState : ShowState {
    EnvironmentList Environments;
    // The file whose settings are loaded: a slot keeps its number when the slots before it are deleted, but then
    // names another file, which a switch to it must read although the slot number did not change.
    int32_t LoadedFileNumber = 0;
    TOption CurrentOption;
    std::array<TrayEntry, 3> TrayData;
    bool JapaneseFlag = false;
    bool MeiryoFlag = false;
    bool UsKeyboardFlag = true;
    bool CdPlayerFlag = false;
    DeviceList Devices; // USB drives of the device library, rebuilt on every device change

    ItemList& ProgramList() { return TrayData[ProgramTray].Items; }
    ItemList& TaskList() { return TrayData[TaskTray].Items; }
    ItemList& SystemList() { return TrayData[SystemTray].Items; }
};

// The main window's hot key. An environment switch changes it between reading the new options and reading
// the new System items.
class HotKeyRegistration {
public:
    virtual ~HotKeyRegistration() = default;
    virtual void HotKeyOff() = 0;
    virtual void HotKeyOn(const TOption& option) = 0;
};

// What the start-up, environment and shut-down steps work on besides the state.
struct ResidentServices {
    SettingsStore& store;
    const SystemQueries& system;
    IconSource& icons;
    CdAudio& cd; // open while the System tray holds a used "CD Player" item
};

// Removes what interrupted writes left in the settings folder, moves old settings once, then reads the
// environment list, the current environment's Program items, its options and its System items (completed
// with the default items and drives, written back if that changed), and opens the CD device when a CD player
// item is in use. Each file is read once. A file that cannot be read leaves the defaults in use, and the store
// keeps them from being written over it.
void LoadSettings(ResidentState& state, ResidentServices& services);

// The start of the resident core: the settings, with the items' icons and the drives' titles left for FinishStart
// (the shell's answers for the built-in items and drives took longer than everything else the start does together).
void StartResident(ResidentState& state, ResidentServices& services);

// What the start leaves until the notification-area icon is up and the message loop runs: the items' icons, then the
// USB drives, so that a drive that was plugged in before the program started can be stopped without waiting for
// another device to come or go.
void FinishStart(ResidentState& state, ResidentServices& services, DeviceLibraryFunctions& devices);

// The Program and System items without their icons get them, drives their titles too (nothing to do after
// FinishStart); true when any did.
bool TrayIconsNow(ResidentState& state, ResidentServices& services);

// Switching to environment slot n, and what the user must be told when its file is gone.
enum class EnvironmentSwitch { AlreadyCurrent, MissingFile, Unreadable, Switched };
struct EnvironmentSwitchResult {
    EnvironmentSwitch outcome;
    std::u16string message; // the text to show for MissingFile
};
// Makes the slot current and reads its Program items, then changes the hot key around reading its options,
// then reads its System items (with the CD device closed and opened again for them) and records the slot as
// current in file 1. A slot outside 1..5, unused or without a file is refused as missing; a file that cannot be
// read leaves everything as it was (the store has told the user).
EnvironmentSwitchResult ChangeMultiIni(ResidentState& state, int32_t slot, ResidentServices& services,
                                       HotKeyRegistration& hotKey);

// Writes the System list to the current environment's file; the CD device is closed and opened again when
// the list still holds a used CD player item. False when the write failed (the store has reported it).
bool WriteSystemList(ResidentState& state, ResidentServices& services);

// "Registering Icons"' OK: the Program items, the System items and, when asked, the options, to the current
// environment's file. After a write that failed (the user has been told) the others are not tried: they would
// fail the same way and say so again.
bool SaveTrays(ResidentState& state, ResidentServices& services, bool withOptions);

// CdPlayerFlag from the System list, and the CD device closed and, when the flag is set, opened again.
void ReopenCdDevice(ResidentState& state, CdAudio& cd);

// At exit: the three trays are freed (the Task tray's icons belong to other windows and are left alone),
// then the CD device is closed.
void CloseResident(ResidentState& state, ResidentServices& services);

// Help file in the program's folder by user-interface language.
std::u16string HelpFileName(const std::u16string& programFolder, const std::u16string& languageAbbreviation);

// Japanese user interface on a system the helper library does not call Windows 10 gets the Meiryo UI font.
bool NeedsMeiryo(const std::u16string& languageAbbreviation, bool helperSaysWindows10);

} // namespace vantrel
