// The exported functions of dravik.dll: each forwards to the one process-wide DeviceLibrary. Nothing may
// throw across the boundary, so every export answers its failure code instead.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "usbdevice/device_library.h"
#include "usbdevice/dravik.h"
#include "usbdevice/machine_win.h"

namespace {

using vantrel::dravik::ClassImageList;
using vantrel::dravik::DeviceLibrary;
using vantrel::dravik::RecordText;

std::optional<std::string> ToAnsi(std::u16string_view text) {
    if (text.empty())
        return std::string();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int units = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::nullopt;
    std::string ansi(static_cast<size_t>(bytes), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide, units, ansi.data(), bytes, nullptr, nullptr) != bytes)
        return std::nullopt;
    return ansi;
}

HMODULE module = nullptr;
ClassImageList images;

// Made on the first call rather than while the library loads, so that nothing runs under the loader lock
// and the tree is built after every static object it may use.
DeviceLibrary& Library() {
    static DeviceLibrary library(vantrel::dravik::MachineTree(images), ToAnsi);
    return library;
}

// Every export answers through a guard: the library is made on the first call and snapshots, conversions and
// device queries allocate, so a failure there becomes the export's own failure code rather than an exception in a
// host that cannot catch ours.
template <typename Result, typename Body> Result Guard(Result failure, Body body) noexcept {
    try {
        return body();
    } catch (...) {
        return failure;
    }
}
template <typename Body> void Guard(Body body) noexcept {
    try {
        body();
    } catch (...) {
    }
}

char16_t* Units(wchar_t* buffer) {
    return reinterpret_cast<char16_t*>(buffer);
}
const char16_t* Units(const wchar_t* text) {
    return reinterpret_cast<const char16_t*>(text);
}

int32_t TextA(int32_t number, RecordText field, char* buffer, int32_t size) {
    return Guard<int32_t>(-1, [&] { return Library().GetText(number, field, buffer, size); });
}
int32_t TextW(int32_t number, RecordText field, wchar_t* buffer, int32_t size) {
    return Guard<int32_t>(-1, [&] { return Library().GetText(number, field, Units(buffer), size); });
}

int32_t ReadVersion() {
    std::vector<wchar_t> path(MAX_PATH + 1);
    const DWORD length = GetModuleFileNameW(module, path.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 0;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.data(), &ignored);
    if (size == 0)
        return 0;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path.data(), 0, size, block.data()))
        return 0;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
        infoSize < sizeof *info)
        return 0;
    return HIWORD(info->dwProductVersionMS) * 1000 + LOWORD(info->dwProductVersionMS) * 100 +
           HIWORD(info->dwProductVersionLS) * 10 + LOWORD(info->dwProductVersionLS);
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        module = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Unloaded by FreeLibrary: give back the image list (the snapshot goes with the library's static
        // objects). At process exit the system reclaims it, and setupapi may already be gone.
        images.Release();
    }
    return TRUE;
}

int32_t DRVK_CALL DrvkGetDeviceData(int32_t mode) {
    return Guard<int32_t>(0, [&] {
        images.Ensure();
        return Library().GetDeviceData(mode);
    });
}

int32_t DRVK_CALL DrvkReleaseDeviceData(void) {
    return Guard<int32_t>(0, [] { return Library().ReleaseDeviceData(); });
}

int32_t DRVK_CALL DrvkGetFriendlyNameA(int32_t no, char* buffer, int32_t size) {
    return TextA(no, RecordText::FriendlyName, buffer, size);
}
int32_t DRVK_CALL DrvkGetFriendlyNameW(int32_t no, wchar_t* buffer, int32_t size) {
    return TextW(no, RecordText::FriendlyName, buffer, size);
}
int32_t DRVK_CALL DrvkGetClassNameA(int32_t no, char* buffer, int32_t size) {
    return TextA(no, RecordText::ClassName, buffer, size);
}
int32_t DRVK_CALL DrvkGetClassNameW(int32_t no, wchar_t* buffer, int32_t size) {
    return TextW(no, RecordText::ClassName, buffer, size);
}
int32_t DRVK_CALL DrvkGetServiceNameA(int32_t no, char* buffer, int32_t size) {
    return TextA(no, RecordText::ServiceName, buffer, size);
}
int32_t DRVK_CALL DrvkGetServiceNameW(int32_t no, wchar_t* buffer, int32_t size) {
    return TextW(no, RecordText::ServiceName, buffer, size);
}
int32_t DRVK_CALL DrvkGetDeviceIdA(int32_t no, char* buffer, int32_t size) {
    return TextA(no, RecordText::DeviceId, buffer, size);
}
int32_t DRVK_CALL DrvkGetDeviceIdW(int32_t no, wchar_t* buffer, int32_t size) {
    return TextW(no, RecordText::DeviceId, buffer, size);
}
int32_t DRVK_CALL DrvkGetParentDeviceIdA(int32_t no, char* buffer, int32_t size) {
    return TextA(no, RecordText::ParentDeviceId, buffer, size);
}
int32_t DRVK_CALL DrvkGetParentDeviceIdW(int32_t no, wchar_t* buffer, int32_t size) {
    return TextW(no, RecordText::ParentDeviceId, buffer, size);
}
int32_t DRVK_CALL DrvkGetHardwareIdA(int32_t no, char* buffer, int32_t size) {
    return TextA(no, RecordText::HardwareId, buffer, size);
}
int32_t DRVK_CALL DrvkGetHardwareIdW(int32_t no, wchar_t* buffer, int32_t size) {
    return TextW(no, RecordText::HardwareId, buffer, size);
}
int32_t DRVK_CALL DrvkGetDescriptionA(int32_t no, char* buffer, int32_t size) {
    return TextA(no, RecordText::Description, buffer, size);
}
int32_t DRVK_CALL DrvkGetDescriptionW(int32_t no, wchar_t* buffer, int32_t size) {
    return TextW(no, RecordText::Description, buffer, size);
}
int32_t DRVK_CALL DrvkGetManufacturerNameA(int32_t no, char* buffer, int32_t size) {
    return TextA(no, RecordText::ManufacturerName, buffer, size);
}
int32_t DRVK_CALL DrvkGetManufacturerNameW(int32_t no, wchar_t* buffer, int32_t size) {
    return TextW(no, RecordText::ManufacturerName, buffer, size);
}

int32_t DRVK_CALL DrvkGetDriveLetterA(int32_t no, char* buffer, int32_t size) {
    return Guard<int32_t>(-1, [&] { return Library().GetDriveLetter(no, buffer, size); });
}
int32_t DRVK_CALL DrvkGetDriveLetterW(int32_t no, wchar_t* buffer, int32_t size) {
    return Guard<int32_t>(-1, [&] { return Library().GetDriveLetter(no, Units(buffer), size); });
}
int32_t DRVK_CALL DrvkDriveToNoA(const char* driveName) {
    return Guard<int32_t>(-1, [&] { return Library().DriveToNo(driveName); });
}
int32_t DRVK_CALL DrvkDriveToNoW(const wchar_t* driveName) {
    return Guard<int32_t>(-1, [&] { return Library().DriveToNo(Units(driveName)); });
}

int32_t DRVK_CALL DrvkGetImageListIndex(int32_t no) {
    return Guard<int32_t>(-1, [&] { return Library().GetImageListIndex(no); });
}
uint32_t DRVK_CALL DrvkGetDeviceHandle(int32_t no) {
    return Guard<uint32_t>(0, [&] { return Library().GetDeviceHandle(no); });
}
int32_t DRVK_CALL DrvkGetInterface(int32_t no) {
    return Guard<int32_t>(-1, [&] { return Library().GetInterface(no); });
}
int32_t DRVK_CALL DrvkCheckRemovableNo(int32_t no) {
    return Guard<int32_t>(0, [&] { return Library().CheckRemovableNo(no); });
}

int32_t DRVK_CALL DrvkCheckInsertDeviceHandle(uint32_t handle) {
    return Guard<int32_t>(0, [&] { return Library().CheckInsertDeviceHandle(handle); });
}
int32_t DRVK_CALL DrvkCheckInsertDeviceNo(int32_t no) {
    return Guard<int32_t>(0, [&] { return Library().CheckInsertDeviceNo(no); });
}
int32_t DRVK_CALL DrvkCheckRemovableHandle(uint32_t handle) {
    return Guard<int32_t>(0, [&] { return Library().CheckRemovableHandle(handle); });
}

// An eject that could not be carried out is a refused one.
int32_t DRVK_CALL DrvkEjectDeviceHandle(uint32_t handle) {
    return Guard<int32_t>(-2, [&] { return Library().EjectDeviceHandle(handle); });
}
int32_t DRVK_CALL DrvkEjectDeviceNo(int32_t no) {
    return Guard<int32_t>(-2, [&] { return Library().EjectDeviceNo(no); });
}

int32_t DRVK_CALL DrvkEjectDeviceDriveNameA(const char* driveName) {
    return Guard<int32_t>(-1, [&] {
        if (!driveName)
            return -1;
        const int units = MultiByteToWideChar(CP_ACP, 0, driveName, -1, nullptr, 0);
        if (units <= 0)
            return -1;
        std::wstring wide(static_cast<size_t>(units), L'\0');
        if (MultiByteToWideChar(CP_ACP, 0, driveName, -1, wide.data(), units) <= 0)
            return -1;
        return Library().EjectDeviceDriveName(Units(wide.c_str()));
    });
}
int32_t DRVK_CALL DrvkEjectDeviceDriveNameW(const wchar_t* driveName) {
    return Guard<int32_t>(-1, [&] { return Library().EjectDeviceDriveName(Units(driveName)); });
}

int32_t DRVK_CALL DrvkEjectDeviceHandleVetoW(uint32_t handle, int32_t* vetoType, wchar_t* vetoName, int32_t size) {
    return Guard<int32_t>(-2, [&] { return Library().EjectDeviceHandleVeto(handle, vetoType, Units(vetoName), size); });
}

void* DRVK_CALL DrvkGetImageListHandle(void) {
    return Guard<void*>(nullptr, [] { return images.Handle(); });
}
void DRVK_CALL DrvkReleaseImageListHandle(void) {
    Guard([] { images.Release(); });
}
void* DRVK_CALL DrvkRefreshImageListHandle(void) {
    return Guard<void*>(nullptr, [] { return images.Refresh(); });
}

int32_t DRVK_CALL DrvkGetVersion(void) {
    return Guard<int32_t>(0, [] { return ReadVersion(); });
}

} // extern "C"
