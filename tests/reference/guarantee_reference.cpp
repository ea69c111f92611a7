#include "tests/reference/guarantee_reference.h"

#include <algorithm>
#include <set>

namespace quintor::reference {

namespace {

// Sets of k of the given numbers in lexicographic order.
std::vector<std::vector<int>> subsets(std::span<const int> numbers, int k) {
    std::vector<std::vector<int>> all;
    const int n = static_cast<int>(numbers.size());
    if (k > n || k < 0)
        return all;
    std::vector<int> idx(static_cast<std::size_t>(k));
    for (int i = 0; i < k; ++i)
        idx[static_cast<std::size_t>(i)] = i;
    while (true) {
        std::vector<int> set;
        for (int i : idx)
            set.push_back(numbers[static_cast<std::size_t>(i)]);
        all.push_back(set);
        int i = k - 1;
        while (i >= 0 && idx[static_cast<std::size_t>(i)] == n - k + i)
            --i;
        if (i < 0)
            break;
        ++idx[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < k; ++j)
            idx[static_cast<std::size_t>(j)] = idx[static_cast<std::size_t>(j) - 1] + 1;
    }
    return all;
}

int common(const std::vector<int>& set, const Column& column) {
    int count = 0;
    for (int number : set)
        if (std::find(column.begin(), column.end(), number) != column.end())
            ++count;
    return count;
}

int best(const std::vector<int>& set, std::span<const Column> finals) {
    int top = 0;
    for (const Column& column : finals)
        top = std::max(top, common(set, column));
    return top;
}

Column asColumn(const std::vector<int>& set) {
    Column column{};
    for (std::size_t i = 0; i < set.size(); ++i)
        column[i] = static_cast<std::uint8_t>(set[i]);
    return column;
}

} // namespace

std::array<std::uint64_t, 7> bestMatchesOfSize(std::span<const int> marked,
                                               std::span<const Column> finals, int m) {
    std::array<std::uint64_t, 7> counts{};
    for (const auto& set : subsets(marked, m))
        ++counts[static_cast<std::size_t>(best(set, finals))];
    return counts;
}

std::array<std::uint64_t, 7> bestMatchesHolding(std::span<const int> marked,
                                                std::span<const Column> finals, int m,
                                                std::span<const int> fixed) {
    std::array<std::uint64_t, 7> counts{};
    for (const auto& set : subsets(marked, m))
        if (std::all_of(fixed.begin(), fixed.end(),
                        [&](int f) { return std::find(set.begin(), set.end(), f) != set.end(); }))
            ++counts[static_cast<std::size_t>(best(set, finals))];
    return counts;
}

std::vector<Column> holes(std::span<const int> marked, std::span<const Column> finals, int t,
                          int m) {
    std::vector<Column> found;
    for (const auto& set : subsets(marked, m))
        if (best(set, finals) < t)
            found.push_back(asColumn(set));
    return found;
}

RepairResult repair(const RepairRequest& request) {
    RepairResult result;
    auto sets = subsets(request.marked, request.m);
    result.total = sets.size();
    std::vector<Column> finals = request.finals;
    // The guarantee is sought over the m-sets that hold every fixed number.
    auto holdsFixed = [&](const std::vector<int>& set) {
        return std::all_of(request.fixed.begin(), request.fixed.end(), [&](int f) {
            return std::find(set.begin(), set.end(), f) != set.end();
        });
    };
    std::vector<std::vector<int>> open;
    for (const auto& set : sets)
        if (holdsFixed(set) && best(set, finals) < request.t)
            open.push_back(set);

    std::set<std::vector<int>> inList;
    for (const Column& column : finals) {
        std::vector<int> numbers(column.begin(), column.end());
        std::sort(numbers.begin(), numbers.end());
        inList.insert(numbers);
    }
    std::vector<std::vector<int>> candidates;
    for (const auto& set : subsets(request.marked, 6)) {
        const bool hasFixed = std::all_of(request.fixed.begin(), request.fixed.end(), [&](int f) {
            return std::find(set.begin(), set.end(), f) != set.end();
        });
        if (hasFixed && !inList.count(set))
            candidates.push_back(set);
    }
    while (!open.empty() && static_cast<std::int64_t>(result.added.size()) < request.budget) {
        std::size_t chosen = candidates.size();
        std::size_t chosenGain = 0;
        double chosenScore = 0;
        for (std::size_t c = 0; c < candidates.size(); ++c) {
            const Column column = asColumn(candidates[c]);
            std::size_t gain = 0;
            for (const auto& hole : open)
                if (common(hole, column) >= request.t)
                    ++gain;
            if (gain == 0)
                continue;
            const double score = request.score ? request.score(column) : 0;
            if (chosen == candidates.size() || gain > chosenGain ||
                (gain == chosenGain && score > chosenScore)) {
                chosen = c;
                chosenGain = gain;
                chosenScore = score;
            }
        }
        if (chosen == candidates.size())
            break;
        const Column column = asColumn(candidates[chosen]);
        result.added.push_back(column);
        candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(chosen));
        std::erase_if(open, [&](const auto& hole) { return common(hole, column) >= request.t; });
    }
    finals.insert(finals.end(), result.added.begin(), result.added.end());
    for (const auto& set : sets) {
        const bool covered = best(set, finals) >= request.t;
        result.covered += covered;
        if (holdsFixed(set)) {
            ++result.totalHoldingFixed;
            result.coveredHoldingFixed += covered;
        }
    }
    return result;
}

BacktestResult backtest(std::span<const Column> finals, std::span<const ArchiveRecord> draws) {
    BacktestResult result;
    std::size_t run = 0;
    for (std::size_t i = 0; i < draws.size(); ++i) {
        BacktestDraw draw;
        draw.record = i;
        const std::vector<int> drawn(draws[i].numbers.begin(), draws[i].numbers.end());
        for (const Column& column : finals) {
            std::set<int> distinct;
            for (std::uint8_t number : column)
                if (isBoardNumber(number))
                    distinct.insert(number);
            int matches = 0;
            for (int number : distinct)
                if (std::find(drawn.begin(), drawn.end(), number) != drawn.end())
                    ++matches;
            int level = matches;
            if (matches == 6)
                level = sixPoints;
            else if (matches == 5 && distinct.count(draws[i].jollyNumber))
                level = fivePlusJolly;
            draw.best = std::max(draw.best, level);
            if (matches >= 3)
                ++draw.winners[static_cast<std::size_t>(level == sixPoints       ? 4
                                                        : level == fivePlusJolly ? 3
                                                                                 : matches - 3)];
        }
        ++result.byBest[static_cast<std::size_t>(draw.best)];
        for (std::size_t k = 0; k < 5; ++k)
            result.winners[k] += draw.winners[k];
        run = draw.best < 3 ? run + 1 : 0;
        result.longestWithoutThree = std::max(result.longestWithoutThree, run);
        result.draws.push_back(draw);
    }
    return result;
}

} // namespace quintor::reference
