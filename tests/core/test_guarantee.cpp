#include "core/backtest.h"
#include "core/byte_file.h"
#include "core/combinatorics.h"
#include "core/conversions.h"
#include "core/guarantee.h"
#include "core/repair.h"
#include "core/selection.h"
#include "core/selection_guarantee.h"
#include "core/simulated_archive.h"
#include "tests/core/random_systems.h"
#include "tests/reference/guarantee_reference.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <future>
#include <numeric>
#include <set>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quintor;
using quintor::testing::randomFinal;
using quintor::testing::randomMarked;

namespace {

std::vector<Column> randomFinals(RandomGenerator& random, const std::vector<int>& marked,
                                 int count) {
    std::vector<Column> finals;
    for (int i = 0; i < count; ++i)
        finals.push_back(randomFinal(random, marked));
    return finals;
}

std::vector<Column> allHoles(HoleCursor& cursor, std::size_t batch) {
    std::vector<Column> holes;
    while (cursor.next(holes, batch)) {
    }
    return holes;
}

} // namespace

TEST(Guarantee, BestMatchesAndHolesAgreeWithThePlainLoops) {
    RandomGenerator random(16031);
    for (int round = 0; round < 120; ++round) {
        const int n = 1 + random.next(16); // 1..16
        const auto marked = randomMarked(random, n);
        const auto finals = randomFinals(random, marked, random.next(n < 10 ? 12 : 150));
        const int m = 1 + random.next(6);
        std::array<std::uint64_t, 7> fast{};
        ASSERT_TRUE(
            countBestMatchesOfSize(marked, finals, m, fast, nullptr, {}, 1 + random.next(3)));
        ASSERT_EQ(fast, reference::bestMatchesOfSize(marked, finals, m))
            << "round " << round << " n " << n << " m " << m;

        std::vector<int> fixed;
        for (int f = random.next(std::min(m, n) + 1); f > 0; --f)
            if (const int number = marked[static_cast<std::size_t>(random.next(n))];
                std::find(fixed.begin(), fixed.end(), number) == fixed.end())
                fixed.push_back(number);
        ASSERT_TRUE(countBestMatchesHolding(marked, finals, m, fixed, fast));
        ASSERT_EQ(fast, reference::bestMatchesHolding(marked, finals, m, fixed))
            << "round " << round << " fixed " << fixed.size();

        const int t = 1 + random.next(m);
        HoleCursor cursor(marked, finals, t, m);
        const auto holes = allHoles(cursor, 1 + static_cast<std::size_t>(random.next(40)));
        ASSERT_EQ(holes, reference::holes(marked, finals, t, m)) << "round " << round;
    }
}

TEST(Guarantee, TableRowsWithTooFewNumbersAreEmptyAndFullRowsAreMarkedGuaranteed) {
    const std::vector<int> four{3, 17, 44, 90};
    const std::vector<Column> finals{{3, 17, 44, 90, 1, 2}};
    const GuaranteeTable table = guaranteeTable(four, finals);
    EXPECT_EQ(table.total(5), 0u);
    EXPECT_EQ(table.percent(5, 3), 0.0);
    EXPECT_FALSE(table.guarantees(5, 3));
    EXPECT_TRUE(table.guarantees(4, 4));
    EXPECT_EQ(table.covered(3, 3), 4u);

    RandomGenerator random(61);
    const auto marked = randomMarked(random, 13);
    const auto someFinals = randomFinals(random, marked, 40);
    const GuaranteeTable full = guaranteeTable(marked, someFinals);
    for (int m = 3; m <= 6; ++m)
        EXPECT_EQ(full.best[static_cast<std::size_t>(m)],
                  reference::bestMatchesOfSize(marked, someFinals, m));
}

TEST(Guarantee, ACancelledRunSaysItStopped) {
    RandomGenerator random(7);
    const auto marked = randomMarked(random, 40);
    const auto finals = randomFinals(random, marked, 300);
    RunControl control;
    control.cancel();
    EXPECT_TRUE(guaranteeTable(marked, finals, &control).stopped);
}

TEST(Guarantee, HolesExportWritesEveryHoleAndACancelledOneKeepsTheOldFile) {
    RandomGenerator random(99);
    const auto marked = randomMarked(random, 12);
    const auto finals = randomFinals(random, marked, 5);
    quintor::testing::TempFolder folder;
    const auto file = folder.path() / "buchi.csv";
    const auto written = exportHolesCsv(file, marked, finals, 3, 5);
    ASSERT_TRUE(written);
    const auto expected = reference::holes(marked, finals, 3, 5);
    EXPECT_EQ(*written, expected.size());
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "n1;n2;n3;n4;n5");
    for (const Column& hole : expected) {
        std::getline(in, line);
        std::string text = holeText(hole, 5);
        std::replace(text.begin(), text.end(), ' ', ';');
        ASSERT_EQ(line, text);
    }
    EXPECT_FALSE(std::getline(in, line));

    EXPECT_FALSE(exportHolesCsv(folder.path(), marked, finals, 3, 5));
    const auto before = quintor::readFileBytes(file);
    RunControl control;
    control.cancel();
    const auto stopped = exportHolesCsv(file, marked, finals, 3, 5, &control);
    ASSERT_FALSE(stopped);
    EXPECT_EQ(stopped.error(), interruptedMessage);
    EXPECT_EQ(quintor::readFileBytes(file), before);
}

TEST(Repair, ChoosesTheSameColumnsAsThePlainGreedy) {
    RandomGenerator random(2026);
    for (int round = 0; round < 40; ++round) {
        RepairRequest request;
        request.marked = randomMarked(random, 6 + random.next(6)); // 6..11
        request.m = 3 + random.next(4);
        request.t = 2 + random.next(request.m - 1);
        request.budget = 1 + random.next(12);
        request.finals = randomFinals(random, request.marked, random.next(4));
        for (int f = random.next(3); f > 0; --f)
            request.fixed.push_back(request.marked[static_cast<std::size_t>(
                random.next(static_cast<int>(request.marked.size())))]);
        std::sort(request.fixed.begin(), request.fixed.end());
        request.fixed.erase(std::unique(request.fixed.begin(), request.fixed.end()),
                            request.fixed.end());
        if (random.next(2))
            request.score = [](const Column& c) { return (c[0] * 7 + c[3] * 13 + c[5]) % 5; };

        const auto fast = repairGuarantee(request);
        ASSERT_TRUE(fast) << fast.error();
        const auto plain = reference::repair(request);
        ASSERT_EQ(fast->added, plain.added) << "round " << round;
        EXPECT_EQ(fast->covered, plain.covered);
        EXPECT_EQ(fast->total, plain.total);
        EXPECT_EQ(fast->coveredHoldingFixed, plain.coveredHoldingFixed);
        EXPECT_EQ(fast->totalHoldingFixed, plain.totalHoldingFixed);
    }
}

TEST(Repair, TheSearchKeepsTheGuaranteeWithFewerColumnsAndTheSameOnesEachTime) {
    RandomGenerator random(4242);
    auto check = [](RepairRequest request) {
        const auto greedy = repairGuarantee(request);
        request.searchWork = 2'000'000;
        const auto shorter = repairGuarantee(request);
        EXPECT_TRUE(greedy && shorter);
        EXPECT_EQ(shorter->covered, greedy->covered);
        EXPECT_LE(shorter->added.size(), greedy->added.size());
        std::vector<Column> all = request.finals;
        all.insert(all.end(), shorter->added.begin(), shorter->added.end());
        EXPECT_EQ(reference::holes(request.marked, all, request.t, request.m).size(),
                  greedy->total - greedy->covered);
        EXPECT_EQ(repairGuarantee(request)->added, shorter->added);
        return greedy->added.size() - shorter->added.size();
    };
    for (int round = 0; round < 4; ++round) {
        RepairRequest request;
        request.marked = randomMarked(random, 8 + random.next(4)); // 8..11
        request.m = 3 + random.next(4);
        request.t = 2 + random.next(request.m - 1);
        request.budget = 1000;
        request.finals = randomFinals(random, request.marked, random.next(3));
        if (random.next(2))
            request.fixed = {request.marked[3]};
        check(request);
    }
    // The greedy choice is never the smallest covering of the triples of 16 numbers.
    RepairRequest triples;
    triples.marked = randomMarked(random, 16);
    triples.t = triples.m = 3;
    triples.budget = 1000;
    EXPECT_GT(check(triples), 0u);
}

TEST(Repair, AStopDuringTheSetUpEndsTheRunAtOnceWithNothingAdded) {
    // About half of the 134,596 six-sets of 24 numbers are holes: left alone, working out the
    // gains of every column from them takes seconds before the first column is chosen.
    RandomGenerator random(1624);
    RepairRequest request;
    request.marked = randomMarked(random, 24);
    request.finals = randomFinals(random, request.marked, 5);
    request.budget = 100;
    RunControl control;
    Expected<RepairResult> result = RepairResult{};
    std::thread worker([&] { result = repairGuarantee(request, &control); });
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    const auto asked = std::chrono::steady_clock::now();
    control.cancel();
    worker.join();
    const std::chrono::duration<double> answered = std::chrono::steady_clock::now() - asked;
    EXPECT_LT(answered.count(), 1.0); // a fraction of that on an idle machine
    ASSERT_TRUE(result) << result.error();
    EXPECT_TRUE(result->stopped);
    EXPECT_TRUE(result->added.empty());
}

namespace {

// Checks a repair's result against the plain loops: within the budget, six distinct marked
// numbers a column with every fixed one, nothing already listed, and both shares as reported.
void expectSoundRepair(const RepairRequest& request, const RepairResult& result) {
    EXPECT_LE(static_cast<std::int64_t>(result.added.size()), request.budget);
    std::set<Column> seen(request.finals.begin(), request.finals.end());
    for (const Column& column : result.added) {
        EXPECT_TRUE(seen.insert(column).second) << formatColumn(column);
        EXPECT_EQ(std::set<int>(column.begin(), column.end()).size(), 6u);
        for (int number : column)
            EXPECT_TRUE(std::binary_search(request.marked.begin(), request.marked.end(), number));
        for (int number : request.fixed)
            EXPECT_NE(std::find(column.begin(), column.end(), number), column.end())
                << number << " missing from " << formatColumn(column);
    }
    std::vector<Column> all = request.finals;
    all.insert(all.end(), result.added.begin(), result.added.end());
    auto coveredOf = [&](const std::array<std::uint64_t, 7>& best) {
        return std::accumulate(best.begin() + request.t, best.end(), std::uint64_t{0});
    };
    const auto every = reference::bestMatchesOfSize(request.marked, all, request.m);
    EXPECT_EQ(result.covered, coveredOf(every));
    EXPECT_EQ(result.total, std::accumulate(every.begin(), every.end(), std::uint64_t{0}));
    const auto holding =
        reference::bestMatchesHolding(request.marked, all, request.m, request.fixed);
    EXPECT_EQ(result.coveredHoldingFixed, coveredOf(holding));
    EXPECT_EQ(result.totalHoldingFixed,
              std::accumulate(holding.begin(), holding.end(), std::uint64_t{0}));
}

// A case of the guarantee within a budget: how many numbers are marked at random, the
// guarantee "t se m", the fixed numbers and the budget.
struct BudgetRow {
    int numbers, t, m;
    std::vector<std::size_t> fixedAt; // positions among the marked numbers
    std::int64_t budget;
    bool reachable = false;
};

RepairRequest budgetRequest(const BudgetRow& row, RandomGenerator& random) {
    RepairRequest request;
    request.marked = randomMarked(random, row.numbers);
    for (std::size_t at : row.fixedAt)
        request.fixed.push_back(request.marked[at]);
    request.t = row.t;
    request.m = row.m;
    request.budget = row.budget;
    return request;
}

::testing::Message describe(const BudgetRow& row) {
    return ::testing::Message() << row.numbers << " numbers, " << row.t << " se " << row.m
                                << ", budget " << row.budget;
}

} // namespace

TEST(Repair, WithinABudgetReachesTheGuaranteeOrReportsTheShareItCovers) {
    // C(12,6,3) = 15; with 7 and 12 fixed among 20 numbers "3 se 6" asks only that a column
    // meets the other four drawn in one more number.
    const std::vector<BudgetRow> rows{
        {12, 3, 3, {}, 6, false},   {12, 3, 3, {}, 40, true},        {20, 3, 6, {3, 9}, 4, true},
        {14, 4, 5, {0}, 10, false}, {13, 4, 6, {2, 5, 7}, 1, false},
    };
    RandomGenerator random(828);
    for (const BudgetRow& row : rows) {
        RepairRequest request = budgetRequest(row, random);
        request.finals = randomFinals(random, request.marked, 1);
        const auto greedy = repairGuarantee(request);
        request.searchWork = 20'000'000;
        const auto result = repairGuarantee(request);
        ASSERT_TRUE(greedy && result) << result.error();
        SCOPED_TRACE(describe(row));
        expectSoundRepair(request, *result);
        EXPECT_EQ(result->reached(), row.reachable);
        EXPECT_GE(result->coveredHoldingFixed, greedy->coveredHoldingFixed);
        if (!row.reachable) {
            EXPECT_EQ(static_cast<std::int64_t>(result->added.size()), row.budget);
        }
    }
}

namespace {

// Every column of six of the marked numbers, in lexicographic order.
template <class F> void forEachColumnOf(const std::vector<int>& marked, F&& f) {
    const int n = static_cast<int>(marked.size());
    std::array<int, 6> at{0, 1, 2, 3, 4, 5};
    while (true) {
        Column column{};
        for (std::size_t i = 0; i < 6; ++i)
            column[i] = static_cast<std::uint8_t>(marked[static_cast<std::size_t>(at[i])]);
        f(column);
        int i = 5;
        while (i >= 0 && at[static_cast<std::size_t>(i)] == n - 6 + i)
            --i;
        if (i < 0)
            return;
        ++at[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < 6; ++j)
            at[static_cast<std::size_t>(j)] = at[static_cast<std::size_t>(j - 1)] + 1;
    }
}

} // namespace

TEST(Repair, AfterTheSearchNoColumnGivesWayToABetterScoredOneThatCoversAsMuch) {
    // The search reshapes the greedy set by coverage alone: a covering of the triples of 12
    // numbers and a budget too small for "4 se 5" with a fixed number.
    const std::vector<BudgetRow> rows{{12, 3, 3, {}, 40}, {11, 4, 5, {2}, 6}};
    RandomGenerator random(3131);
    for (const BudgetRow& row : rows) {
        RepairRequest request = budgetRequest(row, random);
        request.searchWork = 20'000'000;
        request.score = [](const Column& c) { return (c[0] * 7 + c[3] * 13 + c[5]) % 11; };
        const auto result = repairGuarantee(request);
        ASSERT_TRUE(result) << result.error();
        SCOPED_TRACE(describe(row));
        expectSoundRepair(request, *result);
        const auto coveredBy = [&](const std::vector<Column>& columns) {
            const auto best =
                reference::bestMatchesHolding(request.marked, columns, request.m, request.fixed);
            return std::accumulate(best.begin() + request.t, best.end(), std::uint64_t{0});
        };
        const std::uint64_t covered = coveredBy(result->added);
        forEachColumnOf(request.marked, [&](const Column& in) {
            if (std::any_of(
                    request.fixed.begin(), request.fixed.end(),
                    [&](int f) { return std::find(in.begin(), in.end(), f) == in.end(); }) ||
                std::find(result->added.begin(), result->added.end(), in) != result->added.end())
                return;
            for (std::size_t slot = 0; slot < result->added.size(); ++slot) {
                if (request.score(in) <= request.score(result->added[slot]))
                    continue;
                std::vector<Column> swapped = result->added;
                swapped[slot] = in;
                EXPECT_LT(coveredBy(swapped), covered)
                    << formatColumn(in) << " for " << formatColumn(result->added[slot]);
            }
        });
    }
}

TEST(GuaranteeSelection, ReachesTheGuaranteeWithinTheBudgetOrReportsBothSharesItCovers) {
    const std::vector<BudgetRow> rows{
        {20, 3, 6, {3, 9}, 40, true}, {12, 3, 3, {}, 8, false},       {14, 4, 5, {0}, 10, false},
        {10, 3, 6, {}, 20, true},     {16, 3, 6, {1, 4, 8}, 3, true},
    };
    const Archive archive = simulatedArchive(400, 5);
    const std::vector<Column> draws = archive.newestFirst(snapshotLimit);
    RandomGenerator random(77);
    for (const BudgetRow& row : rows) {
        const RepairRequest asked = budgetRequest(row, random);
        SelectionRequest selection;
        selection.draws = draws;
        selection.marked = asked.marked;
        for (int n : selection.marked)
            selection.probabilities[static_cast<std::size_t>(n)] = 1 + n % 3;
        selection.fixed = asked.fixed;
        const GuaranteeTarget target{row.t, row.m, row.budget};
        const auto result = selectForGuarantee(selection, target);
        ASSERT_TRUE(result) << result.error();
        SCOPED_TRACE(describe(row));
        expectSoundRepair(asked, *result);
        EXPECT_EQ(result->reached(), row.reachable);
        if (!row.reachable) {
            EXPECT_EQ(static_cast<std::int64_t>(result->added.size()), row.budget);
        }
    }
}

TEST(Repair, TheGaugeMovesWhileTheFirstColumnIsWorkedOutAndNeverGoesBack) {
    // Each of the thousands of holes the first column of "3 se 6" on 18 numbers closes moves
    // the gains of thousands of columns: that is where the time goes, so the gauge moves there.
    RandomGenerator random(2020);
    RepairRequest request;
    request.marked = randomMarked(random, 18);
    request.budget = 1000;
    std::vector<double> before, all;
    ASSERT_TRUE(repairGuarantee(request, nullptr, [&](const RepairResult& sofar) {
        all.push_back(sofar.done);
        if (sofar.added.empty())
            before.push_back(sofar.done);
    }));
    EXPECT_FALSE(before.empty());
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
    EXPECT_LE(all.back(), 1.0);
}

TEST(Repair, AStopDuringTheSearchReturnsItsBestCoveringSoFar) {
    RandomGenerator random(1804);
    RepairRequest request;
    request.marked = randomMarked(random, 18);
    request.t = request.m = 4;
    request.budget = 1000;
    request.searchWork = defaultSearchWork;
    RunControl control;
    std::atomic<bool> searching{false};
    Expected<RepairResult> result = RepairResult{};
    std::thread worker([&] {
        result = repairGuarantee(request, &control, [&](const RepairResult& sofar) {
            if (sofar.done > 0.41)
                searching = true;
        });
    });
    while (!searching)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    control.cancel();
    worker.join();
    ASSERT_TRUE(result) << result.error();
    EXPECT_FALSE(result->stopped);
    EXPECT_TRUE(result->searchStopped);
    EXPECT_TRUE(result->reached());
    expectSoundRepair(request, *result);
}

TEST(Repair, RefusesWhatItCannotDo) {
    RepairRequest request;
    request.marked = {1, 2, 3, 4, 5, 6, 7, 8};
    request.budget = 10;
    request.t = 4;
    request.m = 3;
    EXPECT_EQ(repairGuarantee(request).error(), guaranteeChoiceMessage);
    request.t = 3;
    request.fixed = {9};
    EXPECT_EQ(repairGuarantee(request).error(), allRejectedMessage);
    request.fixed.clear();
    request.budget = 0;
    EXPECT_EQ(repairGuarantee(request).error(), repairBudgetMessage);
    request.budget = 10;
    request.marked.resize(60);
    std::iota(request.marked.begin(), request.marked.end(), 1);
    EXPECT_EQ(repairGuarantee(request).error(), repairTooLargeMessage);

    request.marked.resize(8);
    request.fixed = {1, 2, 3, 4};
    EXPECT_EQ(repairGuarantee(request).error(), fixedAboveDrawnMessage);

    EXPECT_FALSE(repairBudget("abc"));
    EXPECT_FALSE(repairBudget("1000001"));
    EXPECT_EQ(*repairBudget(" 25 "), 25);
    const std::vector<int> marked{3, 7, 12, 40, 41, 42, 43, 44, 90};
    EXPECT_EQ(*repairFixedNumbers("12, 7 ,12", marked), (std::vector<int>{7, 12}));
    EXPECT_TRUE(repairFixedNumbers(" ", marked)->empty());
    for (const char* bad : {"7;12", "7,x", "0", "3,7,12,40,41,42,43"})
        EXPECT_EQ(repairFixedNumbers(bad, marked).error(), repairFixedMessage) << bad;
    EXPECT_NE(repairFixedNumbers("7,8", marked).error().find(" 8 "), std::string::npos);
}

TEST(Backtest, AgreesWithThePlainLoopsWhateverTheThreads) {
    RandomGenerator random(515);
    const Archive archive = simulatedArchive(700, 3);
    for (int round = 0; round < 8; ++round) {
        const auto marked = randomMarked(random, 6 + random.next(30));
        auto finals = randomFinals(random, marked, 1 + random.next(200));
        // Columns that hit five or six of a draw, some with its jolly.
        const auto& draw = archive[static_cast<std::size_t>(random.next(700))];
        finals.push_back(draw.numbers);
        Column five = draw.numbers;
        five[0] = draw.jollyNumber;
        finals.push_back(five);
        const auto fast = backtest(finals, archive.records(), nullptr, {}, 1 + random.next(3));
        const auto plain = reference::backtest(finals, archive.records());
        ASSERT_EQ(fast.byBest, plain.byBest);
        ASSERT_EQ(fast.winners, plain.winners);
        ASSERT_EQ(fast.longestWithoutThree, plain.longestWithoutThree);
        ASSERT_EQ(fast.draws.size(), plain.draws.size());
        for (std::size_t i = 0; i < fast.draws.size(); ++i) {
            ASSERT_EQ(fast.draws[i].best, plain.draws[i].best);
            ASSERT_EQ(fast.draws[i].winners, plain.draws[i].winners);
        }
    }
}

TEST(Backtest, DateRangeAndPrizes) {
    const Archive archive = simulatedArchive(30, 1); // from Saturday 3 January 2009
    const auto all = drawsInRange(archive, "", " ");
    ASSERT_TRUE(all);
    EXPECT_EQ(all->size(), 30u);
    const auto part = drawsInRange(archive, "6/1/2009", "10/01/2009");
    ASSERT_TRUE(part);
    ASSERT_EQ(part->size(), 3u);
    EXPECT_EQ(part->front().date, "06/01/2009");
    EXPECT_EQ(part->back().date, "10/01/2009");
    EXPECT_EQ(drawsInRange(archive, "10/01/2009", "06/01/2009").error(), reversedRangeMessage);
    EXPECT_EQ(drawsInRange(archive, "01/01/2030", "").error(), noDrawsInRangeMessage);
    EXPECT_EQ(drawsInRange(archive, "", "31/02/2009").error(), invalidDateMessage("31/02/2009"));

    EXPECT_FALSE(PrizeTable::parse("1,2,3,4"));
    EXPECT_FALSE(PrizeTable::parse("1,2,3,4,-5"));
    EXPECT_FALSE(PrizeTable::parse("1,2,3,4,5,6"));
    const auto prizes = PrizeTable::parse("10, 20,30,40,50");
    ASSERT_TRUE(prizes);
    EXPECT_EQ(prizes->won({1, 1, 0, 0, 2}), 130.0L);

    quintor::testing::TempFolder folder;
    EXPECT_EQ(PrizeTable::load(folder.path()), PrizeTable::defaults());
    ASSERT_TRUE(prizes->save(folder.path()));
    EXPECT_EQ(PrizeTable::load(folder.path()), *prizes);
    std::ofstream(folder.path() / prizeFileName) << "rotto\n";
    EXPECT_EQ(PrizeTable::load(folder.path()), PrizeTable::defaults());

    // A FIFO in its place gives the defaults at once, never a wait for a writer.
    std::filesystem::remove(folder.path() / prizeFileName);
    const auto fifo = folder.path() / prizeFileName;
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto loading = std::async(std::launch::async, [&] { return PrizeTable::load(folder.path()); });
    const bool answered = loading.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    EXPECT_TRUE(answered) << "premi.cfg as a FIFO blocks the reader";
    if (!answered)
        ::close(::open(fifo.c_str(), O_WRONLY)); // a writer that lets the reader go
    EXPECT_EQ(loading.get(), PrizeTable::defaults());
}
