#pragma once

#include "core/expected.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quintor {

// Six numbers in the order they were produced or typed. Two columns are the same column
// exactly when their bytes are equal in order (the same test as equal column texts).
using Column = std::array<std::uint8_t, 6>;

inline constexpr int columnTextLength = 17;

// Column text: each number in two characters (a blank before one below 10), one blank
// between neighbours: " 3 14 25 36 47 58".
std::string formatColumn(const Column& column);

// Reads the six numbers from the fixed fields of a column text (characters 1-3, 4-6, ...,
// 16-17): leading blanks skipped, then digits up to the first other character; no digit is 0.
Column readColumnFields(std::string_view text);

// Reads six blank-separated one- or two-character numbers. Bytes for which no number is
// found keep their previous value; a piece that is not a number fails with the runtime's
// message and leaves the column as it was.
Expected<Column> parseColumn(std::string_view text, const Column& previous);

// A number 0..99 in two characters, a blank in front below 10.
std::string twoDigitText(int number);

// True for the numbers of the board, 1..90.
inline constexpr bool isBoardNumber(int number) {
    return number >= 1 && number <= 90;
}

} // namespace quintor
