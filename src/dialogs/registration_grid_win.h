#pragma once
// One page's grid of "Registering Icons": a child of the tab control that paints the tray's cells from the
// dialog's back buffer and hands the mouse and the keys to the dialog. Only the dialog's own files include it.

#include <windows.h>

#include "dialogs/icon_grid_access.h"
#include "dialogs/registration_dialog_win.h"
#include "win/accessible_grid_win.h"
#include "win/window_win.h"

namespace vantrel::win {

inline int PageOf(int32_t tray) {
    return tray == SystemTray ? 1 : 0;
}

class RegistrationDialog::GridWindow : public Window {
public:
    GridWindow(RegistrationDialog& dialog, int32_t tray) : dialog_(dialog), tray_(tray), access_(dialog, tray) {}
    ~GridWindow() override { accessHost_.Detach(); }

    bool Make(HWND parent);

    // The cursor moved (or, with `force`, the grid came into view): a screen reader hears the cell.
    void AnnounceFocus(bool force) { accessHost_.AnnounceFocus(force); }
    // Items moved, came or went: listeners read the list again.
    void AnnounceReorder() { accessHost_.AnnounceReorder(); }

private:
    static POINT ClientPoint(LPARAM lParam);
    void Paint();
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    RegistrationDialog& dialog_;
    int32_t tray_;
    TrayGridAccess access_;
    AccessibleGridHost accessHost_{access_};
};

} // namespace vantrel::win
