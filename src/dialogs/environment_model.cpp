#include "dialogs/environment_model.h"

#include <algorithm>

namespace vantrel {

namespace {

bool UsesFile(const EnvironmentList& list, int32_t count, int32_t file) {
    for (int32_t n = 1; n <= count; ++n)
        if (list.Slot(n).IniOrder == file)
            return true;
    return false;
}

} // namespace

EnvironmentWork::EnvironmentWork(const EnvironmentList& live) : slots_(live) {
    workMax_ = std::clamp(live.IniMax, 1, kMaxEnvironments);
    workSel_ = std::clamp(live.IniNo, 1, workMax_);
    for (int32_t n = workMax_ + 1; n <= kMaxEnvironments; ++n)
        slots_.Slot(n).IniOrder = -1;
    selected_ = workSel_ - 1;
}

std::vector<std::u16string> EnvironmentWork::Lines() const {
    std::vector<std::u16string> lines;
    for (int32_t n = 1; n <= workMax_; ++n)
        lines.push_back(slots_.Slot(n).IniName);
    return lines;
}

void EnvironmentWork::Select(int line) {
    selected_ = line >= 0 && line < workMax_ ? line : -1;
}

int32_t EnvironmentWork::LowestFreeFileNumber() const {
    for (int32_t file = 1; file <= kMaxEnvironments; ++file)
        if (!UsesFile(slots_, workMax_, file))
            return file;
    return -1;
}

bool EnvironmentWork::BeginAdd() {
    if (!CanAdd())
        return false;
    workSel_ = workMax_ + 1;
    auto& slot = slots_.Slot(workSel_);
    slot.IniName = DefaultEnvironmentName(LowestFreeFileNumber());
    slot.IniUserName.clear();
    slot.IniPopup = 1;
    slot.IniOrder = -1;
    adding_ = true;
    return true;
}

bool EnvironmentWork::BeginChange() {
    if (selected_ < 0)
        return false;
    workSel_ = selected_ + 1;
    adding_ = false;
    return true;
}

void EnvironmentWork::ChangeOrAdd(const std::u16string& name, bool showInMenu) {
    auto& slot = slots_.Slot(workSel_);
    slot.IniName = name;
    slot.IniPopup = showInMenu ? 1 : 0;
    if (adding_) {
        // The file number is taken before the slot counts, so the new slot's own -1 does not hide a number.
        slot.IniOrder = LowestFreeFileNumber();
        if (slot.IniOrder >= 1)
            added_[static_cast<std::size_t>(slot.IniOrder)] = true;
        ++workMax_;
        adding_ = false;
    }
    selected_ = workSel_ - 1;
}

bool EnvironmentWork::Delete() {
    if (!CanDelete())
        return false;
    for (int32_t n = selected_ + 1; n < kMaxEnvironments; ++n)
        slots_.Slot(n) = slots_.Slot(n + 1);
    auto& last = slots_.Slot(kMaxEnvironments);
    last = EnvironmentEntry{};
    last.IniName = DefaultEnvironmentName(kMaxEnvironments);
    --workMax_;
    if (selected_ >= workMax_)
        selected_ = workMax_ - 1;
    adding_ = false;
    return true;
}

EnvironmentPlan EnvironmentWork::Plan(const EnvironmentList& live) const {
    EnvironmentPlan plan;
    const int32_t liveMax = std::clamp(live.IniMax, 1, kMaxEnvironments);
    for (int32_t n = 1; n <= liveMax; ++n) {
        const int32_t file = live.Slot(n).IniOrder;
        if (file >= 1 && !UsesFile(slots_, workMax_, file))
            plan.filesToDelete.push_back(file);
    }
    for (int32_t n = 1; n <= workMax_; ++n) {
        const int32_t file = slots_.Slot(n).IniOrder;
        if (file >= 1 && (added_[static_cast<std::size_t>(file)] || !UsesFile(live, liveMax, file)))
            plan.filesToCreate.push_back(file);
    }
    plan.list = slots_;
    // Unused slots keep what the file had for them (a cancelled "Add" leaves no trace); only their file goes.
    for (int32_t n = workMax_ + 1; n <= kMaxEnvironments; ++n) {
        plan.list.Slot(n) = live.Slot(n);
        plan.list.Slot(n).IniOrder = -1;
    }
    plan.list.IniMax = workMax_;
    plan.list.IniNo = live.IniNo;
    plan.switchTo = selected_ >= 0 ? selected_ + 1 : std::clamp(live.IniNo, 1, workMax_);
    return plan;
}

} // namespace vantrel
