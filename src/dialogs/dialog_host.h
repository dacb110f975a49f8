#pragma once
// What the settings dialogs need from the program that hosts them: the live settings they edit, the steps that
// apply an edit (the resident program re-registers its hot key and writes the files), messages, help, and
// which dialog window is the current one of its kind. The resident program implements it; the dialogs know
// nothing else of the program around them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "config/environments.h"
#include "core/records.h"
#include "dialogs/environment_model.h"
#include "services/item_services.h"
#include "services/system_queries.h"

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

// Process-wide facts the icon dialogs draw and decide with.
struct IconDialogFlags {
    bool UsKeyboardFlag = true; // the shifted-digit table of direct keys
    bool JapaneseFlag = false;
    bool MeiryoFlag = false;   // labels in "Meiryo UI"
    bool CdPlayerFlag = false; // the CD player item's overlay
    int32_t CdMode = 0;
};

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

    // ---- The icon dialogs edit the trays in use in place ----
    virtual std::array<TrayEntry, 3>& Trays() = 0;
    virtual IconSource& Icons() = 0;
    virtual const SystemQueries& System() const = 0;
    virtual IconDialogFlags IconFlags() = 0;
    // ColMax of the current options, in effect at once (the launcher's next show uses it too); not written.
    virtual void SetColumns(int32_t colMax) = 0;
    // The System tray's drive items follow the drives present.
    virtual void SyncDriveItems() = 0;
    // Writes the Program and then the System tray to the current environment's file, and with `withOptions` the
    // options too; a write that fails is reported by the host.
    virtual void SaveTrays(bool withOptions) = 0;
};

} // namespace vantrel
