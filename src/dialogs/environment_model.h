#pragma once
// The environment selection dialog's working copy of the environment list: add, delete and change
// environments, which line is selected and which buttons are enabled, and what OK has to do with the files.
// Nothing touches a file or the live list before OK.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config/environments.h"

namespace vantrel {

// What confirming the selection dialog asks of the program, in this order: delete the files of the removed
// environments, create the files of the new ones from scratch (also the file of a deleted one that an added one
// was given), take over the list, make slot `switchTo` current (re-reading its file even when it keeps its slot
// number but the slots were renumbered), and write the list to the first file.
struct EnvironmentPlan {
    std::vector<int32_t> filesToDelete;
    std::vector<int32_t> filesToCreate;
    EnvironmentList list;
    int32_t switchTo = 1;

    friend bool operator==(const EnvironmentPlan&, const EnvironmentPlan&) = default;
};

class EnvironmentWork {
public:
    // The working copy of a live list as the dialog shows it: one line per used slot, the current one selected.
    explicit EnvironmentWork(const EnvironmentList& live);

    int32_t WorkMax() const { return workMax_; }
    // The slot the settings dialog edits (1..5).
    int32_t WorkSel() const { return workSel_; }
    const EnvironmentEntry& Slot(int32_t n) const { return slots_.Slot(n); }

    std::vector<std::u16string> Lines() const;
    int Selected() const { return selected_; } // line index, -1 for none
    void Select(int line);

    bool CanAdd() const { return workMax_ < kMaxEnvironments; }
    // The first environment (line 0) can never be deleted.
    bool CanDelete() const { return selected_ > 0 && selected_ < workMax_; }

    // "&Add": prepares the slot after the last one with the name of the lowest free file number, shown in the
    // tray menu; false when five environments exist.
    bool BeginAdd();
    // "&Change": edits the selected environment; false when no line is selected.
    bool BeginChange();
    // The settings dialog's OK with the edited name (taken as entered, also empty) and tray-menu display.
    // After an add the new environment is counted, gets the lowest free file number and is selected; after a
    // change its line is selected.
    void ChangeOrAdd(const std::u16string& name, bool showInMenu);

    // "&Delete": removes the selected environment (not the first); the slots after it move up and keep their
    // files. The same line stays selected, or the last one when it no longer exists.
    bool Delete();

    // OK with the selected line: the plan against the live list.
    EnvironmentPlan Plan(const EnvironmentList& live) const;

private:
    int32_t LowestFreeFileNumber() const;

    EnvironmentList slots_;
    // File numbers given to environments added in this visit; one that a deleted environment had is made again.
    std::array<bool, kMaxEnvironments + 1> added_{};
    int32_t workMax_ = 1;
    int32_t workSel_ = 1;
    int selected_ = 0;
    bool adding_ = false;
};

} // namespace vantrel
