#include "services/grid.h"

#include <gtest/gtest.h>

#include <climits>

namespace vantrel {
namespace {

TEST(Grid, RowArithmeticIsTotal) {
    struct Case {
        int32_t a, b, roundDown, next, nextLess1, remainder;
    };
    const Case cases[] = {
        {6, 7, 0, 7, 6, 6},
        {7, 7, 7, 14, 13, 0}, // last of the first row, first of the second
        {-1, 7, 0, 7, 6, -1}, // truncation toward zero
        {5, 0, 5, 6, 5, 0},
        {5, -3, 5, 6, 5, 0}, // fewer than one column: one column
        {INT_MAX, 7, INT_MAX - 1, INT_MAX, INT_MAX, 1},
        {INT_MIN, -1, INT_MIN, INT_MIN + 1, INT_MIN, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "a=" << c.a << " b=" << c.b);
        EXPECT_EQ(RoundDownTo(c.a, c.b), c.roundDown);
        EXPECT_EQ(NextMultiple(c.a, c.b), c.next);
        EXPECT_EQ(NextMultipleLess1(c.a, c.b), c.nextLess1);
        EXPECT_EQ(RemainderOf(c.a, c.b), c.remainder);
    }
}

TEST(Grid, IsValidCellCountsEveryItemOfTheList) {
    std::array<TrayEntry, 3> trays;
    trays[ProgramTray].Items.resize(3);
    trays[ProgramTray].Items[1].Status = StatusNotUsed; // the registration dialog reaches it too
    EXPECT_TRUE(IsValidCell(trays, 0, 1));
    EXPECT_TRUE(IsValidCell(trays, 0, 2));
    const std::pair<int32_t, int32_t> invalid[] = {{0, 3}, {0, -1}, {1, 0}, {1, -1}, {3, 0}, {-1, 0}};
    for (const auto& [tray, index] : invalid)
        EXPECT_FALSE(IsValidCell(trays, tray, index)) << tray << "," << index;
}

} // namespace
} // namespace vantrel
