#include "tests/reference/column_filters_reference.h"

#include <algorithm>

namespace quintor::reference {

bool passesFilters(const ColumnFilters& f, std::span<const Column> draws, const Column& column) {
    Column c = column;
    std::sort(c.begin(), c.end());
    for (int i = 0; i < 6; ++i)
        if (c[i] < 1 || c[i] > 90 || (i > 0 && c[i] == c[i - 1]))
            return false;
    auto inRange = [](int v, const std::optional<IntRange>& r) {
        return !r || (v >= r->low && v <= r->high);
    };
    int sum = 0, odd = 0, low = 0;
    int decade[10] = {}, ending[10] = {};
    int run = 1, longest = 1;
    for (int i = 0; i < 6; ++i) {
        sum += c[i];
        odd += c[i] % 2;
        low += c[i] <= 45;
        ++decade[(c[i] - 1) / 10];
        ++ending[c[i] % 10];
        run = i > 0 && c[i] == c[i - 1] + 1 ? run + 1 : 1;
        longest = std::max(longest, run);
    }
    if (!inRange(sum, f.sum) || !inRange(odd, f.odd) || !inRange(low, f.low))
        return false;
    if (f.longestRun && longest > *f.longestRun)
        return false;
    for (int d = 0; d < 10; ++d)
        if ((f.perDecade && decade[d] > *f.perDecade) ||
            (f.sameEnding && ending[d] > *f.sameEnding))
            return false;
    auto holds = [&](int n) { return std::find(c.begin(), c.end(), n) != c.end(); };
    for (const auto& list : f.with)
        if (std::none_of(list.begin(), list.end(), holds))
            return false;
    if (std::any_of(f.without.begin(), f.without.end(), holds))
        return false;
    for (const auto& limit : f.archive) {
        const std::size_t count =
            limit.draws ? std::min<std::size_t>(limit.draws, draws.size()) : draws.size();
        for (std::size_t d = 0; d < count; ++d) {
            int common = 0;
            for (int n : draws[d])
                common += holds(n);
            if (common > limit.limit)
                return false;
        }
    }
    return true;
}

} // namespace quintor::reference
