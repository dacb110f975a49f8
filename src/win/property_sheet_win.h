#pragma once
// A modeless property sheet: pages from DIALOGEX templates, shown as tabs over OK and Cancel.
//
// The system sizes a sheet from its pages' dialog units in the sheet's own font, so pages in a larger font
// ("Segoe UI" 9 against the sheet's 8-point shell font) would be cut off; the sheet is therefore enlarged to
// what the pages measure in their own font.
//
// The sheet is made once and kept: OK, Cancel, Escape and the close box only hide it and tell the subclass, so
// that the next opening shows it again at once with the pages as they were. (Should the system end the sheet by
// itself all the same, PreTranslate notices, tells the subclass and destroys the window; the next opening then
// makes a new one.) The keyboard interface, Ctrl+Tab between pages included, comes from
// PropSheet_IsDialogMessage.

#include <string>
#include <vector>

#include <windows.h>

#include "win/dialog_win.h"

namespace vantrel::win {

class PropertySheetDialog;

// One page: a child dialog whose procedure finds the object through the page's lParam on WM_INITDIALOG.
class PropertyPage {
public:
    virtual ~PropertyPage() = default;
    HWND Handle() const { return hwnd_; }

protected:
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnInitPage() {}
    virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
    virtual void OnHelpRequest() {}

private:
    friend class PropertySheetDialog;
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    PropertySheetDialog* sheet_ = nullptr;
};

struct PageSpec {
    PropertyPage* page;
    int templateId;
};

class PropertySheetDialog : public DialogMessageTarget {
public:
    PropertySheetDialog() = default;
    ~PropertySheetDialog() override;
    PropertySheetDialog(const PropertySheetDialog&) = delete;
    PropertySheetDialog& operator=(const PropertySheetDialog&) = delete;

    HWND Handle() const { return hwnd_; }
    bool IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    // Creates the sheet hidden, with a "?" in its title bar; false when the system refused.
    bool Create(HWND owner, const std::u16string& caption, const std::vector<PageSpec>& pages);
    void Destroy();
    // Index of the page on top, -1 without a sheet.
    int CurrentPage() const;

    bool PreTranslate(MSG& msg) override;

protected:
    // OK (accepted) or Cancel closed the sheet; it is hidden already.
    virtual void OnClosed(bool /*accepted*/) {}
    // Help asked for on the sheet itself: its buttons or tabs (F1), or the title bar's "?".
    virtual void OnSheetHelpRequest(bool /*titleBar*/) {}
    // The window is gone (it is named for the caller's bookkeeping only).
    virtual void OnSheetDestroyed(HWND /*window*/) {}

private:
    friend class PropertyPage;
    static LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);
    void Close(bool accepted);
    void CheckEnded();
    void KeepFocusVisible();
    void FitToPages(const std::vector<PageSpec>& pages);

    HWND hwnd_ = nullptr;
    bool accepted_ = false;
    // Where the pages go once the sheet has been fitted to them (sheet client coordinates); empty before.
    RECT pageArea_{};
};

} // namespace vantrel::win
