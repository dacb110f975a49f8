// The resident main window itself: its start-up, an environment switch and its exit, with the settings in a
// folder of the test's and a CD device that records what it is asked. The window runs on a thread of its own,
// because its end posts the quit message to the thread it lives on.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "app/vantrel_main_win.h"
#include "config/ini_document.h"
#include "config/temp_folder_win.h"

namespace vantrel::win {
namespace {

using vantrel::testing::PutFile;
using vantrel::testing::TempFolder;
using Log = std::vector<std::string>;

struct RecordingCd : MciDevice {
    Log* log = nullptr;
    uint32_t Open(uint16_t& id) override { return log->push_back("cd open"), id = 9, 0; }
    uint32_t SetTimeFormatMilliseconds(uint16_t) override { return 0; }
    uint32_t Close(uint16_t) override { return log->push_back("cd close"), 0; }
    uint32_t Status(uint16_t, uint32_t, std::optional<uint32_t>, uint32_t& value) override { return value = 0, 0; }
    uint32_t Play(uint16_t, std::optional<uint32_t>) override { return 0; }
    uint32_t Pause(uint16_t) override { return 0; }
    uint32_t SetDoor(uint16_t, bool) override { return 0; }
};

// Whether a window of this program holds the combination as its hot key: then nobody else can register it.
std::string HotKeyHeld(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, 0x7F00, modifiers, key))
        return "held";
    UnregisterHotKey(nullptr, 0x7F00);
    return "free";
}

class AppDataFolder {
public:
    explicit AppDataFolder(const std::wstring& folder) {
        wchar_t old[MAX_PATH] = {};
        had_ = GetEnvironmentVariableW(L"APPDATA", old, MAX_PATH) > 0;
        old_ = old;
        SetEnvironmentVariableW(L"APPDATA", folder.c_str());
    }
    ~AppDataFolder() { SetEnvironmentVariableW(L"APPDATA", had_ ? old_.c_str() : nullptr); }

private:
    bool had_ = false;
    std::wstring old_;
};

TEST(VantrelMainWin, TheCdDeviceAndTheHotKeyFollowTheEnvironment) {
    const TempFolder appData;
    const std::wstring folder = appData.Path(L"vantrel64");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    // Environment 1 uses the CD player and Ctrl+Alt+J; environment 2 has no CD player and Ctrl+Shift+K.
    ASSERT_TRUE(PutFile(folder + L"\\vantrel.ini",
                        config::EncodeUtf16LeWithBom(u"[Option]\r\nIniMax=2\r\nIniOrder2=2\r\n[System]\r\n"
                                                     u"Title0=CD\r\nExeFileName0=CD Player\r\nStatus0=3\r\n")));
    ASSERT_TRUE(
        PutFile(folder + L"\\vantrel2.ini", config::EncodeUtf16LeWithBom(u"[Option]\r\nVkKey=75\r\nVkMod=6\r\n")));
    const AppDataFolder settingsHere(appData.Folder());

    Log log;
    RecordingCd device;
    device.log = &log;
    const auto keys = [&](const char* moment) {
        log.push_back(std::string(moment) + ": Ctrl+Alt+J " + HotKeyHeld(MOD_CONTROL | MOD_ALT, 'J') +
                      ", Ctrl+Shift+K " + HotKeyHeld(MOD_CONTROL | MOD_SHIFT, 'K'));
    };
    std::thread resident([&] {
        VantrelMain main(&device);
        if (!main.Start()) {
            log.push_back("no window");
            return;
        }
        keys("started");
        main.ChangeEnvironment(2);
        keys("environment 2");
        main.ChangeEnvironment(1);
        keys("environment 1");
        DestroyWindow(main.Handle());
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        keys("closed");
    });
    resident.join();
    EXPECT_EQ(log, (Log{
                       "cd open",
                       "started: Ctrl+Alt+J held, Ctrl+Shift+K free",
                       "cd close",
                       "environment 2: Ctrl+Alt+J free, Ctrl+Shift+K held",
                       "cd open",
                       "environment 1: Ctrl+Alt+J held, Ctrl+Shift+K free",
                       "cd close",
                       "closed: Ctrl+Alt+J free, Ctrl+Shift+K free",
                   }));
}

} // namespace
} // namespace vantrel::win
