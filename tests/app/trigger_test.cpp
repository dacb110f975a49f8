#include "app/trigger.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace vantrel {
namespace {

TEST(Trigger, HotKeyTogglesUnlessBusy) {
    EXPECT_EQ(OnHotKey(0, false, false), HotKeyAction::ShowLauncher);
    EXPECT_EQ(OnHotKey(2, false, false), HotKeyAction::HideLauncher);
    EXPECT_EQ(OnHotKey(1, true, false), HotKeyAction::Nothing) << "CD player mode";
    EXPECT_EQ(OnHotKey(0, false, true), HotKeyAction::Nothing) << "a dialog's message box is up";
    EXPECT_EQ(StartMouseShow(0, false), MouseShowStart::Show);
    EXPECT_EQ(StartMouseShow(0, true), MouseShowStart::Ignore);
    EXPECT_EQ(StartMouseShow(2, true), MouseShowStart::BringLauncherToFront);
}

// One tick's buttons, a letter each for left, right, middle: '-' up, 'D' held, 'P' pressed now, 'c' clicked
// between two ticks (only the "pressed since the last query" bit is set).
ButtonSample Sample(const char* code) {
    const auto button = [](char c) { return ButtonState{c == 'D' || c == 'P', c != '-'}; };
    return {button(code[0]), button(code[1]), button(code[2])};
}

// One character per tick: '!' when the mouse show runs.
std::string RunTicks(int32_t mouseFlag, std::initializer_list<const char*> ticks, bool mouseHook = false,
                     std::u16string_view ancestor = u"Notepad", int32_t winVersion = 1602) {
    TOption option;
    option.MouseFlag = mouseFlag;
    option.MouseHookFlag = mouseHook;
    ChordFlags flags;
    std::string shows;
    for (const char* tick : ticks)
        shows += PollMouseChord(flags, option, winVersion, ancestor, Sample(tick)) ? '!' : '.';
    return shows;
}

TEST(Trigger, MouseChords) {
    struct Case {
        int32_t mouseFlag;
        std::initializer_list<const char*> ticks;
        const char* shows;
    };
    const Case cases[] = {
        {1, {"D--", "DP-", "DD-", "DD-", "D--", "DP-"}, ".!...!"}, // one show per right press
        {1, {"D--", "Dc-", "D--"}, ".!."},                         // a press shorter than a tick
        {1, {"-P-", "PD-", "DD-"}, "..."},                         // right first: not this chord
        {2, {"-D-", "PD-", "DD-", "-D-", "PD-"}, ".!..!"},
        {2, {"-D-", "cD-"}, ".!"},
        {2, {"P--", "DP-"}, ".."},
        {3, {"--P", "--D", "---", "--c", "--c"}, "!..!."}, // consecutive short clicks read as held
        {3, {"DP-", "PD-"}, ".."},
        {0, {"D--", "DP-", "--P"}, "..."},
        {9, {"D--", "DP-", "--P"}, "..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RunTicks(c.mouseFlag, c.ticks), c.shows) << "MouseFlag " << c.mouseFlag << ", " << c.shows;
}

TEST(Trigger, MouseHookFlagWatchesOnlyConsolesAndBrowserFrames) {
    EXPECT_EQ(RunTicks(1, {"D--", "DP-"}, true, u"ConsoleWindowClass", 1501), ".!");
    EXPECT_EQ(RunTicks(1, {"D--", "DP-"}, true, u"IEFrame", 1600), ".!");
    EXPECT_EQ(RunTicks(1, {"D--", "DP-"}, true, u"IEFrame", 1501), "..");
    EXPECT_EQ(RunTicks(1, {"D--", "DP-"}, true, u"Notepad"), "..");
    EXPECT_EQ(RunTicks(1, {"D--", "DP-"}, false, u"Notepad"), ".!");
    // Unwatched ticks leave the flags alone: a right press held into a console fires there.
    TOption option;
    option.MouseHookFlag = true;
    ChordFlags flags;
    EXPECT_FALSE(PollMouseChord(flags, option, 1602, u"Notepad", Sample("DD-")));
    EXPECT_EQ(flags, ChordFlags{});
    EXPECT_TRUE(PollMouseChord(flags, option, 1602, u"ConsoleWindowClass", Sample("DD-")));
}

TEST(Trigger, DesktopWalk) {
    using Chain = std::vector<std::u16string>;
    const Chain desktop{u"SysListView32", u"SHELLDLL_DefView", u"Progman"};
    struct Case {
        Chain chain;
        int32_t waitDesktop;
        DesktopWait expected;
    };
    const Case cases[] = {
        {desktop, 3, {false, 30, true}},
        {{u"DirectUIHWND", u"SHELLDLL_DefView", u"ShellTabWindowClass", u"CabinetWClass"}, 3, {false, 30, true}},
        {{u"Chrome_RenderWidgetHostHWND", u"Chrome_WidgetWin_1"}, 3, {false, 9, true}},
        {{u"Progman"}, 3, {}},                            // no icon view on the way
        {{u"CabinetWClass", u"SHELLDLL_DefView"}, 3, {}}, // frame reached before the view
        {{u"Edit", u"Notepad"}, 3, {}},
        {desktop, 0, {}},
        {desktop, 6, {true, 0, false}},
        {desktop, -1, {}},                     // hand-edited: no negative sleep
        {desktop, INT_MAX, {false, 50, true}}, // hand-edited: at most the longest offered wait
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopWalk(c.chain, c.waitDesktop), c.expected) << c.waitDesktop << " " << c.chain.size();
}

TEST(Trigger, DismissClickAvoidsAMenuEndingOnTheCursorRow) {
    const ScreenPoint cursor{500, 300};
    const std::pair<std::optional<ScreenRect>, bool> cases[] = {
        {std::nullopt, false},
        {ScreenRect{500, 100, 600, 300}, true},  // left edge included
        {ScreenRect{400, 100, 500, 300}, false}, // right edge excluded
        {ScreenRect{400, 100, 600, 301}, false},
    };
    for (const auto& [menu, below] : cases) {
        EXPECT_EQ(MenuBelow(menu, cursor), below);
        EXPECT_EQ(DismissClickPoint(cursor, below), (ScreenPoint{499, below ? 301 : 299}));
    }
}

TEST(Trigger, PopupMenuWatch) {
    EXPECT_EQ(WatchPopupMenu(0, true), (MenuWatchStep{true, 101}));
    EXPECT_EQ(WatchPopupMenu(99, false), (MenuWatchStep{false, 100}));
    EXPECT_EQ(WatchPopupMenu(100, true), (MenuWatchStep{false, 101}));
    EXPECT_EQ(WatchPopupMenu(INT_MAX, true), (MenuWatchStep{false, INT_MAX}));
}

TEST(Trigger, LeftPressOutsideAMouseShownLauncher) {
    const ScreenRect launcher{100, 100, 398, 365};
    struct Case {
        int32_t showStatus;
        bool leftDown;
        ScreenPoint at;
        bool cdPlayFlag;
        bool hides;
        const char* what;
    };
    const Case cases[] = {
        {2, true, {399, 200}, false, true, "right of the window"},
        {2, true, {200, 99}, false, true, "above it"},
        {2, true, {398, 365}, false, false, "edges count as inside"},
        {2, true, {100, 100}, false, false, "top left edge"},
        {2, false, {50, 50}, false, false, "button up"},
        {1, true, {50, 50}, false, false, "shown by the hot key"},
        {0, true, {50, 50}, false, false, "hidden"},
        // The launcher's own popup menu reaches past its edge: a press there chooses an entry.
        {2, true, {450, 200}, true, false, "on its open menu outside the window"},
        {2, true, {50, 50}, true, false, "anywhere while its menu is open or a CD command runs"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HidesOnLeftPress(c.showStatus, c.leftDown, c.at, launcher, c.cdPlayFlag), c.hides) << c.what;
}

} // namespace
} // namespace vantrel
