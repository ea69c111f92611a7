#include "core/combinatorics.h"

#include <cmath>
#include <cstdio>

namespace quintor {

double initialColumnCount(int markedCount) {
    if (markedCount < 6)
        return 0.0;
    double v = 1.0;
    for (int k = 7; k <= markedCount; ++k)
        v *= k;
    for (int k = 1; k <= markedCount - 6; ++k)
        v /= k;
    return v;
}

std::uint64_t initialColumnCountExact(int markedCount) {
    return binomial(markedCount, 6);
}

std::uint64_t binomial(int n, int k) {
    if (k < 0 || n < 0 || k > n)
        return 0;
    std::uint64_t c = 1;
    for (int i = 1; i <= k; ++i)
        c = c * static_cast<std::uint64_t>(n - k + i) / static_cast<std::uint64_t>(i);
    return c;
}

std::string initialColumnCountText(int markedCount) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", std::nearbyint(initialColumnCount(markedCount)));
    return text;
}

} // namespace quintor
