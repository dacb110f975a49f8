#pragma once
// Small helpers for the standard controls of a dialog, speaking the models' UTF-16 strings.

#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

namespace vantrel::win {

void SetItemText(HWND dialog, int id, std::u16string_view text);
std::u16string ItemText(HWND dialog, int id);

void SetChecked(HWND dialog, int id, bool checked);
bool IsChecked(HWND dialog, int id);
void EnableItem(HWND dialog, int id, bool enabled);

// Radio buttons with the consecutive identifiers first .. first + count - 1: which one is checked (-1 for
// none), check one (-1 clears them all), enable them together.
int CheckedRadio(HWND dialog, int first, int count);
void CheckRadio(HWND dialog, int first, int count, int index);
void EnableRadios(HWND dialog, int first, int count, bool enabled);

// List boxes and drop-down lists: their lines and the selected one (-1 for none).
void SetListLines(HWND dialog, int id, const std::vector<std::u16string>& lines);
int SelectedListLine(HWND dialog, int id);
void SelectListLine(HWND dialog, int id, int index);
void SetComboLines(HWND dialog, int id, const std::vector<std::u16string>& lines);
int SelectedComboLine(HWND dialog, int id);
void SelectComboLine(HWND dialog, int id, int index);

} // namespace vantrel::win
