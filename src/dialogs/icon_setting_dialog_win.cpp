#include "dialogs/icon_setting_dialog_win.h"

#include <commctrl.h>

#include <algorithm>

#include "dialogs/dialog_ids.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/help_topics.h"
#include "dialogs/icon_grid_access.h"
#include "dialogs/icon_strip_win.h"
#include "dialogs/shell_files_win.h"
#include "services/grid.h"
#include "services/grid_colours_win.h"
#include "services/os_text.h"
#include "services/placement_win.h"
#include "services/system_win.h"
#include "win/accessible_grid_win.h"
#include "win/controls_win.h"
#include "win/strings_win.h"

namespace vantrel::win {

namespace {

constexpr UINT_PTR kEditSubclass = 1;
// Posted to itself when the dialog moved to a screen of another scale, once the system has scaled its controls.
constexpr UINT kMsgPlaceStrip = WM_APP + 1;
constexpr char16_t kIconFilter[] = u"Icon file(*.exe,*.dll,*.ico)|*.exe;*.dll;*.ico|All file(*.*)|*.*";
constexpr char16_t kExeFilter[] = u"Execute file(*.exe)|*.exe|All file(*.*)|*.*";

constexpr int kEnterEdits[] = {IDC_TITLEEDIT, IDC_ICONEDIT, IDC_EXEEDIT, IDC_ARGUMENTEDIT, IDC_DIRECTORYEDIT};
constexpr int kMeiryoEdits[] = {IDC_TITLEEDIT, IDC_EXEEDIT, IDC_ICONEDIT, IDC_ARGUMENTEDIT, IDC_DIRECTORYEDIT};

void FocusControl(HWND dialog, int id) {
    // Through the dialog manager, so that the default button follows the focus.
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

bool FileExists(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(WidePtr(path));
    return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

// ---- Icon setting -------------------------------------------------------------------------------------------

IconSettingDialog::IconSettingDialog(DialogHost& host, std::function<void(int32_t)> applied)
    : host_(host), applied_(std::move(applied)) {}

IconSettingDialog::~IconSettingDialog() {
    Destroy();
}

bool IconSettingDialog::Open(HWND owner, int32_t tray, int32_t index, bool writeFlag,
                             const DialogPlacement& placement) {
    if (!IsValidCell(host_.Trays(), tray, index) || tray == TaskTray)
        return false;
    if (!Prepare(owner))
        return false;
    host_.DialogCreated(DialogKind::IconSetting, FromHwnd(Handle()));
    target_ = TargetOf(host_.Trays(), tray, index);
    writeFlag_ = writeFlag;
    const RData& item = target_.item;
    const bool us = host_.IconFlags().UsKeyboardFlag;

    strip_.Index = item.IconIndex;
    iconNameKeep_ = item.IconFileName;
    SetItemText(Handle(), IDC_ICONEDIT, item.IconFileName);
    SetItemText(Handle(), IDC_TITLEEDIT, item.Title);
    origin_.directKey = (item.Status >> 8) & 0xFF;
    const DirectKeyShown shown = ShowDirectKey(origin_.directKey, us);
    SetItemText(Handle(), IDC_DIRECTEDIT, shown.text);
    SetChecked(Handle(), IDC_SHIFTCHECK, shown.shift);
    directoryNameKeep_ = item.DirectoryName;
    SetItemText(Handle(), IDC_DIRECTORYEDIT, item.DirectoryName);
    SetItemText(Handle(), IDC_ARGUMENTEDIT, item.ArgumentName);
    LoadStrip(item.IconFileName);

    const bool candidate = IsRunasCandidate(item);
    EnableItem(Handle(), IDC_RUNASCHECK, candidate);
    SetChecked(Handle(), IDC_RUNASCHECK, candidate && item.RunasFlag);
    const bool builtIn = (item.Status & StatusSystem) != 0;
    for (int id : {IDC_EXELABEL, IDC_EXEEDIT, IDC_EXEBROWSE})
        EnableItem(Handle(), id, !builtIn);
    if (!builtIn) {
        exeNameKeep_ = item.ExeFileName;
        SetItemText(Handle(), IDC_EXEEDIT, item.ExeFileName);
    }

    PlaceAndShow(Handle(), placement);
    FocusControl(Handle(), IDC_DIRECTEDIT);
    return true;
}

bool IconSettingDialog::Prepare(HWND owner) {
    return CreateModeless(IDD_ICON_SETTING, owner);
}

bool IconSettingDialog::OnInitDialog() {
    // The strip sits where the template leaves room for it, in the tab order after the icon file's Browse button.
    stripWindow_ = std::make_unique<IconStripWindow>(*this);
    if (stripWindow_->Make(Handle(), RECT{0, 0, 0, 0})) {
        SetWindowPos(stripWindow_->Handle(), Item(IDC_ICONLABEL), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        PlaceStrip();
    }

    for (int id : kEnterEdits)
        SetWindowSubclass(Item(id), &IconSettingDialog::EditProc, kEditSubclass, reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(Item(IDC_DIRECTEDIT), &IconSettingDialog::EditProc, kEditSubclass,
                      reinterpret_cast<DWORD_PTR>(this));

    if (host_.IconFlags().MeiryoFlag) {
        LOGFONTW font{};
        if (const auto current = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)))
            GetObjectW(current, sizeof(font), &font);
        wcscpy(font.lfFaceName, L"Meiryo UI");
        meiryoFont_.Reset(CreateFontIndirectW(&font));
        for (int id : kMeiryoEdits)
            SendDlgItemMessageW(Handle(), id, WM_SETFONT, reinterpret_cast<WPARAM>(meiryoFont_.Get()), FALSE);
    }
    return false;
}

void IconSettingDialog::PlaceStrip() {
    // As wide as ten icons at the dialog's scale (the template is laid out for it), under the label's text.
    RECT browse{};
    RECT label{};
    GetWindowRect(Item(IDC_BROWSE), &browse);
    GetWindowRect(Item(IDC_ICONLABEL), &label);
    RECT strip{label.left, label.bottom, browse.right, label.bottom + strip_.BoxHeight()};
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&strip), 2);
    SetWindowPos(stripWindow_->Handle(), nullptr, strip.left, strip.top, strip.right - strip.left,
                 strip.bottom - strip.top, SWP_NOZORDER | SWP_NOACTIVATE);
    stripWindow_->Refresh();
}

INT_PTR IconSettingDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DPICHANGED:
        // The system moves the dialog where it suggests and scales its controls from the template (the default
        // handling, so FALSE); the strip is the program's own and follows once that is done: its cells, icons and
        // scroll bar at the new scale.
        PostMessageW(Handle(), kMsgPlaceStrip, 0, 0);
        return FALSE;
    case kMsgPlaceStrip:
        if (stripWindow_ && stripWindow_->Handle())
            PlaceStrip();
        return TRUE;
    default:
        return Dialog::OnMessage(message, wParam, lParam);
    }
}

LRESULT CALLBACK IconSettingDialog::EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR data) {
    auto* self = reinterpret_cast<IconSettingDialog*>(data);
    LRESULT result = 0;
    if (message == WM_GETDLGCODE && lParam) {
        // Enter belongs to the edit (it accepts what was typed there), not to the default button.
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
            return DefSubclassProc(edit, message, wParam, lParam) | DLGC_WANTALLKEYS;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(edit, &IconSettingDialog::EditProc, kEditSubclass);
    else if (self->OnEditMessage(edit, message, wParam, result))
        return result;
    return DefSubclassProc(edit, message, wParam, lParam);
}

bool IconSettingDialog::OnEditMessage(HWND edit, UINT message, WPARAM wParam, LRESULT& result) {
    result = 0;
    const int id = GetDlgCtrlID(edit);
    if (id == IDC_DIRECTEDIT) {
        switch (message) {
        case WM_CHAR:
            DirectKeyPressed(static_cast<char16_t>(wParam));
            return true;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: // F10 comes this way
            if (const auto name =
                    DirectEditFunctionKey(static_cast<int32_t>(wParam), IsChecked(Handle(), IDC_SHIFTCHECK))) {
                SetItemText(Handle(), IDC_DIRECTEDIT, *name);
                directEdited_ = true;
                FocusControl(Handle(), IDOK);
                return true;
            }
            if (message == WM_KEYDOWN && wParam == VK_DELETE) {
                SetItemText(Handle(), IDC_DIRECTEDIT, u"");
                directEdited_ = true;
                return true;
            }
            return false;
        case WM_SYSCHAR:
            // Alt+F10's character would beep; the key itself was taken above.
            return false;
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
        case WM_CONTEXTMENU:
            // The edit holds one key, set only by the keys above.
            return true;
        default:
            return false;
        }
    }
    if (message == WM_CHAR && (wParam == L'\r' || wParam == L'\n')) {
        if (wParam == L'\r')
            EnterIn(id);
        return true;
    }
    return false;
}

void IconSettingDialog::DirectKeyPressed(char16_t c) {
    const IconDialogFlags flags = host_.IconFlags();
    const bool shift = IsChecked(Handle(), IDC_SHIFTCHECK);
    const DirectKeyTyped typed =
        DirectEditKeyPress(c, shift, host_.CurrentOption().KeyNumberFlag, flags.UsKeyboardFlag);
    if (typed.textChanged) {
        SetItemText(Handle(), IDC_DIRECTEDIT, typed.text);
        SendDlgItemMessageW(Handle(), IDC_DIRECTEDIT, EM_SETSEL, typed.text.size(), typed.text.size());
        directEdited_ = true;
    }
    if (typed.refused)
        Warn(DirectKeyRefusedText(std::u16string(1, ShiftedDigitChar(c, flags.UsKeyboardFlag))));
    if (typed.focusOk)
        FocusControl(Handle(), IDOK);
}

void IconSettingDialog::EnterIn(int id) {
    const std::u16string text = ItemText(Handle(), id);
    switch (id) {
    case IDC_ICONEDIT:
        if (!FileExists(text)) {
            SetItemText(Handle(), IDC_ICONEDIT, iconNameKeep_);
            Warn(kFileDoesNotExistText);
            return;
        }
        LoadStrip(text);
        strip_.Index = stripIcons_.substitute ? -1 : 0;
        iconNameKeep_ = text;
        stripWindow_->Refresh();
        break;
    case IDC_EXEEDIT:
        if (!FileExists(text)) {
            SetItemText(Handle(), IDC_EXEEDIT, exeNameKeep_);
            Warn(kFileDoesNotExistText);
            return;
        }
        exeNameKeep_ = text;
        break;
    case IDC_DIRECTORYEDIT:
        if (!FolderExists(text)) {
            SetItemText(Handle(), IDC_DIRECTORYEDIT, directoryNameKeep_);
            Warn(kFolderDoesNotExistText);
            return;
        }
        directoryNameKeep_ = text;
        break;
    default:
        break;
    }
    FocusControl(Handle(), IDOK);
}

void IconSettingDialog::ShiftClicked() {
    const std::u16string text = ItemText(Handle(), IDC_DIRECTEDIT);
    if (text.empty())
        return;
    const bool checked = IsChecked(Handle(), IDC_SHIFTCHECK);
    const auto toggled = ShiftToggled(text, checked, host_.IconFlags().UsKeyboardFlag);
    if (!toggled) {
        SetChecked(Handle(), IDC_SHIFTCHECK, !checked);
        Warn(DirectKeyRefusedText(u"Shift+" + text));
        return;
    }
    SetItemText(Handle(), IDC_DIRECTEDIT, *toggled);
    directEdited_ = true;
    FocusControl(Handle(), IDOK);
}

void IconSettingDialog::LoadStrip(const std::u16string& path) {
    LoadIconList(stripIcons_, path, target_.item.Status & 0xFF, strip_.Index, host_.Icons());
    strip_.cells = static_cast<int32_t>(stripIcons_.icons.size());
    if (stripWindow_ && stripWindow_->Handle())
        stripWindow_->Refresh();
}

void IconSettingDialog::StripPicked() {
    InvalidateRect(stripWindow_->Handle(), nullptr, TRUE);
    stripWindow_->AnnouncePick();
    FocusControl(Handle(), IDOK);
}

void IconSettingDialog::BrowseIcon() {
    std::u16string proposed = ItemText(Handle(), IDC_ICONEDIT);
    if (IsDriveRoot(proposed))
        proposed += u"drive";
    const auto file =
        AskOpenFile({Handle(), u"Icon file", kIconFilter, proposed, true}, [this](bool open) { ModalBox(open); });
    if (!file)
        return;
    if (!FileExists(*file)) {
        Warn(kFileDoesNotExistText);
        return;
    }
    LoadStrip(*file);
    strip_.Index = stripIcons_.substitute ? -1 : 0;
    SetItemText(Handle(), IDC_ICONEDIT, *file);
    iconNameKeep_ = *file;
    stripWindow_->Refresh();
    FocusControl(Handle(), IDOK);
}

void IconSettingDialog::BrowseExe() {
    const auto file = AskOpenFile({Handle(), u"Execute file", kExeFilter, ItemText(Handle(), IDC_EXEEDIT), true},
                                  [this](bool open) { ModalBox(open); });
    if (!file)
        return;
    if (!FileExists(*file)) {
        Warn(kFileDoesNotExistText);
        return;
    }
    SetItemText(Handle(), IDC_EXEEDIT, *file);
    exeNameKeep_ = *file;
    EnableItem(Handle(), IDC_RUNASCHECK, IsRunnableFile(*file));
    FocusControl(Handle(), IDOK);
}

void IconSettingDialog::Warn(const std::u16string& text) {
    host_.ShowMessage(FromHwnd(Handle()), text, MessageKind::Warning);
}

void IconSettingDialog::ModalBox(bool open) {
    if (open)
        host_.BeginModal();
    else
        host_.EndModal();
}

void IconSettingDialog::Accept() {
    IconSettingValues values;
    values.direct = ItemText(Handle(), IDC_DIRECTEDIT);
    values.directEdited = directEdited_;
    values.title = ItemText(Handle(), IDC_TITLEEDIT);
    values.iconFile = ItemText(Handle(), IDC_ICONEDIT);
    values.exeFile = ItemText(Handle(), IDC_EXEEDIT);
    values.arguments = ItemText(Handle(), IDC_ARGUMENTEDIT);
    values.directory = ItemText(Handle(), IDC_DIRECTORYEDIT);
    values.runas = IsChecked(Handle(), IDC_RUNASCHECK);
    values.index = strip_.Index;
    const bool us = host_.IconFlags().UsKeyboardFlag;
    switch (CheckIconSetting(values, origin_, us)) {
    case IconSettingRefusal::BlankTitle:
        Warn(BlankTitleText());
        FocusControl(Handle(), IDC_TITLEEDIT);
        return;
    case IconSettingRefusal::DirectKey:
        Warn(DirectKeyRefusedText(values.direct));
        FocusControl(Handle(), IDC_DIRECTEDIT);
        return;
    case IconSettingRefusal::None:
        break;
    }
    ItemList& list = host_.Trays()[static_cast<std::size_t>(target_.tray)].Items;
    const auto at = LocateItem(list, target_);
    if (!at) {
        Warn(ItemGoneText(false));
        Close();
        return;
    }
    ApplyIconSetting(list[static_cast<std::size_t>(*at)], values, origin_, us, host_.Icons());
    if (writeFlag_)
        host_.SaveTrays(false);
    const int32_t tray = target_.tray;
    const auto applied = applied_;
    Close();
    if (applied)
        applied(tray);
}

void IconSettingDialog::Close() {
    Destroy();
}

void IconSettingDialog::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDOK:
        Accept();
        break;
    case IDCANCEL:
        Close();
        break;
    case IDC_SHIFTCHECK:
        if (code == BN_CLICKED)
            ShiftClicked();
        break;
    case IDC_BROWSE:
        BrowseIcon();
        break;
    case IDC_EXEBROWSE:
        BrowseExe();
        break;
    default:
        break;
    }
}

void IconSettingDialog::OnHelpRequest() {
    host_.ShowHelp(kHelpIconSetting);
}

void IconSettingDialog::OnDestroy() {
    host_.DialogDestroyed(FromHwnd(Handle()));
    // Of the strip's icons only those in view stay, for the next opening on the same file.
    KeepIconsInView(stripIcons_, stripWindow_ && stripWindow_->Handle() ? stripWindow_->FirstCellInView() : 0);
}

} // namespace vantrel::win
