#pragma once
// Confirming the environment selection dialog, up to the switch: the files of removed environments go, the new
// ones get files of their own (default options, no Program items, the default System items and the drives),
// and the working list becomes the live one. The settings in memory stay those of the loaded file; the caller
// then switches to the chosen slot and writes the list.

#include <optional>
#include <string>
#include <vector>

#include "app/resident.h"
#include "dialogs/environment_model.h"

namespace vantrel {

struct EnvironmentFileFailure {
    std::u16string path;
    std::u16string reason;
};

// Files that could not be deleted are returned; everything else is done regardless. Nothing at all is done, and
// nullopt returned, while the first file, which holds the list, is not written (the user is told why).
std::optional<std::vector<EnvironmentFileFailure>>
ApplyEnvironmentFiles(ResidentState& state, const EnvironmentPlan& plan, SettingsStore& store,
                      const SystemQueries& system, IconSource& icons);

// The last step: the current slot and the five slots, written to the first file.
void WriteEnvironmentChoice(const ResidentState& state, SettingsStore& store);

} // namespace vantrel
