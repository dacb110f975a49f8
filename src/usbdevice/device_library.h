#pragma once
// The rules of the library's exported functions over one process-wide snapshot: argument checks, result
// codes and buffer copies. The exports themselves only forward to this class.

#include <cstdint>
#include <utility>

#include "usbdevice/device_snapshot.h"
#include "usbdevice/device_tree.h"
#include "usbdevice/text_buffers.h"

namespace vantrel::dravik {

enum class RecordText {
    FriendlyName,
    ClassName,
    ServiceName,
    DeviceId,
    ParentDeviceId,
    HardwareId,
    Description,
    ManufacturerName
};

// Device numbers that name no record give -1 unless said otherwise; null output buffers give -3.
class DeviceLibrary {
public:
    DeviceLibrary(DeviceTree& tree, AnsiConverter toAnsi) : tree_(tree), toAnsi_(std::move(toAnsi)) {}

    int32_t GetDeviceData(int32_t mode) { return snapshot_.Build(tree_, mode); }
    int32_t ReleaseDeviceData() {
        snapshot_.Release();
        return 0;
    }

    // 0 with the text copied (cut to fit), -1 with an empty buffer when the number names no record or the
    // value is absent. Size in units (UTF-16) or bytes (ANSI).
    int32_t GetText(int32_t number, RecordText field, char16_t* buffer, int32_t size) const;
    int32_t GetText(int32_t number, RecordText field, char* buffer, int32_t size) const;
    // The device's drive letters; the result is the length of the text now in the buffer.
    int32_t GetDriveLetter(int32_t number, char16_t* buffer, int32_t size) const;
    int32_t GetDriveLetter(int32_t number, char* buffer, int32_t size) const;
    // The first record owning the drive named by the first character; -1 when none (or no name).
    int32_t DriveToNo(const char16_t* name) const;
    int32_t DriveToNo(const char* name) const;

    int32_t GetImageListIndex(int32_t number) const;
    DevNode GetDeviceHandle(int32_t number) const; // 0 for no record
    int32_t GetInterface(int32_t number) const;
    int32_t CheckRemovableNo(int32_t number) const; // 0 for no record

    // Tests of the live node: 1 or 0.
    int32_t CheckInsertDeviceHandle(DevNode node) { return IsDevicePresent(tree_, node) ? 1 : 0; }
    int32_t CheckInsertDeviceNo(int32_t number);
    int32_t CheckRemovableHandle(DevNode node) { return IsRemovableNode(tree_, node) ? 1 : 0; }

    // 0 ejected, -2 refused or still present; -1 no record or no device with that drive letter.
    int32_t EjectDeviceHandle(DevNode node) { return dravik::EjectDeviceHandle(tree_, node); }
    // The same without the system's own notice: who refused comes back in the type and the name (cut to the
    // buffer's size in units); -3 when either output is null.
    int32_t EjectDeviceHandleVeto(DevNode node, int32_t* vetoType, char16_t* vetoName, int32_t size);
    int32_t EjectDeviceNo(int32_t number);
    int32_t EjectDeviceDriveName(const char16_t* name) { return DeviceSnapshot::EjectDrive(tree_, name); }

private:
    // Checks shared by the text getters: the record's value, or the result code to give.
    template <typename Char>
    const std::u16string* Lookup(int32_t number, RecordText field, Char* buffer, int32_t size, int32_t& code) const;

    DeviceTree& tree_;
    AnsiConverter toAnsi_;
    DeviceSnapshot snapshot_;
};

} // namespace vantrel::dravik
