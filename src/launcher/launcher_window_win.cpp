#include "launcher/launcher_window_win.h"

#include <algorithm>

#include "config/system_items.h"
#include "launcher/task_windows_win.h"
#include "services/grid_colours_win.h"
#include "services/os_info_win.h"
#include "services/placement_win.h"
#include "win/dpi_win.h"

namespace vantrel::win {

namespace {

constexpr wchar_t kClassName[] = L"TVanMainForm";
// Also what keeps the window out of its own Task tray.
constexpr wchar_t kCaption[] = L"vantrel";

// The system's answers with the drive letters asked beforehand, on another thread, while the show was busy
// with the window system.
class DrivesAnswered : public SystemQueries {
public:
    DrivesAnswered(const SystemQueries& system, uint32_t drives) : system_(system), drives_(drives) {}
    std::u16string ExpandEnvironment(const std::u16string& text) const override {
        return system_.ExpandEnvironment(text);
    }
    std::u16string SystemDirectory() const override { return system_.SystemDirectory(); }
    std::u16string WindowsDirectory() const override { return system_.WindowsDirectory(); }
    bool IsNtPlatform() const override { return system_.IsNtPlatform(); }
    bool FileExists(const std::u16string& path) const override { return system_.FileExists(path); }
    uint32_t LogicalDrives() const override { return drives_; }
    bool IsRemoteDrive(const std::u16string& root) const override { return system_.IsRemoteDrive(root); }
    std::u16string DriveDisplayName(const std::u16string& root) const override {
        return system_.DriveDisplayName(root);
    }
    int32_t WinVersion() const override { return system_.WinVersion(); }
    int32_t OsBuildNumber() const override { return system_.OsBuildNumber(); }
    bool HelperBound() const override { return system_.HelperBound(); }
    bool IsWindows10() const override { return system_.IsWindows10(); }

private:
    const SystemQueries& system_;
    uint32_t drives_;
};

} // namespace

LauncherWindow::LauncherWindow(LauncherServices services) : services_(std::move(services)) {
    form_.Scale = SystemScale();
    CreateFonts();
    theme_ = ReadSystemTheme();
}

LauncherWindow::~LauncherWindow() {
    accessHost_.Detach();
    // The Task items point at these icons; the list is rebuilt before any of them is drawn again.
    DestroyIcons(taskMemory_.programIcons.Clear());
}

bool LauncherWindow::Create(HWND owner) {
    // Borderless with a system menu (Alt+F4 and Alt+Space work), a tool window so that it has no taskbar
    // button, owned by the resident window so that it follows it to the top.
    if (!Window::Create(kClassName, kCaption, WS_POPUP | WS_SYSMENU, WS_EX_TOOLWINDOW, 0, 0, 0, 0, owner))
        return false;
    accessHost_.Attach(Handle());
    return true;
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
    if (services_.host.Flags().CdPlayerFlag)
        cdMode_ = services_.host.CdMode();
    cdPlayFlag_ = false;
    InitShow();
}

void LauncherWindow::InitShow() {
    LauncherHost& host = services_.host;
    // Everything is sized for the monitor the window comes up on, before it is laid out and its icons are read.
    UseScale(ShowScale());
    UpdateNameFont();
    // The drives are not asked here: under Wine that is a round trip to the mount manager per letter, and a drive
    // that comes or goes is announced by a device change, which brings the System list up to date at once. The
    // check after the first paint asks them anyway.
    RebuildTasks(TaskFacts::Remembered);
    SetLayout(form_, host.Trays(), host.Option().ColMax, labelHeight_);
    EnsureBuffer();
    form_.NowMode = StartTray(host.Trays(), host.ShowStatus(), host.Option());
    const ScreenPoint at = ShowsAtMouse(host.Option(), host.ShowStatus()) ? MoveToMouse() : CenterOnScreen();
    services_.host.LauncherShown();
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
    PostMessageW(Handle(), kMsgCheckShow, 0, 0);
}

void LauncherWindow::CheckShow() {
    LauncherHost& host = services_.host;
    // The drive letters come from the mount manager, another process under Wine: asked on the worker thread
    // while this one lists the windows.
    uint32_t drives = 0;
    worker_.Start([this, &drives] { drives = services_.system.LogicalDrives(); });
    ItemList fresh;
    // Which windows are visible was read by the show a moment ago and stands; the icons it found are not asked
    // again either.
    RebuildTaskList(fresh, TaskFacts::Check);
    worker_.Wait();
    const bool drivesChanged =
        SyncDrives(host.Trays()[SystemTray].Items, DrivesAnswered(services_.system, drives), services_.icons);
    ItemList& tasks = host.Trays()[TaskTray].Items;
    const TaskListChange change = CompareTaskLists(tasks, fresh);
    // Taken whatever it says: the fresh items borrow the icons the listing kept, and it may have let go of others.
    tasks = std::move(fresh);
    if (!IsShown())
        return;
    if (drivesChanged || change == TaskListChange::Cells) {
        CursorAfterTraysChanged(form_, host.Trays(), host.Option().ColMax, labelHeight_);
        RepaintAll();
    } else if (change == TaskListChange::Titles) {
        const int32_t mode = std::clamp(form_.NowMode, 0, 2);
        ShowItemName(mode, host.Trays()[static_cast<std::size_t>(mode)].NowIndex);
        ShowNameNow(nameCaption_);
        accessHost_.AnnounceReorder();
    }
}

void LauncherWindow::RebuildTasks(TaskFacts facts) {
    RebuildTaskList(services_.host.Trays()[TaskTray].Items, facts);
}

void LauncherWindow::RebuildTaskList(ItemList& tasks, TaskFacts facts) {
    const HWND owner = GetWindow(Handle(), GW_OWNER);
    win::RebuildTaskList(tasks, OwnWindows{FromHwnd(owner), FromHwnd(Handle())}, services_.helper, taskMemory_, facts,
                         services_.icons.DefaultProgramIcon(), CellMetricsFor(form_.Scale).iconSize);
}

DpiScale LauncherWindow::ShowScale() const {
    LauncherHost& host = services_.host;
    if (ShowsAtMouse(host.Option(), host.ShowStatus())) {
        POINT cursor{};
        GetCursorPos(&cursor);
        return ScaleAtPoint(cursor);
    }
    return MonitorScale(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

void LauncherWindow::UseScale(DpiScale scale) {
    form_.Scale = scale;
    CreateFonts();
    const int32_t iconSize = CellMetricsFor(scale).iconSize;
    IconSource& icons = services_.icons;
    if (icons.IconSize() == iconSize)
        return;
    icons.SetIconSize(iconSize);
    ResolveIconsAgain(services_.host.Trays()[ProgramTray].Items, icons);
    ResolveIconsAgain(services_.host.Trays()[SystemTray].Items, icons);
    // The Task tray's program icons were extracted at the old size. Its items borrow them, so the items go first,
    // then the icons, and the tray is listed again with icons of the new size.
    TrayEntry& tasks = services_.host.Trays()[TaskTray];
    tasks.Items.clear();
    DestroyIcons(taskMemory_.programIcons.Clear());
    RebuildTasks();
    const auto count = static_cast<int32_t>(std::min<std::size_t>(tasks.Items.size(), INT32_MAX));
    tasks.NowIndex = std::clamp(tasks.NowIndex, 0, std::max(count - 1, 0));
}

void LauncherWindow::FormDpiChanged(WPARAM wParam, LPARAM lParam) {
    UseScale(DpiScale{static_cast<int32_t>(LOWORD(wParam))});
    LauncherHost& host = services_.host;
    Rescale(form_, host.Trays(), host.Option().ColMax, labelHeight_, form_.Scale);
    EnsureBuffer();
    // The suggested rectangle keeps the window where the user put it; the size is the layout's own.
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    const POINT at = suggested ? POINT{suggested->left, suggested->top} : POINT{0, 0};
    SetWindowPos(Handle(), nullptr, at.x, at.y, form_.Layout.width, form_.Layout.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE));
    InvalidateRect(Handle(), nullptr, TRUE);
}

ScreenPoint LauncherWindow::CenterOnScreen() const {
    return PlaceAtScreenCenter(form_.Layout.width, form_.Layout.height, GetSystemMetrics(SM_CXSCREEN),
                               GetSystemMetrics(SM_CYSCREEN));
}

ScreenPoint LauncherWindow::MoveToMouse() const {
    const TOption& option = services_.host.Option();
    POINT cursor{};
    GetCursorPos(&cursor);
    const ScreenPoint anchor = MouseAnchor(form_.Layout, form_.NowMode, option.MousePositionFlag);
    const CursorPlacement placed = PlaceAtCursor({cursor.x, cursor.y}, form_.Layout.width, form_.Layout.height, anchor,
                                                 option.MoveCursorFlag, CurrentDesktop(), form_.Scale);
    if (placed.moveMouseTo)
        SetCursorPos(placed.moveMouseTo->x, placed.moveMouseTo->y);
    return placed.topLeft;
}

void LauncherWindow::HideByUser() {
    services_.host.ShowStatus() = 0;
    Hide();
}

void LauncherWindow::FormActivate(WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE || !HidesOnDeactivate(services_.host.ShowStatus()))
        return;
    services_.host.ShowStatus() = 0;
    // Another window is taking the activation: hide without handing it on. Wine still counts this window as
    // active while it is told it lost the activation, and ShowWindow would then activate the window below it,
    // which wins over the task window the launcher has just brought to the front.
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
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
    if (!form_.ShowFlag || !buffer_.Ready())
        return;
    composed_.reset();
    DrawNamePanel(buffer_.Dc());
    const BoxBounds& panel = form_.Layout.namePanel;
    Present({panel.left, panel.top, panel.left + panel.width, panel.top + panel.height});
}

void LauncherWindow::FormCloseQuery() {
    if (OnCloseCommand(cdPlayFlag_) == CloseAnswer::Hide)
        HideByUser();
}

LRESULT LauncherWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = HandleMessage(message, wParam, lParam);
    AnnounceCursor();
    return result;
}

LRESULT LauncherWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto answer = accessHost_.OnWindowMessage(message, wParam, lParam))
        return *answer;
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
    case kMsgAccessRun:
        AccessRunPosted(wParam, lParam);
        return 0;
    case kMsgCheckShow:
        CheckShow();
        return 0;
    case WM_DPICHANGED:
        FormDpiChanged(wParam, lParam);
        return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        SystemColoursChanged();
        return DefaultProc(message, wParam, lParam);
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

} // namespace vantrel::win
