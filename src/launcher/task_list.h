#pragma once
// Which top-level windows the Task tray lists, in which order, and where each one's icon comes from. The
// window enumerates the desktop and fills one TopLevelWindow per window; everything that decides is here.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/records.h"

namespace vantrel {

constexpr uint32_t kExToolWindow = 0x80;
constexpr uint32_t kExWindowEdge = 0x100;
// A task's title is read into a 255-character buffer.
constexpr std::size_t kTaskTitleMax = 254;

// What the filter knows of one top-level window.
struct TopLevelWindow {
    std::intptr_t handle = 0;
    std::u16string title;
    std::u16string className;
    bool visible = false;
    std::intptr_t owner = 0;
    bool ownerVisible = false;
    std::intptr_t parent = 0;
    bool parentVisible = false;
    uint32_t exStyle = 0;
    bool uwpRejected = false; // the helper library is bound and calls it a UWP window
};

// This program's own windows, which never appear as tasks.
struct OwnWindows {
    std::intptr_t mainWindow = 0;     // the hidden resident window
    std::intptr_t launcherWindow = 0; // the launcher window itself, visible while a task is closed
};

// Title as stored in a task item: at most kTaskTitleMax UTF-16 units, never ending in half a surrogate pair.
std::u16string TaskTitle(std::u16string_view text);

// Listed are visible windows without a visible owner (or whose parent is hidden), that are no tool windows,
// have either no extended style or the window-edge style, and are none of: this program's windows, the
// desktop, the taskbar, open menus, untitled application frames, windows the helper library rejects.
bool IsTaskWindow(const TopLevelWindow& window, const OwnWindows& own);

// Task items for the windows in z-order (topmost first). The topmost listed window, normally the one that was
// active when the launcher was called, moves to the end: the first cell is the window one would switch to.
ItemList MakeTaskList(const std::vector<TopLevelWindow>& zOrder, const OwnWindows& own);

// Icon answers about a window, asked in order and only until one is non-zero: several are messages to other
// processes.
class TaskIconQueries {
public:
    virtual ~TaskIconQueries() = default;
    virtual IconHandle BigIcon(std::intptr_t window) = 0;       // the get-icon message, big icon
    virtual IconHandle ClassIcon(std::intptr_t window) = 0;     // the window class's icon
    virtual IconHandle DragIcon(std::intptr_t window) = 0;      // the query-drag-icon message
    virtual IconHandle UwpWindowIcon(std::intptr_t window) = 0; // through the helper library, else 0
    virtual std::intptr_t Parent(std::intptr_t window) = 0;
};

// The icon of a task window: its own, then its UWP application's, then its parent's, then the shared program
// icon for a window with a parent. A window without parent and without any icon gets 0 (an empty cell).
IconHandle FindTaskIcon(std::intptr_t window, TaskIconQueries& queries, IconHandle defaultProgramIcon);

} // namespace vantrel
