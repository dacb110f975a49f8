#include "launcher/task_list.h"

#include <algorithm>
#include <optional>

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

namespace {

// The filter; the title of a listed window, which its task item takes, or nothing.
std::optional<std::u16string> ListedTitle(std::intptr_t window, TopLevelWindowFacts& facts, const OwnWindows& own) {
    if (window == own.mainWindow || window == own.launcherWindow)
        return std::nullopt;
    // Most top-level windows are hidden helpers: visibility first settles them with one question.
    if (!facts.Visible(window))
        return std::nullopt;
    const uint32_t ex = facts.ExStyle(window);
    if ((ex & kExToolWindow) || (!(ex & kExWindowEdge) && ex != 0))
        return std::nullopt;
    // Listed are windows without owner, and windows whose owner or parent is hidden.
    if (const auto owner = facts.Owner(window); owner.handle != 0 && owner.visible) {
        const auto parent = facts.Parent(window);
        if (parent.handle == 0 || parent.visible)
            return std::nullopt;
    }
    const std::u16string className = facts.ClassName(window);
    if (className == u"Progman" || className == u"Shell_TrayWnd" || className == u"#32768")
        return std::nullopt;
    const std::u16string title = facts.Title(window);
    if (className == u"ApplicationFrameWindow" && title.empty())
        return std::nullopt;
    // The caption rule also keeps a second copy of the launcher (another environment, a test build) out.
    if (title == kLauncherCaption)
        return std::nullopt;
    if (facts.UwpRejected(window))
        return std::nullopt;
    return title;
}

} // namespace

ItemList MakeTaskList(const std::vector<std::intptr_t>& zOrder, TopLevelWindowFacts& facts, const OwnWindows& own) {
    ItemList tasks;
    for (const std::intptr_t window : zOrder) {
        const auto title = ListedTitle(window, facts, own);
        if (!title)
            continue;
        RData item;
        item.WinHandle = window;
        item.Title = TaskTitle(*title);
        item.Status = 0;
        tasks.push_back(std::move(item));
    }
    if (tasks.size() >= 2)
        std::rotate(tasks.begin(), tasks.begin() + 1, tasks.end());
    return tasks;
}

const TaskWindowMemory::Window* TaskWindowMemory::Find(std::intptr_t window) const {
    const auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

void TaskWindowMemory::KeepOnly(const std::vector<std::intptr_t>& zOrder) {
    const std::set<std::intptr_t> present(zOrder.begin(), zOrder.end());
    std::erase_if(windows_, [&](const auto& entry) { return !present.count(entry.first); });
}

template <typename T, typename Ask> T RememberingWindowFacts::Recall(std::optional<T>& kept, bool trusted, Ask ask) {
    if (!trusted || !kept)
        kept = ask();
    return *kept;
}

TopLevelWindowFacts::Related RememberingWindowFacts::Relation(std::optional<std::intptr_t>& kept,
                                                              Related (TopLevelWindowFacts::*ask)(std::intptr_t),
                                                              std::intptr_t window) {
    if (mode_ != TaskFacts::Remembered || !kept) {
        const Related answer = (live_.*ask)(window);
        kept = answer.handle;
        return answer;
    }
    // The relation is remembered; whether that window is visible is asked now.
    return {*kept, *kept != 0 && live_.Visible(*kept)};
}

bool RememberingWindowFacts::Visible(std::intptr_t window) {
    return Recall(memory_.Of(window).visible, mode_ == TaskFacts::Check, [&] { return live_.Visible(window); });
}

uint32_t RememberingWindowFacts::ExStyle(std::intptr_t window) {
    return Recall(memory_.Of(window).exStyle, mode_ == TaskFacts::Remembered, [&] { return live_.ExStyle(window); });
}

TopLevelWindowFacts::Related RememberingWindowFacts::Owner(std::intptr_t window) {
    return Relation(memory_.Of(window).owner, &TopLevelWindowFacts::Owner, window);
}

TopLevelWindowFacts::Related RememberingWindowFacts::Parent(std::intptr_t window) {
    return Relation(memory_.Of(window).parent, &TopLevelWindowFacts::Parent, window);
}

std::u16string RememberingWindowFacts::ClassName(std::intptr_t window) {
    // A window's class never changes: asked once in its life.
    return Recall(memory_.Of(window).className, true, [&] { return live_.ClassName(window); });
}

std::u16string RememberingWindowFacts::Title(std::intptr_t window) {
    return Recall(memory_.Of(window).title, mode_ == TaskFacts::Remembered, [&] { return live_.Title(window); });
}

bool RememberingWindowFacts::UwpRejected(std::intptr_t window) {
    return Recall(memory_.Of(window).uwpRejected, mode_ == TaskFacts::Remembered,
                  [&] { return live_.UwpRejected(window); });
}

TaskListChange CompareTaskLists(const ItemList& shown, const ItemList& fresh) {
    if (shown.size() != fresh.size())
        return TaskListChange::Cells;
    TaskListChange change = TaskListChange::None;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i].WinHandle != fresh[i].WinHandle || shown[i].Icon.Get() != fresh[i].Icon.Get())
            return TaskListChange::Cells;
        if (shown[i].Title != fresh[i].Title)
            change = TaskListChange::Titles;
    }
    return change;
}

WindowAnswer TaskIconSearch::Ask(std::intptr_t window, WindowAnswer (TaskIconQueries::*question)(std::intptr_t)) {
    const uint32_t thread = queries_.ThreadOf(window);
    if (silentThreads_.count(thread))
        return {0, false};
    const WindowAnswer answer = (queries_.*question)(window);
    if (!answer.answered)
        silentThreads_.insert(thread);
    return answer;
}

IconHandle TaskIconSearch::OwnIcon(std::intptr_t window) {
    if (IconHandle icon = Ask(window, &TaskIconQueries::BigIcon).icon)
        return icon;
    if (IconHandle icon = queries_.ClassIcon(window))
        return icon;
    return Ask(window, &TaskIconQueries::DragIcon).icon;
}

IconHandle TaskIconSearch::Find(std::intptr_t window) {
    if (window == 0)
        return 0;
    if (IconHandle icon = OwnIcon(window))
        return icon;
    if (IconHandle icon = queries_.UwpWindowIcon(window))
        return icon;
    const std::intptr_t parent = queries_.Parent(window);
    if (parent == 0)
        return queries_.ProgramFileIcon(window);
    if (IconHandle icon = OwnIcon(parent))
        return icon;
    return defaultProgramIcon_;
}

std::optional<IconHandle> ProgramIconCache::Find(const std::u16string& path) {
    const auto it = entries_.find(path);
    if (it == entries_.end())
        return std::nullopt;
    it->second.used = true;
    return it->second.icon;
}

void ProgramIconCache::Add(const std::u16string& path, IconHandle icon) {
    entries_[path] = Entry{icon, true};
}

std::vector<IconHandle> ProgramIconCache::EndShow() {
    std::vector<IconHandle> released;
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->second.used) {
            it->second.used = false;
            ++it;
            continue;
        }
        if (it->second.icon)
            released.push_back(it->second.icon);
        it = entries_.erase(it);
    }
    return released;
}

std::vector<IconHandle> ProgramIconCache::Clear() {
    std::vector<IconHandle> released;
    for (const auto& [path, entry] : entries_)
        if (entry.icon)
            released.push_back(entry.icon);
    entries_.clear();
    return released;
}

} // namespace vantrel
