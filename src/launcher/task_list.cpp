#include "launcher/task_list.h"

#include <algorithm>

namespace vantrel {

std::u16string TaskTitle(std::u16string_view text) {
    if (text.size() <= kTaskTitleMax)
        return std::u16string(text);
    std::size_t length = kTaskTitleMax;
    const char16_t last = text[length - 1];
    if (last >= 0xD800 && last <= 0xDBFF)
        --length;
    return std::u16string(text.substr(0, length));
}

bool IsTaskWindow(const TopLevelWindow& window, const OwnWindows& own) {
    if (window.owner != 0 && window.ownerVisible && (window.parent == 0 || window.parentVisible))
        return false;
    if (window.exStyle & kExToolWindow)
        return false;
    if (!(window.exStyle & kExWindowEdge) && window.exStyle != 0)
        return false;
    if (!window.visible)
        return false;
    // Own windows are recognised by handle, not by caption: another program's window may well be titled
    // "vantrel" (a folder of that name open in Explorer) and must still be listed.
    if (window.handle == own.mainWindow || window.handle == own.launcherWindow)
        return false;
    if (window.className == u"Progman" || window.className == u"Shell_TrayWnd")
        return false;
    if (window.className == u"ApplicationFrameWindow" && window.title.empty())
        return false;
    if (window.className == u"#32768")
        return false;
    return !window.uwpRejected;
}

ItemList MakeTaskList(const std::vector<TopLevelWindow>& zOrder, const OwnWindows& own) {
    ItemList tasks;
    for (const auto& window : zOrder) {
        if (!IsTaskWindow(window, own))
            continue;
        RData item;
        item.WinHandle = window.handle;
        item.Title = TaskTitle(window.title);
        item.Status = 0;
        tasks.push_back(std::move(item));
    }
    if (tasks.size() >= 2)
        std::rotate(tasks.begin(), tasks.begin() + 1, tasks.end());
    return tasks;
}

namespace {

IconHandle OwnIcon(std::intptr_t window, TaskIconQueries& queries) {
    if (IconHandle icon = queries.BigIcon(window))
        return icon;
    if (IconHandle icon = queries.ClassIcon(window))
        return icon;
    return queries.DragIcon(window);
}

} // namespace

IconHandle FindTaskIcon(std::intptr_t window, TaskIconQueries& queries, IconHandle defaultProgramIcon) {
    if (window == 0)
        return 0;
    if (IconHandle icon = OwnIcon(window, queries))
        return icon;
    if (IconHandle icon = queries.UwpWindowIcon(window))
        return icon;
    const std::intptr_t parent = queries.Parent(window);
    if (parent == 0)
        return 0;
    if (IconHandle icon = OwnIcon(parent, queries))
        return icon;
    return defaultProgramIcon;
}

} // namespace vantrel
