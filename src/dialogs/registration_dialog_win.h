#pragma once
// "Registering Icons": the Program and System trays as grids of the launcher's cells on two pages, edited in place.
// Dragging reorders, the right-click menu opens the icon setting and delete dialogs, adds a file and hides or
// shows built-in System items; files dropped from the shell are added where they are dropped; the column count
// takes effect at once. OK writes both trays and the options; Cancel (or closing) puts back the trays and the
// column count as they were when it opened, including what its child dialogs changed.
//
// The dialog is made once and kept; closing only hides it.

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include <shellapi.h>

#include "dialogs/dialog_host.h"
#include "dialogs/icon_grid_access.h"
#include "dialogs/registration_model.h"
#include "grid/cell_paint.h"
#include "grid/cell_painter_win.h"
#include "win/back_buffer_win.h"
#include "win/dialog_win.h"
#include "win/unique_handle_win.h"

namespace vantrel::win {

class IconSettingDialog;
class DeleteDialog;

class RegistrationDialog : public Dialog, private TrayGridView {
public:
    explicit RegistrationDialog(DialogHost& host);
    ~RegistrationDialog() override;

    // The tray icon's left click and "&Registering Icons...": a dialog that was not on screen comes up at the mouse.
    // Copies of both trays and the column count are kept for Cancel when a visit begins; a dialog that is open or
    // was only hidden keeps those of its first opening.
    void Open();
    // Makes the window, hidden, if it is not made yet: the program does so once it is idle after the start, so that
    // even the first opening only fills and shows it. False when the system refused the window.
    bool Prepare();

    // Lays the dialog out again and repaints the tray's grid (after a delete).
    void Redisp(int32_t tray);

    // 0 while the Program page is on top, 2 for the System page.
    int32_t CurrentTray() const;
    HWND Grid(int32_t tray) const;
    // The icon setting and delete dialogs it opened go (HideDialogs, closing this dialog).
    void CloseChildren();

    // Files dropped from the shell at a screen point: added in the order they came once the dialog gets to its next
    // message (the program they came from is not kept waiting); none beyond the limit.
    void DropFiles(POINT screen, const std::vector<std::u16string>& files);

    // The grids' paints so far, whole or in part (a benchmark waits for them).
    uint32_t GridPaints() const { return gridPaints_; }

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnHelpRequest() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

public:
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages, as in a property sheet.
    bool PreTranslate(MSG& msg) override;

private:
    class GridWindow;
    class DropTarget;
    friend class GridWindow;
    friend class DropTarget;

    // Each grid's picture, kept while the dialog is hidden: an opening, a page change or a move of the cursor draws
    // only the cells whose picture changed (with 200 items a full grid is most of an opening's painting), and the
    // invalid part is copied. The focus frame is drawn on the screen over it.
    struct GridPicture {
        BackBuffer buffer;
        std::optional<TrayPictureKey> key; // what the picture shows; none before it was drawn
        int32_t cursor = -1;               // the cell drawn in the cursor state, and the dragged one
        int32_t mark = -1;
    };
    ItemList& List(int32_t tray);
    void FormShow();
    void Close();
    void Arrange();
    // The item name's font at the dialog's scale; made again when the scale changed.
    void UpdateNameFont(DpiScale scale);
    void ReadColours();
    void RepaintGrids();
    void RepaintGrid(int32_t tray);
    // Cells first..last of the tray's grid, and nothing else.
    void RepaintCells(int32_t tray, int32_t first, int32_t last);
    // Brings the grid's picture up to date, drawing what changed since it was last drawn; the cells it drew outside
    // `area` are invalidated, so that they reach the screen too.
    void UpdatePicture(GridPicture& picture, int32_t tray, SIZE size, const RECT& area);
    // Every cell of the grid into dc; with a picture, the cells listed only.
    void DrawCells(HDC dc, int32_t tray, SIZE size, const std::vector<int32_t>* only);
    void DrawGridFocus(HDC dc, int32_t tray);
    void ShowName(int32_t tray, int32_t index);

    // TrayGridView: what a screen reader reads of the grids.
    const ItemList& GridItems(int32_t tray) const override;
    bool GridShowing(int32_t tray) const override;
    int32_t GridCursor() const override { return selNow_; }
    int32_t GridColumns() const override;
    CellMetrics GridMetrics() const override { return metrics_; }
    BoxBounds GridArea(int32_t tray) const override;
    bool SelectGridCell(int32_t tray, int32_t index) override;
    void PageChanged();
    void ColumnsChanged();

    // What the grids report.
    void GridMouseDown(int32_t tray, POINT client);
    void GridMouseMove(int32_t tray, POINT client);
    void GridMouseUp(int32_t tray);
    void GridRightClick(int32_t tray, POINT client, POINT screen);
    void GridKey(int32_t tray, WPARAM key, bool ctrl);
    void EndDrag(bool cancelled);
    HCURSOR DragCursor(bool accepted) const;

    // Files from the shell: an OLE drop target, and WM_DROPFILES from programs that drop the old way.
    void AcceptDrops();
    void RevokeDrops();
    void DropFilesMessage(HDROP drop);
    void AddDropped();

    void OpenMenu(int32_t tray, int32_t index, POINT screen);
    void OpenSetting();
    void AddFile();
    void ThirdCommandClicked();
    void Warn(const std::u16string& text);
    void ModalBox(bool open);
    // The icon setting and delete dialogs it opened, while they have a window.
    IconSettingDialog* Setting() const;
    DeleteDialog* Deleter() const;
    bool ChildVisible() const;
    // An open Icon setting or Delete icon dialog holds the user's unfinished answer: rather than going without a
    // word when another item is right-clicked (or Delete pressed), it comes forward. False when none is open.
    bool RaiseChild();
    int32_t CellAtPoint(int32_t tray, POINT client) const;

    DialogHost& host_;
    RegistrationArrangement arrangement_;
    std::optional<RegistrationLayout> arranged_; // the layout the controls were last moved to
    CellMetrics metrics_;                        // the grids' cells at the scale of the screen the dialog is on
    CancelCopies copies_;
    bool okFlag_ = false;
    int32_t selNow_ = 0;
    // A drag in progress: the item being dragged, where it started, the grid that holds it.
    bool dragging_ = false;
    int32_t dragPosition_ = 0;
    int32_t dragStart_ = 0;
    int32_t dragTray_ = 0;

    CellPainter painter_;
    SystemTheme theme_; // the system's colours, high contrast and dark apps, as last read
    std::array<std::unique_ptr<GridWindow>, 2> grids_; // the Program and the System page
    std::array<GridPicture, 2> pictures_;
    UniqueFont nameFont_;
    DpiScale nameFontScale_;           // the scale the name's font was made for
    HCURSOR gripCursor_ = nullptr;     // a shared resource cursor, never destroyed
    DropTarget* dropTarget_ = nullptr; // the OLE drop target registered on the window, reference counted
    // Drops taken and not yet added: the tray and the cell each was dropped on.
    struct PendingDrop {
        int32_t tray;
        int32_t cell;
        std::vector<std::u16string> files;
    };
    std::deque<PendingDrop> drops_;
    static constexpr UINT kMsgAddDropped = WM_APP + 3;
    // A timer's message comes after every paint: the spare is made once the dialog and its children are drawn.
    static constexpr UINT_PTR kSpareTimer = 1;
    static constexpr UINT kSpareDelayMs = USER_TIMER_MINIMUM;
    void PrepareSpareLater();
    std::unique_ptr<IconSettingDialog> setting_;
    std::unique_ptr<IconSettingDialog> spareSetting_; // made ahead for the next "&Setting..." (kSpareTimer)
    std::unique_ptr<DeleteDialog> deleter_;
    uint32_t gridPaints_ = 0;
};

} // namespace vantrel::win
