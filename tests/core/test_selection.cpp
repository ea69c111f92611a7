#include "core/ahead_workers.h"
#include "core/archive.h"
#include "core/combinatorics.h"
#include "core/probability.h"
#include "core/random.h"
#include "core/scoring.h"
#include "core/selection.h"
#include "core/selection_list.h"
#include "core/vector_path.h"
#include "tests/reference/column_filters_reference.h"
#include "tests/reference/selection_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <new>
#include <numeric>
#include <thread>

using namespace quintor;

namespace {

// Draws newest first, made by the program's generator: six distinct numbers in draw order.
std::vector<Column> generatedDraws(std::size_t count, std::uint32_t seed, int highest = 90) {
    RandomGenerator random(seed);
    std::vector<Column> draws(count);
    for (auto& draw : draws) {
        std::array<bool, 91> used{};
        for (auto& v : draw) {
            int x;
            do
                x = random.next(highest) + 1;
            while (used[static_cast<std::size_t>(x)]);
            used[static_cast<std::size_t>(x)] = true;
            v = static_cast<std::uint8_t>(x);
        }
    }
    return draws;
}

std::vector<Column> realDraws() {
    const std::filesystem::path file = std::filesystem::path(QUINTOR_SHARED_DATA) / "vincenti.dat";
    if (!std::filesystem::exists(file))
        return {};
    return Archive::load(file).newestFirst(snapshotLimit);
}

std::array<double, 91> defaultWeights() {
    std::array<double, 91> w;
    w.fill(50);
    return w;
}

// Weights as the probabilities editor keeps them: Real48 values between 0 and 100.
std::array<double, 91> randomWeights(RandomGenerator& random) {
    std::array<double, 91> w{};
    for (auto& x : w)
        x = Real48::fromValue(random.next(100001) / 1000.0L).toDouble();
    return w;
}

std::vector<int> randomMarks(RandomGenerator& random, int n) {
    std::vector<int> marks;
    while (static_cast<int>(marks.size()) < n) {
        const int x = random.next(90) + 1;
        if (std::ranges::find(marks, x) == marks.end())
            marks.push_back(x);
    }
    std::ranges::sort(marks);
    return marks;
}

struct Case {
    std::vector<Column> draws;
    std::vector<int> marked;
    std::array<double, 91> weights = defaultWeights();
    std::vector<int> fixed;
    std::int64_t count = 1;
    int precision = 0;
    ColumnFilters filters;
};

std::string describe(const Case& c) {
    std::string text = "draws " + std::to_string(c.draws.size()) + ", marked";
    for (int x : c.marked)
        text += " " + std::to_string(x);
    text += ", fixed";
    for (int x : c.fixed)
        text += " " + std::to_string(x);
    for (const auto& filter : filterTexts(c.filters))
        text += ", " + filter;
    return text + ", count " + std::to_string(c.count) + ", precision " +
           std::to_string(c.precision);
}

reference::SelectionReference::Result runReference(const Case& c) {
    reference::SelectionReference ref(c.draws, c.weights, c.fixed);
    if (c.filters.empty())
        return ref.select(c.marked, c.count, c.precision);
    return ref.select(c.marked, c.count, c.precision, [&](const Column& column) {
        return reference::passesFilters(c.filters, c.draws, column);
    });
}

SelectionRequest requestOf(const Case& c, int threads) {
    SelectionRequest request;
    request.draws = c.draws;
    request.marked = c.marked;
    request.probabilities = c.weights;
    request.fixed = c.fixed;
    request.count = c.count;
    request.precision = c.precision;
    request.threads = threads;
    if (!c.filters.empty())
        request.filter = std::make_shared<const FilterCheck>(c.filters, c.draws);
    return request;
}

SelectionResult runFast(const Case& c, int threads = 1) {
    auto result = selectColumns(requestOf(c, threads));
    EXPECT_TRUE(result.ok()) << result.error();
    return result.ok() ? *result : SelectionResult{};
}

// Same columns in the same order, and the same scores to the last bit, in one pass and with
// threads scoring ahead of the list, on the plain loops and on the widest vectors. Returns
// what the plain run went through.
reference::SelectionReference::Result expectSameSelection(const Case& c) {
    const auto expected = runReference(c);
    for (const VectorPath path : {VectorPath::scalar, VectorPath::avx2})
        for (int threads : {1, 3}) {
            limitVectorPath(path);
            SCOPED_TRACE(std::to_string(threads) + " threads, " + vectorPathName(vectorPath()));
            const auto actual = runFast(c, threads);
            limitVectorPath(VectorPath::avx2);
            EXPECT_FALSE(actual.stopped);
            EXPECT_EQ(actual.columns.size(), expected.columns.size()) << describe(c);
            for (std::size_t r = 0; r < expected.columns.size() && r < actual.columns.size(); ++r) {
                EXPECT_EQ(formatColumn(actual.columns[r]), formatColumn(expected.columns[r]))
                    << "row " << r + 1 << " of " << describe(c);
                EXPECT_EQ(actual.scores[r], expected.scores[r])
                    << "row " << r + 1 << " of " << describe(c);
            }
        }
    return expected;
}

} // namespace

TEST(SampleSize, RoundsHalvesToEvenAndStaysWithinTheArchive) {
    EXPECT_EQ(sampleSize(1000, 13), 450); // 449.5
    EXPECT_EQ(sampleSize(1002, 13), 450); // 450.5
    EXPECT_EQ(sampleSize(1001, 13), 450);
    EXPECT_EQ(sampleSize(1004, 13), 452); // 451.5
    EXPECT_EQ(sampleSize(2855, 0), 2754);
    EXPECT_EQ(sampleSize(2855, 26), 100);
    EXPECT_EQ(sampleSize(10000, 25), 381); // 9899 / 26 = 380.73
    for (int p = 0; p <= precisionSteps; ++p) {
        EXPECT_GE(sampleSize(202, p), 100);
        EXPECT_LE(sampleSize(202, p), 101);
    }
    EXPECT_EQ(sampleSize(202, 0), 101);
    EXPECT_EQ(sampleSize(202, 1), 100); // 97.1 raised to the floor of 100
}

TEST(Calibration, MatchesThePlainLoopsOnEveryFeature) {
    const std::vector<Column> generated = generatedDraws(700, 11);
    for (const auto& [size, precision] :
         std::vector<std::pair<std::size_t, int>>{{202, 0}, {202, 26}, {450, 13}, {700, 1}}) {
        const std::span<const Column> draws(generated.data(), size);
        reference::SelectionReference ref(draws, defaultWeights(), {});
        const auto expected = ref.measureFeatureStats(precision);
        const FeatureStats actual = measureFeatureStats(draws, precision);
        EXPECT_EQ(actual.sampleSize, expected.sampleSize);
        for (std::size_t k = 0; k < featureCount; ++k) {
            EXPECT_EQ(actual.minimum[k], expected.minimum[k]) << "feature " << k;
            EXPECT_EQ(actual.maximum[k], expected.maximum[k]) << "feature " << k;
            EXPECT_EQ(actual.mean[k], expected.mean[k]) << "feature " << k;
        }
    }
}

TEST(Calibration, DamagedDrawsAreComparedByTheirBytes) {
    // A draw with a repeated number and a 0 must not upset the sets the fast loops use.
    std::vector<Column> draws = generatedDraws(260, 5);
    draws[3] = Column{7, 7, 0, 12, 90, 45};
    draws[40] = Column{0, 0, 0, 0, 0, 0};
    reference::SelectionReference ref(draws, defaultWeights(), {});
    const auto expected = ref.measureFeatureStats(0);
    const FeatureStats actual = measureFeatureStats(draws, 0);
    for (std::size_t k = 0; k < featureCount; ++k) {
        EXPECT_EQ(actual.minimum[k], expected.minimum[k]) << "feature " << k;
        EXPECT_EQ(actual.maximum[k], expected.maximum[k]) << "feature " << k;
        EXPECT_EQ(actual.mean[k], expected.mean[k]) << "feature " << k;
    }
}

TEST(ColumnScore, FixedNumbersAndFeaturesAgreeWithThePlainScore) {
    const auto draws = generatedDraws(400, 21);
    RandomGenerator random(77);
    const auto weights = randomWeights(random);
    const FeatureStats stats = measureFeatureStats(draws, 4);
    const ColumnScorer free(draws, stats, weights, {});
    const ColumnScorer fixed(draws, stats, weights, {12, 40});
    reference::SelectionReference plain(draws, weights, {12, 40});
    plain.measureFeatureStats(4);
    for (int i = 0; i < 300; ++i) {
        auto marks = randomMarks(random, 6);
        if (i % 3 == 0) { // make sure some columns hold both fixed numbers
            marks[0] = 12;
            marks[5] = 40;
            if (std::ranges::count(marks, 12) + std::ranges::count(marks, 40) != 2)
                continue;
        }
        Column c;
        std::ranges::copy(marks, c.begin());
        const double score = fixed.score(c);
        EXPECT_EQ(score, plain.score(c, 1, 100)) << formatColumn(c);
        const bool hasBoth = std::ranges::count(c, 12) && std::ranges::count(c, 40);
        if (hasBoth)
            EXPECT_EQ(score, free.score(c));
        else
            EXPECT_EQ(score, -10);
        EXPECT_GE(free.score(c), 0);
        EXPECT_LE(free.score(c), 100);
    }
}

TEST(ColumnScore, AColumnAtEveryMeanWithDefaultWeightsScoresNinety) {
    // Draws that repeat one column make every feature constant over the sample, so any
    // column rates 100 on the features that do not vary: choose the repeated one.
    std::vector<Column> draws(250, Column{1, 2, 3, 4, 5, 6});
    const FeatureStats stats = measureFeatureStats(draws, 0);
    for (std::size_t k = 0; k < featureCount; ++k)
        EXPECT_EQ(stats.minimum[k], stats.maximum[k]) << "feature " << k;
    const ColumnScorer scorer(draws, stats, defaultWeights(), {});
    EXPECT_NEAR(scorer.score(Column{1, 2, 3, 4, 5, 6}), 90.0, 1e-12);
    // Minimum = mean = maximum rates every value 100: even an unrelated column.
    EXPECT_NEAR(scorer.score(Column{40, 51, 62, 73, 84, 89}), 90.0, 1e-12);
    std::array<double, 91> zero{};
    const ColumnScorer weightless(draws, stats, zero, {});
    EXPECT_NEAR(weightless.score(Column{1, 2, 3, 4, 5, 6}), 80.0, 1e-12);
}

TEST(ColumnScore, ANumberNeverDrawnHasTheLongestDelay) {
    const std::vector<Column> draws = generatedDraws(300, 3, 89);
    const FeatureStats stats = measureFeatureStats(draws, 0);
    const ColumnScorer scorer(draws, stats, defaultWeights(), {});
    const auto newestWith = [&](int x) {
        return std::ranges::find_if(draws,
                                    [x](const Column& d) { return std::ranges::count(d, x) > 0; }) -
               draws.begin();
    };
    const auto f = scorer.features(Column{1, 2, 3, 4, 5, 90});
    const auto g = scorer.features(Column{1, 2, 3, 4, 5, 6});
    EXPECT_EQ(f[delaySum] - g[delaySum], 300 - newestWith(6));
    EXPECT_EQ(g[delaySum], newestWith(1) + newestWith(2) + newestWith(3) + newestWith(4) +
                               newestWith(5) + newestWith(6));
}

TEST(SelectionRun, MatchesThePlainRunOnRandomSystems) {
    const std::vector<Column> generated = generatedDraws(1500, 2024);
    const std::vector<Column> real = realDraws();
    RandomGenerator random(99);
    const int precisions[] = {0, 1, 13, 25, 26};
    int replacements = 0, tieBreaks = 0, tieWins = 0;
    for (int i = 0; i < 60; ++i) {
        Case c;
        const bool useReal = !real.empty() && i % 4 == 3;
        const auto& source = useReal ? real : generated;
        const std::size_t size =
            i % 5 == 0 ? source.size() : 202 + static_cast<std::size_t>(random.next(1299));
        c.draws.assign(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(size));
        const int n = i % 15 == 7 ? 20 : 6 + random.next(i % 3 == 0 ? 9 : 6);
        c.marked = randomMarks(random, n);
        const auto total = static_cast<std::int64_t>(initialColumnCountExact(n));
        c.precision = precisions[i % 5];
        switch (i % 4) {
        case 0:
            c.count = 1;
            break;
        case 1:
            c.count = std::min<std::int64_t>(total, 2 + random.next(12));
            break;
        case 2:
            c.count = std::max<std::int64_t>(1, total - 1);
            break;
        default:
            c.count = total;
            break;
        }
        if (n == 20)
            c.count = 40; // a long list that fills early and changes often
        if (i % 2 == 1)
            c.weights = randomWeights(random);
        if (i % 3 == 1) // one or two fixed numbers among the marked ones
            for (int f = 0; f <= i % 2; ++f)
                c.fixed.push_back(c.marked[static_cast<std::size_t>(random.next(n))]);
        SCOPED_TRACE(describe(c));
        const auto plain = expectSameSelection(c);
        replacements += plain.replacements;
        tieBreaks += plain.tieBreaks;
        tieWins += plain.tieWins;
    }
    // The cases must reach every rule of the list, or agreeing proves little.
    EXPECT_GT(replacements, 100);
    EXPECT_GT(tieBreaks, 20);
    EXPECT_GT(tieWins, 5);
}

TEST(SelectionRun, FiltersLeaveOutExactlyTheColumnsThatFail) {
    const std::vector<Column> draws = generatedDraws(600, 77);
    RandomGenerator random(5);
    const char* texts[] = {"somma=150..300", "dispari=2..4", "bassi=1..4",     "decina<=2",
                           "consecutivi<=1", "finale<=1",    "archivio<=2@80", "archivio<=3"};
    std::size_t shorter = 0;
    for (int i = 0; i < 24; ++i) {
        Case c;
        c.draws = draws;
        const int n = 8 + random.next(8);
        c.marked = randomMarks(random, n);
        c.precision = i % 2 ? 26 : 0;
        for (int k = 0; k < 3; ++k)
            ASSERT_TRUE(addFilter(c.filters, texts[random.next(8)]));
        if (i % 3 == 0) {
            const std::string pick = std::to_string(c.marked[random.next(n)]);
            ASSERT_TRUE(addFilter(c.filters, (i % 2 ? "con=" : "senza=") + pick));
        }
        if (i % 4 == 1)
            c.fixed.push_back(c.marked[random.next(n)]);
        c.count = 1 + random.next(30);
        SCOPED_TRACE(describe(c));
        shorter += expectSameSelection(c).columns.size() < std::size_t(c.count);
    }
    // Some filters must leave fewer passing columns than asked for, the list's other edge.
    EXPECT_GT(shorter, 0u);
}

TEST(SelectionRun, ThreadsScoringAheadKeepTheSinglePassList) {
    // Larger systems than the plain run can afford: the single pass, checked above against
    // it, is the oracle. Long lists fill late (workers then hand whole units back) and wide
    // tolerance bands let tie-breaks lower the lowest score (units are scored again).
    const std::vector<Column> draws = generatedDraws(1200, 31);
    RandomGenerator random(8);
    int rescanned = 0;
    for (int i = 0; i < 12; ++i) {
        Case c;
        c.draws = draws;
        c.marked = randomMarks(random, 22 + random.next(9));
        c.precision = i % 3 == 0 ? 0 : 1 + random.next(12);
        c.count = i % 4 == 0 ? 3000 : 1 + random.next(30);
        if (i % 2)
            c.weights = randomWeights(random);
        SCOPED_TRACE(describe(c));
        const auto single = runFast(c, 1);
        const auto parallel = runFast(c, 2 + i % 3);
        EXPECT_EQ(parallel.columns, single.columns);
        EXPECT_EQ(parallel.scores, single.scores);
        EXPECT_EQ(single.rescannedUnits, 0);
        rescanned += parallel.rescannedUnits;
    }
    EXPECT_GT(rescanned, 0);
}

TEST(SelectionRun, EdgeCasesOfTheListRules) {
    const std::vector<Column> draws = generatedDraws(202, 8);
    Case c;
    c.draws = draws;
    c.marked = {3, 11, 19, 27, 35, 44, 52, 60};

    // Count T: every column scores above 0 with default weights, so all 28 are kept in
    // enumeration order.
    c.count = 28;
    const auto all = runFast(c);
    ASSERT_EQ(all.columns.size(), 28u);
    for (std::size_t r = 1; r < all.columns.size(); ++r)
        EXPECT_TRUE(std::ranges::lexicographical_compare(all.columns[r - 1], all.columns[r]));
    expectSameSelection(c);

    // Count 1 at full speed keeps the first column of the highest score.
    c.count = 1;
    c.precision = 26;
    RandomGenerator random(3);
    c.weights = randomWeights(random);
    const ColumnScorer scorer(c.draws, measureFeatureStats(c.draws, 26), c.weights, {});
    Column best{};
    double bestScore = 0;
    for (const auto& column : all.columns)
        if (scorer.score(column) > bestScore) {
            bestScore = scorer.score(column);
            best = column;
        }
    const auto one = runFast(c);
    ASSERT_EQ(one.columns.size(), 1u);
    EXPECT_EQ(one.columns[0], best);
    EXPECT_EQ(one.scores[0], bestScore);
    expectSameSelection(c);

    // Weights far beyond 100 (a damaged file) give scores above the starting lowest score of
    // 1000: the first kept row must still become the lowest row, and be replaced normally.
    c.weights = defaultWeights();
    c.weights[60] = 1e6;
    const auto huge = runFast(c);
    ASSERT_EQ(huge.columns.size(), 1u);
    EXPECT_EQ(huge.columns[0][5], 60);
    EXPECT_GT(huge.scores[0], 1000);
    expectSameSelection(c);
    c.weights = defaultWeights();

    // Equal scores: draws all alike make every feature constant, so every column scores 90.
    // At full speed the first column is never displaced; at full precision the tie-breaks
    // decide, and only by the overlap profiles.
    Case flat = c;
    flat.draws.assign(202, Column{1, 2, 3, 4, 5, 6});
    flat.count = 1;
    flat.precision = 26;
    const auto first = runFast(flat);
    ASSERT_EQ(first.columns.size(), 1u);
    EXPECT_EQ(formatColumn(first.columns[0]), " 3 11 19 27 35 44");
    flat.precision = 0;
    EXPECT_EQ(formatColumn(runFast(flat).columns.at(0)), " 3 11 19 27 35 44");
    flat.count = 5;
    const auto profiled = expectSameSelection(flat);
    EXPECT_EQ(profiled.tieBreaks, 28 - 5);
}

TEST(SelectionRun, AFixedNumberOutsideTheSystemRejectsEveryColumn) {
    Case c;
    c.draws = generatedDraws(300, 4);
    c.marked = {2, 4, 6, 8, 10, 12, 14};
    c.count = 3;
    c.fixed = {4, 50};
    std::uint64_t last = 0;
    auto result =
        selectColumns(requestOf(c, 0), nullptr, [&](std::uint64_t examined, std::uint64_t total) {
            EXPECT_EQ(total, 7u);
            last = examined;
        });
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result->columns.empty());
    EXPECT_FALSE(result->stopped);
    EXPECT_EQ(last, 7u);

    // Fixed numbers of the system: every kept column holds them all.
    c.fixed = {14, 2};
    const auto kept = runFast(c);
    ASSERT_EQ(kept.columns.size(), 3u);
    for (const auto& column : kept.columns) {
        EXPECT_EQ(std::ranges::count(column, 14), 1);
        EXPECT_EQ(std::ranges::count(column, 2), 1);
    }
    expectSameSelection(c);
    c.fixed = {2, 4, 6, 8, 10, 12, 14}; // seven fixed numbers fit in no column
    EXPECT_TRUE(runFast(c).columns.empty());
}

TEST(SelectionRun, OnlyTheNewestTenThousandDrawsCount) {
    const std::vector<Column> many = generatedDraws(10050, 17);
    Case c;
    c.marked = {5, 15, 25, 35, 45, 55, 65, 75, 85};
    c.count = 4;
    c.precision = 26;
    c.draws = many;
    const auto full = runFast(c);
    c.draws.assign(many.begin(), many.begin() + 10000);
    const auto capped = runFast(c);
    EXPECT_EQ(full.columns, capped.columns);
    EXPECT_EQ(full.scores, capped.scores);
    c.draws.assign(many.begin() + 1, many.begin() + 10001); // one draw older: other scores
    EXPECT_NE(runFast(c).scores, capped.scores);
}

TEST(SelectionRun, ProgressCanPauseAndStopTheRun) {
    const std::vector<Column> draws = generatedDraws(400, 1);
    RandomGenerator random(5);
    SelectionRequest request;
    request.draws = draws;
    request.marked = randomMarks(random, 30); // 593,775 columns: many checkpoints
    request.probabilities = defaultWeights();
    request.count = 10;
    std::vector<std::uint64_t> seen;
    RunControl control;
    auto stopped = selectColumns(request, &control, [&](std::uint64_t examined, std::uint64_t) {
        seen.push_back(examined);
        if (seen.size() == 3)
            control.cancel();
    });
    ASSERT_TRUE(stopped.ok());
    EXPECT_TRUE(stopped->stopped);
    EXPECT_TRUE(stopped->columns.empty());
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(std::ranges::is_sorted(seen));
    EXPECT_LT(seen.back(), 593775u);

    RunControl cancelledBefore;
    cancelledBefore.cancel();
    auto cancelled = selectColumns(request, &cancelledBefore);
    ASSERT_TRUE(cancelled.ok());
    EXPECT_TRUE(cancelled->stopped);

    // Once the stop is confirmed the list takes nothing more, however much of the unit is left.
    SelectionList list(1, 0.26);
    RunControl stopNow;
    list.stopWhen(&stopNow);
    list.offer(Column{1, 2, 3, 4, 5, 6}, 5);
    stopNow.cancel();
    list.offer(Column{7, 8, 9, 10, 11, 12}, 50);
    ASSERT_EQ(list.columns().size(), 1u);
    EXPECT_EQ(list.columns()[0], (Column{1, 2, 3, 4, 5, 6}));

    // A pause from another thread holds the run at a checkpoint until it is resumed.
    RunControl paused;
    paused.requestPause();
    std::thread resumer([&] {
        while (!paused.parked())
            std::this_thread::yield();
        paused.resume();
    });
    auto resumed = selectColumns(request, &paused);
    resumer.join();
    ASSERT_TRUE(resumed.ok());
    EXPECT_FALSE(resumed->stopped);
    EXPECT_EQ(resumed->columns.size(), 10u);

    // A callback that goes on sees the count grow to the total, last call at the end.
    request.marked.resize(16);
    seen.clear();
    auto finished =
        selectColumns(request, nullptr, [&](std::uint64_t examined, std::uint64_t total) {
            seen.push_back(examined);
            EXPECT_EQ(total, 8008u);
        });
    ASSERT_TRUE(finished.ok());
    EXPECT_FALSE(finished->stopped);
    EXPECT_EQ(finished->columns.size(), 10u);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 8008u);
}

TEST(SelectionRun, RefusesWhatCannotMakeARun) {
    const std::vector<Column> draws = generatedDraws(202, 2);
    SelectionRequest request;
    request.draws = std::span<const Column>(draws).first(201);
    request.marked = {1, 2, 3, 4, 5, 6, 7};
    request.count = 1;
    auto r = selectColumns(request);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error(), fewDrawsMessage);
    request.draws = draws;
    request.marked = {1, 2, 3, 4, 5};
    r = selectColumns(request);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error(), fewMarksMessage);
    request.marked = {1, 2, 3, 4, 5, 6};
    request.count = 2; // one initial column only
    r = selectColumns(request);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error(), invalidCountMessage);
    request.count = 1;
    EXPECT_TRUE(selectColumns(request).ok());
}

TEST(RequestedCount, AcceptsOnlyAWholeCountWithinTheSystem) {
    EXPECT_EQ(*requestedCount("28", 28), 28);
    EXPECT_EQ(*requestedCount("  7", 28), 7);
    EXPECT_EQ(*requestedCount("+3", 28), 3);
    for (const char* bad :
         {"0", "-4", "abc", "", "   ", "29", "5x", "7 ", "2147483648", "99999999999", "1.5"}) {
        const auto r = requestedCount(bad, 28);
        ASSERT_FALSE(r.ok()) << bad;
        EXPECT_EQ(r.error(), invalidCountMessage) << bad;
    }
    EXPECT_EQ(*requestedCount("2147483647", 622614630.0 * 10), 2147483647);
}

TEST(EngineThreads, AFailureOnAnyThreadReachesTheCallerInsteadOfEndingTheProgram) {
    // Each engine runs threads of its own; an exception thrown while they run (here from the
    // progress report, or from the work of one thread) must come out of the call.
    const auto selection = [] {
        SelectionRequest request;
        const std::vector<Column> draws = generatedDraws(300, 5);
        request.draws = draws;
        request.marked = {2,  5,  11, 17, 23, 29, 31, 37, 41, 43,
                          47, 53, 59, 61, 67, 71, 73, 79, 83, 89};
        request.probabilities.fill(50);
        request.count = 100;
        request.threads = 3;
        (void)selectColumns(request, nullptr,
                            [](std::uint64_t, std::uint64_t) { throw std::bad_alloc(); });
    };
    const auto bestMatches = [] {
        std::vector<int> marked(30);
        std::iota(marked.begin(), marked.end(), 1);
        const std::vector<Column> finals(100, Column{1, 2, 3, 4, 5, 6});
        (void)countBestMatches(marked, finals, nullptr,
                               [](const BestMatchCounts&) { throw std::bad_alloc(); });
    };
    const auto oneThreadOfMany = [] {
        std::atomic<int> started{0};
        runOnThreads(4, [&] {
            if (started.fetch_add(1) == 2)
                throw std::bad_alloc();
        });
    };
    const auto workerAhead = [] {
        AheadWorkers workers;
        workers.run(
            2, [] { throw std::bad_alloc(); },
            [&] {
                // Waits for a result no worker will give: the failure must end the wait.
                std::unique_lock lock(workers.mutex);
                workers.changed.wait(lock, [&] { return workers.failure != nullptr; });
            });
    };
    for (const auto& run :
         {std::function<void()>(selection), std::function<void()>(bestMatches),
          std::function<void()>(oneThreadOfMany), std::function<void()>(workerAhead)})
        EXPECT_THROW(run(), std::bad_alloc);
}
