#include "dialogs/option_exclusions_win.h"

#include <commctrl.h>

#include "dialogs/dialog_ids.h"
#include "dialogs/help_topics.h"
#include "services/excluded_programs.h"
#include "services/window_programs_win.h"
#include "win/controls_win.h"
#include "win/strings_win.h"

namespace vantrel::win {

namespace {

constexpr UINT_PTR kNameEditSubclass = 1;

HWND EditOfCombo(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    return GetComboBoxInfo(combo, &info) ? info.hwndItem : nullptr;
}

} // namespace

void OptionDialog::ExclusionPage::OnInitPage() {
    // Enter in the name box adds the name rather than closing the whole dialog with OK.
    if (const HWND edit = EditOfCombo(Item(IDC_EXCLUDENAME)))
        SetWindowSubclass(edit, &NameEditProc, kNameEditSubclass, reinterpret_cast<DWORD_PTR>(this));
    Load();
}

void OptionDialog::ExclusionPage::OnHelpRequest() {
    dialog_.host_.ShowHelp(kHelpOptionExclusions);
}

void OptionDialog::ExclusionPage::Load() {
    const HWND page = Handle();
    if (!page)
        return;
    SetItemText(page, IDC_EXCLUDENAME, u"");
    ShowList(-1);
}

void OptionDialog::ExclusionPage::ShowList(int selectLine) {
    const HWND page = Handle();
    SetListLines(page, IDC_EXCLUDELIST, Model().ExcludeList);
    SelectListLine(page, IDC_EXCLUDELIST, selectLine);
    SetItemText(page, IDC_EXCLUDELABEL, ExcludeListCaption(Model()));
    UpdateButtons(NameText());
}

std::u16string OptionDialog::ExclusionPage::NameText(std::optional<int> pickedLine) const {
    const HWND combo = Item(IDC_EXCLUDENAME);
    if (!pickedLine || *pickedLine < 0)
        return ItemText(Handle(), IDC_EXCLUDENAME);
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(*pickedLine), 0);
    if (length == CB_ERR)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(*pickedLine), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return FromWide(text);
}

bool OptionDialog::ExclusionPage::CanAdd(const std::u16string& name) const {
    return CheckExclusion(dialog_.controls_.ExcludeList, name).check == ExclusionCheck::Addable;
}

void OptionDialog::ExclusionPage::UpdateButtons(const std::u16string& name) {
    const HWND page = Handle();
    // A name already listed is shown where it stands instead of being added twice.
    const ExclusionCandidate candidate = CheckExclusion(Model().ExcludeList, name);
    if (candidate.check == ExclusionCheck::AlreadyListed)
        SelectListLine(page, IDC_EXCLUDELIST, static_cast<int>(candidate.listedAt));
    // A button that is switched off while it has the keyboard would leave the keyboard nowhere.
    const HWND focus = GetFocus();
    const bool canAdd = candidate.check == ExclusionCheck::Addable;
    const bool canRemove = SelectedListLine(page, IDC_EXCLUDELIST) >= 0;
    if (focus == Item(IDC_EXCLUDEADD) && !canAdd)
        SetFocus(Item(IDC_EXCLUDENAME));
    if (focus == Item(IDC_EXCLUDEREMOVE) && !canRemove)
        SetFocus(Item(IDC_EXCLUDELIST));
    EnableItem(page, IDC_EXCLUDEADD, canAdd);
    EnableItem(page, IDC_EXCLUDEREMOVE, canRemove);
}

void OptionDialog::ExclusionPage::FillRunningPrograms() {
    // Asked each time the list drops down: the running programs change while the dialog is open.
    const std::u16string typed = NameText();
    SetComboLines(Handle(), IDC_EXCLUDENAME,
                  PickableProgramNames(ProgramPathsOfDesktopWindows(), Model().ExcludeList, {OwnProgramPath()}));
    SetItemText(Handle(), IDC_EXCLUDENAME, typed);
}

void OptionDialog::ExclusionPage::Add() {
    if (!AddExcludedProgram(Model(), NameText()))
        return;
    SetItemText(Handle(), IDC_EXCLUDENAME, u"");
    ShowList(static_cast<int>(Model().ExcludeList.size()) - 1);
}

void OptionDialog::ExclusionPage::Remove() {
    int next = -1;
    if (RemoveExcludedProgram(Model(), SelectedListLine(Handle(), IDC_EXCLUDELIST), &next))
        ShowList(next);
}

void OptionDialog::ExclusionPage::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_EXCLUDEADD:
        if (code == BN_CLICKED)
            Add();
        break;
    case IDC_EXCLUDEREMOVE:
        if (code == BN_CLICKED)
            Remove();
        break;
    case IDC_EXCLUDELIST:
        if (code == LBN_SELCHANGE)
            UpdateButtons(NameText());
        break;
    case IDC_EXCLUDENAME:
        if (code == CBN_DROPDOWN)
            FillRunningPrograms();
        else if (code == CBN_EDITCHANGE)
            UpdateButtons(NameText());
        else if (code == CBN_SELCHANGE)
            // The box shows the picked line only after this notice.
            UpdateButtons(NameText(static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0))));
        break;
    default:
        break;
    }
}

INT_PTR OptionDialog::ExclusionPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Delete in the list removes the selected line.
    if (message == WM_VKEYTOITEM && reinterpret_cast<HWND>(lParam) == Item(IDC_EXCLUDELIST)) {
        if (LOWORD(wParam) != VK_DELETE)
            return -1;
        Remove();
        return -2;
    }
    return Page::OnMessage(message, wParam, lParam);
}

LRESULT CALLBACK OptionDialog::ExclusionPage::NameEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                                           UINT_PTR, DWORD_PTR data) {
    auto* page = reinterpret_cast<ExclusionPage*>(data);
    const HWND combo = page->Item(IDC_EXCLUDENAME);
    // With the drop-down list open, Enter takes the line picked there and Escape closes the list; neither may end
    // the whole dialog (the dialog manager would take them for OK and Cancel). With the list closed, Enter adds the
    // name when it can be added, and is the dialog's OK otherwise.
    const auto takes = [&](WPARAM key) {
        if (SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0))
            return key == VK_RETURN || key == VK_ESCAPE;
        return key == VK_RETURN && page->CanAdd(page->NameText());
    };
    switch (message) {
    case WM_GETDLGCODE:
        if (lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN && takes(wParam))
            return DLGC_WANTALLKEYS | DefSubclassProc(edit, message, wParam, lParam);
        break;
    case WM_KEYDOWN:
        if (!takes(wParam))
            break;
        if (SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) {
            SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
            page->UpdateButtons(page->NameText());
        } else {
            page->Add();
        }
        return 0;
    case WM_CHAR:
        // A one-line box holds no line break or Escape character; the system would only beep.
        if (wParam == L'\r' || wParam == 0x1B)
            return 0;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(edit, &NameEditProc, kNameEditSubclass);
        break;
    default:
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

} // namespace vantrel::win
