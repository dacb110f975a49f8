#include "config/environments.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(Environments, MenuEntries) {
    EnvironmentList list;
    EXPECT_EQ(EnvironmentMenuCaption(list, 2), u"Environment2(&2)");
    EXPECT_FALSE(EnvironmentMenuVisible(list, 1)) << "one environment, not shown by default";

    list.IniMax = 3;
    list.Slot(2) = {u"Work", u"", 1, 2};
    list.Slot(3) = {u"Home", u"bob", 2, 3};
    EXPECT_TRUE(EnvironmentMenuVisible(list, 2));
    EXPECT_FALSE(EnvironmentMenuVisible(list, 3)) << "shown only while its user name is empty";
    list.Slot(3).IniUserName.clear();
    EXPECT_TRUE(EnvironmentMenuVisible(list, 3));
    list.Slot(4).IniPopup = 2;
    EXPECT_FALSE(EnvironmentMenuVisible(list, 4)) << "an empty slot is never offered";
}

} // namespace
} // namespace vantrel
