#include "tests/reference/probability_reference.h"

#include <algorithm>

namespace quintor::reference {

namespace {

int shared(const std::array<int, 6>& initial, const Column& final) {
    int common = 0;
    for (int number : initial)
        if (std::find(final.begin(), final.end(), number) != final.end())
            ++common;
    return common;
}

} // namespace

BestMatchCounts bestMatches(std::span<const int> marked, std::span<const Column> finals,
                            std::uint64_t limit) {
    BestMatchCounts counts;
    const int n = static_cast<int>(marked.size());
    if (n < 6)
        return counts;
    std::array<int, 6> idx{0, 1, 2, 3, 4, 5};
    while (counts.examined < limit) {
        std::array<int, 6> initial{};
        for (std::size_t k = 0; k < 6; ++k)
            initial[k] = marked[static_cast<std::size_t>(idx[k])];
        int best = 0;
        for (const Column& final : finals) {
            best = std::max(best, shared(initial, final));
            if (best == 6)
                break;
        }
        ++counts.best[static_cast<std::size_t>(best)];
        ++counts.examined;

        int k = 5;
        while (k >= 0 && idx[static_cast<std::size_t>(k)] + 1 > n - (6 - k))
            --k;
        if (k < 0)
            break;
        ++idx[static_cast<std::size_t>(k)];
        for (int i = k + 1; i < 6; ++i)
            idx[static_cast<std::size_t>(i)] = idx[static_cast<std::size_t>(i) - 1] + 1;
    }
    return counts;
}

} // namespace quintor::reference
