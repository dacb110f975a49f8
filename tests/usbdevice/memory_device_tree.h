#pragma once
// An in-memory device tree that answers the library's device-tree questions, so that the snapshot and eject
// rules can be run against machines described in a few lines.

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "usbdevice/device_tree.h"

namespace vantrel::dravik::testing {

// Status bits of a working node: driver loaded, started, disableable, enumerated by the system.
constexpr uint32_t kStarted = 0x0180200A;
constexpr uint32_t kStartedRemovable = kStarted | kDnRemovable;

enum class EjectOutcome { Removed, Refused, StillPresent };

struct NodeInfo {
    std::u16string id;
    std::optional<std::u16string> service;
    std::optional<std::u16string> className;
    std::optional<std::u16string> description;
    std::optional<std::u16string> manufacturer;
    std::optional<std::u16string> friendlyName;
    std::optional<std::u16string> hardwareId;
    std::optional<std::u16string> classGuid;
    uint32_t status = kStarted;
    uint32_t problem = 0;
    bool statusReadable = true;
    bool openable = true; // identifier readable and the node opens in the device set
    bool present = true;  // among the present devices the set enumerates
    EjectOutcome eject = EjectOutcome::Removed;
    EjectVeto veto; // what the system says when it refuses the removal
};

struct Volume {
    DriveKind kind = DriveKind::Fixed;
    std::optional<std::u16string> dosTarget;
    std::optional<uint32_t> deviceNumber; // absent: the volume cannot be opened
};

class MemoryDeviceTree : public DeviceTree {
public:
    MemoryDeviceTree();

    DevNode Root() const { return 1; }
    // Adds a node as the last child of its parent.
    DevNode Add(DevNode parent, NodeInfo info);
    NodeInfo& Info(DevNode node) { return nodes_.at(node).info; }

    void AddVolume(char16_t letter, Volume volume) { volumes_[letter] = std::move(volume); }
    void AddInterface(StorageClass storageClass, StorageInterface entry) {
        interfaces_[static_cast<size_t>(storageClass)].push_back(entry);
    }
    // A disk, CD-ROM or floppy device with its interface and one volume per letter, as Windows shows them.
    void AttachVolumes(DevNode device, StorageClass storageClass, uint32_t deviceNumber, std::u16string_view letters,
                       DriveKind kind);
    void FailInterfaceList(StorageClass storageClass) { interfaceListFails_[static_cast<size_t>(storageClass)] = true; }
    void AddClassImage(std::u16string guid, int32_t index) { classImages_[std::move(guid)] = index; }
    // Present devices in this order instead of the order they were added in.
    void SetEnumerationOrder(std::vector<DevNode> order) { order_ = std::move(order); }
    void FailDeviceSet() { setFails_ = true; }

    const std::vector<DevNode>& EjectRequests() const { return ejectRequests_; }
    // How many removals the system would have explained to the user itself (asked without a veto to fill).
    int Notices() const { return notices_; }
    bool SetHeld() const { return setHeld_; }
    size_t NodeCount() const { return nodes_.size() - 1; }

    bool BeginPresentDevices() override;
    std::optional<DevNode> PresentDevice(uint32_t index) override;
    void EndPresentDevices() override;
    std::optional<std::u16string> OpenDevice(DevNode node) override;
    std::optional<std::u16string> Property(DevNode node, DeviceProperty property) override;
    std::optional<DevNodeStatus> Status(DevNode node) override;
    std::optional<DevNode> Parent(DevNode node) override;
    std::optional<DevNode> Child(DevNode node) override;
    std::optional<DevNode> Sibling(DevNode node) override;
    DriveKind DriveType(char16_t letter) override;
    std::optional<std::u16string> DosDeviceTarget(char16_t letter) override;
    std::optional<uint32_t> VolumeDeviceNumber(char16_t letter) override;
    std::optional<std::vector<StorageInterface>> StorageInterfaces(StorageClass storageClass) override;
    bool RequestEject(DevNode node, EjectVeto* veto) override;
    std::optional<std::u16string> DeviceName(std::u16string_view instanceId) override;
    std::optional<int32_t> ClassImageIndex(std::u16string_view classGuid) override;

private:
    struct Node {
        NodeInfo info;
        DevNode parent = kNoNode;
        DevNode firstChild = kNoNode;
        DevNode lastChild = kNoNode;
        DevNode nextSibling = kNoNode;
        bool gone = false; // removed by an eject
        bool opened = false;
    };
    bool Valid(DevNode node) const { return node != kNoNode && node < nodes_.size() && !nodes_[node].gone; }
    void RemoveSubtree(DevNode node);

    std::vector<Node> nodes_; // index 0 unused: 0 names no node
    std::vector<DevNode> order_;
    std::vector<DevNode> presentOrder_;
    std::map<char16_t, Volume> volumes_;
    std::array<std::vector<StorageInterface>, 3> interfaces_;
    std::array<bool, 3> interfaceListFails_{};
    std::map<std::u16string, int32_t, std::less<>> classImages_;
    std::vector<DevNode> ejectRequests_;
    int notices_ = 0;
    bool setFails_ = false;
    bool setHeld_ = false;
};

} // namespace vantrel::dravik::testing
