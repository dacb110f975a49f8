// The settings reader under libFuzzer: whatever a hand-edited (or damaged) file holds, every read returns
// values the rest of the program can act on, and rewriting a section keeps the file readable.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/settings_store.h"
#include "config/settings_values.h"
#include "support/fake_files.h"
#include "support/fake_system.h"
#include "support/stored_settings.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    testing::FakeFiles files;
    const std::u16string base = u"C:\\AppData";
    files.files[base + u"\\vantrel64\\vantrel.ini"] = std::string(reinterpret_cast<const char*>(data), size);
    SettingsStore store(files, base, config::DecodeWindows1252, [](const SettingsFailure&) {});

    // Every file under the size limit is read: nothing a file holds makes it unreadable.
    auto read = store.ReadDocument(1, SettingsProblem::NotRead);
    Check(read.has_value() == (size <= kMaxSettingsFileBytes));
    if (!read)
        return 0;
    const EnvironmentList environments = ReadEnvironmentList(read->doc);
    Check(environments.IniMax >= 1 && environments.IniMax <= kMaxEnvironments);
    Check(environments.IniNo >= 1 && environments.IniNo <= environments.IniMax);
    Check(environments.CurrentFileNumber() >= 1 && environments.CurrentFileNumber() <= kMaxEnvironments);

    const TOption option = ReadOption(read->doc);
    Check(option.ColMax >= kMinColumns && option.ColMax <= kMaxColumns);
    Check(option.KeyCursorFlag >= 0 && option.KeyCursorFlag <= 2);
    Check(option.WaitDesktop >= 0 && option.WaitDesktop <= 6);

    for (const ItemSection section : {ItemSection::Program, ItemSection::System}) {
        const ItemList items = ReadItems(read->doc, section);
        Check(items.size() <= static_cast<std::size_t>(kMaxStoredItems));
        for (const auto& item : items) {
            Check(!item.Title.empty() && item.Title.size() <= kMaxFieldChars);
            Check(item.Status >= 0 && item.Status <= 0xFFFF);
        }
        // Writing what was read and reading it again gives the same items.
        Check(store.WriteItems(1, section, items));
        Check(ReadItems(testing::Stored(store, 1), section) == items);
    }
    Check(store.WriteOption(1, option));
    Check(ReadOption(testing::Stored(store, 1)) == option);
    return 0;
}
