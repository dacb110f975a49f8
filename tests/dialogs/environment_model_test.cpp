#include "dialogs/environment_model.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

// A live list with the given file numbers in slots 1.., named after their files.
EnvironmentList Live(std::vector<int32_t> files, int32_t current = 1) {
    EnvironmentList list;
    list.IniMax = static_cast<int32_t>(files.size());
    list.IniNo = current;
    for (int32_t n = 1; n <= kMaxEnvironments; ++n) {
        auto& slot = list.Slot(n);
        if (n <= list.IniMax) {
            slot.IniOrder = files[static_cast<std::size_t>(n - 1)];
            slot.IniName = u"Env" + std::u16string(1, static_cast<char16_t>(u'0' + slot.IniOrder));
        } else {
            slot.IniOrder = -1;
        }
    }
    return list;
}

TEST(EnvironmentWork, ShowsTheLiveListWithTheCurrentLineSelected) {
    const EnvironmentWork work(Live({1, 3, 2}, 2));
    EXPECT_EQ(work.Lines(), (std::vector<std::u16string>{u"Env1", u"Env3", u"Env2"}));
    EXPECT_EQ(work.Selected(), 1);
    EXPECT_EQ(work.WorkMax(), 3);
}

TEST(EnvironmentWork, ButtonsFollowTheListAndTheSelection) {
    struct Case {
        std::vector<int32_t> files;
        int select;
        bool canAdd;
        bool canDelete;
    };
    const Case cases[] = {
        {{1}, 0, true, false},             // the first environment cannot be deleted
        {{1, 2}, 1, true, true},           //
        {{1, 2}, -1, true, false},         // nothing selected
        {{1, 2, 3, 4}, 3, true, true},     // four: one more may come
        {{1, 2, 3, 4, 5}, 4, false, true}, // five: Add is off
        {{1, 2, 3, 4, 5}, 0, false, false},
    };
    for (const Case& c : cases) {
        EnvironmentWork work(Live(c.files));
        work.Select(c.select);
        EXPECT_EQ(work.CanAdd(), c.canAdd) << c.files.size() << " " << c.select;
        EXPECT_EQ(work.CanDelete(), c.canDelete) << c.files.size() << " " << c.select;
        EXPECT_EQ(work.BeginAdd(), c.canAdd);
    }
}

TEST(EnvironmentWork, AddTakesTheLowestFreeFileNumber) {
    const EnvironmentList live = Live({1, 2, 4});
    EnvironmentWork work(live);
    ASSERT_TRUE(work.BeginAdd());
    EXPECT_EQ(work.WorkSel(), 4);
    EXPECT_EQ(work.Slot(4).IniName, u"Environment3");
    EXPECT_EQ(work.Slot(4).IniPopup, 1) << "a new environment is offered in the tray menu";
    work.ChangeOrAdd(work.Slot(4).IniName, true);
    EXPECT_EQ(work.WorkMax(), 4);
    EXPECT_EQ(work.Selected(), 3) << "the new line is selected";

    const EnvironmentPlan plan = work.Plan(live);
    EXPECT_EQ(plan.filesToCreate, std::vector<int32_t>{3});
    EXPECT_TRUE(plan.filesToDelete.empty());
    EXPECT_EQ(plan.list.IniMax, 4);
    EXPECT_EQ(plan.list.Slot(4).IniOrder, 3);
    EXPECT_EQ(plan.list.Slot(4).IniName, u"Environment3");
    EXPECT_EQ(plan.switchTo, 4);
}

TEST(EnvironmentWork, CancelledAddCountsNothing) {
    const EnvironmentList live = Live({1, 2});
    EnvironmentWork work(live);
    ASSERT_TRUE(work.BeginAdd());
    // The settings dialog was cancelled: ChangeOrAdd never came.
    EXPECT_EQ(work.WorkMax(), 2);
    EXPECT_EQ(work.Lines().size(), 2u);
    const EnvironmentPlan plan = work.Plan(live);
    EXPECT_TRUE(plan.filesToCreate.empty());
    EXPECT_EQ(plan.list, live) << "Cancel after Add leaves the list as it was";
}

TEST(EnvironmentWork, ChangeRenamesAndSetsTheMenuDisplay) {
    const EnvironmentList live = Live({1, 2});
    EnvironmentWork work(live);
    work.Select(1);
    ASSERT_TRUE(work.BeginChange());
    EXPECT_EQ(work.WorkSel(), 2);
    work.ChangeOrAdd(u"", false);
    EXPECT_EQ(work.Lines()[1], u"") << "an empty name is taken as entered";
    EXPECT_EQ(work.Slot(2).IniPopup, 0);
    EXPECT_EQ(work.Selected(), 1);
    const EnvironmentPlan plan = work.Plan(live);
    EXPECT_TRUE(plan.filesToCreate.empty());
    EXPECT_TRUE(plan.filesToDelete.empty());
    EXPECT_EQ(plan.list.Slot(2).IniOrder, 2) << "a renamed environment keeps its file";
}

TEST(EnvironmentWork, DeletingTheSecondOfThreeKeepsTheThirdsFile) {
    const EnvironmentList live = Live({1, 2, 3});
    EnvironmentWork work(live);
    work.Select(1);
    ASSERT_TRUE(work.Delete());
    EXPECT_EQ(work.Lines(), (std::vector<std::u16string>{u"Env1", u"Env3"}));
    EXPECT_EQ(work.Selected(), 1) << "the same line, now the former third";
    EXPECT_EQ(work.Slot(2).IniOrder, 3);
    EXPECT_EQ(work.Slot(3).IniOrder, -1);

    const EnvironmentPlan plan = work.Plan(live);
    EXPECT_EQ(plan.filesToDelete, std::vector<int32_t>{2});
    EXPECT_TRUE(plan.filesToCreate.empty());
    EXPECT_EQ(plan.list.IniMax, 2);
    EXPECT_EQ(plan.list.Slot(2).IniOrder, 3);
    EXPECT_EQ(plan.switchTo, 2);
}

TEST(EnvironmentWork, DeletingTheLastLineSelectsTheNewLastOne) {
    EnvironmentWork work(Live({1, 2, 3}));
    work.Select(2);
    ASSERT_TRUE(work.Delete());
    EXPECT_EQ(work.Selected(), 1);
    work.Select(0);
    EXPECT_FALSE(work.Delete()) << "the first environment stays";
    EXPECT_EQ(work.WorkMax(), 2);
}

TEST(EnvironmentWork, AddAfterDeleteReusesTheFreedNumberAndRecreatesItsFile) {
    const EnvironmentList live = Live({1, 2, 3});
    EnvironmentWork work(live);
    work.Select(1);
    work.Delete();
    ASSERT_TRUE(work.BeginAdd());
    work.ChangeOrAdd(u"New", true);
    EXPECT_EQ(work.Slot(3).IniOrder, 2);
    // File 2 now belongs to another environment: it is made again from scratch, which also removes the old one.
    const EnvironmentPlan plan = work.Plan(live);
    EXPECT_TRUE(plan.filesToDelete.empty());
    EXPECT_EQ(plan.filesToCreate, std::vector<int32_t>{2});
}

TEST(EnvironmentWork, NoSelectionSwitchesToTheCurrentEnvironment) {
    EnvironmentWork work(Live({1, 2}, 2));
    work.Select(-1);
    EXPECT_EQ(work.Plan(Live({1, 2}, 2)).switchTo, 2);
}

} // namespace
} // namespace vantrel
