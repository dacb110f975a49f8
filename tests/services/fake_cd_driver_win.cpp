// A CD audio driver for the MCI of the test process: registered as "CDAudio" for the length of a test, it answers
// the commands of a drive with a disc of kFakeCdTracks tracks and records what it was asked.

#include <windows.h>

#include <mmsystem.h>

#include <mmddk.h>

#include "fake_cd_driver_win.h"

namespace {

FakeCdRecord record;

uint32_t TrackAt(uint32_t position) {
    uint32_t track = 1;
    while (track < kFakeCdTracks && position >= FakeCdTrackStart(track + 1))
        ++track;
    return track;
}

LRESULT Status(DWORD flags, MCI_STATUS_PARMS* parameters) {
    if (!(flags & MCI_STATUS_ITEM))
        return MCIERR_MISSING_PARAMETER;
    switch (parameters->dwItem) {
    case MCI_STATUS_MODE:
        parameters->dwReturn = record.mode;
        return 0;
    case MCI_STATUS_LENGTH:
        parameters->dwReturn = FakeCdTrackStart(kFakeCdTracks + 1);
        return 0;
    case MCI_STATUS_CURRENT_TRACK:
        parameters->dwReturn = TrackAt(record.position);
        return 0;
    case MCI_STATUS_POSITION:
        if (!(flags & MCI_TRACK)) {
            parameters->dwReturn = record.position;
            return 0;
        }
        if (parameters->dwTrack < 1 || parameters->dwTrack > kFakeCdTracks)
            return MCIERR_OUTOFRANGE;
        parameters->dwReturn = FakeCdTrackStart(parameters->dwTrack);
        return 0;
    }
    return MCIERR_UNSUPPORTED_FUNCTION;
}

LRESULT Set(DWORD flags, MCI_SET_PARMS* parameters) {
    if (flags & MCI_SET_TIME_FORMAT)
        record.timeFormat = parameters->dwTimeFormat;
    if (flags & MCI_SET_DOOR_OPEN)
        record.mode = MCI_MODE_OPEN;
    if (flags & MCI_SET_DOOR_CLOSED) {
        record.mode = MCI_MODE_STOP;
        ++record.doorCloses;
    }
    return 0;
}

LRESULT Play(DWORD flags, MCI_PLAY_PARMS* parameters) {
    if (record.mode == MCI_MODE_OPEN)
        return MCIERR_HARDWARE;
    record.playedFrom = (flags & MCI_FROM) != 0;
    if (record.playedFrom)
        record.position = parameters->dwFrom;
    record.mode = MCI_MODE_PLAY;
    return 0;
}

} // namespace

extern "C" __declspec(dllexport) FakeCdRecord* FakeCdDriverRecord() {
    return &record;
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    DriverProc(DWORD_PTR, HDRVR, UINT message, LPARAM first, LPARAM second) {
    switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_ENABLE:
    case DRV_DISABLE:
    case DRV_CLOSE:
        return 1;
    case DRV_OPEN:
        if (auto* open = reinterpret_cast<MCI_OPEN_DRIVER_PARMS*>(second)) {
            open->wCustomCommandTable = MCI_NO_COMMAND_TABLE;
            open->wType = MCI_DEVTYPE_CD_AUDIO;
        }
        return 1;
    case MCI_OPEN_DRIVER:
        ++record.opens;
        return 0;
    case MCI_CLOSE_DRIVER:
        ++record.closes;
        return 0;
    case MCI_STATUS:
        return Status(static_cast<DWORD>(first), reinterpret_cast<MCI_STATUS_PARMS*>(second));
    case MCI_SET:
        return Set(static_cast<DWORD>(first), reinterpret_cast<MCI_SET_PARMS*>(second));
    case MCI_PLAY:
        return Play(static_cast<DWORD>(first), reinterpret_cast<MCI_PLAY_PARMS*>(second));
    case MCI_PAUSE:
        record.mode = MCI_MODE_PAUSE;
        return 0;
    }
    return MCIERR_UNRECOGNIZED_COMMAND;
}
