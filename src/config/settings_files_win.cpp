#include "config/settings_files_win.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "config/temporary_files.h"
#include "services/text.h"
#include "win/strings_win.h"
#include "win/unique_handle_win.h"
#include "win/window_win.h"

namespace vantrel::config {

namespace {

using win::FromWide;
using win::ToWide;
using win::UniqueFileHandle;

// How often a move over the target is retried while another program (a virus scanner, an editor saving)
// holds the file open, and the pause between tries.
constexpr int kMoveTries = 5;
constexpr DWORD kMoveRetryPauseMs = 20;

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Fail(std::u16string* reason, DWORD code) {
    if (reason)
        *reason = FromWide(win::SystemErrorText(code));
    return false;
}

// A new, empty file beside the target whose name no other writer uses.
UniqueFileHandle CreateTemporaryBeside(const std::wstring& target, std::wstring* name, DWORD* error) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = ToWide(TemporaryFileName(FromWide(target), GetCurrentProcessId(), counter.fetch_add(1)));
        UniqueFileHandle file(
            CreateFileW(name->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file)
            return file;
        *error = GetLastError();
        if (*error != ERROR_FILE_EXISTS && *error != ERROR_ALREADY_EXISTS)
            break;
    }
    return UniqueFileHandle();
}

bool WriteEverything(HANDLE file, std::string_view bytes, DWORD* error) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 24));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            *error = GetLastError();
            if (*error == ERROR_SUCCESS)
                *error = ERROR_WRITE_FAULT;
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool MoveOver(const std::wstring& from, const std::wstring& to, DWORD* error) {
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        *error = GetLastError();
        const bool busy = *error == ERROR_SHARING_VIOLATION || *error == ERROR_LOCK_VIOLATION;
        if (!busy || attempt + 1 >= kMoveTries)
            return false;
        Sleep(kMoveRetryPauseMs);
    }
}

} // namespace

FileContent Win32SettingsFiles::ReadAll(const std::u16string& path, std::size_t maxBytes) {
    FileContent content;
    const auto failed = [&content](DWORD error) {
        using Outcome = FileContent::Outcome;
        content.outcome = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND      ? Outcome::Missing
                          : error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? Outcome::Busy
                                                                                              : Outcome::Failed;
        if (content.outcome != Outcome::Missing)
            content.reason = FromWide(win::SystemErrorText(error));
        content.bytes.clear();
        return content;
    };
    // Other programs may hold the file open, even to replace it; reading must not stand in their way.
    UniqueFileHandle file(CreateFileW(win::WidePtr(path), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return failed(GetLastError());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0)
        return failed(GetLastError());
    // Measured before anything is allocated, so that a huge file costs no memory.
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        content.outcome = FileContent::Outcome::TooLarge;
        return content;
    }
    content.bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < content.bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), content.bytes.data() + done, static_cast<DWORD>(content.bytes.size() - done), &read,
                      nullptr))
            return failed(GetLastError());
        if (read == 0)
            break; // the file shrank while we read it
        done += read;
    }
    content.bytes.resize(done);
    content.outcome = FileContent::Outcome::Read;
    return content;
}

void Win32SettingsFiles::Pause(int milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds));
}

bool Win32SettingsFiles::WriteAllAtomic(const std::u16string& path, std::string_view bytes, std::u16string* reason) {
    const std::wstring target = ToWide(path);
    // Windows refuses to move a file over a read-only one, Wine does not; the user's protection holds
    // on both.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return Fail(reason, ERROR_ACCESS_DENIED);
    std::wstring temporary;
    DWORD error = ERROR_SUCCESS;
    UniqueFileHandle file = CreateTemporaryBeside(target, &temporary, &error);
    if (!file)
        return Fail(reason, error);
    // The data must be on the disk before the move makes it the settings file; otherwise a power cut
    // right after the move could leave an empty file where the old one was.
    const bool written = WriteEverything(file.Get(), bytes, &error);
    const bool flushed = written && FlushFileBuffers(file.Get());
    if (written && !flushed)
        error = GetLastError();
    file.Reset();
    if (!flushed || !MoveOver(temporary, target, &error)) {
        DeleteFileW(temporary.c_str());
        return Fail(reason, error);
    }
    return true;
}

bool Win32SettingsFiles::FileExists(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(win::WidePtr(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32SettingsFiles::CopyOver(const std::u16string& from, const std::u16string& to, std::u16string* reason) {
    return CopyFileW(win::WidePtr(from), win::WidePtr(to), FALSE) != FALSE || Fail(reason, GetLastError());
}

bool Win32SettingsFiles::RemoveFile(const std::u16string& path, std::u16string* reason) {
    if (DeleteFileW(win::WidePtr(path)))
        return true;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return true;
    if (reason)
        *reason = FromWide(win::SystemErrorText(error));
    return false;
}

bool Win32SettingsFiles::CreateFolderTree(const std::u16string& folder) {
    const std::wstring path = ToWide(folder);
    if (IsFolder(path))
        return true;
    // Every prefix that ends before a separator, then the whole path. The drive ("C:"), a server name or
    // a folder that already exists simply fail to be created.
    for (std::size_t i = 1; i < path.size(); ++i)
        if (path[i] == L'\\' || path[i] == L'/')
            CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
    return IsFolder(path);
}

std::vector<std::u16string> Win32SettingsFiles::FileNames(const std::u16string& folder) {
    std::vector<std::u16string> names;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW((ToWide(folder) + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(FromWide(data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

bool Win32SettingsFiles::RemoveFile(const std::u16string& path) {
    return DeleteFileW(win::WidePtr(path)) != FALSE;
}

AnsiDecoder AnsiCodePageDecoder() {
    return [](std::string_view bytes) {
        std::u16string text;
        // MultiByteToWideChar takes an int length. Longer input goes in pieces cut after a line feed,
        // which is never the second byte of a double-byte character.
        constexpr std::size_t kPiece = 1u << 30;
        while (!bytes.empty()) {
            std::size_t piece = std::min(bytes.size(), kPiece);
            if (piece < bytes.size()) {
                const std::size_t feed = bytes.substr(0, piece).rfind('\n');
                if (feed != std::string_view::npos)
                    piece = feed + 1;
            }
            const int length = static_cast<int>(piece);
            const int count = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
            if (count > 0) {
                const std::size_t at = text.size();
                text.resize(at + static_cast<std::size_t>(count));
                MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(&text[at]), count);
            }
            bytes.remove_prefix(piece);
        }
        return text;
    };
}

} // namespace vantrel::config
