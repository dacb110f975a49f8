#pragma once
// The built-in items of the System tray and the completion that keeps the tray in step with them and with
// the drives of the machine.

#include <array>
#include <string_view>

#include "core/records.h"
#include "services/item_services.h"
#include "services/system_queries.h"

namespace vantrel {

struct TSystemItem {
    std::u16string_view ExeName;
    std::u16string_view IconName;
    std::u16string_view Title;
    int32_t IconIndex;
    int32_t Status;
};

extern const std::array<TSystemItem, 12> DefaultSystemItems;

// Applies the version-dependent icon choices that a System item read from the file needs, and gives it
// its icon, its network-drive flag and, for a drive root shown by the shell, its current display name.
void PrepareStoredSystemItem(RData& item, const SystemQueries& system, IconSource& icons);
// The stored System items read without their icons (through NoIconsYet) get them, and a drive the shell's title as
// well, as PrepareStoredSystemItem would have given them; true when there was any.
bool ResolvePendingSystemItems(ItemList& list, const SystemQueries& system, IconSource& icons);

// Adds every missing default item and synchronises the drives; true when the list changed (the caller then
// writes the System section back).
bool CompleteSystemList(ItemList& list, const SystemQueries& system, IconSource& icons);

// Adds the items of new drives and removes the items of drives that are gone; true when anything changed.
bool SyncDrives(ItemList& list, const SystemQueries& system, IconSource& icons);

// A used "CD Player" keyword item is present: the CD audio device is then kept open.
bool HasCdPlayerItem(const ItemList& list);

} // namespace vantrel
