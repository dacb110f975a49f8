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
#include "dialogs/shell_files_win.h"
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
constexpr char16_t kAddFilter[] = u"Execute file(*.exe)|*.exe|All file(*.*)|*.*";

int PageOf(int32_t tray) {
    return tray == SystemTray ? 1 : 0;
}

void Move(HWND dialog, int id, const BoxBounds& at) {
    SetWindowPos(GetDlgItem(dialog, id), nullptr, at.left, at.top, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<std::u16string> DroppedFiles(HDROP drop) {
    std::vector<std::u16string> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        name.resize(DragQueryFileW(drop, i, name.data(), length + 1));
        if (!name.empty())
            files.push_back(FromWide(name));
    }
    return files;
}

} // namespace

// ---- One page's grid ----------------------------------------------------------------------------------------

class RegistrationDialog::GridWindow : public Window {
public:
    GridWindow(RegistrationDialog& dialog, int32_t tray) : dialog_(dialog), tray_(tray), access_(dialog, tray) {}
    ~GridWindow() override { accessHost_.Detach(); }

    bool Make(HWND parent) {
        if (!Create(L"VantrelRegistrationGrid", tray_ == ProgramTray ? L"Program" : L"System",
                    WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0, 0, 0, 0, parent))
            return false;
        SetWindowLongPtrW(Handle(), GWLP_ID, tray_ == ProgramTray ? IDC_PROGRAMGRID : IDC_SYSTEMGRID);
        accessHost_.Attach(Handle());
        return true;
    }

    // The cursor moved (or, with `force`, the grid came into view): a screen reader hears the cell.
    void AnnounceFocus(bool force) { accessHost_.AnnounceFocus(force); }
    // Items moved, came or went: listeners read the list again.
    void AnnounceReorder() { accessHost_.AnnounceReorder(); }

private:
    static POINT ClientPoint(LPARAM lParam) {
        return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    }

    void Paint() {
        PaintDc paint(Handle());
        RECT client{};
        GetClientRect(Handle(), &client);
        const SIZE size{client.right, client.bottom};
        BackBuffer& buffer = dialog_.buffer_;
        if (buffer.Size().cx < size.cx || buffer.Size().cy < size.cy)
            buffer.Resize({std::max(buffer.Size().cx, size.cx), std::max(buffer.Size().cy, size.cy)});
        if (!buffer.Ready()) {
            dialog_.PaintGrid(paint.Get(), tray_, size);
            return;
        }
        dialog_.PaintGrid(buffer.Dc(), tray_, size);
        buffer.CopyTo(paint.Get(), client);
    }

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (const auto answer = accessHost_.OnWindowMessage(message, wParam, lParam))
            return *answer;
        switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            SetFocus(Handle());
            dialog_.GridMouseDown(tray_, ClientPoint(lParam));
            return 0;
        case WM_MOUSEMOVE:
            dialog_.GridMouseMove(tray_, ClientPoint(lParam));
            return 0;
        case WM_LBUTTONUP:
            dialog_.GridMouseUp(tray_);
            return 0;
        case WM_CAPTURECHANGED:
            // The capture went elsewhere (another window came up): the drag ends where the item is now.
            if (dialog_.dragging_ && reinterpret_cast<HWND>(lParam) != Handle())
                dialog_.EndDrag(false);
            return 0;
        case WM_RBUTTONDOWN: {
            SetFocus(Handle());
            POINT screen = ClientPoint(lParam);
            ClientToScreen(Handle(), &screen);
            dialog_.GridRightClick(tray_, ClientPoint(lParam), screen);
            return 0;
        }
        case WM_RBUTTONUP:
            // The menu came on the press; the release must not bring a second one.
            return 0;
        case WM_CONTEXTMENU: {
            // From the keyboard (the menu key, Shift+F10): at the selected cell.
            const ScreenPoint cell =
                CellOrigin(dialog_.selNow_, EffectiveColumns(dialog_.host_.CurrentOption().ColMax), dialog_.metrics_);
            POINT screen{cell.x + dialog_.metrics_.pitch / 2, cell.y + dialog_.metrics_.pitch / 2};
            ClientToScreen(Handle(), &screen);
            dialog_.OpenMenu(tray_, dialog_.selNow_, screen);
            return 0;
        }
        case WM_GETDLGCODE:
            // The arrows move the cursor; during a drag every key is the grid's (Escape cancels the drag).
            return DLGC_WANTARROWS | (dialog_.dragging_ ? DLGC_WANTALLKEYS : 0);
        case WM_KEYDOWN:
            dialog_.GridKey(tray_, wParam, GetKeyState(VK_CONTROL) < 0);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(Handle(), nullptr, FALSE);
            return 0;
        default:
            return DefaultProc(message, wParam, lParam);
        }
    }

    RegistrationDialog& dialog_;
    int32_t tray_;
    TrayGridAccess access_;
    AccessibleGridHost accessHost_{access_};
};

// ---- Files dragged from the shell -----------------------------------------------------------------------------
// The shell drags files with OLE: a window that only declares it accepts files (WM_DROPFILES) gets nothing from
// another program under Wine, so the dialog is a registered drop target too.

class RegistrationDialog::DropTarget : public IDropTarget {
public:
    explicit DropTarget(RegistrationDialog* dialog) : dialog_(dialog) {}
    void Detach() { dialog_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
            *out = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        files_ = data && data->QueryGetData(&format) == S_OK;
        *effect = Effect();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = Effect();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        files_ = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL at, DWORD* effect) override {
        *effect = DROPEFFECT_NONE;
        files_ = false;
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        if (!dialog_ || !data || FAILED(data->GetData(&format, &medium)))
            return S_OK;
        const std::vector<std::u16string> files = DroppedFiles(static_cast<HDROP>(medium.hGlobal));
        ReleaseStgMedium(&medium);
        *effect = DROPEFFECT_COPY;
        // The source waits for this call to return: the messages the drop may show come after it.
        dialog_->DropFiles({at.x, at.y}, files);
        return S_OK;
    }

private:
    DWORD Effect() const {
        if (!files_ || !dialog_ || TrayFull(dialog_->List(dialog_->CurrentTray())))
            return DROPEFFECT_NONE;
        return DROPEFFECT_COPY;
    }

    virtual ~DropTarget() = default;
    RegistrationDialog* dialog_;
    LONG references_ = 1;
    bool files_ = false;
};

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

void RegistrationDialog::Open() {
    if (!Handle()) {
        if (!CreateModeless(IDD_REGISTRATION, nullptr))
            return;
        host_.DialogCreated(DialogKind::Registration, FromHwnd(Handle()));
    }
    CopyList(keepProgramList_, List(ProgramTray));
    CopyList(keepSystemList_, List(SystemTray));
    if (!IsVisible())
        FormShow();
    ShowInFront();
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

    const IconDialogFlags flags = host_.IconFlags();
    nameFont_.Reset(CreateFontW(-kNameFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                flags.MeiryoFlag ? L"Meiryo UI" : L"Segoe UI"));
    SendDlgItemMessageW(Handle(), IDC_NAMELABEL2, WM_SETFONT, reinterpret_cast<WPARAM>(nameFont_.Get()), FALSE);

    gripCursor_ = LoadCursorW(GetModuleHandleW(nullptr), L"GRIPCURSOR");
    if (!gripCursor_)
        gripCursor_ = LoadCursorW(nullptr, IDC_SIZEALL);

    DragAcceptFiles(Handle(), TRUE);
    dropTarget_ = new DropTarget(this);
    // Needs OLE on this thread; without it only the files the system posts as WM_DROPFILES arrive.
    if (FAILED(RegisterDragDrop(Handle(), dropTarget_))) {
        dropTarget_->Release();
        dropTarget_ = nullptr;
    }
    return true;
}

void RegistrationDialog::ReadColours() {
    systemColours_ = ReadSystemColours();
    highContrast_ = ReadHighContrast();
}

void RegistrationDialog::FormShow() {
    okFlag_ = false;
    ReadColours();
    dragging_ = false;
    host_.SyncDriveItems();
    Arrange();
    PlaceWindowAtCursor(Handle());
    const int32_t colMax = host_.CurrentOption().ColMax;
    SelectComboLine(Handle(), IDC_WIDTHCOMBO, colMax - kRegistrationMinColumns);
    colMaxKeep_ = colMax;
    RepaintGrids();
    ShowName(CurrentTray(), selNow_);
}

void RegistrationDialog::Close() {
    if (dragging_)
        EndDrag(false);
    CloseChildren();
    if (!okFlag_) {
        // Everything since the opening goes: the drives added on show and what the child dialogs changed too.
        CopyList(List(ProgramTray), keepProgramList_);
        CopyList(List(SystemTray), keepSystemList_);
        host_.SetColumns(colMaxKeep_);
    }
    FreeItems(keepProgramList_);
    FreeItems(keepSystemList_);
    Hide();
}

void RegistrationDialog::CloseChildren() {
    setting_.reset();
    deleter_.reset();
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
    const ArrangeOutcome outcome = ArrangeControls(arrangement_, in);
    const RegistrationLayout& layout = arrangement_.layout;

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

void RegistrationDialog::RepaintGrids() {
    RepaintGrid(ProgramTray);
    RepaintGrid(SystemTray);
}

void RegistrationDialog::RepaintGrid(int32_t tray) {
    if (const HWND grid = Grid(tray)) {
        InvalidateRect(grid, nullptr, FALSE);
        UpdateWindow(grid);
    }
}

void RegistrationDialog::PaintGrid(HDC dc, int32_t tray, SIZE size) {
    const IconDialogFlags flags = host_.IconFlags();
    const TOption& option = host_.CurrentOption();
    const int32_t columns = EffectiveColumns(option.ColMax);
    const GridColours colours = ChooseGridColours(highContrast_, systemColours_, option);
    ClearControl(dc, size.cx, size.cy, colours.background);
    const CellPaintContext context{&host_.Trays(),     &option,      columns, flags.UsKeyboardFlag,
                                   flags.CdPlayerFlag, flags.CdMode, colours, metrics_};
    const POINT box{0, 0};
    const ItemList& list = List(tray);
    const int32_t used = InsertPosition(list);
    painter_.DrawTray(dc, box, context, tray);
    for (int32_t i = used; i < static_cast<int32_t>(list.size()); ++i) {
        painter_.DrawCell(dc, box, context, tray, i, kCellNormal);
        painter_.DrawNotUsedMark(dc, box, context, i);
    }
    if (IsValidCell(host_.Trays(), tray, selNow_)) {
        painter_.DrawCell(dc, box, context, tray, selNow_, kCellCursor);
        if (selNow_ >= used)
            painter_.DrawNotUsedMark(dc, box, context, selNow_);
    }
    if (dragging_ && tray == dragTray_)
        painter_.DrawCell(dc, box, context, tray, dragPosition_, kCellCursorBlack);
    if (GetFocus() == Grid(tray) && IsValidCell(host_.Trays(), tray, selNow_)) {
        const ScreenPoint cell = CellOrigin(selNow_, columns, metrics_);
        const RECT focus{cell.x - 1, cell.y - 1, cell.x + metrics_.pitch - 1, cell.y + metrics_.pitch - 1};
        DrawFocusRect(dc, &focus);
    }
    DrawSunkenFrame(dc, 0, 0, size.cx, size.cy, colours);
    ++gridPaints_;
}

void RegistrationDialog::ShowName(int32_t tray, int32_t index) {
    if (IsValidCell(host_.Trays(), tray, index))
        SetItemText(Handle(), IDC_NAMELABEL2, List(tray)[static_cast<std::size_t>(index)].Title);
    // Every move of the cursor ends here: a screen reader hears the cell.
    if (const auto& grid = grids_[static_cast<std::size_t>(PageOf(tray))])
        grid->AnnounceFocus(false);
}

const ItemList& RegistrationDialog::GridItems(int32_t tray) const {
    return host_.Trays()[static_cast<std::size_t>(tray == SystemTray ? SystemTray : ProgramTray)].Items;
}

bool RegistrationDialog::GridShowing(int32_t tray) const {
    return Handle() && IsWindowVisible(Handle()) && CurrentTray() == tray;
}

int32_t RegistrationDialog::GridColumns() const {
    return EffectiveColumns(host_.CurrentOption().ColMax);
}

BoxBounds RegistrationDialog::GridArea(int32_t tray) const {
    RECT client{};
    if (const HWND grid = Grid(tray))
        GetClientRect(grid, &client);
    return {0, 0, client.right, client.bottom};
}

bool RegistrationDialog::SelectGridCell(int32_t tray, int32_t index) {
    // As pointing does: not during a drag, nor while a child dialog works on the item under the cursor.
    if (dragging_ || ChildVisible() || !IsValidCell(host_.Trays(), tray, index))
        return false;
    selNow_ = index;
    RepaintGrid(tray);
    ShowName(tray, index);
    return true;
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

int32_t RegistrationDialog::CellAtPoint(int32_t, POINT client) const {
    return CellAt(client.x, client.y, metrics_.pitch, EffectiveColumns(host_.CurrentOption().ColMax));
}

bool RegistrationDialog::ChildVisible() const {
    return (Setting() && Setting()->IsVisible()) || (Deleter() && Deleter()->IsVisible());
}

HCURSOR RegistrationDialog::DragCursor(bool accepted) const {
    return accepted ? gripCursor_ : LoadCursorW(nullptr, IDC_NO);
}

void RegistrationDialog::GridMouseDown(int32_t tray, POINT client) {
    const int32_t index = CellAtPoint(tray, client);
    if (dragging_ || !CanStartDrag(List(tray), index))
        return;
    dragging_ = true;
    dragTray_ = tray;
    dragPosition_ = index;
    dragStart_ = index;
    SetCapture(Grid(tray));
    SetCursor(DragCursor(true));
    RepaintGrid(tray);
}

void RegistrationDialog::GridMouseMove(int32_t tray, POINT client) {
    RECT area{};
    GetClientRect(Grid(tray), &area);
    const bool inside = PtInRect(&area, client) != FALSE;
    if (dragging_) {
        // Off the grid nothing can be dropped.
        const int32_t index = inside && tray == dragTray_ ? CellAtPoint(tray, client) : -1;
        const DragStep step = DragOverCell(List(dragTray_), dragPosition_, index);
        SetCursor(DragCursor(step.accepted));
        if (step.moved) {
            selNow_ = dragPosition_;
            RepaintGrid(dragTray_);
            grids_[static_cast<std::size_t>(PageOf(dragTray_))]->AnnounceReorder();
            ShowName(dragTray_, selNow_);
        }
        return;
    }
    // While a child dialog is up the cursor stays on the item it was opened for.
    if (!inside || ChildVisible())
        return;
    const int32_t index = CellAtPoint(tray, client);
    if (index >= static_cast<int32_t>(List(tray).size()) || index == selNow_)
        return;
    selNow_ = index;
    RepaintGrid(tray);
    ShowName(tray, index);
}

void RegistrationDialog::GridMouseUp(int32_t) {
    if (dragging_)
        EndDrag(false);
}

void RegistrationDialog::EndDrag(bool cancelled) {
    if (!dragging_)
        return;
    dragging_ = false; // first: releasing the capture reports back here
    if (cancelled && MoveItem(List(dragTray_), dragPosition_, dragStart_))
        selNow_ = dragStart_;
    if (GetCapture() == Grid(dragTray_))
        ReleaseCapture();
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    RepaintGrid(dragTray_);
    ShowName(dragTray_, selNow_);
}

void RegistrationDialog::GridRightClick(int32_t tray, POINT client, POINT screen) {
    if (dragging_)
        return;
    OpenMenu(tray, CellAtPoint(tray, client), screen);
}

void RegistrationDialog::GridKey(int32_t tray, WPARAM key, bool ctrl) {
    if (dragging_) {
        if (key == VK_ESCAPE)
            EndDrag(true);
        return;
    }
    ItemList& list = List(tray);
    const auto count = static_cast<int32_t>(list.size());
    if (key == VK_DELETE) {
        if (IsValidCell(host_.Trays(), tray, selNow_))
            ThirdCommandClicked();
        return;
    }
    const int32_t columns = EffectiveColumns(host_.CurrentOption().ColMax);
    int32_t step = 0;
    switch (key) {
    case VK_LEFT:
        step = -1;
        break;
    case VK_RIGHT:
        step = 1;
        break;
    case VK_UP:
        step = -columns;
        break;
    case VK_DOWN:
        step = columns;
        break;
    default:
        return;
    }
    if (count == 0)
        return;
    const int32_t from = std::clamp(selNow_, 0, count - 1);
    const int32_t to = std::clamp(from + step, 0, count - 1);
    // Ctrl with an arrow moves the item itself, as a drag does: among the used items only.
    if (ctrl) {
        int32_t position = from;
        if (!CanStartDrag(list, from) || !DragOverCell(list, position, to).moved)
            return;
    }
    selNow_ = to;
    RepaintGrid(tray);
    ShowName(tray, to);
}

void RegistrationDialog::OpenMenu(int32_t tray, int32_t index, POINT screen) {
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
    setting_.reset();
    setting_ = std::make_unique<IconSettingDialog>(host_, [this](int32_t tray) { Redisp(tray); });
    if (!setting_->Open(Handle(), CurrentTray(), selNow_, false, {}))
        setting_.reset();
}

void RegistrationDialog::AddFile() {
    const int32_t tray = CurrentTray();
    const auto file =
        AskOpenFile({Handle(), u"Add file", kAddFilter, u"", false}, [this](bool open) { ModalBox(open); });
    if (file) {
        ItemList& list = List(tray);
        if (TrayFull(list)) {
            Warn(kNoMoreIconsText);
        } else if (host_.System().FileExists(*file)) {
            ShellShortcutResolver shortcuts(Handle(), [this](bool open) { ModalBox(open); });
            selNow_ = InsertFileItem(list, selNow_, MakeFileItem(*file, shortcuts, host_.System(), host_.Icons()));
            ShowName(tray, selNow_);
        } else {
            Warn(kFileDoesNotExistText);
        }
    }
    if (!IsWindow(Handle()))
        return;
    SetForegroundWindow(Handle());
    Arrange();
    RepaintGrid(tray);
}

void RegistrationDialog::ThirdCommandClicked() {
    const int32_t tray = CurrentTray();
    if (!IsValidCell(host_.Trays(), tray, selNow_))
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

void RegistrationDialog::DropFiles(POINT screen, const std::vector<std::u16string>& files) {
    const int32_t tray = CurrentTray();
    POINT client = screen;
    ScreenToClient(Grid(tray), &client);
    ShellShortcutResolver shortcuts(Handle(), [this](bool open) { ModalBox(open); });
    const DropOutcome outcome =
        AddDroppedFiles(List(tray), CellAtPoint(tray, client), files, shortcuts, host_.System(), host_.Icons());
    if (outcome.firstIndex >= 0)
        selNow_ = outcome.firstIndex;
    Arrange();
    RepaintGrid(tray);
    ShowName(tray, selNow_);
    SetForegroundWindow(Handle());
    if (outcome.full)
        Warn(kNoMoreIconsText);
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
    case WM_DROPFILES: {
        const auto drop = reinterpret_cast<HDROP>(wParam);
        POINT at{};
        DragQueryPoint(drop, &at);
        ClientToScreen(Handle(), &at);
        const std::vector<std::u16string> files = DroppedFiles(drop);
        DragFinish(drop);
        DropFiles(at, files);
        return TRUE;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        // High contrast switched on or off, or the scheme's colours changed: the grids follow at once.
        ReadColours();
        RepaintGrids();
        return FALSE;
    case WM_DPICHANGED: {
        // Moved to a screen of another scale: where the system suggests, then the cells and controls anew.
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
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
    if (dropTarget_) {
        RevokeDragDrop(Handle());
        dropTarget_->Detach();
        dropTarget_->Release();
        dropTarget_ = nullptr;
    }
    CloseChildren();
    host_.DialogDestroyed(FromHwnd(Handle()));
}

} // namespace vantrel::win
