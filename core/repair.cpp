#include "core/repair.h"

#include "core/combinatorics.h"
#include "core/conversions.h"
#include "core/guarantee.h"
#include "core/selection.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>

namespace quintor {

Expected<std::int64_t> repairBudget(std::string_view text) {
    const Expected<int> value = VALORE_INTERO(text);
    if (!value)
        return Failure{value.error()};
    if (*value < 1 || *value > largestRepairBudget)
        return Failure{repairBudgetMessage};
    return std::int64_t{*value};
}

RepairRequest repairRequest(const SystemState& system, std::vector<Column> newestDraws, int t,
                            int m, std::int64_t budget) {
    const SelectionRequest selection = selectionRequest(system, {}, 0, 0);
    RepairRequest request;
    request.marked = selection.marked;
    request.fixed = selection.fixed;
    request.finals = system.finalColumns;
    request.t = t;
    request.m = m;
    request.budget = budget;
    if (newestDraws.size() >= minimumDraws) {
        struct Scoring {
            std::vector<Column> draws;
            std::optional<ColumnScorer> scorer;
        };
        auto scoring = std::make_shared<Scoring>();
        scoring->draws = std::move(newestDraws);
        const auto snapshot = scoringSnapshot(scoring->draws);
        scoring->scorer.emplace(snapshot, TARATURA(snapshot, 0), selection.probabilities,
                                selection.fixed);
        request.score = [scoring](const Column& column) {
            return scoring->scorer->PROBABILITA(column);
        };
    }
    return request;
}

namespace {

using Mask = std::uint64_t;

// Sets of marked numbers as masks of their positions seen from the end: the position p of n
// marked numbers is bit n - 1 - p. Ranking a k-set of such bits in colex order then puts the
// lexicographically first set of numbers last, and masks in increasing value come in rank order.
class SetSpace {
public:
    explicit SetSpace(int n) : n_(n) {
        for (int p = 0; p < 64; ++p)
            for (int k = 0; k <= 6; ++k)
                choose_[static_cast<std::size_t>(p)][static_cast<std::size_t>(k)] =
                    static_cast<std::uint32_t>(std::min<std::uint64_t>(binomial(p, k), UINT32_MAX));
    }

    Mask bitOf(int position) const { return Mask{1} << (n_ - 1 - position); }

    std::uint32_t rank(Mask set) const {
        std::uint32_t r = 0;
        for (std::size_t i = 1; set; ++i, set &= set - 1)
            r += choose_[static_cast<std::size_t>(std::countr_zero(set))][i];
        return r;
    }

private:
    int n_;
    std::array<std::array<std::uint32_t, 7>, 64> choose_{};
};

// Calls f(mask) for every k-subset of the bits of pool, each joined to base.
template <class F> void forEachSubset(Mask pool, int k, Mask base, F&& f) {
    if (k == 0) {
        f(base);
        return;
    }
    if (std::popcount(pool) < k)
        return;
    // Take the lowest bit or leave it: the recursion is at most six deep.
    while (pool && std::popcount(pool) >= k) {
        const Mask low = pool & (~pool + 1);
        pool &= pool - 1;
        forEachSubset(pool, k - 1, base | low, f);
    }
}

// Every size-k set X of the bits of universe with required within X and at least t bits of X
// in near.
template <class F>
void forEachNeighbour(Mask universe, int k, Mask required, Mask near, int t, F&& f) {
    const Mask inside = near & ~required & universe;
    const Mask outside = universe & ~near & ~required;
    const int free = k - std::popcount(required);
    const int already = std::popcount(required & near);
    for (int a = std::max(0, t - already); a <= free; ++a) {
        const int b = free - a;
        if (a > std::popcount(inside) || b > std::popcount(outside))
            continue;
        forEachSubset(inside, a, required,
                      [&](Mask withInside) { forEachSubset(outside, b, withInside, f); });
    }
}

Mask nextSubset(Mask v) { // the next larger mask with as many bits (Gosper)
    const Mask t = v | (v - 1);
    return (t + 1) | (((~t & -~t) - 1) >> (std::countr_zero(v) + 1));
}

} // namespace

Expected<RepairResult> repairGuarantee(const RepairRequest& request, RunControl* control,
                                       const RepairProgress& progress) {
    const int t = request.t, m = request.m;
    if (m < smallestDrawnCount || m > largestDrawnCount || t < smallestGuaranteedPoints || t > m)
        return Failure{guaranteeChoiceMessage};
    if (request.budget < 1 || request.budget > largestRepairBudget)
        return Failure{repairBudgetMessage};
    const int n = static_cast<int>(request.marked.size());
    if (n < 6)
        return Failure{fewMarksMessage};

    RepairResult result;
    result.total = binomial(n, m);
    const std::uint64_t candidates = binomial(n, 6);
    if (n > 63 || candidates > repairCandidateLimit || result.total > repairCandidateLimit)
        return Failure{repairTooLargeMessage};

    const SetSpace space(n);
    const Mask universe = (Mask{1} << n) - 1;
    auto positionOf = [&](int number) {
        const auto it = std::lower_bound(request.marked.begin(), request.marked.end(), number);
        return it != request.marked.end() && *it == number
                   ? static_cast<int>(it - request.marked.begin())
                   : -1;
    };
    Mask fixed = 0;
    for (int number : request.fixed) {
        const int p = positionOf(number);
        if (p < 0)
            return Failure{allRejectedMessage};
        fixed |= space.bitOf(p);
    }
    if (std::popcount(fixed) > 6)
        return Failure{allRejectedMessage};

    // Holes still open, by rank.
    std::vector<std::uint8_t> open(result.total, 0);
    std::uint64_t holes = 0;
    {
        HoleCursor cursor(request.marked, request.finals, t, m);
        std::vector<Column> batch;
        bool more = true;
        while (more) {
            batch.clear();
            more = cursor.next(batch, 4096, control);
            for (const Column& hole : batch) {
                Mask set = 0;
                for (int i = 0; i < m; ++i)
                    set |= space.bitOf(positionOf(hole[static_cast<std::size_t>(i)]));
                open[space.rank(set)] = 1;
            }
            holes += batch.size();
            if (control && control->cancelRequested()) {
                result.stopped = true;
                result.covered = result.total - holes;
                return result;
            }
        }
    }
    result.covered = result.total - holes;

    // Neighbours per hole, for the work estimate.
    std::uint64_t perHole = 0;
    for (int s = t; s <= m; ++s)
        perHole += binomial(m, s) * binomial(n - m, 6 - s);
    if (std::min(holes, result.total - holes) * perHole > repairWorkLimit)
        return Failure{repairTooLargeMessage};

    // Gains of the columns that may be added; -1 for the others.
    std::vector<std::int32_t> gain(candidates, -1);
    std::uint64_t perColumn = 0; // m-sets that any one column covers
    for (int s = t; s <= std::min(m, 6); ++s)
        perColumn += binomial(6, s) * binomial(n - 6, m - s);
    for (Mask c = (Mask{1} << 6) - 1; c <= universe; c = nextSubset(c))
        if ((c & fixed) == fixed)
            gain[space.rank(c)] = 0;
    for (const Column& column : request.finals) {
        Mask set = 0;
        for (std::uint8_t number : column)
            if (const int p = positionOf(number); p >= 0)
                set |= space.bitOf(p);
        if (std::popcount(set) == 6)
            gain[space.rank(set)] = -1;
    }
    // Each hole touches up to a few tens of thousands of gains, so the run control is asked
    // every few dozen holes: a stop or a pause is then answered within milliseconds, in the
    // set-up as in every step.
    std::uint32_t sinceCheck = 0;
    auto adjustAround = [&](Mask hole, std::int32_t by) {
        forEachNeighbour(universe, 6, fixed, hole, t, [&](Mask c) {
            auto& g = gain[space.rank(c)];
            if (g >= 0)
                g += by;
        });
        if (++sinceCheck < 64 || !control)
            return true;
        sinceCheck = 0;
        return control->checkpoint();
    };
    auto stoppedRun = [&] {
        result.stopped = true;
        result.covered = result.total - holes;
        return result;
    };
    // Gains start from the holes, or from the full count less the m-sets already covered,
    // whichever has fewer to visit.
    const bool fromHoles = holes <= result.total - holes;
    if (!fromHoles)
        for (auto& g : gain)
            if (g >= 0)
                g = static_cast<std::int32_t>(perColumn);
    {
        std::uint32_t r = 0;
        for (Mask h = (Mask{1} << m) - 1; h <= universe; h = nextSubset(h), ++r)
            if (open[r] == fromHoles && !adjustAround(h, fromHoles ? +1 : -1))
                return stoppedRun();
    }

    // Masks by rank, to turn the chosen rank back into numbers.
    std::vector<Mask> columnMask(candidates);
    {
        std::uint32_t r = 0;
        for (Mask c = (Mask{1} << 6) - 1; c <= universe; c = nextSubset(c), ++r)
            columnMask[r] = c;
    }
    auto columnOf = [&](Mask c) {
        Column column{};
        std::size_t i = 0;
        for (int p = 0; p < n; ++p)
            if (c & space.bitOf(p))
                column[i++] =
                    static_cast<std::uint8_t>(request.marked[static_cast<std::size_t>(p)]);
        return column;
    };
    std::vector<Mask> newlyCovered;
    std::vector<double> scores;
    if (request.score)
        scores.assign(candidates, std::numeric_limits<double>::quiet_NaN());

    while (holes > 0 && static_cast<std::int64_t>(result.added.size()) < request.budget) {
        if (control && !control->checkpoint()) {
            result.stopped = true;
            break;
        }
        std::int32_t top = 0;
        for (std::int32_t g : gain)
            top = std::max(top, g);
        if (top <= 0)
            break;
        // Ties: the higher score, then the lexicographically first column (the higher rank).
        std::size_t chosen = candidates;
        double chosenScore = 0;
        for (std::size_t r = candidates; r-- > 0;) {
            if (gain[r] != top)
                continue;
            if (!request.score) {
                chosen = r;
                break;
            }
            if (std::isnan(scores[r]))
                scores[r] = request.score(columnOf(columnMask[r]));
            if (chosen == candidates || scores[r] > chosenScore) {
                chosen = r;
                chosenScore = scores[r];
            }
        }
        const Mask c = columnMask[chosen];
        gain[chosen] = -1;
        result.added.push_back(columnOf(c));
        newlyCovered.clear();
        forEachNeighbour(universe, m, 0, c, t, [&](Mask hole) {
            const auto r = space.rank(hole);
            if (open[r]) {
                open[r] = 0;
                newlyCovered.push_back(hole);
            }
        });
        holes -= newlyCovered.size();
        result.covered = result.total - holes;
        for (Mask hole : newlyCovered)
            if (!adjustAround(hole, -1))
                return stoppedRun();
        if (progress)
            progress(result);
    }
    return result;
}

} // namespace quintor
