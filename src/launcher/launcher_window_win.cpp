#include "launcher/launcher_window_win.h"

#include <algorithm>
#include <cstdlib>

#include <windowsx.h>

#include "app/helper_library_win.h"
#include "app/trigger.h"
#include "config/system_items.h"
#include "launcher/cell_paint.h"
#include "launcher/cells.h"
#include "launcher/executor_win.h"
#include "launcher/item_menu.h"
#include "launcher/placement.h"
#include "launcher/run_item.h"
#include "launcher/task_windows_win.h"
#include "services/grid.h"
#include "services/os_info_win.h"
#include "services/system_win.h"
#include "win/strings_win.h"

namespace vantrel::win {

namespace {

constexpr wchar_t kClassName[] = L"TVanMainForm";
// Also what keeps the window out of its own Task tray.
constexpr wchar_t kCaption[] = L"vantrel";
constexpr const wchar_t* kTrayCaptions[3] = {L"Program", L"Task", L"System"};

// The name label sits inside the panel's bevel.
constexpr int kNameLabelLeft = 4;
constexpr int kNameLabelTop = 1;
constexpr int kNameLabelHeight = 18;
// Mouse presses on the Task and System trays right after the paint are taken as the end of the trigger.
constexpr DWORD kPressGuardMs = 150;

UniqueGdiObject MakeFont(int height, int weight, const wchar_t* face) {
    // A face the system lacks (Segoe UI under Wine) is replaced by the font mapper with a similar one.
    return UniqueGdiObject(CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                       DEFAULT_PITCH | FF_SWISS, face));
}

int TextHeight(HGDIOBJ font) {
    WindowDc screen(nullptr);
    SelectGuard select(screen.Get(), font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.Get(), &metrics);
    return metrics.tmHeight;
}

DesktopGeometry CurrentDesktop() {
    DesktopGeometry desktop;
    std::vector<RECT> monitors;
    if (EnumerateMonitors(monitors)) {
        desktop.monitors.emplace();
        for (const RECT& r : monitors)
            desktop.monitors->push_back({r.left, r.top, r.right, r.bottom});
    }
    desktop.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    desktop.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT bar{};
    if (const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr); taskbar && GetWindowRect(taskbar, &bar))
        desktop.taskbar = ScreenRect{bar.left, bar.top, bar.right, bar.bottom};
    return desktop;
}

} // namespace

LauncherWindow::LauncherWindow(LauncherServices services)
    : services_(std::move(services)), captionFont_(MakeFont(-12, FW_NORMAL, L"Segoe UI")) {
    labelHeight_ = TextHeight(captionFont_.Get());
}

LauncherWindow::~LauncherWindow() {
    if (bufferDc_) {
        SelectObject(bufferDc_, bufferOldBitmap_);
        DeleteDC(bufferDc_);
    }
    // The Task items point at these icons; the list is rebuilt before any of them is drawn again.
    DestroyIcons(programIcons_.Clear());
}

bool LauncherWindow::Create(HWND owner) {
    // Borderless with a system menu (Alt+F4 and Alt+Space work), a tool window so that it has no taskbar
    // button, owned by the resident window so that it follows it to the top.
    return Window::Create(kClassName, kCaption, WS_POPUP | WS_SYSMENU, WS_EX_TOOLWINDOW, 0, 0, 0, 0, owner);
}

bool LauncherWindow::IsShown() const {
    return Handle() && IsWindowVisible(Handle());
}

void LauncherWindow::Show() {
    FormShow();
}

void LauncherWindow::Hide() {
    ShowWindow(Handle(), SW_HIDE);
}

void LauncherWindow::FormShow() {
    BeginShow(form_);
    nav_.RightDoubleClickFlag = false;
    nav_.QuickCount = 0;
    if (services_.state.CdPlayerFlag)
        cdMode_ = services_.cdMode ? services_.cdMode() : 0;
    cdPlayFlag_ = false;
    InitShow();
}

void LauncherWindow::InitShow() {
    ResidentState& state = services_.state;
    UpdateNameFont();
    SyncDrives(state.SystemList(), services_.system, services_.icons);
    RebuildTasks();
    SetLayout(form_, state.TrayData, state.CurrentOption.ColMax, labelHeight_);
    EnsureBuffer();
    form_.NowMode = StartTray(state.TrayData, state.ShowStatus, state.CurrentOption);
    const ScreenPoint at = ShowsAtMouse(state.CurrentOption, state.ShowStatus) ? MoveToMouse() : CenterOnScreen();
    services_.menuWatchCount = 0;
    const bool wasShown = IsShown();
    // Size, place and show in one step: each window operation is a round trip to the window system. The
    // window is painted as it appears and takes the foreground right after: activating it during the show
    // would send the previously active program its deactivation first and hold the picture up by as long.
    SetWindowPos(Handle(), HWND_TOP, at.x, at.y, form_.Layout.width, form_.Layout.height,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    // Shown again while still up (a trigger during the mouse show's pause): nothing is invalid by itself, but
    // the show has a new layout to paint.
    if (wasShown)
        InvalidateRect(Handle(), nullptr, TRUE);
    SetForegroundWindow(Handle());
    SetFocus(Handle());
}

void LauncherWindow::RebuildTasks() {
    const HWND owner = GetWindow(Handle(), GW_OWNER);
    RebuildTaskList(services_.state.TaskList(),
                    OwnWindows{FromHwnd(owner), FromHwnd(Handle())},
                    services_.helper, programIcons_, windowIdentities_, services_.icons.DefaultProgramIcon());
}

void LauncherWindow::UpdateNameFont() {
    const bool meiryo = services_.state.MeiryoFlag;
    if (nameFont_ && meiryo == nameFontMeiryo_)
        return;
    nameFont_ = MakeFont(-14, FW_NORMAL, meiryo ? L"Meiryo UI" : L"Segoe UI");
    nameFontMeiryo_ = meiryo;
}

ScreenPoint LauncherWindow::CenterOnScreen() const {
    return PlaceAtScreenCenter(form_.Layout.width, form_.Layout.height, GetSystemMetrics(SM_CXSCREEN),
                               GetSystemMetrics(SM_CYSCREEN));
}

ScreenPoint LauncherWindow::MoveToMouse() const {
    const TOption& option = services_.state.CurrentOption;
    POINT cursor{};
    GetCursorPos(&cursor);
    const ScreenPoint anchor = MouseAnchor(form_.Layout, form_.NowMode, option.MousePositionFlag);
    const CursorPlacement placed = PlaceAtCursor({cursor.x, cursor.y}, form_.Layout.width, form_.Layout.height, anchor,
                                                 option.MoveCursorFlag, CurrentDesktop());
    if (placed.moveMouseTo)
        SetCursorPos(placed.moveMouseTo->x, placed.moveMouseTo->y);
    return placed.topLeft;
}

void LauncherWindow::EnsureBuffer() {
    const SIZE wanted{form_.Layout.width, form_.Layout.height};
    if (bufferDc_ && wanted.cx == bufferSize_.cx && wanted.cy == bufferSize_.cy)
        return;
    WindowDc screen(nullptr);
    if (!bufferDc_)
        bufferDc_ = CreateCompatibleDC(screen.Get());
    if (!bufferDc_)
        return;
    UniqueGdiObject bitmap(
        CreateCompatibleBitmap(screen.Get(), std::max<LONG>(wanted.cx, 1), std::max<LONG>(wanted.cy, 1)));
    if (!bitmap)
        return;
    const HGDIOBJ previous = SelectObject(bufferDc_, bitmap.Get());
    if (!bufferOldBitmap_)
        bufferOldBitmap_ = previous;
    bufferBitmap_ = std::move(bitmap); // the previous bitmap is no longer selected and goes now
    bufferSize_ = wanted;
}

POINT LauncherWindow::BoxOrigin(int32_t tray) const {
    const BoxBounds& box = form_.Layout.trayBox[static_cast<std::size_t>(std::clamp(tray, 0, 2))];
    return {box.left, box.top};
}

CellPaintContext LauncherWindow::PaintContext() const {
    const ResidentState& state = services_.state;
    return {&state.TrayData,      &state.CurrentOption, form_.Layout.columns,
            state.UsKeyboardFlag, state.CdPlayerFlag,   cdMode_};
}

void LauncherWindow::Present(const RECT& area, HDC target) {
    if (!bufferDc_)
        return;
    if (target) {
        BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, bufferDc_, area.left,
               area.top, SRCCOPY);
        return;
    }
    WindowDc dc(Handle());
    if (dc.Get())
        Present(area, dc.Get());
}

void LauncherWindow::PaintAll(HDC target) {
    EnsureBuffer();
    if (!bufferDc_)
        return;
    const RECT all{0, 0, bufferSize_.cx, bufferSize_.cy};
    FillRect(bufferDc_, &all, GetSysColorBrush(COLOR_BTNFACE));
    const int32_t mode = std::clamp(form_.NowMode, 0, 2);
    ShowItemName(mode, services_.state.TrayData[static_cast<std::size_t>(mode)].NowIndex);
    DrawCaptions(bufferDc_);
    DrawNamePanel(bufferDc_);
    DrawAllTrays(bufferDc_);
    Present(all, target);
    POINT mouse{};
    GetCursorPos(&mouse);
    nav_.SPoint = {mouse.x, mouse.y};
    nav_.ShowTime = GetTickCount() + kPressGuardMs;
    ++fullPaints_;
}

void LauncherWindow::DrawCaptions(HDC dc) {
    SelectGuard font(dc, captionFont_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    for (std::size_t t = 0; t < 3; ++t)
        TextOutW(dc, kTrayLeft, form_.Layout.labelTop[t], kTrayCaptions[t], static_cast<int>(wcslen(kTrayCaptions[t])));
    SetBkMode(dc, OPAQUE);
}

void LauncherWindow::DrawNamePanel(HDC dc) {
    const BoxBounds& panel = form_.Layout.namePanel;
    RECT bevel{panel.left, panel.top, panel.left + panel.width, panel.top + panel.height};
    DrawEdge(dc, &bevel, BDR_SUNKENOUTER, BF_RECT);
    RECT label{panel.left + kNameLabelLeft, panel.top + kNameLabelTop,
               panel.left + kNameLabelLeft + form_.Layout.nameLabelWidth, panel.top + kNameLabelTop + kNameLabelHeight};
    FillRect(dc, &label, GetSysColorBrush(COLOR_BTNFACE));
    SelectGuard font(dc, nameFont_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    // Titles are window captions and file names, not menu texts: an ampersand is shown as it is.
    DrawTextW(dc, WidePtr(nameCaption_), static_cast<int>(nameCaption_.size()), &label,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SetBkMode(dc, OPAQUE);
}

void LauncherWindow::DrawTrayPicture(HDC dc, int32_t tray) {
    const ResidentState& state = services_.state;
    const BoxBounds& bounds = form_.Layout.trayBox[static_cast<std::size_t>(tray)];
    TrayPicture& picture = pictures_[static_cast<std::size_t>(tray)];
    TrayPictureKey key =
        PictureKeyFor(tray, state.TrayData[static_cast<std::size_t>(tray)], state.CurrentOption, form_.Layout.columns,
                      state.UsKeyboardFlag, state.CdPlayerFlag, cdMode_, GetSysColor(COLOR_BTNFACE));
    const bool sameSize = picture.size.cx == bounds.width && picture.size.cy == bounds.height;
    if (!picture.bitmap || !sameSize || !(key == picture.key)) {
        picture.bitmap.Reset(CreateCompatibleBitmap(dc, std::max(bounds.width, 1), std::max(bounds.height, 1)));
        const HDC pictureDc = CreateCompatibleDC(dc);
        if (!picture.bitmap || !pictureDc) {
            if (pictureDc)
                DeleteDC(pictureDc);
            picture.bitmap.Reset();
            painter_.DrawTray(dc, BoxOrigin(tray), PaintContext(), tray);
            return;
        }
        {
            SelectGuard select(pictureDc, picture.bitmap.Get());
            const RECT all{0, 0, bounds.width, bounds.height};
            FillRect(pictureDc, &all, GetSysColorBrush(COLOR_BTNFACE));
            painter_.DrawTray(pictureDc, POINT{0, 0}, PaintContext(), tray);
        }
        DeleteDC(pictureDc);
        picture.key = std::move(key);
        picture.size = {bounds.width, bounds.height};
    }
    const HDC pictureDc = CreateCompatibleDC(dc);
    if (!pictureDc)
        return;
    {
        SelectGuard select(pictureDc, picture.bitmap.Get());
        BitBlt(dc, bounds.left, bounds.top, bounds.width, bounds.height, pictureDc, 0, 0, SRCCOPY);
    }
    DeleteDC(pictureDc);
}

void LauncherWindow::DrawAllTrays(HDC dc) {
    const CellPaintContext context = PaintContext();
    for (int32_t t = 0; t < 3; ++t) {
        const POINT box = BoxOrigin(t);
        if (t == TaskTray)
            painter_.DrawTray(dc, box, context, t);
        else
            DrawTrayPicture(dc, t);
        if (t == form_.NowMode)
            painter_.DrawCell(dc, box, context, t, services_.state.TrayData[static_cast<std::size_t>(t)].NowIndex,
                              kCellCursor);
        const BoxBounds& bounds = form_.Layout.trayBox[static_cast<std::size_t>(t)];
        DrawSunkenFrame(dc, bounds.left, bounds.top, bounds.width, bounds.height);
    }
}

void LauncherWindow::ShowItemName(int32_t tray, int32_t index) {
    if (IsValidCell(services_.state.TrayData, tray, index))
        nameCaption_ =
            services_.state.TrayData[static_cast<std::size_t>(tray)].Items[static_cast<std::size_t>(index)].Title;
}

void LauncherWindow::RedrawCell(int32_t tray, int32_t index, int32_t state) {
    const POINT box = BoxOrigin(tray);
    painter_.DrawCell(bufferDc_, box, PaintContext(), tray, index, state);
    const ScreenPoint origin = CellOrigin(index, form_.Layout.columns);
    // The 2-pixel pen of the box cursor reaches one pixel outside the cell square.
    Present({box.x + origin.x - 1, box.y + origin.y - 1, box.x + origin.x + kCellPitch, box.y + origin.y + kCellPitch});
}

bool LauncherWindow::MoveCursor(int32_t tray, int32_t index) {
    const auto move = vantrel::MoveCursor(form_, services_.state.TrayData, tray, index);
    if (!move)
        return false;
    // Before the first paint of a show there is nothing to update: the full paint draws the new cursor.
    if (!form_.ShowFlag || !bufferDc_)
        return true;
    RedrawCell(move->oldTray, move->oldIndex, kCellNormal);
    RedrawCell(move->newTray, move->newIndex, kCellCursor);
    ShowItemName(move->newTray, move->newIndex);
    DrawNamePanel(bufferDc_);
    const BoxBounds& panel = form_.Layout.namePanel;
    Present({panel.left, panel.top, panel.left + panel.width, panel.top + panel.height});
    return true;
}

LRESULT LauncherWindow::FormEraseBackground(HDC dc) {
    // After the full paint every erase is swallowed: the default one would wipe the trays. The full paint
    // comes with the whole window invalid (a show, or a new layout), so the erase's own DC reaches all of it.
    if (EraseBackground(form_))
        PaintAll(dc);
    return 1;
}

void LauncherWindow::FormPaint() {
    const uint32_t before = fullPaints_;
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(Handle(), &ps); // may erase, and so paint everything
    // Uncovered parts come back from the buffer, unless BeginPaint's erase has just drawn them.
    if (dc && form_.ShowFlag && bufferDc_ && fullPaints_ == before)
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, bufferDc_, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    EndPaint(Handle(), &ps);
}

void LauncherWindow::HideByUser() {
    services_.state.ShowStatus = 0;
    Hide();
}

void LauncherWindow::FormActivate(WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE || !HidesOnDeactivate(services_.state.ShowStatus))
        return;
    services_.state.ShowStatus = 0;
    // Another window is taking the activation: hide without handing it on. Wine still counts this window as
    // active while it is told it lost the activation, and ShowWindow would then activate the window below it,
    // which wins over the task window the launcher has just brought to the front.
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

Navigation LauncherWindow::MakeNavigation() {
    ResidentState& state = services_.state;
    return Navigation{state.TrayData, form_, nav_, state.CurrentOption, state.ShowStatus, state.UsKeyboardFlag};
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
    if (form_.ShowFlag && bufferDc_) {
        for (const CellDraw& draw : result.draws)
            RedrawCell(draw.tray, draw.index, draw.state);
        if (result.name) {
            nameCaption_ = *result.name;
            DrawNamePanel(bufferDc_);
            const BoxBounds& panel = form_.Layout.namePanel;
            Present({panel.left, panel.top, panel.left + panel.width, panel.top + panel.height});
        }
    } else if (result.name) {
        nameCaption_ = *result.name;
    }
    if (result.action.kind == NavActionKind::None)
        return;
    if (result.action.kind == NavActionKind::ShowMenu) {
        ShowItemMenu(result.action);
        return;
    }
    ResidentState& state = services_.state;
    TaskActionContext tasks{state.TrayData, form_,   state.CurrentOption, state.ShowStatus, labelHeight_,
                            *this,          taskOps_};
    Win32ShellExecutor shell(GetWindow(Handle(), GW_OWNER), services_.devices, services_.cd);
    RunContext run{tasks, shell, services_.system};
    PerformAction(run, result.action);
}

void LauncherWindow::ShowItemMenu(const NavAction& action) {
    ResidentState& state = services_.state;
    const ItemMenuInputs inputs{state.TrayData, action.tray,      action.index, taskOps_,
                                state.Devices,  services_.cdMode, false};
    const auto entries = ComposeItemMenu(inputs);
    if (!entries)
        return;
    const HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    for (const MenuEntry& entry : *entries) {
        if (!entry.visible)
            continue;
        if (entry.IsSeparator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const std::wstring caption(entry.caption.begin(), entry.caption.end());
        AppendMenuW(menu, MF_STRING | (entry.enabled ? 0u : static_cast<UINT>(MF_GRAYED)),
                    static_cast<UINT_PTR>(entry.id), caption.c_str());
    }
    RECT window{};
    GetWindowRect(Handle(), &window);
    POINT mouse{};
    GetCursorPos(&mouse);
    const ScreenPoint at = ItemMenuPosition(form_.Layout, {window.left, window.top}, action.tray, action.index,
                                            action.atMouse, {mouse.x, mouse.y});
    const int32_t tray = form_.NowMode;
    const int32_t index = state.TrayData[static_cast<std::size_t>(std::clamp(tray, 0, 2))].NowIndex;
    // The menu must not be taken for one the mouse show opened, and the window must keep the foreground
    // (or the menu would not close when the user clicks elsewhere) and stay up while it is open.
    services_.menuWatchCount = kMenuWatchTicks;
    SetForegroundWindow(Handle());
    cdPlayFlag_ = true;
    const HWND self = Handle();
    const int chosen = static_cast<int>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, self, nullptr));
    DestroyMenu(menu);
    // The menu ran a message loop of its own: the window may have been hidden or rebuilt meanwhile, and a
    // command must only ever act on the item it was chosen for.
    if (!IsWindow(self))
        return;
    cdPlayFlag_ = false;
    PostMessageW(self, WM_NULL, 0, 0);
    if (chosen == 0 || !IsShown() || form_.NowMode != tray ||
        state.TrayData[static_cast<std::size_t>(std::clamp(tray, 0, 2))].NowIndex != index)
        return;
    TaskActionContext tasks{state.TrayData, form_,   state.CurrentOption, state.ShowStatus, labelHeight_,
                            *this,          taskOps_};
    Win32ShellExecutor shell(GetWindow(self, GW_OWNER), services_.devices, services_.cd);
    RunContext run{tasks, shell, services_.system};
    PerformMenuCommand(run, static_cast<MenuEntryId>(chosen), state.Devices);
}

void LauncherWindow::HideLauncher() {
    Hide();
}

void LauncherWindow::RepaintAll() {
    // The caller has laid the trays out already and placed the cursor after that: laying out again here would
    // put every cursor back on the first cell, and the next Delete would close another window.
    EnsureBuffer();
    form_.ShowFlag = false; // the next erase paints everything
    SetWindowPos(Handle(), nullptr, 0, 0, form_.Layout.width, form_.Layout.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Handle(), nullptr, TRUE);
    UpdateWindow(Handle());
}

void LauncherWindow::BringToFront() {
    // Raised as well as shown: a window just maximised from here may lie over the launcher.
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(Handle());
    SetFocus(Handle());
}

void LauncherWindow::ShowNameNow(const std::u16string& text) {
    nameCaption_ = text;
    if (!bufferDc_)
        return;
    DrawNamePanel(bufferDc_);
    const BoxBounds& panel = form_.Layout.namePanel;
    Present({panel.left, panel.top, panel.left + panel.width, panel.top + panel.height});
}

void LauncherWindow::FormCloseQuery() {
    if (OnCloseCommand(cdPlayFlag_) == CloseAnswer::Hide)
        HideByUser();
}

LRESULT LauncherWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return FormEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_PAINT:
        FormPaint();
        return 0;
    case WM_ACTIVATE:
        FormActivate(wParam);
        return DefaultProc(message, wParam, lParam);
    case WM_KEYDOWN:
        FormKeyDown(wParam, false);
        return 0;
    case WM_SYSKEYDOWN: {
        // Alt held, or F10 alone, which comes this way too: only the message's context bit says whether Alt
        // is down (an F10 direct key must not ask for elevation). Alt+F4 and Alt+Space stay the system's
        // unless an item carries the key.
        const bool alt = (HIWORD(lParam) & KF_ALTDOWN) != 0;
        Navigation n = MakeNavigation();
        const NavResult result =
            OnKeyDown(n, static_cast<int32_t>(wParam), GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, alt);
        const bool handled = !result.draws.empty() || result.action.kind != NavActionKind::None;
        Apply(result);
        return handled ? 0 : DefaultProc(message, wParam, lParam);
    }
    case WM_MOUSEMOVE:
        FormMouseMove(lParam);
        return 0;
    case WM_LBUTTONDOWN:
        FormMouseDown(MouseButton::Left, wParam, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        FormMouseDown(MouseButton::Right, wParam, lParam);
        return 0;
    case WM_MBUTTONDOWN:
        FormMouseDown(MouseButton::Middle, wParam, lParam);
        return 0;
    case WM_CLOSE:
        // Never destroyed by the user: the resident core shows this same window at every trigger.
        FormCloseQuery();
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

} // namespace vantrel::win
