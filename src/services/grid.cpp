#include "services/grid.h"

#include <algorithm>
#include <limits>

namespace vantrel {

int32_t EffectiveColumns(int32_t colMax) {
    return std::clamp(colMax, kMinColumns, kMaxColumns);
}

int32_t SaturateToInt32(int64_t value) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

namespace {

// With b >= 1 the quotient never overflows, and the product fits in 64 bits.
int64_t RoundDown64(int32_t a, int32_t b) {
    const int64_t divisor = std::max(b, 1);
    return divisor * (a / divisor);
}

} // namespace

int32_t RoundDownTo(int32_t a, int32_t b) {
    return SaturateToInt32(RoundDown64(a, b));
}

int32_t NextMultiple(int32_t a, int32_t b) {
    return SaturateToInt32(RoundDown64(a, b) + std::max(b, 1));
}

int32_t NextMultipleLess1(int32_t a, int32_t b) {
    return SaturateToInt32(RoundDown64(a, b) + std::max(b, 1) - 1);
}

int32_t RemainderOf(int32_t a, int32_t b) {
    return SaturateToInt32(a - RoundDown64(a, b));
}

bool IsValidCell(const std::array<TrayEntry, 3>& trays, int32_t tray, int32_t index) {
    if (tray < 0 || tray > 2 || index < 0)
        return false;
    return static_cast<std::size_t>(index) < trays[static_cast<std::size_t>(tray)].Items.size();
}

bool IsDigitChar(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool IsAsciiLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

} // namespace vantrel
