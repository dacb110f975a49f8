#include "config/item_lists.h"

#include "services/path_macros.h"

namespace vantrel {

void CopyList(ItemList& destination, const ItemList& source) {
    destination = source;
}

void FreeItems(ItemList& list) {
    list.clear();
}

namespace {

std::u16string_view FilePart(std::u16string_view path) {
    const auto slash = path.rfind(u'\\');
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

int FindItem(const ItemList& list, const std::u16string& key, const SystemQueries& system) {
    // Stored items already hold expanded paths; only the key carries macros.
    const std::u16string expandedKey = ExpandPathMacros(key, system);
    // An empty expansion (no Edge installed) names nothing and must not match an item without a target.
    if (expandedKey.empty())
        return -1;
    const bool browserKey = key == u"%InternetExplorer%" || key == u"%MicrosoftEdge%";
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::u16string& exe = list[i].ExeFileName;
        if (exe == expandedKey || (browserKey && FilePart(exe) == FilePart(expandedKey)))
            return static_cast<int>(i);
    }
    return -1;
}

int InsertPosition(const ItemList& list) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].Status & StatusNotUsed)
            return static_cast<int>(i);
    return static_cast<int>(list.size());
}

void InsertItem(ItemList& list, RData item) {
    list.insert(list.begin() + InsertPosition(list), std::move(item));
}

} // namespace vantrel
