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
    const Expected<int> value = parseIntegerIgnoringBlanks(text);
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
    request.shortenWork = defaultShortenWork;
    if (newestDraws.size() >= minimumDraws) {
        struct Scoring {
            std::vector<Column> draws;
            std::optional<ColumnScorer> scorer;
        };
        auto scoring = std::make_shared<Scoring>();
        scoring->draws = std::move(newestDraws);
        const auto snapshot = scoringSnapshot(scoring->draws);
        scoring->scorer.emplace(snapshot, measureFeatureStats(snapshot, 0), selection.probabilities,
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

// Looks for a smaller set of columns with the same guarantee: drops the column that alone
// covers the fewest m-sets, then swaps single columns for columns through an m-set left open,
// keeping a swap that leaves no more m-sets open than before, until none is open (and tries to
// drop another) or its work allowance is spent. The generator is seeded from the request, so
// the same input gives the same columns.
class Shortener {
public:
    Shortener(const SetSpace& space, Mask universe, Mask fixed, int t, int m,
              std::vector<std::uint8_t> mayOpen, std::vector<Mask> columns)
        : space_(space), universe_(universe), fixed_(fixed), t_(t), m_(m),
          mayOpen_(std::move(mayOpen)), count_(mayOpen_.size(), 0), owners_(mayOpen_.size(), 0),
          where_(mayOpen_.size(), -1), columns_(std::move(columns)), alone_(columns_.size(), 0),
          shared_(columns_.size(), 0), live_(columns_.size(), 1),
          random_(0x9E3779B97F4A7C15ull ^ (universe * 31 + static_cast<Mask>(t * 7 + m))) {
        for (std::size_t slot = 0; slot < columns_.size(); ++slot)
            add(slot, columns_[slot]);
    }

    // The columns of the smallest guarantee found, in slot order; false when stopped.
    bool run(RunControl* control, std::uint64_t allowance, std::vector<Mask>& best) {
        best = columns_;
        std::vector<std::uint8_t> bestLive = live_;
        std::size_t liveCount = columns_.size();
        while (liveCount > 1) {
            // Drop the column that alone covers the fewest m-sets.
            std::size_t drop = 0;
            for (std::size_t slot = 0; slot < columns_.size(); ++slot)
                if (live_[slot] && (!live_[drop] || alone_[slot] < alone_[drop]))
                    drop = slot;
            remove(drop, columns_[drop]);
            live_[drop] = 0;
            --liveCount;
            const std::uint64_t until = std::min(allowance, work_ + allowance / 5);
            while (!open_.empty() && work_ < until) {
                if (control && !control->checkpoint())
                    return false;
                swapOnce();
            }
            if (!open_.empty())
                break;
            bestLive = live_;
            best = columns_;
        }
        std::vector<Mask> kept;
        for (std::size_t slot = 0; slot < best.size(); ++slot)
            if (bestLive[slot])
                kept.push_back(best[slot]);
        best = std::move(kept);
        return true;
    }

private:
    std::uint64_t nextRandom() { // splitmix64
        std::uint64_t z = (random_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    Mask randomBit(Mask pool) {
        for (int skip = static_cast<int>(nextRandom() % std::popcount(pool)); skip > 0; --skip)
            pool &= pool - 1;
        return pool & (~pool + 1);
    }

    template <class F> void forEachCovered(Mask column, F&& f) {
        forEachNeighbour(universe_, m_, 0, column, t_, [&](Mask set) {
            ++work_;
            const auto r = space_.rank(set);
            if (mayOpen_[r])
                f(set, r);
        });
    }
    void add(std::size_t slot, Mask column) {
        columns_[slot] = column;
        forEachCovered(column, [&](Mask, std::uint32_t r) {
            if (count_[r] == 0) {
                closeSet(r);
                ++alone_[slot];
            } else if (count_[r] == 1) {
                --alone_[owners_[r]];
            }
            ++count_[r];
            owners_[r] += static_cast<std::uint32_t>(slot);
        });
    }
    void remove(std::size_t slot, Mask column) {
        forEachCovered(column, [&](Mask set, std::uint32_t r) {
            --count_[r];
            owners_[r] -= static_cast<std::uint32_t>(slot);
            if (count_[r] == 0) {
                openSet(set, r);
                --alone_[slot];
            } else if (count_[r] == 1) {
                ++alone_[owners_[r]];
            }
        });
    }
    void openSet(Mask set, std::uint32_t r) {
        where_[r] = static_cast<std::int32_t>(open_.size());
        open_.push_back(set);
    }
    void closeSet(std::uint32_t r) {
        const auto at = static_cast<std::size_t>(where_[r]);
        if (where_[r] < 0)
            return;
        const Mask last = open_.back();
        open_[at] = last;
        where_[space_.rank(last)] = static_cast<std::int32_t>(at);
        open_.pop_back();
        where_[r] = -1;
    }

    // One move: a column through a random open m-set takes the place of the column whose loss
    // opens the fewest m-sets; kept when no more are open than before, and now and then when
    // one more is, to get out of dead ends.
    void swapOnce() {
        const Mask set = open_[nextRandom() % open_.size()];
        Mask column = fixed_;
        Mask inside = set & ~column;
        while (std::popcount(column & set) < t_ && inside) {
            const Mask bit = randomBit(inside);
            column |= bit;
            inside &= ~bit;
        }
        if (std::popcount(column & set) < t_ || std::popcount(column) > 6)
            return;
        while (std::popcount(column) < 6)
            column |= randomBit(universe_ & ~column);
        for (std::size_t slot = 0; slot < columns_.size(); ++slot)
            if (live_[slot] && columns_[slot] == column)
                return;
        std::int64_t gain = 0;
        std::fill(shared_.begin(), shared_.end(), 0);
        forEachCovered(column, [&](Mask, std::uint32_t r) {
            if (count_[r] == 0)
                ++gain;
            else if (count_[r] == 1)
                ++shared_[owners_[r]];
        });
        std::size_t out = columns_.size();
        std::int64_t bestDelta = 0;
        for (std::size_t slot = 0; slot < columns_.size(); ++slot) {
            if (!live_[slot])
                continue;
            const std::int64_t delta =
                static_cast<std::int64_t>(alone_[slot]) - shared_[slot] - gain;
            if (out == columns_.size() || delta < bestDelta) {
                out = slot;
                bestDelta = delta;
            }
        }
        if (out == columns_.size() || (bestDelta > 0 && (bestDelta > 1 || nextRandom() % 16 != 0)))
            return;
        remove(out, columns_[out]);
        add(out, column);
    }

    const SetSpace& space_;
    Mask universe_, fixed_;
    int t_, m_;
    std::vector<std::uint8_t> mayOpen_; // the m-sets the final columns leave open
    std::vector<std::uint16_t> count_;  // how many of the columns cover each
    std::vector<std::uint32_t> owners_; // the sum of their slots: the slot when there is one
    std::vector<std::int32_t> where_;   // position in open_, or -1
    std::vector<Mask> open_;            // the m-sets no column covers
    std::vector<Mask> columns_;
    std::vector<std::int64_t> alone_;  // m-sets that only this column covers
    std::vector<std::int64_t> shared_; // scratch: of those, covered by the candidate too
    std::vector<std::uint8_t> live_;
    std::uint64_t random_;
    std::uint64_t work_ = 0;
};

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
    std::vector<std::uint8_t> leftOpen;
    if (request.shortenWork > 0)
        leftOpen = open;
    std::vector<Mask> chosenMasks;
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
        chosenMasks.push_back(c);
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
    if (request.shortenWork > 0 && holes == 0 && !result.stopped && chosenMasks.size() > 1) {
        Shortener shortener(space, universe, fixed, t, m, std::move(leftOpen),
                            std::move(chosenMasks));
        std::vector<Mask> shorter;
        if (!shortener.run(control, request.shortenWork, shorter))
            return stoppedRun();
        result.added.clear();
        for (Mask c : shorter)
            result.added.push_back(columnOf(c));
    }
    return result;
}

} // namespace quintor
