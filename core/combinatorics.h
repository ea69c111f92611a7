#pragma once

#include <cstdint>
#include <string>

namespace quintor {

// C(n, 6) as the program computes it: in double, 1 * 7 * 8 * ... * n / 1 / 2 / ... / (n - 6);
// 0 below six numbers.
double initialColumnCount(int markedCount);

// The same count as an exact integer, for loops and sizes.
std::uint64_t initialColumnCountExact(int markedCount);

// C(n, k) exactly; 0 when k < 0 or k > n. Exact for every n <= 90 and k <= 6.
std::uint64_t binomial(int n, int k);

// The count with no decimals, to the nearest whole number, without separators.
std::string initialColumnCountText(int markedCount);

} // namespace quintor
