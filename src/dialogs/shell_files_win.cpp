#include "dialogs/shell_files_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "win/strings_win.h"

namespace vantrel::win {

namespace {

// Room for a long path chosen in the dialog.
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

// The link object answers in the caller's buffer and cuts, without a word, what does not fit: a text that fills
// the buffer is asked for again with twice the room.
constexpr int kLinkTextRoom = INFOTIPSIZE;
constexpr int kLinkTextMost = 65536;

template <typename Read> std::optional<std::wstring> ReadLinkText(const Read& read) {
    for (int room = kLinkTextRoom;; room *= 2) {
        std::wstring text(static_cast<std::size_t>(room), L'\0');
        if (!read(text.data(), room))
            return std::nullopt;
        const std::size_t length = wcsnlen(text.data(), static_cast<std::size_t>(room));
        if (length + 1 < static_cast<std::size_t>(room) || room >= kLinkTextMost) {
            text.resize(length);
            return text;
        }
    }
}

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

ShellShortcutResolver::ShellShortcutResolver() : started_(GetTickCount64()) {}

std::u16string ShellShortcutResolver::ShortName(const std::u16string& path) {
    const DWORD needed = GetShortPathNameW(WidePtr(path), nullptr, 0);
    if (needed == 0)
        return path;
    std::wstring name(needed, L'\0');
    const DWORD written = GetShortPathNameW(WidePtr(path), name.data(), needed);
    if (written == 0 || written >= needed)
        return path;
    name.resize(written);
    return FromWide(name);
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
    const auto readPath = [&](wchar_t* text, int room) {
        WIN32_FIND_DATAW found{};
        return link.p->GetPath(text, room, &found, SLGP_UNCPRIORITY) == S_OK;
    };
    std::optional<std::wstring> target = ReadLinkText(readPath);
    if (!target || target->empty() || GetFileAttributesW(target->c_str()) == INVALID_FILE_ATTRIBUTES) {
        // A limit of 0 would mean the shell's default of three seconds: none is left, so no search.
        const uint32_t limit = ShortcutSearchLimit(GetTickCount64() - started_);
        if (limit == 0)
            return std::nullopt;
        const DWORD flags = SLR_NO_UI | SLR_NOUPDATE | (std::min<uint32_t>(limit, 0xFFFF) << 16);
        if (FAILED(link.p->Resolve(nullptr, flags)))
            return std::nullopt;
        target = ReadLinkText(readPath);
    }
    if (!target || target->empty())
        return std::nullopt;
    ShortcutLink result;
    result.target = FromWide(*target);
    if (const auto arguments =
            ReadLinkText([&](wchar_t* text, int room) { return SUCCEEDED(link.p->GetArguments(text, room)); }))
        result.arguments = FromWide(*arguments);
    if (const auto folder =
            ReadLinkText([&](wchar_t* text, int room) { return SUCCEEDED(link.p->GetWorkingDirectory(text, room)); }))
        result.directory = FromWide(*folder);
    return result;
}

} // namespace vantrel::win
