#pragma once
// Operations on the item lists of the trays. Each record is owned by exactly one list, and so is its icon.

#include <string>

#include "core/records.h"
#include "services/item_services.h"
#include "services/system_queries.h"

namespace vantrel {

// Copies every field and gives the copy its own icon, so freeing one never frees the other's.
void CopyItem(RData& destination, const RData& source, IconSource& icons);
void CopyList(ItemList& destination, const ItemList& source, IconSource& icons);

// Destroys the items' icons (sparing the shared fallback icons) when destroyIcons is set, and clears the list.
void FreeItems(ItemList& list, bool destroyIcons, IconSource& icons);

// Index of the first item whose expanded ExeFileName equals key, or -1. The browser keywords also match by
// file name alone, so an item stored with another install folder is still recognised.
int FindItem(const ItemList& list, const std::u16string& key, const SystemQueries& system);

// Index of the first "not used" item: new items go before it, and it is the number of items shown.
int InsertPosition(const ItemList& list);

// Inserts at InsertPosition (appends when every item is used).
void InsertItem(ItemList& list, RData item);

} // namespace vantrel
