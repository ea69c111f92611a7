#include "core/selection_engine.h"

#include "core/combinatorics.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <limits>

namespace quintor {

RangeMax::RangeMax(const std::vector<double>& values) : size_(static_cast<int>(values.size())) {
    while ((size_ >> shift_) > 4096)
        ++shift_;
    blocks_ = static_cast<std::size_t>(((size_ - 1) >> shift_) + 1);
    const auto levels = static_cast<std::size_t>(std::bit_width(blocks_));
    levels_.assign(levels * blocks_, -std::numeric_limits<double>::infinity());
    for (std::size_t i = 0; i < values.size(); ++i)
        levels_[i >> shift_] = std::max(levels_[i >> shift_], values[i]);
    for (std::size_t j = 1; j < levels; ++j) {
        const std::size_t half = std::size_t{1} << (j - 1);
        for (std::size_t b = 0; b + 2 * half <= blocks_; ++b)
            levels_[j * blocks_ + b] =
                std::max(levels_[(j - 1) * blocks_ + b], levels_[(j - 1) * blocks_ + b + half]);
    }
}

namespace {

// The delay sum of the six marked numbers longest absent: no candidate goes beyond it.
int largestDelaySum(const std::vector<NumberEntry>& entries) {
    std::vector<int> delays;
    for (const NumberEntry& e : entries)
        delays.push_back(e.delay);
    std::ranges::sort(delays, std::greater<>());
    int sum = 0;
    for (std::size_t k = 0; k < 6 && k < delays.size(); ++k)
        sum += delays[k];
    return sum;
}

std::vector<NumberEntry> numberEntries(const SelectionRequest& request,
                                       std::span<const Column> draws) {
    std::array<int, 91> delay;
    delay.fill(static_cast<int>(draws.size()));
    for (std::size_t i = draws.size(); i-- > 0;)
        for (auto v : draws[i])
            if (isBoardNumber(v))
                delay[v] = static_cast<int>(i);
    std::vector<NumberSet> newest;
    for (std::size_t i = 0; i < 100; ++i)
        newest.push_back(NumberSet::of(draws[i]));

    std::vector<NumberEntry> entries;
    for (int x : request.marked) {
        NumberEntry e;
        e.number = x;
        e.inLast = newest[0].contains(x);
        for (std::size_t i = 0; i < 100; ++i) {
            if (!newest[i].contains(x))
                continue;
            if (i < 5)
                ++e.inFive;
            ++e.inHundred;
            e.counts.bytes[i] = 1;
            e.draws.add(i);
        }
        e.even = x % 2 == 0;
        e.delay = delay[static_cast<std::size_t>(x)];
        e.weight = request.probabilities[static_cast<std::size_t>(x)];
        entries.push_back(e);
    }
    return entries;
}

// The reaches of k = 1..5 numbers taken from positions from on, into reach[k].
void reachesFrom(const std::vector<NumberEntry>& entries, int from, SelectionModel::Reach* reach) {
    const int n = static_cast<int>(entries.size());
    std::array<std::vector<int>, 6> values;
    std::vector<double> weights;
    for (int p = from; p < n; ++p) {
        const NumberEntry& e = entries[static_cast<std::size_t>(p)];
        const int all[6] = {e.inLast, e.inFive, e.even, e.number, e.delay, e.inHundred};
        for (std::size_t f = 0; f < 6; ++f)
            values[f].push_back(all[f]);
        weights.push_back(e.weight);
    }
    for (auto& v : values)
        std::ranges::sort(v);
    std::ranges::sort(weights, std::greater<>());
    for (int k = 1; k <= 5 && k <= n - from; ++k) {
        SelectionModel::Reach& r = reach[k];
        for (std::size_t f = 0; f < 6; ++f) {
            const auto& v = values[f];
            for (int t = 0; t < k; ++t) {
                r.lo[f] += v[static_cast<std::size_t>(t)];
                r.hi[f] += v[v.size() - 1 - static_cast<std::size_t>(t)];
            }
        }
        for (int t = 0; t < k; ++t)
            r.weight += weights[static_cast<std::size_t>(t)];
    }
}

// For each position and each count of numbers still to come: the smallest and largest sums of
// each feature over the numbers from that position on, six reaches a position.
std::vector<SelectionModel::Reach> featureReaches(const std::vector<NumberEntry>& entries) {
    const int n = static_cast<int>(entries.size());
    std::vector<SelectionModel::Reach> reaches(static_cast<std::size_t>(n + 1) * 6);
    for (int from = 0; from < n; ++from)
        reachesFrom(entries, from, &reaches[static_cast<std::size_t>(from) * 6]);
    return reaches;
}

} // namespace

SelectionModel::SelectionModel(const SelectionRequest& request, std::span<const Column> draws)
    : entries(numberEntries(request, draws)),
      tables(measureFeatureStats(draws, request.precision), largestDelaySum(entries)),
      capacity(static_cast<std::size_t>(request.count)),
      tolerance((precisionSteps - request.precision) * 0.01) {
    filter = request.filter.get();
    for (std::size_t f = 0; f < featureCount; ++f)
        maxima[f] = RangeMax(tables.ratings[f]);
    const int n = size();
    total_ = binomial(n, 6);
    for (int k = 0; k <= n; ++k)
        for (int d = 0; d <= 6; ++d)
            binomial_[static_cast<std::size_t>(k)][static_cast<std::size_t>(d)] = binomial(k, d);

    NumberSet marked;
    for (const NumberEntry& e : entries)
        marked.add(e.number);
    for (int f : request.fixed) {
        if (!isBoardNumber(f) || !marked.contains(f))
            fixedUnreachable_ = true;
        else
            fixed.add(f);
    }

    reaches_ = featureReaches(entries);
}

std::vector<SelectionUnit> SelectionModel::units() const {
    std::vector<SelectionUnit> units;
    for (int first = 0; first <= size() - 6; ++first)
        for (int second = first + 1; second <= size() - 5; ++second)
            units.push_back({first, second});
    return units;
}

SelectionWalker::SelectionWalker(const SelectionModel& model, VectorPath path)
    : model_(model), path_(path) {
    if (model_.filter)
        filterPrefix_[0] = model_.filter->start();
}

bool SelectionWalker::filtered(int depth, int position) {
    const auto d = static_cast<std::size_t>(depth);
    return model_.filter &&
           !model_.filter->extend(filterPrefix_[d - 1],
                                  model_.entries[static_cast<std::size_t>(position)].number,
                                  filterPrefix_[d]);
}

std::uint64_t SelectionWalker::walk(SelectionUnit unit, SelectionList& list, const Column* after) {
    list_ = &list;
    after_ = after;
    run(unit);
    list_ = nullptr;
    after_ = nullptr;
    return model_.below(2, unit.second);
}

bool SelectionWalker::collect(SelectionUnit unit, double threshold, std::size_t limit,
                              std::vector<Candidate>& found) {
    found.clear();
    threshold_ = threshold;
    limit_ = limit;
    found_ = &found;
    overflow_ = false;
    run(unit);
    found_ = nullptr;
    return !overflow_;
}

void SelectionWalker::run(SelectionUnit unit) {
    switch (path_) {
#if defined(__SSE2__)
    case VectorPath::avx2:
    case VectorPath::sse2:
        runUnit<Sse2Counts>(unit);
        return;
#endif
    default:
        runUnit<ScalarCounts>(unit);
        return;
    }
}

template <class Counts> void SelectionWalker::runUnit(SelectionUnit unit) {
    extendNumbers(1, unit.first);
    Counts::add(prefix_[0].counts, model_.entries[static_cast<std::size_t>(unit.first)].counts,
                prefix_[1].counts);
    if (hopeless(1, unit.first) || filtered(1, unit.first))
        return;
    extendNumbers(2, unit.second);
    Counts::add(prefix_[1].counts, model_.entries[static_cast<std::size_t>(unit.second)].counts,
                prefix_[2].counts);
    if (hopeless(2, unit.second) || skipped<Counts>(2, unit.second) || filtered(2, unit.second))
        return;
    descend<Counts>(3, unit.second + 1);
}

void SelectionWalker::extendNumbers(int depth, int position) {
    const NumberEntry& e = model_.entries[static_cast<std::size_t>(position)];
    const Prefix& from = prefix_[static_cast<std::size_t>(depth - 1)];
    Prefix& to = prefix_[static_cast<std::size_t>(depth)];
    to.inLast = from.inLast + e.inLast;
    to.inFive = from.inFive + e.inFive;
    to.inHundred = from.inHundred + e.inHundred;
    to.even = from.even + e.even;
    to.sum = from.sum + e.number;
    to.delay = from.delay + e.delay;
    to.weight = from.weight + e.weight;
    to.numbers = from.numbers;
    to.numbers.add(e.number);
    chosen_[static_cast<std::size_t>(depth - 1)] = static_cast<std::uint8_t>(e.number);
}

// A prefix that cannot hold every fixed number: the missing ones must all come later.
bool SelectionWalker::hopeless(int depth, int position) const {
    if (model_.fixed.empty())
        return false;
    const NumberSet missing =
        model_.fixed.without(prefix_[static_cast<std::size_t>(depth)].numbers);
    if (missing.size() > 6 - depth)
        return true;
    const int last = model_.entries[static_cast<std::size_t>(position)].number;
    return !(missing & NumberSet::upTo(last)).empty();
}

template <class Counts> void SelectionWalker::descend(int depth, int start) {
    const int n = model_.size();
    const Prefix& from = prefix_[static_cast<std::size_t>(depth - 1)];
    Prefix& to = prefix_[static_cast<std::size_t>(depth)];
    for (int i = start; i <= n - (7 - depth); ++i) {
        extendNumbers(depth, i);
        Counts::add(from.counts, model_.entries[static_cast<std::size_t>(i)].counts, to.counts);
        if (hopeless(depth, i) || skipped<Counts>(depth, i) || filtered(depth, i))
            continue;
        if (depth == 5)
            scoreLast<Counts>(i);
        else
            descend<Counts>(depth + 1, i + 1);
    }
}

// True when no column below the prefix can score above the cutoff. The bound adds, feature by
// feature, the best rating over every value the remaining numbers can give it; the margin
// covers the different rounding of the sums.
template <class Counts> bool SelectionWalker::skipped(int depth, int position) {
    const Prefix& p = prefix_[static_cast<std::size_t>(depth)];
    const int k = 6 - depth;
    const SelectionModel::Reach& r = model_.reach(position + 1, k);
    const auto& m = model_.maxima;
    const auto [most50, most100] = Counts::most(p.counts);
    double bound = m[commonWithLastDraw](p.inLast + r.lo[0], p.inLast + r.hi[0]);
    bound += m[commonWithLastFive](p.inFive + r.lo[1], p.inFive + r.hi[1]);
    bound += m[mostCommonInFifty](most50, most50 + k);
    bound += m[mostCommonInHundred](most100, most100 + k);
    bound += m[evenNumbers](p.even + r.lo[2], p.even + r.hi[2]);
    bound += m[oddNumbers](6 - p.even - r.hi[2], 6 - p.even - r.lo[2]);
    bound += m[numberSum](p.sum + r.lo[3], p.sum + r.hi[3]);
    bound += m[delaySum](p.delay + r.lo[4], p.delay + r.hi[4]);
    bound += m[commonWithLastHundred](p.inHundred + r.lo[5], p.inHundred + r.hi[5]);
    bound += probabilityPart(p.weight + r.weight);
    return bound + 1e-7 <= cutoff();
}

template <class Counts> void SelectionWalker::scoreLast(int fifthPosition) {
    const Prefix& p = prefix_[5];
    Best fifty, hundred;
    Counts::best(p.counts, fifty, hundred);
    const auto& t = model_.tables.ratings;
    const double* lastDrawRating = t[commonWithLastDraw].data();
    const double* lastFiveRating = t[commonWithLastFive].data();
    const double* mostInFiftyRating = t[mostCommonInFifty].data();
    const double* mostInHundredRating = t[mostCommonInHundred].data();
    const double* evenRating = t[evenNumbers].data();
    const double* oddRating = t[oddNumbers].data();
    const double* sumRating = t[numberSum].data();
    const double* delayRating = t[delaySum].data();
    const double* hundredRating = t[commonWithLastHundred].data();
    int only = 0; // with one fixed number still missing, only it can end the column
    if (!model_.fixed.empty()) {
        const NumberSet missing = model_.fixed.without(p.numbers);
        if (!missing.empty())
            only = missing.lowest();
    }
    // Numbers the filters forbid as the sixth are left out like a missing fixed number.
    const NumberSet allowed =
        model_.filter ? model_.filter->lastNumbers(filterPrefix_[5]) : NumberSet::upTo(boardSize);
    double cut = cutoff();
    const int n = model_.size();
    for (int j = fifthPosition + 1; j < n; ++j) {
        const NumberEntry& e = model_.entries[static_cast<std::size_t>(j)];
        if ((only && e.number != only) || !allowed.contains(e.number))
            continue;
        const int even = p.even + e.even;
        double s = lastDrawRating[p.inLast + e.inLast];
        s += lastFiveRating[p.inFive + e.inFive];
        s += mostInFiftyRating[fifty.most + fifty.reach.meets(e.draws)];
        s += mostInHundredRating[hundred.most + hundred.reach.meets(e.draws)];
        s += evenRating[even];
        s += oddRating[6 - even];
        s += sumRating[p.sum + e.number];
        s += delayRating[p.delay + e.delay];
        s += hundredRating[p.inHundred + e.inHundred];
        const double score = s + probabilityPart(p.weight + e.weight);
        if (score > cut) [[unlikely]] {
            chosen_[5] = static_cast<std::uint8_t>(e.number);
            if (found_) {
                if (found_->size() < limit_)
                    found_->push_back({chosen_, score});
                else
                    overflow_ = true;
            } else if (!after_ || chosen_ > *after_) {
                list_->offer(chosen_, score);
                cut = list_->cutoff();
            }
        }
    }
}

} // namespace quintor
