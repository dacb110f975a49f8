#pragma once
// The settings files on a real disk, and the system's ANSI code page for files without a byte-order mark.

#include "config/ini_document.h"
#include "config/settings_files.h"

namespace vantrel::config {

class Win32SettingsFiles : public SettingsFileSystem {
public:
    FileContent ReadAll(const std::u16string& path, std::size_t maxBytes) override;
    void Pause(int milliseconds) override;
    // Writes a temporary file beside the target, flushes it to the disk and moves it over the target in one
    // step. Until that move the old file is untouched; after a failure the temporary file is removed.
    bool WriteAllAtomic(const std::u16string& path, std::string_view bytes, std::u16string* reason) override;
    bool FileExists(const std::u16string& path) override;
    bool CopyOver(const std::u16string& from, const std::u16string& to, std::u16string* reason) override;
    bool RemoveFile(const std::u16string& path, std::u16string* reason) override;
    bool CreateFolderTree(const std::u16string& folder) override;
    std::vector<std::u16string> FileNames(const std::u16string& folder) override;
    bool RemoveFile(const std::u16string& path) override;
};

// Decodes with MultiByteToWideChar(CP_ACP), as the profile functions read a file without a byte-order mark.
AnsiDecoder AnsiCodePageDecoder();

} // namespace vantrel::config
