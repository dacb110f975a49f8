#pragma once
// Pieces of real machines for the in-memory device tree, with the identifiers, services, classes and names
// that Windows gives them.

#include <string>

#include "usbdevice/memory_device_tree.h"

namespace vantrel::dravik::testing {

inline const std::u16string kDiskGuid = u"{4d36e967-e325-11ce-bfc1-08002be10318}";
inline const std::u16string kCdRomGuid = u"{4d36e965-e325-11ce-bfc1-08002be10318}";
inline const std::u16string kFloppyGuid = u"{4d36e980-e325-11ce-bfc1-08002be10318}";
inline const std::u16string kUsbGuid = u"{36fc9e60-c465-11cf-8056-444553540000}";
inline const std::u16string kHidGuid = u"{745a17a0-74d3-11d0-b6fe-00a0c90f57da}";
inline const std::u16string kKeyboardGuid = u"{4d36e96b-e325-11ce-bfc1-08002be10318}";
inline const std::u16string kCameraGuid = u"{ca3e7ab9-b4c3-4ae6-8251-579ef933890f}";

inline std::u16string Num(int n) {
    std::u16string text;
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + n % 10));
        n /= 10;
    } while (n > 0);
    return text;
}

// A node known only by its identifier, driver service and class, as most controllers, buses and disks are.
inline DevNode AddNode(MemoryDeviceTree& tree, DevNode parent, std::u16string id, std::u16string service,
                       std::u16string className, uint32_t status = kStarted) {
    return tree.Add(
        parent,
        {.id = std::move(id), .service = std::move(service), .className = std::move(className), .status = status});
}

// The PCI bus below the root, where every machine's controllers sit.
inline DevNode AddPciBus(MemoryDeviceTree& tree) {
    return AddNode(tree, tree.Root(), u"ACPI\\PNP0A08\\0", u"pci", u"System");
}

// An xHCI controller on the PCI bus and its root hub; returns the root hub.
inline DevNode AddRootHub(MemoryDeviceTree& tree, DevNode pci, int n = 0) {
    const DevNode controller =
        tree.Add(pci, {.id = u"PCI\\VEN_8086&DEV_A36D&SUBSYS_85F21043&REV_10\\3&11583659&0&A" + Num(n),
                       .service = u"USBXHCI",
                       .className = u"USB",
                       .description = u"USB xHCI Compliant Host Controller",
                       .manufacturer = u"Generic USB xHCI Host Controller",
                       .classGuid = kUsbGuid});
    return tree.Add(controller, {.id = u"USB\\ROOT_HUB30\\4&1B1A4B5D&0&" + Num(n),
                                 .service = u"USBHUB3",
                                 .className = u"USB",
                                 .description = u"USB Root Hub (USB 3.0)",
                                 .manufacturer = u"(Standard USB HUBs)",
                                 .classGuid = kUsbGuid});
}

// An external hub: removable like any plugged-in device.
inline DevNode AddExternalHub(MemoryDeviceTree& tree, DevNode parent, int n = 0) {
    return tree.Add(parent, {.id = u"USB\\VID_05E3&PID_0610\\5&2C1AB5E&0&" + Num(n),
                             .service = u"USBHUB3",
                             .className = u"USB",
                             .description = u"Generic USB Hub",
                             .manufacturer = u"(Generic USB Hub)",
                             .classGuid = kUsbGuid,
                             .status = kStartedRemovable});
}

struct UsbStick {
    DevNode storage; // the USB mass-storage function node (service USBSTOR), the node to eject
    DevNode disk;    // the disk drive below it, which owns the volumes
};

inline UsbStick AddUsbStick(MemoryDeviceTree& tree, DevNode hub, int n, uint32_t diskNumber,
                            std::u16string_view letters, std::u16string storageService = u"USBSTOR") {
    const std::u16string serial = u"4C53000123053111621" + Num(n);
    UsbStick stick;
    stick.storage = tree.Add(hub, {.id = u"USB\\VID_0781&PID_5581\\" + serial,
                                   .service = storageService,
                                   .className = u"USB",
                                   .description = u"USB Mass Storage Device",
                                   .manufacturer = u"Compatible USB storage device",
                                   .hardwareId = u"USB\\VID_0781&PID_5581&REV_0100",
                                   .classGuid = kUsbGuid,
                                   .status = kStartedRemovable});
    stick.disk = tree.Add(stick.storage, {.id = u"USBSTOR\\DISK&VEN_SANDISK&PROD_ULTRA&REV_1.00\\" + serial + u"&0",
                                          .service = u"disk",
                                          .className = u"DiskDrive",
                                          .description = u"Disk drive",
                                          .manufacturer = u"(Standard disk drives)",
                                          .friendlyName = u"SanDisk Ultra USB Device",
                                          .hardwareId = u"USBSTOR\\DiskSanDisk_Ultra___________1.00",
                                          .classGuid = kDiskGuid});
    if (!letters.empty())
        tree.AttachVolumes(stick.disk, StorageClass::Disk, diskNumber, letters, DriveKind::Removable);
    return stick;
}

// A HID device node on a hub or a composite device (service HidUsb, a container of class HIDClass).
inline DevNode AddHidDevice(MemoryDeviceTree& tree, DevNode parent, std::u16string id, std::u16string description,
                            std::u16string manufacturer) {
    return tree.Add(parent, {.id = std::move(id),
                             .service = u"HidUsb",
                             .className = u"HIDClass",
                             .description = std::move(description),
                             .manufacturer = std::move(manufacturer),
                             .classGuid = kHidGuid,
                             .status = kStartedRemovable});
}

// A HID top-level collection without children of its own.
inline DevNode AddHidCollection(MemoryDeviceTree& tree, DevNode hid, std::u16string id, std::u16string description) {
    return tree.Add(hid, {.id = std::move(id),
                          .className = u"HIDClass",
                          .description = std::move(description),
                          .manufacturer = u"(Standard system devices)",
                          .classGuid = kHidGuid});
}

inline DevNode AddKeyboard(MemoryDeviceTree& tree, DevNode hid, std::u16string id) {
    return tree.Add(hid, {.id = std::move(id),
                          .service = u"kbdhid",
                          .className = u"Keyboard",
                          .description = u"HID Keyboard Device",
                          .manufacturer = u"(Standard keyboards)",
                          .classGuid = kKeyboardGuid});
}

} // namespace vantrel::dravik::testing
