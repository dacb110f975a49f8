#pragma once
// Loading the Program and System trays from the settings file, with their icons.

#include "config/settings_store.h"
#include "core/records.h"
#include "services/item_services.h"
#include "services/system_queries.h"

namespace vantrel {

// The Program items of the file, each with its icon.
ItemList LoadProgramList(SettingsStore& store, int32_t fileNumber, IconSource& icons);

// The System items of the file, completed with the default items and the drives present; the section is
// written back when completion changed it.
ItemList LoadSystemList(SettingsStore& store, int32_t fileNumber, const SystemQueries& system, IconSource& icons);

} // namespace vantrel
