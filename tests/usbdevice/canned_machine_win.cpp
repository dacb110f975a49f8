// The machine behind the test build of dravik.dll: a USB stick with two volumes, a built-in card reader, a
// mouse and a second stick that a program keeps busy on the root hub, and a SATA system disk, so that a host can
// read real records through the exports.

#include "usbdevice/machine_win.h"
#include "usbdevice/machines.h"

namespace vantrel::dravik {

namespace {

void Describe(testing::MemoryDeviceTree& tree) {
    using namespace testing;
    const DevNode pci = tree.Add(tree.Root(), {.id = u"ACPI\\PNP0A08\\0", .service = u"pci", .className = u"System"});
    const DevNode sata = tree.Add(pci, {.id = u"SCSI\\DISK&VEN_&PROD_SAMSUNG_SSD_860\\4&2B1E&0&000000",
                                        .service = u"disk",
                                        .className = u"DiskDrive",
                                        .friendlyName = u"Samsung SSD 860 EVO 500GB",
                                        .classGuid = kDiskGuid});
    tree.AttachVolumes(sata, StorageClass::Disk, 0, u"C", DriveKind::Fixed);

    const DevNode hub = AddRootHub(tree, pci);
    AddUsbStick(tree, hub, 1, 1, u"FE");
    const UsbStick reader = AddUsbStick(tree, hub, 2, 2, u"G");
    tree.Info(reader.storage).status = kStarted; // built in: not removable on its own
    const DevNode mouseHid =
        AddHidDevice(tree, hub, u"USB\\VID_046D&PID_C077\\5&1&3", u"USB Input Device", u"(Standard system devices)");
    tree.Add(mouseHid, {.id = u"HID\\VID_046D&PID_C077\\7&2&0&0000",
                        .service = u"mouhid",
                        .className = u"Mouse",
                        .description = u"HID-compliant mouse"});
    const UsbStick busy = AddUsbStick(tree, hub, 3, 3, u"H");
    tree.Info(busy.disk).friendlyName = u"Kingston DataTraveler 3.0 USB Device";
    tree.Info(busy.storage).eject = EjectOutcome::Refused;
    tree.Info(busy.storage).veto = {3, u"notepad.exe"};
    tree.AddClassImage(kDiskGuid.substr(1, 36), 3);
}

} // namespace

DeviceTree& MachineTree(const ClassImageList&) {
    static testing::MemoryDeviceTree tree;
    static const bool described = (Describe(tree), true);
    (void)described;
    return tree;
}

} // namespace vantrel::dravik
