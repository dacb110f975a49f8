#include "app/resident.h"

#include "config/item_lists.h"
#include "config/system_items.h"
#include "config/tray_lists.h"
#include "services/os_text.h"

namespace vantrel {

namespace {

void ReadProgramList(ResidentState& state, int32_t file, ResidentServices& services) {
    state.LoadedFileNumber = file;
    FreeItems(state.ProgramList());
    state.ProgramList() = LoadProgramList(services.store, file, services.icons);
}

void ReadSystemList(ResidentState& state, int32_t file, ResidentServices& services) {
    FreeItems(state.SystemList());
    state.SystemList() = LoadSystemList(services.store, file, services.system, services.icons);
    ReopenCdDevice(state, services.cd);
}

} // namespace

void LoadSettings(ResidentState& state, ResidentServices& services) {
    services.store.RemoveLeftoverTemporaryFiles();
    services.store.MigrateSettingsFolder();
    state.Environments = services.store.ReadEnvironmentList();
    const int32_t file = state.Environments.CurrentFileNumber();
    ReadProgramList(state, file, services);
    state.CurrentOption = services.store.ReadOption(file);
    ReadSystemList(state, file, services);
}

void StartResident(ResidentState& state, ResidentServices& services, DeviceLibraryFunctions& devices) {
    LoadSettings(state, services);
    RefreshDeviceList(devices, state.Devices);
}

EnvironmentSwitchResult ChangeMultiIni(ResidentState& state, int32_t slot, ResidentServices& services,
                                       HotKeyRegistration& hotKey) {
    // The same slot number may name another file after the environment dialog renumbered the slots.
    if (slot == state.Environments.IniNo && state.Environments.Slot(slot).IniOrder == state.LoadedFileNumber)
        return {EnvironmentSwitch::AlreadyCurrent, {}};
    const int32_t file = (slot >= 1 && slot <= kMaxEnvironments) ? state.Environments.Slot(slot).IniOrder : -1;
    if (file < 1 || !services.store.FileExists(file))
        return {EnvironmentSwitch::MissingFile,
                u"Cannot find the configuration file (" + SettingsFileLeafName(file) + u")"};

    state.Environments.IniNo = slot;
    ReadProgramList(state, file, services);
    // The old key is released before the new options are read, and the new one is live before the System
    // items are, so that no step in between runs with a key of the other environment.
    hotKey.HotKeyOff();
    state.CurrentOption = services.store.ReadOption(file);
    hotKey.HotKeyOn(state.CurrentOption);
    ReadSystemList(state, file, services);
    // The tray menu's check mark follows IniNo; the menu is built from it each time it opens.
    services.store.WriteCurrentEnvironment(state.Environments);
    return {EnvironmentSwitch::Switched, {}};
}

bool WriteSystemList(ResidentState& state, ResidentServices& services) {
    const bool written =
        services.store.WriteItems(state.Environments.CurrentFileNumber(), ItemSection::System, state.SystemList());
    // The list in memory is the one in use whether or not the file took it.
    ReopenCdDevice(state, services.cd);
    return written;
}

void ReopenCdDevice(ResidentState& state, CdAudio& cd) {
    cd.CdClose();
    state.CdPlayerFlag = HasCdPlayerItem(state.SystemList());
    if (state.CdPlayerFlag)
        cd.CdOpen();
}

void CloseResident(ResidentState& state, ResidentServices& services) {
    FreeItems(state.ProgramList());
    FreeItems(state.TaskList());
    FreeItems(state.SystemList());
    services.cd.CdClose();
}

std::u16string HelpFileName(const std::u16string& programFolder, const std::u16string& languageAbbreviation) {
    return programFolder + (languageAbbreviation == u"JPN" ? u"\\vantrelj.chm" : u"\\vantrel.chm");
}

bool NeedsMeiryo(const std::u16string& languageAbbreviation, bool helperSaysWindows10) {
    return languageAbbreviation == u"JPN" && !helperSaysWindows10;
}

} // namespace vantrel
