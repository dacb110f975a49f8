#pragma once
// The launcher window (class "TVanMainForm", caption "vantrel"): three trays of icons and the name panel,
// laid out, placed and painted as the launcher models say. It is created once, hidden, and shown by the
// resident core on every trigger; closing it only hides it.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include <windows.h>

#include "core/geometry.h"
#include "grid/cell_paint.h"
#include "grid/cell_painter_win.h"
#include "launcher/launcher_access.h"
#include "launcher/launcher_host.h"
#include "launcher/layout.h"
#include "launcher/navigation.h"
#include "launcher/task_actions.h"
#include "launcher/task_actions_win.h"
#include "launcher/task_list.h"
#include "launcher/task_windows_win.h"
#include "launcher/tray_pictures_win.h"
#include "services/grid_colours.h"
#include "services/item_services.h"
#include "services/system_queries.h"
#include "win/accessible_grid_win.h"
#include "win/back_buffer_win.h"
#include "win/unique_handle_win.h"
#include "win/window_win.h"
#include "win/worker_thread_win.h"

namespace vantrel {
class CdAudio;
class ShellExecutor;
struct RunContext;
} // namespace vantrel

namespace vantrel::win {

class HelperLibrary;

// What the window reads and changes outside itself.
struct LauncherServices {
    LauncherHost& host;
    const SystemQueries& system;
    IconSource& icons;
    const HelperLibrary& helper;
    DeviceLibraryFunctions* devices = nullptr; // USB removal; none: the eject command does nothing
    CdAudio* cd = nullptr;                     // the CD player item's commands; none: they do nothing
    // What runs items and commands; none: the system's shell, with the owner window owning its windows.
    ShellExecutor* shell = nullptr;
};

// An assistive program's request to run a cell, carried out once its call has returned (wParam tray, lParam index).
constexpr UINT kMsgAccessRun = WM_APP + 0x21;
// Posted by every show to itself: the check of what the show took from memory. A posted message is read before
// the keys and clicks that wait behind it, so the user acts on checked trays.
constexpr UINT kMsgCheckShow = WM_APP + 0x22;

class LauncherWindow : public Window, private LauncherView, private LauncherAccessWindow {
public:
    explicit LauncherWindow(LauncherServices services);
    ~LauncherWindow() override;

    // Creates the hidden window, owned by the resident main window.
    bool Create(HWND owner);

    // The show sequence; the caller has set ShowStatus to 1 (hot key) or 2 (mouse).
    void Show();
    void Hide();
    bool IsShown() const;

    // A CD command or the popup menu is in progress: the window must not be closed or toggled away.
    bool CDPlayFlag() const { return cdPlayFlag_; }

    const LauncherWindowState& FormState() const { return form_; }
    const std::u16string& NameCaption() const { return nameCaption_; }
    // Number of full paints so far; a benchmark waits for it to change.
    uint32_t FullPaintCount() const { return fullPaints_; }
    // The colours the window paints with now.
    GridColours Colours() const;

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void FormShow();
    void InitShow();
    void FormActivate(WPARAM wParam);
    void FormKeyDown(WPARAM key, bool alt);
    void FormMouseMove(LPARAM lParam);
    void FormMouseDown(MouseButton button, WPARAM wParam, LPARAM lParam);
    // The tray whose paint box holds the client point, or -1.
    int32_t TrayAt(POINT client) const;
    Navigation MakeNavigation();
    // Draws what a handler returned and carries out its action.
    void Apply(const NavResult& result);
    // Runs an item, task or menu action with the window's executor and task operations.
    void Perform(const std::function<void(RunContext&)>& act);
    void ShowItemMenu(const NavAction& action);
    void RebuildTasks(TaskFacts facts = TaskFacts::Fresh);
    void RebuildTaskList(ItemList& tasks, TaskFacts facts);
    // After the show's first paint: the drives and the Task list asked afresh; what differs from what the show
    // painted is painted again.
    void CheckShow();

    // LauncherView: what the run and task actions ask of the window.
    void HideLauncher() override;
    void RepaintAll() override;
    void BringToFront() override;
    void ShowNameNow(const std::u16string& text) override;
    void SetCdPlayFlag(bool on) override { cdPlayFlag_ = on; }

    // LauncherAccessWindow: what an assistive program may ask of the window.
    bool Showing() const override;
    bool SelectForAccess(int32_t tray, int32_t index) override;
    bool RunForAccess(int32_t tray, int32_t index) override;
    void AccessRunPosted(WPARAM tray, LPARAM index);
    // After every message: a cursor that moved is announced to listening assistive programs.
    void AnnounceCursor();
    // The system's colours or its high-contrast setting changed.
    void SystemColoursChanged();
    void FormCloseQuery();
    LRESULT FormEraseBackground(HDC dc);
    void FormPaint();

    void HideByUser();
    // The DPI of the monitor the window comes up on: the mouse's for a show at the mouse, else the primary's.
    DpiScale ShowScale() const;
    // Fonts and item icons at a scale; the item icons of the Program and System trays are resolved again when their
    // size changes.
    void UseScale(DpiScale scale);
    // WM_DPICHANGED: the window was moved to a monitor of another DPI.
    void FormDpiChanged(WPARAM wParam, LPARAM lParam);
    void CreateFonts();
    void UpdateNameFont();
    // Where the window comes up: at the mouse (which may move onto the window) or centred on the screen.
    ScreenPoint MoveToMouse() const;
    ScreenPoint CenterOnScreen() const;
    void PaintAll(HDC target);
    std::array<TrayPictureKey, 3> PictureKeys() const;
    void DrawAllTrays(HDC dc, std::array<TrayPictureKey, 3>&& keys);
    void DrawCaptions(HDC dc);
    void DrawNamePanel(HDC dc);
    void RedrawCell(int32_t tray, int32_t index, int32_t state);
    void ShowItemName(int32_t tray, int32_t index);
    void EnsureBuffer();
    // Copies part of the back buffer to the window, through the given DC or the window's own.
    void Present(const RECT& area, HDC target = nullptr);
    POINT BoxOrigin(int32_t tray) const;
    CellPaintContext PaintContext() const;
    HBRUSH Brush(COLORREF colour) const;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    LauncherServices services_;
    LauncherWindowState form_;
    CellPainter painter_;
    TaskListMemory taskMemory_;
    UniqueGdiObject captionFont_;
    UniqueGdiObject nameFont_;
    bool nameFontMeiryo_ = false;
    DpiScale fontScale_{0}; // the scale the fonts were made for; none yet
    int32_t labelHeight_ = 0;
    std::u16string nameCaption_;
    bool cdPlayFlag_ = false;
    int32_t cdMode_ = 0;
    NavigationState nav_;
    Win32TaskWindowOps taskOps_{[this] { RebuildTasks(); }};
    // The last right press, to tell a right double-click: the class takes no double-click messages.
    DWORD lastRightPress_ = 0;
    POINT lastRightPoint_{-10000, -10000};
    uint32_t fullPaints_ = 0;
    SystemTheme theme_; // the system's colours, high contrast and dark apps, as last read
    mutable std::map<COLORREF, UniqueGdiObject> brushes_;
    LauncherAccess access_{services_.host, form_, *this};
    AccessibleGridHost accessHost_{access_};

    TrayPictures pictures_;
    BackBuffer buffer_;
    // What the back buffer holds as one full paint drew it; none once anything was drawn over it since. A show
    // that would draw the same (the same windows listed, the cursor back where it was) only copies it.
    struct ComposedFrame {
        LauncherLayout layout;
        int32_t mode = 0;
        int32_t index = 0;
        std::u16string name;
        GridColours colours;
        bool meiryo = false;
        friend bool operator==(const ComposedFrame&, const ComposedFrame&) = default;
    };
    std::optional<ComposedFrame> composed_;
    WorkerThread worker_;
};

} // namespace vantrel::win
