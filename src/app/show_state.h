#pragma once
// Who is on screen: how the launcher window was called (ShowStatus), whether a dialog's message box is up
// (MessageFlag, during which triggers are ignored), and which window is the current one of each settings
// dialog, so that HideDialogs knows what to hide. One owner for all of it: the main window, the launcher (through
// its host) and the dialogs (through theirs) all ask this object.

#include <array>
#include <cstdint>
#include <vector>

#include "dialogs/dialog_host.h"

namespace vantrel {

class ShowState {
public:
    int32_t ShowStatus = 0; // 0 hidden, 1 shown by the hot key, 2 shown by the mouse
    bool MessageFlag = false;

    // A dialog's modal box opens or closes. Boxes can stack (a write failure reported while a warning is up);
    // MessageFlag holds until the last one closes.
    void BeginMessage();
    void EndMessage();

    // The newest window of a kind is its current one; a destroyed window is forgotten wherever it was current.
    void DialogCreated(DialogKind kind, std::intptr_t window);
    void DialogDestroyed(std::intptr_t window);
    std::intptr_t Current(DialogKind kind) const;

    // HideDialogs(kind): the launcher goes (ShowStatus becomes 0), then every current dialog except the one of
    // `kind` (1 registration, 2 option, 3 about, 4 selection; 5 and any other number spare none). The icon
    // setting and delete dialogs always go; the environment settings dialog is left alone.
    struct HidePlan {
        bool hideLauncher = false;
        std::vector<std::intptr_t> windows;
    };
    HidePlan HideDialogs(int32_t kind);

private:
    static constexpr std::size_t kKinds = 9;
    std::array<std::intptr_t, kKinds> current_{};
    int32_t messageDepth_ = 0;
};

} // namespace vantrel
