#include "app/show_state.h"

namespace vantrel {

namespace {

std::size_t Index(DialogKind kind) {
    return static_cast<std::size_t>(kind);
}

constexpr DialogKind kHiddenKinds[] = {DialogKind::Registration, DialogKind::Option,      DialogKind::About,
                                       DialogKind::Selection,    DialogKind::IconSetting, DialogKind::DeleteConfirm};

} // namespace

void ShowState::BeginMessage() {
    ++messageDepth_;
    MessageFlag = true;
}

void ShowState::EndMessage() {
    if (messageDepth_ > 0)
        --messageDepth_;
    MessageFlag = messageDepth_ > 0;
}

void ShowState::DialogCreated(DialogKind kind, std::intptr_t window) {
    if (Index(kind) < kKinds)
        current_[Index(kind)] = window;
}

void ShowState::DialogDestroyed(std::intptr_t window) {
    for (auto& current : current_)
        if (current == window)
            current = 0;
}

std::intptr_t ShowState::Current(DialogKind kind) const {
    return Index(kind) < kKinds ? current_[Index(kind)] : 0;
}

ShowState::HidePlan ShowState::HideDialogs(int32_t kind) {
    HidePlan plan;
    plan.hideLauncher = ShowStatus != 0;
    ShowStatus = 0;
    for (DialogKind hidden : kHiddenKinds) {
        const std::intptr_t window = Current(hidden);
        const bool spared = kind >= 1 && kind <= 4 && static_cast<int32_t>(hidden) == kind;
        if (window != 0 && !spared)
            plan.windows.push_back(window);
    }
    return plan;
}

} // namespace vantrel
