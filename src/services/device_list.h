#pragma once
// The USB drives known to the device library (dravik.dll), as the resident core keeps them: built at the
// start, rebuilt on every device change, and looked up by drive letter when the user stops a drive.
//
// Use: the main window owns a win::DeviceLibrary (device_library_win.h) and a DeviceList, calls
// RefreshDeviceList(library, list) once at the start and on every WM_DEVICECHANGE whatever its wParam, and
// stops a drive with library.EjectDeviceHandle(static_cast<uint32_t>(record.Di)). The list stays empty for
// good when the library is missing.

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

struct RDeviceData {
    int32_t Di = 0;             // the device instance handle to eject, as the library reports it
    std::u16string DriveLetter; // the device's drive letters without colons, such as "EF"
    bool Removable = false;     // Di can be ejected on its own: a stick or card the user can unplug
    std::u16string Name;        // the device's friendly name; empty when the library gave none
};
using DeviceList = std::vector<RDeviceData>;

// The four functions of the device library that the launcher uses, and the binding that makes them callable.
class DeviceLibraryFunctions {
public:
    virtual ~DeviceLibraryFunctions() = default;
    // Binds the library unless it is bound; false when it cannot be bound now (a later call tries again).
    virtual bool BindDeviceLibrary() = 0;
    // Takes a snapshot (mode 0: USB devices) and returns its count.
    virtual int32_t GetDeviceData(int32_t mode) = 0;
    // 0 ejected, -2 refused or still present.
    virtual int32_t EjectDeviceHandle(uint32_t deviceHandle) = 0;
    virtual uint32_t GetDeviceHandle(int32_t deviceNo) = 0;
    // The device's drive letters into a buffer of `size` units; their count.
    virtual int32_t GetDriveLetterW(int32_t deviceNo, char16_t* buffer, int32_t size) = 0;

    // What a library that lacks the functions below (an older dravik.dll) answers: no device is removable,
    // none has a name, and an eject leaves the explaining to the system.
    // 1 when the record's device can be ejected on its own, else 0.
    virtual int32_t CheckRemovableNo(int32_t) { return 0; }
    // The record's friendly name into a buffer of `size` units; 0, or -1 with an empty buffer.
    virtual int32_t GetFriendlyNameW(int32_t, char16_t* buffer, int32_t size) {
        if (buffer && size > 0)
            buffer[0] = 0;
        return -1;
    }
    // An eject that the system does not explain to the user: who refused comes back in the type (the system's
    // veto kind, 0 when it gave none) and the name, a buffer of `size` units. 0 ejected, -2 refused or still
    // present.
    virtual int32_t EjectDeviceHandleVeto(uint32_t deviceHandle, int32_t* vetoType, char16_t* vetoName, int32_t size) {
        *vetoType = 0;
        if (size > 0)
            vetoName[0] = 0;
        return EjectDeviceHandle(deviceHandle);
    }
};

// Rebuilds the list from a new USB snapshot, keeping the devices that have drive letters, in snapshot
// order, with whether each can be ejected and its name. When the library cannot be bound nothing changes and
// false is returned.
bool RefreshDeviceList(DeviceLibraryFunctions& library, DeviceList& list);

} // namespace vantrel
