#pragma once
// The icon strip of "Icon setting": one grid cell per icon of the file (40 pixels at 96 dpi, scaled with the
// dialog's screen), scrolled sideways when they do not all fit, the picked one
// drawn as the registration grids draw their cursor. A click or an arrow key picks an icon; a screen reader reads
// the strip as a list "Icon". Only the dialog's own files include it.

#include <windows.h>

#include <algorithm>

#include "dialogs/icon_grid_access.h"
#include "dialogs/icon_setting_dialog_win.h"
#include "win/accessible_grid_win.h"
#include "win/window_win.h"

namespace vantrel::win {

class IconStripWindow : public Window, private IconStripView {
public:
    explicit IconStripWindow(IconSettingDialog& dialog) : dialog_(dialog) {}
    ~IconStripWindow() override { accessHost_.Detach(); }

    bool Make(HWND parent, const RECT& at);

    // The picked icon changed: a screen reader hears which one.
    void AnnouncePick() { accessHost_.AnnounceFocus(false); }

    // The strip's cells changed: its height, scroll range and position follow.
    void Refresh();
    // The first cell in view.
    int32_t FirstCellInView() const { return Position() / std::max(dialog_.strip_.Pitch(), 1); }

private:
    // IconStripView: what a screen reader reads of the strip.
    int32_t StripCells() const override { return dialog_.strip_.cells; }
    int32_t StripIndex() const override { return dialog_.strip_.Index; }
    int32_t StripOffset() const override { return Position(); }
    int32_t StripPitch() const override { return dialog_.strip_.Pitch(); }
    bool StripShowing() const override { return Handle() && IsWindowVisible(Handle()); }
    bool PickStripCell(int32_t index) override;

    // Scrolls so that cell `index` is in view.
    void ShowCell(int32_t index);
    int Position() const;
    void ScrollTo(int position);
    void Paint();
    void Scroll(WPARAM wParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    IconSettingDialog& dialog_;
    IconStripAccess access_{*this};
    AccessibleGridHost accessHost_{access_};
};

} // namespace vantrel::win
