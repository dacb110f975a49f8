// dravik.dll as an outside host sees it: loaded at run time, every function looked up by name, called with
// the argument and buffer edge cases. The real library answers for this machine; a test build of the same
// exports over a described machine shows that each field and code reaches the host intact.

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../support/exports_win.h"
#include "usbdevice/dravik.h"

namespace {

// The text getters' names without their A or W, in record field order.
const char* const kTextGetters[] = {"DrvkGetFriendlyName", "DrvkGetClassName",       "DrvkGetServiceName",
                                    "DrvkGetDeviceId",     "DrvkGetParentDeviceId",  "DrvkGetHardwareId",
                                    "DrvkGetDescription",  "DrvkGetManufacturerName"};
const char* const kOtherExports[] = {
    "DrvkCheckInsertDeviceHandle",
    "DrvkCheckInsertDeviceNo",
    "DrvkCheckRemovableHandle",
    "DrvkCheckRemovableNo",
    "DrvkDriveToNoA",
    "DrvkDriveToNoW",
    "DrvkEjectDeviceDriveNameA",
    "DrvkEjectDeviceDriveNameW",
    "DrvkEjectDeviceHandle",
    "DrvkEjectDeviceHandleVetoW",
    "DrvkEjectDeviceNo",
    "DrvkGetDeviceData",
    "DrvkGetDeviceHandle",
    "DrvkGetDriveLetterA",
    "DrvkGetDriveLetterW",
    "DrvkGetImageListHandle",
    "DrvkGetImageListIndex",
    "DrvkGetInterface",
    "DrvkGetVersion",
    "DrvkRefreshImageListHandle",
    "DrvkReleaseDeviceData",
    "DrvkReleaseImageListHandle",
};

std::vector<std::string> AllExportNames() {
    std::vector<std::string> names(std::begin(kOtherExports), std::end(kOtherExports));
    for (const char* base : kTextGetters) {
        names.push_back(std::string(base) + "A");
        names.push_back(std::string(base) + "W");
    }
    std::sort(names.begin(), names.end());
    return names;
}

using vantrel::testing::ExportedNames;

std::wstring Widen(const char* text) {
    return std::wstring(text, text + std::strlen(text));
}

class LibraryTest : public ::testing::Test {
protected:
    void Load(const std::wstring& name) {
        module_ = LoadLibraryW(name.c_str());
        ASSERT_NE(module_, nullptr) << "cannot load the library";
        for (const std::string& export_ : AllExportNames()) {
            const FARPROC proc = GetProcAddress(module_, export_.c_str());
            ASSERT_NE(proc, nullptr) << export_ << " is not exported";
            procs_[export_] = proc;
        }
    }
    void TearDown() override {
        if (module_)
            FreeLibrary(module_);
    }
    template <typename Fn> Fn Get(const std::string& name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(procs_.at(name)));
    }
    int32_t TextA(size_t field, int32_t number, char* buffer, int32_t size) const {
        return Get<DrvkTextAFn>(std::string(kTextGetters[field]) + "A")(number, buffer, size);
    }
    int32_t TextW(size_t field, int32_t number, wchar_t* buffer, int32_t size) const {
        return Get<DrvkTextWFn>(std::string(kTextGetters[field]) + "W")(number, buffer, size);
    }
    int32_t Number(const char* name, int32_t number) const { return Get<DrvkNumberFn>(name)(number); }
    int32_t Handle(const char* name, uint32_t handle) const { return Get<DrvkHandleFn>(name)(handle); }
    uint32_t DeviceHandle(int32_t number) const { return Get<DrvkHandleOfNumberFn>("DrvkGetDeviceHandle")(number); }
    int32_t Snapshot(int32_t mode) const { return Get<DrvkModeFn>("DrvkGetDeviceData")(mode); }
    int32_t EjectNameW(const wchar_t* name) const { return Get<DrvkNameWFn>("DrvkEjectDeviceDriveNameW")(name); }
    int32_t EjectNameA(const char* name) const { return Get<DrvkNameAFn>("DrvkEjectDeviceDriveNameA")(name); }

    // Every text getter refuses a null buffer with -3.
    void ExpectNullBuffersRefused(int32_t number) const {
        for (size_t f = 0; f < 8; ++f) {
            EXPECT_EQ(TextA(f, number, nullptr, 100), -3) << kTextGetters[f];
            EXPECT_EQ(TextW(f, number, nullptr, 100), -3) << kTextGetters[f];
        }
        EXPECT_EQ(Get<DrvkTextAFn>("DrvkGetDriveLetterA")(number, nullptr, 28), -3);
        EXPECT_EQ(Get<DrvkTextWFn>("DrvkGetDriveLetterW")(number, nullptr, 28), -3);
    }

    // A number that names no record: -1 and an emptied buffer, or the "none" answer of each function.
    void ExpectNoRecord(int32_t number) const {
        for (size_t f = 0; f < 8; ++f) {
            std::array<char, 16> ansi{'x'};
            std::array<wchar_t, 16> wide{L'x'};
            EXPECT_EQ(TextA(f, number, ansi.data(), 16), -1) << kTextGetters[f];
            EXPECT_EQ(TextW(f, number, wide.data(), 16), -1) << kTextGetters[f];
            EXPECT_EQ(ansi[0], 0);
            EXPECT_EQ(wide[0], 0);
        }
        std::array<wchar_t, 28> letters{L'x'};
        EXPECT_EQ(Get<DrvkTextWFn>("DrvkGetDriveLetterW")(number, letters.data(), 28), -1);
        EXPECT_EQ(letters[0], 0);
        EXPECT_EQ(DeviceHandle(number), 0u);
        EXPECT_EQ(Number("DrvkGetInterface", number), -1);
        EXPECT_EQ(Number("DrvkGetImageListIndex", number), -1);
        EXPECT_EQ(Number("DrvkCheckRemovableNo", number), 0);
        EXPECT_EQ(Number("DrvkCheckInsertDeviceNo", number), 0);
        EXPECT_EQ(Number("DrvkEjectDeviceNo", number), -1);
    }

    // Every record of a snapshot of `count` records answers every getter with a terminated text.
    void ExpectEveryRecordAnswers(int32_t count) const {
        for (int32_t number = 0; number < count; ++number) {
            SCOPED_TRACE(number);
            for (size_t f = 0; f < 8; ++f) {
                std::array<wchar_t, 600> wide;
                wide.fill(L'x');
                const int32_t result = TextW(f, number, wide.data(), 600);
                EXPECT_TRUE(result == 0 || (result == -1 && f == 4)) << kTextGetters[f];
                EXPECT_NE(std::find(wide.begin(), wide.end(), L'\0'), wide.end());
            }
            EXPECT_GE(Number("DrvkGetInterface", number), 0);
            EXPECT_LE(Number("DrvkGetInterface", number), 4);
        }
        ExpectNoRecord(count);
        ExpectNoRecord(-1);
    }

    HMODULE module_ = nullptr;
    std::map<std::string, FARPROC> procs_;
};

// The real library, loaded by name as a host beside it would.
class RealLibraryTest : public LibraryTest {
protected:
    void SetUp() override { Load(L"dravik.dll"); }
};

TEST_F(RealLibraryTest, ExportsExactlyTheThirtyEightNamesUndecorated) {
    EXPECT_EQ(AllExportNames().size(), 38u);
    EXPECT_EQ(ExportedNames(module_), AllExportNames());
    EXPECT_EQ(Get<DrvkVoidFn>("DrvkGetVersion")(), 1005);
}

// The machine's own device tree: Wine offers no removable device, so this shows that the system's interfaces are
// walked without a crash; the records themselves are checked on the described machine below.
TEST_F(RealLibraryTest, SnapshotsOfThisMachineAnswerForEveryNumber) {
    EXPECT_EQ(Snapshot(7), 0);
    ExpectNoRecord(0);
    for (const int32_t mode : {0, 1}) {
        SCOPED_TRACE(mode);
        const int32_t count = Snapshot(mode);
        ASSERT_GE(count, 0);
        ExpectEveryRecordAnswers(count);
    }
    EXPECT_EQ(Get<DrvkVoidFn>("DrvkReleaseDeviceData")(), 0);
}

TEST_F(RealLibraryTest, ImageListIsHeldFromTheFirstSnapshotUntilReleased) {
    EXPECT_EQ(Get<DrvkImageListFn>("DrvkGetImageListHandle")(), nullptr) << "no list before a snapshot";
    Snapshot(0);
    const bool held = Get<DrvkImageListFn>("DrvkGetImageListHandle")() != nullptr;
    EXPECT_EQ(Get<DrvkImageListFn>("DrvkRefreshImageListHandle")() != nullptr, held);
    Get<DrvkReleaseFn>("DrvkReleaseImageListHandle")();
    EXPECT_EQ(Get<DrvkImageListFn>("DrvkGetImageListHandle")(), nullptr);
}

// The same exports over the described machine of canned_machine_win.cpp, loaded afresh for every test:
// record 0 a USB stick (E: F:), 1 a built-in card reader (G:), 2 a mouse, 3 a stick that notepad keeps busy
// (H:); in drive mode a SATA disk first.
class CannedLibraryTest : public LibraryTest {
protected:
    void SetUp() override {
        std::wstring path(MAX_PATH, L'\0');
        path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
        Load(path.substr(0, path.find_last_of(L'\\')) + L"\\canned\\dravik.dll");
    }
};

TEST_F(CannedLibraryTest, EveryFieldReachesTheHostInBothForms) {
    ASSERT_EQ(Snapshot(0), 4);
    const char* const expected[] = {
        "SanDisk Ultra USB Device",
        "DiskDrive",
        "disk",
        "USBSTOR\\DISK&VEN_SANDISK&PROD_ULTRA&REV_1.00\\4C530001230531116211&0",
        "USB\\VID_0781&PID_5581\\4C530001230531116211",
        "USBSTOR\\DiskSanDisk_Ultra___________1.00",
        "Disk drive",
        "(Standard disk drives)",
    };
    for (size_t f = 0; f < 8; ++f) {
        std::array<char, 200> ansi{};
        std::array<wchar_t, 200> wide{};
        EXPECT_EQ(TextA(f, 0, ansi.data(), 200), 0);
        EXPECT_STREQ(ansi.data(), expected[f]);
        EXPECT_EQ(TextW(f, 0, wide.data(), 200), 0);
        EXPECT_EQ(std::wstring(wide.data()), Widen(expected[f]));
    }
    std::array<wchar_t, 28> letters{};
    std::array<char, 28> ansiLetters{};
    EXPECT_EQ(Get<DrvkTextWFn>("DrvkGetDriveLetterW")(0, letters.data(), 28), 2);
    EXPECT_EQ(std::wstring(letters.data()), L"EF");
    EXPECT_EQ(Get<DrvkTextAFn>("DrvkGetDriveLetterA")(0, ansiLetters.data(), 28), 2);
    EXPECT_STREQ(ansiLetters.data(), "EF");
    EXPECT_EQ(Get<DrvkTextWFn>("DrvkGetDriveLetterW")(2, letters.data(), 28), 0) << "the mouse";
    EXPECT_EQ(letters[0], 0);
    EXPECT_EQ(Number("DrvkGetImageListIndex", 0), 3);
    EXPECT_EQ(Number("DrvkGetInterface", 0), 1);
    EXPECT_EQ(Number("DrvkCheckRemovableNo", 0), 1);
    EXPECT_EQ(Number("DrvkCheckRemovableNo", 1), 0);
    EXPECT_EQ(Number("DrvkCheckInsertDeviceNo", 0), 1);
    EXPECT_EQ(Handle("DrvkCheckRemovableHandle", DeviceHandle(0)), 1);
    EXPECT_EQ(Handle("DrvkCheckInsertDeviceHandle", DeviceHandle(0)), 1);
    EXPECT_EQ(Get<DrvkNameAFn>("DrvkDriveToNoA")("f:"), 0);
    EXPECT_EQ(Get<DrvkNameWFn>("DrvkDriveToNoW")(L"g:\\"), 1);

    ASSERT_EQ(Snapshot(1), 4);
    EXPECT_EQ(Get<DrvkNameWFn>("DrvkDriveToNoW")(L"C:"), 0);
    EXPECT_EQ(Number("DrvkGetInterface", 0), 0);
}

TEST_F(CannedLibraryTest, EveryRecordOfBothSnapshotsAnswers) {
    for (const int32_t mode : {0, 1}) {
        SCOPED_TRACE(mode);
        const int32_t count = Snapshot(mode);
        ASSERT_EQ(count, 4);
        ExpectEveryRecordAnswers(count);
    }
    EXPECT_EQ(Get<DrvkVoidFn>("DrvkReleaseDeviceData")(), 0);
    ExpectNoRecord(0);
}

// Out of memory, every export answers its failure code: an exception let through would end the host (here the
// test program). A new export fails the first check until it is called here.
TEST_F(CannedLibraryTest, NoExportLetsAFailedAllocationReachTheHost) {
    std::array<char, 16> ansi{};
    std::array<wchar_t, 16> wide{};
    using Call = std::function<int64_t()>;
    std::map<std::string, std::pair<Call, std::optional<int64_t>>> calls = {
        {"DrvkGetDeviceData", {[&] { return Snapshot(0); }, 0}},
        {"DrvkReleaseDeviceData", {[&] { return Get<DrvkVoidFn>("DrvkReleaseDeviceData")(); }, 0}},
        {"DrvkGetDriveLetterA", {[&] { return Get<DrvkTextAFn>("DrvkGetDriveLetterA")(0, ansi.data(), 16); }, -1}},
        {"DrvkGetDriveLetterW", {[&] { return Get<DrvkTextWFn>("DrvkGetDriveLetterW")(0, wide.data(), 16); }, -1}},
        {"DrvkDriveToNoA", {[&] { return Get<DrvkNameAFn>("DrvkDriveToNoA")("E:"); }, -1}},
        {"DrvkDriveToNoW", {[&] { return Get<DrvkNameWFn>("DrvkDriveToNoW")(L"E:"); }, -1}},
        {"DrvkGetImageListIndex", {[&] { return Number("DrvkGetImageListIndex", 0); }, -1}},
        {"DrvkGetDeviceHandle", {[&] { return DeviceHandle(0); }, 0}},
        {"DrvkGetInterface", {[&] { return Number("DrvkGetInterface", 0); }, -1}},
        {"DrvkCheckRemovableNo", {[&] { return Number("DrvkCheckRemovableNo", 0); }, 0}},
        {"DrvkCheckInsertDeviceNo", {[&] { return Number("DrvkCheckInsertDeviceNo", 0); }, 0}},
        {"DrvkCheckInsertDeviceHandle", {[&] { return Handle("DrvkCheckInsertDeviceHandle", 2); }, 0}},
        {"DrvkCheckRemovableHandle", {[&] { return Handle("DrvkCheckRemovableHandle", 2); }, 0}},
        {"DrvkEjectDeviceHandle", {[&] { return Handle("DrvkEjectDeviceHandle", 2); }, -2}},
        {"DrvkEjectDeviceNo", {[&] { return Number("DrvkEjectDeviceNo", 0); }, -2}},
        {"DrvkEjectDeviceHandleVetoW",
         {[&] {
              int32_t vetoType = 0;
              return Get<DrvkEjectVetoWFn>("DrvkEjectDeviceHandleVetoW")(2, &vetoType, wide.data(), 16);
          },
          -2}},
        {"DrvkEjectDeviceDriveNameA", {[&] { return EjectNameA("E:"); }, -1}},
        {"DrvkEjectDeviceDriveNameW", {[&] { return EjectNameW(L"E:"); }, -1}},
        {"DrvkGetImageListHandle",
         {[&] { return reinterpret_cast<intptr_t>(Get<DrvkImageListFn>("DrvkGetImageListHandle")()); }, 0}},
        {"DrvkRefreshImageListHandle",
         {[&] { return reinterpret_cast<intptr_t>(Get<DrvkImageListFn>("DrvkRefreshImageListHandle")()); }, {}}},
        {"DrvkReleaseImageListHandle", {[&] { return (Get<DrvkReleaseFn>("DrvkReleaseImageListHandle")(), 0); }, 0}},
        {"DrvkGetVersion", {[&] { return Get<DrvkVoidFn>("DrvkGetVersion")(); }, 0}},
    };
    for (size_t f = 0; f < 8; ++f) {
        calls[std::string(kTextGetters[f]) + "A"] = {[&, f] { return TextA(f, 0, ansi.data(), 16); }, -1};
        calls[std::string(kTextGetters[f]) + "W"] = {[&, f] { return TextW(f, 0, wide.data(), 16); }, -1};
    }
    std::vector<std::string> called;
    for (const auto& entry : calls)
        called.push_back(entry.first);
    ASSERT_EQ(called, AllExportNames());

    const auto failAllocations =
        reinterpret_cast<void (*)(int)>(reinterpret_cast<void*>(GetProcAddress(module_, "CannedFailAllocations")));
    ASSERT_NE(failAllocations, nullptr);
    failAllocations(1);
    for (const auto& [name, call] : calls) {
        const int64_t result = call.first();
        if (call.second) {
            EXPECT_EQ(result, *call.second) << name;
        }
    }
    failAllocations(0);
    EXPECT_EQ(Snapshot(0), 4) << "the library works again once memory is back";
}

TEST_F(CannedLibraryTest, BuffersAreNeverOverrunAndAlwaysTerminated) {
    const int32_t count = Snapshot(0);
    ASSERT_EQ(count, 4);
    ExpectNullBuffersRefused(0);
    ExpectNoRecord(count);

    std::array<wchar_t, 8> wide;
    std::array<char, 8> ansi;
    wide.fill(L'x');
    ansi.fill('x');
    EXPECT_EQ(TextW(0, 0, wide.data(), 5), 0);
    EXPECT_EQ(std::wstring(wide.data()), L"SanD");
    EXPECT_EQ(wide[5], L'x');
    EXPECT_EQ(TextA(0, 0, ansi.data(), 5), 0);
    EXPECT_STREQ(ansi.data(), "SanD");
    EXPECT_EQ(ansi[5], 'x');
    for (const int32_t size : {0, -1}) {
        wide.fill(L'x');
        ansi.fill('x');
        EXPECT_EQ(TextW(0, 0, wide.data(), size), 0);
        EXPECT_EQ(TextA(0, 0, ansi.data(), size), 0);
        EXPECT_EQ(wide[0], L'x');
        EXPECT_EQ(ansi[0], 'x');
    }
    EXPECT_EQ(Get<DrvkTextWFn>("DrvkGetDriveLetterW")(0, wide.data(), 2), 1);
    EXPECT_EQ(std::wstring(wide.data()), L"E");
    EXPECT_EQ(TextW(4, 1, wide.data(), 8), -1) << "the built-in reader has no removable parent";
    EXPECT_EQ(wide[0], 0);
}

TEST_F(CannedLibraryTest, EjectCodesAndAnUndisturbedSnapshot) {
    ASSERT_EQ(Snapshot(0), 4);
    const uint32_t stick = DeviceHandle(0);
    // A drive nobody owns, or no name at all, ejects nothing.
    EXPECT_EQ(EjectNameW(L"Q:"), -1);
    EXPECT_EQ(EjectNameA("Q:"), -1);
    EXPECT_EQ(EjectNameW(nullptr), -1);
    EXPECT_EQ(EjectNameA(nullptr), -1);
    EXPECT_EQ(EjectNameA("f:\\"), 0);
    EXPECT_EQ(Handle("DrvkCheckInsertDeviceHandle", stick), 0);
    EXPECT_EQ(Handle("DrvkEjectDeviceHandle", stick), -2) << "nothing left to eject";

    std::array<char, 200> id{};
    EXPECT_EQ(TextA(3, 0, id.data(), 200), 0) << "the snapshot is the one taken before the ejects";
    EXPECT_STREQ(id.data(), "USBSTOR\\DISK&VEN_SANDISK&PROD_ULTRA&REV_1.00\\4C530001230531116211&0");
    EXPECT_EQ(DeviceHandle(0), stick);
    EXPECT_EQ(Snapshot(0), 3) << "a new snapshot no longer sees the stick";
}

} // namespace
