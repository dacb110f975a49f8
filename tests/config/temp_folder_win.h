#pragma once
// A fresh folder under the system's temporary folder, removed with its files when the test ends.

#include <windows.h>

#include <string>
#include <vector>

namespace vantrel::testing {

class TempFolder {
public:
    TempFolder() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static unsigned counter = 0;
        path_ = std::wstring(temp) + L"vantrel-ini-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        for (const auto& name : Names()) {
            const std::wstring file = path_ + L"\\" + name;
            SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileW(file.c_str()))
                RemoveDirectoryW(file.c_str());
        }
        RemoveDirectoryW(path_.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Folder() const { return path_; }
    std::wstring Path(const std::wstring& name) const { return path_ + L"\\" + name; }

    // Every entry of the folder except "." and "..".
    std::vector<std::wstring> Names() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data;
        const HANDLE find = FindFirstFileW((path_ + L"\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return names;
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..")
                names.push_back(name);
        } while (FindNextFileW(find, &data));
        FindClose(find);
        return names;
    }

private:
    std::wstring path_;
};

inline bool PutFile(const std::wstring& path, const std::string& bytes) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

} // namespace vantrel::testing
