// The MCI side of the CD service: on a machine without a CD audio device (Wine has none) opening fails, every
// command answers at once, and the retry clock keeps the user interface running; with a drive (a fake driver in
// the system's place) every command of the CD Player item reaches it as meant.

#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "fake_cd_driver_win.h"
#include "services/cd_audio.h"
#include "services/cd_device_win.h"
#include "win/window_win.h"

namespace vantrel::win {
namespace {

// The fake driver registered as the "CDAudio" device until the end of the test (Wine finds MCI drivers under
// this key). It is loaded here as well, so that its record outlives the MCI's own loading and unloading of it.
class FakeCdDrive {
public:
    FakeCdDrive() {
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
        wchar_t value[MAX_PATH] = {};
        DWORD bytes = sizeof(value) - sizeof(wchar_t);
        had_ = RegQueryValueExW(key_, L"CDAudio", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &bytes) ==
               ERROR_SUCCESS;
        saved_ = value;
        const std::wstring driver = ModuleFolder() + L"\\vantrel_fake_cd.dll";
        Set(driver);
        module_ = LoadLibraryW(driver.c_str());
    }
    ~FakeCdDrive() {
        if (had_)
            Set(saved_);
        else
            RegDeleteValueW(key_, L"CDAudio");
        RegCloseKey(key_);
        if (module_)
            FreeLibrary(module_);
    }
    FakeCdRecord* Record() const {
        const auto record = reinterpret_cast<FakeCdRecordFn>(
            module_ ? reinterpret_cast<void*>(GetProcAddress(module_, "FakeCdDriverRecord")) : nullptr);
        return record ? record() : nullptr;
    }

private:
    void Set(const std::wstring& driver) {
        RegSetValueExW(key_, L"CDAudio", 0, REG_SZ, reinterpret_cast<const BYTE*>(driver.c_str()),
                       static_cast<DWORD>((driver.size() + 1) * sizeof(wchar_t)));
    }
    HKEY key_ = nullptr;
    bool had_ = false;
    std::wstring saved_;
    HMODULE module_ = nullptr;
};

TEST(CdDevice, TheCdPlayerCommandsReachTheDrive) {
    FakeCdDrive drive;
    FakeCdRecord* disc = drive.Record();
    ASSERT_NE(disc, nullptr);
    Win32MciDevice device;
    Win32CdClock clock({});
    CdAudio cd(device, clock);
    ASSERT_TRUE(cd.CdOpen());
    EXPECT_EQ(disc->opens, 1);
    EXPECT_EQ(disc->timeFormat, static_cast<uint32_t>(MCI_FORMAT_MILLISECONDS)) << "positions are milliseconds";

    cd.CdPlay(3);
    EXPECT_EQ(disc->position, FakeCdTrackStart(3)) << "&Play from a track starts at that track";
    cd.Toggle();
    EXPECT_EQ(cd.CdGetMode(), kMciModePause) << "the CD Player item pauses a playing disc";
    cd.Toggle();
    EXPECT_EQ(cd.CdGetMode(), kMciModePlay);
    EXPECT_FALSE(disc->playedFrom) << "and plays on from where it paused";
    cd.CdNextTrack();
    EXPECT_EQ(disc->position, FakeCdTrackStart(4));
    cd.CdPreviousTrack();
    cd.CdPreviousTrack();
    EXPECT_EQ(disc->position, FakeCdTrackStart(2));

    cd.CdEject();
    EXPECT_EQ(cd.CdGetMode(), kMciModeOpen);
    cd.CdPlay(0);
    EXPECT_EQ(disc->doorCloses, 1) << "playing closes an open door first";
    EXPECT_EQ(cd.CdGetMode(), kMciModePlay);

    cd.CdClose();
    EXPECT_EQ(disc->closes, 1);
}

TEST(CdDevice, WithoutACdDriveNothingOpensAndNothingWaits) {
    Win32MciDevice device;
    Win32CdClock clock({});
    CdAudio cd(device, clock);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(cd.CdOpen());
    cd.Toggle();
    cd.CdPlay(1);
    cd.CdNextTrack();
    cd.CdPreviousTrack();
    cd.CdEject();
    cd.CdClose();
    EXPECT_EQ(cd.CdGetMode(), 0u);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 2.0);
}

TEST(CdDevice, StatusOfADeviceThatIsNotOpenFails) {
    Win32MciDevice device;
    uint32_t value = 99;
    EXPECT_NE(device.Status(0, kMciStatusMode, std::nullopt, value), 0u);
    EXPECT_NE(device.Play(0, 1000), 0u);
}

TEST(CdDevice, WaitBetweenAttemptsLetsMessagesRun) {
    int pumped = 0;
    Win32CdClock clock([&] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message == WM_APP)
                ++pumped;
    });
    PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
    const uint32_t before = clock.TickCount();
    clock.WaitBetweenAttempts();
    EXPECT_EQ(pumped, 1);
    EXPECT_LE(clock.TickCount() - before, 1000u) << "a queued message ends the wait early";
}

} // namespace
} // namespace vantrel::win
