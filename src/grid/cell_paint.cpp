#include "grid/cell_paint.h"

#include <algorithm>

#include "config/item_lists.h"
#include "services/grid.h"
#include "services/os_text.h"
#include "services/text.h"

namespace vantrel {

CellBackground CellBackgroundFor(int32_t frameType, int32_t state) {
    if (state == kCellNormal)
        return CellBackground::Erase;
    if (frameType == 0)
        return state == kCellCursorBlack ? CellBackground::BoxFrameBlackFill : CellBackground::BoxFrame;
    return frameType == 1 ? CellBackground::RaisedButton : CellBackground::Nothing;
}

namespace {

constexpr int32_t kFirstFunctionKey = 0xC0;      // F1 + 0x50
constexpr int32_t kFirstShiftFunctionKey = 0xE0; // Shift adds 0x20

} // namespace

std::u16string DirectKeyText(int32_t key) {
    key &= 0xFF;
    if (key < kFirstFunctionKey)
        return std::u16string(1, static_cast<char16_t>(key));
    // The whole 0xC0..0xDF half is read as unshifted function keys, so that a code no dialog writes (only a
    // hand-edited file has them) still gets a positive number instead of "f-18".
    if (key < kFirstShiftFunctionKey)
        return u"F" + DecimalText(key - kFirstFunctionKey + 1);
    return u"f" + DecimalText(key - kFirstShiftFunctionKey + 1);
}

std::optional<CellBadge> BadgeFor(int32_t tray, int32_t index, const RData& item, const TOption& option,
                                  bool usKeyboard) {
    const int32_t key = (item.Status >> 8) & 0xFF;
    std::u16string text;
    if (tray != TaskTray && key != 0) {
        const auto c = static_cast<char16_t>(key);
        const bool digitKey = IsDigitChar(c) || DigitOfShiftedChar(c, usKeyboard) != 0;
        if (option.KeyNumberFlag || !digitKey)
            text = DirectKeyText(key);
    } else if (tray == TaskTray && index >= 0 && index < 10 && !option.KeyNumberFlag) {
        text = std::u16string(1, static_cast<char16_t>(u'0' + (index + 1) % 10));
    }
    if (text.empty())
        return std::nullopt;
    return CellBadge{text, option.TextColor, option.BackColor};
}

CdOverlay CdOverlayFor(const RData& item, bool cdPlayerFlag, int32_t cdMode) {
    if (!cdPlayerFlag || !(item.Status & StatusSpecial) || !EqualsNoCase(item.ExeFileName, u"CD Player"))
        return CdOverlay::None;
    return cdMode == kCdModePlaying ? CdOverlay::Playing : CdOverlay::Stopped;
}

TrayPictureKey PictureKeyFor(int32_t tray, const TrayEntry& entry, const TOption& option, int32_t columns,
                             bool usKeyboard, bool cdPlayerFlag, int32_t cdMode, const GridColours& colours,
                             const CellMetrics& metrics, bool withNotUsed) {
    TrayPictureKey key;
    key.tray = tray;
    key.columns = columns;
    key.keyNumberFlag = option.KeyNumberFlag;
    key.textColor = option.TextColor;
    key.backColor = option.BackColor;
    key.usKeyboard = usKeyboard;
    key.cdPlayerFlag = cdPlayerFlag;
    key.cdMode = cdMode;
    key.colours = colours;
    key.metrics = metrics;
    const int shown = withNotUsed ? static_cast<int>(entry.Items.size()) : InsertPosition(entry.Items);
    key.cells.reserve(static_cast<std::size_t>(shown));
    for (int i = 0; i < shown; ++i) {
        const RData& item = entry.Items[static_cast<std::size_t>(i)];
        key.cells.push_back(
            {item.Icon.Get(), item.WinHandle, item.Status, item.ExeFileName, item.IconFileName, item.IconIndex});
    }
    return key;
}

std::vector<int32_t> ChangedCells(const TrayPictureKey& before, const TrayPictureKey& after) {
    TrayPictureKey a = before;
    TrayPictureKey b = after;
    a.cells.clear();
    b.cells.clear();
    const std::size_t most = std::max(before.cells.size(), after.cells.size());
    std::vector<int32_t> changed;
    for (std::size_t i = 0; i < most; ++i)
        if (!(a == b) || i >= before.cells.size() || i >= after.cells.size() || !(before.cells[i] == after.cells[i]))
            changed.push_back(static_cast<int32_t>(i));
    return changed;
}

} // namespace vantrel
