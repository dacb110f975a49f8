// The MCI side of the CD service on a machine without a CD audio device (Wine has none): opening fails,
// every command answers at once, and the retry clock keeps the user interface running.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>

#include "services/cd_audio.h"
#include "services/cd_device_win.h"

namespace vantrel::win {
namespace {

TEST(CdDevice, WithoutACdDriveNothingOpensAndNothingWaits) {
    Win32MciDevice device;
    Win32CdClock clock({});
    CdAudio cd(device, clock);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(cd.CdOpen());
    EXPECT_FALSE(cd.IsOpen());
    EXPECT_NE(cd.CdLastResult(), 0u);
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
