// "Stop all USB drives": which devices are asked, in what order, and the one message that ends it.

#include <algorithm>
#include <map>

#include <gtest/gtest.h>

#include "services/usb_stop_all.h"

namespace vantrel {
namespace {

struct Device {
    uint32_t handle;
    std::u16string letters;
    bool removable;
    std::u16string name;
    int32_t vetoType = 0; // refuses with this veto when not 0
    std::u16string vetoName;
    bool stays = false; // accepted, yet still there
};

class Library : public DeviceLibraryFunctions {
public:
    explicit Library(std::vector<Device> devices) : devices_(std::move(devices)) {}
    bool BindDeviceLibrary() override { return true; }
    int32_t GetDeviceData(int32_t) override { return static_cast<int32_t>(devices_.size()); }
    int32_t EjectDeviceHandle(uint32_t handle) override {
        plainEjects.push_back(handle);
        return -2;
    }
    uint32_t GetDeviceHandle(int32_t n) override { return At(n).handle; }
    int32_t GetDriveLetterW(int32_t n, char16_t* buffer, int32_t size) override {
        return Copy(At(n).letters, buffer, size);
    }
    int32_t CheckRemovableNo(int32_t n) override { return At(n).removable ? 1 : 0; }
    int32_t GetFriendlyNameW(int32_t n, char16_t* buffer, int32_t size) override {
        Copy(At(n).name, buffer, size);
        return 0;
    }
    int32_t EjectDeviceHandleVeto(uint32_t handle, int32_t* type, char16_t* name, int32_t size) override {
        asked.push_back(handle);
        const auto device =
            std::find_if(devices_.begin(), devices_.end(), [&](const Device& d) { return d.handle == handle; });
        *type = device->vetoType;
        Copy(device->vetoName, name, size);
        return device->vetoType == 0 && !device->stays ? 0 : -2;
    }

    std::vector<uint32_t> asked;
    std::vector<uint32_t> plainEjects;

private:
    const Device& At(int32_t n) const { return devices_.at(static_cast<std::size_t>(n)); }
    static int32_t Copy(const std::u16string& text, char16_t* buffer, int32_t size) {
        const auto n = std::min(text.size(), static_cast<std::size_t>(size - 1));
        std::copy_n(text.begin(), n, buffer);
        buffer[n] = 0;
        return static_cast<int32_t>(n);
    }
    std::vector<Device> devices_;
};

TEST(StopAllUsbDrives, AsksEachRemovableDeviceOnceInOrderAndNothingElse) {
    Library library({{0x10, u"E", true, u"SanDisk Ultra USB Device"},
                     {0x20, u"G", false, u"Internal SD Reader"},
                     {0x30, u"H", true, u"Kingston DataTraveler 3.0 USB Device", 3, u"C:\\Windows\\notepad.exe"},
                     {0x30, u"I", true, u"Kingston DataTraveler 3.0 USB Device", 3, u"C:\\Windows\\notepad.exe"},
                     {0x40, u"", true, u"USB keyboard"}});
    DeviceList devices;
    ASSERT_TRUE(RefreshDeviceList(library, devices));
    ASSERT_EQ(devices.size(), 4u) << "the keyboard has no drive";
    EXPECT_TRUE(devices[0].Removable);
    EXPECT_FALSE(devices[1].Removable);
    EXPECT_EQ(devices[0].Name, u"SanDisk Ultra USB Device");
    EXPECT_TRUE(AnyStoppableDrive(devices));
    EXPECT_FALSE(AnyStoppableDrive({devices[1]})) << "a built-in reader alone offers nothing to stop";

    const auto stops = StopAllUsbDrives(library, devices);
    EXPECT_EQ(library.asked, (std::vector<uint32_t>{0x10, 0x30}))
        << "not the built-in reader; the stick with two drives once";
    EXPECT_TRUE(library.plainEjects.empty()) << "the system's own notice would come once per busy device";
    ASSERT_EQ(stops.size(), 2u);
    EXPECT_EQ(stops[1].letters, u"HI");
    EXPECT_FALSE(AllStopped(stops));
    EXPECT_EQ(StopAllMessage(stops), u"Stopped, safe to unplug now:\r\n"
                                     u"    SanDisk Ultra USB Device (E:)\r\n"
                                     u"\r\n"
                                     u"Still busy, not stopped:\r\n"
                                     u"    Kingston DataTraveler 3.0 USB Device (H:, I:): in use by notepad.exe");
}

TEST(StopAllUsbDrives, SaysWhyEachDeviceIsStillBusy) {
    const std::pair<Device, std::u16string> cases[] = {
        {{1, u"E", true, u"", 0, u"", true}, u"USB drive (E:): still in use"},
        {{1, u"E", true, u"Stick", 3, u""}, u"Stick (E:): in use by a program"},
        {{1, u"E", true, u"Stick", 4, u"WSearch"}, u"Stick (E:): in use by the service WSearch"},
        {{1, u"E", true, u"Stick", 5, u"Generic volume"}, u"Stick (E:): a file is open on Generic volume"},
        {{1, u"E", true, u"Stick", 6, u"USB Mass Storage Device"}, u"Stick (E:): refused by USB Mass Storage Device"},
        {{1, u"E", true, u"Stick", 7, u"usbstor"}, u"Stick (E:): refused by the driver usbstor"},
        {{1, u"E", true, u"Stick", 12, u""}, u"Stick (E:): not allowed to stop it"},
    };
    for (const auto& [device, line] : cases) {
        Library library({device});
        const auto stops = StopAllUsbDrives(library, {{1, u"E", true, device.name}});
        EXPECT_EQ(StopAllMessage(stops), u"Still busy, not stopped:\r\n    " + line);
    }
    Library gone({{1, u"E", true, u"Stick", 13, u"USB\\VID_1"}});
    const auto stops = StopAllUsbDrives(gone, {{1, u"E", true, u"Stick"}});
    EXPECT_TRUE(AllStopped(stops)) << "a device already removed needs no more stopping";
    EXPECT_EQ(StopAllMessage({}), u"There is no USB drive to stop.");
}

} // namespace
} // namespace vantrel
