#pragma once
// The desktop's top-level windows as the Task tray model sees them, and the Win32 answers to its icon
// questions. Every message to another program's window goes through SendMessageTimeoutW, so a hung program
// cannot hang the launcher.

#include <map>
#include <string>
#include <vector>

#include <windows.h>

#include "launcher/task_list.h"

namespace vantrel::win {

class HelperLibrary;

// The top-level windows in z-order, topmost first.
std::vector<std::intptr_t> EnumerateTopLevelWindows();

// The window system's answers to the filter's questions.
class Win32WindowFacts : public TopLevelWindowFacts {
public:
    explicit Win32WindowFacts(const HelperLibrary& helper) : helper_(helper) {}
    uint32_t ExStyle(std::intptr_t window) override;
    bool Visible(std::intptr_t window) override;
    Related Owner(std::intptr_t window) override;
    Related Parent(std::intptr_t window) override;
    std::u16string ClassName(std::intptr_t window) override;
    std::u16string Title(std::intptr_t window) override;
    bool UwpRejected(std::intptr_t window) override;

private:
    const HelperLibrary& helper_;
};

// Answers for one show's icon search. Program file icons go to the cache, which outlives the show.
class Win32TaskIconQueries : public TaskIconQueries {
public:
    Win32TaskIconQueries(const HelperLibrary& helper, ProgramIconCache& cache) : helper_(helper), cache_(cache) {}

    WindowAnswer BigIcon(std::intptr_t window) override;
    IconHandle ClassIcon(std::intptr_t window) override;
    WindowAnswer DragIcon(std::intptr_t window) override;
    IconHandle UwpWindowIcon(std::intptr_t window) override;
    std::intptr_t Parent(std::intptr_t window) override;
    uint32_t ThreadOf(std::intptr_t window) override;
    IconHandle ProgramFileIcon(std::intptr_t window) override;

private:
    struct Owners {
        DWORD thread = 0;
        DWORD process = 0;
    };
    Owners OwnersOf(std::intptr_t window);
    std::wstring ProcessImage(DWORD processId);

    const HelperLibrary& helper_;
    ProgramIconCache& cache_;
    // For this show only: a window's thread and process, and a process's executable.
    std::map<std::intptr_t, Owners> owners_;
    std::map<DWORD, std::wstring> images_;
};

// Rebuilds the Task list: the old items go (their icons belong to other windows or to the cache), the
// desktop's windows are filtered and ordered, each gets its icon, and the cache lets go of the program
// icons no window of this show needed.
void RebuildTaskList(ItemList& tasks, const OwnWindows& own, const HelperLibrary& helper, ProgramIconCache& cache,
                     IconHandle defaultProgramIcon);

// Destroys the icons the cache hands back.
void DestroyIcons(const std::vector<IconHandle>& icons);

} // namespace vantrel::win
