#include "core/selection.h"

#include "core/combinatorics.h"
#include "core/conversions.h"
#include "core/scoring_tables.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <optional>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quintor {

SelectionRequest selectionRequest(const SystemState& system, std::span<const Column> draws,
                                  std::int64_t count, int precision) {
    SelectionRequest request;
    request.draws = draws;
    request.marked = system.markedNumbers();
    for (int n = 1; n <= boardSize; ++n)
        request.probabilities[static_cast<std::size_t>(n)] =
            system.probabilities[static_cast<std::size_t>(n)].toDouble();
    const int fixedCount = std::clamp(system.fixedCount, 0, boardSize);
    for (int i = 0; i < fixedCount; ++i)
        request.fixed.push_back(system.fixedNumbers[static_cast<std::size_t>(i)]);
    request.count = count;
    request.precision = precision;
    return request;
}

Expected<std::int64_t> requestedCount(std::string_view text, double initialColumns) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    const Expected<int> value = parseInteger(text);
    if (!value || *value < 1 || *value > initialColumns)
        return Failure{invalidCountMessage};
    return std::int64_t{*value};
}

namespace {

// A set of board numbers in two words: bit n for number n.
struct Mask {
    std::uint64_t lo = 0, hi = 0;
    void add(int n) {
        if (n < 64)
            lo |= std::uint64_t{1} << n;
        else
            hi |= std::uint64_t{1} << (n - 64);
    }
    bool has(int n) const { return n < 64 ? (lo >> n) & 1 : (hi >> (n - 64)) & 1; }
    Mask operator|(const Mask& o) const { return {lo | o.lo, hi | o.hi}; }
    Mask operator&(const Mask& o) const { return {lo & o.lo, hi & o.hi}; }
    Mask without(const Mask& o) const { return {lo & ~o.lo, hi & ~o.hi}; }
    int size() const { return std::popcount(lo) + std::popcount(hi); }
    bool empty() const { return (lo | hi) == 0; }
};

Mask boardMask(const Column& c) {
    Mask m;
    for (auto v : c)
        if (isBoardNumber(v))
            m.add(v);
    return m;
}

int common(const Mask& a, const Mask& b) {
    return (a & b).size();
}

// The kept columns. The lowest row is the first row holding the lowest score; once the list
// is full a tournament tree finds it again after each change in log time instead of a scan.
class SelectionList {
public:
    SelectionList(std::size_t capacity, double tolerance)
        : capacity_(capacity), tolerance_(tolerance) {}

    // Candidates at or below this score cannot change the list.
    double cutoff() const {
        if (!full())
            return 0;
        // The margin only lets a few more columns through to the exact rules below.
        return std::max(0.0, lowest_ - tolerance_ - 1e-6);
    }

    void offer(const Column& column, double score) {
        if (score <= 0)
            return;
        if (!full()) {
            append(column, score);
            return;
        }
        const double difference = score - lowest_;
        if (score > lowest_ && difference >= tolerance_)
            replaceLowest(column, score);
        else if (std::fabs(difference) < tolerance_)
            tieBreak(column, score);
    }

    std::vector<Column> columns() const { return columns_; }
    const std::vector<double>& scores() const { return scores_; }
    bool empty() const { return columns_.empty(); }

private:
    bool full() const { return columns_.size() >= capacity_; }

    void append(const Column& column, double score) {
        columns_.push_back(column);
        scores_.push_back(score);
        masks_.push_back(boardMask(column));
        if (lowestRow_ == npos || score < lowest_) {
            lowest_ = score;
            lowestRow_ = columns_.size() - 1;
        }
        if (full())
            buildTree();
    }

    void replaceLowest(const Column& column, double score) {
        const std::size_t row = lowestRow_;
        columns_[row] = column;
        scores_[row] = score;
        masks_[row] = boardMask(column);
        profileValid_ = false;
        updateTree(row);
    }

    // Overlap profile of a column with every kept row but the lowest one.
    std::array<std::size_t, 7> DOMINIO(const Mask& column) const {
        std::array<std::size_t, 7> profile{};
        for (std::size_t r = 0; r < masks_.size(); ++r)
            if (r != lowestRow_)
                ++profile[static_cast<std::size_t>(common(column, masks_[r]))];
        return profile;
    }

    void tieBreak(const Column& column, double score) {
        const auto candidate = DOMINIO(boardMask(column));
        if (!profileValid_) {
            lowestProfile_ = DOMINIO(masks_[lowestRow_]);
            profileValid_ = true;
        }
        for (std::size_t m = 7; m-- > 0;) {
            if (candidate[m] != lowestProfile_[m]) {
                if (candidate[m] > lowestProfile_[m])
                    replaceLowest(column, score);
                return;
            }
        }
    }

    bool lower(std::size_t a, std::size_t b) const {
        return scores_[a] < scores_[b] || (scores_[a] == scores_[b] && a < b);
    }

    void buildTree() {
        leaves_ = std::bit_ceil(capacity_);
        tree_.assign(2 * leaves_, npos);
        for (std::size_t r = 0; r < columns_.size(); ++r)
            tree_[leaves_ + r] = r;
        for (std::size_t i = leaves_; i-- > 1;)
            tree_[i] = pick(tree_[2 * i], tree_[2 * i + 1]);
        settleLowest();
    }

    std::size_t pick(std::size_t a, std::size_t b) const {
        if (a == npos)
            return b;
        if (b == npos)
            return a;
        return lower(b, a) ? b : a;
    }

    void updateTree(std::size_t row) {
        for (std::size_t i = (leaves_ + row) / 2; i >= 1; i /= 2)
            tree_[i] = pick(tree_[2 * i], tree_[2 * i + 1]);
        settleLowest();
    }

    void settleLowest() {
        const std::size_t row = tree_[1];
        if (row != lowestRow_)
            profileValid_ = false;
        lowestRow_ = row;
        lowest_ = scores_[row];
    }

    static constexpr std::size_t npos = std::numeric_limits<std::size_t>::max();

    std::size_t capacity_;
    double tolerance_;
    std::vector<Column> columns_;
    std::vector<double> scores_;
    std::vector<Mask> masks_;
    double lowest_ = 1000;
    std::size_t lowestRow_ = npos;
    std::size_t leaves_ = 0;
    std::vector<std::size_t> tree_;
    std::array<std::size_t, 7> lowestProfile_{};
    bool profileValid_ = false;
};

// A set of the hundred newest draws, by index: bits 0..63 in low, 64..99 in high.
struct DrawSet {
    std::uint64_t low = 0, high = 0;
    bool meets(const DrawSet& o) const { return ((low & o.low) | (high & o.high)) != 0; }
};

// What a candidate's last number adds to the features, per marked number.
struct NumberEntry {
    std::uint8_t number;
    std::uint8_t inLast; // in the newest draw
    std::uint8_t inFive; // how many of the newest five draws hold it
    std::uint8_t even;
    std::uint16_t inHundred;
    std::uint32_t delay;
    double weight;
    DrawSet draws; // which of the hundred newest draws hold it
};

// How many of the hundred newest draws hold each number of the prefix, one byte per draw,
// padded to whole 16-byte lanes.
constexpr std::size_t lanes = 7;
struct alignas(16) DrawCounts {
    std::array<std::uint8_t, 16 * lanes> bytes{};
};

struct Prefix {
    int inLast = 0, inFive = 0, inHundred = 0, even = 0, sum = 0, delay = 0;
    double weight = 0;
    Mask numbers;
    DrawCounts counts;
};

void addCounts(const DrawCounts& from, const DrawCounts& number, DrawCounts& to) {
#if defined(__SSE2__)
    for (std::size_t l = 0; l < lanes; ++l) {
        const __m128i a = _mm_load_si128(reinterpret_cast<const __m128i*>(&from.bytes[16 * l]));
        const __m128i b = _mm_load_si128(reinterpret_cast<const __m128i*>(&number.bytes[16 * l]));
        _mm_store_si128(reinterpret_cast<__m128i*>(&to.bytes[16 * l]), _mm_add_epi8(a, b));
    }
#else
    for (std::size_t i = 0; i < to.bytes.size(); ++i)
        to.bytes[i] = static_cast<std::uint8_t>(from.bytes[i] + number.bytes[i]);
#endif
}

// The most common numbers the prefix shares with one of the newest draws, and the draws that
// share that many: a last number held by one of them adds one to the most. Testing the last
// number against those draws costs two ANDs a column, where building the union of their
// numbers cost a pass over every such draw for each prefix.
struct Best {
    int most = 0;
    DrawSet reach;
};

#if defined(__SSE2__)
inline int horizontalMax(__m128i v) {
    v = _mm_max_epu8(v, _mm_srli_si128(v, 8));
    v = _mm_max_epu8(v, _mm_srli_si128(v, 4));
    v = _mm_max_epu8(v, _mm_srli_si128(v, 2));
    v = _mm_max_epu8(v, _mm_srli_si128(v, 1));
    return _mm_cvtsi128_si32(v) & 0xff;
}

// Both maxima at once: over the 50 and the 100 newest draws.
void bestOfBoth(const DrawCounts& counts, Best& fifty, Best& hundred) {
    __m128i v[lanes];
    for (std::size_t l = 0; l < lanes; ++l)
        v[l] = _mm_load_si128(reinterpret_cast<const __m128i*>(&counts.bytes[16 * l]));
    // Draws 0..49 are lanes 0..2 and the first two bytes of lane 3.
    const __m128i firstTwo = _mm_set_epi8(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1);
    const __m128i head3 = _mm_and_si128(v[3], firstTwo);
    const int most50 =
        horizontalMax(_mm_max_epu8(_mm_max_epu8(v[0], v[1]), _mm_max_epu8(v[2], head3)));
    const int most100 = std::max(
        horizontalMax(_mm_max_epu8(_mm_max_epu8(v[3], v[4]), _mm_max_epu8(v[5], v[6]))), most50);
    auto hits = [&](int most) {
        const __m128i m = _mm_set1_epi8(static_cast<char>(most));
        std::uint64_t low = 0, high = 0;
        for (std::size_t l = 0; l < 4; ++l)
            low |= std::uint64_t(std::uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v[l], m))))
                   << (16 * l);
        for (std::size_t l = 4; l < lanes; ++l)
            high |= std::uint64_t(std::uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v[l], m))))
                    << (16 * (l - 4));
        return std::pair{low, high};
    };
    constexpr std::uint64_t first50 = (std::uint64_t{1} << 50) - 1;
    constexpr std::uint64_t first36 = (std::uint64_t{1} << 36) - 1; // draws 64..99
    const auto [low50, high50] = hits(most50);
    fifty.most = most50;
    fifty.reach = DrawSet{low50 & first50, 0};
    const auto [low100, high100] = most100 == most50 ? std::pair{low50, high50} : hits(most100);
    hundred.most = most100;
    hundred.reach = DrawSet{low100, high100 & first36};
}
#else
// The most common numbers the prefix shares with one of the first `draws` draws, and the
// union of the draws that share that many: a last number in the union adds one to the most.

Best bestOf(const DrawCounts& counts, std::size_t draws) {
    Best best;
    for (std::size_t i = 0; i < draws; ++i)
        best.most = std::max(best.most, int{counts.bytes[i]});
    for (std::size_t i = 0; i < draws; ++i)
        if (counts.bytes[i] == best.most)
            (i < 64 ? best.reach.low : best.reach.high) |= std::uint64_t{1} << (i % 64);
    return best;
}
#endif

// The delay sum of the six marked numbers longest absent: no candidate goes beyond it.
int largestDelaySum(std::span<const Column> draws, const std::vector<int>& marked) {
    std::vector<int> delays;
    for (int x : marked) {
        std::size_t i = 0;
        while (i < draws.size() && std::ranges::find(draws[i], x) == draws[i].end())
            ++i;
        delays.push_back(static_cast<int>(i));
    }
    std::ranges::sort(delays, std::greater<>());
    int sum = 0;
    for (std::size_t k = 0; k < 6 && k < delays.size(); ++k)
        sum += delays[k];
    return sum;
}

class Engine {
public:
    Engine(const SelectionRequest& request, std::span<const Column> draws, RunControl* control,
           const SelectionProgress& progress)
        : request_(request), draws_(draws), control_(control), progress_(progress),
          stats_(TARATURA(draws, request.precision)),
          tables_(stats_, largestDelaySum(draws, request.marked)),
          list_(static_cast<std::size_t>(request.count),
                (precisionSteps - request.precision) * 0.01) {
        nums_ = request.marked;
        n_ = static_cast<int>(nums_.size());
        total_ = initialColumnCountExact(n_);
        for (int k = 0; k <= n_; ++k)
            for (int d = 0; d <= 6; ++d)
                binomial_[static_cast<std::size_t>(k)][static_cast<std::size_t>(d)] = choose(k, d);
        for (std::size_t i = 0; i < 100; ++i)
            drawMasks_.push_back(boardMask(draws[i]));
        std::array<int, 91> delay;
        delay.fill(static_cast<int>(draws.size()));
        for (std::size_t i = draws.size(); i-- > 0;)
            for (auto v : draws[i])
                if (isBoardNumber(v))
                    delay[v] = static_cast<int>(i);
        for (int x : nums_) {
            NumberEntry e{};
            e.number = static_cast<std::uint8_t>(x);
            e.inLast = drawMasks_[0].has(x);
            for (std::size_t i = 0; i < 100; ++i) {
                const bool in = drawMasks_[i].has(x);
                if (i < 5)
                    e.inFive = static_cast<std::uint8_t>(e.inFive + in);
                e.inHundred = static_cast<std::uint16_t>(e.inHundred + in);
                memberships_[static_cast<std::size_t>(x)].bytes[i] = in;
                if (in)
                    (i < 64 ? e.draws.low : e.draws.high) |= std::uint64_t{1} << (i % 64);
            }
            e.even = x % 2 == 0;
            e.delay = static_cast<std::uint32_t>(delay[static_cast<std::size_t>(x)]);
            e.weight = request.probabilities[static_cast<std::size_t>(x)];
            entries_.push_back(e);
        }
        marked_ = Mask{};
        for (int x : nums_)
            marked_.add(x);
        for (int f : request.fixed) {
            if (!isBoardNumber(f) || !marked_.has(f))
                fixedUnreachable_ = true;
            else
                fixed_.add(f);
        }
    }

    bool run() {
        if (fixedUnreachable_) {
            // Every column lacks a fixed number: all are rejected without scoring them.
            examined_ = total_;
            return report(true);
        }
        prefix_[0] = Prefix{};
        const int threads = threadCount();
        if (threads > 1)
            return runParallel(threads);
        return descend(1, 0);
    }

    const SelectionList& list() const { return list_; }

private:
    static std::uint64_t choose(int k, int d) {
        if (d < 0 || k < d)
            return 0;
        std::uint64_t c = 1;
        for (int i = 1; i <= d; ++i)
            c = c * static_cast<std::uint64_t>(k - d + i) / static_cast<std::uint64_t>(i);
        return c;
    }

    // Columns of the subtree below a prefix of `depth` numbers whose last is at position i.
    std::uint64_t below(int depth, int i) const {
        return binomial_[static_cast<std::size_t>(n_ - 1 - i)][static_cast<std::size_t>(6 - depth)];
    }

    void extend(int depth, int i) {
        const NumberEntry& e = entries_[static_cast<std::size_t>(i)];
        const Prefix& from = prefix_[static_cast<std::size_t>(depth - 1)];
        Prefix& to = prefix_[static_cast<std::size_t>(depth)];
        to.inLast = from.inLast + e.inLast;
        to.inFive = from.inFive + e.inFive;
        to.inHundred = from.inHundred + e.inHundred;
        to.even = from.even + e.even;
        to.sum = from.sum + e.number;
        to.delay = from.delay + static_cast<int>(e.delay);
        to.weight = from.weight + e.weight;
        to.numbers = from.numbers;
        to.numbers.add(e.number);
        addCounts(from.counts, memberships_[e.number], to.counts);
        chosen_[static_cast<std::size_t>(depth - 1)] = e.number;
    }

    // A prefix that cannot hold every fixed number: the missing ones must all come later.
    bool hopeless(int depth, int i) const {
        if (fixed_.empty())
            return false;
        const Mask missing = fixed_.without(prefix_[static_cast<std::size_t>(depth)].numbers);
        if (missing.size() > 6 - depth)
            return true;
        const int last = entries_[static_cast<std::size_t>(i)].number;
        Mask upToLast;
        upToLast.lo = last >= 63 ? ~std::uint64_t{0} : (std::uint64_t{2} << last) - 1;
        upToLast.hi = last < 64 ? 0 : ~std::uint64_t{0} >> (127 - last);
        return !(missing & upToLast).empty();
    }

    bool descend(int depth, int start) {
        for (int i = start; i <= n_ - (7 - depth); ++i) {
            extend(depth, i);
            if (hopeless(depth, i)) {
                examined_ += below(depth, i);
            } else if (depth == 5) {
                scoreLast(i);
            } else if (!descend(depth + 1, i + 1)) {
                return false;
            }
            if (!quiet_ && examined_ - reported_ >= reportStep && !report(false))
                return false;
        }
        return depth > 1 || report(true);
    }

    int threadCount() const {
        if (request_.threads > 0)
            return request_.threads;
        if (total_ < (std::uint64_t{1} << 22))
            return 1;
        return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    }

    // The columns below the prefix of positions i0, i1: one unit of parallel work.
    void scanUnit(int i0, int i1) {
        extend(1, i0);
        if (hopeless(1, i0)) {
            examined_ += below(2, i1);
            return;
        }
        extend(2, i1);
        if (hopeless(2, i1)) {
            examined_ += below(2, i1);
            return;
        }
        descend(3, i1 + 1);
    }

    // Workers score units ahead of the list, each keeping only the columns above the lowest
    // useful score when it took the unit; the list takes the units in enumeration order. The
    // lowest useful score can fall (a tie-break may keep a lower column), and then the unit
    // is scored again here against the list itself, from the first column not yet offered:
    // the outcome is the one of a single pass.
    bool runParallel(int threads) {
        std::vector<std::pair<int, int>> units;
        for (int i0 = 0; i0 <= n_ - 6; ++i0)
            for (int i1 = i0 + 1; i1 <= n_ - 5; ++i1)
                units.emplace_back(i0, i1);
        struct Slot {
            bool ready = false;
            bool overflow = false;
            double threshold = 0;
            std::uint64_t columns = 0;
            std::vector<Found> found;
        };
        std::vector<Slot> slots(units.size());
        std::mutex mutex;
        std::condition_variable changed;
        std::size_t taken = 0, consumed = 0;
        bool quit = false;
        std::atomic<double> published{list_.cutoff()};
        const std::size_t lookahead = 4 * static_cast<std::size_t>(threads);

        // Copied here, before any thread runs, while nothing changes this engine.
        std::vector<Engine> workers(static_cast<std::size_t>(threads), *this);
        for (Engine& worker : workers) {
            worker.collect_ = true;
            worker.quiet_ = true;
        }
        auto work = [&](Engine& worker) {
            while (true) {
                std::size_t k;
                {
                    std::unique_lock lock(mutex);
                    changed.wait(lock, [&] { return quit || taken < consumed + lookahead; });
                    if (quit || taken >= units.size())
                        return;
                    k = taken++;
                }
                worker.threshold_ = published.load();
                worker.found_.clear();
                worker.overflow_ = false;
                worker.examined_ = 0;
                worker.scanUnit(units[k].first, units[k].second);
                {
                    std::lock_guard lock(mutex);
                    Slot& slot = slots[k];
                    slot.threshold = worker.threshold_;
                    slot.overflow = worker.overflow_;
                    slot.columns = worker.examined_;
                    slot.found.swap(worker.found_);
                    slot.ready = true;
                }
                changed.notify_all();
            }
        };
        std::vector<std::thread> pool;
        for (Engine& worker : workers)
            pool.emplace_back(work, std::ref(worker));
        auto finish = [&](bool outcome) {
            {
                std::lock_guard lock(mutex);
                quit = true;
            }
            changed.notify_all();
            for (auto& thread : pool)
                thread.join();
            return outcome;
        };

        quiet_ = true;
        for (std::size_t k = 0; k < units.size(); ++k) {
            Slot slot;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return slots[k].ready; });
                slot = std::move(slots[k]);
                slots[k].found = {};
            }
            const auto [i0, i1] = units[k];
            if (slot.overflow || list_.cutoff() < slot.threshold) {
                rescan(i0, i1, std::nullopt);
            } else {
                for (const Found& f : slot.found) {
                    list_.offer(f.column, f.score);
                    if (list_.cutoff() < slot.threshold) {
                        rescan(i0, i1, f.column);
                        break;
                    }
                }
            }
            examined_ += slot.columns;
            published.store(list_.cutoff());
            {
                std::lock_guard lock(mutex);
                consumed = k + 1;
            }
            changed.notify_all();
            if (examined_ - reported_ >= reportStep && !report(false))
                return finish(false);
        }
        return finish(report(true));
    }

    // Scores a unit again against the list itself, offering only columns after `after`.
    void rescan(int i0, int i1, std::optional<Column> after) {
        ++rescans_;
        const std::uint64_t examined = examined_;
        resumeAfter_ = after;
        scanUnit(i0, i1);
        resumeAfter_.reset();
        examined_ = examined;
    }

    void scoreLast(int i4) {
        const Prefix& p = prefix_[5];
        Best fifty, hundred;
#if defined(__SSE2__)
        bestOfBoth(p.counts, fifty, hundred);
#else
        fifty = bestOf(p.counts, 50);
        hundred = bestOf(p.counts, 100);
#endif
        const double* r0 = tables_.ratings[0].data();
        const double* r1 = tables_.ratings[1].data();
        const double* r2 = tables_.ratings[2].data();
        const double* r3 = tables_.ratings[3].data();
        const double* r4 = tables_.ratings[4].data();
        const double* r5 = tables_.ratings[5].data();
        const double* r6 = tables_.ratings[6].data();
        const double* r7 = tables_.ratings[7].data();
        const double* r8 = tables_.ratings[8].data();
        int only = 0; // with one fixed number still missing, only it can end the column
        if (!fixed_.empty()) {
            const Mask missing = fixed_.without(p.numbers);
            if (!missing.empty())
                only =
                    missing.lo ? std::countr_zero(missing.lo) : 64 + std::countr_zero(missing.hi);
        }
        double cutoff = collect_ ? threshold_ : list_.cutoff();
        for (int j = i4 + 1; j < n_; ++j) {
            const NumberEntry& e = entries_[static_cast<std::size_t>(j)];
            if (only && e.number != only)
                continue;
            const int even = p.even + e.even;
            double s = r0[p.inLast + e.inLast];
            s += r1[p.inFive + e.inFive];
            s += r2[fifty.most + fifty.reach.meets(e.draws)];
            s += r3[hundred.most + hundred.reach.meets(e.draws)];
            s += r4[even];
            s += r5[6 - even];
            s += r6[p.sum + e.number];
            s += r7[p.delay + static_cast<int>(e.delay)];
            s += r8[p.inHundred + e.inHundred];
            const double score = s + probabilityPart(p.weight + e.weight);
            if (score > cutoff) [[unlikely]] {
                chosen_[5] = e.number;
                if (collect_) {
                    if (found_.size() < foundLimit)
                        found_.push_back({chosen_, score});
                    else
                        overflow_ = true;
                } else if (!resumeAfter_ || chosen_ > *resumeAfter_) {
                    list_.offer(chosen_, score);
                    cutoff = list_.cutoff();
                }
            }
        }
        examined_ += static_cast<std::uint64_t>(n_ - 1 - i4);
    }

    bool report(bool last) {
        reported_ = examined_;
        if (control_ && control_->cancelRequested())
            return false;
        if (progress_)
            progress_(last ? total_ : examined_, total_);
        return !control_ || control_->checkpoint();
    }

    static constexpr std::uint64_t reportStep = 1 << 15;
    // A unit scored while the list was still filling can hold millions of columns above 0:
    // past this many the list scores it itself.
    static constexpr std::size_t foundLimit = 1 << 10;

    struct Found {
        Column column;
        double score;
    };
    bool collect_ = false; // a worker: keeps columns above threshold_ in found_
    bool quiet_ = false;   // no checkpoints inside the enumeration
    double threshold_ = 0;
    std::vector<Found> found_;
    bool overflow_ = false;
    std::optional<Column> resumeAfter_;
    int rescans_ = 0;

public:
    int rescans() const {
        return rescans_;
    }

    const SelectionRequest& request_;
    std::span<const Column> draws_;
    RunControl* control_;
    const SelectionProgress& progress_;
    FeatureStats stats_;
    RatingTables tables_;
    SelectionList list_;
    std::vector<int> nums_;
    int n_ = 0;
    std::uint64_t total_ = 0;
    std::uint64_t examined_ = 0;
    std::uint64_t reported_ = 0;
    std::array<std::array<std::uint64_t, 7>, 91> binomial_{};
    std::vector<Mask> drawMasks_;
    std::array<DrawCounts, 91> memberships_{};
    std::vector<NumberEntry> entries_;
    Mask marked_, fixed_;
    bool fixedUnreachable_ = false;
    std::array<Prefix, 6> prefix_{};
    Column chosen_{};
};

} // namespace

Expected<SelectionResult> selectColumns(const SelectionRequest& request, RunControl* control,
                                        const SelectionProgress& progress) {
    const std::span<const Column> draws = scoringSnapshot(request.draws);
    if (draws.size() < minimumDraws)
        return Failure{fewDrawsMessage};
    std::vector<int> marked;
    for (int x : request.marked)
        if (isBoardNumber(x))
            marked.push_back(x);
    std::ranges::sort(marked);
    marked.erase(std::unique(marked.begin(), marked.end()), marked.end());
    if (marked.size() < 6)
        return Failure{fewMarksMessage};
    const double initial = initialColumnCount(static_cast<int>(marked.size()));
    if (request.count < 1 || static_cast<double>(request.count) > initial)
        return Failure{invalidCountMessage};

    SelectionRequest sorted = request;
    sorted.marked = std::move(marked);
    sorted.precision = std::clamp(request.precision, 0, precisionSteps);
    Engine engine(sorted, draws, control, progress);
    SelectionResult result;
    if (!engine.run()) {
        result.stopped = true;
        return result;
    }
    result.columns = engine.list().columns();
    result.scores = engine.list().scores();
    result.rescannedUnits = engine.rescans();
    return result;
}

} // namespace quintor
