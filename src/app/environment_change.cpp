#include "app/environment_change.h"

#include "config/item_lists.h"
#include "config/system_items.h"

namespace vantrel {

namespace {

// A new environment's file from scratch; whatever an old file of that number held is gone first.
void CreateEnvironmentFile(int32_t file, SettingsStore& store, const SystemQueries& system, IconSource& icons,
                           std::vector<EnvironmentFileFailure>& failures) {
    std::u16string reason;
    if (!store.RemoveEnvironmentSettings(file, &reason))
        failures.push_back({store.FileName(file), reason});
    store.WriteItems(file, ItemSection::Program, {});
    store.WriteOption(file, TOption{});
    ItemList systemItems;
    CompleteSystemList(systemItems, system, icons);
    store.WriteItems(file, ItemSection::System, systemItems);
}

} // namespace

std::optional<std::vector<EnvironmentFileFailure>>
ApplyEnvironmentFiles(ResidentState& state, const EnvironmentPlan& plan, SettingsStore& store,
                      const SystemQueries& system, IconSource& icons) {
    // Files added or removed without the list that names them would no longer match it at the next start.
    if (store.ReportIfRefused(1))
        return std::nullopt;
    std::vector<EnvironmentFileFailure> failures;
    for (int32_t file : plan.filesToDelete) {
        std::u16string reason;
        if (!store.RemoveEnvironmentSettings(file, &reason))
            failures.push_back({store.FileName(file), reason});
    }
    for (int32_t file : plan.filesToCreate) {
        CreateEnvironmentFile(file, store, system, icons, failures);
        // Made again for a new environment, the file no longer holds the settings in use: the switch reads it.
        if (file == state.LoadedFileNumber)
            state.LoadedFileNumber = 0;
    }
    // The current slot is the one that still names the loaded file, wherever deletions moved it. When that file
    // left the list, the chosen slot stands in, and the switch to it reads its file because it is not the
    // loaded one.
    state.Environments = plan.list;
    state.Environments.IniNo = plan.switchTo;
    for (int32_t n = 1; n <= state.Environments.IniMax; ++n)
        if (state.Environments.Slot(n).IniOrder == state.LoadedFileNumber)
            state.Environments.IniNo = n;
    return failures;
}

void WriteEnvironmentChoice(const ResidentState& state, SettingsStore& store) {
    store.WriteCurrentEnvironment(state.Environments);
    store.WriteEnvironmentList(state.Environments);
}

} // namespace vantrel
