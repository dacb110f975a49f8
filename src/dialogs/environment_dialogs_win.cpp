#include "dialogs/environment_dialogs_win.h"

#include "dialogs/dialog_ids.h"
#include "dialogs/help_topics.h"
#include "services/placement_win.h"
#include "win/controls_win.h"
#include "win/window_win.h"

namespace vantrel::win {

namespace {

// Sent to the selection dialog after it was activated: its settings dialog comes back to the front.
constexpr UINT kMsgRaiseSettings = WM_APP + 1;

} // namespace

// ---- Environment settings --------------------------------------------------------------------------------------

EnvironmentSettingsDialog::EnvironmentSettingsDialog(DialogHost& host, Accept accept)
    : host_(host), accept_(std::move(accept)) {}

EnvironmentSettingsDialog::~EnvironmentSettingsDialog() {
    Destroy();
}

bool EnvironmentSettingsDialog::Open(HWND owner, bool adding, const EnvironmentEntry& slot) {
    if (!CreateModeless(IDD_ENV_CHANGE, owner))
        return false;
    host_.DialogCreated(DialogKind::EnvironmentSettings, FromHwnd(Handle()));
    SetWindowTextW(Handle(), adding ? L"Add Environment" : L"Environment settings");
    SetItemText(Handle(), IDC_NAMEEDIT, slot.IniName);
    const bool shown = slot.IniPopup != 0;
    SetChecked(Handle(), IDC_DISPLAY, shown);
    SetChecked(Handle(), IDC_NODISPLAY, !shown);
    RECT r{};
    GetWindowRect(owner, &r);
    const int32_t width = r.right - r.left;
    ShowAlignedTo(Handle(), {r.left, r.top, width, width}, 4);
    SetForegroundWindow(Handle());
    // The name is edited first, all of it selected, so typing replaces it.
    SetFocus(Item(IDC_NAMEEDIT));
    SendDlgItemMessageW(Handle(), IDC_NAMEEDIT, EM_SETSEL, 0, -1);
    return true;
}

bool EnvironmentSettingsDialog::OnInitDialog() {
    return true;
}

void EnvironmentSettingsDialog::OnCommand(int id, int, HWND) {
    if (id == IDOK) {
        const std::u16string name = ItemText(Handle(), IDC_NAMEEDIT);
        const bool show = !IsChecked(Handle(), IDC_NODISPLAY);
        // Accepting may close this dialog's owner; the window goes first.
        Accept accept = accept_;
        Destroy();
        accept(name, show);
    } else if (id == IDCANCEL) {
        Destroy();
    }
}

void EnvironmentSettingsDialog::OnHelpRequest() {
    host_.ShowHelp(kHelpEnvironments);
}

void EnvironmentSettingsDialog::OnDestroy() {
    host_.DialogDestroyed(FromHwnd(Handle()));
}

// ---- Environment selection -------------------------------------------------------------------------------------

EnvironmentSelectionDialog::EnvironmentSelectionDialog(DialogHost& host) : host_(host) {}

EnvironmentSelectionDialog::~EnvironmentSelectionDialog() {
    settings_.reset();
    Destroy();
}

EnvironmentSettingsDialog* EnvironmentSelectionDialog::Settings() const {
    return settings_ && settings_->Handle() ? settings_.get() : nullptr;
}

bool EnvironmentSelectionDialog::Prepare() {
    if (Handle())
        return true;
    if (!CreateModeless(IDD_ENV_SELECT, nullptr))
        return false;
    host_.DialogCreated(DialogKind::Selection, FromHwnd(Handle()));
    return true;
}

void EnvironmentSelectionDialog::Open() {
    if (!Prepare())
        return;
    const bool wasShown = IsVisible();
    // A visit lasts until OK or Cancel: a dialog that was only hidden (the hot key, another dialog) comes back
    // with the edits not yet confirmed and the settings dialog that was open.
    if (!work_) {
        work_.emplace(host_.Environments());
        ShowWork();
    }
    if (!wasShown)
        PlaceWindowAtCursor(Handle());
    ShowInFront();
    SetFocus(Item(IDC_SETLIST));
}

bool EnvironmentSelectionDialog::OnInitDialog() {
    return true;
}

void EnvironmentSelectionDialog::ShowWork() {
    SetListLines(Handle(), IDC_SETLIST, work_->Lines());
    SelectListLine(Handle(), IDC_SETLIST, work_->Selected());
    UpdateButtons();
}

void EnvironmentSelectionDialog::UpdateButtons() {
    // A button that loses its enabled state while it has the focus would leave the keyboard nowhere.
    const HWND focus = GetFocus();
    EnableItem(Handle(), IDC_ADD, work_->CanAdd());
    EnableItem(Handle(), IDC_DELETE, work_->CanDelete());
    if (focus && !IsWindowEnabled(focus))
        SetFocus(Item(IDC_SETLIST));
}

void EnvironmentSelectionDialog::OnCommand(int id, int code, HWND) {
    if (!work_)
        return;
    switch (id) {
    case IDC_SETLIST:
        if (code == LBN_SELCHANGE) {
            work_->Select(SelectedListLine(Handle(), IDC_SETLIST));
            UpdateButtons();
        } else if (code == LBN_DBLCLK) {
            OpenSettings(false);
        }
        break;
    case IDC_ADD:
        OpenSettings(true);
        break;
    case IDC_CHANGE:
        OpenSettings(false);
        break;
    case IDC_DELETE:
        // A settings dialog open for a slot that moves would write into its neighbour.
        CloseSettings();
        if (work_->Delete())
            ShowWork();
        break;
    case IDOK: {
        const EnvironmentPlan plan = work_->Plan(host_.Environments());
        CloseSettings();
        Hide();
        work_.reset();
        host_.ApplyEnvironments(plan);
        break;
    }
    case IDCANCEL:
        CloseSettings();
        Hide();
        work_.reset();
        break;
    default:
        break;
    }
}

void EnvironmentSelectionDialog::OpenSettings(bool adding) {
    if (!(adding ? work_->BeginAdd() : work_->BeginChange()))
        return;
    CloseSettings();
    settings_ = std::make_unique<EnvironmentSettingsDialog>(host_, [this](const std::u16string& name, bool show) {
        if (!work_)
            return;
        work_->ChangeOrAdd(name, show);
        ShowWork();
        SetFocus(Item(IDC_SETLIST));
    });
    settings_->Open(Handle(), adding, work_->Slot(work_->WorkSel()));
}

void EnvironmentSelectionDialog::CloseSettings() {
    if (settings_)
        settings_->Destroy();
}

void EnvironmentSelectionDialog::OnHelpRequest() {
    host_.ShowHelp(kHelpEnvironments);
}

INT_PTR EnvironmentSelectionDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && Settings()) {
        // The settings dialog stays above its owner; raised once the activation has settled.
        PostMessageW(Handle(), kMsgRaiseSettings, 0, 0);
        return FALSE;
    }
    if (message == kMsgRaiseSettings) {
        if (EnvironmentSettingsDialog* settings = Settings(); settings && IsWindowVisible(Handle()))
            SetForegroundWindow(settings->Handle());
        return TRUE;
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

void EnvironmentSelectionDialog::OnDestroy() {
    CloseSettings();
    host_.DialogDestroyed(FromHwnd(Handle()));
}

} // namespace vantrel::win
