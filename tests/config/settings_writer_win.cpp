// settings_writer: the writing half of the crash test. It writes the Program items of the settings file
// under <base folder>\vantrel64 over and over through the program's own settings store, alternating between
// the two lists of crash_writes.h, until it is killed (or after a bounded number of writes, so that a
// writer the test lost track of ends by itself).
//
//   settings_writer.exe <base folder> <name of an event to set once it is about to write>

#include <windows.h>

#include "config/crash_writes.h"
#include "config/settings_files_win.h"
#include "config/settings_store.h"
#include "win/strings_win.h"

namespace {

constexpr int kMaxWrites = 20000;

} // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace vantrel;
    if (argc != 3)
        return 2;
    config::Win32SettingsFiles files;
    bool failed = false;
    SettingsStore store(files, win::FromWide(argv[1]), config::AnsiCodePageDecoder(),
                        [&](const SettingsFailure&) { failed = true; });
    const ItemList lists[2] = {testing::CrashTestItems(0), testing::CrashTestItems(1)};
    const HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    if (!ready)
        return 3;
    SetEvent(ready);
    CloseHandle(ready);
    for (int n = 0; n < kMaxWrites && !failed; ++n)
        store.WriteItems(1, ItemSection::Program, lists[n % 2]);
    return failed ? 1 : 0;
}
