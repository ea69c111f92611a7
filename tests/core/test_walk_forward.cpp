#include "core/archive.h"
#include "core/column_filters.h"
#include "core/walk_forward.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>

using namespace quintor;

namespace {

SystemState systemOf(const std::vector<int>& marked) {
    SystemState system;
    for (int n : marked)
        system.marked[static_cast<std::size_t>(n)] = 1;
    return system;
}

const std::vector<int> twelveNumbers{2, 7, 11, 18, 23, 35, 41, 52, 60, 67, 74, 88};

// A method that is chance by construction: random columns of the same marked numbers, from a
// generator of its own.
ColumnChooser randomMethod(std::uint32_t seed) {
    auto random = std::make_shared<RandomGenerator>(seed);
    return [random](const SelectionRequest& request, RunControl*, const SelectionProgress&) {
        const RandomColumnSampler sampler(request.marked, request.fixed, request.filter.get(),
                                          static_cast<std::size_t>(request.count));
        SelectionResult result;
        sampler.draw(*random, result.columns);
        return Expected<SelectionResult>(result);
    };
}

} // namespace

// The method must never see the draw it is tested on, nor any after it: planting other
// numbers there changes neither the columns it chooses nor any earlier row of the run.
TEST(WalkForward, PlantedFutureDrawsChangeNothingBeforeThem) {
    const Archive archive = simulatedArchive(minimumDraws + 8, 11);
    SystemState system = systemOf(twelveNumbers);
    system.fixedNumbers[0] = 18;
    system.fixedCount = 1;
    ASSERT_TRUE(addFilter(system.filters, "archivio<=3@40").ok());
    WalkForwardSettings settings;
    settings.count = 15;
    settings.draws = 8;
    settings.randomSets = 30;
    settings.precision = 20;

    // From the fifth tested draw on, every draw is the marked numbers' first six: the draw
    // the scores and the archive filter would notice most.
    const std::size_t planted = archive.size() - 4;
    std::vector<ArchiveRecord> records = archive.records();
    const Column plantedNumbers{2, 7, 11, 18, 23, 35};
    for (std::size_t i = planted; i < records.size(); ++i)
        records[i] = ArchiveRecord::fromValues(*records[i].day, plantedNumbers, 90);
    const Archive plantedArchive(records);

    const auto choose = [&](const Archive& a) {
        const auto newest = a.newestFirst(a.size());
        std::shared_ptr<const FilterCheck> filter;
        const auto chosen =
            selectColumns(requestBeforeDraw(system, newest, planted, settings, filter));
        EXPECT_TRUE(chosen.ok());
        return chosen ? chosen->columns : std::vector<Column>{};
    };
    const auto before = choose(archive);
    EXPECT_EQ(before.size(), 15u);
    EXPECT_EQ(before, choose(plantedArchive));

    const auto plain = walkForward(system, archive, settings);
    const auto changed = walkForward(system, plantedArchive, settings);
    ASSERT_TRUE(plain.ok()) << plain.error();
    ASSERT_TRUE(changed.ok()) << changed.error();
    ASSERT_EQ(plain->draws.size(), 8u);
    ASSERT_EQ(changed->draws.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        const WalkForwardDraw& a = plain->draws[i];
        const WalkForwardDraw& b = changed->draws[i];
        if (a.record >= planted)
            break;
        EXPECT_EQ(a.method, b.method) << "draw " << a.record;
        EXPECT_EQ(a.randomMean, b.randomMean) << "draw " << a.record;
        EXPECT_EQ(a.randomWonHigh, b.randomWonHigh) << "draw " << a.record;
    }
}

// When the method is itself chance, its rank among the random sets is uniform: the p-value
// over many seeds spreads evenly over 0..1 (a little above it, since ties count against
// the method). Identical or dependent random sets, sets of another size, or a p-value taken
// the wrong way round all bunch it up.
TEST(WalkForward, PValueOfAChanceMethodIsRoughlyUniform) {
    const Archive archive = simulatedArchive(minimumDraws + 100, 5);
    std::vector<int> thirty(30);
    std::iota(thirty.begin(), thirty.end(), 31);
    const SystemState system = systemOf(thirty);
    WalkForwardSettings settings;
    settings.count = 50;
    settings.draws = 100;
    settings.randomSets = 49;
    settings.prizes = PrizeTable{{1, 0, 0, 0, 0}}; // the money won counts the 3s alone
    std::vector<double> pValues;
    constexpr int seeds = 30;
    for (std::uint32_t seed = 1; seed <= seeds; ++seed) {
        settings.seed = seed;
        const auto result =
            walkForward(system, archive, settings, nullptr, {}, randomMethod(seed * 7919u + 1u));
        ASSERT_TRUE(result.ok()) << result.error();
        EXPECT_EQ(result->won.method, result->levels[0].method);
        pValues.push_back(result->levels[0].pValue);
    }
    std::sort(pValues.begin(), pValues.end());
    // Kolmogorov's distance to the uniform distribution; 0.29 is its 1 % level for 30 values,
    // and the ties add a few hundredths.
    double distance = 0;
    for (std::size_t i = 0; i < pValues.size(); ++i) {
        const double below = static_cast<double>(i) / seeds;
        const double upTo = static_cast<double>(i + 1) / seeds;
        distance = std::max({distance, std::abs(pValues[i] - below), std::abs(upTo - pValues[i])});
    }
    EXPECT_LT(distance, 0.33) << "p-values from " << pValues.front() << " to " << pValues.back();
    EXPECT_LE(std::count_if(pValues.begin(), pValues.end(), [](double p) { return p <= 0.05; }), 5);
}

// Random sets play the same game as the method: columns of six marked numbers holding every
// fixed number, passing the filters, all different; whether they are found by trying or by
// listing the few that pass.
TEST(WalkForward, RandomSetsKeepTheMarksFixedNumbersAndFilters) {
    struct Case {
        const char* filter;
        std::vector<int> fixed;
        std::size_t count;
        bool possible;
    };
    const std::vector<Case> cases{
        {"", {}, 100, true},
        {"", {7, 60}, 200, true},           // C(10,4) = 210: nearly all of them
        {"somma=150..200", {}, 20, true},   // 176 pass: found by trying
        {"somma=100..140", {18}, 15, true}, // 15 pass: listed, every one taken
        {"somma=100..140", {18}, 16, false},
        {"", {7, 8}, 1, false}, // a fixed number that is not marked
    };
    const NumberSet marked = [] {
        NumberSet set;
        for (int n : twelveNumbers)
            set.add(n);
        return set;
    }();
    for (const Case& c : cases) {
        ColumnFilters filters;
        if (*c.filter) {
            ASSERT_TRUE(addFilter(filters, c.filter).ok());
        }
        const FilterCheck check(filters, {});
        const RandomColumnSampler sampler(twelveNumbers, c.fixed, *c.filter ? &check : nullptr,
                                          c.count);
        RandomGenerator random(3);
        std::vector<Column> columns;
        ASSERT_EQ(sampler.draw(random, columns), c.possible) << c.filter;
        if (!c.possible)
            continue;
        ASSERT_EQ(columns.size(), c.count) << c.filter;
        std::set<Column> distinct;
        for (const Column& column : columns) {
            const NumberSet numbers = NumberSet::of(column);
            EXPECT_EQ(numbers.size(), 6);
            EXPECT_TRUE(marked.includes(numbers)) << formatColumn(column);
            for (int f : c.fixed)
                EXPECT_TRUE(numbers.contains(f)) << formatColumn(column);
            EXPECT_TRUE(check.passes(column)) << c.filter << formatColumn(column);
            distinct.insert(column);
        }
        EXPECT_EQ(distinct.size(), c.count) << c.filter;
    }
}

// A stop keeps the draws already tested, summed up, and says it stopped.
TEST(WalkForward, StopKeepsTheDrawsDone) {
    const Archive archive = simulatedArchive(minimumDraws + 6, 2);
    const SystemState system = systemOf(twelveNumbers);
    WalkForwardSettings settings;
    settings.count = 10;
    settings.draws = 6;
    settings.randomSets = 20;
    RunControl control;
    const auto result = walkForward(system, archive, settings, &control, [&](double done) {
        if (done >= 2.0 / 6)
            control.cancel();
    });
    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_TRUE(result->stopped);
    ASSERT_EQ(result->draws.size(), 2u);
    EXPECT_EQ(result->levels[0].method, result->draws[0].method[0] + result->draws[1].method[0]);
    EXPECT_EQ(result->spent, 20 * settings.columnPrice);
}
