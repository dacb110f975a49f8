#pragma once
// Reading and writing the settings files. Every operation reads its file once, changes the document in
// memory and writes it back through an atomic replacement, so unknown keys and comments survive and a
// failed write leaves the old file as it was.

#include <functional>
#include <string>

#include "config/environments.h"
#include "config/ini_document.h"
#include "config/settings_files.h"
#include "config/settings_location.h"
#include "core/records.h"

namespace vantrel {

enum class ItemSection { Program, System };

// A write that did not reach the disk: which file and the system's reason.
struct WriteFailure {
    std::u16string path;
    std::u16string reason;
};

class SettingsStore {
public:
    using FailureReporter = std::function<void(const WriteFailure&)>;

    // The installed layout under the base folder (base\vantrel64).
    SettingsStore(config::SettingsFileSystem& files, std::u16string baseFolder, config::AnsiDecoder ansi,
                  FailureReporter reportFailure);
    SettingsStore(config::SettingsFileSystem& files, SettingsLocation location, config::AnsiDecoder ansi,
                  FailureReporter reportFailure);

    const SettingsLocation& Location() const { return location_; }

    // Full path of the file of an environment file number; creates the settings folder.
    std::u16string FileName(int32_t fileNumber);
    bool FileExists(int32_t fileNumber);

    TOption ReadOption(int32_t fileNumber);
    bool WriteOption(int32_t fileNumber, const TOption& option);

    // Items as stored (no icons): keys numbered from 0 up to the first gap or missing title, at most 200.
    ItemList ReadItems(int32_t fileNumber, ItemSection section);
    bool WriteItems(int32_t fileNumber, ItemSection section, const ItemList& items);

    // Removes an environment's settings: its file, except for the first file, which also holds the environment
    // list and keeps it (only its item sections are emptied). False with the system's reason when a file could
    // not be deleted.
    bool RemoveEnvironmentSettings(int32_t fileNumber, std::u16string* reason);

    EnvironmentList ReadEnvironmentList();
    bool WriteEnvironmentList(const EnvironmentList& list);
    bool WriteCurrentEnvironment(const EnvironmentList& list);

    // Deletes the temporary files that writes cut short by a crash left in the settings folder. Only our own
    // temporary files go; a file another writer still holds open stays.
    void RemoveLeftoverTemporaryFiles();

    // Copies the files of the older settings folder once, when the new folder has no first file yet.
    void MigrateSettingsFolder();

private:
    config::IniDocument Load(const std::u16string& path, bool* readable);
    bool Update(int32_t fileNumber, const std::function<void(config::IniDocument&)>& change);

    config::SettingsFileSystem& files_;
    SettingsLocation location_;
    config::AnsiDecoder ansi_;
    FailureReporter reportFailure_;
};

// The message the user sees when a write failed: the file, the system's reason, and for a portable copy the
// folder that has to be writable to keep its settings.
std::u16string WriteFailureMessage(const WriteFailure& failure, const SettingsLocation& location);

} // namespace vantrel
