#include "config/tray_lists.h"

#include "config/system_items.h"

namespace vantrel {

ItemList LoadProgramList(const config::IniDocument& doc, IconSource& icons) {
    ItemList items = ReadItems(doc, ItemSection::Program);
    for (auto& item : items)
        item.Icon = ResolveItemIcon(item.Status, item.IconFileName, item.IconIndex, icons);
    return items;
}

ItemList LoadSystemList(SettingsStore& store, int32_t fileNumber, SettingsDocument* read, const SystemQueries& system,
                        IconSource& icons) {
    ItemList items = read ? ReadItems(read->doc, ItemSection::System) : ItemList();
    for (auto& item : items)
        PrepareStoredSystemItem(item, system, icons);
    // The user has been told why the file is not written; completing the list in memory must not say it again.
    if (CompleteSystemList(items, system, icons) && read && !store.Refuses(fileNumber))
        store.WriteItems(fileNumber, ItemSection::System, items, read);
    return items;
}

} // namespace vantrel
