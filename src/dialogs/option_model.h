#pragma once
// The option dialog's decisions, apart from its controls: the key table and the key-combination label, how a
// TOption fills the controls and how they are read back, and which controls are enabled. The dialog's window
// only moves these values in and out of its controls.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/records.h"

namespace vantrel {

struct KeyTableEntry {
    std::u16string_view name;
    int32_t code; // the virtual-key code VkKey stores
};

// The keys the hot key can use, in the order the key list shows them: A-Z, F1-F12, 1-9, 0 and the arrows.
constexpr int kKeyTableSize = 52;
extern const std::array<KeyTableEntry, kKeyTableSize> KeyTable;

// The code of a key-list index; 0 for no selection or an index past the table.
int32_t GetVirtualKeyCode(int index);
// The first index of a code; 0 (the entry "A") for a code the table does not hold.
int VirtualKeyCodeToIndex(int32_t code);

// Hot-key modifier bits as VkMod holds them (those RegisterHotKey takes).
constexpr int32_t kModAlt = 1;
constexpr int32_t kModControl = 2;
constexpr int32_t kModShift = 4;
constexpr int32_t kModWin = 8;

// The state of every control of the dialog that carries a value. Radio groups and the wait list hold item
// indexes, -1 for none.
struct OptionControls {
    // Key page
    bool ShiftCheck = false;
    bool AltCheck = true;
    bool ControlCheck = true;
    int KeyListIndex = 9; // "J"
    int KCursorRadio = 0;
    bool DosCheck = true;
    bool DosEnabled = true;
    bool KeyPositionCheck = false;
    bool KeyOnlyCheck = false;
    bool DirectMoveOnlyCheck = false;
    bool KeyNumberCheck = false;
    bool AltRunasDisableCheck = false;
    // Mouse page
    bool KickMouseCheck = true;
    int MouseRadio = 0;
    bool MousePositionCheck = true;
    int MCursorRadio = 0;
    bool MoveCursorCheck = true;
    bool HookCheck = false; // never shown; carries MouseHookFlag through
    int ComboWait = 3;
    // Other page
    int RightClickRadio = 0;
    int FrameRadio = 1;
    int32_t LabelTextColor = 0xFFFFFF; // the colour label's font colour
    int32_t LabelBackColor = 0x800000; // and its background
    bool AutoRunCheck = false;
    // Quiet triggers: the Other page's box and the Exclusions page's list
    bool FullScreenKeyOffCheck = false;
    std::vector<std::u16string> ExcludeList;
    int ColorSchemeRadio = 0; // "Colours:" follow Windows, light, dark

    friend bool operator==(const OptionControls&, const OptionControls&) = default;
};

// Fills the controls from an option record. A radio group whose option says "none" (MousePositionFlag -1,
// MouseFlag 0) keeps its previous selection, so that checking the box again offers what was chosen before.
OptionControls FillOptionControls(const TOption& option, const OptionControls& previous, bool ntPlatform, bool autoRun);

// Reads the controls into a copy of nowOption; fields the dialog does not show (ColMax, RowMax) pass through.
// The automatic start is not an option: the caller applies AutoRunCheck itself.
TOption ReadOptionControls(const OptionControls& controls, const TOption& nowOption);

// The enabling rule of the Mouse page.
struct OptionEnabling {
    bool MouseRadio = true;
    bool MousePositionCheck = true;
    bool MCursorRadio = true;
    bool MoveCursorCheck = true;
    friend bool operator==(const OptionEnabling&, const OptionEnabling&) = default;
};
OptionEnabling EnablingRule(const OptionControls& controls);

// The Exclusions page: a typed or picked name is added at the end of the list when it can be (a name already
// listed is not added twice; the list holds at most 32); a removal takes out one line, and the line after it (or
// the new last one) is selected next, -1 when the list is empty. Both answer whether the list changed.
bool AddExcludedProgram(OptionControls& controls, std::u16string_view typed);
bool RemoveExcludedProgram(OptionControls& controls, int line, int* nextSelection);
// The caption above the list, with how full it is: "&Programs vantrel leaves alone (3 of 32):".
std::u16string ExcludeListCaption(const OptionControls& controls);

// The key-combination label: "Shift + ", "Ctrl + ", "Alt + " (in this order) for the checked boxes, then the
// selected key's name (nothing when none is selected).
std::u16string DispKeyName(const OptionControls& controls);

// A stored hot key in the label's words, for messages: "Ctrl + Alt + J". A code the table does not hold is
// named by its number; a Windows-key modifier written by hand is named too.
std::u16string HotKeyText(int32_t vkMod, int32_t vkKey);

} // namespace vantrel
