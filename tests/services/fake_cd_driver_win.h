#pragma once
// What the fake CD audio driver (fake_cd_driver_win.cpp, bin/vantrel_fake_cd.dll) was asked, for the tests of the
// MCI side of the CD service. Its disc has kFakeCdTracks tracks of a minute each, the first starting at 2 s.

#include <cstdint>

constexpr uint32_t kFakeCdTracks = 10;
constexpr uint32_t FakeCdTrackStart(uint32_t track) {
    return 2000 + (track - 1) * 60000;
}

struct FakeCdRecord {
    int opens = 0;
    int closes = 0;
    uint32_t timeFormat = 0xffffffff;
    uint32_t mode = 525; // stopped
    uint32_t position = 2000;
    bool playedFrom = false; // the last play gave a start
    int doorCloses = 0;
};

using FakeCdRecordFn = FakeCdRecord* (*)();
