#include "core/guarantee.h"

#include "core/byte_file.h"
#include "core/combinatorics.h"
#include "core/match_bits.h"
#include "core/probability.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <numeric>
#include <system_error>

namespace quintor {

using namespace match_bits;

std::uint64_t GuaranteeTable::total(int m) const {
    return binomial(markedCount, m);
}

std::uint64_t GuaranteeTable::covered(int m, int t) const {
    std::uint64_t sum = 0;
    for (int b = std::max(t, 0); b <= m && b <= 6; ++b)
        sum += best[static_cast<std::size_t>(m)][static_cast<std::size_t>(b)];
    return sum;
}

double GuaranteeTable::percent(int m, int t) const {
    const std::uint64_t all = total(m);
    if (all == 0)
        return 0.0;
    return 100.0 * static_cast<double>(covered(m, t)) / static_cast<double>(all);
}

namespace {

// Marked numbers from each position on, as a number set.
std::vector<NumberSet> suffixSets(const std::vector<int>& marked) {
    std::vector<NumberSet> suffix(marked.size() + 1, NumberSet{});
    for (std::size_t p = marked.size(); p-- > 0;) {
        suffix[p] = suffix[p + 1];
        suffix[p].add(marked[p]);
    }
    return suffix;
}

// Counts the best matches of the m-sets that start with one given prefix. The counts of the
// prefix's numbers in each final column grow one level per number; with m - 1 numbers chosen,
// the best match with the last number x is the prefix's best M, plus one exactly when x lies
// in a final column that reaches M.
class SizeEngine {
public:
    SizeEngine(const ColumnMembership& columns, const std::vector<NumberSet>& suffix, int m)
        : columns_(columns), suffix_(suffix), m_(m), n_(static_cast<int>(columns.marked.size())) {
        for (auto& level : levels_)
            level.assign(columns.words, Counts3{});
        candidates_.assign(columns.words, 0);
    }

    // The m-sets whose first numbers are the positions of prefix (increasing, fewer than m).
    bool run(std::span<const int> prefix, std::array<std::uint64_t, 7>& best, RunControl* control) {
        best_ = &best;
        control_ = control;
        stopped_ = false;
        const int depth = static_cast<int>(prefix.size());
        for (int d = 0; d < depth; ++d)
            add(d, prefix[static_cast<std::size_t>(d)]);
        const int next = depth == 0 ? 0 : prefix.back() + 1;
        if (depth == m_ - 1)
            last(depth, next);
        else
            descend(depth, next);
        return !stopped_;
    }

private:
    void add(int depth, int position) {
        const auto& from = levels_[static_cast<std::size_t>(depth)];
        auto& to = levels_[static_cast<std::size_t>(depth) + 1];
        const Word* bits = columns_.membersOf(position);
        for (std::size_t w = 0; w < columns_.words; ++w)
            to[w] = addBit(from[w], bits[w]);
    }

    void descend(int depth, int first) {
        for (int p = first; p <= n_ - (m_ - depth) && !stopped_; ++p) {
            add(depth, p);
            if (depth + 1 == m_ - 1)
                last(depth + 1, p + 1);
            else
                descend(depth + 1, p + 1);
        }
    }

    // depth = m - 1 numbers chosen; every number from position first on completes an m-set.
    void last(int depth, int first) {
        if (first >= n_)
            return;
        const int top = columns_.narrowToMax(levels_[static_cast<std::size_t>(depth)].data(),
                                             candidates_.data());
        const NumberSet& rest = suffix_[static_cast<std::size_t>(first)];
        const auto sets = static_cast<std::uint64_t>(n_ - first);
        const auto raised =
            static_cast<std::uint64_t>(common(columns_.unionOf(candidates_.data(), rest), rest));
        (*best_)[static_cast<std::size_t>(top) + 1] += raised;
        (*best_)[static_cast<std::size_t>(top)] += sets - raised;
        if ((++ticks_ & 63u) == 0 && control_ && !control_->checkpoint())
            stopped_ = true;
    }

    const ColumnMembership& columns_;
    const std::vector<NumberSet>& suffix_;
    int m_;
    int n_;
    std::array<std::vector<Counts3>, 7> levels_;
    std::vector<Word> candidates_;
    std::array<std::uint64_t, 7>* best_ = nullptr;
    RunControl* control_ = nullptr;
    bool stopped_ = false;
    std::uint64_t ticks_ = 0;
};

// A unit of work: the m-sets that start with a prefix of up to two numbers.
struct WorkUnit {
    std::array<int, 2> prefix{};
    int length = 0;
    std::uint64_t sets = 0;
};

std::vector<WorkUnit> workUnits(int n, int m) {
    std::vector<WorkUnit> units;
    const int length = std::min(2, m - 1);
    if (length == 0) {
        units.push_back({{}, 0, binomial(n, m)});
    } else if (length == 1) {
        for (int i = 0; i <= n - m; ++i)
            units.push_back({{i, 0}, 1, binomial(n - 1 - i, m - 1)});
    } else {
        for (int i = 0; i <= n - m; ++i)
            for (int j = i + 1; j <= n - m + 1; ++j)
                units.push_back({{i, j}, 2, binomial(n - 1 - j, m - 2)});
    }
    return units;
}

} // namespace

bool countBestMatchesOfSize(std::span<const int> marked, std::span<const Column> finals, int m,
                            std::array<std::uint64_t, 7>& best, RunControl* control,
                            const GuaranteeProgress& progress, int threads) {
    best = {};
    const int n = static_cast<int>(marked.size());
    if (m < 1 || m > 6 || n < m) {
        if (progress)
            progress(1.0);
        return true;
    }
    const ColumnMembership columns(marked, finals);
    const auto suffix = suffixSets(columns.marked);

    const std::vector<WorkUnit> units = workUnits(n, m);
    const double all = static_cast<double>(binomial(n, m));

    std::atomic<std::size_t> nextUnit{0};
    std::atomic<bool> stopped{false};
    std::mutex mutex;
    std::uint64_t done = 0;
    auto work = [&] {
        SizeEngine engine(columns, suffix, m);
        std::array<std::uint64_t, 7> local{};
        while (!stopped.load(std::memory_order_relaxed)) {
            const std::size_t u = nextUnit.fetch_add(1);
            if (u >= units.size())
                break;
            const WorkUnit& unit = units[u];
            if (!engine.run(
                    std::span<const int>(unit.prefix.data(), static_cast<std::size_t>(unit.length)),
                    local, control)) {
                stopped = true;
                break;
            }
            std::lock_guard lock(mutex);
            done += unit.sets;
            if (progress)
                progress(static_cast<double>(done) / all);
        }
        std::lock_guard lock(mutex);
        for (std::size_t b = 0; b < 7; ++b)
            best[b] += local[b];
    };
    runOnThreads(std::min<int>(workerThreadCount(threads), static_cast<int>(units.size())), work);
    return !stopped.load();
}

bool countBestMatchesHolding(std::span<const int> marked, std::span<const Column> finals, int m,
                             std::span<const int> fixed, std::array<std::uint64_t, 7>& best,
                             RunControl* control) {
    best = {};
    const int f = static_cast<int>(fixed.size());
    if (f == 0)
        return countBestMatchesOfSize(marked, finals, m, best, control, {}, 1);
    // The fixed numbers first: the m-sets that hold them are those that start with them.
    std::vector<int> order(fixed.begin(), fixed.end());
    for (int number : marked)
        if (std::find(fixed.begin(), fixed.end(), number) == fixed.end())
            order.push_back(number);
    if (f > m || m > 6 || order.size() != marked.size())
        return true;
    if (f == m) {
        int top = 0;
        for (const Column& column : finals) {
            int common = 0;
            for (int number : fixed)
                common += std::find(column.begin(), column.end(), number) != column.end();
            top = std::max(top, common);
        }
        best[static_cast<std::size_t>(top)] = 1;
        return true;
    }
    const ColumnMembership columns(order, finals);
    const auto suffix = suffixSets(columns.marked);
    std::vector<int> prefix(static_cast<std::size_t>(f));
    std::iota(prefix.begin(), prefix.end(), 0);
    SizeEngine engine(columns, suffix, m);
    return engine.run(prefix, best, control);
}

GuaranteeTable guaranteeTable(std::span<const int> marked, std::span<const Column> finals,
                              RunControl* control, const GuaranteeProgress& progress, int threads) {
    GuaranteeTable table;
    table.markedCount = static_cast<int>(marked.size());
    // The share of the work of each m, for one progress value over the whole table.
    double before = 0, weight = 0;
    for (int m = smallestDrawnCount; m <= largestDrawnCount; ++m)
        weight += static_cast<double>(binomial(table.markedCount, m));
    for (int m = smallestDrawnCount; m <= largestDrawnCount && !table.stopped; ++m) {
        const double part = static_cast<double>(binomial(table.markedCount, m));
        GuaranteeProgress step;
        if (progress && weight > 0)
            step = [&](double done) { progress((before + done * part) / weight); };
        auto& row = table.best[static_cast<std::size_t>(m)];
        if (m == 6 && table.markedCount >= 6) {
            // The six-number row is the probability of winning's own count.
            const BestMatchCounts counts =
                countBestMatches(marked, finals, control, [&](const BestMatchCounts& now) {
                    if (step)
                        step(static_cast<double>(now.examined) / part);
                });
            std::copy(counts.best.begin(), counts.best.end(), row.begin());
            if (counts.examined < binomial(table.markedCount, 6))
                table.stopped = true;
        } else if (!countBestMatchesOfSize(marked, finals, m, row, control, step, threads)) {
            table.stopped = true;
        }
        before += part;
    }
    if (progress && !table.stopped)
        progress(1.0);
    return table;
}

// The enumeration of holes as an explicit stack, so that it can stop after any hole and go on.
struct HoleCursor::State {
    State(std::span<const int> marked, std::span<const Column> finals, int t, int m)
        : columns(marked, finals), suffix(suffixSets(columns.marked)), t(t), m(m),
          n(static_cast<int>(marked.size())) {
        for (auto& level : levels)
            level.assign(columns.words, Counts3{});
        candidates.assign(columns.words, 0);
        pos.fill(-1);
        done = m < 1 || m > 6 || n < m || t > m;
        // "0 se m" or less: every m-set is covered.
        if (t <= 0)
            done = true;
    }

    int maxAfter(int depth, int position) {
        const auto& from = levels[static_cast<std::size_t>(depth)];
        auto& to = levels[static_cast<std::size_t>(depth) + 1];
        const Word* bits = columns.membersOf(position);
        for (std::size_t w = 0; w < columns.words; ++w)
            to[w] = addBit(from[w], bits[w]);
        return columns.narrowToMax(to.data(), candidates.data());
    }

    // Back to the number before; with none left, the enumeration is over.
    void up() {
        if (depth == 0)
            done = true;
        else
            --depth;
    }

    // Places or advances the number at depth, skipping prefixes already met in t numbers.
    void advance() {
        const auto d = static_cast<std::size_t>(depth);
        int p = pos[d] < 0 ? (depth == 0 ? 0 : pos[d - 1] + 1) : pos[d] + 1;
        const int limit = n - (m - depth);
        while (p <= limit && maxAfter(depth, p) >= t)
            ++p;
        if (p > limit) {
            pos[d] = -1;
            up();
            return;
        }
        pos[d] = p;
        ++depth;
    }

    // With m - 1 numbers placed: which last numbers make holes. All of them when the prefix's
    // best is below t - 1, else those outside the final columns that reach that best.
    void startLast() {
        const int first = depth == 0 ? 0 : pos[static_cast<std::size_t>(depth) - 1] + 1;
        const int top =
            columns.narrowToMax(levels[static_cast<std::size_t>(depth)].data(), candidates.data());
        allHoles = top + 1 < t;
        reach = allHoles || first >= n
                    ? NumberSet{}
                    : columns.unionOf(candidates.data(), suffix[static_cast<std::size_t>(first)]);
        nextLast = first;
        lastReady = true;
    }

    Column holeEndingWith(int number) const {
        Column hole{};
        for (int d = 0; d < depth; ++d)
            hole[static_cast<std::size_t>(d)] = static_cast<std::uint8_t>(
                columns.marked[static_cast<std::size_t>(pos[static_cast<std::size_t>(d)])]);
        hole[static_cast<std::size_t>(depth)] = static_cast<std::uint8_t>(number);
        return hole;
    }

    // The holes of the last numbers still to step through, until emitted reaches max.
    void emitLast(std::vector<Column>& out, std::size_t max, std::size_t& emitted) {
        while (nextLast < n && emitted < max) {
            const int number = columns.marked[static_cast<std::size_t>(nextLast++)];
            if (!allHoles && reach.contains(number))
                continue;
            out.push_back(holeEndingWith(number));
            ++emitted;
        }
    }

    ColumnMembership columns;
    std::vector<NumberSet> suffix;
    int t, m, n;
    std::array<std::vector<Counts3>, 7> levels;
    std::vector<Word> candidates;
    std::array<int, 6> pos{};
    int depth = 0;          // numbers of the prefix already placed
    bool lastReady = false; // the last number is being stepped through
    int nextLast = 0;
    bool allHoles = false; // the prefix's best is below t - 1
    NumberSet reach{};
    bool done = false;
    std::uint64_t ticks = 0;
};

HoleCursor::HoleCursor(std::span<const int> marked, std::span<const Column> finals, int t, int m)
    : state_(new State(marked, finals, t, m)) {}

HoleCursor::~HoleCursor() {
    delete state_;
}

bool HoleCursor::finished() const {
    return state_->done;
}

double HoleCursor::share() const {
    const State& s = *state_;
    if (s.done)
        return 1.0;
    const auto total = static_cast<double>(binomial(s.n, s.m));
    if (total <= 0)
        return 1.0;
    // The lexicographic rank of the prefix placed so far: the m-sets that start alike and
    // then take a smaller number at some depth are all behind.
    double passed = 0;
    int from = 0;
    for (int d = 0; d < s.depth; ++d) {
        const int at = s.pos[static_cast<std::size_t>(d)];
        for (int p = from; p < at; ++p)
            passed += static_cast<double>(binomial(s.n - 1 - p, s.m - 1 - d));
        from = at + 1;
    }
    if (s.lastReady) {
        passed += static_cast<double>(std::max(0, s.nextLast - from));
    } else if (s.depth < s.m - 1 && s.pos[static_cast<std::size_t>(s.depth)] >= 0) {
        // Back from a subtree: it is behind too, so the share never steps back.
        for (int p = from; p <= s.pos[static_cast<std::size_t>(s.depth)]; ++p)
            passed += static_cast<double>(binomial(s.n - 1 - p, s.m - 1 - s.depth));
    }
    return std::min(1.0, passed / total);
}

bool HoleCursor::next(std::vector<Column>& out, std::size_t max, RunControl* control,
                      const GuaranteeProgress& progress) {
    State& s = *state_;
    std::size_t emitted = 0;
    while (!s.done) {
        if (emitted >= max)
            return true;
        if ((++s.ticks & 255u) == 0) {
            if (control && !control->checkpoint())
                return true;
            if (progress && (s.ticks & 4095u) == 0)
                progress(share());
        }
        if (s.depth < s.m - 1) {
            s.advance();
            continue;
        }
        if (!s.lastReady)
            s.startLast();
        s.emitLast(out, max, emitted);
        if (s.nextLast < s.n)
            return true;
        s.lastReady = false;
        s.up();
    }
    return false;
}

std::string holeText(const Column& hole, int m) {
    std::string text;
    for (int i = 0; i < m; ++i) {
        if (i > 0)
            text += ' ';
        text += std::to_string(hole[static_cast<std::size_t>(i)]);
    }
    return text;
}

namespace {

// "n1;n2;...;nm", then one hole a line, its numbers separated by semicolons.
std::string holesCsvHeader(int m) {
    std::string text;
    for (int i = 1; i <= m; ++i)
        text += (i > 1 ? ";n" : "n") + std::to_string(i);
    return text + '\n';
}

std::string holesCsvLines(const std::vector<Column>& holes, int m) {
    std::string text;
    for (const Column& hole : holes) {
        std::string line = holeText(hole, m);
        std::replace(line.begin(), line.end(), ' ', ';');
        text += line + '\n';
    }
    return text;
}

} // namespace

Expected<std::uint64_t> exportHolesCsv(const std::filesystem::path& file,
                                       std::span<const int> marked, std::span<const Column> finals,
                                       int t, int m, RunControl* control,
                                       const GuaranteeProgress& progress) {
    std::uint64_t written = 0;
    bool cancelled = false;
    // Streamed a batch at a time into the safe write: the old file stays whole until every
    // hole is on the disk, and a cancelled or failed export leaves it as it was.
    const bool saved = replaceFileContentsWith(file, [&](const ByteSink& write) {
        if (!write(holesCsvHeader(m)))
            return false;
        HoleCursor cursor(marked, finals, t, m);
        std::vector<Column> batch;
        bool more = true;
        while (more) {
            batch.clear();
            more = cursor.next(batch, 4096, control, progress);
            if (!write(holesCsvLines(batch, m)))
                return false;
            written += batch.size();
            if (progress)
                progress(cursor.share());
            if (control && control->cancelRequested()) {
                cancelled = true;
                return false;
            }
        }
        return true;
    });
    if (!saved)
        return Failure{cancelled ? interruptedMessage : csvWriteErrorMessage};
    return written;
}

} // namespace quintor
