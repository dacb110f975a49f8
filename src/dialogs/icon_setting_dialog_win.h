#pragma once
// "Icon setting" and "Delete icon": modeless dialogs made anew for every opening, each for one item of the
// Program or System tray. They remember the item as it was when they opened and act on it only where it is
// found again, so that edits elsewhere meanwhile (a drag, a delete, a drive added, an environment switch) can
// never make them change or delete another item.

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <windows.h>

#include "core/geometry.h"
#include "dialogs/dialog_host.h"
#include "dialogs/icon_setting_model.h"
#include "win/dialog_win.h"
#include "win/unique_handle_win.h"
#include "win/window_win.h"

namespace vantrel::win {

// Where a dialog comes up: its top-left corner at the mouse, or centred over a rectangle (x, y, width, height).
struct DialogPlacement {
    std::optional<BoxBounds> centredOver;
};

class IconStripWindow;

class IconSettingDialog : public Dialog {
public:
    // `applied` runs after OK changed the item (the opener repaints what shows it).
    IconSettingDialog(DialogHost& host, std::function<void(int32_t tray)> applied);
    ~IconSettingDialog() override;

    // Before(tray, index, writeFlag): fills the dialog from the item and shows it; false (and no window) when the
    // tray and index name no item. With writeFlag, OK also writes both trays to the settings file.
    bool Open(HWND owner, int32_t tray, int32_t index, bool writeFlag, const DialogPlacement& placement);
    // Makes the window, hidden, ahead of its one opening: made while the opener has nothing to do, the next "Icon
    // setting" only fills and shows it. False when the system refused the window.
    bool Prepare(HWND owner);
    // The icons a closed dialog kept of its strip's view, handed to the dialog that takes its place: an opening on
    // the same file shows them without reading the file again.
    IconStripIcons TakeStripIcons() { return std::move(stripIcons_); }
    void ReuseStripIcons(IconStripIcons icons) { stripIcons_ = std::move(icons); }

protected:
    bool OnInitDialog() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code, HWND control) override;
    void OnHelpRequest() override;
    void OnDestroy() override;

private:
    static LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);
    bool OnEditMessage(HWND edit, UINT message, WPARAM wParam, LRESULT& result);
    void DirectKeyPressed(char16_t c);
    void EnterIn(int id);
    void ShiftClicked();
    void LoadStrip(const std::u16string& path);
    // The strip under the "Icon" label, from its left edge to the icon file's Browse button, as high as its cells.
    void PlaceStrip();
    void StripPicked();
    void BrowseIcon();
    void BrowseExe();
    void Warn(const std::u16string& text);
    void ModalBox(bool open);
    void Accept();
    void Close();

    DialogHost& host_;
    std::function<void(int32_t)> applied_;
    ItemTarget target_;
    bool writeFlag_ = false;
    IconSettingOrigin origin_;
    bool directEdited_ = false;
    std::u16string iconNameKeep_;
    std::u16string exeNameKeep_;
    std::u16string directoryNameKeep_;
    IconStrip strip_;
    IconStripIcons stripIcons_;
    std::unique_ptr<IconStripWindow> stripWindow_;
    UniqueFont meiryoFont_;

    friend class IconStripWindow;
};

class DeleteDialog : public Dialog {
public:
    // `deleted` runs after "&Yes" removed the item, with its tray.
    DeleteDialog(DialogHost& host, std::function<void(int32_t tray)> deleted);
    ~DeleteDialog() override;

    // Asks about the item at (tray, index); false when there is none.
    bool Open(HWND owner, int32_t tray, int32_t index, const DialogPlacement& placement);

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnDestroy() override;

private:
    DialogHost& host_;
    std::function<void(int32_t)> deleted_;
    ItemTarget target_; // holds the item's icon as long as the question shows it
};

// Places a dialog window as the placement says and shows it in front.
void PlaceAndShow(HWND window, const DialogPlacement& placement);

} // namespace vantrel::win
