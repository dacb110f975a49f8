#include "services/cd_audio.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vantrel {
namespace {

constexpr uint32_t kNotReady = 4000 + 256; // any MCI error
constexpr uint32_t kOutOfRange = 282;
constexpr uint32_t kNoDriver = 266;

// An audio CD drive in memory: three tracks of one minute each.
class FakeDrive : public MciDevice {
public:
    std::vector<uint32_t> trackStarts{2000, 62000, 122000};
    uint32_t length = 182000;
    uint32_t position = 2000;
    uint32_t mode = kMciModeStop;
    uint32_t openError = 0;
    int notReadyPlays = 0; // plays that fail before the drive is ready
    std::vector<std::string> calls;

    uint32_t Open(uint16_t& deviceId) override {
        calls.push_back("open");
        if (openError)
            return openError;
        deviceId = 7;
        return 0;
    }
    uint32_t SetTimeFormatMilliseconds(uint16_t) override {
        calls.push_back("ms");
        return 0;
    }
    uint32_t Close(uint16_t) override {
        calls.push_back("close");
        return 0;
    }
    uint32_t Status(uint16_t, uint32_t item, std::optional<uint32_t> track, uint32_t& value) override {
        switch (item) {
        case kMciStatusMode:
            value = mode;
            return 0;
        case kMciStatusLength:
            value = length;
            return 0;
        case kMciStatusCurrentTrack:
            value = CurrentTrack();
            return 0;
        case kMciStatusPosition:
            if (!track) {
                value = position;
                return 0;
            }
            if (*track < 1 || *track > trackStarts.size())
                return kOutOfRange;
            value = trackStarts[*track - 1];
            return 0;
        default:
            return kOutOfRange;
        }
    }
    uint32_t Play(uint16_t, std::optional<uint32_t> from) override {
        calls.push_back(from ? "play from " + std::to_string(*from) : "play on");
        if (notReadyPlays > 0) {
            --notReadyPlays;
            return kNotReady;
        }
        if (from)
            position = *from;
        mode = kMciModePlay;
        return 0;
    }
    uint32_t Pause(uint16_t) override {
        calls.push_back("pause");
        mode = kMciModePause;
        return 0;
    }
    uint32_t SetDoor(uint16_t, bool open) override {
        calls.push_back(open ? "door open" : "door close");
        mode = open ? kMciModeOpen : kMciModeStop;
        return 0;
    }

private:
    uint32_t CurrentTrack() const {
        uint32_t track = 1;
        for (uint32_t i = 0; i < trackStarts.size(); ++i)
            if (position >= trackStarts[i])
                track = i + 1;
        return track;
    }
};

class FakeClock : public CdClock {
public:
    uint32_t now = 100;
    uint32_t step = 1000; // each wait between attempts
    int waits = 0;
    std::function<void()> duringWait;
    uint32_t TickCount() override { return now; }
    void WaitBetweenAttempts() override {
        ++waits;
        now += step;
        if (duringWait)
            duringWait();
    }
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
    EXPECT_EQ(drive.calls, (std::vector<std::string>{"open", "ms"}));
    EXPECT_EQ(cd.CdDeviceId(), 7);
    cd.CdClose();
    cd.CdClose();
    EXPECT_FALSE(cd.IsOpen());
    EXPECT_TRUE(cd.CdOpen()) << "opens again after a close";
    EXPECT_EQ(drive.calls, (std::vector<std::string>{"open", "ms", "close", "open", "ms"}));
}

TEST_F(Cd, WithoutADriveEverythingFailsAtOnce) {
    drive.openError = kNoDriver;
    EXPECT_FALSE(cd.CdOpen());
    EXPECT_EQ(cd.CdLastResult(), kNoDriver);
    EXPECT_EQ(cd.CdDeviceId(), 0);
    drive.calls.clear();
    const std::vector<std::function<void()>> commands = {
        [&] { cd.CdPlay(0); },     [&] { cd.CdPlay(1); },
        [&] { cd.CdPause(); },     [&] { cd.Toggle(); },
        [&] { cd.CdNextTrack(); }, [&] { cd.CdPreviousTrack(); },
        [&] { cd.CdEject(); },     [&] { EXPECT_EQ(cd.CdGetMode(), 0u); },
    };
    for (const auto& command : commands)
        command();
    EXPECT_TRUE(drive.calls.empty());
    EXPECT_EQ(clock.waits, 0) << "no retries without a device";
    EXPECT_EQ(cd.CdLastResult(), kMciErrInvalidDeviceId);
}

TEST_F(Cd, PlayerItemTogglesAndPlayStartsWhereItShould) {
    struct Case {
        const char* what;
        uint32_t mode, position;
        std::function<void(CdAudio&)> command;
        std::vector<std::string> plays;
        uint32_t modeAfter;
    };
    const Case cases[] = {
        {"playing: pause", kMciModePlay, 70000, [](CdAudio& c) { c.Toggle(); }, {"pause"}, kMciModePause},
        {"paused: resume where it stopped",
         kMciModePause,
         70000,
         [](CdAudio& c) { c.Toggle(); },
         {"play on"},
         kMciModePlay},
        {"played to the end: from the first track",
         kMciModeStop,
         182000,
         [](CdAudio& c) { c.Toggle(); },
         {"play from 2000"},
         kMciModePlay},
        {"door open: close it, then play",
         kMciModeOpen,
         2000,
         [](CdAudio& c) { c.Toggle(); },
         {"door close", "play on"},
         kMciModePlay},
        {"Play: from the first track",
         kMciModePause,
         70000,
         [](CdAudio& c) { c.CdPlay(1); },
         {"play from 2000"},
         kMciModePlay},
        {"Next", kMciModePlay, 70000, [](CdAudio& c) { c.CdNextTrack(); }, {"play from 122000"}, kMciModePlay},
        {"Prev", kMciModePlay, 130000, [](CdAudio& c) { c.CdPreviousTrack(); }, {"play from 62000"}, kMciModePlay},
        {"Prev on the first track plays nothing",
         kMciModePause,
         3000,
         [](CdAudio& c) { c.CdPreviousTrack(); },
         {},
         kMciModePause},
        {"Next on the last track plays nothing",
         kMciModePlay,
         150000,
         [](CdAudio& c) { c.CdNextTrack(); },
         {},
         kMciModePlay},
        {"Eject", kMciModePlay, 3000, [](CdAudio& c) { c.CdEject(); }, {"door open"}, kMciModeOpen},
    };
    for (const Case& c : cases) {
        drive.mode = c.mode;
        drive.position = c.position;
        if (!cd.IsOpen())
            Open();
        drive.calls.clear();
        c.command(cd);
        EXPECT_EQ(drive.calls, c.plays) << c.what;
        EXPECT_EQ(drive.mode, c.modeAfter) << c.what;
    }
    EXPECT_EQ(clock.waits, 0);
}

TEST_F(Cd, StepsBeyondTheDiscKeepTheirError) {
    Open();
    drive.position = 3000;
    cd.CdPreviousTrack();
    EXPECT_EQ(cd.CdLastResult(), kOutOfRange);
    cd.CdEject();
    EXPECT_EQ(cd.CdLastResult(), kOutOfRange) << "door commands keep the last result";
}

TEST_F(Cd, PlayRetriesUntilTheDriveIsReady) {
    Open();
    drive.mode = kMciModeOpen;
    drive.notReadyPlays = 3;
    cd.Toggle();
    EXPECT_EQ(clock.waits, 3);
    EXPECT_EQ(drive.mode, kMciModePlay);
    EXPECT_EQ(cd.CdLastResult(), 0u);
}

TEST_F(Cd, PlayGivesUpAfterFiveSeconds) {
    struct Case {
        uint32_t start, step;
        int waits;
    };
    const Case cases[] = {
        {100, 1000, 6},         // attempts at 100, 1100 ... 6100, the first one past the deadline of 5100
        {100, 50, 101},         // 50 ms apart: up to 5150
        {0xFFFFF000u, 1000, 6}, // the tick count wraps meanwhile
    };
    for (const Case& c : cases) {
        Open();
        drive.notReadyPlays = 1000;
        clock.now = c.start;
        clock.step = c.step;
        clock.waits = 0;
        cd.CdPlay(0);
        EXPECT_EQ(clock.waits, c.waits) << c.start << " " << c.step;
        EXPECT_EQ(cd.CdLastResult(), kNotReady);
        cd.CdClose();
    }
}

TEST_F(Cd, CommandsDuringARetryDoNotStartAnother) {
    Open();
    drive.notReadyPlays = 2;
    drive.mode = kMciModePause;
    int nested = 0;
    clock.duringWait = [&] {
        ++nested;
        cd.Toggle();
        cd.CdPlay(1);
        cd.CdPause();
    };
    cd.CdPlay(0);
    EXPECT_EQ(nested, 2);
    EXPECT_EQ(drive.calls, (std::vector<std::string>{"play on", "play on", "play on"}));
    EXPECT_EQ(drive.mode, kMciModePlay);
}

} // namespace
} // namespace vantrel
