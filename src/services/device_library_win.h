#pragma once
// dravik.dll bound at run time: loaded by its full path from the program's own folder, never through the
// search path, so that a copy planted in the current folder cannot load in its place.
//
//   win::DeviceLibrary deviceLibrary(winVersion);            // in the main window
//   case WM_DEVICECHANGE: RefreshDeviceList(deviceLibrary, deviceList); return TRUE;
//
// Until it is bound the functions answer as if no device were there (count 0, handle 0, eject -2); the
// functions only "Stop all USB drives" needs answer as the interface says a library without them does.

#include <string>

#include <windows.h>

#include "services/device_list.h"
#include "usbdevice/dravik.h"
#include "win/unique_handle_win.h"

namespace vantrel::win {

class DeviceLibrary : public DeviceLibraryFunctions {
public:
    // winVersion is the system's version number (Windows 2000 is 1500, which the library needs). The folder
    // to load from is the program's own unless a test names another.
    explicit DeviceLibrary(int winVersion, std::wstring folder = {});
    DeviceLibrary(const DeviceLibrary&) = delete;
    DeviceLibrary& operator=(const DeviceLibrary&) = delete;

    bool BindDeviceLibrary() override;
    bool Bound() const { return getDriveLetter_ != nullptr; }

    int32_t GetDeviceData(int32_t mode) override { return Bound() ? getDeviceData_(mode) : 0; }
    int32_t EjectDeviceHandle(uint32_t deviceHandle) override {
        return Bound() ? ejectDeviceHandle_(deviceHandle) : -2;
    }
    uint32_t GetDeviceHandle(int32_t deviceNo) override { return Bound() ? getDeviceHandle_(deviceNo) : 0; }
    int32_t GetDriveLetterW(int32_t deviceNo, char16_t* buffer, int32_t size) override;
    int32_t CheckRemovableNo(int32_t deviceNo) override;
    int32_t GetFriendlyNameW(int32_t deviceNo, char16_t* buffer, int32_t size) override;
    int32_t EjectDeviceHandleVeto(uint32_t deviceHandle, int32_t* vetoType, char16_t* vetoName, int32_t size) override;

private:
    int winVersion_;
    std::wstring folder_;
    // Loaded once and kept until the process ends, as the bound functions live in it.
    UniqueModule module_;
    DrvkModeFn getDeviceData_ = nullptr;
    DrvkHandleFn ejectDeviceHandle_ = nullptr;
    DrvkHandleOfNumberFn getDeviceHandle_ = nullptr;
    DrvkTextWFn getDriveLetter_ = nullptr;
    // Looked up with the four, but a library without them is still used: "Stop all USB drives" needs them.
    DrvkNumberFn checkRemovableNo_ = nullptr;
    DrvkTextWFn getFriendlyName_ = nullptr;
    DrvkEjectVetoWFn ejectDeviceHandleVeto_ = nullptr;
};

} // namespace vantrel::win
