#include "services/cd_device_win.h"

#include <mmsystem.h>

namespace vantrel::win {

namespace {

// Commands go without MCI_NOTIFY: nothing waits for the notification, and the main window would only get
// messages it ignores.
uint32_t Send(uint16_t deviceId, UINT command, DWORD flags, void* parameters) {
    return static_cast<uint32_t>(mciSendCommandW(deviceId, command, flags, reinterpret_cast<DWORD_PTR>(parameters)));
}

} // namespace

uint32_t Win32MciDevice::Open(uint16_t& deviceId) {
    MCI_OPEN_PARMSW parameters{};
    parameters.lpstrDeviceType = L"CDAudio";
    const uint32_t result = Send(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_SHAREABLE, &parameters);
    deviceId = result == 0 ? static_cast<uint16_t>(parameters.wDeviceID) : 0;
    return result;
}

uint32_t Win32MciDevice::SetTimeFormatMilliseconds(uint16_t deviceId) {
    MCI_SET_PARMS parameters{};
    parameters.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    return Send(deviceId, MCI_SET, MCI_SET_TIME_FORMAT, &parameters);
}

uint32_t Win32MciDevice::Close(uint16_t deviceId) {
    MCI_GENERIC_PARMS parameters{};
    return Send(deviceId, MCI_CLOSE, 0, &parameters);
}

uint32_t Win32MciDevice::Status(uint16_t deviceId, uint32_t item, std::optional<uint32_t> track, uint32_t& value) {
    MCI_STATUS_PARMS parameters{};
    parameters.dwItem = item;
    DWORD flags = MCI_STATUS_ITEM | MCI_WAIT;
    if (track) {
        flags |= MCI_TRACK;
        parameters.dwTrack = *track;
    }
    const uint32_t result = Send(deviceId, MCI_STATUS, flags, &parameters);
    value = static_cast<uint32_t>(parameters.dwReturn);
    return result;
}

uint32_t Win32MciDevice::Play(uint16_t deviceId, std::optional<uint32_t> from) {
    MCI_PLAY_PARMS parameters{};
    DWORD flags = 0;
    if (from) {
        flags |= MCI_FROM;
        parameters.dwFrom = *from;
    }
    return Send(deviceId, MCI_PLAY, flags, &parameters);
}

uint32_t Win32MciDevice::Pause(uint16_t deviceId) {
    MCI_GENERIC_PARMS parameters{};
    return Send(deviceId, MCI_PAUSE, 0, &parameters);
}

uint32_t Win32MciDevice::SetDoor(uint16_t deviceId, bool open) {
    MCI_SET_PARMS parameters{};
    return Send(deviceId, MCI_SET, open ? MCI_SET_DOOR_OPEN : MCI_SET_DOOR_CLOSED | MCI_WAIT, &parameters);
}

uint32_t Win32CdClock::TickCount() {
    return GetTickCount();
}

void Win32CdClock::WaitBetweenAttempts() {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kCdRetryPauseMs, QS_ALLINPUT);
    if (processMessages_)
        processMessages_();
}

} // namespace vantrel::win
