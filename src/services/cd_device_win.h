#pragma once
// The MCI calls of the CD audio service and its clock. On a machine without a CD audio device (Wine has
// none) Open fails, and the service then answers every command at once.

#include <functional>

#include <windows.h>

#include "services/cd_audio.h"

namespace vantrel::win {

class Win32MciDevice : public MciDevice {
public:
    uint32_t Open(uint16_t& deviceId) override;
    uint32_t SetTimeFormatMilliseconds(uint16_t deviceId) override;
    uint32_t Close(uint16_t deviceId) override;
    uint32_t Status(uint16_t deviceId, uint32_t item, std::optional<uint32_t> track, uint32_t& value) override;
    uint32_t Play(uint16_t deviceId, std::optional<uint32_t> from) override;
    uint32_t Pause(uint16_t deviceId) override;
    uint32_t SetDoor(uint16_t deviceId, bool open) override;
};

// Between two play attempts the thread waits for messages up to this long and handles them.
constexpr DWORD kCdRetryPauseMs = 50;

class Win32CdClock : public CdClock {
public:
    // processMessages handles what is queued for the user interface (the launcher's message pump).
    explicit Win32CdClock(std::function<void()> processMessages) : processMessages_(std::move(processMessages)) {}
    uint32_t TickCount() override;
    void WaitBetweenAttempts() override;

private:
    std::function<void()> processMessages_;
};

} // namespace vantrel::win
