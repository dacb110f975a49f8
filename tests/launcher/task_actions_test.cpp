#include "launcher/task_actions.h"

#include <gtest/gtest.h>

#include "launcher/nav_fakes.h"

namespace vantrel {
namespace {

using testing::FakeTaskWindows;
using testing::LauncherRig;
using testing::Log;
using Close = FakeTaskWindows::Close;

// Windows 1..n in z-order; the Task tray lists 2..n, then 1.
void Windows(LauncherRig& rig, const std::vector<Close>& closes) {
    std::intptr_t handle = 1;
    for (Close close : closes)
        rig.ops.Add(handle++, u"w", close);
    rig.ShowTasks();
}

std::vector<std::intptr_t> Handles(const LauncherRig& rig) {
    std::vector<std::intptr_t> handles;
    for (const RData& item : rig.trays[TaskTray].Items)
        handles.push_back(item.WinHandle);
    return handles;
}

TEST(IconizeTask, MinimisesOrMaximisesAndKeepsTheLauncherUp) {
    struct Case {
        const char* what;
        bool iconic, maximize, force;
        Log want;
    };
    const Case cases[] = {
        {"minimise", false, false, false, {"minimize 2", "front"}},
        {"an already minimised window is left", true, false, false, {"front"}},
        {"force minimises it anyway", true, false, true, {"minimize 2", "front"}},
        {"maximise", false, true, false, {"maximize 2", "hide", "front"}},
    };
    for (const Case& c : cases) {
        LauncherRig rig;
        Windows(rig, {Close::OnSysCommand, Close::OnSysCommand});
        rig.ops.Find(2)->iconic = c.iconic;
        IconizeTask(rig.tasks, TaskTray, 0, c.maximize, c.force);
        EXPECT_EQ(rig.log, c.want) << c.what;
        EXPECT_EQ(rig.showStatus, 1) << c.what;
        EXPECT_FALSE(rig.view.hidden) << c.what;
    }
    LauncherRig rig;
    Windows(rig, {Close::OnSysCommand});
    IconizeTask(rig.tasks, ProgramTray, 0, false, true);
    IconizeTask(rig.tasks, TaskTray, 1, false, true);
    EXPECT_TRUE(rig.log.empty());
}

TEST(CloseTask, ClosesAndRepaintsWithTheCursorInPlace) {
    struct Case {
        const char* what;
        std::vector<Close> windows;
        int32_t index;
        Log want;
        std::vector<std::intptr_t> left;
        int32_t cursor;
    };
    const Case cases[] = {
        {"a window that closes",
         {Close::OnSysCommand, Close::OnSysCommand, Close::OnSysCommand},
         1,
         {"sys-close 3", "rebuild", "repaint", "front"},
         {2, 1},
         1},
        {"the last cell: the cursor follows onto the new last",
         {Close::OnSysCommand, Close::OnSysCommand},
         1,
         {"sys-close 1", "rebuild", "repaint", "front"},
         {2},
         0},
        {"a window that waits for the close message",
         {Close::OnSysCommand, Close::OnCloseMessageOnly},
         0,
         {"sys-close 2", "close 2", "rebuild", "repaint", "front"},
         {1},
         0},
        {"a window that refuses stays",
         {Close::OnSysCommand, Close::Refuses},
         0,
         {"sys-close 2", "close 2", "rebuild", "repaint", "front"},
         {2, 1},
         0},
        {"a hung window is asked once and stays",
         {Close::OnSysCommand, Close::Hung},
         0,
         {"sys-close 2", "rebuild", "repaint", "front"},
         {2, 1},
         0},
        {"a window that asks the user keeps the launcher away",
         {Close::OnSysCommand, Close::AsksTheUser},
         0,
         {"sys-close 2", "hide", "rebuild", "repaint"},
         {2, 1},
         0},
    };
    for (const Case& c : cases) {
        LauncherRig rig;
        Windows(rig, c.windows);
        rig.window.NowMode = TaskTray;
        rig.trays[TaskTray].NowIndex = c.index;
        CloseTask(rig.tasks, TaskTray, c.index);
        EXPECT_EQ(rig.log, c.want) << c.what;
        EXPECT_EQ(Handles(rig), c.left) << c.what;
        EXPECT_EQ(rig.window.NowMode, TaskTray) << c.what;
        EXPECT_EQ(rig.trays[TaskTray].NowIndex, c.cursor) << c.what;
        EXPECT_EQ(rig.window.NowColum, c.cursor) << c.what;
    }
}

TEST(CloseTask, LastTaskSendsTheCursorToAnotherTray) {
    struct Case {
        const char* what;
        int program, system, systemNotUsed;
        int32_t mode, index;
    };
    const Case cases[] = {
        {"to the Program tray", 2, 2, 0, ProgramTray, 0},
        {"to the System tray when the Program tray is empty", 0, 2, 0, SystemTray, 0},
        {"onto nothing when the System tray shows nothing", 0, 0, 2, SystemTray, -1},
    };
    for (const Case& c : cases) {
        LauncherRig rig;
        rig.trays[ProgramTray].Items.resize(static_cast<std::size_t>(c.program));
        rig.trays[SystemTray].Items.resize(static_cast<std::size_t>(c.system));
        for (int i = 0; i < c.systemNotUsed; ++i)
            rig.trays[SystemTray].Items.push_back(RData{.Status = StatusNotUsed});
        Windows(rig, {Close::OnSysCommand});
        rig.window.NowMode = TaskTray;
        CloseTask(rig.tasks, TaskTray, 0);
        EXPECT_TRUE(rig.trays[TaskTray].Items.empty()) << c.what;
        EXPECT_EQ(rig.window.NowMode, c.mode) << c.what;
        EXPECT_EQ(rig.trays[static_cast<std::size_t>(c.mode)].NowIndex, c.index) << c.what;
    }
}

TEST(CloseTask, OtherTraysAndMissingCellsCloseNothing) {
    LauncherRig rig;
    rig.trays[ProgramTray].Items.resize(3);
    Windows(rig, {Close::OnSysCommand});
    rig.window.NowColum = 4;
    CloseTask(rig.tasks, ProgramTray, 2);
    CloseTask(rig.tasks, TaskTray, 1);
    CloseTask(rig.tasks, TaskTray, -1);
    EXPECT_TRUE(rig.log.empty());
    EXPECT_EQ(rig.window.NowColum, 4);
}

TEST(AllTasks, MinimiseAllGoesToTheTaskbar) {
    LauncherRig rig;
    Windows(rig, {Close::OnSysCommand});
    AllTasks(rig.tasks, false);
    EXPECT_EQ(rig.log, (Log{"minimize-all"}));
    EXPECT_EQ(rig.ops.zOrder.size(), 1u);
}

TEST(AllTasks, CloseAllAsksEveryWindowOnceAndMovesOn) {
    LauncherRig rig;
    Windows(rig, {Close::OnSysCommand, Close::Refuses, Close::Hung, Close::OnSysCommand});
    ASSERT_EQ(Handles(rig), (std::vector<std::intptr_t>{2, 3, 4, 1}));
    rig.trays[TaskTray].NowIndex = 3;
    AllTasks(rig.tasks, true);
    // The refusing window took the foreground and moved to the end; the next round takes the first window
    // not asked yet.
    EXPECT_EQ(rig.log, (Log{"force 2", "hide", "sys-close 2", "rebuild", "force 1", "sys-close 1", "rebuild", "force 3",
                            "sys-close 3", "rebuild", "force 4", "sys-close 4", "rebuild", "hide"}));
    EXPECT_EQ(Handles(rig), (std::vector<std::intptr_t>{2, 3})) << "the refusing and the hung window stay";
    EXPECT_EQ(rig.trays[TaskTray].NowIndex, 1) << "the kept index, limited to the list";
    EXPECT_EQ(rig.showStatus, 0);
    EXPECT_TRUE(rig.view.hidden);
}

TEST(AllTasks, CloseAllWithoutTasksDoesNothing) {
    LauncherRig rig;
    AllTasks(rig.tasks, true);
    EXPECT_TRUE(rig.log.empty());
    EXPECT_EQ(rig.showStatus, 1);
}

} // namespace
} // namespace vantrel
