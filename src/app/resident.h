#pragma once
// State of the resident core and the start-up and shut-down steps that decide something: which settings
// are read in which order, which help file is used, what happens to the trays at exit.

#include <array>
#include <string>

#include "app/show_state.h"
#include "config/environments.h"
#include "config/settings_store.h"
#include "core/records.h"
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

// Moves old settings once, then reads the environment list, the current environment's Program items, its
// options and its System items (completed with the default items and drives, written back if that changed).
void LoadSettings(ResidentState& state, SettingsStore& store, const SystemQueries& system, IconSource& icons);

// Switching to environment slot n, and what the user must be told when its file is gone.
enum class EnvironmentSwitch { AlreadyCurrent, MissingFile, Switched };
struct EnvironmentSwitchResult {
    EnvironmentSwitch outcome;
    std::u16string message; // the text to show for MissingFile
};
// Reads the slot's Program items, options and System items and records it as current in file 1; the
// caller re-registers the hot key from the new options. A slot outside 1..5 or unused is refused as missing.
EnvironmentSwitchResult ChangeMultiIni(ResidentState& state, int32_t slot, SettingsStore& store,
                                       const SystemQueries& system, IconSource& icons);

// Frees the three trays at exit; the Task tray's icons belong to other windows and are left alone.
void FreeTrays(ResidentState& state, IconSource& icons);

// Help file in the program's folder by user-interface language.
std::u16string HelpFileName(const std::u16string& programFolder, const std::u16string& languageAbbreviation);

// Japanese user interface on a system the helper library does not call Windows 10 gets the Meiryo UI font.
bool NeedsMeiryo(const std::u16string& languageAbbreviation, bool helperSaysWindows10);

} // namespace vantrel
