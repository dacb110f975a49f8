// A process that dies in the middle of a settings write must not cost the file: the writer (settings_writer,
// the program's own store and file adapter) is killed at random moments, and after every kill the file is
// one of the two complete contents it alternates between. What the kills leave behind is tidied up by the
// next start, and nothing else in the settings folder is touched.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/resident.h"
#include "config/crash_writes.h"
#include "config/settings_files_win.h"
#include "config/temp_folder_win.h"
#include "config/temporary_files.h"
#include "services/cd_device_win.h"
#include "services/system_win.h"
#include "win/strings_win.h"
#include "win/window_win.h"

namespace vantrel {
namespace {

using testing::TempFolder;
using win::FromWide;

std::string Content(config::Win32SettingsFiles& files, const std::u16string& path) {
    const config::FileContent content = files.ReadAll(path, kMaxSettingsFileBytes);
    return content.outcome == config::FileContent::Outcome::Read ? content.bytes : "(no file)";
}

constexpr int kKills = 200;

struct Writer {
    PROCESS_INFORMATION process{};
    ~Writer() {
        if (process.hProcess) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, 5000);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
    }
};

void BusyWait(std::chrono::microseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < end) {
    }
}

// Names of the files in a folder.
std::vector<std::u16string> FilesIn(const std::wstring& folder) {
    config::Win32SettingsFiles files;
    return files.FileNames(FromWide(folder));
}

int OwnTemporaryFiles(const std::wstring& folder) {
    int count = 0;
    for (const auto& name : FilesIn(folder))
        count += config::IsSettingsTemporaryFile(name) ? 1 : 0;
    return count;
}

// The settings folder below a temporary folder, emptied and removed again at the end (the temporary folder
// itself removes only what lies directly in it).
class SettingsFolder {
public:
    explicit SettingsFolder(std::wstring path) : path_(std::move(path)) {
        Remove();
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~SettingsFolder() { Remove(); }
    const std::wstring& Path() const { return path_; }

private:
    void Remove() {
        for (const auto& name : FilesIn(path_))
            DeleteFileW((path_ + L"\\" + std::wstring(name.begin(), name.end())).c_str());
        RemoveDirectoryW(path_.c_str());
    }
    std::wstring path_;
};

// One writer's folder, killed again and again: what the file was after each kill.
struct Lane {
    std::wstring folder; // the settings folder, <base>\vantrel64
    std::string first, second;
    int seenFirst = 0, seenSecond = 0, withTemporary = 0;
    std::chrono::microseconds starting{0}; // spent waiting for writers to start
    std::string failure;                   // the first thing that went wrong; the lane stops there
};

void RunLane(Lane& lane, const std::wstring& base, int kills, unsigned seed, std::chrono::microseconds longest) {
    const std::wstring writer = win::ModuleFolder() + L"\\settings_writer.exe";
    const std::u16string ini = FromWide(lane.folder + L"\\vantrel.ini");
    config::Win32SettingsFiles files;
    std::mt19937 random(seed);
    std::uniform_int_distribution<long long> delay(0, longest.count());
    int before = 0;
    for (int kill = 0; kill < kills; ++kill) {
        const std::wstring eventName = L"vantrel-crash-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                       std::to_wstring(seed) + L"-" + std::to_wstring(kill);
        const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
        std::wstring command = L"\"" + writer + L"\" \"" + base + L"\" " + eventName;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        Writer child;
        if (!ready || !CreateProcessW(writer.c_str(), command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                      nullptr, nullptr, &startup, &child.process)) {
            lane.failure = "cannot start settings_writer.exe, error " + std::to_string(GetLastError());
            return;
        }
        const auto launched = std::chrono::steady_clock::now();
        const bool started = WaitForSingleObject(ready, 20000) == WAIT_OBJECT_0;
        lane.starting +=
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - launched);
        CloseHandle(ready);
        if (!started) {
            lane.failure = "kill " + std::to_string(kill) + ": the writer did not start";
            return;
        }
        const auto wait = std::chrono::microseconds(delay(random));
        BusyWait(wait);
        TerminateProcess(child.process.hProcess, 1);
        WaitForSingleObject(child.process.hProcess, 10000);

        const std::string now = Content(files, ini);
        if (now != lane.first && now != lane.second) {
            lane.failure = "kill " + std::to_string(kill) + " after " + std::to_string(wait.count()) + " us (seed " +
                           std::to_string(seed) + "): a file of " + std::to_string(now.size()) +
                           " bytes, neither of the complete ones (" + std::to_string(lane.first.size()) + ", " +
                           std::to_string(lane.second.size()) + ")";
            return;
        }
        (now == lane.first ? lane.seenFirst : lane.seenSecond)++;
        const int temporary = OwnTemporaryFiles(lane.folder);
        lane.withTemporary += temporary > before ? 1 : 0;
        before = temporary;
    }
}

TEST(SettingsCrash, AKilledWriterLeavesTheOldOrTheNewFileAndTheNextStartTidiesUp) {
    // Two writers are killed side by side, each in a folder of its own: starting a process is most of a kill's
    // time, and it waits for the system more than for the processor.
    constexpr int kLanes = 2;
    const TempFolder bases[kLanes];
    const SettingsFolder folders[kLanes] = {SettingsFolder(bases[0].Path(L"vantrel64")),
                                            SettingsFolder(bases[1].Path(L"vantrel64"))};
    Lane lanes[kLanes];
    const ItemList lists[2] = {testing::CrashTestItems(0), testing::CrashTestItems(1)};
    std::chrono::microseconds write{0};
    for (int i = 0; i < kLanes; ++i) {
        Lane& lane = lanes[i];
        lane.folder = folders[i].Path();
        ASSERT_NE(GetFileAttributesW(lane.folder.c_str()), INVALID_FILE_ATTRIBUTES);
        config::Win32SettingsFiles files;
        SettingsStore store(files, FromWide(bases[i].Folder()), config::AnsiCodePageDecoder(),
                            [](const SettingsFailure&) {});
        const std::u16string ini = FromWide(lane.folder + L"\\vantrel.ini");
        // The two complete files, and how long one write takes here.
        ASSERT_TRUE(store.WriteItems(1, ItemSection::Program, lists[0]));
        lane.first = Content(files, ini);
        ASSERT_TRUE(store.WriteItems(1, ItemSection::Program, lists[1]));
        lane.second = Content(files, ini);
        const auto start = std::chrono::steady_clock::now();
        for (int n = 0; n < 4; ++n)
            ASSERT_TRUE(store.WriteItems(1, ItemSection::Program, lists[n % 2]));
        write = std::max(
            write, std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start) / 4);
        ASSERT_EQ(Content(files, ini), lane.second) << "the same list gives the same file";
        ASSERT_NE(lane.first, lane.second);
    }

    // From before the first write to the third: every point of a write, and of the move that ends it.
    const unsigned seed = std::random_device{}();
    std::vector<std::thread> threads;
    for (int i = 0; i < kLanes; ++i)
        threads.emplace_back(RunLane, std::ref(lanes[i]), bases[i].Folder(), kKills / kLanes, seed + i, 3 * write);
    for (auto& thread : threads)
        thread.join();
    int seenFirst = 0, seenSecond = 0, withTemporary = 0;
    std::chrono::microseconds starting{0};
    for (const Lane& lane : lanes) {
        EXPECT_EQ(lane.failure, "");
        seenFirst += lane.seenFirst, seenSecond += lane.seenSecond, withTemporary += lane.withTemporary;
        starting += lane.starting;
    }
    const int kills = seenFirst + seenSecond;
    std::printf("%d kills (seed %u, one write %lld us, a writer's start %lld ms): %d left the first file, %d the "
                "second, %d a temporary file\n",
                kills, seed, static_cast<long long>(write.count()),
                static_cast<long long>(starting.count() / 1000 / std::max(kills, 1)), seenFirst, seenSecond,
                withTemporary);
    EXPECT_EQ(seenFirst + seenSecond, kKills);
    // Kills landed both between writes and inside them, or the test showed nothing.
    EXPECT_GT(seenFirst, 0);
    EXPECT_GT(seenSecond, 0);
    EXPECT_GT(withTemporary, 0) << "no kill landed between the start of a write and its move";

    const std::wstring folder = lanes[0].folder;
    config::Win32SettingsFiles files;
    SettingsStore store(files, FromWide(bases[0].Folder()), config::AnsiCodePageDecoder(),
                        [](const SettingsFailure&) {});
    const std::u16string ini = FromWide(folder + L"\\vantrel.ini");
    const std::string first = lanes[0].first;
    // The next start: the temporary files of the settings files go, every other file stays.
    const std::wstring others[] = {L"notes.tmp", L"vantrel.ini.bak", L"vantrel6.ini.1-2.tmp",
                                   L"vantrel.ini.1-2.tmp.keep"};
    for (const auto& name : others)
        ASSERT_TRUE(testing::PutFile(folder + L"\\" + name, "the user's"));
    // One more, as a kill inside the first step of a write would leave it, so that there is always one.
    ASSERT_TRUE(testing::PutFile(folder + L"\\vantrel.ini.fffe-0.tmp", ""));
    const std::string beforeStart = Content(files, ini);
    win::Win32SystemQueries system;
    win::Win32IconSource icons(system);
    win::Win32MciDevice device;
    win::Win32CdClock clock(nullptr);
    CdAudio cd(device, clock);
    ResidentServices services{store, system, icons, cd};
    ResidentState state;
    LoadSettings(state, services);
    EXPECT_EQ(OwnTemporaryFiles(folder), 0);
    for (const auto& name : others)
        EXPECT_TRUE(files.FileExists(FromWide(folder + L"\\" + name))) << std::string(name.begin(), name.end());
    EXPECT_EQ(state.ProgramList().size(), lists[beforeStart == first ? 0 : 1].size())
        << "the file that survived is read";
    CloseResident(state, services);
}

} // namespace
} // namespace vantrel
