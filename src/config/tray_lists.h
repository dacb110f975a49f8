#pragma once
// Loading the Program and System trays from a settings document, with their icons.

#include "config/settings_store.h"
#include "core/records.h"
#include "services/item_services.h"
#include "services/system_queries.h"

namespace vantrel {

// The Program items of the document, each with its icon.
ItemList LoadProgramList(const config::IniDocument& doc, IconSource& icons);

// The System items of the file as read (none when it could not be read), completed with the default items and
// the drives present. The section is written back when completion changed it, except over a file that could not
// be read or that the store does not write this session: defaults never replace settings that were not read.
ItemList LoadSystemList(SettingsStore& store, int32_t fileNumber, SettingsDocument* read, const SystemQueries& system,
                        IconSource& icons);

} // namespace vantrel
