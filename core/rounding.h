#pragma once

#include <cmath>

namespace quintor {

// A real to the nearest integer, halves to the even neighbour (gauges, chart bars, printer
// coordinates). Independent of the floating-point rounding mode in force.
inline long long roundHalfEven(long double value) {
    const long double lower = std::floor(value);
    const long double diff = value - lower;
    long long result = static_cast<long long>(lower);
    if (diff > 0.5L || (diff == 0.5L && (result % 2 != 0)))
        ++result;
    return result;
}

} // namespace quintor
