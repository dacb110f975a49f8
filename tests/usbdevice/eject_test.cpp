// Safe removal by device instance handle, by device number and by drive letter, with every result code.

#include <array>

#include <gtest/gtest.h>

#include <string>

#include "usbdevice/device_library.h"
#include "usbdevice/machines.h"

namespace vantrel::dravik::testing {
namespace {

std::optional<std::string> AsciiOnly(std::u16string_view text) {
    return std::string(text.begin(), text.end());
}

class EjectTest : public ::testing::Test {
protected:
    EjectTest() {
        const DevNode pci = AddPciBus(tree);
        const DevNode ahci = AddNode(tree, pci, u"PCI\\VEN_8086&DEV_A352\\3&1&0&B8", u"storahci", u"hdc");
        sata = AddNode(tree, ahci, u"SCSI\\DISK&VEN_&PROD_SAMSUNG\\4&1&0&000000", u"disk", u"DiskDrive");
        tree.AttachVolumes(sata, StorageClass::Disk, 0, u"C", DriveKind::Fixed);
        rootHub = AddRootHub(tree, pci);
        stick = AddUsbStick(tree, rootHub, 1, 1, u"E");
    }

    MemoryDeviceTree tree;
    DeviceLibrary library{tree, AsciiOnly};
    DevNode sata = kNoNode;
    DevNode rootHub = kNoNode;
    UsbStick stick{};
};

TEST_F(EjectTest, ByHandleReportsRefusalAndADeviceThatStaysPresent) {
    struct Case {
        const char* name;
        EjectOutcome outcome;
        int32_t result;
        int32_t presentAfter;
    };
    const Case cases[] = {
        {"removed", EjectOutcome::Removed, kSuccess, 0},
        {"vetoed by an open file", EjectOutcome::Refused, kEjectFailed, 1},
        {"accepted but still working", EjectOutcome::StillPresent, kEjectFailed, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryDeviceTree machine;
        const UsbStick s = AddUsbStick(machine, AddRootHub(machine, machine.Root()), 1, 1, u"E");
        machine.Info(s.storage).eject = c.outcome;
        DeviceLibrary host(machine, AsciiOnly);
        ASSERT_EQ(host.CheckInsertDeviceHandle(s.storage), 1);
        EXPECT_EQ(host.EjectDeviceHandle(s.storage), c.result);
        EXPECT_EQ(host.CheckInsertDeviceHandle(s.storage), c.presentAfter);
        EXPECT_EQ(machine.EjectRequests(), std::vector<DevNode>{s.storage});
    }
    EXPECT_EQ(library.EjectDeviceHandle(kNoNode), kEjectFailed);
    EXPECT_EQ(library.EjectDeviceHandle(9999), kEjectFailed);
}

TEST_F(EjectTest, QuietlyTheHostHearsWhoRefusedAndTheSystemSaysNothing) {
    const std::u16string disk = tree.Info(stick.disk).id;
    const std::pair<EjectVeto, std::u16string> cases[] = {
        {{3, u"notepad.exe"}, u"notepad.exe"},
        {{5, disk}, u"SanDisk Ultra USB Device"}, // open files on a device: named as the user knows it
        {{4, disk}, disk},                        // a service's name is no device path
    };
    tree.Info(stick.storage).eject = EjectOutcome::Refused;
    for (const auto& [veto, name] : cases) {
        tree.Info(stick.storage).veto = veto;
        int32_t type = -7;
        std::array<char16_t, 200> text{};
        EXPECT_EQ(library.EjectDeviceHandleVeto(stick.storage, &type, text.data(), 200), kEjectFailed);
        EXPECT_EQ(type, veto.type);
        EXPECT_EQ(std::u16string(text.data()), name);
    }
    EXPECT_EQ(tree.Notices(), 0) << "the host tells the user, not the system";
    EXPECT_EQ(library.EjectDeviceHandleVeto(stick.storage, nullptr, nullptr, 4), kNullBuffer);
    EXPECT_EQ(library.EjectDeviceHandle(stick.storage), kEjectFailed);
    EXPECT_EQ(tree.Notices(), 1) << "the plain eject leaves the explaining to the system";
}

TEST_F(EjectTest, ByNumberEjectsTheRecordsRemovableNode) {
    ASSERT_EQ(library.GetDeviceData(kModeUsb), 1);
    EXPECT_EQ(library.EjectDeviceNo(1), kNoRecord);
    EXPECT_EQ(library.EjectDeviceNo(-1), kNoRecord);
    EXPECT_TRUE(tree.EjectRequests().empty());

    EXPECT_EQ(library.CheckInsertDeviceNo(0), 1);
    EXPECT_EQ(library.EjectDeviceNo(0), kSuccess);
    EXPECT_EQ(tree.EjectRequests(), std::vector<DevNode>{stick.storage});
    EXPECT_EQ(library.CheckInsertDeviceNo(0), 0);
    EXPECT_EQ(library.CheckInsertDeviceHandle(stick.disk), 0) << "the disk went with its storage node";
}

TEST_F(EjectTest, ByDriveNameOnlyTheFirstCharacterCounts) {
    const std::pair<const char16_t*, int32_t> names[] = {
        {u"E:", kSuccess},  {u"e", kSuccess}, {u"e:\\", kSuccess}, {u"E:\\Photos\\2023", kSuccess},
        {u"Q:", kNoRecord}, {u"", kNoRecord}, {u":E", kNoRecord},  {nullptr, kNoRecord},
    };
    for (const auto& [name, result] : names) {
        SCOPED_TRACE(name ? std::string(name, name + std::char_traits<char16_t>::length(name)) : "(null)");
        MemoryDeviceTree machine;
        const UsbStick s = AddUsbStick(machine, AddRootHub(machine, machine.Root()), 1, 1, u"E");
        DeviceLibrary host(machine, AsciiOnly);
        EXPECT_EQ(host.EjectDeviceDriveName(name), result);
        EXPECT_EQ(machine.EjectRequests(),
                  result == kSuccess ? std::vector<DevNode>{s.storage} : std::vector<DevNode>{});
    }
}

TEST_F(EjectTest, ByDriveNameLeavesTheSnapshotAsItWas) {
    const UsbStick second = AddUsbStick(tree, rootHub, 2, 2, u"F");
    ASSERT_EQ(library.GetDeviceData(kModeUsb), 2);
    // What a host reads of each record: its identifier, handle and drive letters; nothing past the last one.
    const auto records = [&] {
        std::vector<std::u16string> seen;
        for (int32_t i = 0; i <= 2; ++i) {
            char16_t id[200] = {};
            char16_t letters[28] = {};
            library.GetText(i, RecordText::DeviceId, id, 200);
            library.GetDriveLetter(i, letters, 28);
            const std::string handle = std::to_string(library.GetDeviceHandle(i));
            seen.push_back(std::u16string(id) + u"|" + letters + u"|" + std::u16string(handle.begin(), handle.end()));
        }
        return seen;
    };
    const std::vector<std::u16string> before = records();

    EXPECT_EQ(library.EjectDeviceDriveName(u"Q:"), kNoRecord);
    EXPECT_EQ(library.EjectDeviceDriveName(u"F:"), kSuccess);
    EXPECT_EQ(tree.EjectRequests(), std::vector<DevNode>{second.storage});
    EXPECT_EQ(records(), before);
    EXPECT_EQ(before[2], u"||0") << "two records, as before";
}

TEST_F(EjectTest, ByDriveNameFailures) {
    struct Case {
        const char* name;
        const char16_t* drive;
        int32_t result;
        bool requested;
        EjectOutcome eject = EjectOutcome::Removed;
        bool diskStatusReadable = true;
        bool diskGone = false; // cannot be opened, not among the present devices
    };
    const Case cases[] = {
        {"internal disk has no removable node", u"C:", kEjectFailed, false},
        {"disk status unreadable", u"E:", kEjectFailed, false, EjectOutcome::Removed, false},
        {"vetoed", u"E:", kEjectFailed, true, EjectOutcome::Refused},
        {"still present", u"E:", kEjectFailed, true, EjectOutcome::StillPresent},
        {"disk cannot be opened", u"E:", kNoRecord, false, EjectOutcome::Removed, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryDeviceTree machine;
        const DevNode pci = AddPciBus(machine);
        const DevNode internal = AddNode(machine, pci, u"SCSI\\DISK\\0", u"disk", u"DiskDrive");
        machine.AttachVolumes(internal, StorageClass::Disk, 0, u"C", DriveKind::Fixed);
        const UsbStick s = AddUsbStick(machine, AddRootHub(machine, pci), 1, 1, u"E");
        machine.Info(s.storage).eject = c.eject;
        machine.Info(s.disk).statusReadable = c.diskStatusReadable;
        machine.Info(s.disk).openable = machine.Info(s.disk).present = !c.diskGone;
        DeviceLibrary host(machine, AsciiOnly);
        EXPECT_EQ(host.EjectDeviceDriveName(c.drive), c.result);
        EXPECT_EQ(machine.EjectRequests().empty(), !c.requested);
    }
}

TEST_F(EjectTest, ByDriveNameTakesTheHighestRemovableNodeEvenAboveAHub) {
    const DevNode externalHub = AddExternalHub(tree, rootHub, 1);
    const UsbStick behindHub = AddUsbStick(tree, externalHub, 3, 3, u"G");
    EXPECT_EQ(library.EjectDeviceDriveName(u"G:"), kSuccess);
    EXPECT_EQ(tree.EjectRequests(), std::vector<DevNode>{externalHub});
    EXPECT_EQ(library.CheckInsertDeviceHandle(behindHub.disk), 0);
}

} // namespace
} // namespace vantrel::dravik::testing
