#include "core/walk_forward.h"

#include "core/byte_file.h"
#include "core/combinatorics.h"
#include "core/money.h"
#include "core/number_set.h"
#include "core/scoring.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <numeric>

namespace quintor {

std::string walkForwardArchiveMessage(std::size_t archiveDraws, std::size_t tested) {
    return "L'archivio contiene " + std::to_string(archiveDraws) +
           " estrazioni: per provare il metodo sulle ultime " + std::to_string(tested) +
           " ne servono almeno " + std::to_string(tested + minimumDraws) +
           ",\rperché prima di ognuna il metodo deve avere " + std::to_string(minimumDraws) +
           " estrazioni su cui calcolare i punteggi.";
}

namespace {

// A column's numbers as a set, for telling columns apart whatever the order of their bytes.
struct ColumnKey {
    std::uint64_t lo = 0, hi = 0;
    bool operator==(const ColumnKey&) const = default;
};

// The columns of one random set so far: a small open-addressing table, cleared per set.
class SeenColumns {
public:
    void reset(std::size_t count) {
        std::size_t size = 16;
        while (size < 2 * count + 2)
            size *= 2;
        slots_.assign(size, ColumnKey{});
        mask_ = size - 1;
    }
    // False when the column was already there.
    bool insert(const Column& column) {
        const NumberSet set = NumberSet::of(column);
        const ColumnKey key{set.lo, set.hi};
        std::size_t slot = static_cast<std::size_t>((key.lo * 0x9E3779B97F4A7C15ull) ^
                                                    (key.hi * 0xC2B2AE3D27D4EB4Full)) >>
                           7;
        while (true) {
            slot &= mask_;
            if (slots_[slot] == ColumnKey{}) {
                slots_[slot] = key;
                return true;
            }
            if (slots_[slot] == key)
                return false;
            ++slot;
        }
    }

private:
    std::vector<ColumnKey> slots_;
    std::size_t mask_ = 0;
};

std::uint64_t mixBits(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// The seed of one random set at one draw: from the run's seed, the draw's place in the
// archive and the set's number, so that the sets do not depend on how many draws are
// tested, on the order the threads take them, or on draws after them.
std::uint32_t randomSetSeed(std::uint32_t seed, std::size_t record, int set) {
    const std::uint64_t mixed =
        mixBits(mixBits((std::uint64_t{seed} << 32) ^ record) ^ static_cast<std::uint64_t>(set));
    return static_cast<std::uint32_t>(mixed >> 32);
}

// Tries made to measure how many random columns the filter lets through.
constexpr int acceptanceTrials = 512;
// Up to this many columns, listing every passing one is quick enough to do at each draw.
constexpr std::uint64_t listingLimit = 4'000'000;

// The p-value of the method's figure among the random sets' figures.
ChanceComparison compare(long double method, const std::vector<long double>& random) {
    ChanceComparison c;
    c.method = method;
    if (random.empty())
        return c;
    const long double n = static_cast<long double>(random.size());
    c.randomMean = std::accumulate(random.begin(), random.end(), 0.0L) / n;
    long double squares = 0;
    for (long double value : random)
        squares += (value - c.randomMean) * (value - c.randomMean);
    c.randomSpread = random.size() > 1 ? std::sqrt(squares / (n - 1)) : 0;
    c.atLeastAsGood = static_cast<int>(
        std::count_if(random.begin(), random.end(), [&](long double v) { return v >= method; }));
    c.pValue = static_cast<double>(c.atLeastAsGood) / static_cast<double>(random.size());
    return c;
}

// The value below which a share `at` of the sorted values lie (nearest rank).
long double percentile(const std::vector<long double>& sorted, double at) {
    if (sorted.empty())
        return 0;
    const auto rank = static_cast<std::size_t>(std::ceil(at * static_cast<double>(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

std::string fixedText(long double value, int decimals) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                      std::chars_format::fixed, decimals);
    return error == std::errc{} ? std::string(buffer, end) : std::string("0");
}

std::string wholeText(long double value) {
    return fixedText(std::round(value), 0);
}

std::string lire(long double amount) {
    return moneyText(amount) + " £";
}

// Everything one run keeps per random set: its totals over the draws done.
struct RandomTotals {
    std::vector<std::array<std::uint64_t, winningLevelCount>> winners;
    std::vector<long double> won;
};

void summarize(WalkForwardResult& result, const RandomTotals& totals) {
    std::array<std::uint64_t, winningLevelCount> method{};
    long double methodWon = 0;
    result.spent = 0;
    for (const WalkForwardDraw& draw : result.draws) {
        for (std::size_t k = 0; k < winningLevelCount; ++k)
            method[k] += draw.method[k];
        methodWon += draw.methodWon;
    }
    std::vector<long double> figures(totals.won.size());
    for (std::size_t k = 0; k < winningLevelCount; ++k) {
        for (std::size_t s = 0; s < figures.size(); ++s)
            figures[s] = static_cast<long double>(totals.winners[s][k]);
        result.levels[k] = compare(static_cast<long double>(method[k]), figures);
    }
    result.won = compare(methodWon, totals.won);
}

} // namespace

RandomColumnSampler::RandomColumnSampler(std::span<const int> marked, std::span<const int> fixed,
                                         const FilterCheck* filter, std::size_t count)
    : filter_(filter), count_(count) {
    NumberSet fixedSet;
    for (int n : fixed)
        if (!fixedSet.contains(n) && isBoardNumber(n)) {
            fixedSet.add(n);
            fixed_.push_back(n);
        }
    NumberSet markedSet;
    for (int n : marked) {
        markedSet.add(n);
        if (!fixedSet.contains(n))
            free_.push_back(n);
    }
    const int left = 6 - static_cast<int>(fixed_.size());
    possible_ = markedSet.includes(fixedSet) && left >= 0 && static_cast<int>(free_.size()) >= left;
    if (!possible_)
        return;
    const std::uint64_t total = binomial(static_cast<int>(free_.size()), left);
    // How many columns pass decides how to find them: by trying random columns when many
    // more pass than a set takes, by listing them all when few do.
    int passed = acceptanceTrials;
    if (filter_) {
        RandomGenerator trial(0x5EED);
        passed = 0;
        for (int t = 0; t < acceptanceTrials; ++t)
            passed += passes(randomColumn(trial));
    }
    const double expectedPassing =
        static_cast<double>(total) * passed / static_cast<double>(acceptanceTrials);
    const bool fewPass =
        passed < acceptanceTrials / 64 || static_cast<double>(count) > expectedPassing / 4;
    if (fewPass && total <= listingLimit)
        listPassing();
}

Column RandomColumnSampler::randomColumn(RandomGenerator& random) const {
    Column column{};
    std::size_t k = 0;
    for (int n : fixed_)
        column[k++] = static_cast<std::uint8_t>(n);
    // A partial shuffle picks the other numbers without repeats; the pool is put back as it
    // was so that the next column starts from the same order.
    std::array<std::uint8_t, boardSize> pool{};
    const std::size_t size = free_.size();
    for (std::size_t i = 0; i < size; ++i)
        pool[i] = static_cast<std::uint8_t>(free_[i]);
    for (std::size_t i = 0; k < 6; ++i, ++k) {
        const auto pick = i + static_cast<std::size_t>(random.next(static_cast<int>(size - i)));
        std::swap(pool[i], pool[pick]);
        column[k] = pool[i];
    }
    std::sort(column.begin(), column.end());
    return column;
}

bool RandomColumnSampler::passes(const Column& column) const {
    return !filter_ || filter_->passes(column);
}

void RandomColumnSampler::listPassing() {
    listed_ = true;
    const int left = 6 - static_cast<int>(fixed_.size());
    std::array<int, 6> at{};
    for (int i = 0; i < left; ++i)
        at[static_cast<std::size_t>(i)] = i;
    const int size = static_cast<int>(free_.size());
    while (true) {
        Column column{};
        std::size_t k = 0;
        for (int n : fixed_)
            column[k++] = static_cast<std::uint8_t>(n);
        for (int i = 0; i < left; ++i)
            column[k++] = static_cast<std::uint8_t>(free_[static_cast<std::size_t>(at[i])]);
        std::sort(column.begin(), column.end());
        if (passes(column))
            passing_.push_back(column);
        int i = left - 1;
        while (i >= 0 && at[static_cast<std::size_t>(i)] == size - left + i)
            --i;
        if (i < 0)
            break;
        ++at[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < left; ++j)
            at[static_cast<std::size_t>(j)] = at[static_cast<std::size_t>(j - 1)] + 1;
    }
}

bool RandomColumnSampler::draw(RandomGenerator& random, std::vector<Column>& out) const {
    out.clear();
    if (!possible_)
        return count_ == 0;
    SeenColumns seen;
    seen.reset(count_);
    if (listed_) {
        const std::size_t size = passing_.size();
        if (size < count_)
            return false;
        if (2 * count_ > size) { // most of them: a partial shuffle of all
            std::vector<std::size_t> order(size);
            std::iota(order.begin(), order.end(), std::size_t{0});
            for (std::size_t i = 0; i < count_; ++i) {
                const auto pick =
                    i + static_cast<std::size_t>(random.next(static_cast<int>(size - i)));
                std::swap(order[i], order[pick]);
                out.push_back(passing_[order[i]]);
            }
            return true;
        }
        while (out.size() < count_) { // at most half of them: few repeats to skip
            const Column& column =
                passing_[static_cast<std::size_t>(random.next(static_cast<int>(size)))];
            if (seen.insert(column))
                out.push_back(column);
        }
        return true;
    }
    // The bound only ends a set that cannot be filled: most tries pass and are new.
    const std::uint64_t tryLimit = 1000 * static_cast<std::uint64_t>(count_) + 100000;
    for (std::uint64_t tries = 0; out.size() < count_; ++tries) {
        if (tries >= tryLimit)
            return false;
        const Column column = randomColumn(random);
        if (passes(column) && seen.insert(column))
            out.push_back(column);
    }
    return true;
}

SelectionRequest requestBeforeDraw(const SystemState& system, std::span<const Column> newestFirst,
                                   std::size_t record, const WalkForwardSettings& settings,
                                   std::shared_ptr<const FilterCheck>& filter) {
    // newestFirst[0] is the newest draw, newestFirst[size - 1] the oldest: the draws before
    // `record` are its last `record` entries, still newest first.
    const std::span<const Column> before = newestFirst.subspan(newestFirst.size() - record);
    SelectionRequest request =
        selectionRequest(system, scoringSnapshot(before), settings.count, settings.precision);
    filter.reset();
    if (!system.filters.empty())
        filter = std::make_shared<const FilterCheck>(system.filters, before);
    request.filter = filter;
    return request;
}

namespace {

// The Italian reason settings or an archive cannot make a run; empty when they can.
std::string settingsFault(const SystemState& system, const Archive& archive,
                          const WalkForwardSettings& settings) {
    if (settings.draws < 1)
        return walkForwardNoDrawsMessage;
    if (settings.randomSets < 1 || settings.randomSets > maxRandomSets)
        return walkForwardRandomSetsMessage;
    if (system.markedCount() < 6)
        return fewMarksMessage;
    if (settings.count < 1 ||
        static_cast<double>(settings.count) > initialColumnCount(system.markedCount()))
        return invalidCountMessage;
    if (archive.size() < settings.draws + minimumDraws)
        return walkForwardArchiveMessage(archive.size(), settings.draws);
    return {};
}

// What each random set did on one draw.
struct DrawPlay {
    std::vector<std::array<std::uint32_t, winningLevelCount>> winners;
    std::vector<long double> won;
};

enum class SetsOutcome { played, halted, unfilled };

// Plays the random sets of one draw, shared among the threads a block at a time. Each set
// has its own generator, so the figures do not depend on which thread plays it.
SetsOutcome playRandomSets(const RandomColumnSampler& sampler, const ArchiveRecord& target,
                           std::size_t record, const WalkForwardSettings& settings,
                           RunControl* control, DrawPlay& play) {
    const std::size_t sets = play.won.size();
    constexpr std::size_t block = 16;
    std::atomic<std::size_t> nextSet{0};
    std::atomic<bool> unfilled{false}, halted{false};
    auto playBlock = [&](std::size_t begin, std::vector<Column>& columns) {
        for (std::size_t s = begin; s < std::min(sets, begin + block); ++s) {
            RandomGenerator random(randomSetSeed(settings.seed, record, static_cast<int>(s)));
            if (!sampler.draw(random, columns))
                return false;
            const BacktestResult r = backtest(columns, {&target, 1}, nullptr, {}, 1);
            for (std::size_t k = 0; k < winningLevelCount; ++k)
                play.winners[s][k] = static_cast<std::uint32_t>(r.winners[k]);
            play.won[s] = settings.prizes.won(r.winners);
        }
        return true;
    };
    runOnThreads(workerThreadCount(settings.threads), [&] {
        std::vector<Column> columns;
        while (!unfilled.load(std::memory_order_relaxed) &&
               !halted.load(std::memory_order_relaxed)) {
            const std::size_t begin = nextSet.fetch_add(block);
            if (begin >= sets)
                return;
            if (control && !control->checkpoint())
                halted = true;
            else if (!playBlock(begin, columns))
                unfilled = true;
        }
    });
    return unfilled ? SetsOutcome::unfilled : halted ? SetsOutcome::halted : SetsOutcome::played;
}

// Adds one draw's random sets to their totals and fills the row's random figures.
void addRandomSets(const DrawPlay& play, RandomTotals& totals, WalkForwardDraw& row) {
    const std::size_t sets = play.won.size();
    for (std::size_t s = 0; s < sets; ++s) {
        for (std::size_t k = 0; k < winningLevelCount; ++k) {
            totals.winners[s][k] += play.winners[s][k];
            row.randomMean[k] += play.winners[s][k];
        }
        totals.won[s] += play.won[s];
        row.randomWonMean += play.won[s];
    }
    for (double& mean : row.randomMean)
        mean /= static_cast<double>(sets);
    row.randomWonMean /= static_cast<long double>(sets);
    std::vector<long double> sorted = totals.won;
    std::sort(sorted.begin(), sorted.end());
    row.randomWonLow = percentile(sorted, 0.05);
    row.randomWonHigh = percentile(sorted, 0.95);
    row.randomWonMeanSoFar =
        std::accumulate(sorted.begin(), sorted.end(), 0.0L) / static_cast<long double>(sets);
}

} // namespace

Expected<WalkForwardResult> walkForward(const SystemState& system, const Archive& archive,
                                        const WalkForwardSettings& settings, RunControl* control,
                                        const WalkForwardProgress& progress,
                                        const ColumnChooser& chooser) {
    if (const std::string fault = settingsFault(system, archive, settings); !fault.empty())
        return Failure{fault};
    const std::vector<Column> newestFirst = archive.newestFirst(archive.size());
    const std::size_t first = archive.size() - settings.draws;
    const auto sets = static_cast<std::size_t>(settings.randomSets);

    WalkForwardResult result;
    result.randomSets = settings.randomSets;
    RandomTotals totals{std::vector<std::array<std::uint64_t, winningLevelCount>>(sets),
                        std::vector<long double>(sets)};
    DrawPlay play{std::vector<std::array<std::uint32_t, winningLevelCount>>(sets),
                  std::vector<long double>(sets)};
    long double methodSoFar = 0;
    auto report = [&](std::size_t done, double part) {
        if (progress)
            progress((static_cast<double>(done) + part) / static_cast<double>(settings.draws));
    };

    for (std::size_t record = first; record < archive.size(); ++record) {
        const std::size_t done = record - first;
        std::shared_ptr<const FilterCheck> filter;
        const SelectionRequest request =
            requestBeforeDraw(system, newestFirst, record, settings, filter);
        const auto chosen =
            chooser(request, control, [&](std::uint64_t examined, std::uint64_t total) {
                report(done, total
                                 ? 0.5 * static_cast<double>(examined) / static_cast<double>(total)
                                 : 0.5);
            });
        if (!chosen)
            return Failure{chosen.error()};
        result.stopped = chosen->stopped || (control && !control->checkpoint());
        if (result.stopped)
            break;
        if (chosen->columns.empty())
            return Failure{filter ? noColumnPassesMessage : allRejectedMessage};

        const ArchiveRecord& target = archive[record];
        WalkForwardDraw row;
        row.record = record;
        row.columns = chosen->columns.size();
        const BacktestResult played = backtest(chosen->columns, {&target, 1}, nullptr, {}, 1);
        for (std::size_t k = 0; k < winningLevelCount; ++k)
            row.method[k] = static_cast<std::uint32_t>(played.winners[k]);
        row.methodWon = settings.prizes.won(played.winners);
        methodSoFar += row.methodWon;
        row.methodWonSoFar = methodSoFar;

        const RandomColumnSampler sampler(request.marked, request.fixed, filter.get(), row.columns);
        const SetsOutcome outcome =
            playRandomSets(sampler, target, record, settings, control, play);
        if (outcome == SetsOutcome::unfilled)
            return Failure{walkForwardFiltersMessage};
        result.stopped = outcome == SetsOutcome::halted;
        if (result.stopped)
            break;
        addRandomSets(play, totals, row);
        result.draws.push_back(row);
        report(done + 1, 0);
    }

    summarize(result, totals);
    for (const WalkForwardDraw& draw : result.draws)
        result.spent += static_cast<long double>(draw.columns) * settings.columnPrice;
    return result;
}

std::string walkForwardVerdict(const WalkForwardResult& result) {
    if (result.draws.empty())
        return "Nessuna estrazione provata: non c'è nulla da confrontare con il caso.";
    const ChanceComparison& won = result.won;
    const std::string figures =
        "ha vinto " + lire(won.method) + " in " + std::to_string(result.draws.size()) +
        " estrazioni, contro una media di " + lire(won.randomMean) + " dei sistemi casuali, e " +
        std::to_string(won.atLeastAsGood) + " su " + std::to_string(result.randomSets) +
        " di questi hanno vinto almeno altrettanto (p = " + fixedText(won.pValue, 3) + ")";
    if (won.pValue > chanceThreshold)
        return "Il metodo non ha fatto meglio del caso: " + figures + ".";
    return "Il metodo " + figures +
           ": un risultato così può ancora essere fortuna, e non dice nulla delle estrazioni "
           "future.";
}

std::vector<std::string> walkForwardSummaryLines(const WalkForwardResult& result) {
    static constexpr const char* levelNames[winningLevelCount] = {"3 punti", "4 punti", "5 punti",
                                                                  "5 + jolly", "6 punti"};
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < winningLevelCount; ++k) {
        const ChanceComparison& c = result.levels[k];
        lines.push_back(std::string(levelNames[k]) + ": metodo " + wholeText(c.method) + ", caso " +
                        fixedText(c.randomMean, 2) + " ± " + fixedText(c.randomSpread, 2) +
                        ", p = " + fixedText(c.pValue, 4));
    }
    lines.push_back("spesa: " + lire(result.spent) + " (metodo e ogni sistema casuale)");
    lines.push_back("vinto: metodo " + lire(result.won.method) + ", caso " +
                    lire(result.won.randomMean) + " ± " + lire(result.won.randomSpread) +
                    ", p = " + fixedText(result.won.pValue, 4));
    return lines;
}

std::string walkForwardDrawLine(const WalkForwardDraw& draw, const Archive& archive) {
    std::string line = archive[draw.record].date;
    for (std::uint32_t count : draw.method)
        line += ' ' + std::to_string(count);
    line += ' ' + wholeText(draw.methodWon);
    for (double mean : draw.randomMean)
        line += ' ' + fixedText(mean, 3);
    return line + ' ' + wholeText(draw.randomWonMean);
}

std::string walkForwardCsv(const WalkForwardResult& result, const Archive& archive) {
    std::string text = "data;colonne;3;4;5;5+;6;vinto;caso 3;caso 4;caso 5;caso 5+;caso 6;"
                       "caso vinto;vinto finora;caso finora 5%;caso finora media;"
                       "caso finora 95%\n";
    for (const WalkForwardDraw& draw : result.draws) {
        text += archive[draw.record].date + ';' + std::to_string(draw.columns);
        for (std::uint32_t count : draw.method)
            text += ';' + std::to_string(count);
        text += ';' + wholeText(draw.methodWon);
        for (double mean : draw.randomMean)
            text += ';' + fixedText(mean, 4);
        text += ';' + fixedText(draw.randomWonMean, 2) + ';' + wholeText(draw.methodWonSoFar) +
                ';' + wholeText(draw.randomWonLow) + ';' + fixedText(draw.randomWonMeanSoFar, 2) +
                ';' + wholeText(draw.randomWonHigh) + '\n';
    }
    return text;
}

bool exportWalkForwardCsv(const std::filesystem::path& file, const WalkForwardResult& result,
                          const Archive& archive) {
    return replaceFileContents(file, walkForwardCsv(result, archive));
}

} // namespace quintor
