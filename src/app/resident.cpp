#include "app/resident.h"

#include "config/item_lists.h"
#include "config/system_items.h"
#include "config/tray_lists.h"
#include "services/os_text.h"

namespace vantrel {

namespace {

// Program items, options, then System items of one settings file, in the order start-up reads them.
void LoadEnvironmentFile(ResidentState& state, int32_t file, SettingsStore& store, const SystemQueries& system,
                         IconSource& icons) {
    state.LoadedFileNumber = file;
    FreeItems(state.ProgramList(), true, icons);
    state.ProgramList() = LoadProgramList(store, file, icons);
    state.CurrentOption = store.ReadOption(file);
    FreeItems(state.SystemList(), true, icons);
    state.SystemList() = LoadSystemList(store, file, system, icons);
    state.CdPlayerFlag = HasCdPlayerItem(state.SystemList());
}

} // namespace

void LoadSettings(ResidentState& state, SettingsStore& store, const SystemQueries& system, IconSource& icons) {
    store.MigrateSettingsFolder();
    state.Environments = store.ReadEnvironmentList();
    LoadEnvironmentFile(state, state.Environments.CurrentFileNumber(), store, system, icons);
}

EnvironmentSwitchResult ChangeMultiIni(ResidentState& state, int32_t slot, SettingsStore& store,
                                       const SystemQueries& system, IconSource& icons) {
    if (slot == state.Environments.IniNo && state.Environments.Slot(slot).IniOrder == state.LoadedFileNumber)
        return {EnvironmentSwitch::AlreadyCurrent, {}};
    const int32_t file = (slot >= 1 && slot <= kMaxEnvironments) ? state.Environments.Slot(slot).IniOrder : -1;
    if (file < 1 || !store.FileExists(file))
        return {EnvironmentSwitch::MissingFile,
                u"Cannot find the configuration file (" + SettingsFileLeafName(file) + u")"};

    state.Environments.IniNo = slot;
    LoadEnvironmentFile(state, file, store, system, icons);
    store.WriteCurrentEnvironment(state.Environments);
    return {EnvironmentSwitch::Switched, {}};
}

void FreeTrays(ResidentState& state, IconSource& icons) {
    FreeItems(state.ProgramList(), true, icons);
    FreeItems(state.TaskList(), false, icons);
    FreeItems(state.SystemList(), true, icons);
}

std::u16string HelpFileName(const std::u16string& programFolder, const std::u16string& languageAbbreviation) {
    return programFolder + (languageAbbreviation == u"JPN" ? u"\\vantrelj.chm" : u"\\vantrel.chm");
}

bool NeedsMeiryo(const std::u16string& languageAbbreviation, bool helperSaysWindows10) {
    return languageAbbreviation == u"JPN" && !helperSaysWindows10;
}

} // namespace vantrel
