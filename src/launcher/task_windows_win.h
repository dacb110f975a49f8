#pragma once
// The desktop's top-level windows as the Task tray model sees them, and the Win32 answers to its icon
// questions. Every message to another program's window goes through SendMessageTimeoutW, so a hung program
// cannot hang the launcher.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "launcher/task_list.h"

namespace vantrel::win {

class HelperLibrary;

// The top-level windows in z-order, topmost first.
std::vector<std::intptr_t> EnumerateTopLevelWindows();

// What never changes during a window's life: its class, thread and process, and the process's program file.
// Kept between shows for the windows the last show asked about, so that a show asks the window system only
// what can have changed. A
// window handle carries a use counter, so a new window does not come back under a handle just freed.
class WindowIdentities {
public:
    struct Identity {
        std::u16string className;
        DWORD thread = 0;
        DWORD process = 0;
        bool used = true;
        bool imageRead = false;
        std::wstring image; // the process's program file; empty when it could not be read
    };
    const Identity& Of(std::intptr_t window);
    // The program file of the window's process, read once per window.
    const std::wstring& ImageOf(std::intptr_t window);
    // Forgets the windows this show did not ask about.
    void EndShow();

private:
    std::map<std::intptr_t, Identity> known_;
};

// What one show has learnt of a window so far: the icon search reuses the filter's answers instead of asking
// again, and asks a class's icon once for all its windows. Every question to another program's window is a
// round trip to the window system.
struct ShowAnswers {
    struct Known {
        std::optional<uint32_t> style;
        std::optional<std::intptr_t> owner;
    };
    std::map<std::intptr_t, Known> windows;
    std::map<std::pair<DWORD, std::u16string>, IconHandle> classIcons; // by process and class name
};

// The window system's answers to the filter's questions.
class Win32WindowFacts : public TopLevelWindowFacts {
public:
    Win32WindowFacts(const HelperLibrary& helper, WindowIdentities& identities, ShowAnswers* answers = nullptr)
        : helper_(helper), identities_(identities), answers_(answers) {}
    uint32_t ExStyle(std::intptr_t window) override;
    bool Visible(std::intptr_t window) override;
    Related Owner(std::intptr_t window) override;
    Related Parent(std::intptr_t window) override;
    std::u16string ClassName(std::intptr_t window) override;
    std::u16string Title(std::intptr_t window) override;
    bool UwpRejected(std::intptr_t window) override;

private:
    const HelperLibrary& helper_;
    WindowIdentities& identities_;
    ShowAnswers* answers_;
};

// Answers for one show's icon search. Program file icons are extracted at the tray's icon size and go to the
// cache, which outlives the show.
class Win32TaskIconQueries : public TaskIconQueries {
public:
    Win32TaskIconQueries(const HelperLibrary& helper, ProgramIconCache& cache, WindowIdentities& identities,
                         ShowAnswers* answers = nullptr, int iconSize = 32)
        : helper_(helper), cache_(cache), identities_(identities), answers_(answers), iconSize_(iconSize) {}

    WindowAnswer BigIcon(std::intptr_t window) override;
    IconHandle ClassIcon(std::intptr_t window) override;
    WindowAnswer DragIcon(std::intptr_t window) override;
    IconHandle UwpWindowIcon(std::intptr_t window) override;
    std::intptr_t Parent(std::intptr_t window) override;
    uint32_t ThreadOf(std::intptr_t window) override;
    IconHandle ProgramFileIcon(std::intptr_t window) override;

private:
    const HelperLibrary& helper_;
    ProgramIconCache& cache_;
    WindowIdentities& identities_;
    ShowAnswers* answers_;
    int iconSize_;
};

// What the Task tray's listings keep from one to the next.
struct TaskListMemory {
    ProgramIconCache programIcons;
    WindowIdentities identities;
    TaskWindowMemory windows;
    // The styles, owners and class icons the last listing read; the show's check starts from the show's.
    ShowAnswers lastAnswers;
};

// Rebuilds the Task list: the old items go (their icons belong to other windows or to the cache), the
// desktop's windows are filtered and ordered, each gets its icon, and the cache lets go of the program
// icons no window of this listing needed. `facts` says how much of the memory the filter may trust.
void RebuildTaskList(ItemList& tasks, const OwnWindows& own, const HelperLibrary& helper, TaskListMemory& memory,
                     TaskFacts facts, IconHandle defaultProgramIcon, int iconSize = 32);

// Destroys the icons the cache hands back.
void DestroyIcons(const std::vector<IconHandle>& icons);

} // namespace vantrel::win
