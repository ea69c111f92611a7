#include "core/scoring.h"

#include "core/closeness.h"
#include "core/scoring_tables.h"

#include <algorithm>
#include <bit>

namespace quintor {

int sampleSize(std::size_t draws, int precision) {
    const long long span = static_cast<long long>(draws) - 101;
    const long long share = std::clamp(precisionSteps - precision, 0, precisionSteps);
    // share * span / 26 rounded half to even, without going through a real, so that
    // 449.5 and 450.5 both give 450 whatever the floating-point ratio would round to.
    const long long numerator = share * span;
    long long n = numerator / precisionSteps;
    const long long twiceRest = 2 * (numerator % precisionSteps);
    if (twiceRest > precisionSteps || (twiceRest == precisionSteps && n % 2 == 1))
        ++n;
    n = std::min(n, span);
    n = std::max(n, 100LL);
    return static_cast<int>(n);
}

double featureRating(int value, const FeatureStats& stats, int feature) {
    const auto k = static_cast<std::size_t>(feature);
    return static_cast<double>(
               meanCloseness(value, stats.minimum[k], stats.mean[k], stats.maximum[k])) *
           featureWeight;
}

std::span<const Column> scoringSnapshot(std::span<const Column> newestFirst) {
    return newestFirst.first(std::min(newestFirst.size(), snapshotLimit));
}

namespace {

// Membership of any byte value, so that damaged draws (a 0 or a number above 90) are
// compared exactly as their bytes say.
struct ByteSet {
    std::array<std::uint64_t, 4> words{};
    void add(std::uint8_t v) { words[v >> 6] |= std::uint64_t{1} << (v & 63); }
    bool has(std::uint8_t v) const { return (words[v >> 6] >> (v & 63)) & 1; }
};

ByteSet byteSetOf(const Column& c) {
    ByteSet s;
    for (auto v : c)
        s.add(v);
    return s;
}

int commonWith(const Column& c, const ByteSet& other) {
    int n = 0;
    for (auto v : c)
        n += other.has(v);
    return n;
}

} // namespace

FeatureStats TARATURA(std::span<const Column> draws, int precision) {
    FeatureStats stats;
    stats.minimum.fill(10000);
    stats.maximum.fill(-10000);
    stats.mean.fill(0);
    const std::size_t count = draws.size();
    const int n = sampleSize(count, precision);
    stats.sampleSize = n;

    std::vector<ByteSet> sets(count);
    for (std::size_t i = 0; i < count; ++i)
        sets[i] = byteSetOf(draws[i]);

    // nextSeen[v]: the 0-based index of the newest draw older than the one being measured
    // that holds v, or count when none does. Walking from the oldest draw keeps it current.
    std::array<std::size_t, 256> nextSeen;
    nextSeen.fill(count);
    for (std::size_t q = count; q-- > 0;) {
        if (q < static_cast<std::size_t>(n)) {
            const Column& c = draws[q];
            const std::size_t a = q + 1; // the draws before c start here
            std::array<int, featureCount> f{};
            f[COMUNI_ULTIMA] = commonWith(c, sets[a]);
            int best50 = 0, best100 = 0, sum5 = 0, sum100 = 0;
            for (std::size_t i = 0; i < 100; ++i) {
                const int common = commonWith(c, sets[a + i]);
                if (i < 5)
                    sum5 += common;
                if (i < 50)
                    best50 = std::max(best50, common);
                best100 = std::max(best100, common);
                sum100 += common;
            }
            f[COMUNI_CINQUE] = sum5;
            f[MAX_COMUNI_50] = best50;
            f[MAX_COMUNI_100] = best100;
            int even = 0, total = 0, delays = 0;
            for (auto v : c) {
                even += v % 2 == 0;
                total += v;
                delays += static_cast<int>(nextSeen[v] - a);
            }
            f[PARI] = even;
            f[DISPARI] = 6 - even;
            f[SOMMA] = total;
            f[RITARDI] = delays;
            f[COMUNI_100] = sum100;
            for (int k = 0; k < featureCount; ++k) {
                const double v = f[static_cast<std::size_t>(k)];
                const auto kk = static_cast<std::size_t>(k);
                stats.mean[kk] += v;
                if (v > stats.maximum[kk])
                    stats.maximum[kk] = v;
                if (v < stats.minimum[kk])
                    stats.minimum[kk] = v;
            }
        }
        for (auto v : draws[q])
            nextSeen[v] = q;
    }
    for (auto& m : stats.mean)
        m /= n;
    return stats;
}

RatingTables::RatingTables(const FeatureStats& stats, std::size_t draws) {
    static constexpr int ranges[featureCount] = {6, 30, 6, 6, 6, 6, 6 * 90, 0, 600};
    for (int k = 0; k < featureCount; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        const int top = k == RITARDI ? 6 * static_cast<int>(draws) : ranges[k];
        auto& table = ratings[kk];
        table.resize(static_cast<std::size_t>(top) + 1);
        for (int v = 0; v <= top; ++v)
            table[static_cast<std::size_t>(v)] = featureRating(v, stats, k);
    }
}

ColumnScorer::ColumnScorer(std::span<const Column> draws, const FeatureStats& stats,
                           const std::array<double, 91>& probabilities, std::vector<int> fixed)
    : draws_(draws), stats_(stats), probabilities_(probabilities), fixed_(std::move(fixed)) {}

std::array<int, featureCount> ColumnScorer::features(const Column& column) const {
    std::array<int, featureCount> f{};
    std::vector<ByteSet> sets;
    sets.reserve(100);
    for (std::size_t i = 0; i < 100 && i < draws_.size(); ++i)
        sets.push_back(byteSetOf(draws_[i]));
    f[COMUNI_ULTIMA] = commonWith(column, sets[0]);
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const int common = commonWith(column, sets[i]);
        if (i < 5)
            f[COMUNI_CINQUE] += common;
        if (i < 50)
            f[MAX_COMUNI_50] = std::max(f[MAX_COMUNI_50], common);
        f[MAX_COMUNI_100] = std::max(f[MAX_COMUNI_100], common);
        f[COMUNI_100] += common;
    }
    for (auto v : column) {
        f[PARI] += v % 2 == 0;
        f[SOMMA] += v;
        std::size_t i = 0;
        while (i < draws_.size() && !std::ranges::count(draws_[i], v))
            ++i;
        f[RITARDI] += static_cast<int>(i);
    }
    f[DISPARI] = 6 - f[PARI];
    return f;
}

double ColumnScorer::PROBABILITA(const Column& column) const {
    for (int n : fixed_)
        if (!std::ranges::count(column, n))
            return -10;
    const auto f = features(column);
    double s = 0;
    for (int k = 0; k < featureCount; ++k)
        s = s + featureRating(f[static_cast<std::size_t>(k)], stats_, k);
    double p = 0;
    for (auto v : column)
        p = p + probabilities_[v];
    return s + probabilityPart(p);
}

} // namespace quintor
