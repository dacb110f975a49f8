#include "config/tray_lists.h"

#include "config/system_items.h"

namespace vantrel {

ItemList LoadProgramList(SettingsStore& store, int32_t fileNumber, IconSource& icons) {
    ItemList items = store.ReadItems(fileNumber, ItemSection::Program);
    for (auto& item : items)
        item.Icon = ResolveItemIcon(item.Status, item.IconFileName, item.IconIndex, icons);
    return items;
}

ItemList LoadSystemList(SettingsStore& store, int32_t fileNumber, const SystemQueries& system, IconSource& icons) {
    ItemList items = store.ReadItems(fileNumber, ItemSection::System);
    for (auto& item : items)
        PrepareStoredSystemItem(item, system, icons);
    if (CompleteSystemList(items, system, icons))
        store.WriteItems(fileNumber, ItemSection::System, items);
    return items;
}

} // namespace vantrel
