#pragma once
// What selecting an item does: a Program item or a path starts through the shell (elevated on request), a
// keyword item runs its built-in command, a Task item is activated. Everything is decided here and handed to
// a ShellExecutor (Win32: executor_win.h), so the decisions can be checked with a recording one.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/records.h"
#include "launcher/navigation.h"
#include "launcher/task_actions.h"
#include "services/system_queries.h"

namespace vantrel {

// One call of the shell's execute operation.
struct ExecuteRequest {
    enum class Owner { None, MainWindow };
    Owner owner = Owner::MainWindow;
    std::u16string verb; // empty: the file's default action
    std::u16string file;
    std::u16string parameters;
    std::u16string folder;
    int32_t show = 5; // SW_SHOW
    friend bool operator==(const ExecuteRequest&, const ExecuteRequest&) = default;
};

// Commands of the CD player item and its popup entries (the CD service carries them out).
enum class CdCommand {
    Toggle,        // pause while playing, else play on
    PlayFromStart, // from the first track
    NextTrack,
    PreviousTrack,
    Eject,
};

// The system calls a run makes.
class ShellExecutor {
public:
    virtual ~ShellExecutor() = default;
    virtual void Execute(const ExecuteRequest& request) = 0;
    // Opens a shell special folder (CSIDL) by its item-id list, owned by the main window; nothing when the
    // system has no such folder.
    virtual void OpenSpecialFolder(int32_t folderId) = 0;

    // Top-level window of a class (and title, when one is given); 0 when there is none.
    virtual std::intptr_t FindTopWindow(std::u16string_view className, std::u16string_view title) = 0;
    virtual std::intptr_t FirstChild(std::intptr_t window) = 0;
    virtual std::intptr_t DesktopWindow() = 0;
    virtual std::intptr_t ForegroundWindow() = 0;
    virtual void SetForeground(std::intptr_t window) = 0;
    virtual void Post(std::intptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    // Lets the user interface handle what is queued (a hide takes effect before the next step).
    virtual void ProcessPendingMessages() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
    virtual uint32_t TickCount() = 0;

    // Enables the shutdown privilege and asks for a forced suspend.
    virtual void Suspend() = 0;
    // Cancels the network connection of a local name such as "Z:" (not forced).
    virtual void CancelNetworkConnection(const std::u16string& localName) = 0;
    // Safe removal of a USB device through the device library.
    virtual void EjectDevice(int32_t deviceHandle) = 0;
    virtual void Cd(CdCommand command) = 0;
};

// Window messages the built-in commands post.
constexpr uint32_t kWmClose = 0x0010;
constexpr uint32_t kWmKeyDown = 0x0100;
constexpr uint32_t kWmLButtonDown = 0x0201;
// "Start Menu" waits this many ticks for the taskbar to take the foreground, then this long for the menu.
constexpr uint32_t kStartMenuWaitTicks = 2;
constexpr uint32_t kStartMenuSettleMs = 100;

// What a run reads and changes: the task actions' context plus the shell and the system's answers.
struct RunContext {
    TaskActionContext& tasks;
    ShellExecutor& shell;
    const SystemQueries& system;
};

// The shell call that starts a Program item or a path item. Working folder: DirectoryName, else the folder
// of ExeFileName, environment variables expanded, else the user's profile (or the system folder); elevated
// ("runas", no owner) when the item always runs elevated or the caller asks and the item may be elevated.
ExecuteRequest StartProgramRequest(const RData& item, bool runas, const SystemQueries& system);

// Runs item `index` of `tray` and ends the shown state. A cell that shows no item runs nothing.
void RunItem(RunContext& c, int32_t tray, int32_t index, bool runas);

// The built-in command of a keyword item (its ExeFileName).
void RunSpecialItem(RunContext& c, const RData& item);

// Carries out what a navigation handler returned, except ShowMenu, which the window opens itself with the
// entries of ComposeItemMenu (item_menu.h).
void PerformAction(RunContext& c, const NavAction& action);

} // namespace vantrel
