#pragma once

#include "core/column.h"
#include "core/random.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace quintor::testing {

// count distinct numbers of the board, increasing.
inline std::vector<int> randomMarked(RandomGenerator& random, int count) {
    std::vector<int> all(90);
    std::iota(all.begin(), all.end(), 1);
    for (int i = 0; i < count; ++i)
        std::swap(all[static_cast<std::size_t>(i)],
                  all[static_cast<std::size_t>(i + random.next(90 - i))]);
    std::vector<int> marked(all.begin(), all.begin() + count);
    std::sort(marked.begin(), marked.end());
    return marked;
}

// Mostly columns of marked numbers, some with unmarked numbers, a few as typed by hand
// (a repeated number, a 0 left by a piece that did not convert).
inline Column randomFinal(RandomGenerator& random, const std::vector<int>& marked) {
    Column column{};
    const int kind = random.next(10);
    for (auto& number : column) {
        if (kind < 6)
            number = static_cast<std::uint8_t>(
                marked[static_cast<std::size_t>(random.next(static_cast<int>(marked.size())))]);
        else
            number = static_cast<std::uint8_t>(1 + random.next(90));
    }
    if (kind == 9)
        column[static_cast<std::size_t>(random.next(6))] = 0;
    return column;
}

} // namespace quintor::testing
