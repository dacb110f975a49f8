#include "services/device_library_win.h"

#include <utility>

#include "win/system_library_win.h"
#include "win/window_win.h"

namespace vantrel::win {

namespace {

template <typename Entry> Entry Lookup(HMODULE module, const char* name) {
    return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

DeviceLibrary::DeviceLibrary(int winVersion, std::wstring folder)
    : winVersion_(winVersion), folder_(folder.empty() ? ModuleFolder() : std::move(folder)) {}

bool DeviceLibrary::BindDeviceLibrary() {
    if (winVersion_ < 1500)
        return false;
    if (Bound())
        return true;
    if (!module_) {
        // Only an absolute folder: a relative path would be resolved against the current folder.
        const bool drivePath = folder_.size() >= 3 && folder_[1] == L':' && folder_[2] == L'\\';
        const bool uncPath = folder_.rfind(L"\\\\", 0) == 0;
        if (!drivePath && !uncPath)
            return false;
        const std::wstring path = folder_ + L"\\dravik.dll";
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return false;
        module_.Reset(LoadLibraryAt(path));
        if (!module_)
            return false;
    }
    const auto getDeviceData = Lookup<DrvkModeFn>(module_.Get(), "DrvkGetDeviceData");
    const auto ejectDeviceHandle = Lookup<DrvkHandleFn>(module_.Get(), "DrvkEjectDeviceHandle");
    const auto getDeviceHandle = Lookup<DrvkHandleOfNumberFn>(module_.Get(), "DrvkGetDeviceHandle");
    const auto getDriveLetter = Lookup<DrvkTextWFn>(module_.Get(), "DrvkGetDriveLetterW");
    // All four or none: a library missing one of them is treated as missing, never half used.
    if (!getDeviceData || !ejectDeviceHandle || !getDeviceHandle || !getDriveLetter)
        return false;
    getDeviceData_ = getDeviceData;
    ejectDeviceHandle_ = ejectDeviceHandle;
    getDeviceHandle_ = getDeviceHandle;
    getDriveLetter_ = getDriveLetter;
    checkRemovableNo_ = Lookup<DrvkNumberFn>(module_.Get(), "DrvkCheckRemovableNo");
    getFriendlyName_ = Lookup<DrvkTextWFn>(module_.Get(), "DrvkGetFriendlyNameW");
    ejectDeviceHandleVeto_ = Lookup<DrvkEjectVetoWFn>(module_.Get(), "DrvkEjectDeviceHandleVetoW");
    return true;
}

int32_t DeviceLibrary::GetDriveLetterW(int32_t deviceNo, char16_t* buffer, int32_t size) {
    if (!Bound()) {
        if (buffer && size > 0)
            buffer[0] = 0;
        return -1;
    }
    return getDriveLetter_(deviceNo, reinterpret_cast<wchar_t*>(buffer), size);
}

int32_t DeviceLibrary::CheckRemovableNo(int32_t deviceNo) {
    return Bound() && checkRemovableNo_ ? checkRemovableNo_(deviceNo)
                                        : DeviceLibraryFunctions::CheckRemovableNo(deviceNo);
}

int32_t DeviceLibrary::GetFriendlyNameW(int32_t deviceNo, char16_t* buffer, int32_t size) {
    if (!Bound() || !getFriendlyName_)
        return DeviceLibraryFunctions::GetFriendlyNameW(deviceNo, buffer, size);
    return getFriendlyName_(deviceNo, reinterpret_cast<wchar_t*>(buffer), size);
}

int32_t DeviceLibrary::EjectDeviceHandleVeto(uint32_t deviceHandle, int32_t* vetoType, char16_t* vetoName,
                                             int32_t size) {
    if (!Bound() || !ejectDeviceHandleVeto_)
        return DeviceLibraryFunctions::EjectDeviceHandleVeto(deviceHandle, vetoType, vetoName, size);
    return ejectDeviceHandleVeto_(deviceHandle, vetoType, reinterpret_cast<wchar_t*>(vetoName), size);
}

} // namespace vantrel::win
