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
};

// Rebuilds the list from a new USB snapshot, keeping the devices that have drive letters, in snapshot
// order. When the library cannot be bound nothing changes and false is returned.
bool RefreshDeviceList(DeviceLibraryFunctions& library, DeviceList& list);

} // namespace vantrel
