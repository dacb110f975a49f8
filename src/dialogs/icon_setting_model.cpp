#include "dialogs/icon_setting_model.h"

#include <algorithm>

#include "services/grid.h"
#include "services/os_text.h"
#include "services/text.h"

namespace vantrel {

namespace {

constexpr char16_t kEnter = u'\r';
constexpr int32_t kVkF1 = 112;
constexpr int32_t kLargestCode = 0xFF;

char16_t AsciiUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

char16_t AsciiLowerChar(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

std::u16string AsciiUpperText(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out)
        c = AsciiUpper(c);
    return out;
}

// A single character a key gives: a letter, a digit, or the character Shift makes of a digit.
bool IsKeyCharacter(char16_t c, bool usKeyboard) {
    return IsAsciiLetter(c) || IsDigitChar(c) || DigitOfShiftedChar(c, usKeyboard) != 0;
}

// "F1".."F12" or "f1".."f12": the number, else 0.
int32_t FunctionKeyNumber(std::u16string_view text) {
    if (text.size() < 2 || text.size() > 3 || (text[0] != u'F' && text[0] != u'f'))
        return 0;
    int32_t number = 0;
    for (char16_t c : text.substr(1)) {
        if (!IsDigitChar(c))
            return 0;
        number = number * 10 + (c - u'0');
    }
    // "F01" is no key name.
    if (text[1] == u'0')
        return 0;
    return number >= 1 && number <= kFunctionKeys ? number : 0;
}

} // namespace

DirectKeyShown ShowDirectKey(int32_t code, bool usKeyboard) {
    code &= 0xFF;
    if (code > kFunctionKeyCodeBase && code <= kFunctionKeyCodeBase + kFunctionKeys)
        return {u"F" + DecimalText(code - kFunctionKeyCodeBase), false};
    if (code > kShiftFunctionKeyCodeBase && code <= kShiftFunctionKeyCodeBase + kFunctionKeys)
        return {u"f" + DecimalText(code - kShiftFunctionKeyCodeBase), true};
    const auto c = static_cast<char16_t>(code);
    if (code == 0 || !IsKeyCharacter(c, usKeyboard))
        return {};
    const bool shifted = (c >= u'a' && c <= u'z') || DigitOfShiftedChar(c, usKeyboard) != 0;
    return {std::u16string(1, c), shifted};
}

std::optional<int32_t> DirectKeyCode(std::u16string_view text, bool usKeyboard) {
    if (text.empty())
        return 0;
    if (text.size() == 1) {
        const char16_t c = text[0];
        if (c > kLargestCode || !IsKeyCharacter(c, usKeyboard))
            return std::nullopt;
        return static_cast<int32_t>(c);
    }
    const int32_t number = FunctionKeyNumber(text);
    if (number == 0)
        return std::nullopt;
    return (text[0] == u'f' ? kShiftFunctionKeyCodeBase : kFunctionKeyCodeBase) + number;
}

DirectKeyTyped DirectEditKeyPress(char16_t typed, bool shiftChecked, bool keyNumberFlag, bool usKeyboard) {
    if (typed == kEnter)
        return {u"", true, false, false};
    DirectKeyTyped result;
    char16_t c = typed;
    if (!IsAsciiLetter(c) && !(IsDigitChar(c) && keyNumberFlag))
        return result;
    if (shiftChecked)
        c = IsAsciiLetter(c) ? AsciiLowerChar(c) : ShiftedDigitChar(c, usKeyboard);
    else
        c = AsciiUpper(c);
    if (c == 0)
        return result;
    if (c > kLargestCode) {
        result.refused = true;
        return result;
    }
    result.text = std::u16string(1, c);
    result.focusOk = true;
    return result;
}

std::optional<std::u16string> DirectEditFunctionKey(int32_t virtualKey, bool shiftChecked) {
    if (virtualKey < kVkF1 || virtualKey >= kVkF1 + kFunctionKeys)
        return std::nullopt;
    return (shiftChecked ? u"f" : u"F") + DecimalText(virtualKey - kVkF1 + 1);
}

std::optional<std::u16string> ShiftToggled(std::u16string_view text, bool checked, bool usKeyboard) {
    if (text.empty())
        return std::u16string();
    std::u16string out(text);
    if (checked) {
        if (IsDigitChar(out[0])) {
            const char16_t shifted = ShiftedDigitChar(out[0], usKeyboard);
            if (shifted == 0 || shifted > kLargestCode)
                return std::nullopt;
            out[0] = shifted;
            return out;
        }
        return AsciiLower(out);
    }
    if (const char16_t digit = DigitOfShiftedChar(out[0], usKeyboard); digit != 0) {
        out[0] = digit;
        return out;
    }
    return AsciiUpperText(out);
}

void LoadIconList(IconStripIcons& strip, const std::u16string& path, int32_t status, int32_t index, IconSource& icons) {
    if (!strip.substitute && !strip.icons.empty() && strip.path == path &&
        icons.IconCount(path, kIconStripMostIcons) == strip.icons.size())
        return;
    strip.icons.clear();
    strip.path = path;
    strip.substitute = false;
    strip.icons.resize(icons.IconCount(path, kIconStripMostIcons));
    if (strip.icons.empty()) {
        strip.substitute = true;
        if (IconRef own = ResolveItemIcon(status, path, index, icons))
            strip.icons.push_back(std::move(own));
    }
}

void KeepIconsInView(IconStripIcons& strip, int32_t first) {
    if (strip.substitute) {
        strip.icons.clear();
        return;
    }
    for (std::size_t cell = 0; cell < strip.icons.size(); ++cell)
        if (cell < static_cast<std::size_t>(std::max(first, 0)) ||
            cell >= static_cast<std::size_t>(std::max(first, 0)) + kIconStripBatch)
            strip.icons[cell] = IconRef();
}

IconHandle StripIcon(IconStripIcons& strip, int32_t cell, IconSource& icons) {
    if (cell < 0 || static_cast<std::size_t>(cell) >= strip.icons.size())
        return 0;
    IconRef& icon = strip.icons[static_cast<std::size_t>(cell)];
    if (!icon && !strip.substitute) {
        // The cells that come into view with it, from one reading of the file.
        const auto count = static_cast<int32_t>(
            std::min<std::size_t>(kIconStripBatch, strip.icons.size() - static_cast<std::size_t>(cell)));
        const std::vector<IconHandle> extracted = icons.ExtractIcons(strip.path, cell, count);
        for (std::size_t i = 0; i < extracted.size(); ++i) {
            IconRef& slot = strip.icons[static_cast<std::size_t>(cell) + i];
            if (!extracted[i])
                continue;
            if (slot)
                icons.DestroyIcon(extracted[i]);
            else
                slot = icons.Own(extracted[i]);
        }
    }
    return icon.Get();
}

void IconStrip::Scale(DpiScale scale, int32_t innerWidth, int32_t scrollBar) {
    metrics = CellMetricsFor(scale);
    visibleWidth = std::max(innerWidth, 0);
    scrollBarHeight = std::max(scrollBar, 0);
}

bool IconStrip::PickAt(int32_t x) {
    if (Index < 0 || x < 0)
        return false;
    const int32_t cell = x / std::max(metrics.pitch, 1);
    if (cell >= cells)
        return false;
    Index = cell;
    return true;
}

namespace {

bool Blank(std::u16string_view text) {
    for (char16_t c : text)
        if (c != u' ' && c != u'\t')
            return false;
    return true;
}

std::optional<int32_t> DirectKeyOf(const IconSettingValues& values, const IconSettingOrigin& origin, bool usKeyboard) {
    if (!values.directEdited)
        return origin.directKey & 0xFF;
    return DirectKeyCode(values.direct, usKeyboard);
}

} // namespace

IconSettingRefusal CheckIconSetting(const IconSettingValues& values, const IconSettingOrigin& origin, bool usKeyboard) {
    if (Blank(values.title))
        return IconSettingRefusal::BlankTitle;
    if (!DirectKeyOf(values, origin, usKeyboard))
        return IconSettingRefusal::DirectKey;
    return IconSettingRefusal::None;
}

void ApplyIconSetting(RData& item, const IconSettingValues& values, const IconSettingOrigin& origin, bool usKeyboard,
                      IconSource& icons) {
    if (!(item.Status & StatusSystem))
        item.ExeFileName = values.exeFile;
    item.Title = values.title;
    const int32_t key = DirectKeyOf(values, origin, usKeyboard).value_or(0);
    item.Status = (item.Status & 0xFF) | (key << 8);
    if (values.index != item.IconIndex || values.iconFile != item.IconFileName) {
        item.IconIndex = values.index;
        item.IconFileName = values.iconFile;
        // The old icon goes with the last copy that shows it (a list kept for Cancel may still).
        item.Icon = ResolveItemIcon(item.Status, item.IconFileName, item.IconIndex, icons);
    }
    item.DirectoryName = values.directory;
    item.ArgumentName = values.arguments;
    item.RunasFlag = values.runas;
}

ItemTarget TargetOf(const std::array<TrayEntry, 3>& trays, int32_t tray, int32_t index) {
    ItemTarget target{tray, index, false, {}};
    if (IsValidCell(trays, tray, index)) {
        target.exists = true;
        target.item = trays[static_cast<std::size_t>(tray)].Items[static_cast<std::size_t>(index)];
    }
    return target;
}

std::optional<int32_t> LocateItem(const ItemList& list, const ItemTarget& target) {
    if (!target.exists)
        return std::nullopt;
    const auto count = static_cast<int32_t>(list.size());
    if (target.index >= 0 && target.index < count && list[static_cast<std::size_t>(target.index)] == target.item)
        return target.index;
    std::optional<int32_t> found;
    for (int32_t i = 0; i < count; ++i) {
        if (!(list[static_cast<std::size_t>(i)] == target.item))
            continue;
        if (found)
            return std::nullopt; // two identical items: which one was meant cannot be told
        found = i;
    }
    return found;
}

} // namespace vantrel
