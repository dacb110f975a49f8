#include "usbdevice/memory_device_tree.h"

#include <utility>

namespace vantrel::dravik::testing {

MemoryDeviceTree::MemoryDeviceTree() {
    nodes_.emplace_back();
    Node root;
    root.info = NodeInfo{.id = u"HTREE\\ROOT\\0"};
    nodes_.push_back(std::move(root));
}

DevNode MemoryDeviceTree::Add(DevNode parent, NodeInfo info) {
    const auto node = static_cast<DevNode>(nodes_.size());
    Node entry;
    entry.info = std::move(info);
    entry.parent = parent;
    nodes_.push_back(std::move(entry));
    Node& p = nodes_.at(parent);
    if (p.lastChild == kNoNode)
        p.firstChild = node;
    else
        nodes_[p.lastChild].nextSibling = node;
    p.lastChild = node;
    return node;
}

void MemoryDeviceTree::AttachVolumes(DevNode device, StorageClass storageClass, uint32_t deviceNumber,
                                     std::u16string_view letters, DriveKind kind) {
    AddInterface(storageClass, {device, deviceNumber});
    const std::u16string number(1, static_cast<char16_t>(u'0' + deviceNumber % 10));
    std::u16string target = storageClass == StorageClass::Floppy  ? u"\\Device\\Floppy" + number
                            : storageClass == StorageClass::CdRom ? u"\\Device\\CdRom" + number
                                                                  : u"\\Device\\Harddisk" + number + u"\\DP(1)0-0+5";
    for (char16_t letter : letters)
        AddVolume(letter, {kind, target, deviceNumber});
}

bool MemoryDeviceTree::BeginPresentDevices() {
    if (setFails_)
        return false;
    setHeld_ = true;
    presentOrder_.clear();
    for (Node& node : nodes_)
        node.opened = false;
    if (!order_.empty()) {
        for (DevNode node : order_) {
            if (!nodes_.at(node).gone)
                presentOrder_.push_back(node);
        }
    } else {
        for (DevNode node = Root(); node < nodes_.size(); ++node) {
            if (nodes_[node].info.present && !nodes_[node].gone)
                presentOrder_.push_back(node);
        }
    }
    return true;
}

std::optional<DevNode> MemoryDeviceTree::PresentDevice(uint32_t index) {
    if (!setHeld_ || index >= presentOrder_.size())
        return std::nullopt;
    const DevNode node = presentOrder_[index];
    nodes_[node].opened = true;
    return node;
}

void MemoryDeviceTree::EndPresentDevices() {
    setHeld_ = false;
}

std::optional<std::u16string> MemoryDeviceTree::OpenDevice(DevNode node) {
    if (!setHeld_ || !Valid(node) || !nodes_[node].info.openable)
        return std::nullopt;
    nodes_[node].opened = true;
    return nodes_[node].info.id;
}

std::optional<std::u16string> MemoryDeviceTree::Property(DevNode node, DeviceProperty property) {
    // Like SetupAPI, properties are only read through the device set, of nodes enumerated or opened in it.
    if (!setHeld_ || !Valid(node) || !nodes_[node].opened)
        return std::nullopt;
    const NodeInfo& info = nodes_[node].info;
    switch (property) {
    case DeviceProperty::Class:
        return info.className;
    case DeviceProperty::ClassGuid:
        return info.classGuid;
    case DeviceProperty::Service:
        return info.service;
    case DeviceProperty::Description:
        return info.description;
    case DeviceProperty::FriendlyName:
        return info.friendlyName;
    case DeviceProperty::HardwareId:
        return info.hardwareId;
    case DeviceProperty::Manufacturer:
        return info.manufacturer;
    }
    return std::nullopt;
}

std::optional<DevNodeStatus> MemoryDeviceTree::Status(DevNode node) {
    if (!Valid(node) || !nodes_[node].info.statusReadable)
        return std::nullopt;
    return DevNodeStatus{nodes_[node].info.status, nodes_[node].info.problem};
}

std::optional<DevNode> MemoryDeviceTree::Parent(DevNode node) {
    if (!Valid(node) || nodes_[node].parent == kNoNode)
        return std::nullopt;
    return nodes_[node].parent;
}

std::optional<DevNode> MemoryDeviceTree::Child(DevNode node) {
    if (!Valid(node))
        return std::nullopt;
    DevNode child = nodes_[node].firstChild;
    while (child != kNoNode && nodes_[child].gone)
        child = nodes_[child].nextSibling;
    return child == kNoNode ? std::nullopt : std::optional<DevNode>(child);
}

std::optional<DevNode> MemoryDeviceTree::Sibling(DevNode node) {
    if (!Valid(node))
        return std::nullopt;
    DevNode next = nodes_[node].nextSibling;
    while (next != kNoNode && nodes_[next].gone)
        next = nodes_[next].nextSibling;
    return next == kNoNode ? std::nullopt : std::optional<DevNode>(next);
}

DriveKind MemoryDeviceTree::DriveType(char16_t letter) {
    const auto volume = volumes_.find(letter);
    return volume == volumes_.end() ? DriveKind::Other : volume->second.kind;
}

std::optional<std::u16string> MemoryDeviceTree::DosDeviceTarget(char16_t letter) {
    const auto volume = volumes_.find(letter);
    return volume == volumes_.end() ? std::nullopt : volume->second.dosTarget;
}

std::optional<uint32_t> MemoryDeviceTree::VolumeDeviceNumber(char16_t letter) {
    const auto volume = volumes_.find(letter);
    return volume == volumes_.end() ? std::nullopt : volume->second.deviceNumber;
}

std::optional<std::vector<StorageInterface>> MemoryDeviceTree::StorageInterfaces(StorageClass storageClass) {
    const auto index = static_cast<size_t>(storageClass);
    if (interfaceListFails_[index])
        return std::nullopt;
    std::vector<StorageInterface> present;
    for (const StorageInterface& entry : interfaces_[index]) {
        if (Valid(entry.node))
            present.push_back(entry);
    }
    return present;
}

bool MemoryDeviceTree::RequestEject(DevNode node, EjectVeto* veto) {
    ejectRequests_.push_back(node);
    if (!Valid(node))
        return false;
    switch (nodes_[node].info.eject) {
    case EjectOutcome::Refused:
        if (veto)
            *veto = nodes_[node].info.veto;
        else
            ++notices_;
        return false;
    case EjectOutcome::StillPresent:
        return true;
    case EjectOutcome::Removed:
        RemoveSubtree(node);
        return true;
    }
    return false;
}

std::optional<std::u16string> MemoryDeviceTree::DeviceName(std::u16string_view instanceId) {
    for (DevNode node = Root(); node < nodes_.size(); ++node) {
        const NodeInfo& info = nodes_[node].info;
        if (nodes_[node].gone || info.id != instanceId)
            continue;
        if (info.friendlyName && !info.friendlyName->empty())
            return info.friendlyName;
        if (info.description && !info.description->empty())
            return info.description;
        return std::nullopt;
    }
    return std::nullopt;
}

void MemoryDeviceTree::RemoveSubtree(DevNode node) {
    nodes_[node].gone = true;
    for (DevNode child = nodes_[node].firstChild; child != kNoNode; child = nodes_[child].nextSibling)
        RemoveSubtree(child);
}

std::optional<int32_t> MemoryDeviceTree::ClassImageIndex(std::u16string_view classGuid) {
    const auto image = classImages_.find(classGuid);
    return image == classImages_.end() ? std::nullopt : std::optional<int32_t>(image->second);
}

} // namespace vantrel::dravik::testing
