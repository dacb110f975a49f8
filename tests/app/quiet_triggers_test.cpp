#include "app/quiet_triggers.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

constexpr ScreenRect kScreen{0, 0, 1920, 1080};

ForegroundWindow Window(ScreenRect window, std::u16string className = u"GameWindow") {
    ForegroundWindow w;
    w.window = window;
    w.monitor = kScreen;
    w.className = std::move(className);
    return w;
}

TEST(QuietTriggers, FullScreenIsWhatTheShellSaysOrAWindowCoveringItsMonitor) {
    using S = NotificationState;
    ForegroundWindow maximised = Window({-8, -8, 1928, 1088}, u"Chrome_WidgetWin_1");
    maximised.maximized = maximised.captioned = true;
    ForegroundWindow shell = Window(kScreen, u"Shell");
    shell.shellWindow = true;
    ForegroundWindow secondMonitor = Window({1920, 0, 3200, 1024});
    secondMonitor.monitor = {1920, 0, 3200, 1024};
    const struct {
        const char* what;
        S state;
        std::optional<ForegroundWindow> foreground;
        bool fullScreen;
    } cases[] = {
        {"a borderless window over the whole monitor", S::AcceptsNotifications, Window(kScreen), true},
        {"over the second monitor", S::Unknown, secondMonitor, true},
        {"larger than the monitor", S::Unknown, Window({-1, -1, 1921, 1081}), true},
        {"one pixel short", S::Unknown, Window({0, 0, 1920, 1079}), false},
        {"maximised with the taskbar hidden", S::Unknown, maximised, false},
        {"the desktop", S::Unknown, Window(kScreen, u"Progman"), false},
        {"the desktop behind the icons", S::Unknown, Window(kScreen, u"WorkerW"), false},
        {"the shell's window", S::Unknown, shell, false},
        {"no window in front", S::AcceptsNotifications, std::nullopt, false},
        {"Direct3D full screen", S::D3dFullScreen, Window({0, 0, 800, 600}), true},
        {"presenting", S::PresentationMode, std::nullopt, true},
        {"busy", S::Busy, std::nullopt, true},
        {"quiet hours are not full screen", S::QuietTime, Window({0, 0, 800, 600}), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsFullScreen(c.state, c.foreground), c.fullScreen) << c.what;
}

// Answers as configured and counts what it was asked: every question costs the trigger time.
class FakeForeground : public ForegroundFacts {
public:
    FakeForeground(bool fullScreen, std::u16string program) : fullScreen_(fullScreen), program_(std::move(program)) {}
    bool FullScreen() override { return ++fullScreenAsked, fullScreen_; }
    std::u16string ProgramPath() override { return ++programAsked, program_; }
    int fullScreenAsked = 0;
    int programAsked = 0;

private:
    bool fullScreen_;
    std::u16string program_;
};

TEST(QuietTriggers, VerdictsAndWhatTheyAsk) {
    using V = TriggerVerdict;
    const struct {
        const char* what;
        Trigger trigger;
        bool keyOff;
        bool listed;
        bool fullScreen;
        V verdict;
        int fullScreenAsked, programAsked;
    } cases[] = {
        {"chord over a normal window", Trigger::MouseChord, false, false, false, V::Act, 1, 0},
        {"chord over full screen", Trigger::MouseChord, false, false, true, V::Ignore, 1, 0},
        {"hot key over full screen", Trigger::HotKey, false, false, true, V::Act, 0, 0},
        {"hot key over full screen, box ticked", Trigger::HotKey, true, false, true, V::Ignore, 1, 0},
        {"hot key over a listed program", Trigger::HotKey, true, true, true, V::PassKeyOn, 0, 1},
        {"chord over a listed program", Trigger::MouseChord, false, true, false, V::Ignore, 0, 1},
    };
    for (const auto& c : cases) {
        TOption option;
        option.FullScreenKeyOffFlag = c.keyOff;
        if (c.listed)
            option.ExcludeList = {u"notepad.exe"};
        FakeForeground foreground(c.fullScreen, u"C:\\windows\\notepad.exe");
        EXPECT_EQ(QuietVerdict(c.trigger, option, foreground), c.verdict) << c.what;
        EXPECT_EQ(foreground.fullScreenAsked, c.fullScreenAsked) << c.what;
        EXPECT_EQ(foreground.programAsked, c.programAsked) << c.what;
    }
    TOption option;
    option.ExcludeList = {u"mstsc.exe"};
    FakeForeground other(false, u"C:\\windows\\notepad.exe");
    EXPECT_EQ(QuietVerdict(Trigger::HotKey, option, other), V::Act) << "a program not in the list";
}

TEST(QuietTriggers, TheHotKeyTypedAgainLeavesNoKeyDown) {
    const KeyStroke ctrl{kVkControl, false}, alt{kVkAlt, false}, j{0x4A, false};
    const auto up = [](KeyStroke k) { return k.up = true, k; };
    using Strokes = std::vector<KeyStroke>;
    // Ctrl+Alt+J: modifiers the user already let go are pressed around the key and let go again.
    EXPECT_EQ(HotKeyStrokes(3, 0x4A, {}), (Strokes{ctrl, alt, j, up(j), up(alt), up(ctrl)}));
    EXPECT_EQ(HotKeyStrokes(3, 0x4A, {false, true, true, false}), (Strokes{j, up(j)})) << "both still held";
    EXPECT_EQ(HotKeyStrokes(3, 0x4A, {false, true, false, false}), (Strokes{alt, j, up(j), up(alt)}));
    const KeyStroke win{kVkLeftWin, false, true}, left{0x25, false, true};
    EXPECT_EQ(HotKeyStrokes(8, 0x25, {}), (Strokes{win, left, up(left), up(win)})) << "extended keys";
}

} // namespace
} // namespace vantrel
