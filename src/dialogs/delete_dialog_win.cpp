#include "dialogs/icon_setting_dialog_win.h"

#include "dialogs/dialog_ids.h"
#include "dialogs/dialog_texts.h"
#include "services/grid.h"
#include "services/placement_win.h"
#include "services/system_win.h"
#include "win/controls_win.h"

namespace vantrel::win {

void PlaceAndShow(HWND window, const DialogPlacement& placement) {
    if (placement.centredOver) {
        ShowAlignedTo(window, *placement.centredOver, 4);
    } else {
        PlaceWindowAtCursor(window);
        ShowWindow(window, SW_SHOW);
    }
    SetForegroundWindow(window);
    // Painted whole at once rather than behind the activation messages the show queued.
    UpdateWindow(window);
}

// ---- Delete icon ---------------------------------------------------------------------------------------------

DeleteDialog::DeleteDialog(DialogHost& host, std::function<void(int32_t)> deleted)
    : host_(host), deleted_(std::move(deleted)) {}

DeleteDialog::~DeleteDialog() {
    Destroy();
}

bool DeleteDialog::Open(HWND owner, int32_t tray, int32_t index, const DialogPlacement& placement) {
    if (!IsValidCell(host_.Trays(), tray, index) || tray == TaskTray)
        return false;
    if (!CreateModeless(IDD_DELETE, owner))
        return false;
    host_.DialogCreated(DialogKind::DeleteConfirm, FromHwnd(Handle()));
    target_ = TargetOf(host_.Trays(), tray, index);
    // The icon is borrowed from the item; the target's copy keeps it alive while the question shows it.
    SendDlgItemMessageW(Handle(), IDC_DELICON, STM_SETICON, reinterpret_cast<WPARAM>(ToHicon(target_.item.Icon.Get())),
                        0);
    SetItemText(Handle(), IDC_DELLABEL, DeleteQuestion(target_.item.Title));
    PlaceAndShow(Handle(), placement);
    SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDOK)), TRUE);
    return true;
}

bool DeleteDialog::OnInitDialog() {
    return false;
}

void DeleteDialog::OnCommand(int id, int, HWND) {
    if (id == IDCANCEL) {
        Destroy();
        return;
    }
    if (id != IDOK)
        return;
    ItemList& list = host_.Trays()[static_cast<std::size_t>(target_.tray)].Items;
    const auto at = LocateItem(list, target_);
    if (!at) {
        host_.ShowMessage(FromHwnd(Handle()), ItemGoneText(true), MessageKind::Warning);
        Destroy();
        return;
    }
    list.erase(list.begin() + *at);
    const int32_t tray = target_.tray;
    const auto deleted = deleted_;
    Destroy();
    if (deleted)
        deleted(tray);
}

void DeleteDialog::OnDestroy() {
    // The static control does not own the icon; it must let go of it before the target does.
    SendDlgItemMessageW(Handle(), IDC_DELICON, STM_SETICON, 0, 0);
    host_.DialogDestroyed(FromHwnd(Handle()));
}

} // namespace vantrel::win
