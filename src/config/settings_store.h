#pragma once
// Reading and writing the settings files. A file is read once into a document, from which the options, the
// items and the environment list are taken; every write reads its file, changes the document in memory and
// writes it back through an atomic replacement, so unknown keys and comments survive and a failed write leaves
// the old file as it was. A file that exists but cannot be read is never taken for an empty one.

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "config/environments.h"
#include "config/ini_document.h"
#include "config/settings_files.h"
#include "config/settings_location.h"
#include "core/records.h"

namespace vantrel {

enum class ItemSection { Program, System };

// The largest settings file that is read. 200 Program and 200 System items with long paths take well under
// 1 MiB; four times that leaves room for any hand-edited file, while a file past it (a log written into the
// folder by mistake, a damaged disk) is refused before it costs memory or time at every start.
constexpr std::size_t kMaxSettingsFileBytes = 4u << 20;

// What went wrong with a settings file, which decides how the user is told.
enum class SettingsProblem {
    NotSaved,    // a write did not reach the disk, or was refused
    NotRead,     // a file could not be read at start: the program goes on without what it holds
    NotSwitched, // the file of the environment chosen could not be read: the environment in use stays
    NotCopied,   // a file of the older settings folder could not be copied
};

struct SettingsFailure {
    std::u16string path;   // the file (for NotCopied, the older folder's file)
    std::u16string reason; // the system's reason, or ours
    SettingsProblem problem = SettingsProblem::NotSaved;
};

// A settings file as read: its document and the bytes it came from.
struct SettingsDocument {
    config::IniDocument doc;
    std::string bytes;
};

class SettingsStore {
public:
    using FailureReporter = std::function<void(const SettingsFailure&)>;

    // The installed layout under the base folder (base\vantrel64).
    SettingsStore(config::SettingsFileSystem& files, std::u16string baseFolder, config::AnsiDecoder ansi,
                  FailureReporter reportFailure);
    SettingsStore(config::SettingsFileSystem& files, SettingsLocation location, config::AnsiDecoder ansi,
                  FailureReporter reportFailure);

    const SettingsLocation& Location() const { return location_; }

    // Full path of the file of an environment file number; creates the settings folder.
    std::u16string FileName(int32_t fileNumber);
    bool FileExists(int32_t fileNumber);

    // The file's content; an empty document when the file does not exist (a first start). nullopt when it exists
    // but could not be read, also after trying again for a while when another program holds it, or when it is
    // larger than kMaxSettingsFileBytes: the user is told (in the words of `problem`), and the store writes
    // nothing over the file until a later read of it succeeds.
    std::optional<SettingsDocument> ReadDocument(int32_t fileNumber, SettingsProblem problem);

    bool WriteOption(int32_t fileNumber, const TOption& option);
    // asRead: the document this file gave a moment ago; while the file still holds the same bytes it is changed
    // instead of parsing the file again (and it is used up).
    bool WriteItems(int32_t fileNumber, ItemSection section, const ItemList& items, SettingsDocument* asRead = nullptr);

    // Removes an environment's settings: its file, except for the first file, which also holds the environment
    // list and keeps it (only its item sections are emptied). False with the system's reason when a file could
    // not be deleted.
    bool RemoveEnvironmentSettings(int32_t fileNumber, std::u16string* reason);

    bool WriteEnvironmentList(const EnvironmentList& list);
    bool WriteCurrentEnvironment(const EnvironmentList& list);

    // Whether writes to the file are refused this session: it could not be read, or the older folder's settings
    // are still to be copied into it.
    bool Refuses(int32_t fileNumber) const;
    // Tells the user why the file is not written, when it is not; true then.
    bool ReportIfRefused(int32_t fileNumber);

    // Deletes the temporary files that writes cut short by a crash left in the settings folder. Only our own
    // temporary files go; a file another writer still holds open stays.
    void RemoveLeftoverTemporaryFiles();

    // Copies the files of the older settings folder, when the new folder has no first file yet. The first file
    // comes last, so that its presence means every file came over. When a copy fails the user is told, nothing
    // more is copied and the first file is not written this session, so that the next start copies again.
    void MigrateSettingsFolder();

private:
    struct Refusal {
        std::u16string reason;
        bool liftedByRead = true; // a later successful read of the file ends it
    };

    config::FileContent ReadPatiently(const std::u16string& path);
    bool Update(int32_t fileNumber, const std::function<void(config::IniDocument&)>& change,
                SettingsDocument* asRead = nullptr);
    std::u16string PathOf(int32_t fileNumber) const;

    config::SettingsFileSystem& files_;
    SettingsLocation location_;
    config::AnsiDecoder ansi_;
    FailureReporter reportFailure_;
    std::map<std::u16string, Refusal> refused_; // by path
};

// The values a document holds, with the defaults of missing keys, brought into the ranges the program acts on.
TOption ReadOption(const config::IniDocument& doc);
// Items as stored (no icons): keys numbered from 0 up to the first gap or missing title, at most 200.
ItemList ReadItems(const config::IniDocument& doc, ItemSection section);
EnvironmentList ReadEnvironmentList(const config::IniDocument& doc);

// The message the user sees: the file and the reason; for a failed write of a portable copy also the folder that
// has to be writable to keep its settings.
std::u16string SettingsFailureMessage(const SettingsFailure& failure, const SettingsLocation& location);

} // namespace vantrel
