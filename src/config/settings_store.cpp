#include "config/settings_store.h"

#include <algorithm>
#include <utility>

#include "config/settings_values.h"
#include "config/temporary_files.h"
#include "services/excluded_programs.h"
#include "services/os_text.h"
#include "services/text.h"

namespace vantrel {

using config::IniDocument;

namespace {

constexpr std::u16string_view kOption = u"Option";

// A backup or sync tool, a virus scanner or an editor saving holds a file for moments: a read that finds it
// busy is tried again for about a second before the file counts as unreadable.
constexpr int kReadTries = 20;
constexpr int kReadRetryPauseMs = 50;

constexpr char16_t kNotReadRefusal[] =
    u"This file could not be read earlier, and saving now would replace the settings in it with the ones in use.";
constexpr char16_t kNotCopiedRefusal[] =
    u"The settings of the older folder have not been copied here yet; a file saved now would stop them from being "
    u"copied at the next start.";

// Why a file's content cannot be used, or nothing when it can (a file that does not exist reads as empty).
std::optional<std::u16string> UnreadableReason(const config::FileContent& content) {
    using Outcome = config::FileContent::Outcome;
    switch (content.outcome) {
    case Outcome::Read:
    case Outcome::Missing:
        return std::nullopt;
    case Outcome::TooLarge:
        return u"The file is larger than " + DecimalText(kMaxSettingsFileBytes >> 20) +
               u" MB, far more than any settings take, so it is not read.";
    case Outcome::Busy:
    case Outcome::Failed:
        break;
    }
    return content.reason;
}

std::u16string_view SectionName(ItemSection section) {
    return section == ItemSection::Program ? u"Program" : u"System";
}

std::u16string Numbered(std::u16string_view key, int32_t n) {
    return std::u16string(key) + DecimalText(n);
}

int32_t ReadInt(const IniDocument& doc, std::u16string_view section, std::u16string_view key, int32_t fallback) {
    const auto text = doc.Get(section, key);
    if (!text)
        return fallback;
    return ParseIniInteger(*text).value_or(fallback);
}

bool ReadBool(const IniDocument& doc, std::u16string_view section, std::u16string_view key, bool fallback) {
    const auto text = doc.Get(section, key);
    if (!text)
        return fallback;
    const auto value = ParseIniInteger(*text);
    return value ? *value != 0 : fallback;
}

std::u16string ReadText(const IniDocument& doc, std::u16string_view section, std::u16string_view key) {
    auto text = doc.Get(section, key).value_or(std::u16string());
    if (text.size() > kMaxFieldChars)
        text.resize(kMaxFieldChars);
    return text;
}

// The option keys in the order they are read and written, with their fields.
template <typename Visitor> void ForEachOptionKey(TOption& o, Visitor&& visit) {
    visit(u"VkKey", o.VkKey);
    visit(u"VkMod", o.VkMod);
    visit(u"MouseFlag", o.MouseFlag);
    visit(u"ColMax", o.ColMax);
    visit(u"RowMax", o.RowMax);
    visit(u"MousePositionFlag", o.MousePositionFlag);
    visit(u"KeyCursorFlag", o.KeyCursorFlag);
    visit(u"RightClickFlag", o.RightClickFlag);
    visit(u"FrameFlag", o.FrameType);
    visit(u"MoveCursorFlag", o.MoveCursorFlag);
    visit(u"DirectMoveOnlyFlag", o.DirectMoveOnlyFlag);
    visit(u"KeyPositionFlag", o.KeyPositionFlag);
    visit(u"KeyOnlyFlag", o.KeyOnlyFlag);
    visit(u"KeyNumberFlag", o.KeyNumberFlag);
    visit(u"DosFlag", o.DosFlag);
    visit(u"BackColor", o.BackColor);
    visit(u"TextColor", o.TextColor);
    visit(u"MouseHookFlag", o.MouseHookFlag);
    visit(u"WaitDesktop", o.WaitDesktop);
    visit(u"AltDisableFlag", o.AltDisableFlag);
    // Keys of later versions come last; an older version keeps them as they are.
    visit(u"FullScreenKeyOffFlag", o.FullScreenKeyOffFlag);
    visit(u"ColorScheme", o.ColorScheme);
}

// The programs vantrel leaves alone, in one value of their own after the flags.
constexpr std::u16string_view kExcludeListKey = u"ExcludeList";

struct OptionReader {
    const IniDocument& doc;
    void operator()(std::u16string_view key, int32_t& field) const { field = ReadInt(doc, kOption, key, field); }
    void operator()(std::u16string_view key, bool& field) const { field = ReadBool(doc, kOption, key, field); }
};

struct OptionWriter {
    IniDocument& doc;
    void operator()(std::u16string_view key, int32_t& field) const { doc.Set(kOption, key, FormatIniInteger(field)); }
    void operator()(std::u16string_view key, bool& field) const { doc.Set(kOption, key, FormatIniBoolean(field)); }
};

} // namespace

SettingsStore::SettingsStore(config::SettingsFileSystem& files, std::u16string baseFolder, config::AnsiDecoder ansi,
                             FailureReporter reportFailure)
    : SettingsStore(files, InstalledSettingsLocation(baseFolder), std::move(ansi), std::move(reportFailure)) {}

SettingsStore::SettingsStore(config::SettingsFileSystem& files, SettingsLocation location, config::AnsiDecoder ansi,
                             FailureReporter reportFailure)
    : files_(files), location_(std::move(location)), ansi_(std::move(ansi)), reportFailure_(std::move(reportFailure)) {}

std::u16string SettingsStore::PathOf(int32_t fileNumber) const {
    return PathInFolder(location_.folder, SettingsFileLeafName(fileNumber));
}

std::u16string SettingsStore::FileName(int32_t fileNumber) {
    files_.CreateFolderTree(location_.folder);
    return PathOf(fileNumber);
}

bool SettingsStore::FileExists(int32_t fileNumber) {
    return files_.FileExists(FileName(fileNumber));
}

config::FileContent SettingsStore::ReadPatiently(const std::u16string& path) {
    for (int attempt = 1;; ++attempt) {
        config::FileContent content = files_.ReadAll(path, kMaxSettingsFileBytes);
        if (content.outcome != config::FileContent::Outcome::Busy || attempt >= kReadTries)
            return content;
        files_.Pause(kReadRetryPauseMs);
    }
}

std::optional<SettingsDocument> SettingsStore::ReadDocument(int32_t fileNumber, SettingsProblem problem) {
    const std::u16string path = FileName(fileNumber);
    config::FileContent content = ReadPatiently(path);
    if (const auto reason = UnreadableReason(content)) {
        reportFailure_({path, *reason, problem});
        if (!refused_.count(path))
            refused_[path] = {kNotReadRefusal, true};
        return std::nullopt;
    }
    if (const auto it = refused_.find(path); it != refused_.end() && it->second.liftedByRead)
        refused_.erase(it);
    SettingsDocument read{IniDocument::Parse(config::DecodeIniBytes(content.bytes, ansi_)), std::move(content.bytes)};
    return read;
}

bool SettingsStore::Refuses(int32_t fileNumber) const {
    return refused_.count(PathOf(fileNumber)) != 0;
}

bool SettingsStore::ReportIfRefused(int32_t fileNumber) {
    const std::u16string path = PathOf(fileNumber);
    const auto it = refused_.find(path);
    if (it == refused_.end())
        return false;
    reportFailure_({path, it->second.reason, SettingsProblem::NotSaved});
    return true;
}

bool SettingsStore::Update(int32_t fileNumber, const std::function<void(IniDocument&)>& change,
                           SettingsDocument* asRead) {
    const std::u16string path = FileName(fileNumber);
    if (ReportIfRefused(fileNumber))
        return false;
    config::FileContent content = ReadPatiently(path);
    // What the file holds now must be known: written over unread, it would lose every setting in it.
    if (const auto reason = UnreadableReason(content)) {
        reportFailure_({path, *reason, SettingsProblem::NotSaved});
        return false;
    }
    IniDocument doc = asRead && asRead->bytes == content.bytes
                          ? std::move(asRead->doc)
                          : IniDocument::Parse(config::DecodeIniBytes(content.bytes, ansi_));
    change(doc);
    std::u16string reason;
    if (files_.WriteAllAtomic(path, config::EncodeUtf16LeWithBom(doc.Serialize()), &reason))
        return true;
    reportFailure_({path, reason, SettingsProblem::NotSaved});
    return false;
}

TOption ReadOption(const IniDocument& doc) {
    TOption option;
    ForEachOptionKey(option, OptionReader{doc});
    ClampOption(option);
    option.ExcludeList = DecodeExcludedPrograms(doc.Get(kOption, kExcludeListKey).value_or(std::u16string()));
    return option;
}

bool SettingsStore::WriteOption(int32_t fileNumber, const TOption& option) {
    TOption copy = option;
    return Update(fileNumber, [&](IniDocument& doc) {
        ForEachOptionKey(copy, OptionWriter{doc});
        doc.Set(kOption, kExcludeListKey, EncodeExcludedPrograms(copy.ExcludeList));
    });
}

ItemList ReadItems(const IniDocument& doc, ItemSection section) {
    const std::u16string_view name = SectionName(section);
    ItemList items;
    for (int32_t k = 0; k < kMaxStoredItems; ++k) {
        RData item;
        item.Title = ReadText(doc, name, Numbered(u"Title", k));
        if (item.Title.empty())
            break;
        // Bits above the direct key carry nothing; a hand-edited value must not set them.
        item.Status = ReadInt(doc, name, Numbered(u"Status", k), 0) & 0xFFFF;
        item.IconIndex = ReadInt(doc, name, Numbered(u"IconIndex", k), 0);
        item.IconFileName = ReadText(doc, name, Numbered(u"IconFileName", k));
        item.ExeFileName = ReadText(doc, name, Numbered(u"ExeFileName", k));
        item.ArgumentName = ReadText(doc, name, Numbered(u"ArgumentName", k));
        item.DirectoryName = ReadText(doc, name, Numbered(u"DirectoryName", k));
        item.RunasFlag = ReadBool(doc, name, Numbered(u"RunasFlag", k), false);
        items.push_back(std::move(item));
    }
    return items;
}

bool SettingsStore::WriteItems(int32_t fileNumber, ItemSection section, const ItemList& items,
                               SettingsDocument* asRead) {
    const std::u16string_view name = SectionName(section);
    const auto write = [&](IniDocument& doc) {
        doc.ClearSection(name);
        const auto count = static_cast<int32_t>(std::min<std::size_t>(items.size(), kMaxStoredItems));
        for (int32_t k = 0; k < count; ++k) {
            const RData& item = items[static_cast<std::size_t>(k)];
            doc.Set(name, Numbered(u"Title", k), item.Title);
            doc.Set(name, Numbered(u"ExeFileName", k), item.ExeFileName);
            doc.Set(name, Numbered(u"IconFileName", k), item.IconFileName);
            doc.Set(name, Numbered(u"ArgumentName", k), item.ArgumentName);
            doc.Set(name, Numbered(u"DirectoryName", k), item.DirectoryName);
            doc.Set(name, Numbered(u"IconIndex", k), FormatIniInteger(item.IconIndex));
            doc.Set(name, Numbered(u"Status", k), FormatIniInteger(item.Status));
            doc.Set(name, Numbered(u"RunasFlag", k), FormatIniBoolean(item.RunasFlag));
        }
    };
    return Update(fileNumber, write, asRead);
}

bool SettingsStore::RemoveEnvironmentSettings(int32_t fileNumber, std::u16string* reason) {
    if (fileNumber != 1) {
        const std::u16string path = FileName(fileNumber);
        if (!files_.RemoveFile(path, reason))
            return false;
        // Gone, nothing in it can be lost: a new environment may be given the file.
        if (const auto it = refused_.find(path); it != refused_.end() && it->second.liftedByRead)
            refused_.erase(it);
        return true;
    }
    if (!files_.FileExists(FileName(1)))
        return true;
    // The option keys stay: nothing reads them until an environment is given this file again, and its creation
    // writes them all.
    return Update(1, [&](IniDocument& doc) {
        doc.ClearSection(SectionName(ItemSection::Program));
        doc.ClearSection(SectionName(ItemSection::System));
    });
}

EnvironmentList ReadEnvironmentList(const IniDocument& doc) {
    EnvironmentList list;
    list.IniNo = ReadInt(doc, kOption, u"IniNo", 1);
    list.IniMax = ReadInt(doc, kOption, u"IniMax", 1);
    for (int32_t i = 1; i <= kMaxEnvironments; ++i) {
        auto& slot = list.Slot(i);
        if (i > list.IniMax) {
            slot.IniOrder = -1;
            continue;
        }
        slot.IniPopup = ReadInt(doc, kOption, Numbered(u"IniPopup", i), 0);
        slot.IniName = doc.Get(kOption, Numbered(u"IniName", i)).value_or(DefaultEnvironmentName(i));
        slot.IniUserName = ReadText(doc, kOption, Numbered(u"IniUserName", i));
        slot.IniOrder = ReadInt(doc, kOption, Numbered(u"IniOrder", i), i);
    }
    NormaliseEnvironmentList(list);
    return list;
}

bool SettingsStore::WriteEnvironmentList(const EnvironmentList& list) {
    return Update(1, [&](IniDocument& doc) {
        for (int32_t i = 1; i <= kMaxEnvironments; ++i) {
            const auto& slot = list.Slot(i);
            doc.Set(kOption, Numbered(u"IniPopup", i), FormatIniInteger(slot.IniPopup));
            doc.Set(kOption, Numbered(u"IniName", i), slot.IniName);
            doc.Set(kOption, Numbered(u"IniOrder", i), FormatIniInteger(slot.IniOrder));
        }
    });
}

bool SettingsStore::WriteCurrentEnvironment(const EnvironmentList& list) {
    return Update(1, [&](IniDocument& doc) {
        doc.Set(kOption, u"IniNo", FormatIniInteger(list.IniNo));
        doc.Set(kOption, u"IniMax", FormatIniInteger(list.IniMax));
    });
}

void SettingsStore::RemoveLeftoverTemporaryFiles() {
    const std::u16string& folder = location_.folder;
    for (const std::u16string& name : files_.FileNames(folder))
        if (config::IsSettingsTemporaryFile(name))
            files_.RemoveFile(PathInFolder(folder, name));
}

void SettingsStore::MigrateSettingsFolder() {
    const std::u16string& newFolder = location_.folder;
    const std::u16string& oldFolder = location_.legacyFolder;
    const std::u16string first = PathInFolder(newFolder, SettingsFileLeafName(1));
    if (oldFolder.empty() || files_.FileExists(first))
        return;
    if (!files_.FileExists(PathInFolder(oldFolder, SettingsFileLeafName(1))))
        return;
    files_.CreateFolderTree(newFolder);
    // The first file last: the next start copies again for as long as it is missing.
    for (const int32_t n : {2, 3, 4, 5, 1}) {
        const std::u16string from = PathInFolder(oldFolder, SettingsFileLeafName(n));
        if (!files_.FileExists(from))
            continue;
        std::u16string reason;
        if (files_.CopyOver(from, PathInFolder(newFolder, SettingsFileLeafName(n)), &reason))
            continue;
        reportFailure_({from, reason, SettingsProblem::NotCopied});
        // Whatever this session saved into a first file would be taken for the copied settings next time.
        refused_[first] = {kNotCopiedRefusal, false};
        return;
    }
}

std::u16string SettingsFailureMessage(const SettingsFailure& failure, const SettingsLocation& location) {
    const std::u16string unread = u"The settings file\n" + failure.path + u"\ncould not be read.\n\n" + failure.reason;
    switch (failure.problem) {
    case SettingsProblem::NotRead:
        return unread + u"\n\nvantrel goes on with its default settings and saves nothing over this file, so nothing "
                        u"in it is lost. If another program, such as a backup or sync tool, has the file open, start "
                        u"vantrel again once it has finished.";
    case SettingsProblem::NotSwitched:
        return unread + u"\n\nThe environment in use stays. If another program, such as a backup or sync tool, has "
                        u"the file open, choose the environment again once it has finished.";
    case SettingsProblem::NotCopied:
        return u"The settings could not be copied from the older folder\n" + location.legacyFolder + u"\nto\n" +
               location.folder + u"\n\n" + failure.path + u":\n" + failure.reason +
               u"\n\nThe older folder is left as it is, and the copy is tried again at the next start. Until then "
               u"vantrel goes on with its default settings and does not save them.";
    case SettingsProblem::NotSaved:
        break;
    }
    std::u16string text = u"The settings could not be saved to\n" + failure.path + u"\n\n" + failure.reason +
                          u"\n\nThe settings in use are kept; the file on disk is unchanged.";
    if (location.portable)
        text += u"\n\nThis copy of vantrel is portable and keeps its settings in its own folder:\n" + location.folder +
                u"\nTo keep your changes, move that folder to a drive that can be written to, or remove its write "
                u"protection. To keep the settings in your user profile instead, delete the file " +
                std::u16string(kPortableMarkerName) + u" from the folder.";
    return text;
}

} // namespace vantrel
