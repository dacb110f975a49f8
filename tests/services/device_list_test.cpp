// Rebuilding the USB drive list from the device library on a device change.

#include <algorithm>
#include <optional>

#include <gtest/gtest.h>

#include "services/device_list.h"

namespace vantrel {
namespace {

struct FakeDevice {
    uint32_t handle;
    std::u16string letters;
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
    uint32_t GetDeviceHandle(int32_t number) override { return devices.at(static_cast<size_t>(number)).handle; }
    int32_t GetDriveLetterW(int32_t number, char16_t* buffer, int32_t size) override {
        sizes.push_back(size);
        const std::u16string& letters = devices.at(static_cast<size_t>(number)).letters;
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

} // namespace
} // namespace vantrel
