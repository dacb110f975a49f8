#include "services/cd_audio.h"

#include <algorithm>

namespace vantrel {

bool CdAudio::CdOpen() {
    if (deviceId_ != 0)
        return false;
    uint16_t id = 0;
    lastResult_ = device_.Open(id);
    if (lastResult_ != 0 || id == 0)
        return false;
    deviceId_ = id;
    lastResult_ = device_.SetTimeFormatMilliseconds(deviceId_);
    return true;
}

void CdAudio::CdClose() {
    if (deviceId_ == 0)
        return;
    lastResult_ = device_.Close(deviceId_);
    deviceId_ = 0;
}

// Without an open device every command fails at once, as the system would answer it: a machine without a
// CD drive never waits for one.
bool CdAudio::Closed() {
    if (deviceId_ != 0)
        return false;
    lastResult_ = kMciErrInvalidDeviceId;
    return true;
}

uint32_t CdAudio::Query(uint32_t item, std::optional<uint32_t> track) {
    if (Closed())
        return 0;
    uint32_t value = 0;
    lastResult_ = device_.Status(deviceId_, item, track, value);
    return lastResult_ == 0 ? value : 0;
}

uint32_t CdAudio::CdGetMode() {
    return Query(kMciStatusMode, std::nullopt);
}

uint32_t CdAudio::CdLength() {
    return Query(kMciStatusLength, std::nullopt);
}

uint32_t CdAudio::CdPosition() {
    return Query(kMciStatusPosition, std::nullopt);
}

uint32_t CdAudio::CdCurrentTrack() {
    return Query(kMciStatusCurrentTrack, std::nullopt);
}

uint32_t CdAudio::CdTrackPosition(uint32_t track) {
    return Query(kMciStatusPosition, track);
}

void CdAudio::CdPlay(uint32_t track) {
    if (playing_ || Closed())
        return;
    playing_ = true;
    if (CdGetMode() == kMciModeOpen)
        CdCloseDoor();
    const uint32_t deadline = clock_.TickCount() + kCdPlayRetryMs;
    for (;;) {
        uint32_t result = 0;
        if (track >= 1 || CdPosition() >= CdLength()) {
            const uint32_t from = CdTrackPosition(std::max<uint32_t>(track, 1));
            result = device_.Play(deviceId_, from);
        } else {
            result = device_.Play(deviceId_, std::nullopt);
        }
        lastResult_ = result;
        // The difference, not the values, is compared: the tick count wraps after 49.7 days.
        if (result == 0 || static_cast<int32_t>(clock_.TickCount() - deadline) > 0)
            break;
        clock_.WaitBetweenAttempts();
    }
    playing_ = false;
}

void CdAudio::PlayTrackStart(uint32_t track) {
    if (playing_ || Closed())
        return;
    const uint32_t from = CdTrackPosition(track);
    // A track the disc does not have: the query failed and its error stays; the disc plays on as it was.
    if (lastResult_ != 0)
        return;
    lastResult_ = device_.Play(deviceId_, from);
}

void CdAudio::CdPause() {
    if (playing_ || Closed())
        return;
    lastResult_ = device_.Pause(deviceId_);
}

void CdAudio::CdNextTrack() {
    PlayTrackStart(CdCurrentTrack() + 1);
}

void CdAudio::CdPreviousTrack() {
    PlayTrackStart(CdCurrentTrack() - 1);
}

void CdAudio::CdEject() {
    if (deviceId_ != 0)
        device_.SetDoor(deviceId_, true);
}

void CdAudio::CdCloseDoor() {
    if (deviceId_ != 0)
        device_.SetDoor(deviceId_, false);
}

void CdAudio::Toggle() {
    if (CdGetMode() == kMciModePlay)
        CdPause();
    else
        CdPlay(0);
}

} // namespace vantrel
