// The USB-mode snapshot on machines built from real device trees: which nodes are listed, in which order,
// and which node each record reports for removal.

#include <gtest/gtest.h>

#include "usbdevice/device_snapshot.h"
#include "usbdevice/machines.h"

namespace vantrel::dravik::testing {
namespace {

class UsbSnapshotTest : public ::testing::Test {
protected:
    UsbSnapshotTest() { hub = AddRootHub(tree, AddPciBus(tree)); }
    std::vector<std::u16string> ListedIds() const {
        std::vector<std::u16string> ids;
        for (int32_t i = 0; i < snapshot.Count(); ++i)
            ids.push_back(snapshot.Find(i)->DeviceId);
        return ids;
    }

    MemoryDeviceTree tree;
    DeviceSnapshot snapshot;
    DevNode hub = kNoNode;
};

TEST_F(UsbSnapshotTest, StickWithOneVolumeListsOnlyItsDisk) {
    const UsbStick stick = AddUsbStick(tree, hub, 1, 1, u"E");
    tree.AddClassImage(kDiskGuid.substr(1, 36), 7);

    ASSERT_EQ(snapshot.Build(tree, kModeUsb), 1);
    const DeviceRecord& disk = *snapshot.Find(0);
    EXPECT_EQ(disk.DeviceId, tree.Info(stick.disk).id);
    EXPECT_EQ(disk.ClassName, u"DiskDrive");
    EXPECT_EQ(disk.ServiceName, u"disk");
    EXPECT_EQ(disk.FriendlyName, u"SanDisk Ultra USB Device");
    EXPECT_EQ(disk.HardwareId, u"USBSTOR\\DiskSanDisk_Ultra___________1.00");
    EXPECT_EQ(disk.Description, u"Disk drive");
    EXPECT_EQ(disk.ManufacturerName, u"(Standard disk drives)");
    EXPECT_EQ(disk.DriveLetters, u"E");
    EXPECT_EQ(disk.DriveCount, 1);
    EXPECT_EQ(disk.Interface, kInterfaceUsb);
    EXPECT_EQ(disk.Removable, 1);
    EXPECT_EQ(disk.DeviceHandle, stick.storage);
    EXPECT_EQ(disk.ParentDeviceId, tree.Info(stick.storage).id);
    EXPECT_EQ(disk.ImageListIndex, 7);
    EXPECT_EQ(disk.NodeStatus, kStarted);
    EXPECT_EQ(disk.ProblemNumber, 0u);
    EXPECT_EQ(snapshot.Find(1), nullptr);
    EXPECT_FALSE(tree.SetHeld()) << "the device set is released after the walk";
}

TEST_F(UsbSnapshotTest, DiskReachedThroughHubAndStorageNodeIsListedOnceInFirstFoundOrder) {
    const UsbStick first = AddUsbStick(tree, hub, 1, 1, u"E");
    const UsbStick second = AddUsbStick(tree, hub, 2, 2, u"F");
    // Storage nodes first, then the hub: every disk is reached twice.
    tree.SetEnumerationOrder({second.storage, first.storage, hub});

    ASSERT_EQ(snapshot.Build(tree, kModeUsb), 2);
    EXPECT_EQ(ListedIds(), (std::vector{tree.Info(second.disk).id, tree.Info(first.disk).id}));
    EXPECT_EQ(snapshot.DriveToNo(u'F'), 0);
    EXPECT_EQ(snapshot.DriveToNo(u'e'), 1);

    // A rebuild starts from an empty list rather than finding every device a duplicate.
    ASSERT_EQ(snapshot.Build(tree, kModeUsb), 2);
}

TEST_F(UsbSnapshotTest, DevicesOnAHubAreListedInTreeOrder) {
    const DevNode keyboardHid =
        AddHidDevice(tree, hub, u"USB\\VID_413C&PID_2113\\5&1&1", u"USB Input Device", u"(Standard system devices)");
    const DevNode keyboard = AddKeyboard(tree, keyboardHid, u"HID\\VID_413C&PID_2113&MI_00\\7&1&0&0000");
    const UsbStick stick = AddUsbStick(tree, hub, 1, 1, u"E");
    const DevNode mouseHid =
        AddHidDevice(tree, hub, u"USB\\VID_046D&PID_C077\\5&1&3", u"USB Input Device", u"(Standard system devices)");
    const DevNode mouse = tree.Add(mouseHid, {.id = u"HID\\VID_046D&PID_C077\\7&2&0&0000",
                                              .service = u"mouhid",
                                              .className = u"Mouse",
                                              .description = u"HID-compliant mouse"});

    ASSERT_EQ(snapshot.Build(tree, kModeUsb), 3);
    EXPECT_EQ(ListedIds(), (std::vector{tree.Info(keyboard).id, tree.Info(stick.disk).id, tree.Info(mouse).id}));
    EXPECT_EQ(snapshot.Find(2)->DeviceHandle, mouseHid) << "the HID device above the mouse is what gets unplugged";
    EXPECT_EQ(snapshot.Find(2)->DriveLetters, u"");
    EXPECT_EQ(snapshot.Find(2)->DriveCount, 0);
}

TEST_F(UsbSnapshotTest, CompositeInterfacesAreVisitedInSiblingOrderUntilOneIsListed) {
    for (const bool compositeRemovable : {false, true}) {
        SCOPED_TRACE(compositeRemovable ? "plugged-in webcam" : "built-in webcam");
        MemoryDeviceTree machine;
        const DevNode rootHub = AddRootHub(machine, machine.Root());
        const DevNode composite = machine.Add(rootHub, {.id = u"USB\\VID_04F2&PID_B6D9\\0001",
                                                        .service = u"usbccgp",
                                                        .className = u"USB",
                                                        .description = u"USB Composite Device",
                                                        .status = compositeRemovable ? kStartedRemovable : kStarted});
        // The first interface is a HID control that is never listed; the second is the camera.
        const DevNode hidInterface = machine.Add(composite, {.id = u"USB\\VID_04F2&PID_B6D9&MI_00\\6&2A4F&0&0000",
                                                             .service = u"HidUsb",
                                                             .className = u"HIDClass",
                                                             .description = u"USB Input Device",
                                                             .manufacturer = u"Chicony"});
        AddHidCollection(machine, hidInterface, u"HID\\VID_04F2&PID_B6D9&MI_00\\7&1&0&0000",
                         u"HID-compliant consumer control device");
        const DevNode camera = machine.Add(composite, {.id = u"USB\\VID_04F2&PID_B6D9&MI_02\\6&2A4F&0&0002",
                                                       .service = u"usbvideo",
                                                       .className = u"Camera",
                                                       .description = u"Integrated Camera",
                                                       .classGuid = kCameraGuid});
        machine.Add(composite, {.id = u"USB\\VID_04F2&PID_B6D9&MI_04\\6&2A4F&0&0004",
                                .service = u"usbaudio",
                                .className = u"MEDIA",
                                .description = u"USB Audio Device"});

        DeviceSnapshot usb;
        ASSERT_EQ(usb.Build(machine, kModeUsb), 1) << "the interface after the camera is not visited";
        const DeviceRecord& record = *usb.Find(0);
        EXPECT_EQ(record.DeviceId, machine.Info(camera).id);
        EXPECT_EQ(record.ParentDeviceId, machine.Info(composite).id);
        EXPECT_EQ(record.Removable, compositeRemovable ? 1 : 0);
        EXPECT_EQ(record.DeviceHandle, compositeRemovable ? composite : camera);
    }
}

TEST_F(UsbSnapshotTest, HidDeviceWithoutListedCollectionStandsForItselfOnlyWithANamedMaker) {
    struct Case {
        const char* name;
        std::u16string collection;
        std::u16string maker; // of the HID device node above the collection
        bool collectionListed;
        bool deviceListed;
    };
    const Case cases[] = {
        {"game controller", u"HID-compliant game controller", u"(Standard system devices)", true, false},
        {"Japanese game controller", u"HID 準拠ゲーム コントローラー", u"(標準システム デバイス)", true, false},
        {"capital G is no game", u"HID-compliant Game controller", u"(Standard system devices)", false, false},
        {"consumer control", u"HID-compliant consumer control device", u"(Standard system devices)", false, false},
        {"vendor device", u"HID-compliant vendor-defined device", u"American Power Conversion", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryDeviceTree machine;
        const DevNode rootHub = AddRootHub(machine, machine.Root());
        const DevNode device =
            AddHidDevice(machine, rootHub, u"USB\\VID_051D&PID_0002\\5&1&2", u"USB Input Device", c.maker);
        const DevNode collection =
            AddHidCollection(machine, device, u"HID\\VID_051D&PID_0002\\6&1&0&0000", c.collection);

        DeviceSnapshot usb;
        const int32_t count = usb.Build(machine, kModeUsb);
        ASSERT_EQ(count, (c.collectionListed || c.deviceListed) ? 1 : 0);
        if (c.collectionListed) {
            EXPECT_EQ(usb.Find(0)->DeviceId, machine.Info(collection).id);
            EXPECT_EQ(usb.Find(0)->DeviceHandle, device);
            EXPECT_EQ(usb.Find(0)->ParentDeviceId, machine.Info(device).id);
        }
        if (c.deviceListed) {
            EXPECT_EQ(usb.Find(0)->DeviceId, machine.Info(device).id);
        }
    }
}

TEST_F(UsbSnapshotTest, KeyboardTakesTheNamesOfARealMakerAbove) {
    struct Case {
        const char* name;
        std::u16string parentMaker;
        std::u16string description;
        std::u16string maker;
    };
    const Case cases[] = {
        {"vendor receiver", u"Logitech", u"USB Receiver", u"Logitech"},
        {"generic", u"(Standard system devices)", u"HID Keyboard Device", u"(Standard keyboards)"},
        {"generic, Japanese", u"(標準システム デバイス)", u"HID Keyboard Device", u"(Standard keyboards)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryDeviceTree machine;
        const DevNode rootHub = AddRootHub(machine, machine.Root());
        const DevNode receiver =
            AddHidDevice(machine, rootHub, u"USB\\VID_046D&PID_C52B\\5&1&4", u"USB Receiver", c.parentMaker);
        const DevNode keyboard = AddKeyboard(machine, receiver, u"HID\\VID_046D&PID_C52B&MI_00\\7&3&0&0000");

        DeviceSnapshot usb;
        ASSERT_EQ(usb.Build(machine, kModeUsb), 1);
        const DeviceRecord& record = *usb.Find(0);
        EXPECT_EQ(record.DeviceId, machine.Info(keyboard).id);
        EXPECT_EQ(record.Description, c.description);
        EXPECT_EQ(record.ManufacturerName, c.maker);
        EXPECT_EQ(record.ServiceName, u"kbdhid");
    }
}

TEST_F(UsbSnapshotTest, RemovableNodeIsTheNearestAboveTheDeviceNeverPastAHub) {
    enum class Pick { Disk, Storage, ExternalHub };
    struct Case {
        const char* name;
        bool behindExternalHub;
        uint32_t storageStatus;
        uint32_t diskStatus;
        bool diskStatusReadable;
        int32_t removable;
        Pick handle;
    };
    constexpr uint32_t kRemovableOnly = (kStarted & ~kDnDisableable) | kDnRemovable;
    const Case cases[] = {
        {"stick on the root hub", false, kStartedRemovable, kStarted, true, 1, Pick::Storage},
        {"stick behind an external hub", true, kStartedRemovable, kStarted, true, 1, Pick::Storage},
        {"disk removable itself", false, kStartedRemovable, kStartedRemovable, true, 1, Pick::Disk},
        {"built-in reader", false, kStarted, kStarted, true, 0, Pick::Disk},
        {"not disableable, root hub", false, kRemovableOnly, kStarted, true, 0, Pick::Disk},
        {"not disableable, external hub", true, kRemovableOnly, kStarted, true, 1, Pick::ExternalHub},
        {"disk status unreadable", false, kStartedRemovable, kStarted, false, 0, Pick::Disk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryDeviceTree machine;
        DevNode parent = AddRootHub(machine, machine.Root());
        if (c.behindExternalHub)
            parent = AddExternalHub(machine, parent);
        const UsbStick stick = AddUsbStick(machine, parent, 1, 1, u"E");
        machine.Info(stick.storage).status = c.storageStatus;
        machine.Info(stick.disk).status = c.diskStatus;
        machine.Info(stick.disk).statusReadable = c.diskStatusReadable;

        DeviceSnapshot usb;
        ASSERT_EQ(usb.Build(machine, kModeUsb), 1);
        const DeviceRecord& record = *usb.Find(0);
        EXPECT_EQ(record.Removable, c.removable);
        const DevNode expected = c.handle == Pick::Disk      ? stick.disk
                                 : c.handle == Pick::Storage ? stick.storage
                                                             : parent;
        EXPECT_EQ(record.DeviceHandle, expected);
        if (c.removable == 1)
            EXPECT_EQ(record.ParentDeviceId, machine.Info(expected).id);
        else
            EXPECT_FALSE(record.ParentDeviceId.has_value());
    }
}

TEST_F(UsbSnapshotTest, NodeWithAProblemNumberIsLeftOut) {
    const UsbStick broken = AddUsbStick(tree, hub, 1, 1, u"E");
    tree.Info(broken.disk).problem = 10; // failed to start
    const UsbStick working = AddUsbStick(tree, hub, 2, 2, u"F");

    ASSERT_EQ(snapshot.Build(tree, kModeUsb), 1);
    EXPECT_EQ(snapshot.Find(0)->DeviceId, tree.Info(working.disk).id);
    EXPECT_EQ(snapshot.Build(tree, kModeDrive), 1);
    EXPECT_EQ(snapshot.Find(0)->DeviceId, tree.Info(working.disk).id);
}

TEST_F(UsbSnapshotTest, CardReaderWithTwoVolumesHoldsBothLettersInAlphabeticalOrder) {
    const UsbStick reader = AddUsbStick(tree, hub, 1, 3, u"");
    tree.AttachVolumes(reader.disk, StorageClass::Disk, 3, u"GE", DriveKind::Removable);

    for (const int32_t mode : {kModeUsb, kModeDrive}) {
        ASSERT_EQ(snapshot.Build(tree, mode), 1);
        EXPECT_EQ(snapshot.Find(0)->DriveLetters, u"EG");
        EXPECT_EQ(snapshot.Find(0)->DriveCount, 2);
        EXPECT_EQ(snapshot.DriveToNo(u'g'), 0);
    }
}

TEST_F(UsbSnapshotTest, OtherModesAndAMissingDeviceSetGiveAnEmptySnapshot) {
    AddUsbStick(tree, hub, 1, 1, u"E");
    for (const int32_t mode : {2, 7, -1}) {
        ASSERT_EQ(snapshot.Build(tree, kModeUsb), 1);
        EXPECT_EQ(snapshot.Build(tree, mode), 0) << mode;
        EXPECT_EQ(snapshot.Find(0), nullptr);
    }
    tree.FailDeviceSet();
    EXPECT_EQ(snapshot.Build(tree, kModeUsb), 0);
    EXPECT_EQ(snapshot.Build(tree, kModeDrive), 0);
}

} // namespace
} // namespace vantrel::dravik::testing
