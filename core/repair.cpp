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
        request.score = [scoring](const Column& column) { return scoring->scorer->score(column); };
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

// Why a request cannot be repaired at all, before anything is built for it.
std::optional<Failure> refusal(const RepairRequest& request) {
    const int t = request.t, m = request.m;
    if (m < smallestDrawnCount || m > largestDrawnCount || t < smallestGuaranteedPoints || t > m)
        return Failure{guaranteeChoiceMessage};
    if (request.budget < 1 || request.budget > largestRepairBudget)
        return Failure{repairBudgetMessage};
    const int n = static_cast<int>(request.marked.size());
    if (n < 6)
        return Failure{fewMarksMessage};
    if (n > 63 || binomial(n, 6) > repairCandidateLimit || binomial(n, m) > repairCandidateLimit)
        return Failure{repairTooLargeMessage};
    return std::nullopt;
}

// One repair, a method a phase: the fixed numbers as a mask, the holes the final columns leave,
// the gain of every column that may be added, the greedy choices, then the shortening. Each
// phase that can be stopped returns false when it was; the result then holds what was done.
class GuaranteeRepair {
public:
    GuaranteeRepair(const RepairRequest& request, RunControl* control,
                    const RepairProgress& progress)
        : request_(request), control_(control), progress_(progress), t_(request.t), m_(request.m),
          n_(static_cast<int>(request.marked.size())), space_(n_), universe_((Mask{1} << n_) - 1),
          candidates_(binomial(n_, 6)) {
        result_.total = binomial(n_, m_);
    }

    Expected<RepairResult> run() {
        if (!placeFixedNumbers())
            return Failure{allRejectedMessage};
        if (!markHoles())
            return stopped();
        if (tooMuchWork())
            return Failure{repairTooLargeMessage};
        if (!startGains() || !chooseColumns() || !shorten())
            return stopped();
        return result_;
    }

private:
    int positionOf(int number) const {
        const auto& marked = request_.marked;
        const auto it = std::lower_bound(marked.begin(), marked.end(), number);
        return it != marked.end() && *it == number ? static_cast<int>(it - marked.begin()) : -1;
    }

    Column columnOf(Mask c) const {
        Column column{};
        std::size_t i = 0;
        for (int p = 0; p < n_; ++p)
            if (c & space_.bitOf(p))
                column[i++] =
                    static_cast<std::uint8_t>(request_.marked[static_cast<std::size_t>(p)]);
        return column;
    }

    RepairResult stopped() {
        result_.stopped = true;
        result_.covered = result_.total - holes_;
        return result_;
    }

    // False when a fixed number is not marked or more than six are fixed.
    bool placeFixedNumbers() {
        for (int number : request_.fixed) {
            const int p = positionOf(number);
            if (p < 0)
                return false;
            fixed_ |= space_.bitOf(p);
        }
        return std::popcount(fixed_) <= 6;
    }

    // The holes still open, by rank.
    bool markHoles() {
        open_.assign(result_.total, 0);
        HoleCursor cursor(request_.marked, request_.finals, t_, m_);
        std::vector<Column> batch;
        bool more = true;
        while (more) {
            batch.clear();
            more = cursor.next(batch, 4096, control_);
            for (const Column& hole : batch) {
                Mask set = 0;
                for (int i = 0; i < m_; ++i)
                    set |= space_.bitOf(positionOf(hole[static_cast<std::size_t>(i)]));
                open_[space_.rank(set)] = 1;
            }
            holes_ += batch.size();
            if (control_ && control_->cancelRequested())
                return false;
        }
        result_.covered = result_.total - holes_;
        return true;
    }

    // The neighbours of every hole, or of every m-set covered, whichever are fewer, is the
    // work of setting up the gains.
    bool tooMuchWork() const {
        std::uint64_t perHole = 0;
        for (int s = t_; s <= m_; ++s)
            perHole += binomial(m_, s) * binomial(n_ - m_, 6 - s);
        return std::min(holes_, result_.total - holes_) * perHole > repairWorkLimit;
    }

    // Each hole touches up to a few tens of thousands of gains, so the run control is asked
    // every few dozen holes: a stop or a pause is then answered within milliseconds, in the
    // set-up as in every step.
    bool adjustAround(Mask hole, std::int32_t by) {
        forEachNeighbour(universe_, 6, fixed_, hole, t_, [&](Mask c) {
            auto& g = gain_[space_.rank(c)];
            if (g >= 0)
                g += by;
        });
        if (++sinceCheck_ < 64 || !control_)
            return true;
        sinceCheck_ = 0;
        return control_->checkpoint();
    }

    // The gains of the columns that may be added (holding every fixed number, not already a
    // final column); -1 for the others. They start from the holes, or from the full count less
    // the m-sets already covered, whichever has fewer to visit.
    bool startGains() {
        gain_.assign(candidates_, -1);
        for (Mask c = (Mask{1} << 6) - 1; c <= universe_; c = nextSubset(c))
            if ((c & fixed_) == fixed_)
                gain_[space_.rank(c)] = 0;
        for (const Column& column : request_.finals) {
            Mask set = 0;
            for (std::uint8_t number : column)
                if (const int p = positionOf(number); p >= 0)
                    set |= space_.bitOf(p);
            if (std::popcount(set) == 6)
                gain_[space_.rank(set)] = -1;
        }
        const bool fromHoles = holes_ <= result_.total - holes_;
        if (!fromHoles) {
            std::uint64_t perColumn = 0; // m-sets that any one column covers
            for (int s = t_; s <= std::min(m_, 6); ++s)
                perColumn += binomial(6, s) * binomial(n_ - 6, m_ - s);
            for (auto& g : gain_)
                if (g >= 0)
                    g = static_cast<std::int32_t>(perColumn);
        }
        std::uint32_t r = 0;
        for (Mask h = (Mask{1} << m_) - 1; h <= universe_; h = nextSubset(h), ++r)
            if (open_[r] == fromHoles && !adjustAround(h, fromHoles ? +1 : -1))
                return false;
        return true;
    }

    // Ties: the higher score, then the lexicographically first column (the higher rank).
    // candidates_ when no column covers another hole.
    std::size_t bestColumn() {
        std::int32_t top = 0;
        for (std::int32_t g : gain_)
            top = std::max(top, g);
        if (top <= 0)
            return candidates_;
        std::size_t chosen = candidates_;
        double chosenScore = 0;
        for (std::size_t r = candidates_; r-- > 0;) {
            if (gain_[r] != top)
                continue;
            if (!request_.score)
                return r;
            if (std::isnan(scores_[r]))
                scores_[r] = request_.score(columnOf(columnMask_[r]));
            if (chosen == candidates_ || scores_[r] > chosenScore) {
                chosen = r;
                chosenScore = scores_[r];
            }
        }
        return chosen;
    }

    // Adds the column of rank chosen: the holes it covers close, and the gains of the columns
    // around each of them fall.
    bool add(std::size_t chosen) {
        const Mask c = columnMask_[chosen];
        gain_[chosen] = -1;
        result_.added.push_back(columnOf(c));
        chosenMasks_.push_back(c);
        newlyCovered_.clear();
        forEachNeighbour(universe_, m_, 0, c, t_, [&](Mask hole) {
            const auto r = space_.rank(hole);
            if (open_[r]) {
                open_[r] = 0;
                newlyCovered_.push_back(hole);
            }
        });
        holes_ -= newlyCovered_.size();
        result_.covered = result_.total - holes_;
        for (Mask hole : newlyCovered_)
            if (!adjustAround(hole, -1))
                return false;
        return true;
    }

    // The greedy choices, until no hole is left, the budget is spent or no column covers
    // another hole.
    bool chooseColumns() {
        // Masks by rank, to turn the chosen rank back into numbers.
        columnMask_.resize(candidates_);
        std::uint32_t r = 0;
        for (Mask c = (Mask{1} << 6) - 1; c <= universe_; c = nextSubset(c), ++r)
            columnMask_[r] = c;
        if (request_.shortenWork > 0)
            leftOpen_ = open_;
        if (request_.score)
            scores_.assign(candidates_, std::numeric_limits<double>::quiet_NaN());
        while (holes_ > 0 && static_cast<std::int64_t>(result_.added.size()) < request_.budget) {
            if (control_ && !control_->checkpoint())
                return false;
            const std::size_t chosen = bestColumn();
            if (chosen == candidates_)
                break;
            if (!add(chosen))
                return false;
            if (progress_)
                progress_(result_);
        }
        return true;
    }

    // Once the guarantee holds, fewer columns that keep it, when the request asks for them.
    bool shorten() {
        if (request_.shortenWork == 0 || holes_ > 0 || chosenMasks_.size() <= 1)
            return true;
        Shortener shortener(space_, universe_, fixed_, t_, m_, std::move(leftOpen_),
                            std::move(chosenMasks_));
        std::vector<Mask> shorter;
        if (!shortener.run(control_, request_.shortenWork, shorter))
            return false;
        result_.added.clear();
        for (Mask c : shorter)
            result_.added.push_back(columnOf(c));
        return true;
    }

    const RepairRequest& request_;
    RunControl* control_;
    const RepairProgress& progress_;
    const int t_, m_, n_;
    const SetSpace space_;
    const Mask universe_;
    const std::uint64_t candidates_; // the columns of six marked numbers
    Mask fixed_ = 0;
    RepairResult result_;
    std::vector<std::uint8_t> open_; // the holes by rank
    std::uint64_t holes_ = 0;
    std::vector<std::int32_t> gain_; // holes each column would cover, by rank; -1: not added
    std::uint32_t sinceCheck_ = 0;
    std::vector<Mask> columnMask_;
    std::vector<std::uint8_t> leftOpen_; // the holes before any column was added
    std::vector<Mask> chosenMasks_;
    std::vector<Mask> newlyCovered_;
    std::vector<double> scores_; // by rank, worked out when first needed
};

} // namespace

Expected<RepairResult> repairGuarantee(const RepairRequest& request, RunControl* control,
                                       const RepairProgress& progress) {
    if (auto refused = refusal(request))
        return *std::move(refused);
    return GuaranteeRepair(request, control, progress).run();
}

} // namespace quintor
