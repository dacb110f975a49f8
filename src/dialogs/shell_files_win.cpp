#include "dialogs/shell_files_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "win/strings_win.h"

namespace vantrel::win {

namespace {

// Room for a long path chosen in the dialog; the shortcut object answers in the classic 260.
constexpr DWORD kFileBuffer = 32768;

template <typename T> struct ComPtr {
    T* p = nullptr;
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p)
            p->Release();
    }
};

} // namespace

std::u16string FolderPart(const std::u16string& path) {
    const auto slash = path.find_last_of(u"\\/");
    if (slash == std::u16string::npos)
        return {};
    std::u16string folder = path.substr(0, slash);
    if (folder.size() == 2 && folder[1] == u':')
        folder += u'\\';
    return folder;
}

bool FolderExists(const std::u16string& path) {
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(WidePtr(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::u16string> AskOpenFile(const OpenFileRequest& request, const std::function<void(bool)>& modal) {
    std::wstring filter = ToWide(request.filter);
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    filter.push_back(L'\0');
    std::vector<wchar_t> file(kFileBuffer, L'\0');
    const std::wstring initial = ToWide(request.initialPath);
    if (initial.size() < kFileBuffer)
        std::copy(initial.begin(), initial.end(), file.begin());
    const std::wstring folder = ToWide(FolderPart(request.initialPath));
    const std::wstring title = ToWide(request.title);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = request.owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = kFileBuffer;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR | (request.mustExist ? OFN_FILEMUSTEXIST : 0);
    if (modal)
        modal(true);
    const BOOL chosen = GetOpenFileNameW(&ofn);
    if (modal)
        modal(false);
    if (!chosen)
        return std::nullopt;
    return FromWide(file.data());
}

std::optional<ShortcutLink> ShellShortcutResolver::ResolveShortcut(const std::u16string& path) {
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link.p))))
        return std::nullopt;
    ComPtr<IPersistFile> file;
    if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))))
        return std::nullopt;
    if (FAILED(file.p->Load(WidePtr(path), STGM_READ)))
        return std::nullopt;
    // Resolving a moved target may show the shell's own search window.
    if (modal_)
        modal_(true);
    const HRESULT resolved = link.p->Resolve(owner_, SLR_ANY_MATCH);
    if (modal_)
        modal_(false);
    if (FAILED(resolved))
        return std::nullopt;
    wchar_t target[MAX_PATH] = {};
    WIN32_FIND_DATAW found{};
    if (link.p->GetPath(target, MAX_PATH, &found, SLGP_UNCPRIORITY) != S_OK || !target[0])
        return std::nullopt;
    ShortcutLink result;
    result.target = FromWide(target);
    wchar_t text[MAX_PATH] = {};
    if (SUCCEEDED(link.p->GetArguments(text, MAX_PATH)))
        result.arguments = FromWide(text);
    text[0] = L'\0';
    if (SUCCEEDED(link.p->GetWorkingDirectory(text, MAX_PATH)))
        result.directory = FromWide(text);
    return result;
}

} // namespace vantrel::win
