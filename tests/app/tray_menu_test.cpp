#include "app/tray_menu.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

std::vector<std::u16string> Captions(const std::vector<TrayMenuEntry>& entries) {
    std::vector<std::u16string> out;
    for (const auto& e : entries)
        out.push_back(e.id == 0 ? u"-" : e.caption);
    return out;
}

TEST(TrayMenu, OneEnvironmentShowsNoEnvironmentEntriesAndGreysMissingDialogs) {
    const auto entries = BuildTrayMenu(EnvironmentList(), DialogAvailability());
    EXPECT_EQ(Captions(entries),
              (std::vector<std::u16string>{u"&Setting...", u"&Registering Icons...", u"-", u"Select &Environment...",
                                           u"-", u"&Help", u"&About...", u"-", u"E&xit"}));
    for (const auto& e : entries) {
        const bool dialogEntry = e.id == tmOption || e.id == tmRegist || e.id == tmCondition || e.id == tmAbout;
        if (e.id != 0) {
            EXPECT_EQ(e.enabled, !dialogEntry) << static_cast<int>(e.id);
        }
    }

    DialogAvailability all{true, true, true, true};
    for (const auto& e : BuildTrayMenu(EnvironmentList(), all))
        EXPECT_TRUE(e.enabled);

    // With a USB drive that can be stopped, the command comes in a group of its own.
    const auto withDrives = BuildTrayMenu(EnvironmentList(), all, true);
    EXPECT_EQ(Captions(withDrives), (std::vector<std::u16string>{
                                        u"&Setting...", u"&Registering Icons...", u"-", u"Select &Environment...", u"-",
                                        u"Stop all &USB drives", u"-", u"&Help", u"&About...", u"-", u"E&xit"}));
    EXPECT_EQ(withDrives[5].id, static_cast<uint32_t>(tmStopAllDrives));
}

TEST(TrayMenu, OfferedEnvironmentsComeFirstWithTheCurrentOneChecked) {
    EnvironmentList list;
    list.IniMax = 3;
    list.IniNo = 3;
    list.Slot(1).IniPopup = 1;
    list.Slot(2) = {u"Work", u"", 0, 2};
    list.Slot(3) = {u"Home", u"", 2, 4};
    const auto entries = BuildTrayMenu(list, DialogAvailability());
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ(entries[0].caption, u"Environment1(&1)");
    EXPECT_EQ(entries[0].id, static_cast<uint32_t>(tmSet1));
    EXPECT_FALSE(entries[0].checked);
    EXPECT_EQ(entries[1].caption, u"Home(&3)");
    EXPECT_EQ(entries[1].id, static_cast<uint32_t>(tmSet1 + 2));
    EXPECT_TRUE(entries[1].checked);
    EXPECT_EQ(entries[2].id, 0u) << "a separator follows the environments";
    EXPECT_EQ(entries[3].caption, u"&Setting...");
}

TEST(TrayIconInput, MouseAndKeyboardEachOpenWhatTheyShouldOnce) {
    struct Step {
        uint32_t message;
        TrayIconAction action;
    };
    const Step script[] = {
        {kWmLButtonDown, TrayIconAction::OpenRegistration},
        {kNinSelect, TrayIconAction::None}, // the left release of the same click
        {kWmRButtonDown, TrayIconAction::ShowMenu},
        {kWmContextMenu, TrayIconAction::None},            // the right release of the same click
        {kWmContextMenu, TrayIconAction::ShowMenu},        // the menu key on the focused icon
        {kNinKeySelect, TrayIconAction::OpenRegistration}, // Enter on the focused icon
        {0x0200, TrayIconAction::None},                    // mouse moves over the icon
        {kWmRButtonDown, TrayIconAction::ShowMenu},
        {kWmRButtonDown, TrayIconAction::ShowMenu}, // a release the shell never reported
        {kWmContextMenu, TrayIconAction::None},
    };
    TrayIconInput input;
    int step = 0;
    for (const auto& s : script)
        EXPECT_EQ(input.OnCallback(s.message), s.action) << "step " << step++;
}

TEST(TrayIconRetry, FailedAddsAreTriedAgainLessOftenUntilOneSucceeds) {
    TrayIconRetry retry;
    // The shell is not there for a while: waits double from half a second up to the longest wait, and never
    // stop; once the icon is there no more attempts are made, and a later failure starts over.
    const std::pair<bool, uint32_t> script[] = {
        {false, 500}, {false, 1000}, {false, 2000}, {false, 4000}, {false, 5000}, {false, 5000},
        {true, 0},    {true, 0},     {false, 500},  {false, 1000}, {true, 0},
    };
    int step = 0;
    for (const auto& [added, wait] : script)
        EXPECT_EQ(retry.AfterAttempt(added), wait) << "step " << step++;
    for (int i = 0; i < 1000; ++i)
        retry.AfterAttempt(false);
    EXPECT_EQ(retry.AfterAttempt(false), kTrayRetryLongestMs) << "an hour without a shell still retries";
}

} // namespace
} // namespace vantrel
