#pragma once
// The device-tree operations that the snapshot and eject rules need, and nothing more. Windows answers them
// through SetupAPI and the configuration manager; the tests answer them from an in-memory tree.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::dravik {

// A configuration-manager device instance handle (DEVINST); 0 names no node.
using DevNode = uint32_t;
constexpr DevNode kNoNode = 0;

// Node status bits. A node that can be safely removed on its own has both.
constexpr uint32_t kDnRemovable = 0x4000;
constexpr uint32_t kDnDisableable = 0x2000;

// What a volume reports when it cannot tell its storage device number.
constexpr uint32_t kUnknownDeviceNumber = 0xFFFFFFFF;

enum class DeviceProperty { Class, ClassGuid, Service, Description, FriendlyName, HardwareId, Manufacturer };

// Why the system refused a removal, as it says it: the kind of party that vetoed (PNP_VETO_TYPE: 3 a program,
// 4 a service, 5 open handles, 6 a device, 7 a driver ...; 0 when it said nothing) and that party's name, which
// for some kinds is a device instance path.
struct EjectVeto {
    int32_t type = 0;
    std::u16string name;
    friend bool operator==(const EjectVeto&, const EjectVeto&) = default;
};

struct DevNodeStatus {
    uint32_t status = 0;
    uint32_t problem = 0;
};

enum class DriveKind { Other, Removable, Fixed, CdRom };
enum class StorageClass { Disk, CdRom, Floppy };

// One present device interface of a storage class; deviceNumber is absent when the interface could not be
// opened or did not answer the storage device number query.
struct StorageInterface {
    DevNode node = kNoNode;
    std::optional<uint32_t> deviceNumber;
};

class DeviceTree {
public:
    virtual ~DeviceTree() = default;

    // The set of present devices of every class, held between Begin and End. Properties can be read of a
    // node that was enumerated or opened in the set; Begin is false when the set cannot be made.
    virtual bool BeginPresentDevices() = 0;
    virtual std::optional<DevNode> PresentDevice(uint32_t index) = 0;
    virtual void EndPresentDevices() = 0;
    // Reads the node's instance identifier and opens the node in the set; absent when either fails.
    virtual std::optional<std::u16string> OpenDevice(DevNode node) = 0;
    // A text property (a multi-string gives its first string); absent when unreadable or too long.
    virtual std::optional<std::u16string> Property(DevNode node, DeviceProperty property) = 0;

    virtual std::optional<DevNodeStatus> Status(DevNode node) = 0;
    virtual std::optional<DevNode> Parent(DevNode node) = 0;
    virtual std::optional<DevNode> Child(DevNode node) = 0;
    virtual std::optional<DevNode> Sibling(DevNode node) = 0;

    virtual DriveKind DriveType(char16_t letter) = 0;
    // The NT device a drive letter stands for, such as \Device\Floppy0.
    virtual std::optional<std::u16string> DosDeviceTarget(char16_t letter) = 0;
    // Absent when the volume cannot be opened; kUnknownDeviceNumber when it does not tell its number.
    virtual std::optional<uint32_t> VolumeDeviceNumber(char16_t letter) = 0;
    // The present interfaces of a storage class in index order; absent when they cannot be listed.
    virtual std::optional<std::vector<StorageInterface>> StorageInterfaces(StorageClass storageClass) = 0;

    // Asks the system to prepare the node for removal; false when the request is refused. Without a veto to
    // fill the system tells the user itself why it refused; with one it says nothing and fills it instead.
    virtual bool RequestEject(DevNode node, EjectVeto* veto) = 0;
    // The friendly name of the device with this instance path, else its description; absent when there is no
    // such device or it has neither.
    virtual std::optional<std::u16string> DeviceName(std::u16string_view instanceId) = 0;
    // Index in the held class image list of the setup class whose GUID is given as 36 characters without
    // braces; absent when there is no list or no icon.
    virtual std::optional<int32_t> ClassImageIndex(std::u16string_view classGuid) = 0;
};

} // namespace vantrel::dravik
