#include "config/environments.h"

#include <algorithm>

#include "services/text.h"

namespace vantrel {

std::u16string DefaultEnvironmentName(int32_t slot) {
    return u"Environment" + DecimalText(slot);
}

EnvironmentList::EnvironmentList() {
    for (int32_t n = 1; n <= kMaxEnvironments; ++n)
        Slot(n).IniName = DefaultEnvironmentName(n);
    Slot(1).IniOrder = 1;
}

void NormaliseEnvironmentList(EnvironmentList& list) {
    list.IniMax = std::clamp(list.IniMax, 1, kMaxEnvironments);
    if (list.IniNo < 1 || list.IniNo > list.IniMax)
        list.IniNo = 1;

    std::array<bool, kMaxEnvironments + 1> taken{};
    for (int32_t n = 1; n <= kMaxEnvironments; ++n) {
        auto& slot = list.Slot(n);
        if (n > list.IniMax) {
            slot.IniOrder = -1;
            continue;
        }
        if (slot.IniOrder < 1 || slot.IniOrder > kMaxEnvironments || taken[static_cast<std::size_t>(slot.IniOrder)]) {
            // A missing, out-of-range or repeated file number would make two environments share a file.
            int32_t free = 1;
            while (taken[static_cast<std::size_t>(free)])
                ++free;
            slot.IniOrder = free;
        }
        taken[static_cast<std::size_t>(slot.IniOrder)] = true;
        if (slot.IniPopup < 0 || slot.IniPopup > 2)
            slot.IniPopup = 0;
    }
}

std::u16string EnvironmentMenuCaption(const EnvironmentList& list, int32_t slot) {
    return list.Slot(slot).IniName + u"(&" + DecimalText(slot) + u")";
}

bool EnvironmentMenuVisible(const EnvironmentList& list, int32_t slot) {
    const auto& entry = list.Slot(slot);
    if (entry.IniOrder == -1)
        return false;
    return entry.IniPopup == 1 || (entry.IniPopup == 2 && entry.IniUserName.empty());
}

} // namespace vantrel
