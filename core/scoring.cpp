#include "core/scoring.h"

#include "core/closeness.h"
#include "core/number_set.h"
#include "core/scoring_tables.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Six distinct board numbers: what every real draw is.
bool plainColumn(const Column& c) {
    NumberSet seen;
    for (auto v : c) {
        if (!isBoardNumber(v) || seen.contains(v))
            return false;
        seen.add(v);
    }
    return true;
}

#if defined(__SSE2__)
int largestByte(__m128i v) {
    v = _mm_max_epu8(v, _mm_srli_si128(v, 8));
    v = _mm_max_epu8(v, _mm_srli_si128(v, 4));
    v = _mm_max_epu8(v, _mm_srli_si128(v, 2));
    v = _mm_max_epu8(v, _mm_srli_si128(v, 1));
    return _mm_cvtsi128_si32(v) & 0xff;
}

// Common numbers of c with each of the hundred draws from index a: their sum over the first
// five and over all, their largest over the first fifty and over all.
void commonWithHundred(const std::uint8_t* holds, std::size_t stride, const Column& c,
                       std::size_t a, int& best50, int& best100, int& sum5, int& sum100) {
    __m128i acc[7];
    for (auto& v : acc)
        v = _mm_setzero_si128();
    for (auto x : c) {
        const std::uint8_t* row = holds + x * stride + a;
        for (int l = 0; l < 7; ++l)
            acc[l] = _mm_add_epi8(acc[l],
                                  _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 16 * l)));
    }
    // Draws 96..99 are the first four bytes of the last lane; 48, 49 the first two of lane 3.
    acc[6] = _mm_and_si128(acc[6], _mm_set_epi32(0, 0, 0, -1));
    const __m128i head3 = _mm_and_si128(acc[3], _mm_set_epi32(0, 0, 0, 0xffff));
    best50 = largestByte(_mm_max_epu8(_mm_max_epu8(acc[0], acc[1]), _mm_max_epu8(acc[2], head3)));
    best100 = std::max(best50, largestByte(_mm_max_epu8(_mm_max_epu8(acc[3], acc[4]),
                                                        _mm_max_epu8(acc[5], acc[6]))));
    __m128i total = _mm_setzero_si128();
    for (const auto& v : acc)
        total = _mm_add_epi64(total, _mm_sad_epu8(v, _mm_setzero_si128()));
    sum100 = _mm_cvtsi128_si32(total) + _mm_cvtsi128_si32(_mm_srli_si128(total, 8));
    alignas(16) std::uint8_t first[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(first), acc[0]);
    sum5 = first[0] + first[1] + first[2] + first[3] + first[4];
}
#endif

// The numbers in common with each of the hundred draws from before on: the sum over the first
// five, the most over the first fifty, the most and the sum over all hundred.
void commonWithHundred(const ByteSet* before, const Column& c, int& best50, int& best100, int& sum5,
                       int& sum100) {
    for (std::size_t i = 0; i < 100; ++i) {
        const int common = commonWith(c, before[i]);
        if (i < 5)
            sum5 += common;
        if (i < 50)
            best50 = std::max(best50, common);
        best100 = std::max(best100, common);
        sum100 += common;
    }
}

// One draw's features into the running sums, least and greatest values.
void addSample(FeatureStats& stats, const std::array<int, featureCount>& features) {
    for (std::size_t k = 0; k < features.size(); ++k) {
        const double v = features[k];
        stats.mean[k] += v;
        if (v > stats.maximum[k])
            stats.maximum[k] = v;
        if (v < stats.minimum[k])
            stats.minimum[k] = v;
    }
}

} // namespace

FeatureStats measureFeatureStats(std::span<const Column> draws, int precision) {
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
#if defined(__SSE2__)
    // For each board number, one byte per draw: 1 when the draw holds it. A column of six
    // distinct board numbers then meets the hundred draws before it in six vector sums.
    const std::size_t stride = count + 128;
    std::vector<std::uint8_t> holds(91 * stride);
    for (std::size_t i = 0; i < count; ++i)
        for (auto v : draws[i])
            if (v >= 1 && v <= 90)
                holds[v * stride + i] = 1;
#endif

    // nextSeen[v]: the 0-based index of the newest draw older than the one being measured
    // that holds v, or count when none does. Walking from the oldest draw keeps it current.
    std::array<std::size_t, 256> nextSeen;
    nextSeen.fill(count);
    for (std::size_t q = count; q-- > 0;) {
        if (q < static_cast<std::size_t>(n)) {
            const Column& c = draws[q];
            const std::size_t a = q + 1; // the draws before c start here
            std::array<int, featureCount> f{};
            f[commonWithLastDraw] = commonWith(c, sets[a]);
            int best50 = 0, best100 = 0, sum5 = 0, sum100 = 0;
#if defined(__SSE2__)
            if (plainColumn(c)) {
                commonWithHundred(holds.data(), stride, c, a, best50, best100, sum5, sum100);
            } else
#endif
                commonWithHundred(sets.data() + a, c, best50, best100, sum5, sum100);
            f[commonWithLastFive] = sum5;
            f[mostCommonInFifty] = best50;
            f[mostCommonInHundred] = best100;
            int even = 0, total = 0, delays = 0;
            for (auto v : c) {
                even += v % 2 == 0;
                total += v;
                delays += static_cast<int>(nextSeen[v] - a);
            }
            f[evenNumbers] = even;
            f[oddNumbers] = 6 - even;
            f[numberSum] = total;
            f[delaySum] = delays;
            f[commonWithLastHundred] = sum100;
            addSample(stats, f);
        }
        for (auto v : draws[q])
            nextSeen[v] = q;
    }
    for (auto& m : stats.mean)
        m /= n;
    return stats;
}

RatingTables::RatingTables(const FeatureStats& stats, int delayTop) {
    static constexpr int ranges[featureCount] = {6, 30, 6, 6, 6, 6, 6 * 90, 0, 600};
    for (int k = 0; k < featureCount; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        const int top = k == delaySum ? delayTop : ranges[k];
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
    f[commonWithLastDraw] = commonWith(column, sets[0]);
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const int common = commonWith(column, sets[i]);
        if (i < 5)
            f[commonWithLastFive] += common;
        if (i < 50)
            f[mostCommonInFifty] = std::max(f[mostCommonInFifty], common);
        f[mostCommonInHundred] = std::max(f[mostCommonInHundred], common);
        f[commonWithLastHundred] += common;
    }
    for (auto v : column) {
        f[evenNumbers] += v % 2 == 0;
        f[numberSum] += v;
        std::size_t i = 0;
        while (i < draws_.size() && !std::ranges::count(draws_[i], v))
            ++i;
        f[delaySum] += static_cast<int>(i);
    }
    f[oddNumbers] = 6 - f[evenNumbers];
    return f;
}

double ColumnScorer::score(const Column& column) const {
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
