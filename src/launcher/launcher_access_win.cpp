// The launcher window's side of its accessibility and of the system's colour scheme: requests of assistive
// programs go through the navigation model like keys and clicks, and a change of the system's colours or of its
// high-contrast setting repaints a shown window.

#include "launcher/launcher_window_win.h"
#include "services/grid_colours_win.h"

namespace vantrel::win {

bool LauncherWindow::Showing() const {
    return IsShown() && form_.ShowFlag;
}

bool LauncherWindow::SelectForAccess(int32_t tray, int32_t index) {
    if (!Showing())
        return false;
    Navigation n = MakeNavigation();
    Apply(AccessSelect(n, tray, index));
    // The request came through COM's own window, not this one's message handler.
    AnnounceCursor();
    return true;
}

bool LauncherWindow::RunForAccess(int32_t tray, int32_t index) {
    // Running may hide the window, start a program or bring another window to the front: not inside the
    // caller's cross-process call, which would wait for all of it.
    return Showing() && PostMessageW(Handle(), kMsgAccessRun, static_cast<WPARAM>(tray), static_cast<LPARAM>(index));
}

void LauncherWindow::AccessRunPosted(WPARAM tray, LPARAM index) {
    if (!Showing())
        return;
    Navigation n = MakeNavigation();
    Apply(AccessRun(n, static_cast<int32_t>(tray), static_cast<int32_t>(index)));
}

void LauncherWindow::AnnounceCursor() {
    accessHost_.AnnounceFocus(false);
}

GridColours LauncherWindow::Colours() const {
    return ChooseGridColours(theme_, services_.host.Option());
}

HBRUSH LauncherWindow::Brush(COLORREF colour) const {
    auto& brush = brushes_[colour];
    if (!brush)
        brush.Reset(CreateSolidBrush(colour));
    return static_cast<HBRUSH>(brush.Get());
}

void LauncherWindow::SystemColoursChanged() {
    // Colours, high contrast and the apps' dark setting ("ImmersiveColorSet") all come with WM_SETTINGCHANGE.
    const SystemTheme theme = ReadSystemTheme();
    if (theme == theme_)
        return;
    theme_ = theme;
    brushes_.clear();
    if (IsShown())
        RepaintAll();
}

} // namespace vantrel::win
