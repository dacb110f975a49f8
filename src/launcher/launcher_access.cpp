#include "launcher/launcher_access.h"

#include <algorithm>

#include "grid/cell_paint.h"
#include "grid/cells.h"
#include "services/grid.h"
#include "services/os_text.h"

namespace vantrel {

namespace {

constexpr std::array<const char16_t*, 3> kListNames = {u"Program", u"Task", u"System"};
constexpr int32_t kFirstFunctionKey = 0xC0;      // F1 + 0x50
constexpr int32_t kFirstShiftFunctionKey = 0xE0; // Shift adds 0x20
constexpr int32_t kFunctionKeys = 12;
// The square a cell's cursor frame covers.
constexpr int32_t kCellExtent = kCellPitch - 1;

std::u16string FunctionKey(int32_t number) {
    return number < 10 ? u"F" + std::u16string(1, static_cast<char16_t>(u'0' + number))
                       : u"F1" + std::u16string(1, static_cast<char16_t>(u'0' + number - 10));
}

bool ValidTray(int32_t tray) {
    return tray >= 0 && tray <= 2;
}

} // namespace

std::u16string DirectKeyShortcut(int32_t key, bool keyNumberFlag, bool usKeyboard) {
    key &= 0xFF;
    const auto c = static_cast<char16_t>(key);
    if (c >= u'A' && c <= u'Z')
        return std::u16string(1, c);
    if (c >= u'a' && c <= u'z')
        return u"Shift+" + std::u16string(1, static_cast<char16_t>(c - 0x20));
    if (IsDigitChar(c))
        return keyNumberFlag ? std::u16string(1, c) : std::u16string();
    if (const char16_t digit = DigitOfShiftedChar(c, usKeyboard); digit != 0)
        return keyNumberFlag ? u"Shift+" + std::u16string(1, digit) : std::u16string();
    if (key >= kFirstFunctionKey && key < kFirstFunctionKey + kFunctionKeys)
        return FunctionKey(key - kFirstFunctionKey + 1);
    if (key >= kFirstShiftFunctionKey && key < kFirstShiftFunctionKey + kFunctionKeys)
        return u"Shift+" + FunctionKey(key - kFirstShiftFunctionKey + 1);
    return {};
}

std::u16string TaskShortcut(int32_t index, bool keyNumberFlag) {
    if (keyNumberFlag || index < 0 || index >= 10)
        return {};
    return std::u16string(1, static_cast<char16_t>(u'0' + (index + 1) % 10));
}

std::u16string LauncherAccess::ListName(int32_t list) const {
    return ValidTray(list) ? kListNames[static_cast<std::size_t>(list)] : std::u16string();
}

BoxBounds LauncherAccess::ListBounds(int32_t list) const {
    return ValidTray(list) ? form_.Layout.trayBox[static_cast<std::size_t>(list)] : BoxBounds{};
}

int32_t LauncherAccess::CellCount(int32_t list) const {
    return ValidTray(list) ? ShownCount(host_.Trays()[static_cast<std::size_t>(list)]) : 0;
}

AccessibleCell LauncherAccess::Cell(int32_t list, int32_t index) const {
    AccessibleCell cell;
    if (!IsShownCell(host_.Trays(), list, index))
        return cell;
    const RData& item = host_.Trays()[static_cast<std::size_t>(list)].Items[static_cast<std::size_t>(index)];
    const TOption& option = host_.Option();
    cell.name = item.Title;
    cell.position = PositionInList(index, CellCount(list));
    cell.shortcut = list == TaskTray
                        ? TaskShortcut(index, option.KeyNumberFlag)
                        : DirectKeyShortcut(item.Status >> 8, option.KeyNumberFlag, host_.Flags().UsKeyboardFlag);
    cell.defaultAction = list == TaskTray ? u"Switch to" : u"Run";
    const BoxBounds& box = form_.Layout.trayBox[static_cast<std::size_t>(list)];
    const ScreenPoint origin = CellOrigin(index, form_.Layout.columns);
    cell.bounds = {box.left + origin.x, box.top + origin.y, kCellExtent, kCellExtent};
    const auto focus = Focus();
    cell.focused = focus && *focus == CellAddress{list, index};
    return cell;
}

std::optional<CellAddress> LauncherAccess::Focus() const {
    if (!window_.Showing() || !ValidTray(form_.NowMode))
        return std::nullopt;
    const int32_t index = host_.Trays()[static_cast<std::size_t>(form_.NowMode)].NowIndex;
    if (!IsShownCell(host_.Trays(), form_.NowMode, index))
        return std::nullopt;
    return CellAddress{form_.NowMode, index};
}

bool LauncherAccess::SelectCell(CellAddress cell) {
    return window_.Showing() && IsShownCell(host_.Trays(), cell.list, cell.index) &&
           window_.SelectForAccess(cell.list, cell.index);
}

bool LauncherAccess::RunCell(CellAddress cell) {
    return window_.Showing() && IsShownCell(host_.Trays(), cell.list, cell.index) &&
           window_.RunForAccess(cell.list, cell.index);
}

NavResult AccessSelect(Navigation& n, int32_t tray, int32_t index) {
    NavResult result;
    if (!IsShownCell(n.trays, tray, index))
        return result;
    const int32_t mode = std::clamp(n.window.NowMode, 0, 2);
    const int32_t from = n.trays[static_cast<std::size_t>(mode)].NowIndex;
    if ((mode != tray || from != index) && IsShownCell(n.trays, mode, from))
        result.draws.push_back({mode, from, kCellNormal});
    result.draws.push_back({tray, index, kCellCursor});
    n.window.NowMode = tray;
    TrayEntry& entry = n.trays[static_cast<std::size_t>(tray)];
    entry.NowIndex = index;
    entry.LastIndex = index;
    n.window.NowColum = RemainderOf(index, std::max(n.window.Layout.columns, 1));
    result.name = entry.Items[static_cast<std::size_t>(index)].Title;
    return result;
}

NavResult AccessRun(Navigation& n, int32_t tray, int32_t index) {
    NavResult result = AccessSelect(n, tray, index);
    if (result.draws.empty())
        return result;
    result.action.kind = NavActionKind::RunItem;
    result.action.tray = tray;
    result.action.index = index;
    return result;
}

} // namespace vantrel
