#include "dialogs/icon_grid_access.h"

#include <algorithm>

#include "config/item_lists.h"
#include "dialogs/icon_setting_model.h"
#include "grid/cells.h"

namespace vantrel {

namespace {

constexpr char16_t kNotUsed[] = u" (not used)";

std::u16string DecimalText(int32_t value) {
    std::u16string text;
    auto v = static_cast<uint32_t>(std::max(value, 0));
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + v % 10));
        v /= 10;
    } while (v != 0);
    return text;
}

} // namespace

std::u16string TrayGridAccess::ListName(int32_t list) const {
    if (list != 0)
        return {};
    return tray_ == SystemTray ? u"System" : u"Program";
}

BoxBounds TrayGridAccess::ListBounds(int32_t list) const {
    return list == 0 ? view_.GridArea(tray_) : BoxBounds{};
}

int32_t TrayGridAccess::CellCount(int32_t list) const {
    return list == 0 ? static_cast<int32_t>(view_.GridItems(tray_).size()) : 0;
}

AccessibleCell TrayGridAccess::Cell(int32_t list, int32_t index) const {
    AccessibleCell cell;
    const ItemList& items = view_.GridItems(tray_);
    if (list != 0 || index < 0 || index >= static_cast<int32_t>(items.size()))
        return cell;
    cell.name = items[static_cast<std::size_t>(index)].Title;
    if (index >= InsertPosition(items))
        cell.name += kNotUsed;
    cell.position = PositionInList(index, static_cast<int32_t>(items.size()));
    const CellMetrics metrics = view_.GridMetrics();
    const ScreenPoint origin = CellOrigin(index, std::max(view_.GridColumns(), 1), metrics);
    cell.bounds = {origin.x, origin.y, metrics.extent, metrics.extent};
    const auto focus = Focus();
    cell.focused = focus && focus->index == index;
    return cell;
}

std::optional<CellAddress> TrayGridAccess::Focus() const {
    const int32_t cursor = view_.GridCursor();
    if (!view_.GridShowing(tray_) || cursor < 0 || cursor >= CellCount(0))
        return std::nullopt;
    return CellAddress{0, cursor};
}

bool TrayGridAccess::SelectCell(CellAddress cell) {
    if (cell.list != 0 || cell.index < 0 || cell.index >= CellCount(0) || !view_.GridShowing(tray_))
        return false;
    return view_.SelectGridCell(tray_, cell.index);
}

BoxBounds IconStripAccess::ListBounds(int32_t list) const {
    if (list != 0)
        return {};
    const int32_t pitch = view_.StripPitch();
    return {-view_.StripOffset(), 0, view_.StripCells() * pitch, pitch};
}

int32_t IconStripAccess::CellCount(int32_t list) const {
    return list == 0 ? std::max(view_.StripCells(), 0) : 0;
}

AccessibleCell IconStripAccess::Cell(int32_t list, int32_t index) const {
    AccessibleCell cell;
    if (list != 0 || index < 0 || index >= CellCount(0))
        return cell;
    // The icons have no names of their own: a reader says which one of the file's it is.
    cell.name = u"Icon " + DecimalText(index + 1);
    cell.position = PositionInList(index, CellCount(0));
    const int32_t pitch = view_.StripPitch();
    cell.bounds = {index * pitch - view_.StripOffset(), 0, pitch, pitch};
    const auto focus = Focus();
    cell.focused = focus && focus->index == index;
    return cell;
}

std::optional<CellAddress> IconStripAccess::Focus() const {
    const int32_t index = view_.StripIndex();
    if (!view_.StripShowing() || index < 0 || index >= CellCount(0))
        return std::nullopt;
    return CellAddress{0, index};
}

bool IconStripAccess::SelectCell(CellAddress cell) {
    if (cell.list != 0 || cell.index < 0 || cell.index >= CellCount(0) || !view_.StripShowing() ||
        view_.StripIndex() < 0)
        return false;
    return view_.PickStripCell(cell.index);
}

} // namespace vantrel
