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
        const DevNode pci =
            tree.Add(tree.Root(), {.id = u"ACPI\\PNP0A08\\0", .service = u"pci", .className = u"System"});
        const DevNode ahci = tree.Add(pci, {.id = u"PCI\\VEN_8086&DEV_A352\\3&11583659&0&B8",
                                            .service = u"storahci",
                                            .className = u"hdc",
                                            .description = u"Standard SATA AHCI Controller"});
        sata = tree.Add(ahci, {.id = u"SCSI\\DISK&VEN_&PROD_SAMSUNG_SSD_860\\4&2B1E&0&000000",
                               .service = u"disk",
                               .className = u"DiskDrive",
                               .friendlyName = u"Samsung SSD 860 EVO 500GB",
                               .classGuid = kDiskGuid});
        tree.AttachVolumes(sata, StorageClass::Disk, 0, u"C", DriveKind::Fixed);
        const DevNode blank = tree.Add(ahci, {.id = u"SCSI\\DISK&VEN_&PROD_WDC_WD10EZEX\\4&2B1E&0&010000",
                                              .service = u"disk",
                                              .className = u"DiskDrive"});
        tree.AddInterface(StorageClass::Disk, {blank, 2}); // no volume: not listed

        const DevNode ide =
            tree.Add(pci, {.id = u"PCI\\VEN_8086&DEV_7111\\3&1&0&39", .service = u"pciide", .className = u"hdc"});
        const DevNode channel =
            tree.Add(ide, {.id = u"PCIIDE\\IDECHANNEL\\4&1&0&1", .service = u"atapi", .className = u"hdc"});
        cdrom = tree.Add(channel, {.id = u"IDE\\CDROMHL-DT-ST_DVDRAM_GH24NSD1\\5&1&0&1.0.0",
                                   .service = u"cdrom",
                                   .className = u"CDROM",
                                   .classGuid = kCdRomGuid});
        tree.AttachVolumes(cdrom, StorageClass::CdRom, 0, u"D", DriveKind::CdRom);

        const DevNode nvmeController = tree.Add(
            pci, {.id = u"PCI\\VEN_144D&DEV_A808\\4&1&0&0008", .service = u"stornvme", .className = u"SCSIAdapter"});
        nvme = tree.Add(nvmeController, {.id = u"SCSI\\DISK&VEN_NVME&PROD_SAMSUNG_SSD_970\\5&1&0&000000",
                                         .service = u"disk",
                                         .className = u"DiskDrive"});
        tree.AttachVolumes(nvme, StorageClass::Disk, 1, u"F", DriveKind::Fixed);

        const DevNode fdc =
            tree.Add(tree.Root(), {.id = u"ACPI\\PNP0700\\4&1", .service = u"fdc", .className = u"fdc"});
        floppy = tree.Add(fdc, {.id = u"FDC\\GENERIC_FLOPPY_DRIVE\\5&1&0&0",
                                .service = u"flpydisk",
                                .className = u"FloppyDisk",
                                .classGuid = kFloppyGuid});
        tree.AttachVolumes(floppy, StorageClass::Floppy, 0, u"B", DriveKind::Removable);

        const DevNode ohci =
            tree.Add(pci, {.id = u"PCI\\VEN_104C&DEV_8023\\4&1&0&00E4", .service = u"1394ohci", .className = u"1394"});
        sbp2 = tree.Add(ohci, {.id = u"SBP2\\LACIE&D2_FW800&LUN0\\0123456789",
                               .service = u"sbp2port",
                               .className = u"SBP2",
                               .status = kStartedRemovable});
        firewire = tree.Add(
            sbp2, {.id = u"SCSI\\DISK&VEN_LACIE&PROD_D2\\6&1&0&000000", .service = u"disk", .className = u"DiskDrive"});
        tree.AttachVolumes(firewire, StorageClass::Disk, 3, u"H", DriveKind::Fixed);

        const DevNode hub = AddRootHub(tree, pci);
        usbFloppyStorage = tree.Add(hub, {.id = u"USB\\VID_057B&PID_0000\\6&1",
                                          .service = u"USBSTOR",
                                          .className = u"USB",
                                          .status = kStartedRemovable});
        usbFloppy = tree.Add(
            usbFloppyStorage,
            {.id = u"USBSTOR\\SFLOPPY&VEN_Y-E_DATA\\7&1&0", .service = u"sfloppy", .className = u"FloppyDisk"});
        tree.AttachVolumes(usbFloppy, StorageClass::Floppy, 1, u"A", DriveKind::Removable);

        // A virtual disk driver of the System class owns a letter but is no storage device to list.
        const DevNode ramdisk =
            tree.Add(tree.Root(), {.id = u"ROOT\\SYSTEM\\0001", .service = u"ramdisk", .className = u"System"});
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
        bool listFails;
        bool listed;
    };
    const Case cases[] = {
        {"fixed disk", {DriveKind::Fixed, std::nullopt, 2}, StorageClass::Disk, false, true},
        {"removable disk",
         {DriveKind::Removable, u"\\Device\\Harddisk2\\DP(1)0-0+7", 2},
         StorageClass::Disk,
         false,
         true},
        {"floppy by its device name",
         {DriveKind::Removable, u"\\Device\\Floppy2", 2},
         StorageClass::Floppy,
         false,
         true},
        {"floppy name on a disk interface",
         {DriveKind::Removable, u"\\Device\\Floppy2", 2},
         StorageClass::Disk,
         false,
         false},
        {"CD-ROM", {DriveKind::CdRom, std::nullopt, 2}, StorageClass::CdRom, false, true},
        {"CD-ROM number on a disk interface", {DriveKind::CdRom, std::nullopt, 2}, StorageClass::Disk, false, false},
        {"other device number", {DriveKind::Fixed, std::nullopt, 3}, StorageClass::Disk, false, false},
        {"volume does not tell its number",
         {DriveKind::Fixed, std::nullopt, kUnknownDeviceNumber},
         StorageClass::Disk,
         false,
         false},
        {"volume cannot be opened", {DriveKind::Fixed, std::nullopt, std::nullopt}, StorageClass::Disk, false, false},
        {"no device name for a removable drive",
         {DriveKind::Removable, std::nullopt, 2},
         StorageClass::Disk,
         false,
         false},
        {"network or RAM drive", {DriveKind::Other, std::nullopt, 2}, StorageClass::Disk, false, false},
        {"interfaces cannot be listed", {DriveKind::Fixed, std::nullopt, 2}, StorageClass::Disk, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryDeviceTree machine;
        const DevNode device =
            machine.Add(machine.Root(), {.id = u"SCSI\\DISK\\1", .service = u"disk", .className = u"DiskDrive"});
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
