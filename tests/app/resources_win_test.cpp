// vantrel.exe's icons are found by number; other code relies on 5 (sleep), 6 (CD player) and 7 (the small
// tray icon of older systems). Each is compared pixel for pixel with its source file.

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "services/os_info_win.h"
#include "support/pixels_win.h"
#include "win/window_win.h"

#ifndef VANTREL_ICON_DIR
#error "VANTREL_ICON_DIR names the folder of the icon sources"
#endif

namespace vantrel::win {
namespace {

using vantrel::testing::IconPixels;

TEST(ProgramIcons, NumbersMatchTheirNames) {
    const std::wstring exe = ModuleFolder() + L"\\vantrel.exe";
    ASSERT_NE(GetFileAttributesW(exe.c_str()), INVALID_FILE_ATTRIBUTES) << "vantrel.exe beside the test program";
    EXPECT_EQ(ExtractIconExW(exe.c_str(), -1, nullptr, nullptr, 0), 8u);

    const wchar_t* files[] = {L"mainicon", L"pcdimage", L"pcdplay", L"pcdstop",
                              L"start",    L"tstandby", L"xcd",     L"xsmall"};
    for (int index = 0; index < 8; ++index) {
        HICON fromExe = nullptr;
        ASSERT_EQ(ExtractIconExW(exe.c_str(), index, &fromExe, nullptr, 1), 1u) << index;
        const std::wstring source = std::wstring(VANTREL_ICON_DIR) + L"/" + files[index] + L".ico";
        HICON fromFile = static_cast<HICON>(LoadImageW(nullptr, source.c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE));
        ASSERT_NE(fromFile, nullptr) << "cannot read " << index;
        EXPECT_EQ(IconPixels(fromExe), IconPixels(fromFile)) << "icon number " << index << " is not " << files[index];
        DestroyIcon(fromExe);
        DestroyIcon(fromFile);
    }
}

// Every icon carries its own image at each size the program or the shell draws it, 16 to 256 pixels (the larger ones
// PNG-compressed), and each image decodes: one that did not would leave a blank cell at 150 or 200 %.
TEST(ProgramIcons, EveryIconHasADecodableImageOfEverySize) {
    const std::wstring exe = ModuleFolder() + L"\\vantrel.exe";
    const HMODULE file =
        LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(file, nullptr);
    // The group directory: a header of three words, then 14 bytes per image ending in the image's resource number.
    struct Found {
        HMODULE file;
        int groups = 0;
        std::vector<std::wstring> faults;
    } found{file};
    EnumResourceNamesW(
        file, RT_GROUP_ICON,
        [](HMODULE module, LPCWSTR, LPWSTR name, LONG_PTR data) -> BOOL {
            auto& f = *reinterpret_cast<Found*>(data);
            ++f.groups;
            const HRSRC group = FindResourceW(module, name, RT_GROUP_ICON);
            const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
            const WORD count = *reinterpret_cast<const WORD*>(dir + 4);
            std::vector<int> sizes;
            for (WORD i = 0; i < count; ++i) {
                const BYTE* entry = dir + 6 + 14 * i;
                const int size = entry[0] ? entry[0] : 256;
                sizes.push_back(size);
                const WORD id = *reinterpret_cast<const WORD*>(entry + 12);
                const HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(id), RT_ICON);
                auto* bits = static_cast<BYTE*>(LockResource(LoadResource(module, image)));
                const HICON icon = CreateIconFromResourceEx(bits, SizeofResource(module, image), TRUE, 0x00030000, size,
                                                            size, LR_DEFAULTCOLOR);
                if (!icon)
                    f.faults.push_back(L"an image of " + std::to_wstring(size) + L" pixels does not decode");
                DestroyIcon(icon);
            }
            if (sizes != std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256})
                f.faults.push_back(L"a group lacks a size");
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&found));
    FreeLibrary(file);
    EXPECT_EQ(found.groups, 8);
    for (const std::wstring& fault : found.faults)
        ADD_FAILURE() << std::string(fault.begin(), fault.end());
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return L"<missing>";
    return std::wstring(value, wcsnlen(value, length));
}

// The project's one version number reaches the fixed and the text versions alike, and the About text reads it.
TEST(ProgramIcons, VersionResource) {
    const std::wstring exe = ModuleFolder() + L"\\vantrel.exe";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length));
    wchar_t fixed[64];
    swprintf(fixed, 64, L"%u.%u.%u.%u", HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
             HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
    EXPECT_EQ(std::wstring(fixed), VANTREL_VERSION_TEXT);
    EXPECT_EQ(info->dwProductVersionMS, info->dwFileVersionMS);
    EXPECT_EQ(info->dwProductVersionLS, info->dwFileVersionLS);
    EXPECT_EQ(VersionString(block, L"FileVersion"), VANTREL_VERSION_TEXT);
    EXPECT_EQ(VersionString(block, L"ProductVersion"), VANTREL_VERSION_TEXT);
    EXPECT_EQ(VersionString(block, L"ProductName"), L"vantrel");
    EXPECT_EQ(VersionString(block, L"FileDescription"), L"vantrel application launcher");
    EXPECT_EQ(VersionString(block, L"CompanyName"), L"vantrel developers");
    EXPECT_EQ(VersionString(block, L"LegalCopyright").rfind(L"Copyright (C) ", 0), 0u);

    EXPECT_EQ(FileVersionText(exe), std::wstring(L"Version ") + VANTREL_VERSION_TEXT);
    EXPECT_EQ(FileVersionText(ModuleFolder() + L"\\no such file.exe"), L"");
}

} // namespace
} // namespace vantrel::win
