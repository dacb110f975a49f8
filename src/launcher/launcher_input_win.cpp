// The launcher window's input: keys and mouse through the navigation model, what its answers draw and run,
// and the item popup menu.

#include <algorithm>
#include <cstdlib>

#include <windowsx.h>

#include "launcher/executor_win.h"
#include "launcher/item_menu.h"
#include "launcher/launcher_window_win.h"
#include "launcher/run_item.h"
#include "win/popup_menu_win.h"

namespace vantrel::win {

Navigation LauncherWindow::MakeNavigation() {
    LauncherHost& host = services_.host;
    return Navigation{host.Trays(), form_, nav_, host.Option(), host.ShowStatus(), host.Flags().UsKeyboardFlag};
}

void LauncherWindow::FormKeyDown(WPARAM key, bool alt) {
    Navigation n = MakeNavigation();
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    Apply(OnKeyDown(n, static_cast<int32_t>(key), shift, ctrl, alt));
}

int32_t LauncherWindow::TrayAt(POINT client) const {
    for (int32_t t = 0; t < 3; ++t) {
        const BoxBounds& box = form_.Layout.trayBox[static_cast<std::size_t>(t)];
        if (client.x >= box.left && client.x < box.left + box.width && client.y >= box.top &&
            client.y < box.top + box.height)
            return t;
    }
    return -1;
}

void LauncherWindow::FormMouseMove(LPARAM lParam) {
    const POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const int32_t tray = TrayAt(client);
    if (tray < 0)
        return;
    POINT screen = client;
    ClientToScreen(Handle(), &screen);
    const POINT box = BoxOrigin(tray);
    Navigation n = MakeNavigation();
    Apply(OnMouseMove(n, tray, client.x - box.x, client.y - box.y, {screen.x, screen.y}));
}

void LauncherWindow::FormMouseDown(MouseButton button, WPARAM wParam, LPARAM lParam) {
    const POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const bool shift = (wParam & MK_SHIFT) != 0;
    const bool ctrl = (wParam & MK_CONTROL) != 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    if (button == MouseButton::Right) {
        // Two right presses within the double-click time and rectangle make a right double-click; the model
        // then tells the second press apart itself.
        const DWORD now = GetTickCount();
        const bool doubled = now - lastRightPress_ <= GetDoubleClickTime() &&
                             std::abs(client.x - lastRightPoint_.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                             std::abs(client.y - lastRightPoint_.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
        lastRightPress_ = now;
        lastRightPoint_ = client;
        if (doubled) {
            lastRightPoint_ = {-10000, -10000}; // a third press starts a new pair
            Navigation n = MakeNavigation();
            Apply(OnRightButtonDoubleClick(n, client.x, client.y));
            if (!IsShown())
                return;
        }
    }
    const int32_t tray = TrayAt(client);
    if (tray < 0)
        return;
    const POINT box = BoxOrigin(tray);
    Navigation n = MakeNavigation();
    Apply(OnMouseDown(n, tray, client.x - box.x, client.y - box.y, button, shift, ctrl, alt, GetTickCount()));
}

void LauncherWindow::Apply(const NavResult& result) {
    // Drawing needs the back buffer of a painted show; before the first paint the full paint draws it all.
    if (form_.ShowFlag && buffer_.Ready())
        for (const CellDraw& draw : result.draws)
            RedrawCell(draw.tray, draw.index, draw.state);
    if (result.name)
        ShowNameNow(*result.name);
    if (result.action.kind == NavActionKind::None)
        return;
    if (result.action.kind == NavActionKind::ShowMenu) {
        ShowItemMenu(result.action);
        return;
    }
    Perform([&](RunContext& run) { PerformAction(run, result.action); });
}

void LauncherWindow::Perform(const std::function<void(RunContext&)>& act) {
    LauncherHost& host = services_.host;
    TaskActionContext tasks{host.Trays(), form_, host.Option(), host.ShowStatus(), labelHeight_, *this, taskOps_};
    Win32ShellExecutor systemShell(GetWindow(Handle(), GW_OWNER), services_.devices, services_.cd);
    RunContext run{tasks, services_.shell ? *services_.shell : systemShell, services_.system};
    act(run);
}

void LauncherWindow::ShowItemMenu(const NavAction& action) {
    LauncherHost& host = services_.host;
    const ItemMenuInputs inputs{
        host.Trays(), action.tray, action.index, taskOps_, host.Devices(), [&host] { return host.CdMode(); }, true};
    const auto entries = ComposeItemMenu(inputs);
    if (!entries)
        return;
    std::vector<PopupItem> items;
    for (const MenuEntry& entry : *entries)
        if (entry.visible)
            items.push_back({entry.IsSeparator() ? 0u : static_cast<uint32_t>(entry.id), std::u16string(entry.caption),
                             entry.enabled});
    RECT window{};
    GetWindowRect(Handle(), &window);
    POINT mouse{};
    GetCursorPos(&mouse);
    const ScreenPoint at = ItemMenuPosition(form_.Layout, {window.left, window.top}, action.tray, action.index,
                                            action.atMouse, {mouse.x, mouse.y});
    const int32_t tray = form_.NowMode;
    const int32_t index = host.Trays()[static_cast<std::size_t>(std::clamp(tray, 0, 2))].NowIndex;
    // The menu must not be taken for one the mouse show opened, and the window must keep the foreground
    // (or the menu would not close when the user clicks elsewhere) and stay up while it is open.
    services_.host.LauncherMenuOpened();
    SetForegroundWindow(Handle());
    cdPlayFlag_ = true;
    const HWND self = Handle();
    const uint32_t chosen = TrackPopup(self, items, {at.x, at.y}, TPM_LEFTALIGN | TPM_TOPALIGN);
    // The menu ran a message loop of its own: the window may have been hidden or rebuilt meanwhile, and a
    // command must only ever act on the item it was chosen for.
    if (!IsWindow(self))
        return;
    cdPlayFlag_ = false;
    PostMessageW(self, WM_NULL, 0, 0);
    if (chosen == 0 || !IsShown() || form_.NowMode != tray ||
        host.Trays()[static_cast<std::size_t>(std::clamp(tray, 0, 2))].NowIndex != index)
        return;
    MenuOutcome outcome = MenuOutcome::Done;
    Perform(
        [&](RunContext& run) { outcome = PerformMenuCommand(run, static_cast<MenuEntryId>(chosen), host.Devices()); });
    if (outcome == MenuOutcome::StopAllUsbDrives)
        host.StopAllUsbDrives();
    if (outcome == MenuOutcome::OpenSettingDialog) {
        // The dialog comes up over the launcher, which stays where it is until the dialog takes the foreground.
        RECT window{};
        GetWindowRect(Handle(), &window);
        host.OpenItemSetting(tray, index,
                             {window.left, window.top, window.right - window.left, window.bottom - window.top});
    }
}

} // namespace vantrel::win
