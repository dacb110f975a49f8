#pragma once
// The environment list: up to five independent sets of settings, each in its own file.

#include <array>
#include <cstdint>
#include <string>

namespace vantrel {

constexpr int32_t kMaxEnvironments = 5;

struct EnvironmentEntry {
    std::u16string IniName;
    std::u16string IniUserName; // kept from the file, never written back
    int32_t IniPopup = 0;       // 0 not in the tray menu, 1 shown, 2 shown while IniUserName is empty
    int32_t IniOrder = -1;      // file number 1..5, -1 for an empty slot

    friend bool operator==(const EnvironmentEntry&, const EnvironmentEntry&) = default;
};

struct EnvironmentList {
    int32_t IniNo = 1;
    int32_t IniMax = 1;
    std::array<EnvironmentEntry, kMaxEnvironments> Slots; // slot n is Slots[n - 1]

    EnvironmentList();
    EnvironmentEntry& Slot(int32_t n) { return Slots[static_cast<std::size_t>(n - 1)]; }
    const EnvironmentEntry& Slot(int32_t n) const { return Slots[static_cast<std::size_t>(n - 1)]; }
    // File number of the current environment's settings file.
    int32_t CurrentFileNumber() const { return Slot(IniNo).IniOrder; }

    friend bool operator==(const EnvironmentList&, const EnvironmentList&) = default;
};

std::u16string DefaultEnvironmentName(int32_t slot);

// Makes a hand-edited list usable: IniMax and IniNo within 1..5 and IniNo within the used slots, used slots
// with distinct file numbers 1..5, unused slots empty, IniPopup 0..2.
void NormaliseEnvironmentList(EnvironmentList& list);

// Tray-menu entry of slot n: caption "name(&n)" and whether it is shown.
std::u16string EnvironmentMenuCaption(const EnvironmentList& list, int32_t slot);
bool EnvironmentMenuVisible(const EnvironmentList& list, int32_t slot);

} // namespace vantrel
