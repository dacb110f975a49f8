#pragma once
// Settings files in memory, for the configuration models.

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "config/settings_files.h"

namespace vantrel::testing {

// Files in memory; writes can be made to fail to show that nothing is lost.
class FakeFiles : public config::SettingsFileSystem {
public:
    std::map<std::u16string, std::string> files;
    std::set<std::u16string> folders;
    // Held open by another program: how many more reads find the file busy (-1: every read).
    std::map<std::u16string, int> held;
    std::set<std::u16string> locked;     // cannot be deleted
    std::set<std::u16string> uncopyable; // a copy from it fails
    bool failWrites = false;
    int writes = 0;
    int reads = 0;
    int pauses = 0;

    config::FileContent ReadAll(const std::u16string& path, std::size_t maxBytes) override {
        using Outcome = config::FileContent::Outcome;
        ++reads;
        const auto it = files.find(path);
        if (it == files.end())
            return {};
        if (const auto busy = held.find(path); busy != held.end() && busy->second != 0) {
            if (busy->second > 0)
                --busy->second;
            return {
                Outcome::Busy, {}, u"The process cannot access the file because it is being used by another process."};
        }
        if (it->second.size() > maxBytes)
            return {Outcome::TooLarge, {}, {}};
        return {Outcome::Read, it->second, {}};
    }
    void Pause(int) override { ++pauses; }
    bool WriteAllAtomic(const std::u16string& path, std::string_view bytes, std::u16string* reason) override {
        if (failWrites) {
            *reason = u"There is not enough space on the disk.";
            return false;
        }
        ++writes;
        files[path] = std::string(bytes);
        return true;
    }
    bool FileExists(const std::u16string& path) override { return files.count(path) != 0; }
    bool CopyOver(const std::u16string& from, const std::u16string& to, std::u16string* reason) override {
        const auto it = files.find(from);
        if (it == files.end() || uncopyable.count(from)) {
            *reason = u"The process cannot access the file because it is being used by another process.";
            return false;
        }
        files[to] = it->second;
        return true;
    }
    bool RemoveFile(const std::u16string& path, std::u16string* reason) override {
        if (locked.count(path)) {
            *reason = u"The process cannot access the file because it is being used by another process.";
            return false;
        }
        files.erase(path);
        return true;
    }
    bool CreateFolderTree(const std::u16string& folder) override {
        folders.insert(folder);
        return true;
    }
    std::vector<std::u16string> FileNames(const std::u16string& folder) override {
        std::vector<std::u16string> names;
        const std::u16string prefix = folder + u"\\";
        for (const auto& [path, bytes] : files)
            if (path.rfind(prefix, 0) == 0 && path.find(u'\\', prefix.size()) == std::u16string::npos)
                names.push_back(path.substr(prefix.size()));
        return names;
    }
    bool RemoveFile(const std::u16string& path) override { return files.erase(path) != 0; }
};

} // namespace vantrel::testing
