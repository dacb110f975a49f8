#pragma once
// How numbers and flags are written to and read from the settings file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/records.h"

namespace vantrel {

// Decimal with an optional sign, "0x"/"0X" followed by hex digits, or "$" followed by hex digits. Hex takes
// up to eight digits and wraps into 32 bits (so "$FFFFFFFF" is -1, as the file format always allowed);
// anything else, including a decimal outside 32 bits, is no number.
std::optional<int32_t> ParseIniInteger(std::u16string_view text);

std::u16string FormatIniInteger(int32_t value);
inline std::u16string FormatIniBoolean(bool value) {
    return value ? u"1" : u"0";
}

// Brings hand-edited options into the ranges the program can act on. Values the program never acts on
// (DosFlag, RowMax) are kept as they are so that they round-trip.
void ClampOption(TOption& option);

// The longest text kept for one field of an item; beyond it a hand-edited line is cut.
constexpr std::size_t kMaxFieldChars = 32767;

// Number of columns of the trays that the layout can show.
constexpr int32_t kMinColumns = 1;
constexpr int32_t kMaxColumns = 30;

} // namespace vantrel
