#pragma once
// A settings file's document as the program reads it, for tests that look at what a file holds.

#include "config/settings_store.h"

namespace vantrel::testing {

inline config::IniDocument Stored(SettingsStore& store, int32_t fileNumber) {
    auto read = store.ReadDocument(fileNumber, SettingsProblem::NotRead);
    return read ? read->doc : config::IniDocument();
}

} // namespace vantrel::testing
