#include "dialogs/registration_grid_win.h"

#include <algorithm>

#include "config/item_lists.h"
#include "dialogs/dialog_ids.h"
#include "dialogs/icon_setting_dialog_win.h"
#include "grid/cell_paint.h"
#include "grid/cells.h"
#include "services/grid.h"
#include "services/grid_colours_win.h"
#include "win/controls_win.h"

namespace vantrel::win {

// ---- One page's grid ----------------------------------------------------------------------------------------

bool RegistrationDialog::GridWindow::Make(HWND parent) {
    if (!Create(L"VantrelRegistrationGrid", tray_ == ProgramTray ? L"Program" : L"System",
                WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0, 0, 0, 0, parent))
        return false;
    SetWindowLongPtrW(Handle(), GWLP_ID, tray_ == ProgramTray ? IDC_PROGRAMGRID : IDC_SYSTEMGRID);
    accessHost_.Attach(Handle());
    return true;
}

POINT RegistrationDialog::GridWindow::ClientPoint(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

void RegistrationDialog::GridWindow::Paint() {
    PaintDc paint(Handle());
    RECT client{};
    GetClientRect(Handle(), &client);
    const SIZE size{client.right, client.bottom};
    GridPicture& picture = dialog_.pictures_[static_cast<std::size_t>(PageOf(tray_))];
    if (picture.buffer.Size().cx != size.cx || picture.buffer.Size().cy != size.cy) {
        picture.buffer.Resize(size);
        picture.key.reset();
    }
    if (!picture.buffer.Ready()) {
        dialog_.DrawCells(paint.Get(), tray_, size, nullptr);
    } else {
        dialog_.UpdatePicture(picture, tray_, size, paint.Area());
        picture.buffer.CopyTo(paint.Get(), paint.Area());
    }
    dialog_.DrawGridFocus(paint.Get(), tray_);
    ++dialog_.gridPaints_;
}

LRESULT RegistrationDialog::GridWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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

// ---- What the grids show and report -------------------------------------------------------------------------

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

void RegistrationDialog::RepaintCells(int32_t tray, int32_t first, int32_t last) {
    const HWND grid = Grid(tray);
    if (!grid)
        return;
    for (const ScreenRect& band :
         CellSpanBands(first, last, EffectiveColumns(host_.CurrentOption().ColMax), metrics_)) {
        const RECT r{band.left, band.top, band.right, band.bottom};
        InvalidateRect(grid, &r, FALSE);
    }
    UpdateWindow(grid);
}

void RegistrationDialog::UpdatePicture(GridPicture& picture, int32_t tray, SIZE size, const RECT& area) {
    const IconDialogFlags flags = host_.IconFlags();
    const TOption& option = host_.CurrentOption();
    const int32_t columns = EffectiveColumns(option.ColMax);
    TrayPictureKey key =
        PictureKeyFor(tray, host_.Trays()[static_cast<std::size_t>(tray)], option, columns, flags.UsKeyboardFlag,
                      flags.CdPlayerFlag, flags.CdMode, ChooseGridColours(theme_, option), metrics_, true);
    const int32_t cursor = IsValidCell(host_.Trays(), tray, selNow_) ? selNow_ : -1;
    const int32_t mark = dragging_ && tray == dragTray_ ? dragPosition_ : -1;
    if (!picture.key) {
        DrawCells(picture.buffer.Dc(), tray, size, nullptr);
    } else {
        std::vector<int32_t> changed = ChangedCells(*picture.key, key);
        // The cursor and the drag mark are states of a cell: the cells they left and reached.
        if (picture.cursor != cursor || picture.mark != mark)
            for (const int32_t cell : {picture.cursor, cursor, picture.mark, mark})
                if (cell >= 0)
                    changed.push_back(cell);
        std::sort(changed.begin(), changed.end());
        changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
        if (!changed.empty())
            DrawCells(picture.buffer.Dc(), tray, size, &changed);
        // A cell that changed outside the invalid part (an item replaced while the dialog was hidden) reaches the
        // screen with the next paint.
        for (const int32_t cell : changed)
            for (const ScreenRect& band : CellSpanBands(cell, cell, columns, metrics_))
                if (band.left < area.left || band.top < area.top || band.right > area.right ||
                    band.bottom > area.bottom) {
                    const RECT r{band.left, band.top, band.right, band.bottom};
                    InvalidateRect(Grid(tray), &r, FALSE);
                }
    }
    picture.key = std::move(key);
    picture.cursor = cursor;
    picture.mark = mark;
}

void RegistrationDialog::DrawCells(HDC dc, int32_t tray, SIZE size, const std::vector<int32_t>* only) {
    const IconDialogFlags flags = host_.IconFlags();
    const TOption& option = host_.CurrentOption();
    const int32_t columns = EffectiveColumns(option.ColMax);
    const GridColours colours = ChooseGridColours(theme_, option);
    const CellPaintContext context{&host_.Trays(),     &option,      columns, flags.UsKeyboardFlag,
                                   flags.CdPlayerFlag, flags.CdMode, colours, metrics_};
    const POINT box{0, 0};
    const ItemList& list = List(tray);
    const auto count = static_cast<int32_t>(list.size());
    const int32_t used = InsertPosition(list);
    const int32_t cursor = IsValidCell(host_.Trays(), tray, selNow_) ? selNow_ : -1;
    const int32_t mark = dragging_ && tray == dragTray_ ? dragPosition_ : -1;
    std::vector<int32_t> every;
    if (!only) {
        ClearControl(dc, size.cx, size.cy, colours.background);
        for (int32_t i = 0; i < count; ++i)
            every.push_back(i);
    }
    for (const int32_t i : only ? *only : every) {
        // Each cell on its own square of the grid's ground: a cell that is gone leaves the ground.
        const ScreenPoint origin = CellOrigin(i, columns, metrics_);
        ClearArea(dc, RECT{origin.x, origin.y, origin.x + metrics_.pitch, origin.y + metrics_.pitch},
                  colours.background);
        if (i >= count)
            continue;
        painter_.DrawCell(dc, box, context, tray, i,
                          i == mark     ? kCellCursorBlack
                          : i == cursor ? kCellCursor
                                        : kCellNormal);
        if (i >= used)
            painter_.DrawNotUsedMark(dc, box, context, i);
    }
    DrawSunkenFrame(dc, 0, 0, size.cx, size.cy, colours);
}

void RegistrationDialog::DrawGridFocus(HDC dc, int32_t tray) {
    if (GetFocus() != Grid(tray) || !IsValidCell(host_.Trays(), tray, selNow_))
        return;
    const ScreenPoint cell = CellOrigin(selNow_, EffectiveColumns(host_.CurrentOption().ColMax), metrics_);
    const RECT focus{cell.x - 1, cell.y - 1, cell.x + metrics_.pitch - 1, cell.y + metrics_.pitch - 1};
    DrawFocusRect(dc, &focus);
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

int32_t RegistrationDialog::CellAtPoint(int32_t, POINT client) const {
    return CellAt(client.x, client.y, metrics_.pitch, EffectiveColumns(host_.CurrentOption().ColMax));
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
        const int32_t from = dragPosition_;
        const DragStep step = DragOverCell(List(dragTray_), dragPosition_, index);
        SetCursor(DragCursor(step.accepted));
        if (step.moved) {
            // Every item between the two cells moved by one; the rest of the grid stays as it is.
            const int32_t before = selNow_;
            selNow_ = dragPosition_;
            if (before != from && before != selNow_)
                RepaintCells(dragTray_, before, before);
            RepaintCells(dragTray_, from, dragPosition_);
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
    const int32_t before = selNow_;
    selNow_ = index;
    RepaintCells(tray, before, before);
    RepaintCells(tray, index, index);
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
    if (ctrl) {
        RepaintCells(tray, from, to);
    } else {
        RepaintCells(tray, from, from);
        RepaintCells(tray, to, to);
    }
    ShowName(tray, to);
}

} // namespace vantrel::win
