#include "win/controls_win.h"

#include "win/strings_win.h"

namespace vantrel::win {

void SetItemText(HWND dialog, int id, std::u16string_view text) {
    SetDlgItemTextW(dialog, id, ToWide(text).c_str());
}

std::u16string ItemText(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
    return FromWide(text);
}

void SetChecked(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void EnableItem(HWND dialog, int id, bool enabled) {
    EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

int CheckedRadio(HWND dialog, int first, int count) {
    for (int i = 0; i < count; ++i)
        if (IsChecked(dialog, first + i))
            return i;
    return -1;
}

void CheckRadio(HWND dialog, int first, int count, int index) {
    for (int i = 0; i < count; ++i)
        SetChecked(dialog, first + i, i == index);
}

void EnableRadios(HWND dialog, int first, int count, bool enabled) {
    for (int i = 0; i < count; ++i)
        EnableItem(dialog, first + i, enabled);
}

void SetListLines(HWND dialog, int id, const std::vector<std::u16string>& lines) {
    SendDlgItemMessageW(dialog, id, LB_RESETCONTENT, 0, 0);
    for (const auto& line : lines)
        SendDlgItemMessageW(dialog, id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WidePtr(line)));
}

int SelectedListLine(HWND dialog, int id) {
    const LRESULT line = SendDlgItemMessageW(dialog, id, LB_GETCURSEL, 0, 0);
    return line == LB_ERR ? -1 : static_cast<int>(line);
}

void SelectListLine(HWND dialog, int id, int index) {
    SendDlgItemMessageW(dialog, id, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void SetComboLines(HWND dialog, int id, const std::vector<std::u16string>& lines) {
    SendDlgItemMessageW(dialog, id, CB_RESETCONTENT, 0, 0);
    for (const auto& line : lines)
        SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WidePtr(line)));
}

int SelectedComboLine(HWND dialog, int id) {
    const LRESULT line = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    return line == CB_ERR ? -1 : static_cast<int>(line);
}

void SelectComboLine(HWND dialog, int id, int index) {
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

} // namespace vantrel::win
