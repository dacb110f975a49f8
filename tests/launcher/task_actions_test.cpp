#include "launcher/task_actions.h"

#include <gtest/gtest.h>

#include "launcher/nav_fakes.h"

namespace vantrel {
namespace {

using namespace vantrel::testing;
using Cursor = std::pair<int32_t, int32_t>; // tray, index

std::vector<std::intptr_t> Tasks(const LauncherRig& rig) {
    std::vector<std::intptr_t> handles;
    for (const RData& item : rig.trays[TaskTray].Items)
        handles.push_back(item.WinHandle);
    return handles;
}

TEST(TaskActions, IconizeKeepsTheLauncherUp) {
    const std::tuple<bool, bool, bool, Log> cases[] = {
        // iconic, maximize, force
        {false, false, false, {"minimize 2", "front"}},
        {true, false, false, {"front"}}, // already minimised
        {true, false, true, {"minimize 2", "front"}},
        {false, true, false, {"maximize 2", "hide", "front"}}, // the maximised window took the activation
    };
    for (const auto& [iconic, maximize, force, want] : cases) {
        LauncherRig rig;
        rig.ShowTasks({Close::OnSysCommand, Close::OnSysCommand});
        rig.ops.zOrder[1].iconic = iconic;
        IconizeTask(rig.tasks, TaskTray, 0, maximize, force);
        IconizeTask(rig.tasks, ProgramTray, 0, maximize, force);
        IconizeTask(rig.tasks, TaskTray, 2, maximize, force);
        EXPECT_EQ(rig.log, want);
        EXPECT_EQ(rig.showStatus, 1) << "shown as before";
    }
}

TEST(TaskActions, CloseRepaintsWithTheCursorInPlace) {
    struct Case {
        const char* what;
        std::vector<Close> windows;
        int32_t index;
        Log want;
        std::vector<std::intptr_t> left;
        int32_t cursor;
    };
    using enum Close;
    const Log closed = {"rebuild", "repaint", "front"};
    const auto then = [&](Log head) {
        head.insert(head.end(), closed.begin(), closed.end());
        return head;
    };
    const Case cases[] = {
        {"a window that closes", {OnSysCommand, OnSysCommand, OnSysCommand}, 1, then({"sys-close 3"}), {2, 1}, 1},
        {"the last cell: the cursor to the new last", {OnSysCommand, OnSysCommand}, 1, then({"sys-close 1"}), {2}, 0},
        {"waits for the close message", {OnSysCommand, OnCloseMessage}, 0, then({"sys-close 2", "close 2"}), {1}, 0},
        {"one that refuses stays", {OnSysCommand, Refuses}, 0, then({"sys-close 2", "close 2"}), {2, 1}, 0},
        {"a hung one is asked once", {OnSysCommand, Hung}, 0, then({"sys-close 2"}), {2, 1}, 0},
        {"asking the user keeps the launcher away",
         {OnSysCommand, AsksTheUser},
         0,
         {"sys-close 2", "hide", "rebuild", "repaint"},
         {2, 1},
         0},
    };
    for (const Case& c : cases) {
        LauncherRig rig;
        rig.ShowTasks(c.windows);
        rig.window.NowMode = TaskTray;
        rig.trays[TaskTray].NowIndex = c.index;
        CloseTask(rig.tasks, TaskTray, c.index);
        EXPECT_EQ(rig.log, c.want) << c.what;
        EXPECT_EQ(Tasks(rig), c.left) << c.what;
        EXPECT_EQ(rig.trays[TaskTray].NowIndex, c.cursor) << c.what;
        EXPECT_EQ(rig.window.NowColum, c.cursor) << c.what;
    }
    LauncherRig rig;
    rig.ShowTasks({OnSysCommand});
    for (const auto& [tray, index] : {std::pair{ProgramTray, 0}, {TaskTray, 1}, {TaskTray, -1}})
        CloseTask(rig.tasks, tray, index);
    EXPECT_TRUE(rig.log.empty()) << "no task window there";
}

TEST(TaskActions, LastTaskClosedSendsTheCursorToAnotherTray) {
    const std::tuple<int, int, int, Cursor> cases[] = {
        // program, system, system not used -> where the cursor goes
        {2, 2, 0, {ProgramTray, 0}},
        {0, 2, 0, {SystemTray, 0}},
        {0, 0, 2, {SystemTray, -1}}, // a tray that shows nothing: the cursor designates nothing
    };
    for (const auto& [program, system, notUsed, want] : cases) {
        LauncherRig rig;
        rig.trays[ProgramTray].Items.resize(static_cast<std::size_t>(program));
        rig.trays[SystemTray].Items.resize(static_cast<std::size_t>(system));
        rig.trays[SystemTray].Items.resize(static_cast<std::size_t>(system + notUsed), {.Status = StatusNotUsed});
        rig.ShowTasks({Close::OnSysCommand});
        rig.window.NowMode = TaskTray;
        CloseTask(rig.tasks, TaskTray, 0);
        EXPECT_EQ(Cursor(rig.window.NowMode, rig.trays[static_cast<std::size_t>(want.first)].NowIndex), want);
    }
}

TEST(TaskActions, AllTasks) {
    LauncherRig rig;
    AllTasks(rig.tasks, true);
    EXPECT_TRUE(rig.log.empty()) << "no task, nothing to close";
    rig.ShowTasks({Close::OnSysCommand, Close::Refuses, Close::Hung, Close::OnSysCommand});
    AllTasks(rig.tasks, false);
    EXPECT_EQ(rig.log, (Log{"minimize-all"}));
    rig.log.clear();
    ASSERT_EQ(Tasks(rig), (std::vector<std::intptr_t>{2, 3, 4, 1}));
    rig.trays[TaskTray].NowIndex = 3;
    AllTasks(rig.tasks, true);
    // The refusing window took the foreground and went to the end; each round takes the first window not
    // asked yet, so every window is asked once.
    EXPECT_EQ(rig.log, (Log{"force 2", "hide", "sys-close 2", "rebuild", "force 1", "sys-close 1", "rebuild", "force 3",
                            "sys-close 3", "rebuild", "force 4", "sys-close 4", "rebuild", "hide"}));
    EXPECT_EQ(Tasks(rig), (std::vector<std::intptr_t>{2, 3}));
    EXPECT_EQ(rig.trays[TaskTray].NowIndex, 1) << "the kept index, limited to the list";
    EXPECT_TRUE(rig.view.hidden);
}

} // namespace
} // namespace vantrel
