#pragma once
// Integer helpers of the tray grids and the character classes used for direct keys. Every function is total:
// settings files are edited by hand, so a column count of 0, a negative one or INT32_MAX must never divide by
// zero or overflow.

#include <array>
#include <cstdint>

#include "core/records.h"

namespace vantrel {

// Columns a grid is actually laid out with. The settings store keeps ColMax in this range too; the geometry
// clamps again so that a value that bypassed the store still gives a drawable window.
constexpr int32_t kMinColumns = 1;
constexpr int32_t kMaxColumns = 30;
int32_t EffectiveColumns(int32_t colMax);

// The nearest int32_t to a wider intermediate result.
int32_t SaturateToInt32(int64_t value);

// Row arithmetic on item indexes, division truncating toward zero. A divisor below 1 counts as 1 (a grid has
// at least one column); results that leave the int32_t range saturate.
int32_t RoundDownTo(int32_t a, int32_t b);       // first index of a's row
int32_t NextMultiple(int32_t a, int32_t b);      // first index of the next row
int32_t NextMultipleLess1(int32_t a, int32_t b); // last index of a's row
int32_t RemainderOf(int32_t a, int32_t b);       // a's column

// tray is 0, 1 or 2 and index names an item of that tray's list, shown or not (the registration dialog also
// reaches "not used" items).
bool IsValidCell(const std::array<TrayEntry, 3>& trays, int32_t tray, int32_t index);

// ASCII-only classes: direct keys and path letters are never locale-dependent.
bool IsDigitChar(char16_t c);
bool IsAsciiLetter(char16_t c);

} // namespace vantrel
