#pragma once
// What the crash test's writer writes: two Program lists of different lengths, so that a file cut anywhere
// differs from both complete files.

#include <string>

#include "core/records.h"

namespace vantrel::testing {

inline ItemList CrashTestItems(int which) {
    ItemList items;
    const int count = which == 0 ? 180 : 120;
    for (int k = 0; k < count; ++k) {
        RData item;
        const std::u16string n(1, static_cast<char16_t>(u'A' + k % 26));
        item.Title = (which == 0 ? u"Alpha " : u"Beta ") + n + std::u16string(40, u'x');
        item.ExeFileName = u"C:\\Program Files\\Tools\\" + n + u"\\tool.exe";
        item.ArgumentName = std::u16string(60, which == 0 ? u'a' : u'b');
        item.DirectoryName = u"C:\\Work";
        item.IconIndex = k;
        items.push_back(item);
    }
    return items;
}

} // namespace vantrel::testing
