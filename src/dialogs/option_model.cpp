#include "dialogs/option_model.h"

#include <algorithm>

#include "services/excluded_programs.h"
#include "services/text.h"

namespace vantrel {

const std::array<KeyTableEntry, kKeyTableSize> KeyTable{{
    {u"A", 0x41},      {u"B", 0x42},      {u"C", 0x43},      {u"D", 0x44},      {u"E", 0x45},  {u"F", 0x46},
    {u"G", 0x47},      {u"H", 0x48},      {u"I", 0x49},      {u"J", 0x4A},      {u"K", 0x4B},  {u"L", 0x4C},
    {u"M", 0x4D},      {u"N", 0x4E},      {u"O", 0x4F},      {u"P", 0x50},      {u"Q", 0x51},  {u"R", 0x52},
    {u"S", 0x53},      {u"T", 0x54},      {u"U", 0x55},      {u"V", 0x56},      {u"W", 0x57},  {u"X", 0x58},
    {u"Y", 0x59},      {u"Z", 0x5A},      {u"F1", 0x70},     {u"F2", 0x71},     {u"F3", 0x72}, {u"F4", 0x73},
    {u"F5", 0x74},     {u"F6", 0x75},     {u"F7", 0x76},     {u"F8", 0x77},     {u"F9", 0x78}, {u"F10", 0x79},
    {u"F11", 0x7A},    {u"F12", 0x7B},    {u"1", 0x31},      {u"2", 0x32},      {u"3", 0x33},  {u"4", 0x34},
    {u"5", 0x35},      {u"6", 0x36},      {u"7", 0x37},      {u"8", 0x38},      {u"9", 0x39},  {u"0", 0x30},
    {u"\u2192", 0x27}, {u"\u2190", 0x25}, {u"\u2191", 0x26}, {u"\u2193", 0x28},
}};

namespace {

// The item index of a value, or `keep` when it names no item of a list of `count`.
int ItemIndex(int32_t value, int count, int keep) {
    return value >= 0 && value < count ? static_cast<int>(value) : keep;
}

std::u16string ModifierPrefix(bool shift, bool ctrl, bool alt) {
    std::u16string text;
    if (shift)
        text += u"Shift + ";
    if (ctrl)
        text += u"Ctrl + ";
    if (alt)
        text += u"Alt + ";
    return text;
}

} // namespace

int32_t GetVirtualKeyCode(int index) {
    if (index < 0 || index >= kKeyTableSize)
        return 0;
    return KeyTable[static_cast<std::size_t>(index)].code;
}

int VirtualKeyCodeToIndex(int32_t code) {
    const auto it =
        std::find_if(KeyTable.begin(), KeyTable.end(), [&](const KeyTableEntry& e) { return e.code == code; });
    return it == KeyTable.end() ? 0 : static_cast<int>(it - KeyTable.begin());
}

OptionControls FillOptionControls(const TOption& option, const OptionControls& previous, bool ntPlatform,
                                  bool autoRun) {
    OptionControls c = previous;
    c.ControlCheck = (option.VkMod & kModControl) != 0;
    c.AltCheck = (option.VkMod & kModAlt) != 0;
    c.ShiftCheck = (option.VkMod & kModShift) != 0;
    // The DOS-window setting only ever meant something on Windows 9x; on NT it is shown as on and fixed.
    c.DosCheck = ntPlatform || (option.DosFlag & 1) != 0;
    c.DosEnabled = !ntPlatform;
    c.KeyListIndex = VirtualKeyCodeToIndex(option.VkKey);
    c.KeyPositionCheck = option.KeyPositionFlag;
    c.KeyOnlyCheck = option.KeyOnlyFlag;
    c.KeyNumberCheck = option.KeyNumberFlag;
    c.MoveCursorCheck = option.MoveCursorFlag;
    c.DirectMoveOnlyCheck = option.DirectMoveOnlyFlag;
    c.HookCheck = option.MouseHookFlag;
    c.AltRunasDisableCheck = option.AltDisableFlag;
    c.KCursorRadio = ItemIndex(option.KeyCursorFlag, 3, 0);
    c.RightClickRadio = ItemIndex(option.RightClickFlag, 2, 0);
    c.FrameRadio = ItemIndex(option.FrameType, 2, 1);
    c.ComboWait = ItemIndex(option.WaitDesktop, 7, 3);
    c.KickMouseCheck = option.MouseFlag != 0;
    c.MouseRadio = ItemIndex(option.MouseFlag - 1, 3, previous.MouseRadio);
    c.MousePositionCheck = option.MousePositionFlag != -1;
    c.MCursorRadio = ItemIndex(option.MousePositionFlag, 4, previous.MCursorRadio);
    c.AutoRunCheck = autoRun;
    c.ColorSchemeRadio = ItemIndex(option.ColorScheme, 3, 0);
    c.LabelBackColor = option.BackColor;
    c.LabelTextColor = option.TextColor;
    c.FullScreenKeyOffCheck = option.FullScreenKeyOffFlag;
    c.ExcludeList = option.ExcludeList;
    return c;
}

TOption ReadOptionControls(const OptionControls& c, const TOption& nowOption) {
    TOption o = nowOption;
    o.VkMod = (c.ControlCheck ? kModControl : 0) + (c.AltCheck ? kModAlt : 0) + (c.ShiftCheck ? kModShift : 0);
    o.VkKey = GetVirtualKeyCode(c.KeyListIndex);
    o.DosFlag = c.DosCheck ? 1 : 0;
    o.KeyPositionFlag = c.KeyPositionCheck;
    o.KeyOnlyFlag = c.KeyOnlyCheck;
    o.KeyNumberFlag = c.KeyNumberCheck;
    o.MoveCursorFlag = c.MoveCursorCheck;
    o.DirectMoveOnlyFlag = c.DirectMoveOnlyCheck;
    o.MouseHookFlag = c.HookCheck;
    o.AltDisableFlag = c.AltRunasDisableCheck;
    o.MousePositionFlag = c.MousePositionCheck ? c.MCursorRadio : -1;
    o.KeyCursorFlag = c.KCursorRadio;
    o.RightClickFlag = c.RightClickRadio;
    o.FrameType = c.FrameRadio;
    o.WaitDesktop = c.ComboWait;
    o.MouseFlag = c.KickMouseCheck ? c.MouseRadio + 1 : 0;
    o.BackColor = c.LabelBackColor;
    o.TextColor = c.LabelTextColor;
    o.FullScreenKeyOffFlag = c.FullScreenKeyOffCheck;
    o.ExcludeList = c.ExcludeList;
    o.ColorScheme = c.ColorSchemeRadio;
    return o;
}

bool AddExcludedProgram(OptionControls& c, std::u16string_view typed) {
    const ExclusionCandidate candidate = CheckExclusion(c.ExcludeList, typed);
    if (candidate.check != ExclusionCheck::Addable)
        return false;
    c.ExcludeList.push_back(candidate.name);
    return true;
}

bool RemoveExcludedProgram(OptionControls& c, int line, int* nextSelection) {
    const auto count = static_cast<int>(c.ExcludeList.size());
    if (line < 0 || line >= count)
        return false;
    c.ExcludeList.erase(c.ExcludeList.begin() + line);
    if (nextSelection)
        *nextSelection = count == 1 ? -1 : std::min(line, count - 2);
    return true;
}

std::u16string ExcludeListCaption(const OptionControls& c) {
    return u"&Programs vantrel leaves alone (" + DecimalText(static_cast<int64_t>(c.ExcludeList.size())) + u" of " +
           DecimalText(static_cast<int64_t>(kMaxExcludedPrograms)) + u"):";
}

OptionEnabling EnablingRule(const OptionControls& c) {
    return {c.KickMouseCheck, c.KickMouseCheck, c.KickMouseCheck && c.MousePositionCheck,
            c.KickMouseCheck && c.MousePositionCheck};
}

std::u16string DispKeyName(const OptionControls& c) {
    std::u16string text = ModifierPrefix(c.ShiftCheck, c.ControlCheck, c.AltCheck);
    if (c.KeyListIndex >= 0 && c.KeyListIndex < kKeyTableSize)
        text += KeyTable[static_cast<std::size_t>(c.KeyListIndex)].name;
    return text;
}

std::u16string HotKeyText(int32_t vkMod, int32_t vkKey) {
    std::u16string text = (vkMod & kModWin) ? u"Win + " : u"";
    text += ModifierPrefix((vkMod & kModShift) != 0, (vkMod & kModControl) != 0, (vkMod & kModAlt) != 0);
    const auto it =
        std::find_if(KeyTable.begin(), KeyTable.end(), [&](const KeyTableEntry& e) { return e.code == vkKey; });
    text += it != KeyTable.end() ? std::u16string(it->name) : u"key " + DecimalText(vkKey);
    return text;
}

} // namespace vantrel
