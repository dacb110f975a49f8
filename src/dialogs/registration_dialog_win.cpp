#include "dialogs/registration_dialog_win.h"

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <algorithm>

#include "config/item_lists.h"
#include "dialogs/dialog_ids.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/help_topics.h"
#include "dialogs/icon_grid_access.h"
#include "dialogs/icon_setting_dialog_win.h"
#include "dialogs/registration_grid_win.h"
#include "grid/cell_paint.h"
#include "grid/cells.h"
#include "services/grid.h"
#include "services/grid_colours_win.h"
#include "services/placement_win.h"
#include "services/text.h"
#include "win/accessible_grid_win.h"
#include "win/controls_win.h"
#include "win/dpi_win.h"
#include "win/popup_menu_win.h"
#include "win/strings_win.h"
#include "win/window_win.h"

namespace vantrel::win {

namespace {

// Sent to the dialog after it was activated: its child dialogs come back to the front.
constexpr UINT kMsgRaiseChildren = WM_APP + 2;

constexpr int32_t kPages[2] = {ProgramTray, SystemTray};
constexpr int kNameLabelInsetX = 4;
constexpr int kNameLabelInsetY = 3;
constexpr int kNameFontHeight = 14;
constexpr int kComboDropHeight = 320;

void Move(HWND dialog, int id, const BoxBounds& at) {
    SetWindowPos(GetDlgItem(dialog, id), nullptr, at.left, at.top, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

// ---- The dialog -----------------------------------------------------------------------------------------------

RegistrationDialog::RegistrationDialog(DialogHost& host) : host_(host) {}

RegistrationDialog::~RegistrationDialog() {
    Destroy();
}

ItemList& RegistrationDialog::List(int32_t tray) {
    return host_.Trays()[static_cast<std::size_t>(tray == SystemTray ? SystemTray : ProgramTray)].Items;
}

int32_t RegistrationDialog::CurrentTray() const {
    if (!Handle())
        return ProgramTray;
    return TabCtrl_GetCurSel(Item(IDC_CFGPAGE)) == 1 ? SystemTray : ProgramTray;
}

HWND RegistrationDialog::Grid(int32_t tray) const {
    const auto& grid = grids_[static_cast<std::size_t>(PageOf(tray))];
    return grid ? grid->Handle() : nullptr;
}

IconSettingDialog* RegistrationDialog::Setting() const {
    return setting_ && setting_->Handle() ? setting_.get() : nullptr;
}

DeleteDialog* RegistrationDialog::Deleter() const {
    return deleter_ && deleter_->Handle() ? deleter_.get() : nullptr;
}

bool RegistrationDialog::Prepare() {
    if (Handle())
        return true;
    if (!CreateModeless(IDD_REGISTRATION, nullptr))
        return false;
    host_.DialogCreated(DialogKind::Registration, FromHwnd(Handle()));
    return true;
}

void RegistrationDialog::Open() {
    if (!Prepare())
        return;
    const int32_t file = host_.Environments().CurrentFileNumber();
    if (copies_.StartsVisit(file)) {
        copies_.Take(List(ProgramTray), List(SystemTray), host_.CurrentOption().ColMax, file);
        okFlag_ = false;
    }
    if (!IsVisible())
        FormShow();
    ShowInFront();
    PrepareSpareLater();
}

bool RegistrationDialog::OnInitDialog() {
    const HWND tab = Item(IDC_CFGPAGE);
    // The grids are the tab control's children, so that they lie on its pages and the dialog's keyboard
    // interface reaches into them.
    SetWindowLongPtrW(tab, GWL_EXSTYLE, GetWindowLongPtrW(tab, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    SetWindowLongPtrW(tab, GWL_STYLE, GetWindowLongPtrW(tab, GWL_STYLE) | WS_CLIPCHILDREN);
    const wchar_t* captions[2] = {L"Program", L"System"};
    for (int page = 0; page < 2; ++page) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(captions[page]);
        TabCtrl_InsertItem(tab, page, &item);
        grids_[static_cast<std::size_t>(page)] = std::make_unique<GridWindow>(*this, kPages[page]);
        grids_[static_cast<std::size_t>(page)]->Make(tab);
    }
    TabCtrl_SetCurSel(tab, 0);
    ShowWindow(Grid(ProgramTray), SW_SHOW);

    std::vector<std::u16string> columns;
    for (int32_t c = kRegistrationMinColumns; c <= kRegistrationMaxColumns; ++c)
        columns.push_back(DecimalText(c));
    SetComboLines(Handle(), IDC_WIDTHCOMBO, columns);

    UpdateNameFont(WindowScale(Handle()));

    gripCursor_ = LoadCursorW(GetModuleHandleW(nullptr), L"GRIPCURSOR");
    if (!gripCursor_)
        gripCursor_ = LoadCursorW(nullptr, IDC_SIZEALL);

    AcceptDrops();
    return true;
}

void RegistrationDialog::ReadColours() {
    theme_ = ReadSystemTheme();
}

void RegistrationDialog::FormShow() {
    ReadColours();
    dragging_ = false;
    host_.SyncDriveItems();
    Arrange();
    PlaceWindowAtCursor(Handle());
    SelectComboLine(Handle(), IDC_WIDTHCOMBO, host_.CurrentOption().ColMax - kRegistrationMinColumns);
    RepaintGrids();
    ShowName(CurrentTray(), selNow_);
}

void RegistrationDialog::Close() {
    if (dragging_)
        EndDrag(false);
    CloseChildren();
    drops_.clear();
    if (!okFlag_) {
        // Everything since the visit began goes: the drives added on show and what the child dialogs changed too.
        int32_t colMax = host_.CurrentOption().ColMax;
        copies_.PutBack(List(ProgramTray), List(SystemTray), colMax);
        host_.SetColumns(colMax);
    }
    copies_.End();
    Hide();
}

void RegistrationDialog::CloseChildren() {
    setting_.reset();
    deleter_.reset();
}

void RegistrationDialog::UpdateNameFont(DpiScale scale) {
    // 14 pixels at 96 dpi, at the scale of the screen the dialog is on, as the grids' cells are.
    if (nameFont_ && scale == nameFontScale_)
        return;
    nameFontScale_ = scale;
    nameFont_.Reset(CreateFontW(-scale.Px(kNameFontHeight), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                host_.IconFlags().MeiryoFlag ? L"Meiryo UI" : L"Segoe UI"));
    SendDlgItemMessageW(Handle(), IDC_NAMELABEL2, WM_SETFONT, reinterpret_cast<WPARAM>(nameFont_.Get()), TRUE);
}

void RegistrationDialog::Arrange() {
    RECT window{};
    GetWindowRect(Handle(), &window);
    ArrangeInputs in;
    in.colMax = host_.CurrentOption().ColMax;
    in.programCount = static_cast<int32_t>(List(ProgramTray).size());
    in.systemCount = static_cast<int32_t>(List(SystemTray).size());
    in.formTopLeft = {window.left, window.top};
    in.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    in.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    in.scale = WindowScale(Handle());
    metrics_ = CellMetricsFor(in.scale);
    UpdateNameFont(in.scale);
    const ArrangeOutcome outcome = ArrangeControls(arrangement_, in);
    const RegistrationLayout& layout = arrangement_.layout;
    // Each move is a round trip to the window system: an opening with the layout of the last one moves nothing.
    if (arranged_ && *arranged_ == layout && !outcome.left && !outcome.top) {
        for (const auto& grid : grids_)
            if (grid)
                grid->AnnounceReorder();
        return;
    }
    arranged_ = layout;

    RECT frame{0, 0, layout.ClientWidth(), layout.ClientHeight()};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    SetWindowPos(Handle(), nullptr, outcome.left.value_or(window.left), outcome.top.value_or(window.top),
                 frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);

    Move(Handle(), IDC_CFGPAGE, layout.page);
    Move(Handle(), IDC_NAMEPANEL, layout.namePanel);
    Move(Handle(), IDC_NAMELABEL2,
         {layout.namePanel.left + in.scale.Px(kNameLabelInsetX), layout.namePanel.top + in.scale.Px(kNameLabelInsetY),
          layout.namePanel.width - 2 * in.scale.Px(kNameLabelInsetX),
          layout.namePanel.height - 2 * in.scale.Px(kNameLabelInsetY)});
    Move(Handle(), IDC_WIDTHLABEL, layout.widthLabel);
    BoxBounds combo = layout.widthCombo;
    combo.height = in.scale.Px(kComboDropHeight);
    Move(Handle(), IDC_WIDTHCOMBO, combo);
    Move(Handle(), IDOK, layout.okButton);
    Move(Handle(), IDCANCEL, layout.cancelButton);

    RECT display{0, 0, layout.page.width, layout.page.height};
    TabCtrl_AdjustRect(Item(IDC_CFGPAGE), FALSE, &display);
    const int height = std::min<int>(layout.gridHeight, display.bottom - display.top);
    for (const auto& grid : grids_)
        if (grid) {
            SetWindowPos(grid->Handle(), nullptr, display.left, display.top, display.right - display.left, height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            // Laid out after items came, went or were hidden: listeners read the lists again.
            grid->AnnounceReorder();
        }
}

void RegistrationDialog::Redisp(int32_t tray) {
    if (!Handle())
        return;
    Arrange();
    RepaintGrid(tray);
    ShowName(CurrentTray(), selNow_);
}

void RegistrationDialog::PageChanged() {
    const int32_t tray = CurrentTray();
    ShowWindow(Grid(tray), SW_SHOW);
    ShowWindow(Grid(tray == ProgramTray ? SystemTray : ProgramTray), SW_HIDE);
    RepaintGrids();
    ShowName(tray, selNow_);
    grids_[static_cast<std::size_t>(PageOf(tray))]->AnnounceFocus(true);
}

void RegistrationDialog::ColumnsChanged() {
    const int line = SelectedComboLine(Handle(), IDC_WIDTHCOMBO);
    if (line < 0)
        return;
    const int32_t columns = line + kRegistrationMinColumns;
    if (columns == host_.CurrentOption().ColMax)
        return;
    host_.SetColumns(columns);
    Arrange();
    RepaintGrids();
}

bool RegistrationDialog::ChildVisible() const {
    return (Setting() && Setting()->IsVisible()) || (Deleter() && Deleter()->IsVisible());
}

bool RegistrationDialog::RaiseChild() {
    HWND child = nullptr;
    if (Setting() && Setting()->IsVisible())
        child = Setting()->Handle();
    else if (Deleter() && Deleter()->IsVisible())
        child = Deleter()->Handle();
    if (!child)
        return false;
    // Its caption flashes, as a modal dialog's does when its owner is clicked.
    SetForegroundWindow(child);
    FLASHWINFO flash{sizeof(flash), child, FLASHW_CAPTION, 3, 0};
    FlashWindowEx(&flash);
    return true;
}

void RegistrationDialog::OpenMenu(int32_t tray, int32_t index, POINT screen) {
    if (RaiseChild())
        return;
    const RegistrationMenu menu = ComposeRegistrationMenu(List(tray), index);
    selNow_ = menu.selNow;
    RepaintGrid(tray);
    ShowName(tray, selNow_);
    const std::vector<PopupItem> items{
        {static_cast<uint32_t>(kPmSetting), u"&Setting...", menu.settingEnabled},
        {},
        {static_cast<uint32_t>(kPmNew), u"&Add", menu.newEnabled},
        {},
        {static_cast<uint32_t>(kPmDelete), std::u16string(ThirdCommandCaption(menu.third)), menu.thirdEnabled},
    };
    const HWND self = Handle();
    const uint32_t chosen = TrackPopup(self, items, screen, TPM_LEFTALIGN | TPM_TOPALIGN);
    // The menu ran a message loop of its own: the dialog may have been hidden or the lists changed meanwhile.
    if (!IsWindow(self) || !IsVisible())
        return;
    switch (chosen) {
    case kPmSetting:
        OpenSetting();
        break;
    case kPmNew:
        AddFile();
        break;
    case kPmDelete:
        ThirdCommandClicked();
        break;
    default:
        break;
    }
}

void RegistrationDialog::OpenSetting() {
    IconStripIcons kept = setting_ ? setting_->TakeStripIcons() : IconStripIcons{};
    setting_.reset();
    // A new dialog for every opening, as ever; the one made ahead while this dialog was idle saves making its twenty
    // controls now, and the icons the last one showed save reading them again.
    setting_ = spareSetting_ ? std::move(spareSetting_)
                             : std::make_unique<IconSettingDialog>(host_, [this](int32_t tray) { Redisp(tray); });
    setting_->ReuseStripIcons(std::move(kept));
    if (!setting_->Open(Handle(), CurrentTray(), selNow_, false, {}))
        setting_.reset();
    PrepareSpareLater();
}

void RegistrationDialog::PrepareSpareLater() {
    if (!spareSetting_)
        SetTimer(Handle(), kSpareTimer, kSpareDelayMs, nullptr);
}

void RegistrationDialog::ThirdCommandClicked() {
    const int32_t tray = CurrentTray();
    if (RaiseChild() || !IsValidCell(host_.Trays(), tray, selNow_))
        return;
    ItemList& list = List(tray);
    if (ThirdCommandFor(list[static_cast<std::size_t>(selNow_)]) == ThirdCommand::Delete) {
        deleter_.reset();
        deleter_ = std::make_unique<DeleteDialog>(host_, [this](int32_t deleted) { Redisp(deleted); });
        RECT r{};
        GetWindowRect(Handle(), &r);
        const int32_t width = r.right - r.left;
        if (!deleter_->Open(Handle(), tray, selNow_, {BoxBounds{r.left, r.top, width, width}}))
            deleter_.reset();
    } else {
        ToggleUse(list, selNow_);
    }
    Arrange();
    RepaintGrid(tray);
    ShowName(tray, selNow_);
}

void RegistrationDialog::Warn(const std::u16string& text) {
    host_.ShowMessage(FromHwnd(Handle()), text, MessageKind::Warning);
}

void RegistrationDialog::ModalBox(bool open) {
    if (open)
        host_.BeginModal();
    else
        host_.EndModal();
}

void RegistrationDialog::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDOK:
        okFlag_ = true;
        host_.SaveTrays(true);
        Close();
        break;
    case IDCANCEL:
        Close();
        break;
    case IDC_WIDTHCOMBO:
        if (code == CBN_SELCHANGE)
            ColumnsChanged();
        break;
    default:
        break;
    }
}

void RegistrationDialog::OnHelpRequest() {
    host_.ShowHelp(kHelpRegistration);
}

bool RegistrationDialog::PreTranslate(MSG& msg) {
    if (Handle() && msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 &&
        (msg.hwnd == Handle() || IsChild(Handle(), msg.hwnd))) {
        const HWND tab = Item(IDC_CFGPAGE);
        TabCtrl_SetCurSel(tab, 1 - TabCtrl_GetCurSel(tab));
        PageChanged();
        return true;
    }
    return Dialog::PreTranslate(msg);
}

INT_PTR RegistrationDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_CFGPAGE && header->code == TCN_SELCHANGE)
            PageChanged();
        return FALSE;
    }
    case WM_DROPFILES:
        DropFilesMessage(reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case kMsgAddDropped:
        AddDropped();
        return TRUE;
    case WM_TIMER:
        if (wParam != kSpareTimer)
            return FALSE;
        KillTimer(Handle(), kSpareTimer);
        if (IsVisible() && !spareSetting_) {
            spareSetting_ = std::make_unique<IconSettingDialog>(host_, [this](int32_t tray) { Redisp(tray); });
            if (!spareSetting_->Prepare(Handle()))
                spareSetting_.reset();
        }
        return TRUE;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        // High contrast switched on or off, the apps made dark or light ("ImmersiveColorSet"), or the scheme's
        // colours changed: the grids follow at once.
        ReadColours();
        RepaintGrids();
        return FALSE;
    case WM_DPICHANGED: {
        // Moved to a screen of another scale: where the system suggests, then the cells and controls anew.
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        arranged_.reset(); // the suggested size is not the layout's
        Arrange();
        RepaintGrids();
        return TRUE;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && ChildVisible())
            PostMessageW(Handle(), kMsgRaiseChildren, 0, 0);
        return FALSE;
    case kMsgRaiseChildren:
        // The child dialogs stay above this one.
        if (IsWindowVisible(Handle())) {
            if (Setting() && Setting()->IsVisible())
                SetForegroundWindow(Setting()->Handle());
            if (Deleter() && Deleter()->IsVisible())
                SetForegroundWindow(Deleter()->Handle());
        }
        return TRUE;
    default:
        return Dialog::OnMessage(message, wParam, lParam);
    }
}

void RegistrationDialog::OnDestroy() {
    RevokeDrops();
    CloseChildren();
    spareSetting_.reset();
    host_.DialogDestroyed(FromHwnd(Handle()));
}

} // namespace vantrel::win
