#pragma once
// The audio-CD service behind the System tray's "CD Player" item: open and close the system's CD audio
// device, play (with retries while a disc spins up), pause, step tracks, open and close the door, and ask
// for the play mode. The MCI calls sit behind MciDevice (Win32: cd_device_win.h); a test drives the logic
// with a fake drive and a fake clock.

#include <cstdint>
#include <optional>

namespace vantrel {

// MCI values the service and its callers test.
constexpr uint32_t kMciModeNotReady = 524;
constexpr uint32_t kMciModeStop = 525;
constexpr uint32_t kMciModePlay = 526;
constexpr uint32_t kMciModePause = 529;
constexpr uint32_t kMciModeOpen = 530;
constexpr uint32_t kMciErrInvalidDeviceId = 257;
constexpr uint32_t kMciStatusLength = 1;
constexpr uint32_t kMciStatusPosition = 2;
constexpr uint32_t kMciStatusMode = 4;
constexpr uint32_t kMciStatusCurrentTrack = 8;

// One MCI command each; results are MCI error codes, 0 for success. Positions are in milliseconds once the
// time format is set.
class MciDevice {
public:
    virtual ~MciDevice() = default;
    // Opens the shareable "CDAudio" device.
    virtual uint32_t Open(uint16_t& deviceId) = 0;
    virtual uint32_t SetTimeFormatMilliseconds(uint16_t deviceId) = 0;
    virtual uint32_t Close(uint16_t deviceId) = 0;
    // A status item, of one track when `track` is given.
    virtual uint32_t Status(uint16_t deviceId, uint32_t item, std::optional<uint32_t> track, uint32_t& value) = 0;
    // Plays from a position, or on from where the disc stands (which resumes a pause).
    virtual uint32_t Play(uint16_t deviceId, std::optional<uint32_t> from) = 0;
    virtual uint32_t Pause(uint16_t deviceId) = 0;
    // Opens the door, or closes it and waits until it is closed.
    virtual uint32_t SetDoor(uint16_t deviceId, bool open) = 0;
};

// Time for the play retries, and the pause between two attempts during which the user interface keeps
// handling its messages.
class CdClock {
public:
    virtual ~CdClock() = default;
    virtual uint32_t TickCount() = 0;
    virtual void WaitBetweenAttempts() = 0;
};

// A disc that was just inserted or a door just closed needs a few seconds before it plays.
constexpr uint32_t kCdPlayRetryMs = 5000;

class CdAudio {
public:
    CdAudio(MciDevice& device, CdClock& clock) : device_(device), clock_(clock) {}
    CdAudio(const CdAudio&) = delete;
    CdAudio& operator=(const CdAudio&) = delete;

    // True when the device was opened now; false when it was open already or cannot be opened.
    bool CdOpen();
    void CdClose();

    // Status queries: the value, or 0 when the query failed.
    uint32_t CdGetMode();
    uint32_t CdLength();
    uint32_t CdPosition();
    uint32_t CdCurrentTrack();
    uint32_t CdTrackPosition(uint32_t track);

    // Plays on (track 0) or from the start of a track, closing an open door first and retrying for up to
    // kCdPlayRetryMs while the drive is not ready. A disc that has played to its end starts again from track 1.
    void CdPlay(uint32_t track);
    void CdPause();
    // From the start of the next or previous track; a track the disc does not have plays nothing.
    void CdNextTrack();
    void CdPreviousTrack();
    void CdEject();
    void CdCloseDoor();

    // The CD player item: pause while the disc plays, else play on.
    void Toggle();

private:
    uint32_t Query(uint32_t item, std::optional<uint32_t> track);
    void PlayTrackStart(uint32_t track);
    bool Closed();

    MciDevice& device_;
    CdClock& clock_;
    uint16_t deviceId_ = 0;
    uint32_t lastResult_ = 0;
    // A play retries while messages run; a second command arriving meanwhile must not start another loop.
    bool playing_ = false;
};

} // namespace vantrel
