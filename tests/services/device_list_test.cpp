// Rebuilding the USB drive list from the device library on a device change, and stopping every USB drive.

#include <algorithm>
#include <optional>

#include <gtest/gtest.h>

#include "services/device_list.h"
#include "services/usb_stop_all.h"

namespace vantrel {
namespace {

struct FakeDevice {
    uint32_t handle;
    std::u16string letters;
    bool removable = false;
    std::u16string name;
    int32_t vetoType = 0; // a quiet eject is refused with this veto unless 0
    std::u16string vetoName;
};

class FakeLibrary : public DeviceLibraryFunctions {
public:
    bool BindDeviceLibrary() override {
        ++bindCalls;
        return bindAnswers.empty() ? true : bindAnswers[static_cast<size_t>(bindCalls - 1) % bindAnswers.size()];
    }
    int32_t GetDeviceData(int32_t mode) override {
        modes.push_back(mode);
        return countOverride.value_or(static_cast<int32_t>(devices.size()));
    }
    int32_t EjectDeviceHandle(uint32_t) override { return -2; }
    int32_t CheckRemovableNo(int32_t number) override { return devices.at(static_cast<size_t>(number)).removable; }
    int32_t GetFriendlyNameW(int32_t number, char16_t* buffer, int32_t size) override {
        return GetDriveLetterW(number, buffer, size, &FakeDevice::name);
    }
    int32_t EjectDeviceHandleVeto(uint32_t handle, int32_t* type, char16_t* name, int32_t size) override {
        asked.push_back(handle);
        const auto d =
            std::find_if(devices.begin(), devices.end(), [&](const FakeDevice& f) { return f.handle == handle; });
        *type = d->vetoType;
        name[std::min(d->vetoName.size(), static_cast<size_t>(size - 1))] = 0;
        std::copy_n(d->vetoName.begin(), std::min(d->vetoName.size(), static_cast<size_t>(size - 1)), name);
        return d->vetoType == 0 ? 0 : -2;
    }
    uint32_t GetDeviceHandle(int32_t number) override { return devices.at(static_cast<size_t>(number)).handle; }
    int32_t GetDriveLetterW(int32_t number, char16_t* buffer, int32_t size) override {
        sizes.push_back(size);
        return GetDriveLetterW(number, buffer, size, &FakeDevice::letters);
    }
    int32_t GetDriveLetterW(int32_t number, char16_t* buffer, int32_t size, std::u16string FakeDevice::*field) {
        const std::u16string& letters = devices.at(static_cast<size_t>(number)).*field;
        // Writes as much as the size allows, without a terminator when the text fills it.
        const size_t n = std::min(letters.size(), static_cast<size_t>(size));
        std::copy_n(letters.begin(), n, buffer);
        if (n < static_cast<size_t>(size))
            buffer[n] = 0;
        return static_cast<int32_t>(n);
    }

    std::vector<FakeDevice> devices;
    std::vector<bool> bindAnswers;
    std::optional<int32_t> countOverride;
    int bindCalls = 0;
    std::vector<int32_t> modes;
    std::vector<int32_t> sizes;
    std::vector<uint32_t> asked;
};

TEST(RefreshDeviceList, KeepsTheUsbDevicesWithDriveLettersInSnapshotOrder) {
    FakeLibrary library;
    library.devices = {{0x1001, u"E"}, {0x1002, u""}, {0x80000003, u"FG"}, {0x1004, u"H"}};
    DeviceList list = {{42, u"Z"}};

    ASSERT_TRUE(RefreshDeviceList(library, list));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].Di, 0x1001);
    EXPECT_EQ(list[0].DriveLetter, u"E");
    EXPECT_EQ(list[1].Di, static_cast<int32_t>(0x80000003)) << "the handle's bits are kept in the signed field";
    EXPECT_EQ(list[1].DriveLetter, u"FG");
    EXPECT_EQ(list[2].DriveLetter, u"H");
    EXPECT_EQ(library.modes, std::vector<int32_t>{0}) << "USB mode";
    EXPECT_EQ(library.sizes, std::vector<int32_t>(4, 28));
}

TEST(RefreshDeviceList, WithoutTheLibraryNothingChangesAndTheBindIsRetried) {
    FakeLibrary library;
    library.devices = {{7, u"E"}};
    library.bindAnswers = {false, true};
    DeviceList list = {{42, u"Z"}};

    EXPECT_FALSE(RefreshDeviceList(library, list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Di, 42);
    EXPECT_TRUE(library.modes.empty()) << "no snapshot without the library";

    EXPECT_TRUE(RefreshDeviceList(library, list));
    EXPECT_EQ(library.bindCalls, 2);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Di, 7);
}

TEST(RefreshDeviceList, EmptyOrFailedSnapshotsClearTheList) {
    for (const int32_t count : {0, -1, -3}) {
        FakeLibrary library;
        library.countOverride = count;
        DeviceList list = {{42, u"Z"}};
        EXPECT_TRUE(RefreshDeviceList(library, list));
        EXPECT_TRUE(list.empty()) << count;
    }
}

TEST(RefreshDeviceList, AnUnterminatedAnswerIsReadOnlyUpToTheBuffer) {
    FakeLibrary library;
    library.devices = {{1, std::u16string(40, u'A')}};
    DeviceList list;
    ASSERT_TRUE(RefreshDeviceList(library, list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].DriveLetter, std::u16string(27, u'A'));
}

TEST(StopAllUsbDrives, AsksEachRemovableDeviceOnceInOrderAndSaysWhatBecameOfIt) {
    FakeLibrary library;
    library.devices = {{0x10, u"E", true, u"SanDisk Ultra USB Device"},
                       {0x20, u"G", false, u"Internal SD Reader"},
                       {0x30, u"H", true, u"Kingston USB Device", 3, u"C:\\Windows\\notepad.exe"},
                       {0x30, u"I", true, u"Kingston USB Device", 3, u"C:\\Windows\\notepad.exe"}};
    DeviceList devices;
    ASSERT_TRUE(RefreshDeviceList(library, devices));
    EXPECT_EQ(devices[0].Name, u"SanDisk Ultra USB Device");
    EXPECT_TRUE(AnyStoppableDrive(devices));
    EXPECT_FALSE(AnyStoppableDrive({devices[1]})) << "a built-in reader alone offers nothing to stop";

    const auto stops = StopAllUsbDrives(library, devices);
    EXPECT_EQ(library.asked, (std::vector<uint32_t>{0x10, 0x30})) << "not the reader; the stick with two drives once";
    EXPECT_FALSE(AllStopped(stops));
    EXPECT_EQ(StopAllMessage(stops),
              u"Stopped, safe to unplug now:\r\n    SanDisk Ultra USB Device (E:)\r\n\r\n"
              u"Still busy, not stopped:\r\n    Kingston USB Device (H:, I:): in use by notepad.exe");
}

TEST(StopAllUsbDrives, SaysWhyADeviceIsStillBusy) {
    const std::pair<FakeDevice, std::u16string> cases[] = {
        {{1, u"E", true, u"", 4, u"WSearch"}, u"USB drive (E:): in use by the service WSearch"},
        {{1, u"E", true, u"Stick", 5, u"Generic volume"}, u"Stick (E:): a file is open on Generic volume"},
        {{1, u"E", true, u"Stick", 6, u""}, u"Stick (E:): refused by a device"},
    };
    for (const auto& [device, line] : cases) {
        FakeLibrary library;
        library.devices = {device};
        const auto stops = StopAllUsbDrives(library, {{1, u"E", true, device.name}});
        EXPECT_EQ(StopAllMessage(stops), u"Still busy, not stopped:\r\n    " + line);
    }
    FakeLibrary gone;
    gone.devices = {{1, u"E", true, u"Stick", 13, u"USB\\VID_1"}};
    EXPECT_TRUE(AllStopped(StopAllUsbDrives(gone, {{1, u"E", true}}))) << "already removed is stopped";
}

} // namespace
} // namespace vantrel
