#pragma once
// The snapshot of the devices a user could unplug: USB devices (mode 0) or storage devices that own drive
// letters (mode 1), with the node to eject for each. Records are numbered from 0 in list order.

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "usbdevice/device_tree.h"

namespace vantrel::dravik {

constexpr int32_t kModeUsb = 0;
constexpr int32_t kModeDrive = 1;

// Bus types met on the way up from a device.
constexpr int32_t kInterfaceNone = 0;
constexpr int32_t kInterfaceUsb = 1;
constexpr int32_t kInterfaceAtapi = 2;
constexpr int32_t kInterfaceScsi = 3;
constexpr int32_t kInterface1394 = 4;

// Result codes shared by every operation that reports one.
constexpr int32_t kSuccess = 0;
constexpr int32_t kNoRecord = -1;
constexpr int32_t kEjectFailed = -2;
constexpr int32_t kNullBuffer = -3;

struct DeviceRecord {
    DevNode DeviceHandle = kNoNode; // the node to report and eject
    std::u16string ClassName;
    std::u16string DeviceId; // unique within a snapshot
    std::u16string HardwareId;
    std::u16string Description;
    std::u16string FriendlyName;
    std::u16string ServiceName;
    std::u16string ManufacturerName;
    std::optional<std::u16string> ParentDeviceId;
    std::u16string DriveLetters; // letters without colons, alphabetical
    int32_t ImageListIndex = 0;
    int32_t DriveCount = 0;
    uint32_t NodeStatus = 0;
    uint32_t ProblemNumber = 0;
    int32_t Removable = 0;
    int32_t Interface = kInterfaceNone;
};

class DeviceSnapshot {
public:
    // Replaces the snapshot with the devices of a mode (any mode but 0 and 1 lists nothing); returns the
    // number of records.
    int32_t Build(DeviceTree& tree, int32_t mode);

    // Ejects the storage device that owns the drive letter given by the first character of the name,
    // leaving the snapshot as it is: 0 ejected, -1 no such drive (or no name), -2 refused or still present.
    static int32_t EjectDrive(DeviceTree& tree, const char16_t* driveName);

    void Release();
    int32_t Count() const { return static_cast<int32_t>(records_.size()); }
    // The record with this device number; null when the number names none.
    const DeviceRecord* Find(int32_t number) const;
    // The number of the first record that owns the letter (a to z count as A to Z); -1 when none does.
    int32_t DriveToNo(char16_t letter) const;

    // Appends a record unless one with the same DeviceId is listed already.
    void Add(DeviceRecord&& record);

private:
    std::vector<DeviceRecord> records_;
    std::unordered_set<std::u16string> deviceIds_;
};

// Requests the removal of a node: 0 when the system accepted and the node no longer reads as present and
// working, else -2. Without a veto the system tells the user itself why it refused; with one it says nothing
// and the veto says who refused, a device named by its friendly name where it can be found.
int32_t EjectDeviceHandle(DeviceTree& tree, DevNode node, EjectVeto* veto = nullptr);
// The veto kinds whose name is a device instance path rather than a program, service or driver name.
bool VetoNamesADevice(int32_t vetoType);
// The node reads as present and without a problem.
bool IsDevicePresent(DeviceTree& tree, DevNode node);
// The node is removable and disableable, so it can be ejected on its own.
bool IsRemovableNode(DeviceTree& tree, DevNode node);

} // namespace vantrel::dravik
