// The best-match count of the probability window: every six-number combination of the
// marked numbers against every final column, bit-parallel over the final columns, on as many
// threads as the machine has, each taking the combinations below one pair of first numbers
// at a time; the counts of the pairs are added in order, so a stop keeps an exact prefix.
// Below four fixed numbers, all pairs of last numbers are counted at once from the few final
// columns that hold the most of those four (pairsAfterFourBody).
#include "core/ahead_workers.h"
#include "core/combinatorics.h"
#include "core/number_set.h"
#include "core/probability.h"
#include "core/run_control.h"
#include "core/vector_path.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <mutex>
#include <optional>
#include <vector>

namespace quintor {

namespace {

using Word = std::uint64_t;

// The helpers that take and return blocks are always inlined: no block crosses a call.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

// Final columns are handled four words (256 columns) at a time; the lists are padded to that.
constexpr std::size_t block = 4;
typedef Word Block __attribute__((vector_size(block * sizeof(Word))));

// Per final column, how many numbers of the current prefix it holds, bit-sliced: bit j of
// plane b0, b1, b2 at word w are the three bits of the count of final column 64 * w + j. One
// addition of a number's membership bits updates 64 final columns a word.
struct Planes {
    std::vector<Word> b0, b1, b2;
    void assign(std::size_t words) {
        b0.assign(words, 0);
        b1.assign(words, 0);
        b2.assign(words, 0);
    }
};

// What every thread reads: the final columns as sets and bits.
class BestMatchModel {
public:
    BestMatchModel(std::span<const int> marked, std::span<const Column> finals)
        : n(static_cast<int>(marked.size())),
          words((finals.size() + 64 * block - 1) / (64 * block) * block) {
        for (const Column& column : finals)
            columnNumbers.push_back(NumberSet::of(column));
        columnNumbers.resize(words * 64);
        members.assign(static_cast<std::size_t>(n) * words, 0);
        for (int p = 0; p < n; ++p)
            for (std::size_t j = 0; j < finals.size(); ++j)
                if (columnNumbers[j].contains(marked[static_cast<std::size_t>(p)]))
                    members[static_cast<std::size_t>(p) * words + j / 64] |= Word{1} << (j % 64);
        present.assign(words, 0);
        wordUnion.assign(words, NumberSet{});
        for (std::size_t j = 0; j < finals.size(); ++j) {
            present[j / 64] |= Word{1} << (j % 64);
            wordUnion[j / 64] |= columnNumbers[j];
        }
        suffix.assign(static_cast<std::size_t>(n) + 1, NumberSet{});
        for (int p = n - 1; p >= 0; --p) {
            suffix[static_cast<std::size_t>(p)] = suffix[static_cast<std::size_t>(p) + 1];
            suffix[static_cast<std::size_t>(p)].add(marked[static_cast<std::size_t>(p)]);
        }
        positionOf.fill(0);
        for (int p = 0; p < n; ++p)
            positionOf[static_cast<std::size_t>(marked[static_cast<std::size_t>(p)])] = p;
    }

    const Word* membersOf(int position) const {
        return members.data() + static_cast<std::size_t>(position) * words;
    }

    int n;
    std::size_t words;
    std::vector<NumberSet> columnNumbers; // padded to a whole number of words
    std::vector<Word> members;            // [position][word]: final columns holding it
    std::vector<Word> present;            // the real final columns of each word
    std::vector<NumberSet> wordUnion;     // numbers of all final columns of a word
    std::vector<NumberSet> suffix;        // marked numbers from a position on
    std::array<int, 128> positionOf{};    // position of each marked number
};

// The loops below, written once over a lane of one word or of a block of four; each is
// built plainly, with the baseline vectors and with AVX2, and vectorPath() picks one.
template <class Lane> [[gnu::always_inline]] inline Lane load(const Word* p) {
    Lane v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <class Lane> [[gnu::always_inline]] inline void store(Word* p, Lane v) {
    std::memcpy(p, &v, sizeof v);
}
template <class Lane> [[gnu::always_inline]] inline bool anyBit(Lane v) {
    if constexpr (sizeof(Lane) == sizeof(Word)) {
        return v != 0;
    } else {
        Word w = 0;
        for (std::size_t i = 0; i < block; ++i)
            w |= v[i];
        return w != 0;
    }
}

template <class Lane>
[[gnu::always_inline]] inline void addNumberBody(const Planes& from, const Word* bits, Planes& to,
                                                 std::size_t words) {
    constexpr std::size_t step = sizeof(Lane) / sizeof(Word);
    for (std::size_t w = 0; w < words; w += step) {
        const Lane bit = load<Lane>(bits + w);
        const Lane f0 = load<Lane>(&from.b0[w]), f1 = load<Lane>(&from.b1[w]);
        const Lane carry0 = f0 & bit;
        const Lane carry1 = f1 & carry0;
        store(&to.b0[w], f0 ^ bit);
        store(&to.b1[w], f1 ^ carry0);
        store(&to.b2[w], load<Lane>(&from.b2[w]) ^ carry1);
    }
}

// The best match of a five-number prefix (four in `four`, the fifth's membership bits), with
// the final columns that reach it left in candidates.
template <class Lane>
[[gnu::always_inline]] inline int bestOfFiveBody(const Planes& four, const Word* bits,
                                                 const Word* present, Planes& five,
                                                 Word* candidates, std::size_t words) {
    constexpr std::size_t step = sizeof(Lane) / sizeof(Word);
    Lane any{};
    for (std::size_t w = 0; w < words; w += step) {
        const Lane bit = load<Lane>(bits + w);
        const Lane f0 = load<Lane>(&four.b0[w]), f1 = load<Lane>(&four.b1[w]);
        const Lane carry0 = f0 & bit;
        const Lane carry1 = f1 & carry0;
        const Lane top = load<Lane>(&four.b2[w]) ^ carry1;
        store(&five.b0[w], f0 ^ bit);
        store(&five.b1[w], f1 ^ carry0);
        store(candidates + w, top);
        any |= top;
    }
    int best = 0;
    if (anyBit(any))
        best = 4;
    else
        std::memcpy(candidates, present, words * sizeof(Word));
    for (const auto& [plane, weight] : {std::pair{&five.b1, 2}, std::pair{&five.b0, 1}}) {
        const Word* bitsOf = plane->data();
        Lane hit{};
        for (std::size_t w = 0; w < words; w += step)
            hit |= load<Lane>(candidates + w) & load<Lane>(bitsOf + w);
        if (!anyBit(hit))
            continue;
        for (std::size_t w = 0; w < words; w += step)
            store(candidates + w, load<Lane>(candidates + w) & load<Lane>(bitsOf + w));
        best += weight;
    }
    return best;
}

// What one thread keeps for the last two numbers of a four-number prefix.
struct PairScratch {
    explicit PairScratch(std::size_t words) : top(words), next(words), once(words), twice(words) {}
    std::vector<Word> top, next, once, twice; // final columns by count, and a tally
    std::array<NumberSet, 128> rows{};        // numbers paired with each number
};

template <class Set> [[gnu::always_inline]] inline void forEachNumber(const NumberSet& set, Set f) {
    for (Word w = set.lo; w; w &= w - 1)
        f(std::countr_zero(w));
    for (Word w = set.hi; w; w &= w - 1)
        f(64 + std::countr_zero(w));
}

// How many pairs of numbers of `within` lie together in at least one of the final columns
// of `mask`; the numbers of `within` those columns hold at all are added to reach.
[[gnu::always_inline]] inline std::uint64_t pairsInColumns(const BestMatchModel& model,
                                                           const Word* mask, NumberSet within,
                                                           PairScratch& s, NumberSet& reach) {
    NumberSet paired;
    for (std::size_t w = 0; w < model.words; ++w)
        for (Word c = mask[w]; c; c &= c - 1) {
            const NumberSet held =
                model.columnNumbers[w * 64 + static_cast<std::size_t>(std::countr_zero(c))] &
                within;
            reach |= held;
            if (held.size() < 2)
                continue;
            paired |= held;
            forEachNumber(held, [&](int q) { s.rows[static_cast<std::size_t>(q)] |= held; });
        }
    std::uint64_t ends = 0;
    forEachNumber(paired, [&](int q) {
        ends += static_cast<std::uint64_t>(s.rows[static_cast<std::size_t>(q)].size() - 1);
        s.rows[static_cast<std::size_t>(q)] = {};
    });
    return ends / 2;
}

constexpr std::uint64_t pairCount(std::uint64_t k) {
    return k * (k - 1) / 2; // 0 for k = 0 too
}

// Four numbers fixed (the fourth added here to `three`, giving `four`): every pair of the
// numbers after them at once. Let m be the most numbers of the four any final column holds,
// top the final columns holding m and next those holding m - 1. A pair reaches m + 2 when a
// top column holds both its numbers; m + 1 when a top column holds one of them, or a next
// column both; m otherwise. Returns false, leaving `four` filled, when so many final columns
// tie at the top that going through them one by one would cost more than the plain walk.
template <class Lane>
[[gnu::always_inline]] inline bool pairsAfterFourBody(const BestMatchModel& model,
                                                      const Planes& three, int fourth, Planes& four,
                                                      PairScratch& s, BestMatchCounts& counts) {
    constexpr std::size_t step = sizeof(Lane) / sizeof(Word);
    const std::size_t words = model.words;
    const Word* bits = model.membersOf(fourth);
    Lane any0{}, any1{}, any3{}, any4{};
    for (std::size_t w = 0; w < words; w += step) {
        const Lane bit = load<Lane>(bits + w);
        const Lane f0 = load<Lane>(&three.b0[w]), f1 = load<Lane>(&three.b1[w]);
        const Lane carry0 = f0 & bit;
        const Lane b0 = f0 ^ bit, b1 = f1 ^ carry0;
        const Lane b2 = load<Lane>(&three.b2[w]) ^ (f1 & carry0);
        store(&four.b0[w], b0);
        store(&four.b1[w], b1);
        store(&four.b2[w], b2);
        any0 |= b0;
        any1 |= b1;
        any3 |= b1 & b0;
        any4 |= b2;
    }
    const int m = anyBit(any4) ? 4 : anyBit(any3) ? 3 : anyBit(any1) ? 2 : anyBit(any0) ? 1 : 0;
    std::uint64_t topCount = 0, nextCount = 0;
    for (std::size_t w = 0; w < words; ++w) {
        const Word b0 = four.b0[w], b1 = four.b1[w];
        Word top, next;
        switch (m) {
        case 4:
            top = four.b2[w];
            next = b1 & b0;
            break;
        case 3:
            top = b1 & b0;
            next = b1 & ~b0;
            break;
        case 2:
            top = b1;
            next = b0;
            break;
        case 1:
            top = b0;
            next = model.present[w] & ~b0;
            break;
        default:
            top = model.present[w];
            next = 0;
        }
        s.top[w] = top;
        s.next[w] = next;
        topCount += static_cast<std::uint64_t>(std::popcount(top));
        nextCount += static_cast<std::uint64_t>(std::popcount(next));
    }
    const auto after = static_cast<std::uint64_t>(model.n - 1 - fourth);
    if (topCount * 2 > after * words)
        return false;

    const NumberSet rest = model.suffix[static_cast<std::size_t>(fourth) + 1];
    NumberSet reach;
    const std::uint64_t toTop2 = pairsInColumns(model, s.top.data(), rest, s, reach);
    const NumberSet open = rest.without(reach);
    const auto openCount = static_cast<std::uint64_t>(open.size());
    std::uint64_t toNext2 = 0;
    if (openCount >= 2) {
        if (nextCount > openCount * words) {
            // Only the next columns holding two open numbers matter: tally them first.
            std::fill(s.once.begin(), s.once.end(), Word{0});
            std::fill(s.twice.begin(), s.twice.end(), Word{0});
            forEachNumber(open, [&](int q) {
                const Word* in = model.membersOf(model.positionOf[static_cast<std::size_t>(q)]);
                for (std::size_t w = 0; w < words; w += step) {
                    const Lane x = load<Lane>(in + w) & load<Lane>(&s.next[w]);
                    const Lane once = load<Lane>(&s.once[w]);
                    store(&s.twice[w], load<Lane>(&s.twice[w]) | (once & x));
                    store(&s.once[w], once | x);
                }
            });
            s.next.swap(s.twice);
        }
        NumberSet unused;
        toNext2 = pairsInColumns(model, s.next.data(), open, s, unused);
    }
    const std::uint64_t all = pairCount(after), closed = pairCount(openCount);
    counts.best[static_cast<std::size_t>(m) + 2] += toTop2;
    counts.best[static_cast<std::size_t>(m) + 1] += all - closed - toTop2 + toNext2;
    counts.best[static_cast<std::size_t>(m)] += closed - toNext2;
    counts.examined += all;
    return true;
}

struct Kernels {
    void (*addNumber)(const Planes&, const Word*, Planes&, std::size_t);
    int (*bestOfFive)(const Planes&, const Word*, const Word*, Planes&, Word*, std::size_t);
    bool (*pairsAfterFour)(const BestMatchModel&, const Planes&, int, Planes&, PairScratch&,
                           BestMatchCounts&);
};

void addNumberPlain(const Planes& f, const Word* b, Planes& t, std::size_t n) {
    addNumberBody<Word>(f, b, t, n);
}
int bestOfFivePlain(const Planes& f, const Word* b, const Word* p, Planes& v, Word* c,
                    std::size_t n) {
    return bestOfFiveBody<Word>(f, b, p, v, c, n);
}
bool pairsAfterFourPlain(const BestMatchModel& m, const Planes& t, int d, Planes& f, PairScratch& s,
                         BestMatchCounts& c) {
    return pairsAfterFourBody<Word>(m, t, d, f, s, c);
}
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
void addNumberBlocks(const Planes& f, const Word* b, Planes& t, std::size_t n) {
    addNumberBody<Block>(f, b, t, n);
}
int bestOfFiveBlocks(const Planes& f, const Word* b, const Word* p, Planes& v, Word* c,
                     std::size_t n) {
    return bestOfFiveBody<Block>(f, b, p, v, c, n);
}
bool pairsAfterFourBlocks(const BestMatchModel& m, const Planes& t, int d, Planes& f,
                          PairScratch& s, BestMatchCounts& c) {
    return pairsAfterFourBody<Block>(m, t, d, f, s, c);
}
__attribute__((target("avx2"))) void addNumberAvx2(const Planes& f, const Word* b, Planes& t,
                                                   std::size_t n) {
    addNumberBody<Block>(f, b, t, n);
}
__attribute__((target("avx2"))) int bestOfFiveAvx2(const Planes& f, const Word* b, const Word* p,
                                                   Planes& v, Word* c, std::size_t n) {
    return bestOfFiveBody<Block>(f, b, p, v, c, n);
}
__attribute__((target("avx2,popcnt,bmi"))) bool pairsAfterFourAvx2(const BestMatchModel& m,
                                                                   const Planes& t, int d,
                                                                   Planes& f, PairScratch& s,
                                                                   BestMatchCounts& c) {
    return pairsAfterFourBody<Block>(m, t, d, f, s, c);
}
#endif

Kernels kernels(VectorPath path) {
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
    if (path == VectorPath::avx2)
        return {addNumberAvx2, bestOfFiveAvx2, pairsAfterFourAvx2};
    if (path == VectorPath::sse2)
        return {addNumberBlocks, bestOfFiveBlocks, pairsAfterFourBlocks};
#endif
    (void)path;
    return {addNumberPlain, bestOfFivePlain, pairsAfterFourPlain};
}

struct Unit {
    int first = 0, second = 0;
};

// One thread's counting, a unit at a time.
class BestMatchWalker {
public:
    BestMatchWalker(const BestMatchModel& model, Kernels kernels)
        : model_(model), kernels_(kernels), pairs_(model.words) {
        for (auto& level : levels_)
            level.assign(model.words);
        five_.assign(model.words);
        candidates_.assign(model.words, 0);
    }

    BestMatchCounts count(Unit unit) {
        counts_ = {};
        kernels_.addNumber(levels_[0], model_.membersOf(unit.first), levels_[1], model_.words);
        kernels_.addNumber(levels_[1], model_.membersOf(unit.second), levels_[2], model_.words);
        descend(2, unit.second + 1);
        return counts_;
    }

private:
    // Fills levels_[depth + 1] for every choice of the (depth + 1)-th number, depth 2..3.
    void descend(int depth, int first) {
        const int n = model_.n;
        for (int p = first; p <= n - (6 - depth); ++p) {
            if (depth == 3) {
                if (!kernels_.pairsAfterFour(model_, levels_[3], p, levels_[4], pairs_, counts_))
                    lastTwo(p + 1);
                continue;
            }
            kernels_.addNumber(levels_[static_cast<std::size_t>(depth)], model_.membersOf(p),
                               levels_[static_cast<std::size_t>(depth) + 1], model_.words);
            descend(depth + 1, p + 1);
        }
    }

    // Four numbers fixed: choose the fifth, then count every sixth at once. The best match
    // with the sixth number x is the best match M of the five-number prefix, plus one exactly
    // when x lies in a final column that reaches M.
    void lastTwo(int first) {
        const int n = model_.n;
        for (int p = first; p <= n - 2; ++p) {
            const int best =
                kernels_.bestOfFive(levels_[4], model_.membersOf(p), model_.present.data(), five_,
                                    candidates_.data(), model_.words);
            const NumberSet& rest = model_.suffix[static_cast<std::size_t>(p) + 1];
            const NumberSet reach = unionOfCandidates(rest);
            const auto raised = static_cast<std::uint64_t>((reach & rest).size());
            const auto sixths = static_cast<std::uint64_t>(n - 1 - p);
            counts_.best[static_cast<std::size_t>(best) + 1] += raised;
            counts_.best[static_cast<std::size_t>(best)] += sixths - raised;
            counts_.examined += sixths;
        }
    }

    NumberSet unionOfCandidates(const NumberSet& wanted) const {
        NumberSet reach;
        for (std::size_t w = 0; w < model_.words && !reach.includes(wanted); ++w) {
            Word c = candidates_[w];
            if (c == model_.present[w]) {
                reach |= model_.wordUnion[w];
                continue;
            }
            while (c) {
                reach |=
                    model_.columnNumbers[w * 64 + static_cast<std::size_t>(std::countr_zero(c))];
                c &= c - 1;
            }
        }
        return reach;
    }

    const BestMatchModel& model_;
    Kernels kernels_;
    std::array<Planes, 5> levels_;
    Planes five_;
    std::vector<Word> candidates_;
    PairScratch pairs_;
    BestMatchCounts counts_;
};

void add(BestMatchCounts& to, const BestMatchCounts& from) {
    to.examined += from.examined;
    for (std::size_t m = 0; m < to.best.size(); ++m)
        to.best[m] += from.best[m];
}

// Workers count units ahead of the caller's thread, which adds them up in order and holds the
// checkpoints; a paused caller stops the workers a few units later.
class BestMatchRun {
public:
    BestMatchRun(const BestMatchModel& model, int threads, RunControl* control,
                 const BestMatchProgress& progress)
        : model_(model), threads_(threads), control_(control), progress_(progress),
          kernels_(kernels(vectorPath())) {
        for (int first = 0; first <= model.n - 6; ++first)
            for (int second = first + 1; second <= model.n - 5; ++second)
                units_.push_back({first, second});
        slots_.resize(units_.size());
    }

    // An exception on any thread ends the run on every thread and is thrown again here, on
    // the caller's thread, once all have ended: never out of a thread.
    BestMatchCounts run() {
        BestMatchCounts counts;
        workers_.run(
            threads_, [this] { countAhead(); }, [&] { counts = gather(); });
        if (progress_)
            progress_(counts);
        return counts;
    }

private:
    static constexpr std::size_t ahead = 16;

    struct Slot {
        bool ready = false;
        BestMatchCounts counts;
    };

    void countAhead() {
        BestMatchWalker walker(model_, kernels_);
        while (true) {
            std::size_t k;
            {
                std::unique_lock lock(workers_.mutex);
                workers_.changed.wait(lock, [&] {
                    return workers_.quit || taken_ >= units_.size() || taken_ < consumed_ + ahead;
                });
                if (workers_.quit || taken_ >= units_.size())
                    return;
                k = taken_++;
            }
            const BestMatchCounts counts = walker.count(units_[k]);
            {
                std::lock_guard lock(workers_.mutex);
                slots_[k] = {true, counts};
            }
            workers_.changed.notify_all();
        }
    }

    BestMatchCounts gather() {
        BestMatchCounts total;
        std::optional<BestMatchWalker> own;
        if (threads_ == 0)
            own.emplace(model_, kernels_);
        for (std::size_t k = 0; k < units_.size(); ++k) {
            if (own) {
                add(total, own->count(units_[k]));
            } else {
                std::unique_lock lock(workers_.mutex);
                workers_.changed.wait(lock, [&] { return slots_[k].ready || workers_.failure; });
                if (!slots_[k].ready)
                    break; // run() throws the worker's failure
                add(total, slots_[k].counts);
                consumed_ = k + 1;
                lock.unlock();
                workers_.changed.notify_all();
            }
            if (progress_)
                progress_(total);
            if (control_ && !control_->checkpoint())
                break;
        }
        return total;
    }

    const BestMatchModel& model_;
    int threads_;
    RunControl* control_;
    const BestMatchProgress& progress_;
    Kernels kernels_;
    std::vector<Unit> units_;
    std::vector<Slot> slots_;
    AheadWorkers workers_;
    std::size_t taken_ = 0, consumed_ = 0;
};

} // namespace

BestMatchCounts countBestMatches(std::span<const int> marked, std::span<const Column> finals,
                                 RunControl* control, const BestMatchProgress& progress) {
    const int n = static_cast<int>(marked.size());
    if (n < 6) {
        if (progress)
            progress(BestMatchCounts{});
        return {};
    }
    const BestMatchModel model(marked, finals);
    // Small counts are over before a thread would start.
    const std::uint64_t work = binomial(n, 6) * model.words;
    const int threads = work < (std::uint64_t{1} << 20) ? 0 : workerThreadCount(0);
    BestMatchRun run(model, threads, control, progress);
    return run.run();
}

} // namespace quintor
