// The compiled help files beside the program against the topics the program asks for.
//
// A compiled help file keeps its context map in two internal streams: "/#IVB" holds a 32-bit byte count and
// then pairs of 32-bit numbers (context number, offset into "/#STRINGS"), and "/#STRINGS" holds the
// zero-terminated page names. The compiler stores both LZX-compressed, so they are read here through the
// system's own reader of the format (itss.dll, the storage the help viewer itself opens the file with), which
// also shows that each mapped page is really in the file.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "dialogs/dialog_ids.h"
#include "dialogs/environment_dialogs_win.h"
#include "dialogs/help_topics.h"
#include "dialogs/icon_setting_dialog_win.h"
#include "dialogs/option_dialog_win.h"
#include "dialogs/registration_dialog_win.h"
#include "services/system_win.h"
#include "support/fake_dialog_host.h"
#include "win/window_win.h"

namespace vantrel::win {

// IITStorage of itss.dll, up to the method used; the methods before it keep the vtable's order. Declared with
// external linkage: for an interface in an anonymous namespace that nothing in the program implements, the
// compiler concludes that no object of it can exist and turns the calls into traps.
struct IITStorage : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR*, IStorage*, DWORD, SNB, DWORD, IStorage**) = 0;
};

namespace {
constexpr CLSID kClsidITStorage = {0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
constexpr IID kIidITStorage = {0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

template <typename T> struct Released {
    T* p = nullptr;
    ~Released() {
        if (p)
            p->Release();
    }
};

struct HelpFile {
    bool opened = false;
    std::map<int32_t, std::string> map; // context number -> page
    std::set<std::string> missingPages; // mapped pages the file does not hold
};

std::vector<char> ReadStream(IStorage* storage, const wchar_t* name) {
    std::vector<char> bytes;
    Released<IStream> stream;
    if (FAILED(storage->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream.p)))
        return bytes;
    char buffer[4096];
    ULONG read = 0;
    while (SUCCEEDED(stream.p->Read(buffer, sizeof(buffer), &read)) && read > 0)
        bytes.insert(bytes.end(), buffer, buffer + read);
    return bytes;
}

HelpFile ReadHelpFile(const std::wstring& path) {
    HelpFile file;
    Released<IITStorage> its;
    if (FAILED(CoCreateInstance(kClsidITStorage, nullptr, CLSCTX_INPROC_SERVER, kIidITStorage,
                                reinterpret_cast<void**>(&its.p))))
        return file;
    Released<IStorage> storage;
    if (FAILED(its.p->StgOpenStorage(path.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &storage.p)))
        return file;
    file.opened = true;
    const std::vector<char> ivb = ReadStream(storage.p, L"#IVB");
    const std::vector<char> strings = ReadStream(storage.p, L"#STRINGS");
    uint32_t size = 0;
    if (ivb.size() >= 4)
        memcpy(&size, ivb.data(), 4);
    for (std::size_t at = 4; at + 8 <= ivb.size() && at + 8 <= 4 + size; at += 8) {
        uint32_t topic = 0;
        uint32_t offset = 0;
        memcpy(&topic, &ivb[at], 4);
        memcpy(&offset, &ivb[at + 4], 4);
        if (offset >= strings.size())
            continue;
        const std::string page(&strings[offset]);
        file.map[static_cast<int32_t>(topic)] = page;
        const std::wstring name(page.begin(), page.end());
        if (ReadStream(storage.p, name.c_str()).empty())
            file.missingPages.insert(page);
    }
    return file;
}

// Every topic the dialogs ask for, collected by asking each of them for help (F1 on a control, the title bar's
// "?") with a host that records the requests.
std::set<int32_t> TopicsTheDialogsAskFor() {
    Win32SystemQueries system;
    Win32IconSource icons{system};
    vantrel::testing::FakeDialogHost host;
    host.systemQueries = &system;
    host.icons = &icons;
    RData item;
    item.Title = u"Notepad";
    item.ExeFileName = system.WindowsDirectory() + u"\\notepad.exe";
    host.trays[ProgramTray].Items.push_back(item);
    auto f1 = [](HWND window) {
        HELPINFO info{sizeof(info)};
        info.iContextType = HELPINFO_WINDOW;
        info.hItemHandle = window;
        SendMessageW(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    };
    auto help = [&](HWND window) {
        f1(window);
        SendMessageW(GetAncestor(window, GA_ROOT), WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
    };
    {
        OptionDialog option(host);
        option.Open();
        const int pages = TabCtrl_GetItemCount(PropSheet_GetTabControl(option.Handle()));
        for (int page = 0; page < pages; ++page) {
            PropSheet_SetCurSel(option.Handle(), nullptr, page);
            help(GetWindow(PropSheet_IndexToHwnd(option.Handle(), page), GW_CHILD));
        }
        help(GetDlgItem(option.Handle(), IDCANCEL));
    }
    {
        EnvironmentSelectionDialog selection(host);
        selection.Open();
        help(GetDlgItem(selection.Handle(), IDC_SETLIST));
        SendMessageW(GetDlgItem(selection.Handle(), IDC_ADD), BM_CLICK, 0, 0);
        EXPECT_NE(selection.Settings(), nullptr) << "Add opens no environment settings";
        if (selection.Settings())
            help(GetDlgItem(selection.Settings()->Handle(), IDC_NAMEEDIT));
    }
    {
        RegistrationDialog registration(host);
        registration.Open();
        f1(GetDlgItem(registration.Handle(), IDOK));
    }
    {
        IconSettingDialog setting(host, [](int32_t) {});
        EXPECT_TRUE(setting.Open(nullptr, ProgramTray, 0, false, {})) << "the icon setting does not open";
        f1(GetDlgItem(setting.Handle(), IDOK));
    }
    host.trays = {}; // the item lets go of its icon before the icon source goes
    ProcessPendingMessages();
    std::set<int32_t> topics(host.topics.begin(), host.topics.end());
    // The tray menu's "&Help" asks for its own topic.
    topics.insert(kHelpTrayMenu);
    return topics;
}

class HelpFileWin : public ::testing::TestWithParam<const wchar_t*> {
protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
};

TEST_P(HelpFileWin, HoldsEveryTopicTheProgramAsksFor) {
    const std::wstring path = ModuleFolder() + L"\\" + GetParam();
    ASSERT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << "no help file beside the program";
    const HelpFile file = ReadHelpFile(path);
    ASSERT_TRUE(file.opened) << "the system cannot open the help file";
    EXPECT_TRUE(file.missingPages.empty())
        << "a context number names a page the file does not hold: " << *file.missingPages.begin();

    for (int32_t topic : kHelpTopics)
        EXPECT_TRUE(file.map.count(topic)) << "the help file has no topic " << topic;
    static const std::set<int32_t> asked = TopicsTheDialogsAskFor();
    EXPECT_EQ(asked, std::set<int32_t>(kHelpTopics.begin(), kHelpTopics.end())) << "a topic no dialog asks for";
    for (const auto& [topic, page] : file.map)
        EXPECT_TRUE(asked.count(topic)) << "topic " << topic << " (" << page << ") is asked for by nothing";
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, HelpFileWin, ::testing::Values(L"vantrel.chm", L"vantrelj.chm"));

} // namespace
} // namespace vantrel::win
