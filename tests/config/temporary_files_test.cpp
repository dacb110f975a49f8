#include "config/temporary_files.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel::config {
namespace {

std::string Narrow(std::u16string_view text) {
    return std::string(text.begin(), text.end());
}

TEST(TemporaryFiles, OnlyTheTemporaryFilesOfTheSettingsFilesAreRecognised) {
    const std::pair<const char16_t*, bool> names[] = {
        {u"vantrel.ini.1a2b-0.tmp", true},
        {u"vantrel5.ini.ffffffff-ffffffff.tmp", true},
        {u"VANTREL2.INI.AB-C.TMP", true}, // file names do not care for case
        {u"vantrel.ini.1-2.tmp.keep", false},
        {u"vantrel.ini.123456789-1.tmp", false}, // more digits than a process number has
        {u"vantrel.ini.1x-2.tmp", false},
        {u"vantrel.ini.-1.tmp", false},
        {u"vantrel.ini.1-.tmp", false},
        {u"vantrel.ini1-2.tmp", false},
        {u"vantrel.ini.tmp", false},
        {u".1-2.tmp", false},
        {u"vantrel6.ini.1-2.tmp", false}, // no such settings file
        {u"vantrel1.ini.1-2.tmp", false},
        {u"other.ini.1-2.tmp", false},
        {u"notes.tmp", false},
        {u"vantrel.ini", false},
        {u"", false},
    };
    for (const auto& [name, ours] : names)
        EXPECT_EQ(IsSettingsTemporaryFile(name), ours) << Narrow(name);
}

TEST(TemporaryFiles, TheWritersNamesAreRecognised) {
    for (const uint32_t process : {0u, 1u, 0x1234u, 0xFFFFFFFFu})
        for (const uint32_t n : {0u, 15u, 16u, 0xFFFFFFFFu})
            for (const char16_t* leaf : {u"vantrel.ini", u"vantrel4.ini"}) {
                const std::u16string name = TemporaryFileName(leaf, process, n);
                EXPECT_TRUE(IsSettingsTemporaryFile(name)) << process << " " << n;
            }
    EXPECT_EQ(TemporaryFileName(u"C:\\s\\vantrel.ini", 0x1a2b, 31), u"C:\\s\\vantrel.ini.1a2b-1f.tmp");
}

} // namespace
} // namespace vantrel::config
