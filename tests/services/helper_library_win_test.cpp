// Binding of the optional helper library, with the test double built beside the tests.

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "config/temp_folder_win.h"
#include "services/helper_library_win.h"
#include "win/window_win.h"

namespace vantrel::win {
namespace {

std::wstring Fixture(const wchar_t* variant) {
    return ModuleFolder() + L"\\..\\fixtures\\" + variant + L"\\vanex.dll";
}

std::string ReadAll(const std::wstring& path) {
    std::ifstream in(path.c_str());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class HelperLibraryWin : public ::testing::Test {
protected:
    const std::wstring beside = ModuleFolder() + L"\\vanex.dll";
    const testing::TempFolder folder;
    const std::wstring log = folder.Path(L"calls.txt");

    void SetUp() override {
        DeleteFileW(beside.c_str());
        DeleteFileW(log.c_str());
        SetEnvironmentVariableW(L"VANEX_FIXTURE_LOG", log.c_str());
        SetEnvironmentVariableW(L"VANEX_FIXTURE_WINDOWS10", L"1");
    }
    void TearDown() override {
        DeleteFileW(beside.c_str());
        SetEnvironmentVariableW(L"VANEX_FIXTURE_LOG", nullptr);
        SetEnvironmentVariableW(L"VANEX_FIXTURE_WINDOWS10", nullptr);
    }
};

TEST_F(HelperLibraryWin, ALibraryPlantedInTheCurrentFolderIsNotLoaded) {
    const testing::TempFolder planted;
    ASSERT_TRUE(CopyFileW(Fixture(L"vanex").c_str(), planted.Path(L"vanex.dll").c_str(), FALSE));
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(planted.Folder().c_str());
    HelperLibrary helper;
    helper.Bind(1602);
    SetCurrentDirectoryW(previous);
    EXPECT_FALSE(helper.Loaded());
    EXPECT_FALSE(helper.IsWindows10()) << "an unbound library answers no";
    EXPECT_EQ(ReadAll(log), "");
}

TEST_F(HelperLibraryWin, TheLibraryBesideTheProgramIsBoundInitialisedAndReleased) {
    ASSERT_TRUE(CopyFileW(Fixture(L"vanex").c_str(), beside.c_str(), FALSE));
    {
        HelperLibrary helper;
        helper.Bind(1601);
        EXPECT_FALSE(helper.Loaded()) << "below version 1602 it is never loaded";
        helper.Bind(1602);
        ASSERT_TRUE(helper.Loaded());
        EXPECT_TRUE(helper.IsWindows10());
        SetEnvironmentVariableW(L"VANEX_FIXTURE_WINDOWS10", L"0");
        EXPECT_FALSE(helper.IsWindows10());
        SetEnvironmentVariableW(L"VANEX_FIXTURE_UWP_HWND", L"4660");
        EXPECT_TRUE(helper.IsUwpWindow(reinterpret_cast<HWND>(static_cast<intptr_t>(4660))));
        EXPECT_FALSE(helper.IsUwpWindow(reinterpret_cast<HWND>(static_cast<intptr_t>(4661))));
        SetEnvironmentVariableW(L"VANEX_FIXTURE_UWP_HWND", nullptr);
    }
    const std::string calls = ReadAll(log);
    EXPECT_EQ(calls.rfind("InitVantrelEx", 0), 0u) << calls;
    EXPECT_NE(calls.find("EndVantrelEx"), std::string::npos) << "released before unloading: " << calls;
}

TEST_F(HelperLibraryWin, MissingEntryPointsFallBack) {
    ASSERT_TRUE(CopyFileW(Fixture(L"vanex_partial").c_str(), beside.c_str(), FALSE));
    HelperLibrary helper;
    helper.Bind(1602);
    ASSERT_TRUE(helper.Loaded());
    EXPECT_TRUE(helper.IsWindows10());
    SetEnvironmentVariableW(L"VANEX_FIXTURE_UWP_HWND", L"*");
    EXPECT_FALSE(helper.IsUwpWindow(GetDesktopWindow()));
    EXPECT_EQ(helper.UwpAppIcon(GetDesktopWindow()), nullptr);
    SetEnvironmentVariableW(L"VANEX_FIXTURE_UWP_HWND", nullptr);
    helper.Unbind();
    EXPECT_EQ(ReadAll(log).find("InitVantrelEx"), std::string::npos);
}

} // namespace
} // namespace vantrel::win
