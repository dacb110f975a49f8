#include "services/cd_audio.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vantrel {
namespace {

constexpr uint32_t kNotReady = 4000, kOutOfRange = 282, kNoDriver = 266;
using Calls = std::vector<std::string>;

// An audio CD drive in memory: three tracks of one minute each.
struct FakeDrive : MciDevice {
    uint32_t Open(uint16_t& id) override { return calls.push_back("open"), id = 7, openError; }
    uint32_t SetTimeFormatMilliseconds(uint16_t) override { return calls.push_back("ms"), 0; }
    uint32_t Close(uint16_t) override { return calls.push_back("close"), 0; }
    uint32_t Status(uint16_t, uint32_t item, std::optional<uint32_t> track, uint32_t& value) override {
        uint32_t current = 1;
        for (uint32_t t = 1; t <= 3; ++t)
            current = position >= Start(t) ? t : current;
        if (track && (*track < 1 || *track > 3))
            return kOutOfRange;
        value = item == kMciStatusMode           ? mode
                : item == kMciStatusLength       ? 182000
                : item == kMciStatusCurrentTrack ? current
                : track                          ? Start(*track)
                                                 : position;
        return 0;
    }
    uint32_t Play(uint16_t, std::optional<uint32_t> from) override {
        calls.push_back(from ? "play from " + std::to_string(*from) : "play on");
        if (notReadyPlays > 0)
            return --notReadyPlays, kNotReady;
        position = from.value_or(position), mode = kMciModePlay;
        return 0;
    }
    uint32_t Pause(uint16_t) override { return calls.push_back("pause"), mode = kMciModePause, 0; }
    uint32_t SetDoor(uint16_t, bool open) override {
        calls.push_back(open ? "door open" : "door close");
        return mode = open ? kMciModeOpen : kMciModeStop, 0;
    }
    static uint32_t Start(uint32_t track) { return 2000 + (track - 1) * 60000; }

    uint32_t position = 2000, mode = kMciModeStop, openError = 0;
    int notReadyPlays = 0;
    Calls calls;
};

struct FakeClock : CdClock {
    uint32_t TickCount() override { return now; }
    void WaitBetweenAttempts() override {
        ++waits, now += step;
        if (duringWait)
            duringWait();
    }
    uint32_t now = 100, step = 1000;
    int waits = 0;
    std::function<void()> duringWait;
};

class Cd : public ::testing::Test {
protected:
    void Open() {
        ASSERT_TRUE(cd.CdOpen());
        drive.calls.clear();
    }
    FakeDrive drive;
    FakeClock clock;
    CdAudio cd{drive, clock};
};

TEST_F(Cd, OpensOnceUntilClosed) {
    EXPECT_TRUE(cd.CdOpen());
    EXPECT_FALSE(cd.CdOpen());
    cd.CdClose();
    cd.CdClose();
    EXPECT_TRUE(cd.CdOpen()) << "opens again after a close";
    EXPECT_EQ(drive.calls, (Calls{"open", "ms", "close", "open", "ms"}));
}

TEST_F(Cd, WithoutADriveEverythingFailsAtOnce) {
    drive.openError = kNoDriver;
    EXPECT_FALSE(cd.CdOpen());
    drive.calls.clear();
    cd.CdPlay(0), cd.CdPlay(1), cd.CdPause(), cd.Toggle(), cd.CdNextTrack(), cd.CdPreviousTrack(), cd.CdEject();
    EXPECT_EQ(cd.CdGetMode(), 0u);
    EXPECT_TRUE(drive.calls.empty());
    EXPECT_EQ(clock.waits, 0) << "no retries without a device";
}

TEST_F(Cd, CommandsPlayFromWhereTheyShould) {
    struct Case {
        const char* what;
        uint32_t mode, position;
        std::function<void(CdAudio&)> command;
        Calls calls;
        uint32_t modeAfter;
    };
    const auto toggle = [](CdAudio& c) { c.Toggle(); };
    const auto play = [](CdAudio& c) { c.CdPlay(1); };
    const auto next = [](CdAudio& c) { c.CdNextTrack(); };
    const auto previous = [](CdAudio& c) { c.CdPreviousTrack(); };
    const Case cases[] = {
        {"CD Player while playing: pause", kMciModePlay, 70000, toggle, {"pause"}, kMciModePause},
        {"paused: resume where it stopped", kMciModePause, 70000, toggle, {"play on"}, kMciModePlay},
        {"played to the end: from the first track", kMciModeStop, 182000, toggle, {"play from 2000"}, kMciModePlay},
        {"door open: close it and play", kMciModeOpen, 2000, toggle, {"door close", "play on"}, kMciModePlay},
        {"Play: the first track", kMciModePause, 70000, play, {"play from 2000"}, kMciModePlay},
        {"Next", kMciModePlay, 70000, next, {"play from 122000"}, kMciModePlay},
        {"Prev", kMciModePlay, 130000, previous, {"play from 62000"}, kMciModePlay},
        {"Prev on the first track", kMciModePause, 3000, previous, {}, kMciModePause},
        {"Next on the last track", kMciModePlay, 150000, next, {}, kMciModePlay},
        {"Eject", kMciModePlay, 3000, [](CdAudio& c) { c.CdEject(); }, {"door open"}, kMciModeOpen},
    };
    Open();
    for (const Case& c : cases) {
        drive.mode = c.mode, drive.position = c.position, drive.calls.clear();
        c.command(cd);
        EXPECT_EQ(drive.calls, c.calls) << c.what;
        EXPECT_EQ(drive.mode, c.modeAfter) << c.what;
    }
}

TEST_F(Cd, PlayRetriesUntilReadyOrFiveSecondsPassed) {
    const std::tuple<int, uint32_t, uint32_t, int, uint32_t> cases[] = {
        // plays that fail, clock start, step -> waits, mode after
        {3, 100, 1000, 3, kMciModePlay},
        {1000, 100, 1000, 6, kMciModeStop}, // attempts at 100 ... 6100, the first past the deadline of 5100
        {1000, 100, 50, 101, kMciModeStop},
        {1000, 0xFFFFF000u, 1000, 6, kMciModeStop}, // the tick count wraps meanwhile
    };
    for (const auto& [fails, start, step, waits, mode] : cases) {
        Open();
        drive.mode = kMciModeStop;
        drive.notReadyPlays = fails, clock.now = start, clock.step = step, clock.waits = 0;
        cd.CdPlay(0);
        EXPECT_EQ(clock.waits, waits) << fails << " " << start << " " << step;
        EXPECT_EQ(drive.mode, mode) << "the disc plays once the drive is ready, or not at all";
        cd.CdClose();
    }
}

TEST_F(Cd, CommandsDuringARetryStartNoOtherPlay) {
    Open();
    drive.notReadyPlays = 2, drive.mode = kMciModePause;
    clock.duringWait = [&] { cd.Toggle(), cd.CdPlay(1), cd.CdPause(); };
    cd.CdPlay(0);
    EXPECT_EQ(drive.calls, (Calls{"play on", "play on", "play on"}));
    EXPECT_EQ(drive.mode, kMciModePlay);
}

} // namespace
} // namespace vantrel
