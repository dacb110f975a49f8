#pragma once
// What the settings store needs from the file system. The Win32 adapter writes through a temporary file
// in the same folder that then replaces the old file, so a crash or a full disk never leaves a torn file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::config {

// What reading a whole file gave.
struct FileContent {
    enum class Outcome {
        Read,
        Missing,  // there is no such file
        Busy,     // another program holds it open without sharing it, or has locked part of it
        TooLarge, // larger than the reader allowed; nothing was read
        Failed,   // any other reason
    };
    Outcome outcome = Outcome::Missing;
    std::string bytes;     // the content when Read
    std::u16string reason; // the system's reason (a readable sentence) when Busy or Failed
};

class SettingsFileSystem {
public:
    virtual ~SettingsFileSystem() = default;

    // The whole content of the file, unless it is larger than maxBytes.
    virtual FileContent ReadAll(const std::u16string& path, std::size_t maxBytes) = 0;

    // Waits before a read that found the file busy is tried again.
    virtual void Pause(int milliseconds) = 0;

    // Replaces the file's content atomically. On failure returns false, leaves the old file as it was and
    // puts the system's reason (a readable sentence) into *reason.
    virtual bool WriteAllAtomic(const std::u16string& path, std::string_view bytes, std::u16string* reason) = 0;

    virtual bool FileExists(const std::u16string& path) = 0;

    // Copies a file over an existing one; false with the system's reason when the source is missing or the copy
    // fails.
    virtual bool CopyOver(const std::u16string& from, const std::u16string& to, std::u16string* reason) = 0;

    // Deletes a file; true also when there was none. On failure the system's reason goes into *reason.
    virtual bool RemoveFile(const std::u16string& path, std::u16string* reason) = 0;

    // Creates a folder with every missing level; true when it exists afterwards.
    virtual bool CreateFolderTree(const std::u16string& folder) = 0;

    // Names (without folder) of the files in a folder, sub-folders left out; empty when it cannot be listed.
    virtual std::vector<std::u16string> FileNames(const std::u16string& folder) = 0;

    // Deletes a file; false when it is not there or another program holds it open.
    virtual bool RemoveFile(const std::u16string& path) = 0;
};

} // namespace vantrel::config
