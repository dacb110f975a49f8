#include "app/resident.h"

#include <optional>
#include <utility>

#include "config/item_lists.h"
#include "config/system_items.h"
#include "config/tray_lists.h"
#include "services/os_text.h"

namespace vantrel {

namespace {

void ReadProgramList(ResidentState& state, int32_t file, const std::optional<SettingsDocument>& read,
                     ResidentServices& services) {
    state.LoadedFileNumber = file;
    FreeItems(state.ProgramList());
    state.ProgramList() = read ? LoadProgramList(read->doc, services.icons) : ItemList();
}

void ReadSystemList(ResidentState& state, int32_t file, std::optional<SettingsDocument>& read,
                    ResidentServices& services) {
    FreeItems(state.SystemList());
    state.SystemList() = LoadSystemList(services.store, file, read ? &*read : nullptr, services.system, services.icons);
    ReopenCdDevice(state, services.cd);
}

} // namespace

void LoadSettings(ResidentState& state, ResidentServices& services) {
    SettingsStore& store = services.store;
    store.RemoveLeftoverTemporaryFiles();
    store.MigrateSettingsFolder();
    std::optional<SettingsDocument> first = store.ReadDocument(1, SettingsProblem::NotRead);
    state.Environments = first ? ReadEnvironmentList(first->doc) : EnvironmentList();
    const int32_t file = state.Environments.CurrentFileNumber();
    std::optional<SettingsDocument> read =
        file == 1 ? std::move(first) : store.ReadDocument(file, SettingsProblem::NotRead);
    ReadProgramList(state, file, read, services);
    state.CurrentOption = read ? ReadOption(read->doc) : TOption();
    ReadSystemList(state, file, read, services);
}

void StartResident(ResidentState& state, ResidentServices& services) {
    NoIconsYet later;
    ResidentServices reading{services.store, services.system, later, services.cd};
    LoadSettings(state, reading);
}

void FinishStart(ResidentState& state, ResidentServices& services, DeviceLibraryFunctions& devices) {
    TrayIconsNow(state, services);
    RefreshDeviceList(devices, state.Devices);
}

bool TrayIconsNow(ResidentState& state, ResidentServices& services) {
    const bool programs = ResolvePendingIcons(state.ProgramList(), services.icons);
    const bool systems = ResolvePendingSystemItems(state.SystemList(), services.system, services.icons);
    return programs || systems;
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
    std::optional<SettingsDocument> read = services.store.ReadDocument(file, SettingsProblem::NotSwitched);
    if (!read)
        return {EnvironmentSwitch::Unreadable, {}};

    state.Environments.IniNo = slot;
    ReadProgramList(state, file, read, services);
    // The old key is released before the new options are taken, and the new one is live before the System
    // items are, so that no step in between runs with a key of the other environment.
    hotKey.HotKeyOff();
    state.CurrentOption = ReadOption(read->doc);
    hotKey.HotKeyOn(state.CurrentOption);
    ReadSystemList(state, file, read, services);
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

bool SaveTrays(ResidentState& state, ResidentServices& services, bool withOptions) {
    const int32_t file = state.Environments.CurrentFileNumber();
    if (!services.store.WriteItems(file, ItemSection::Program, state.ProgramList())) {
        // The list in use may have gained or lost its CD player all the same.
        ReopenCdDevice(state, services.cd);
        return false;
    }
    return WriteSystemList(state, services) && (!withOptions || services.store.WriteOption(file, state.CurrentOption));
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
