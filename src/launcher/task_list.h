#pragma once
// Which top-level windows the Task tray lists, in which order, and where each one's icon comes from. The
// window enumerates the desktop and fills one TopLevelWindow per window; everything that decides is here.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/records.h"

namespace vantrel {

constexpr uint32_t kExToolWindow = 0x80;
constexpr uint32_t kExWindowEdge = 0x100;
// A task's title is read into a 255-character buffer.
constexpr std::size_t kTaskTitleMax = 254;
// The launcher window's own caption; no window with exactly this title is listed.
constexpr std::u16string_view kLauncherCaption = u"vantrel";

// This program's own windows, which never appear as tasks.
struct OwnWindows {
    std::intptr_t mainWindow = 0;     // the hidden resident window
    std::intptr_t launcherWindow = 0; // the launcher window itself, visible while a task is closed
};

// Title as stored in a task item: at most kTaskTitleMax UTF-16 units, never ending in half a surrogate pair.
std::u16string TaskTitle(std::u16string_view text);

// What the filter can ask about one top-level window. Every answer may cost a round trip to the window
// system, so the filter asks the cheap and most often decisive questions first (most top-level windows are
// hidden helpers) and stops at the first rule that skips the window.
class TopLevelWindowFacts {
public:
    struct Related {
        std::intptr_t handle = 0;
        bool visible = false;
    };
    virtual ~TopLevelWindowFacts() = default;
    virtual uint32_t ExStyle(std::intptr_t window) = 0;
    virtual bool Visible(std::intptr_t window) = 0;
    virtual Related Owner(std::intptr_t window) = 0;
    virtual Related Parent(std::intptr_t window) = 0;
    virtual std::u16string ClassName(std::intptr_t window) = 0;
    virtual std::u16string Title(std::intptr_t window) = 0;
    virtual bool UwpRejected(std::intptr_t window) = 0; // the helper library is bound and calls it a UWP window
};

// Task items for the windows in z-order (topmost first). Listed are visible windows without a visible owner (or whose
// parent is hidden), that are no tool windows, have either no extended style or the window-edge style, and are none of:
// this program's windows, a window captioned exactly like the launcher, the desktop, the taskbar, open menus, untitled
// application frames, windows the helper library rejects. The topmost listed window, normally the one that was active
// when the launcher was called, moves to the end: the first cell is the window one would switch to.
ItemList MakeTaskList(const std::vector<std::intptr_t>& zOrder, TopLevelWindowFacts& facts, const OwnWindows& own);

// What earlier listings learnt of each window about the facts that seldom or never change during a window's life:
// its extended style, owner, parent, class, title and whether the helper library rejects it. Each is kept as it was
// last asked; windows that are no longer on the desktop are forgotten at the next listing.
class TaskWindowMemory {
public:
    struct Window {
        std::optional<bool> visible;
        std::optional<uint32_t> exStyle;
        std::optional<std::intptr_t> owner;
        std::optional<std::intptr_t> parent;
        std::optional<std::u16string> className;
        std::optional<std::u16string> title;
        std::optional<bool> uwpRejected;
    };
    Window& Of(std::intptr_t window) { return windows_[window]; }
    const Window* Find(std::intptr_t window) const;
    // Forgets every window that is not in this z-order.
    void KeepOnly(const std::vector<std::intptr_t>& zOrder);

private:
    std::map<std::intptr_t, Window> windows_;
};

// How a listing treats what it remembers. Every question to the window system is a round trip, under Wine to
// another process, so the show's listing (Remembered) asks a window seen before only whether it, and its owner or
// parent, is visible now, and takes the rest from memory: which windows exist, their z-order and what is visible
// are always exact. Right after its first paint the show checks the rest (Check): the visibility it has just
// read stands, everything else is asked again and kept. Fresh asks everything.
enum class TaskFacts { Fresh, Remembered, Check };

// The filter's questions answered through the memory.
class RememberingWindowFacts : public TopLevelWindowFacts {
public:
    RememberingWindowFacts(TopLevelWindowFacts& live, TaskWindowMemory& memory, TaskFacts mode)
        : live_(live), memory_(memory), mode_(mode) {}
    uint32_t ExStyle(std::intptr_t window) override;
    bool Visible(std::intptr_t window) override;
    Related Owner(std::intptr_t window) override;
    Related Parent(std::intptr_t window) override;
    std::u16string ClassName(std::intptr_t window) override;
    std::u16string Title(std::intptr_t window) override;
    bool UwpRejected(std::intptr_t window) override;

private:
    // The kept answer in the modes that trust it, else the system's, which is kept.
    template <typename T, typename Ask> T Recall(std::optional<T>& kept, bool trusted, Ask ask);
    Related Relation(std::optional<std::intptr_t>& kept, Related (TopLevelWindowFacts::*ask)(std::intptr_t),
                     std::intptr_t window);

    TopLevelWindowFacts& live_;
    TaskWindowMemory& memory_;
    TaskFacts mode_;
};

// How a fresh Task list differs from the one on the screen: not at all, only in titles (nothing moves, the name
// panel and screen readers need the new text), or in its cells (windows or icons: laid out and painted anew).
enum class TaskListChange { None, Titles, Cells };
TaskListChange CompareTaskLists(const ItemList& shown, const ItemList& fresh);

// Time a window of another program gets to answer one icon question. A live window answers within a
// millisecond; 50 ms (three frames) is generous for a busy one, and a program that stopped pumping messages
// costs the show at most this once. Windows flags a window hung after five seconds, and from then on the
// question returns at once.
constexpr uint32_t kTaskMessageTimeoutMs = 50;

// Answer to a message sent to another program's window with the time limit above.
struct WindowAnswer {
    IconHandle icon = 0;
    bool answered = true; // false: no answer in time, a window known to be hung, or the message not delivered
};

// Icon answers about a window, asked in order and only until one is non-zero: several are messages to other
// processes.
class TaskIconQueries {
public:
    virtual ~TaskIconQueries() = default;
    virtual WindowAnswer BigIcon(std::intptr_t window) = 0;     // the get-icon message, big icon
    virtual IconHandle ClassIcon(std::intptr_t window) = 0;     // the window class's icon
    virtual WindowAnswer DragIcon(std::intptr_t window) = 0;    // the query-drag-icon message
    virtual IconHandle UwpWindowIcon(std::intptr_t window) = 0; // through the helper library, else 0
    virtual std::intptr_t Parent(std::intptr_t window) = 0;
    virtual uint32_t ThreadOf(std::intptr_t window) = 0;          // the thread that answers its messages
    virtual IconHandle ProgramFileIcon(std::intptr_t window) = 0; // its executable's first icon, else 0
};

// The icon search of one Task list. A window's own icon comes first, then its UWP application's, then its
// parent's, then the shared program icon for a window with a parent. A window without parent and without any
// of these gets the icon of its program file (under Wine the only icon another process's window has), or 0.
// Once a message to a thread's window went unanswered, its windows get no more messages during this search:
// a hung program delays the show by one time limit, not by one per question and window.
class TaskIconSearch {
public:
    TaskIconSearch(TaskIconQueries& queries, IconHandle defaultProgramIcon)
        : queries_(queries), defaultProgramIcon_(defaultProgramIcon) {}

    IconHandle Find(std::intptr_t window);

private:
    IconHandle OwnIcon(std::intptr_t window);
    WindowAnswer Ask(std::intptr_t window, WindowAnswer (TaskIconQueries::*question)(std::intptr_t));

    TaskIconQueries& queries_;
    IconHandle defaultProgramIcon_;
    std::set<uint32_t> silentThreads_;
};

// Icons extracted from program files for the Task tray, one per executable path, so that twenty windows of
// one program cost one extraction. The cache outlives a show: an entry stays while some window of the last
// show needed it, and is released when a show passes without it.
class ProgramIconCache {
public:
    // The cached icon of a path (0 when the file had none), marking it used by the current show.
    std::optional<IconHandle> Find(const std::u16string& path);
    void Add(const std::u16string& path, IconHandle icon);
    // End of a show's icon search: drops the entries it did not use and returns their icons for destruction.
    std::vector<IconHandle> EndShow();
    // Everything, for the end of the program.
    std::vector<IconHandle> Clear();

private:
    struct Entry {
        IconHandle icon = 0;
        bool used = true;
    };
    std::map<std::u16string, Entry> entries_;
};

} // namespace vantrel
