#include "launcher/task_windows_win.h"

#include <shellapi.h>

#include <iterator>

#include "services/helper_library_win.h"
#include "services/system_win.h"
#include "win/strings_win.h"
#include "win/window_win.h"

namespace vantrel::win {

namespace {

// The buffer sizes the filter's rules are written for.
constexpr int kTitleBuffer = 255;
constexpr int kClassBuffer = 128;

WindowAnswer AskWithTimeout(std::intptr_t window, UINT message, WPARAM wParam) {
    DWORD_PTR result = 0;
    // SMTO_BLOCK: no other message of ours runs while we wait, so the show cannot be re-entered.
    // SMTO_ABORTIFHUNG: a window the system already knows to be hung costs nothing.
    if (SendMessageTimeoutW(ToHwnd(window), message, wParam, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kTaskMessageTimeoutMs,
                            &result))
        return {static_cast<IconHandle>(result), true};
    // A time-out, a known hang, or a message the system does not carry to that process at all (Wine does
    // not pass the icon messages between processes): asking the same thread again would fail the same way.
    return {0, false};
}

} // namespace

std::vector<std::intptr_t> EnumerateTopLevelWindows() {
    std::vector<std::intptr_t> handles;
    // The current desktop's top-level windows in z-order, from one answer of the window system. EnumWindows
    // lists the same windows but asks about each once more before handing it over (under Wine a round trip per
    // window, the largest part of listing them); a window that has gone meanwhile fails the filter's first
    // question anyway.
    EnumDesktopWindows(
        nullptr,
        [](HWND hwnd, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<std::intptr_t>*>(data)->push_back(FromHwnd(hwnd));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&handles));
    return handles;
}

const WindowIdentities::Identity& WindowIdentities::Of(std::intptr_t window) {
    const auto known = known_.find(window);
    if (known != known_.end()) {
        known->second.used = true;
        return known->second;
    }
    Identity identity;
    wchar_t name[kClassBuffer] = {};
    GetClassNameW(ToHwnd(window), name, kClassBuffer);
    identity.className = FromWide(name);
    identity.thread = GetWindowThreadProcessId(ToHwnd(window), &identity.process);
    return known_[window] = std::move(identity);
}

const std::wstring& WindowIdentities::ImageOf(std::intptr_t window) {
    Of(window);
    Identity& identity = known_[window];
    if (identity.imageRead)
        return identity.image;
    identity.imageRead = true;
    // Another window of the same process may have read it already; only a window seen in this show vouches
    // for its process, since a process number is handed out again once its process has ended.
    for (const auto& [handle, other] : known_)
        if (other.used && other.imageRead && other.process == identity.process && handle != window &&
            !other.image.empty())
            return identity.image = other.image;
    if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, identity.process)) {
        wchar_t buffer[MAX_PATH * 2] = {};
        DWORD size = static_cast<DWORD>(std::size(buffer));
        if (QueryFullProcessImageNameW(process, 0, buffer, &size))
            identity.image.assign(buffer, size);
        CloseHandle(process);
    }
    return identity.image;
}

void WindowIdentities::EndShow() {
    for (auto it = known_.begin(); it != known_.end();) {
        if (!it->second.used) {
            it = known_.erase(it);
            continue;
        }
        it->second.used = false;
        ++it;
    }
}

uint32_t Win32WindowFacts::ExStyle(std::intptr_t window) {
    return static_cast<uint32_t>(GetWindowLongPtrW(ToHwnd(window), GWL_EXSTYLE));
}

bool Win32WindowFacts::Visible(std::intptr_t window) {
    // A top-level window's parent is the desktop, which is always visible, so its own visible style is the
    // whole answer: one call instead of IsWindowVisible's walk.
    const auto style = static_cast<uint32_t>(GetWindowLongPtrW(ToHwnd(window), GWL_STYLE));
    if (answers_)
        answers_->windows[window].style = style;
    return (style & WS_VISIBLE) != 0;
}

TopLevelWindowFacts::Related Win32WindowFacts::Owner(std::intptr_t window) {
    const HWND owner = GetWindow(ToHwnd(window), GW_OWNER);
    if (answers_)
        answers_->windows[window].owner = FromHwnd(owner);
    return {FromHwnd(owner), owner && IsWindowVisible(owner)};
}

TopLevelWindowFacts::Related Win32WindowFacts::Parent(std::intptr_t window) {
    // For an owned top-level window with the popup style this is its owner.
    const HWND parent = GetParent(ToHwnd(window));
    return {FromHwnd(parent), parent && IsWindowVisible(parent)};
}

std::u16string Win32WindowFacts::ClassName(std::intptr_t window) {
    return identities_.Of(window).className;
}

std::u16string Win32WindowFacts::Title(std::intptr_t window) {
    // For another process's window GetWindowTextW reads the stored caption without sending a message.
    wchar_t title[kTitleBuffer] = {};
    GetWindowTextW(ToHwnd(window), title, kTitleBuffer);
    return FromWide(title);
}

bool Win32WindowFacts::UwpRejected(std::intptr_t window) {
    return helper_.IsUwpWindow(ToHwnd(window));
}

WindowAnswer Win32TaskIconQueries::BigIcon(std::intptr_t window) {
    return AskWithTimeout(window, WM_GETICON, ICON_BIG);
}

IconHandle Win32TaskIconQueries::ClassIcon(std::intptr_t window) {
    if (!answers_)
        return static_cast<IconHandle>(GetClassLongPtrW(ToHwnd(window), GCLP_HICON));
    // One class of one process has one icon: twenty windows of a program cost one question.
    const WindowIdentities::Identity& identity = identities_.Of(window);
    const auto key = std::make_pair(identity.process, identity.className);
    if (const auto known = answers_->classIcons.find(key); known != answers_->classIcons.end())
        return known->second;
    const auto icon = static_cast<IconHandle>(GetClassLongPtrW(ToHwnd(window), GCLP_HICON));
    answers_->classIcons[key] = icon;
    return icon;
}

WindowAnswer Win32TaskIconQueries::DragIcon(std::intptr_t window) {
    return AskWithTimeout(window, WM_QUERYDRAGICON, 0);
}

IconHandle Win32TaskIconQueries::UwpWindowIcon(std::intptr_t window) {
    // Without the helper library the answer is 0 whatever the window holds; the search is not worth a call.
    if (!helper_.Loaded())
        return 0;
    const HWND core = FindWindowExW(ToHwnd(window), nullptr, L"Windows.UI.Core.CoreWindow", nullptr);
    return core ? FromHicon(helper_.UwpAppIcon(core)) : 0;
}

std::intptr_t Win32TaskIconQueries::Parent(std::intptr_t window) {
    // For a top-level window GetParent answers from its style and owner, which the filter has just read: the
    // owner for a popup, nothing otherwise.
    if (answers_) {
        const auto known = answers_->windows.find(window);
        if (known != answers_->windows.end() && known->second.style && known->second.owner &&
            !(*known->second.style & WS_CHILD))
            return (*known->second.style & WS_POPUP) ? *known->second.owner : 0;
    }
    return FromHwnd(GetParent(ToHwnd(window)));
}

uint32_t Win32TaskIconQueries::ThreadOf(std::intptr_t window) {
    return identities_.Of(window).thread;
}

IconHandle Win32TaskIconQueries::ProgramFileIcon(std::intptr_t window) {
    const std::wstring path = identities_.ImageOf(window);
    if (path.empty())
        return 0;
    const std::u16string key = FromWide(path);
    if (const auto cached = cache_.Find(key))
        return *cached;
    // At the tray's icon size from the file's own images: a window's icon of another size would be stretched.
    const HICON large = ExtractSized(path.c_str(), 0, iconSize_);
    cache_.Add(key, FromHicon(large));
    return FromHicon(large);
}

void RebuildTaskList(ItemList& tasks, const OwnWindows& own, const HelperLibrary& helper, TaskListMemory& memory,
                     TaskFacts facts, IconHandle defaultProgramIcon, int iconSize) {
    tasks.clear();
    const std::vector<std::intptr_t> zOrder = EnumerateTopLevelWindows();
    memory.windows.KeepOnly(zOrder);
    ShowAnswers answers = facts == TaskFacts::Check ? std::move(memory.lastAnswers) : ShowAnswers{};
    Win32WindowFacts live(helper, memory.identities, &answers);
    RememberingWindowFacts remembering(live, memory.windows, facts);
    tasks = MakeTaskList(zOrder, remembering, own);
    // An owner the filter took from memory was not asked this time; the icon search's parent question wants it.
    for (const RData& task : tasks)
        if (const auto* known = memory.windows.Find(task.WinHandle); known && known->owner)
            answers.windows[task.WinHandle].owner = *known->owner;
    Win32TaskIconQueries queries(helper, memory.programIcons, memory.identities, &answers, iconSize);
    TaskIconSearch search(queries, defaultProgramIcon);
    for (RData& task : tasks)
        task.Icon = IconRef::Borrowed(search.Find(task.WinHandle)); // the window's or the cache's
    DestroyIcons(memory.programIcons.EndShow());
    memory.identities.EndShow();
    memory.lastAnswers = std::move(answers);
}

void DestroyIcons(const std::vector<IconHandle>& icons) {
    for (IconHandle icon : icons)
        DestroyIcon(ToHicon(icon));
}

} // namespace vantrel::win
