#pragma once
// "Environment selection" and its child "Environment settings" ("Add Environment" when adding). Both work on an
// EnvironmentWork copy of the environment list; nothing reaches a file or the live list before the selection's
// OK, which hands the resulting plan to the host.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "dialogs/dialog_host.h"
#include "dialogs/environment_model.h"
#include "win/dialog_win.h"

namespace vantrel::win {

// Made anew for each opening, owned by the selection dialog.
class EnvironmentSettingsDialog : public Dialog {
public:
    using Accept = std::function<void(const std::u16string& name, bool showInMenu)>;

    EnvironmentSettingsDialog(DialogHost& host, Accept accept);
    ~EnvironmentSettingsDialog() override;

    // Shows the slot's name and menu display, centred over the owner's rectangle (its width serving as both
    // width and height of the area); false when the window could not be made.
    bool Open(HWND owner, bool adding, const EnvironmentEntry& slot);

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnHelpRequest() override;
    void OnDestroy() override;

private:
    DialogHost& host_;
    Accept accept_;
};

class EnvironmentSelectionDialog : public Dialog {
public:
    explicit EnvironmentSelectionDialog(DialogHost& host);
    ~EnvironmentSelectionDialog() override;

    // "Select &Environment...": a working copy of the live list when a visit begins; a dialog that is open or was
    // only hidden keeps its unconfirmed edits. A dialog that was not on screen comes up with its top-left corner at
    // the mouse.
    void Open();
    // Makes the window, hidden, if it is not made yet: the program does so once it is idle after the start, so that
    // even the first opening only fills and shows it. False when the system refused the window.
    bool Prepare();

    // The open settings dialog, if any.
    EnvironmentSettingsDialog* Settings() const;

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnHelpRequest() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

private:
    void ShowWork();
    void UpdateButtons();
    void OpenSettings(bool adding);
    void CloseSettings();

    DialogHost& host_;
    std::optional<EnvironmentWork> work_;
    std::unique_ptr<EnvironmentSettingsDialog> settings_;
};

} // namespace vantrel::win
