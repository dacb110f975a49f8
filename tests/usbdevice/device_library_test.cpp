// The rules of the exported getters: result codes, and copies that never leave a caller's buffer
// unterminated, overrun or cut inside a character.

#include <array>
#include <cstring>

#include <gtest/gtest.h>

#include "usbdevice/device_library.h"
#include "usbdevice/machines.h"

namespace vantrel::dravik::testing {
namespace {

// A double-byte code page in miniature: ASCII stays one byte, everything else takes two, and an unpaired
// surrogate cannot be converted.
std::optional<std::string> DoubleByte(std::u16string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            out += "##";
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return std::nullopt;
        } else {
            out += "#";
            out.push_back(static_cast<char>('a' + c % 26));
        }
    }
    return out;
}

// Record 0: a USB stick (E:); record 1: a card reader (F: G:) whose name ends in Japanese; record 2: a mouse.
class DeviceLibraryTest : public ::testing::Test {
protected:
    DeviceLibraryTest() {
        const DevNode hub = AddRootHub(tree, tree.Root());
        AddUsbStick(tree, hub, 1, 1, u"E");
        reader = AddUsbStick(tree, hub, 2, 2, u"GF");
        tree.Info(reader.disk).friendlyName = u"Card Reader 読取装置";
        const DevNode mouseHid = AddHidDevice(tree, hub, u"USB\\VID_046D&PID_C077\\5&1&3", u"USB Input Device",
                                              u"(Standard system devices)");
        tree.Add(mouseHid, {.id = u"HID\\VID_046D&PID_C077\\7&2&0&0000", .service = u"mouhid", .className = u"Mouse"});
        count = library.GetDeviceData(kModeUsb);
    }

    MemoryDeviceTree tree;
    DeviceLibrary library{tree, DoubleByte};
    UsbStick reader{};
    int32_t count = 0;
};

TEST_F(DeviceLibraryTest, CopiesAreCutToTheBufferAndAlwaysTerminated) {
    ASSERT_EQ(count, 3);
    const std::u16string name = u"Card Reader 読取装置"; // 12 ASCII characters, then 4 of two bytes each
    struct Case {
        int32_t size;
        size_t wideKept; // characters in the buffer afterwards
        size_t ansiKept;
    };
    const Case cases[] = {{1, 0, 0}, {5, 4, 4}, {13, 12, 12}, {14, 13, 12}, {15, 14, 13}, {17, 16, 14}, {31, 16, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        std::array<char16_t, 32> wide;
        std::array<char, 32> ansi;
        wide.fill(u'-');
        ansi.fill('-');
        EXPECT_EQ(library.GetText(1, RecordText::FriendlyName, wide.data(), c.size), kSuccess);
        EXPECT_EQ(library.GetText(1, RecordText::FriendlyName, ansi.data(), c.size), kSuccess);
        EXPECT_EQ(std::u16string(wide.data()), name.substr(0, c.wideKept));
        EXPECT_EQ(std::string(ansi.data()), *DoubleByte(name.substr(0, c.ansiKept)));
        EXPECT_EQ(wide[static_cast<size_t>(c.size)], u'-') << "nothing written past the size";
        EXPECT_EQ(ansi[static_cast<size_t>(c.size)], '-');
    }
    // Sizes that leave no room even for the terminator: the buffer is not touched.
    for (const int32_t size : {0, -1, -1000}) {
        std::array<char16_t, 4> wide{u'-'};
        std::array<char, 4> ansi{'-'};
        EXPECT_EQ(library.GetText(1, RecordText::FriendlyName, wide.data(), size), kSuccess);
        EXPECT_EQ(library.GetText(1, RecordText::FriendlyName, ansi.data(), size), kSuccess);
        EXPECT_EQ(library.GetDriveLetter(1, wide.data(), size), 0);
        EXPECT_EQ(library.GetDriveLetter(1, ansi.data(), size), 0);
        EXPECT_EQ(library.GetText(count, RecordText::FriendlyName, wide.data(), size), kNoRecord);
        EXPECT_EQ(wide[0], u'-');
        EXPECT_EQ(ansi[0], '-');
    }
}

TEST(TextBuffers, CutsKeepCharactersWhole) {
    const std::u16string text = u"ab\U0001F600c"; // a, b, a surrogate pair, c
    const std::tuple<int32_t, std::u16string, std::string> cases[] = {
        {1, u"", ""},       {2, u"a", "a"}, {3, u"ab", "ab"}, {4, u"ab", "ab"}, {5, u"ab\U0001F600", "ab##"},
        {6, text, "ab##c"},
    };
    for (const auto& [size, wideText, ansiText] : cases) {
        SCOPED_TRACE(size);
        std::array<char16_t, 8> wide;
        std::array<char, 8> ansi;
        EXPECT_EQ(CopyToBuffer(text, wide.data(), size), static_cast<int32_t>(wideText.size()));
        EXPECT_EQ(std::u16string(wide.data()), wideText);
        EXPECT_EQ(CopyToBuffer(text, ansi.data(), size, DoubleByte), static_cast<int32_t>(ansiText.size()));
        EXPECT_EQ(std::string(ansi.data()), ansiText);
    }
    std::array<char, 8> ansi;
    ansi.fill('-');
    EXPECT_EQ(CopyToBuffer(u"a\xD800", ansi.data(), 8, DoubleByte), 0) << "a text the code page cannot take";
    EXPECT_EQ(ansi[0], 0);
}

TEST_F(DeviceLibraryTest, AnswersForNumbersThatNameNoRecord) {
    for (const int32_t number : {count, -1}) {
        std::array<char16_t, 8> wide{u'-'};
        std::array<char, 8> ansi{'-'};
        EXPECT_EQ(library.GetText(number, RecordText::DeviceId, wide.data(), 8), kNoRecord);
        EXPECT_EQ(library.GetText(number, RecordText::DeviceId, ansi.data(), 8), kNoRecord);
        EXPECT_EQ(library.GetDriveLetter(number, wide.data(), 8), kNoRecord);
        EXPECT_EQ(wide[0], 0);
        EXPECT_EQ(ansi[0], 0);
        EXPECT_EQ(library.GetDeviceHandle(number), kNoNode);
        EXPECT_EQ(library.GetInterface(number), kNoRecord);
        EXPECT_EQ(library.GetImageListIndex(number), kNoRecord);
        EXPECT_EQ(library.CheckRemovableNo(number), 0);
        EXPECT_EQ(library.CheckInsertDeviceNo(number), 0);
    }
    EXPECT_EQ(library.GetText(0, RecordText::DeviceId, static_cast<char16_t*>(nullptr), 8), kNullBuffer);
    EXPECT_EQ(library.GetDriveLetter(0, static_cast<char*>(nullptr), 8), kNullBuffer);

    // A reader whose search for a removable node ended at the hub has no parent identifier.
    tree.Info(reader.storage).status = kStarted;
    ASSERT_EQ(library.GetDeviceData(kModeUsb), 3);
    std::array<char, 8> ansi{'-'};
    EXPECT_EQ(library.GetText(1, RecordText::ParentDeviceId, ansi.data(), 8), kNoRecord);
    EXPECT_EQ(ansi[0], 0);
}

TEST_F(DeviceLibraryTest, DriveLettersAndTheRecordsThatOwnThem) {
    std::array<char16_t, 28> wide{};
    std::array<char, 28> ansi{};
    EXPECT_EQ(library.GetDriveLetter(1, wide.data(), 28), 2);
    EXPECT_EQ(std::u16string(wide.data()), u"FG");
    EXPECT_EQ(library.GetDriveLetter(1, ansi.data(), 2), 1) << "the result is what the buffer now holds";
    EXPECT_EQ(std::string(ansi.data()), "F");
    EXPECT_EQ(library.GetDriveLetter(2, wide.data(), 28), 0) << "a mouse has no drive";
    EXPECT_EQ(wide[0], 0);

    const std::pair<const char*, int32_t> names[] = {{"e:", 0},  {"g:\\", 1}, {"F", 1},
                                                     {"q:", -1}, {"", -1},    {nullptr, -1}};
    for (const auto& [name, number] : names) {
        EXPECT_EQ(library.DriveToNo(name), number) << (name ? name : "(null)");
        const std::u16string wideName = name ? std::u16string(name, name + std::strlen(name)) : u"";
        EXPECT_EQ(library.DriveToNo(name ? wideName.c_str() : nullptr), number);
    }
}

} // namespace
} // namespace vantrel::dravik::testing
