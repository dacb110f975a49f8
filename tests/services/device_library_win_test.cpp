// Binding dravik.dll the way the resident core does: from the program's folder only, all four functions or
// none, and the drive list rebuilt when a device change is posted.

#include <windows.h>

#include <dbt.h>

#include <string>

#include <gtest/gtest.h>

#include "config/temp_folder_win.h"
#include "services/device_library_win.h"
#include "services/device_list.h"
#include "services/usb_stop_all.h"
#include "win/window_win.h"

namespace vantrel::win {
namespace {

using vantrel::testing::TempFolder;

bool IsLoaded(const std::wstring& path) {
    return GetModuleHandleW(path.c_str()) != nullptr;
}

// Does with WM_DEVICECHANGE what the main window does.
class DeviceChangeWindow : public Window {
public:
    DeviceChangeWindow(DeviceLibraryFunctions& library, DeviceList& list) : library_(library), list_(list) {
        Create(L"VantrelDeviceChangeTest", L"", 0, 0, 0, 0, 0, 0, HWND_MESSAGE);
    }
    void PostDeviceChange() {
        PostMessageW(Handle(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    int changes = 0;

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DEVICECHANGE) {
            ++changes;
            RefreshDeviceList(library_, list_);
            return TRUE;
        }
        return DefaultProc(message, wParam, lParam);
    }
    DeviceLibraryFunctions& library_;
    DeviceList& list_;
};

TEST(DeviceLibraryWin, BindsTheLibraryBesideTheProgramAndRefreshes) {
    DeviceLibrary library(1601);
    ASSERT_TRUE(library.BindDeviceLibrary());
    EXPECT_TRUE(IsLoaded(ModuleFolder() + L"\\dravik.dll"));
    EXPECT_TRUE(library.BindDeviceLibrary()) << "bound once, answered at once";
    DeviceList list = {{42, u"Z"}};
    EXPECT_TRUE(RefreshDeviceList(library, list));
    for (const RDeviceData& device : list) {
        EXPECT_FALSE(device.DriveLetter.empty());
        EXPECT_NE(device.Di, 42);
    }
}

TEST(DeviceLibraryWin, PostedDeviceChangeRebuildsTheList) {
    // The test build of the library describes a USB stick (E: F:), a built-in reader (G:), a mouse and a stick
    // that notepad keeps busy (H:).
    DeviceLibrary library(1601, ModuleFolder() + L"\\canned");
    DeviceList list = {{42, u"Z"}};
    DeviceChangeWindow window(library, list);
    ASSERT_NE(window.Handle(), nullptr);

    window.PostDeviceChange();
    EXPECT_EQ(window.changes, 1);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].DriveLetter, u"EF");
    EXPECT_EQ(list[1].DriveLetter, u"G");
    EXPECT_NE(list[0].Di, 0);
    EXPECT_EQ(list[0].Name, u"SanDisk Ultra USB Device");
    EXPECT_TRUE(list[0].Removable);
    EXPECT_FALSE(list[1].Removable) << "the built-in reader";

    EXPECT_EQ(library.EjectDeviceHandle(static_cast<uint32_t>(list[0].Di)), 0);
    window.PostDeviceChange();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].DriveLetter, u"G");

    // The quiet eject reaches the library: the busy stick says who keeps it.
    const auto stops = StopAllUsbDrives(library, list);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].letters, u"H");
    EXPECT_FALSE(stops[0].stopped);
    EXPECT_EQ(stops[0].vetoType, 3);
    EXPECT_EQ(stops[0].vetoName, u"notepad.exe");
}

TEST(DeviceLibraryWin, WithoutTheLibraryNothingChanges) {
    const TempFolder empty;
    DeviceLibrary missing(1601, empty.Folder());
    DeviceList list = {{42, u"Z"}};
    DeviceChangeWindow window(missing, list);
    window.PostDeviceChange();
    EXPECT_EQ(window.changes, 1);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Di, 42);
    EXPECT_EQ(missing.GetDeviceData(0), 0);
    EXPECT_EQ(missing.EjectDeviceHandle(1), -2);

    const std::wstring canned = ModuleFolder() + L"\\canned";
    DeviceLibrary tooOld(1499, canned);
    EXPECT_FALSE(tooOld.BindDeviceLibrary());
    EXPECT_FALSE(IsLoaded(canned + L"\\dravik.dll")) << "never loaded below version 1500";
}

TEST(DeviceLibraryWin, CopyPlantedInTheCurrentFolderIsNotLoaded) {
    const TempFolder planted, program;
    const std::wstring canned = ModuleFolder() + L"\\canned\\dravik.dll";
    ASSERT_TRUE(CopyFileW(canned.c_str(), planted.Path(L"dravik.dll").c_str(), FALSE));
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(planted.Folder().c_str()));
    {
        DeviceLibrary library(1601, program.Folder());
        EXPECT_FALSE(library.BindDeviceLibrary());
        EXPECT_FALSE(DeviceLibrary(1601, L".").BindDeviceLibrary()) << "a relative folder is refused";
        EXPECT_FALSE(IsLoaded(planted.Path(L"dravik.dll")));

        // The failed load is tried again on the next call, and finds the library once it is there.
        ASSERT_TRUE(CopyFileW(canned.c_str(), program.Path(L"dravik.dll").c_str(), FALSE));
        EXPECT_TRUE(library.BindDeviceLibrary());
        EXPECT_TRUE(IsLoaded(program.Path(L"dravik.dll")));
        EXPECT_FALSE(IsLoaded(planted.Path(L"dravik.dll")));
    }
    SetCurrentDirectoryW(previous);
}

TEST(DeviceLibraryWin, LibraryMissingFunctionsIsNeverHalfBound) {
    // Only the drive-letter function is there; asking again must not find the library bound.
    DeviceLibrary partial(1601, ModuleFolder() + L"\\partial");
    EXPECT_FALSE(partial.BindDeviceLibrary());
    EXPECT_FALSE(partial.BindDeviceLibrary());
    EXPECT_FALSE(partial.Bound());
    DeviceList list = {{42, u"Z"}};
    EXPECT_FALSE(RefreshDeviceList(partial, list));
    EXPECT_EQ(list.size(), 1u);
}

} // namespace
} // namespace vantrel::win
