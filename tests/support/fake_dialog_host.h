#pragma once
// A host for the settings dialogs that records what they ask of the program.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/dialog_host.h"
#include "support/fake_system.h"

namespace vantrel::testing {

class FakeDialogHost : public DialogHost {
public:
    TOption option;
    EnvironmentList environments;
    bool autoRun = false;
    std::optional<std::u16string> autoRunFailure; // what SetAutoRun answers
    bool nt = true;
    std::u16string version = u"Version 1.2.3.4";

    std::vector<TOption> applied;
    std::vector<EnvironmentPlan> plans;
    std::vector<bool> autoRunCalls;
    std::vector<std::u16string> messages;
    std::vector<int32_t> topics;
    std::vector<std::pair<DialogKind, std::intptr_t>> created;
    std::vector<std::intptr_t> destroyed;
    int modalDepth = 0;
    std::array<TrayEntry, 3> trays;
    FakeSystem system;
    FakeIcons fakeIcons;
    // A Windows test hands in the system's answers and icons.
    const SystemQueries* systemQueries = &system;
    IconSource* icons = &fakeIcons;
    IconDialogFlags flags;
    int syncs = 0;
    std::vector<bool> saves; // one entry per SaveTrays, true when the options were written too
    std::vector<std::pair<ItemList, ItemList>> savedTrays;

    const TOption& CurrentOption() const override { return option; }
    void SetAllOption(const TOption& o) override {
        applied.push_back(o);
        option = o;
    }
    const EnvironmentList& Environments() const override { return environments; }
    void ApplyEnvironments(const EnvironmentPlan& plan) override { plans.push_back(plan); }
    bool IsAutoRun() override { return autoRun; }
    std::optional<std::u16string> SetAutoRun(bool on) override {
        autoRunCalls.push_back(on);
        if (!autoRunFailure)
            autoRun = on;
        return autoRunFailure;
    }
    void ShowMessage(std::intptr_t, const std::u16string& text, MessageKind) override { messages.push_back(text); }
    void BeginModal() override { ++modalDepth; }
    void EndModal() override { --modalDepth; }
    void ShowHelp(int32_t topic) override { topics.push_back(topic); }
    void DialogCreated(DialogKind kind, std::intptr_t window) override { created.emplace_back(kind, window); }
    void DialogDestroyed(std::intptr_t window) override { destroyed.push_back(window); }
    bool IsNtPlatform() const override { return nt; }
    std::u16string VersionText() override { return version; }

    std::array<TrayEntry, 3>& Trays() override { return trays; }
    IconSource& Icons() override { return *icons; }
    const SystemQueries& System() const override { return *systemQueries; }
    IconDialogFlags IconFlags() override { return flags; }
    void SetColumns(int32_t colMax) override { option.ColMax = colMax; }
    void SyncDriveItems() override { ++syncs; }
    void SaveTrays(bool withOptions) override {
        saves.push_back(withOptions);
        savedTrays.emplace_back(trays[ProgramTray].Items, trays[SystemTray].Items);
    }
};

} // namespace vantrel::testing
