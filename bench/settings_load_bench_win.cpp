// Settings load: 200 Program and 200 System items read by our store, against the same keys read one by one
// through GetPrivateProfileStringW. Prints both medians and the ratio, then what the size limit on settings files
// means: how large those 400 items are, and the time and memory a start spends on a file of short lines just under
// the limit and on one just over it.

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "config/settings_files_win.h"
#include "config/settings_store.h"
#include "services/text.h"
#include "win/strings_win.h"

namespace {

using namespace vantrel;

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

ItemList MakeItems(const char16_t* prefix) {
    ItemList items(200);
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto& item = items[i];
        const std::u16string n = DecimalText(static_cast<int64_t>(i));
        item.Title = std::u16string(prefix) + u" item " + n;
        item.ExeFileName = u"C:\\Program Files\\Vendor " + n + u"\\program" + n + u".exe";
        item.IconFileName = item.ExeFileName;
        item.ArgumentName = u"--profile " + n;
        item.DirectoryName = u"%TEMP%";
        item.IconIndex = static_cast<int32_t>(i % 4);
        item.Status = static_cast<int32_t>((i % 26 + 'A') << 8);
        item.RunasFlag = i % 7 == 0;
    }
    return items;
}

// Reads one section key by key through the system's profile functions, the way the older reader did.
std::size_t ReadSectionByProfileApi(const std::wstring& file, const wchar_t* section) {
    wchar_t value[2048];
    std::size_t count = 0;
    for (int k = 0; k < 200; ++k) {
        const std::wstring n = std::to_wstring(k);
        GetPrivateProfileStringW(section, (L"Title" + n).c_str(), L"", value, 2048, file.c_str());
        if (!value[0])
            break;
        for (const wchar_t* key : {L"Status", L"IconIndex", L"IconFileName", L"ExeFileName", L"ArgumentName",
                                   L"DirectoryName", L"RunasFlag"})
            GetPrivateProfileStringW(section, (key + n).c_str(), L"", value, 2048, file.c_str());
        ++count;
    }
    return count;
}

} // namespace

int wmain() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"vantrel-bench";
    config::Win32SettingsFiles files;
    SettingsStore store(files, win::FromWide(base), config::AnsiCodePageDecoder(), [](const SettingsFailure& f) {
        if (f.problem == SettingsProblem::NotSaved)
            std::fwprintf(stderr, L"write failed: %ls\n", win::WidePtr(f.reason));
    });
    store.WriteItems(1, ItemSection::Program, MakeItems(u"Program"));
    store.WriteItems(1, ItemSection::System, MakeItems(u"System"));
    store.WriteOption(1, TOption());
    const std::wstring file = win::ToWide(store.FileName(1));

    constexpr int kRuns = 15;
    std::vector<double> ours, api;
    for (int run = 0; run < kRuns; ++run) {
        double t0 = Now();
        // As the start reads it: the file once, then the items and the options from the one document.
        const auto read = store.ReadDocument(1, SettingsProblem::NotRead);
        if (!read)
            return 1;
        const auto program = ReadItems(read->doc, ItemSection::Program);
        const auto system = ReadItems(read->doc, ItemSection::System);
        const auto option = ReadOption(read->doc);
        ours.push_back(Now() - t0);
        if (program.size() != 200 || system.size() != 200 || option.ColMax != 7)
            return 1;

        t0 = Now();
        const std::size_t n = ReadSectionByProfileApi(file, L"Program") + ReadSectionByProfileApi(file, L"System");
        wchar_t value[64];
        for (const wchar_t* key : {L"VkKey",
                                   L"VkMod",
                                   L"MouseFlag",
                                   L"ColMax",
                                   L"RowMax",
                                   L"MousePositionFlag",
                                   L"KeyCursorFlag",
                                   L"RightClickFlag",
                                   L"FrameFlag",
                                   L"MoveCursorFlag",
                                   L"DirectMoveOnlyFlag",
                                   L"KeyPositionFlag",
                                   L"KeyOnlyFlag",
                                   L"KeyNumberFlag",
                                   L"DosFlag",
                                   L"BackColor",
                                   L"TextColor",
                                   L"MouseHookFlag",
                                   L"WaitDesktop",
                                   L"AltDisableFlag"})
            GetPrivateProfileStringW(L"Option", key, L"", value, 64, file.c_str());
        api.push_back(Now() - t0);
        if (n != 400)
            return 1;
    }
    const double a = Median(ours) * 1000, b = Median(api) * 1000;
    std::printf("settings load, 200 Program + 200 System items + options, median of %d runs\n", kRuns);
    std::printf("  our store:                 %8.2f ms\n", a);
    std::printf("  GetPrivateProfileStringW:  %8.2f ms (key by key)\n", b);
    std::printf("  ratio:                     %8.1f x faster\n", b / a);

    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
    std::printf("size limit %zu bytes; the file of 200 + 200 items: %lu bytes\n", kMaxSettingsFileBytes,
                data.nFileSizeLow);
    for (const std::size_t bytes : {kMaxSettingsFileBytes - 16, kMaxSettingsFileBytes + 16}) {
        // The worst case for memory: one-byte (ANSI) lines of one key each.
        std::string text = "[Option]\r\n";
        for (int n = 0; text.size() + 16 < bytes; ++n) {
            text += 'k';
            text += std::to_string(n % 100000);
            text += "=1\r\n";
        }
        text.resize(bytes, ';');
        HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(out);
        PROCESS_MEMORY_COUNTERS before{}, after{};
        GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof(before));
        const double t0 = Now();
        const auto read = store.ReadDocument(1, SettingsProblem::NotRead);
        const auto program = read ? ReadItems(read->doc, ItemSection::Program) : ItemList();
        const double t = (Now() - t0) * 1000;
        GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof(after));
        std::printf("  %8zu bytes of short lines: %s in %7.1f ms, peak memory +%zu MB\n", bytes,
                    read ? "read" : "refused", t, (after.PeakWorkingSetSize - before.PeakWorkingSetSize) >> 20);
    }
    DeleteFileW(file.c_str());
    return 0;
}
