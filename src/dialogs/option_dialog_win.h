#pragma once
// "Setting": the option dialog, a modeless property sheet with the pages Key, Mouse, Other and Exclusions. The
// control states live in an OptionControls model; the pages only show it and report the user's changes to it, so
// that a page the user never opened still has its values when OK reads them.
//
// The object lives as long as the program and keeps the controls' states between showings (a radio group whose
// option says "none" keeps its last selection). Its window is made at the first opening; OK, Cancel and
// HideDialogs only hide it.

#include <array>
#include <memory>
#include <span>

#include <windows.h>

#include "dialogs/dialog_host.h"
#include "dialogs/option_model.h"
#include "win/property_sheet_win.h"
#include "win/unique_handle_win.h"

namespace vantrel::win {

class OptionDialog : private PropertySheetDialog {
public:
    explicit OptionDialog(DialogHost& host);
    ~OptionDialog() override;

    // "&Setting...": the current options fill the dialog (again, when it is already open, replacing unsaved
    // edits); a dialog that was not on screen comes up with its top-left corner at the mouse.
    void Open();
    // Makes the window, hidden, if it is not made yet: the program does so once it is idle after the start, so that
    // even the first opening only fills and shows it. False when the system refused the window.
    bool Prepare();

    using PropertySheetDialog::CurrentPage;
    using PropertySheetDialog::Handle;
    using PropertySheetDialog::IsVisible;

    // A check box or a radio group of a page and the control state it shows and sets.
    struct CheckBox {
        int id;
        bool OptionControls::*state;
    };
    struct RadioGroup {
        int first; // the radio buttons' ids follow each other
        int count;
        int OptionControls::*state;
    };

private:
    class Page : public PropertyPage {
    public:
        Page(OptionDialog& dialog, std::span<const CheckBox> checks, std::span<const RadioGroup> radios)
            : dialog_(dialog), checks_(checks), radios_(radios) {}
        // Shows the model's values.
        virtual void Load() = 0;

    protected:
        INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
        void OnInitPage() override { Load(); }
        OptionControls& Model() { return dialog_.controls_; }
        // The page's check boxes and radio groups show the model.
        void LoadBindings();
        // A click on one of them goes into the model; false for any other control.
        bool ReadBinding(int id, int code);
        OptionDialog& dialog_;

    private:
        std::span<const CheckBox> checks_;
        std::span<const RadioGroup> radios_;
    };
    class KeyPage;
    class MousePage;
    class OtherPage;
    class ExclusionPage; // option_exclusions_win.h

    void OnClosed(bool accepted) override;
    void OnSheetHelpRequest(bool titleBar) override;
    void OnSheetDestroyed(HWND window) override;
    void LoadPages();
    int32_t PageTopic(int page) const;

    DialogHost& host_;
    OptionControls controls_;
    TOption nowOption_;
    std::array<COLORREF, 16> customColors_{};
    UniqueFont colorFont_;
    UniqueBrush labelBrush_;
    UniqueBrush keyLabelBrush_;
    std::unique_ptr<KeyPage> keyPage_;
    std::unique_ptr<MousePage> mousePage_;
    std::unique_ptr<OtherPage> otherPage_;
    std::unique_ptr<ExclusionPage> exclusionPage_;
};

} // namespace vantrel::win
