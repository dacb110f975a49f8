// The drive-mode snapshot: every disk, CD-ROM and floppy that owns a drive letter, with its bus and the
// node to eject, and how drive letters are matched to devices.

#include <gtest/gtest.h>

#include "usbdevice/device_snapshot.h"
#include "usbdevice/machines.h"

namespace vantrel::dravik::testing {
namespace {

// A desktop: SATA system disk, IDE CD-ROM, NVMe data disk, a floppy on the legacy controller, a FireWire disk
// and a USB floppy drive, plus devices that must not be listed.
class DriveSnapshotTest : public ::testing::Test {
protected:
    DriveSnapshotTest() {
        const DevNode pci = AddPciBus(tree);
        const DevNode ahci = AddNode(tree, pci, u"PCI\\VEN_8086&DEV_A352\\3&11583659&0&B8", u"storahci", u"hdc");
        sata = tree.Add(ahci, {.id = u"SCSI\\DISK&VEN_&PROD_SAMSUNG_SSD_860\\4&2B1E&0&000000",
                               .service = u"disk",
                               .className = u"DiskDrive",
                               .friendlyName = u"Samsung SSD 860 EVO 500GB",
                               .classGuid = kDiskGuid});
        tree.AttachVolumes(sata, StorageClass::Disk, 0, u"C", DriveKind::Fixed);
        const DevNode blank =
            AddNode(tree, ahci, u"SCSI\\DISK&VEN_&PROD_WDC_WD10EZEX\\4&2B1E&0&010000", u"disk", u"DiskDrive");
        tree.AddInterface(StorageClass::Disk, {blank, 2}); // no volume: not listed

        const DevNode ide = AddNode(tree, pci, u"PCI\\VEN_8086&DEV_7111\\3&1&0&39", u"pciide", u"hdc");
        const DevNode channel = AddNode(tree, ide, u"PCIIDE\\IDECHANNEL\\4&1&0&1", u"atapi", u"hdc");
        cdrom = tree.Add(channel, {.id = u"IDE\\CDROMHL-DT-ST_DVDRAM_GH24NSD1\\5&1&0&1.0.0",
                                   .service = u"cdrom",
                                   .className = u"CDROM",
                                   .classGuid = kCdRomGuid});
        tree.AttachVolumes(cdrom, StorageClass::CdRom, 0, u"D", DriveKind::CdRom);

        const DevNode nvmeController =
            AddNode(tree, pci, u"PCI\\VEN_144D&DEV_A808\\4&1&0&0008", u"stornvme", u"SCSIAdapter");
        nvme = AddNode(tree, nvmeController, u"SCSI\\DISK&VEN_NVME&PROD_SAMSUNG_SSD_970\\5&1&0&000000", u"disk",
                       u"DiskDrive");
        tree.AttachVolumes(nvme, StorageClass::Disk, 1, u"F", DriveKind::Fixed);

        const DevNode fdc = AddNode(tree, tree.Root(), u"ACPI\\PNP0700\\4&1", u"fdc", u"fdc");
        floppy = tree.Add(fdc, {.id = u"FDC\\GENERIC_FLOPPY_DRIVE\\5&1&0&0",
                                .service = u"flpydisk",
                                .className = u"FloppyDisk",
                                .classGuid = kFloppyGuid});
        tree.AttachVolumes(floppy, StorageClass::Floppy, 0, u"B", DriveKind::Removable);

        const DevNode ohci = AddNode(tree, pci, u"PCI\\VEN_104C&DEV_8023\\4&1&0&00E4", u"1394ohci", u"1394");
        sbp2 = AddNode(tree, ohci, u"SBP2\\LACIE&D2_FW800&LUN0\\0123456789", u"sbp2port", u"SBP2", kStartedRemovable);
        firewire = AddNode(tree, sbp2, u"SCSI\\DISK&VEN_LACIE&PROD_D2\\6&1&0&000000", u"disk", u"DiskDrive");
        tree.AttachVolumes(firewire, StorageClass::Disk, 3, u"H", DriveKind::Fixed);

        const DevNode hub = AddRootHub(tree, pci);
        usbFloppyStorage = AddNode(tree, hub, u"USB\\VID_057B&PID_0000\\6&1", u"USBSTOR", u"USB", kStartedRemovable);
        usbFloppy = AddNode(tree, usbFloppyStorage, u"USBSTOR\\SFLOPPY&VEN_Y-E_DATA\\7&1&0", u"sfloppy", u"FloppyDisk");
        tree.AttachVolumes(usbFloppy, StorageClass::Floppy, 1, u"A", DriveKind::Removable);

        // A virtual disk driver of the System class owns a letter but is no storage device to list.
        const DevNode ramdisk = AddNode(tree, tree.Root(), u"ROOT\\SYSTEM\\0001", u"ramdisk", u"System");
        tree.AttachVolumes(ramdisk, StorageClass::Disk, 4, u"R", DriveKind::Fixed);
    }

    MemoryDeviceTree tree;
    DeviceSnapshot snapshot;
    DevNode sata, cdrom, nvme, floppy, sbp2, firewire, usbFloppyStorage, usbFloppy;
};

TEST_F(DriveSnapshotTest, EveryDeviceWithALetterIsListedWithItsBusAndRemovableNode) {
    ASSERT_EQ(snapshot.Build(tree, kModeDrive), 6);
    struct Expected {
        char16_t letter;
        DevNode device;
        int32_t interface;
        int32_t removable;
        DevNode handle;
    };
    const Expected rows[] = {
        {u'C', sata, kInterfaceNone, 0, sata},     {u'D', cdrom, kInterfaceAtapi, 0, cdrom},
        {u'F', nvme, kInterfaceScsi, 0, nvme},     {u'B', floppy, kInterfaceNone, 0, floppy},
        {u'H', firewire, kInterface1394, 1, sbp2}, {u'A', usbFloppy, kInterfaceUsb, 1, usbFloppyStorage},
    };
    for (const Expected& row : rows) {
        SCOPED_TRACE(static_cast<char>(row.letter));
        const DeviceRecord* record = snapshot.Find(snapshot.DriveToNo(row.letter));
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->DeviceId, tree.Info(row.device).id);
        EXPECT_EQ(record->DriveLetters, std::u16string(1, row.letter));
        EXPECT_EQ(record->Interface, row.interface);
        EXPECT_EQ(record->Removable, row.removable);
        EXPECT_EQ(record->DeviceHandle, row.handle);
        if (row.removable)
            EXPECT_EQ(record->ParentDeviceId, tree.Info(row.handle).id);
        else
            EXPECT_FALSE(record->ParentDeviceId.has_value());
    }
    EXPECT_EQ(snapshot.DriveToNo(u'R'), kNoRecord);
}

TEST_F(DriveSnapshotTest, HighestRemovableNodeUpToTheBusWins) {
    // A card-reader slot that is removable itself, below the removable reader, on an external hub.
    const DevNode hub = AddExternalHub(tree, AddRootHub(tree, tree.Root(), 1));
    const UsbStick reader = AddUsbStick(tree, hub, 7, 5, u"K");
    tree.Info(reader.disk).status = kStartedRemovable;

    snapshot.Build(tree, kModeDrive);
    const DeviceRecord* record = snapshot.Find(snapshot.DriveToNo(u'K'));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->DeviceHandle, hub) << "the hub is the bus node and is removable itself";
    EXPECT_EQ(record->Interface, kInterfaceUsb);

    tree.Info(hub).status = kStarted;
    snapshot.Build(tree, kModeDrive);
    EXPECT_EQ(snapshot.Find(snapshot.DriveToNo(u'K'))->DeviceHandle, reader.storage);
}

TEST(DriveLetterMap, LettersAreMatchedByStorageClassAndDeviceNumber) {
    struct Case {
        const char* name;
        Volume volume;
        StorageClass interfaceClass;
        bool listed;
        bool listFails = false;
    };
    using K = DriveKind;
    constexpr auto kDisk = StorageClass::Disk, kCd = StorageClass::CdRom, kFloppy = StorageClass::Floppy;
    const Case cases[] = {
        {"fixed disk", {K::Fixed, {}, 2}, kDisk, true},
        {"removable disk", {K::Removable, u"\\Device\\Harddisk2\\DP(1)0-0+7", 2}, kDisk, true},
        {"floppy by its device name", {K::Removable, u"\\Device\\Floppy2", 2}, kFloppy, true},
        {"floppy name on a disk interface", {K::Removable, u"\\Device\\Floppy2", 2}, kDisk, false},
        {"CD-ROM", {K::CdRom, {}, 2}, kCd, true},
        {"CD-ROM number on a disk interface", {K::CdRom, {}, 2}, kDisk, false},
        {"other device number", {K::Fixed, {}, 3}, kDisk, false},
        {"volume does not tell its number", {K::Fixed, {}, kUnknownDeviceNumber}, kDisk, false},
        {"volume cannot be opened", {K::Fixed, {}, std::nullopt}, kDisk, false},
        {"no device name for a removable drive", {K::Removable, {}, 2}, kDisk, false},
        {"network or RAM drive", {K::Other, {}, 2}, kDisk, false},
        {"interfaces cannot be listed", {K::Fixed, {}, 2}, kDisk, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryDeviceTree machine;
        const DevNode device = AddNode(machine, machine.Root(), u"SCSI\\DISK\\1", u"disk", u"DiskDrive");
        // An interface that cannot be opened comes first and must not match anything.
        machine.AddInterface(c.interfaceClass, {machine.Root(), std::nullopt});
        machine.AddInterface(c.interfaceClass, {device, 2});
        machine.AddVolume(u'M', c.volume);
        if (c.listFails)
            machine.FailInterfaceList(c.interfaceClass);

        DeviceSnapshot drives;
        EXPECT_EQ(drives.Build(machine, kModeDrive), c.listed ? 1 : 0);
        if (c.listed) {
            EXPECT_EQ(drives.Find(0)->DriveLetters, u"M");
        }
    }
}

} // namespace
} // namespace vantrel::dravik::testing
