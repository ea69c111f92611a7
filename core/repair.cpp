#include "core/repair.h"

#include "core/combinatorics.h"
#include "core/conversions.h"
#include "core/covering_search.h"
#include "core/guarantee.h"
#include "core/selection.h"
#include "core/subset_masks.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <memory>
#include <numeric>
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

Expected<std::vector<int>> repairFixedNumbers(std::string_view text, std::span<const int> marked) {
    std::vector<int> numbers;
    std::string word;
    auto take = [&]() -> bool {
        if (word.empty())
            return true;
        const Expected<int> number = parseIntegerIgnoringBlanks(word);
        word.clear();
        if (!number || !isBoardNumber(*number))
            return false;
        numbers.push_back(*number);
        return true;
    };
    for (char c : text) {
        if (c == ',' || c == ' ' || c == '\t') {
            if (!take())
                return Failure{repairFixedMessage};
        } else {
            word += c;
        }
    }
    if (!take())
        return Failure{repairFixedMessage};
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    if (numbers.size() > 6)
        return Failure{repairFixedMessage};
    for (int number : numbers)
        if (std::find(marked.begin(), marked.end(), number) == marked.end())
            return Failure{"Il numero fisso " + std::to_string(number) +
                           " non è tra i segni del sistema.\rCorreggere e riprovare."};
    return numbers;
}

std::function<double(const Column&)> archiveColumnScore(std::vector<Column> newestDraws,
                                                        const std::array<double, 91>& probabilities,
                                                        std::vector<int> fixed, int precision) {
    if (newestDraws.size() < minimumDraws)
        return {};
    // The scorer reads the draws it is built on: both live as long as the function.
    struct Scoring {
        std::vector<Column> draws;
        std::optional<ColumnScorer> scorer;
    };
    auto scoring = std::make_shared<Scoring>();
    scoring->draws = std::move(newestDraws);
    const auto snapshot = scoringSnapshot(scoring->draws);
    scoring->scorer.emplace(snapshot, measureFeatureStats(snapshot, precision), probabilities,
                            std::move(fixed));
    return [scoring](const Column& column) { return scoring->scorer->score(column); };
}

RepairRequest repairRequest(const SystemState& system, std::vector<Column> newestDraws, int t,
                            int m, std::int64_t budget, std::optional<std::vector<int>> fixed) {
    SelectionRequest selection = selectionRequest(system, {}, 0, 0);
    if (fixed)
        selection.fixed = std::move(*fixed);
    RepairRequest request;
    request.marked = selection.marked;
    request.fixed = selection.fixed;
    request.finals = system.finalColumns;
    request.t = t;
    request.m = m;
    request.budget = budget;
    request.searchWork = defaultSearchWork;
    request.score =
        archiveColumnScore(std::move(newestDraws), selection.probabilities, selection.fixed, 0);
    return request;
}

namespace {

using namespace subset_masks;

// Scoring every column is the exchanges' set-up: past this many columns it would take longer
// than the search it follows. The work limit bounds the m-sets compared.
constexpr std::uint64_t polishCandidateLimit = 700'000;
constexpr std::uint64_t polishWorkLimit = 400'000'000;

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
    if (static_cast<int>(request.fixed.size()) > m)
        return Failure{fixedAboveDrawnMessage};
    if (n > 63 || binomial(n, 6) > repairCandidateLimit || binomial(n, m) > repairCandidateLimit)
        return Failure{repairTooLargeMessage};
    return std::nullopt;
}

// One repair, a method a phase: the fixed numbers as a mask, the holes the final columns leave,
// the gain of every column that may be added, the greedy choices, the covering search, then the
// count by the guarantee's own engine. Each phase that can be stopped returns false when it
// was; the result then holds what was done.
class GuaranteeRepair {
public:
    GuaranteeRepair(const RepairRequest& request, RunControl* control,
                    const RepairProgress& progress)
        : request_(request), control_(control), progress_(progress), t_(request.t), m_(request.m),
          n_(static_cast<int>(request.marked.size())), space_(n_), universe_((Mask{1} << n_) - 1),
          candidates_(binomial(n_, 6)), searchShare_(request.searchWork > 0 ? 0.6 : 0.0) {
        result_.total = binomial(n_, m_);
        const int f = static_cast<int>(request.fixed.size());
        result_.totalHoldingFixed = binomial(n_ - f, m_ - f);
    }

    Expected<RepairResult> run() {
        if (!placeFixedNumbers())
            return Failure{allRejectedMessage};
        if (!markHoles())
            return stopped();
        if (tooMuchWork())
            return Failure{repairTooLargeMessage};
        if (!startGains() || !chooseColumns())
            return stopped();
        const std::vector<Column> greedy = result_.added;
        const std::uint64_t greedyHoles = holes_;
        search();
        dropRepeats();
        preferBetterScores();
        // What is shown is what the guarantee's engine counts; should the search's own count
        // ever disagree with it, the greedy columns, counted the same way, are shown instead.
        if (!verify()) {
            result_.added = greedy;
            holes_ = greedyHoles;
            verify();
        }
        result_.done = 1;
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

    Mask maskOf(const Column& column) const {
        Mask set = 0;
        for (std::uint8_t number : column)
            if (const int p = positionOf(number); p >= 0)
                set |= space_.bitOf(p);
        return set;
    }

    RepairResult stopped() {
        result_.stopped = true;
        result_.coveredHoldingFixed = result_.totalHoldingFixed - holes_;
        return result_;
    }

    // The gauge: the set-up and the greedy choice share what the search leaves.
    void report(double phaseDone, bool inSearch) {
        if (!progress_)
            return;
        const double before = 1.0 - searchShare_;
        result_.done = inSearch ? before + searchShare_ * phaseDone : before * phaseDone;
        result_.coveredHoldingFixed = result_.totalHoldingFixed - holes_;
        progress_(result_);
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

    bool holdsFixed(Mask set) const { return (set & fixed_) == fixed_; }

    // The holes still open that hold every fixed number, by rank.
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
                if (holdsFixed(set)) {
                    open_[space_.rank(set)] = 1;
                    ++holes_;
                }
            }
            if (control_ && control_->cancelRequested())
                return false;
        }
        result_.coveredHoldingFixed = result_.totalHoldingFixed - holes_;
        return true;
    }

    // The neighbours of every hole, or of every m-set covered, whichever are fewer, is the
    // work of setting up the gains.
    bool tooMuchWork() const {
        std::uint64_t perHole = 0;
        for (int s = t_; s <= m_; ++s)
            perHole += binomial(m_, s) * binomial(n_ - m_, 6 - s);
        return std::min(holes_, result_.totalHoldingFixed - holes_) * perHole > repairWorkLimit;
    }

    // Each hole touches up to a few tens of thousands of gains, so the run control is asked
    // every few dozen holes: a stop or a pause is then answered within milliseconds, in the
    // set-up as in every step. The gauge moves with the holes visited.
    bool adjustAround(Mask hole, std::int32_t by) {
        forEachNeighbour(universe_, 6, fixed_, hole, t_, [&](Mask c) {
            auto& g = gain_[space_.rank(c)];
            if (g >= 0)
                g += by;
        });
        ++adjusted_;
        if (++sinceCheck_ < 64)
            return true;
        sinceCheck_ = 0;
        if (adjusted_ % 4096 == 0 && toAdjust_ > 0)
            report(static_cast<double>(adjusted_) / static_cast<double>(toAdjust_), false);
        return !control_ || control_->checkpoint();
    }

    // The gains of the columns that may be added (holding every fixed number, not already a
    // final column); -1 for the others. They start from the holes, or from the full count less
    // the m-sets already covered, whichever has fewer to visit.
    bool startGains() {
        gain_.assign(candidates_, -1);
        for (Mask c = (Mask{1} << 6) - 1; c <= universe_; c = nextSubset(c))
            if (holdsFixed(c))
                gain_[space_.rank(c)] = 0;
        for (const Column& column : request_.finals)
            if (const Mask set = maskOf(column); std::popcount(set) == 6)
                gain_[space_.rank(set)] = -1;
        const std::uint64_t coveredSets = result_.totalHoldingFixed - holes_;
        const bool fromHoles = holes_ <= coveredSets;
        // Every hole is visited once as it closes, and the set-up visits the smaller side.
        toAdjust_ = holes_ + (fromHoles ? holes_ : coveredSets);
        if (!fromHoles) {
            // The m-sets holding every fixed number that any one column covers.
            const int f = std::popcount(fixed_);
            std::uint64_t perColumn = 0;
            for (int a = std::max(0, t_ - f); a <= m_ - f; ++a)
                perColumn += binomial(6 - f, a) * binomial(n_ - 6, m_ - f - a);
            for (auto& g : gain_)
                if (g >= 0)
                    g = static_cast<std::int32_t>(perColumn);
        }
        std::uint32_t r = 0;
        for (Mask h = (Mask{1} << m_) - 1; h <= universe_; h = nextSubset(h), ++r)
            if (holdsFixed(h) && open_[r] == fromHoles && !adjustAround(h, fromHoles ? +1 : -1))
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
        chosenMasks_.push_back(c);
        newlyCovered_.clear();
        forEachNeighbour(universe_, m_, fixed_, c, t_, [&](Mask hole) {
            const auto r = space_.rank(hole);
            if (open_[r]) {
                open_[r] = 0;
                newlyCovered_.push_back(hole);
            }
        });
        holes_ -= newlyCovered_.size();
        for (Mask hole : newlyCovered_)
            if (!adjustAround(hole, -1))
                return false;
        result_.added.push_back(columnOf(c));
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
        if (request_.searchWork > 0)
            leftOpen_ = open_;
        if (request_.searchWork > 0 && request_.score)
            holesBefore_ = open_;
        if (request_.score)
            scores_.assign(candidates_, std::numeric_limits<double>::quiet_NaN());
        while (holes_ > 0 && static_cast<std::int64_t>(result_.added.size()) < request_.budget) {
            if (control_ && !control_->checkpoint())
                return false;
            const std::size_t chosen = bestColumn();
            if (chosen == candidates_) {
                noGainLeft_ = true;
                break;
            }
            if (!add(chosen))
                return false;
            report(toAdjust_ > 0 ? static_cast<double>(adjusted_) / static_cast<double>(toAdjust_)
                                 : 1.0,
                   false);
        }
        gain_ = {};
        scores_ = {};
        return true;
    }

    // Fewer columns that keep the guarantee, or, within a budget that cannot reach it, the
    // budget's columns that leave the fewest holes. A stop ends the search with its best.
    void search() {
        if (request_.searchWork == 0 || chosenMasks_.empty() || noGainLeft_ ||
            (holes_ == 0 && chosenMasks_.size() <= 1))
            return;
        CoveringTarget target{&space_, universe_, fixed_, t_, m_, std::move(leftOpen_)};
        const std::uint64_t seed =
            0x9E3779B97F4A7C15ull ^ (universe_ * 31 + fixed_ * 17 + static_cast<Mask>(t_ * 7 + m_));
        CoveringSearch covering(std::move(target), chosenMasks_, seed);
        result_.searching = true;
        const bool finished =
            covering.run(request_.searchWork, control_, [&](const CoveringSearchStatus& now) {
                setAdded(covering.best(), now.open);
                report(now.done, true);
            });
        result_.searching = false;
        result_.searchStopped = !finished;
        setAdded(covering.best(), covering.bestOpen());
    }

    void setAdded(const std::vector<Mask>& columns, std::uint64_t open) {
        result_.added.clear();
        for (Mask c : columns)
            result_.added.push_back(columnOf(c));
        std::sort(result_.added.begin(), result_.added.end());
        holes_ = open;
    }

    // The search looks at coverage alone: among the sets that cover as much, the one with the
    // better-scored columns is the player's choice. So each column, the worst-scored first,
    // gives way to the best-scored column that still covers every m-set it alone covered (the
    // coverage can only grow). A stop, or a set too large to score every column of, keeps the
    // columns as they are; each exchange is whole, so the set is sound at every moment.
    void preferBetterScores() {
        if (holesBefore_.empty() || result_.added.empty() || candidates_ > polishCandidateLimit)
            return;
        std::vector<std::pair<double, Mask>> ranked;
        if (!rankCandidates(ranked))
            return;
        std::vector<Mask> chosen;
        std::vector<double> chosenScore;
        for (const Column& column : result_.added) {
            chosen.push_back(maskOf(column));
            chosenScore.push_back(request_.score(column));
        }
        // How many chosen columns cover each m-set that was open before them.
        std::vector<std::uint32_t> count(holesBefore_.size(), 0);
        for (Mask c : chosen)
            coverBy(count, c, +1);
        std::vector<std::size_t> order(chosen.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return chosenScore[a] < chosenScore[b];
        });
        std::uint64_t work = 0;
        std::vector<Mask> alone;
        for (std::size_t slot : order) {
            const Mask c = chosen[slot];
            alone.clear();
            forEachNeighbour(universe_, m_, fixed_, c, t_, [&](Mask set) {
                const auto r = space_.rank(set);
                if (holesBefore_[r] && count[r] == 1)
                    alone.push_back(set);
            });
            bool stopped = false;
            const std::size_t at =
                betterColumn(ranked, chosen, alone, chosenScore[slot], work, stopped);
            if (at < ranked.size()) {
                coverBy(count, c, -1);
                coverBy(count, ranked[at].second, +1);
                chosen[slot] = ranked[at].second;
                chosenScore[slot] = ranked[at].first;
            }
            if (stopped)
                break;
        }
        finishPolish(chosen, count);
    }

    // The columns that may come in, best score first; ties go to the lexicographically first
    // column, as in the greedy choice. False when stopped.
    bool rankCandidates(std::vector<std::pair<double, Mask>>& ranked) {
        std::vector<Mask> taken;
        for (const Column& column : request_.finals)
            taken.push_back(maskOf(column));
        for (Mask c = (Mask{1} << 6) - 1; c <= universe_; c = nextSubset(c)) {
            if (!holdsFixed(c) || std::find(taken.begin(), taken.end(), c) != taken.end())
                continue;
            ranked.emplace_back(request_.score(columnOf(c)), c);
            if ((ranked.size() & 1023u) == 0 && control_ && !control_->checkpoint())
                return false;
        }
        std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first > b.first : a.second > b.second;
        });
        return true;
    }

    void coverBy(std::vector<std::uint32_t>& count, Mask c, int by) const {
        forEachNeighbour(universe_, m_, fixed_, c, t_, [&](Mask set) {
            const auto r = space_.rank(set);
            if (holesBefore_[r])
                count[r] = static_cast<std::uint32_t>(static_cast<int>(count[r]) + by);
        });
    }

    // The best-scored column above floor, not chosen, that covers every m-set of alone; its
    // place in ranked, or ranked.size() when there is none or the work is spent or stopped.
    std::size_t betterColumn(const std::vector<std::pair<double, Mask>>& ranked,
                             const std::vector<Mask>& chosen, const std::vector<Mask>& alone,
                             double floor, std::uint64_t& work, bool& stopped) {
        for (std::size_t at = 0; at < ranked.size(); ++at) {
            const Mask in = ranked[at].second;
            if (ranked[at].first <= floor || work > polishWorkLimit)
                break;
            if ((++work & 4095u) == 0 && control_ && !control_->checkpoint()) {
                stopped = true;
                break;
            }
            if (std::find(chosen.begin(), chosen.end(), in) != chosen.end())
                continue;
            work += alone.size();
            if (std::all_of(alone.begin(), alone.end(),
                            [&](Mask set) { return std::popcount(in & set) >= t_; }))
                return at;
        }
        return ranked.size();
    }

    void finishPolish(const std::vector<Mask>& chosen, const std::vector<std::uint32_t>& count) {
        std::uint64_t open = 0;
        for (std::size_t r = 0; r < count.size(); ++r)
            open += holesBefore_[r] && count[r] == 0;
        setAdded(chosen, open);
    }

    // A column already in the list, or twice among those added, covers nothing more.
    void dropRepeats() {
        std::vector<Mask> seen;
        for (const Column& column : request_.finals)
            seen.push_back(maskOf(column));
        std::erase_if(result_.added, [&](const Column& column) {
            const Mask set = maskOf(column);
            if (std::find(seen.begin(), seen.end(), set) != seen.end())
                return true;
            seen.push_back(set);
            return false;
        });
    }

    // Counts the result with the guarantee's engine; false when the count disagrees with the
    // repair's own, or the count was stopped.
    bool verify() {
        std::vector<Column> all = request_.finals;
        all.insert(all.end(), result_.added.begin(), result_.added.end());
        std::array<std::uint64_t, 7> best{};
        if (!countBestMatchesOfSize(request_.marked, all, m_, best, nullptr, {}, 1))
            return false;
        result_.covered = 0;
        for (int b = t_; b <= 6; ++b)
            result_.covered += best[static_cast<std::size_t>(b)];
        if (!countBestMatchesHolding(request_.marked, all, m_, request_.fixed, best))
            return false;
        std::uint64_t holding = 0;
        for (int b = t_; b <= 6; ++b)
            holding += best[static_cast<std::size_t>(b)];
        const bool agrees = holding == result_.totalHoldingFixed - holes_;
        result_.coveredHoldingFixed = holding;
        return agrees;
    }

    const RepairRequest& request_;
    RunControl* control_;
    const RepairProgress& progress_;
    const int t_, m_, n_;
    const SetSpace space_;
    const Mask universe_;
    const std::uint64_t candidates_; // the columns of six marked numbers
    const double searchShare_;       // of the gauge
    Mask fixed_ = 0;
    RepairResult result_;
    std::vector<std::uint8_t> open_; // the holes by rank
    std::uint64_t holes_ = 0;
    std::vector<std::int32_t> gain_; // holes each column would cover, by rank; -1: not added
    std::uint32_t sinceCheck_ = 0;
    std::uint64_t adjusted_ = 0, toAdjust_ = 0; // holes visited for the gains, and in all
    bool noGainLeft_ = false;
    std::vector<Mask> columnMask_;
    std::vector<std::uint8_t> leftOpen_; // the holes before any column was added
    std::vector<Mask> chosenMasks_;
    std::vector<Mask> newlyCovered_;
    std::vector<double> scores_;            // by rank, worked out when first needed
    std::vector<std::uint8_t> holesBefore_; // kept for the exchanges by score after the search
};

} // namespace

Expected<RepairResult> repairGuarantee(const RepairRequest& request, RunControl* control,
                                       const RepairProgress& progress) {
    if (auto refused = refusal(request))
        return *std::move(refused);
    return GuaranteeRepair(request, control, progress).run();
}

} // namespace quintor
