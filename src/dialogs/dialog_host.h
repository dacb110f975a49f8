#pragma once
// What the settings dialogs need from the program that hosts them: the live settings they edit, the steps that
// apply an edit (the resident program re-registers its hot key and writes the files), messages, help, and
// which dialog window is the current one of its kind. The resident program implements it; the dialogs know
// nothing else of the program around them.

#include <cstdint>
#include <optional>
#include <string>

#include "config/environments.h"
#include "core/records.h"
#include "dialogs/environment_model.h"

namespace vantrel {

// The settings dialogs. The first four are the kinds HideDialogs is told to spare.
enum class DialogKind : int32_t {
    Registration = 1, // "Registering Icons"
    Option = 2,       // "Setting"
    About = 3,
    Selection = 4,   // "Environment selection"
    IconSetting = 6, // made anew for each opening
    DeleteConfirm = 7,
    EnvironmentSettings = 8, // "Add Environment" / "Environment settings", owned by the selection dialog
};

enum class MessageKind { Information, Warning, Error };

class DialogHost {
public:
    virtual ~DialogHost() = default;

    virtual const TOption& CurrentOption() const = 0;
    // The option dialog's OK: the options take effect (the hot key is registered again, a combination another
    // program holds is reported) and are written to the current environment's file.
    virtual void SetAllOption(const TOption& option) = 0;

    virtual const EnvironmentList& Environments() const = 0;
    // The selection dialog's OK.
    virtual void ApplyEnvironments(const EnvironmentPlan& plan) = 0;

    virtual bool IsAutoRun() = 0;
    // nullopt when done, else the system's reason.
    virtual std::optional<std::u16string> SetAutoRun(bool on) = 0;

    // A modal message owned by a dialog's window. Triggers are ignored while it is up; so they are during
    // BeginModal/EndModal around the dialogs' other modal boxes (the colour dialog).
    virtual void ShowMessage(std::intptr_t owner, const std::u16string& text, MessageKind kind) = 0;
    virtual void BeginModal() = 0;
    virtual void EndModal() = 0;

    // The help file's topic (see help_topics.h).
    virtual void ShowHelp(int32_t topic) = 0;

    // A dialog's window was created or destroyed; the newest window of a kind is the current one.
    virtual void DialogCreated(DialogKind kind, std::intptr_t window) = 0;
    virtual void DialogDestroyed(std::intptr_t window) = 0;

    virtual bool IsNtPlatform() const = 0;
    virtual std::u16string VersionText() = 0;
};

} // namespace vantrel
