#include "app/show_state.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using Windows = std::vector<std::intptr_t>;

// Every kind with a window of its own number times ten.
ShowState WithEveryDialog() {
    ShowState state;
    for (DialogKind kind : {DialogKind::Registration, DialogKind::Option, DialogKind::About, DialogKind::Selection,
                            DialogKind::IconSetting, DialogKind::DeleteConfirm, DialogKind::EnvironmentSettings})
        state.DialogCreated(kind, static_cast<std::intptr_t>(kind) * 10);
    return state;
}

TEST(ShowState, HideDialogsSparesOnlyTheAskingKind) {
    struct Case {
        int32_t kind;
        Windows hidden;
    };
    // 80, the environment settings dialog, is never hidden; 60 and 70 always are.
    const Case cases[] = {
        {1, {20, 30, 40, 60, 70}},     {2, {10, 30, 40, 60, 70}},     {3, {10, 20, 40, 60, 70}},
        {4, {10, 20, 30, 60, 70}},     {5, {10, 20, 30, 40, 60, 70}}, {6, {10, 20, 30, 40, 60, 70}},
        {0, {10, 20, 30, 40, 60, 70}},
    };
    for (const Case& c : cases) {
        ShowState state = WithEveryDialog();
        EXPECT_EQ(state.HideDialogs(c.kind).windows, c.hidden) << c.kind;
    }
}

TEST(ShowState, HideDialogsHidesTheLauncherOnlyWhenShown) {
    ShowState state;
    EXPECT_FALSE(state.HideDialogs(5).hideLauncher);
    for (int32_t status : {1, 2}) {
        state.ShowStatus = status;
        EXPECT_TRUE(state.HideDialogs(2).hideLauncher);
        EXPECT_EQ(state.ShowStatus, 0);
    }
}

TEST(ShowState, NewestWindowOfAKindIsCurrentAndDestroyedOnesAreForgotten) {
    ShowState state;
    state.DialogCreated(DialogKind::IconSetting, 100);
    state.DialogCreated(DialogKind::IconSetting, 200);
    EXPECT_EQ(state.Current(DialogKind::IconSetting), 200);
    state.DialogDestroyed(100);
    EXPECT_EQ(state.Current(DialogKind::IconSetting), 200) << "an older instance going does not clear the newer";
    state.DialogDestroyed(200);
    EXPECT_EQ(state.Current(DialogKind::IconSetting), 0);
    EXPECT_TRUE(state.HideDialogs(5).windows.empty());
}

TEST(ShowState, MessageFlagHoldsUntilTheLastBoxCloses) {
    ShowState state;
    state.BeginMessage();
    state.BeginMessage();
    state.EndMessage();
    EXPECT_TRUE(state.MessageFlag);
    state.EndMessage();
    EXPECT_FALSE(state.MessageFlag);
    state.EndMessage();
    EXPECT_FALSE(state.MessageFlag) << "an unmatched end does not go below zero";
    state.BeginMessage();
    EXPECT_TRUE(state.MessageFlag);
}

} // namespace
} // namespace vantrel
