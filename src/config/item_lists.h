#pragma once
// Operations on the item lists of the trays. Records are plain values; their icons are shared references, so a
// copied list (kept for a dialog's Cancel) and the list in use show the same icons and never destroy one twice.

#include <string>

#include "core/records.h"
#include "services/item_services.h"
#include "services/system_queries.h"

namespace vantrel {

// Copies every item; the copies refer to the same icons, which live until neither list needs them.
void CopyList(ItemList& destination, const ItemList& source);

// Empties the list; an icon goes with the last item that referred to it.
void FreeItems(ItemList& list);

// Index of the first item whose expanded ExeFileName equals key, or -1. The browser keywords also match by
// file name alone, so an item stored with another install folder is still recognised.
int FindItem(const ItemList& list, const std::u16string& key, const SystemQueries& system);

// Index of the first "not used" item: new items go before it, and it is the number of items shown.
int InsertPosition(const ItemList& list);

// Inserts at InsertPosition (appends when every item is used).
void InsertItem(ItemList& list, RData item);

} // namespace vantrel
