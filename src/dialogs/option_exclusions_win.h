#pragma once
// The option dialog's page "Exclusions": the programs vantrel leaves alone, a list of program file names. A name
// is typed into the box or picked from its drop-down list of the running programs, and added with "&Add" (or
// Enter in the box); "Re&move" (or Delete in the list) takes the selected line out. The list lives in the
// dialog's OptionControls like every other value, so OK stores it and Cancel forgets it.
//
// Private to the option dialog: included by its implementation only.

#include <optional>
#include <string>

#include "dialogs/option_dialog_win.h"

namespace vantrel::win {

class OptionDialog::ExclusionPage : public OptionDialog::Page {
public:
    explicit ExclusionPage(OptionDialog& dialog) : Page(dialog, {}, {}) {}
    void Load() override;

protected:
    void OnInitPage() override;
    void OnHelpRequest() override;
    void OnCommand(int id, int code, HWND control) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static LRESULT CALLBACK NameEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
    // The name box's text; while its drop-down list is being walked, the line picked there.
    std::u16string NameText(std::optional<int> pickedLine = std::nullopt) const;
    bool CanAdd(const std::u16string& name) const;
    void FillRunningPrograms();
    void ShowList(int selectLine);
    void Add();
    void Remove();
    void UpdateButtons(const std::u16string& name);
};

} // namespace vantrel::win
