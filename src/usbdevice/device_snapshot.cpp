#include "usbdevice/device_snapshot.h"

#include <algorithm>
#include <new>
#include <utility>

#include "usbdevice/device_rules.h"

namespace vantrel::dravik {

namespace {

// Device trees are a handful of levels deep (USB allows seven tiers); the limit only keeps a damaged tree
// from recursing or walking up without end.
constexpr int kMaxDepth = 128;

bool HasRemovableFlags(uint32_t status) {
    return (status & (kDnRemovable | kDnDisableable)) == (kDnRemovable | kDnDisableable);
}

struct DriveLetterEntry {
    DevNode DeviceHandle;
    char16_t Letter;
};

// One walk over the machine: the drive-letter map of this moment and the set of present devices.
class SnapshotPass {
public:
    SnapshotPass(DeviceTree& tree, DeviceSnapshot* target) : tree_(tree), target_(target) {}
    ~SnapshotPass() {
        if (setOpen_)
            tree_.EndPresentDevices();
    }
    SnapshotPass(const SnapshotPass&) = delete;
    SnapshotPass& operator=(const SnapshotPass&) = delete;

    void MapDriveLetters();
    bool OpenPresentDevices() { return setOpen_ = tree_.BeginPresentDevices(); }

    // Calls visit(node, service) for every present device whose service can be read, until visit is false.
    template <typename Visit> void ForEachPresentDevice(Visit visit) {
        for (uint32_t index = 0;; ++index) {
            const std::optional<DevNode> node = tree_.PresentDevice(index);
            if (!node)
                return;
            const std::optional<std::u16string> service = tree_.Property(*node, DeviceProperty::Service);
            if (service && !visit(*node, *service))
                return;
        }
    }

    std::optional<std::u16string> DriveModeClass(DevNode node) { return tree_.Property(node, DeviceProperty::Class); }
    int CollectUsbDevice(DevNode node, int depth);
    int CollectDriveDevice(DevNode node);
    int32_t EjectDriveDevice(DevNode node, char16_t driveName);

private:
    DevNode FindDiskForDrive(char16_t letter);
    // The record of a node the tree can open: its id, class and service; none when it cannot be opened.
    std::optional<DeviceRecord> OpenRecord(DevNode node) {
        const std::optional<std::u16string> id = tree_.OpenDevice(node);
        if (!id)
            return std::nullopt;
        DeviceRecord record;
        record.DeviceId = *id;
        record.ClassName = Text(node, DeviceProperty::Class);
        record.ServiceName = Text(node, DeviceProperty::Service);
        return record;
    }
    // Copies the node's status; false when the device has a problem and is not listed.
    bool ReadStatus(DeviceRecord& record, DevNode node) {
        const std::optional<DevNodeStatus> status = tree_.Status(node);
        if (!status)
            return true;
        record.NodeStatus = status->status;
        record.ProblemNumber = status->problem;
        return status->problem == 0;
    }
    std::u16string Text(DevNode node, DeviceProperty property) {
        return tree_.Property(node, property).value_or(std::u16string());
    }
    void AppendDriveLetters(DeviceRecord& record, DevNode node) const;
    int32_t ImageIndex(DevNode node);
    bool HasCompositeAncestor(DevNode node, std::u16string* compositeId);
    void AdoptKeyboardParentNames(DeviceRecord& record, DevNode parent);
    void FindRemovableUsbNode(DeviceRecord& record, DevNode node);
    void FindRemovableNodeAndBus(DeviceRecord& record, DevNode node);

    DeviceTree& tree_;
    DeviceSnapshot* target_;
    std::vector<DriveLetterEntry> driveLetters_;
    bool setOpen_ = false;
};

void SnapshotPass::MapDriveLetters() {
    driveLetters_.clear();
    for (char16_t letter = u'A'; letter <= u'Z'; ++letter) {
        const DevNode disk = FindDiskForDrive(letter);
        if (disk != kNoNode)
            driveLetters_.push_back({disk, letter});
    }
}

DevNode SnapshotPass::FindDiskForDrive(char16_t letter) {
    StorageClass storageClass;
    switch (tree_.DriveType(letter)) {
    case DriveKind::Removable: {
        const std::optional<std::u16string> target = tree_.DosDeviceTarget(letter);
        if (!target)
            return kNoNode;
        storageClass = Contains(*target, u"\\Floppy") ? StorageClass::Floppy : StorageClass::Disk;
        break;
    }
    case DriveKind::CdRom:
        storageClass = StorageClass::CdRom;
        break;
    case DriveKind::Fixed:
        storageClass = StorageClass::Disk;
        break;
    default:
        return kNoNode;
    }
    const std::optional<uint32_t> number = tree_.VolumeDeviceNumber(letter);
    if (!number)
        return kNoNode;
    const std::optional<std::vector<StorageInterface>> interfaces = tree_.StorageInterfaces(storageClass);
    if (!interfaces)
        return kNoNode;
    // Device numbers are unique within one storage class, so the number alone names the device.
    for (const StorageInterface& candidate : *interfaces) {
        if (candidate.deviceNumber == number)
            return candidate.node;
    }
    return kNoNode;
}

void SnapshotPass::AppendDriveLetters(DeviceRecord& record, DevNode node) const {
    for (const DriveLetterEntry& entry : driveLetters_) {
        if (entry.DeviceHandle == node) {
            record.DriveLetters.push_back(entry.Letter);
            ++record.DriveCount;
        }
    }
}

int32_t SnapshotPass::ImageIndex(DevNode node) {
    // The class GUID comes as text in braces; the 36 characters inside them name the class.
    const std::u16string guid = Text(node, DeviceProperty::ClassGuid);
    if (guid.size() < 2)
        return 0;
    return tree_.ClassImageIndex(std::u16string_view(guid).substr(1, 36)).value_or(0);
}

bool SnapshotPass::HasCompositeAncestor(DevNode node, std::u16string* compositeId) {
    std::optional<DevNode> current = tree_.Parent(node);
    for (int depth = 0; current && depth < kMaxDepth; ++depth, current = tree_.Parent(*current)) {
        const std::optional<std::u16string> id = tree_.OpenDevice(*current);
        if (!id)
            continue;
        if (compositeId)
            *compositeId = *id;
        const std::u16string service = Text(*current, DeviceProperty::Service);
        if (IsUsbHubService(service))
            return false;
        if (service == u"usbccgp")
            return true;
    }
    return false;
}

void SnapshotPass::AdoptKeyboardParentNames(DeviceRecord& record, DevNode parent) {
    if (!tree_.OpenDevice(parent))
        return;
    // A keyboard's own names are generic; a receiver or vendor device above it knows what was plugged in.
    std::u16string manufacturer = Text(parent, DeviceProperty::Manufacturer);
    if (IsStandardSystemManufacturer(manufacturer))
        return;
    record.ManufacturerName = std::move(manufacturer);
    record.Description = Text(parent, DeviceProperty::Description);
}

// The nearest node at or above the device that can be ejected on its own, never past a USB hub.
void SnapshotPass::FindRemovableUsbNode(DeviceRecord& record, DevNode node) {
    record.Removable = 1;
    DevNode current = node;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        const std::optional<DevNodeStatus> status = tree_.Status(current);
        if (!status)
            break;
        const std::optional<std::u16string> id = tree_.OpenDevice(current);
        if (HasRemovableFlags(status->status)) {
            if (id) {
                record.ParentDeviceId = *id;
                record.DeviceHandle = current;
                return;
            }
        } else if (id && IsUsbHubService(Text(current, DeviceProperty::Service))) {
            break;
        }
        const std::optional<DevNode> parent = tree_.Parent(current);
        if (!parent)
            break;
        current = *parent;
    }
    record.Removable = 0;
}

// Walks up to the first bus node; the highest removable node on the way (the bus node included) wins.
void SnapshotPass::FindRemovableNodeAndBus(DeviceRecord& record, DevNode node) {
    DevNode current = node;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        const std::optional<DevNodeStatus> status = tree_.Status(current);
        if (!status)
            return;
        const std::optional<std::u16string> id = tree_.OpenDevice(current);
        if (id) {
            if (HasRemovableFlags(status->status)) {
                record.ParentDeviceId = *id;
                record.Removable = 1;
                record.DeviceHandle = current;
            }
            const int bus = BusInterface(Text(current, DeviceProperty::Service), Text(current, DeviceProperty::Class));
            if (bus != kInterfaceNone) {
                record.Interface = bus;
                return;
            }
        }
        const std::optional<DevNode> parent = tree_.Parent(current);
        if (!parent)
            return;
        current = *parent;
    }
}

// Returns 1 when the node got as far as being added (a duplicate counts), else 0.
int SnapshotPass::CollectUsbDevice(DevNode node, int depth) {
    if (depth >= kMaxDepth)
        return 0;
    std::optional<DeviceRecord> opened = OpenRecord(node);
    if (!opened)
        return 0;
    DeviceRecord& record = *opened;
    record.Description = Text(node, DeviceProperty::Description);
    record.ManufacturerName = Text(node, DeviceProperty::Manufacturer);
    const std::u16string& service = record.ServiceName;

    if (IsContainer(service, record.ClassName)) {
        bool skip = false;
        std::optional<DevNode> child = tree_.Child(node);
        if (!child) {
            skip = record.ClassName == u"HIDClass" && !IsGameController(record.Description);
        } else {
            // The first listed child stands for the whole container; later siblings are not visited from here.
            for (; child; child = tree_.Sibling(*child)) {
                if (CollectUsbDevice(*child, depth + 1) == 1) {
                    skip = true;
                    break;
                }
            }
            // A HID device with children is listed itself only when none of them was, it is not part of a
            // composite device, and its maker is named.
            if (service != u"HidUsb" || HasCompositeAncestor(node, nullptr) ||
                IsStandardSystemManufacturer(record.ManufacturerName))
                skip = true;
        }
        // Hubs and mass-storage function nodes only lead to their children.
        if (IsUsbHubService(service) || service == u"USBSTOR" || EqualsIgnoreCase(service, u"UASPStor") || skip)
            return 0;
    }

    record.FriendlyName = Text(node, DeviceProperty::FriendlyName);
    record.HardwareId = Text(node, DeviceProperty::HardwareId);
    if (service == u"kbdhid") {
        if (const std::optional<DevNode> parent = tree_.Parent(node))
            AdoptKeyboardParentNames(record, *parent);
    }
    record.DeviceHandle = node;
    AppendDriveLetters(record, node);
    record.ImageListIndex = ImageIndex(node);

    if (!ReadStatus(record, node))
        return 0;
    FindRemovableUsbNode(record, node);
    std::u16string compositeId;
    if (HasCompositeAncestor(node, &compositeId))
        record.ParentDeviceId = std::move(compositeId);
    record.Interface = kInterfaceUsb;
    target_->Add(std::move(record));
    return 1;
}

// Returns 1 when the device was listed (a duplicate counts), else 0.
int SnapshotPass::CollectDriveDevice(DevNode node) {
    std::optional<DeviceRecord> opened = OpenRecord(node);
    if (!opened)
        return 0;
    DeviceRecord& record = *opened;
    if (!ReadStatus(record, node))
        return 0;
    record.Description = Text(node, DeviceProperty::Description);
    record.ManufacturerName = Text(node, DeviceProperty::Manufacturer);
    record.FriendlyName = Text(node, DeviceProperty::FriendlyName);
    record.HardwareId = Text(node, DeviceProperty::HardwareId);
    record.DeviceHandle = node;
    AppendDriveLetters(record, node);
    if (record.DriveCount == 0)
        return 0;
    record.ImageListIndex = ImageIndex(node);
    FindRemovableNodeAndBus(record, node);
    target_->Add(std::move(record));
    return 1;
}

int32_t SnapshotPass::EjectDriveDevice(DevNode node, char16_t driveName) {
    if (!tree_.OpenDevice(node))
        return kNoRecord;
    const char16_t wanted = UpperAscii(driveName);
    const bool ownsLetter = std::any_of(driveLetters_.begin(), driveLetters_.end(), [&](const DriveLetterEntry& e) {
        return e.DeviceHandle == node && UpperAscii(e.Letter) == wanted;
    });
    if (!ownsLetter)
        return kNoRecord;
    const std::optional<DevNodeStatus> status = tree_.Status(node);
    if (!status)
        return kEjectFailed;
    // The highest removable node takes everything below it along, whatever bus lies between.
    std::optional<DevNode> highest;
    if (HasRemovableFlags(status->status))
        highest = node;
    DevNode current = node;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        const std::optional<DevNode> parent = tree_.Parent(current);
        if (!parent)
            break;
        const std::optional<DevNodeStatus> parentStatus = tree_.Status(*parent);
        if (!parentStatus)
            break;
        if (HasRemovableFlags(parentStatus->status))
            highest = *parent;
        current = *parent;
    }
    if (!highest)
        return kEjectFailed;
    return EjectDeviceHandle(tree_, *highest);
}

} // namespace

int32_t DeviceSnapshot::Build(DeviceTree& tree, int32_t mode) {
    Release();
    if (mode != kModeUsb && mode != kModeDrive)
        return 0;
    try {
        SnapshotPass pass(tree, this);
        pass.MapDriveLetters();
        if (pass.OpenPresentDevices()) {
            pass.ForEachPresentDevice([&](DevNode node, const std::u16string& service) {
                if (mode == kModeUsb) {
                    if (IsUsbHubService(service) || service == u"USBSTOR" || EqualsIgnoreCase(service, u"UASPStor"))
                        pass.CollectUsbDevice(node, 0);
                } else {
                    const std::optional<std::u16string> className = pass.DriveModeClass(node);
                    if (className && QualifiesForDriveMode(service, *className))
                        pass.CollectDriveDevice(node);
                }
                return true;
            });
        }
    } catch (const std::bad_alloc&) {
        // Out of memory: what was listed so far stays listed and is counted.
    }
    return Count();
}

int32_t DeviceSnapshot::EjectDrive(DeviceTree& tree, const char16_t* driveName) {
    if (!driveName)
        return kNoRecord;
    int32_t result = kNoRecord;
    try {
        SnapshotPass pass(tree, nullptr);
        pass.MapDriveLetters();
        if (pass.OpenPresentDevices()) {
            pass.ForEachPresentDevice([&](DevNode node, const std::u16string& service) {
                const std::optional<std::u16string> className = pass.DriveModeClass(node);
                if (className && QualifiesForDriveMode(service, *className))
                    result = pass.EjectDriveDevice(node, driveName[0]);
                return result == kNoRecord;
            });
        }
    } catch (const std::bad_alloc&) {
        // Out of memory before a device was found: no device matched.
    }
    return result;
}

void DeviceSnapshot::Release() {
    records_.clear();
    records_.shrink_to_fit();
    deviceIds_.clear();
}

const DeviceRecord* DeviceSnapshot::Find(int32_t number) const {
    if (number < 0 || number >= Count())
        return nullptr;
    return &records_[static_cast<size_t>(number)];
}

int32_t DeviceSnapshot::DriveToNo(char16_t letter) const {
    // The terminator of a name is no drive letter.
    if (letter == 0)
        return kNoRecord;
    const char16_t wanted = UpperAscii(letter);
    for (size_t i = 0; i < records_.size(); ++i) {
        if (records_[i].DriveLetters.find(wanted) != std::u16string::npos)
            return static_cast<int32_t>(i);
    }
    return kNoRecord;
}

void DeviceSnapshot::Add(DeviceRecord&& record) {
    // A device reached twice (through its hub and through its own storage node) is listed once, as found first.
    const auto [position, inserted] = deviceIds_.insert(record.DeviceId);
    if (!inserted)
        return;
    try {
        records_.push_back(std::move(record));
    } catch (const std::bad_alloc&) {
        deviceIds_.erase(position);
    }
}

int32_t EjectDeviceHandle(DeviceTree& tree, DevNode node, EjectVeto* veto) {
    if (veto)
        *veto = {};
    if (!tree.RequestEject(node, veto)) {
        // An instance path means nothing to a user; the device's own name does.
        if (veto && VetoNamesADevice(veto->type) && !veto->name.empty())
            if (auto name = tree.DeviceName(veto->name))
                veto->name = std::move(*name);
        return kEjectFailed;
    }
    return IsDevicePresent(tree, node) ? kEjectFailed : kSuccess;
}

bool VetoNamesADevice(int32_t vetoType) {
    // Legacy device, pending close, open handles, device, illegal device request, not disableable.
    switch (vetoType) {
    case 1:
    case 2:
    case 5:
    case 6:
    case 8:
    case 10:
        return true;
    default:
        return false;
    }
}

bool IsDevicePresent(DeviceTree& tree, DevNode node) {
    const std::optional<DevNodeStatus> status = tree.Status(node);
    return status && status->problem == 0;
}

bool IsRemovableNode(DeviceTree& tree, DevNode node) {
    const std::optional<DevNodeStatus> status = tree.Status(node);
    return status && HasRemovableFlags(status->status);
}

} // namespace vantrel::dravik
