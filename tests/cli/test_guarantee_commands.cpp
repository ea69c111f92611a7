#include "cli/statistics_commands.h"
#include "core/archive.h"
#include "core/backtest.h"
#include "core/column_price.h"
#include "core/combinatorics.h"
#include "core/guarantee.h"
#include "core/money.h"
#include "core/repair.h"
#include "core/scoring.h"
#include "core/selection_guarantee.h"
#include "core/system_file.h"
#include "tests/cli/cli_support.h"
#include "tests/reference/guarantee_reference.h"
#include "tests/support/files.h"

#include <cstdio>
#include <numeric>
#include <optional>

using namespace quintor;
using namespace quintor::testing;

namespace {

const std::vector<int> tenNumbers{3, 9, 14, 22, 31, 40, 48, 57, 66, 75};
const std::vector<Column> twoColumns{{3, 9, 14, 22, 31, 40}, {40, 48, 57, 66, 75, 3}};

} // namespace

TEST(CliGuarantee, TableAndHolesAsTheReferenceCountsThem) {
    TempFolder folder;
    const auto system = writeSystem(folder.path() / "s.qtr", tenNumbers, twoColumns);
    const auto table = runCli({"guarantee", system});
    ASSERT_EQ(table.status, 0) << table.errors;
    std::vector<std::string> expected;
    for (int m = 3; m <= 6; ++m) {
        const auto best = reference::bestMatchesOfSize(tenNumbers, twoColumns, m);
        const std::uint64_t total = binomial(10, m);
        for (int t = 2; t <= m; ++t) {
            std::uint64_t covered = 0;
            for (int b = t; b <= m; ++b)
                covered += best[static_cast<std::size_t>(b)];
            char line[96];
            std::snprintf(line, sizeof line, "%d %d %llu %llu %.2f", m, t,
                          static_cast<unsigned long long>(covered),
                          static_cast<unsigned long long>(total), 100.0 * covered / total);
            expected.push_back(line);
        }
    }
    EXPECT_EQ(table.lines, expected);

    const auto holes = runCli({"guarantee", system, "--holes", "4", "5", "--limit", "4"});
    ASSERT_EQ(holes.status, 0) << holes.errors;
    const auto all = reference::holes(tenNumbers, twoColumns, 4, 5);
    ASSERT_EQ(holes.lines.size(), 5u);
    EXPECT_EQ(holes.lines[0], "buchi: " + std::to_string(all.size()));
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(holes.lines[i + 1], holeText(all[i], 5));
}

TEST(CliGuarantee, Refusals) {
    TempFolder folder;
    const auto empty = writeSystem(folder.path() / "e.qtr", tenNumbers, {});
    const auto system = writeSystem(folder.path() / "s.qtr", tenNumbers, twoColumns);
    auto run = runCli({"guarantee", empty});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, printed(cli::noFinalColumnsMessage));
    run = runCli({"guarantee", system, "--holes", "4", "3"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, printed(guaranteeChoiceMessage));
    EXPECT_EQ(runCli({"guarantee", system, "--holes", "3"}).status, 64);
    run = runCli({"repair", system, "--guarantee", "3", "6", "--budget", "0"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, printed(repairBudgetMessage));
}

TEST(CliRepair, AddsTheColumnsTheEngineFindsAndPrintsTheSharesThePlainLoopsCount) {
    TempFolder folder;
    const auto system = writeSystem(folder.path() / "s.qtr", tenNumbers, twoColumns);
    const auto archive = writeArchive(folder.path(), simulatedArchive(300, 4));
    SystemState state;
    ASSERT_TRUE(readSystemFile(system, state));
    const auto draws = Archive::load(archive).newestFirst(snapshotLimit);
    struct Row {
        std::vector<std::string> fixedOption;
        std::optional<std::vector<int>> fixed;
    };
    for (const Row& row : {Row{{}, std::nullopt}, Row{{"--fixed", "40,9"}, std::vector{9, 40}}}) {
        const auto out = (folder.path() / "out.qtr").string();
        std::vector<std::string> args{"repair",   system, "--guarantee", "4",     "5",
                                      "--budget", "5",    "--archive",   archive, "--out",
                                      out};
        args.insert(args.end(), row.fixedOption.begin(), row.fixedOption.end());
        const auto run = runCli(args);
        ASSERT_EQ(run.status, 0) << run.errors;

        const auto request = repairRequest(state, draws, 4, 5, 5, row.fixed);
        const auto engine = repairGuarantee(request);
        ASSERT_TRUE(engine);
        const std::size_t extra = row.fixed ? 1 : 0;
        ASSERT_EQ(run.lines.size(), engine->added.size() + 1 + extra);
        SystemState written;
        ASSERT_TRUE(readSystemFile(out, written));
        ASSERT_EQ(written.finalColumns.size(), twoColumns.size() + engine->added.size());
        for (std::size_t i = 0; i < engine->added.size(); ++i) {
            EXPECT_EQ(run.lines[i], formatColumn(engine->added[i]));
            EXPECT_EQ(written.finalColumns[twoColumns.size() + i], engine->added[i]);
        }
        auto count = [](const std::array<std::uint64_t, 7>& best) {
            return std::to_string(best[4] + best[5] + best[6]) + "/" +
                   std::to_string(std::accumulate(best.begin(), best.end(), std::uint64_t{0}));
        };
        EXPECT_EQ(run.lines[engine->added.size()],
                  "aggiunte: " + std::to_string(engine->added.size()) + ", coperte: " +
                      count(reference::bestMatchesOfSize(tenNumbers, written.finalColumns, 5)));
        if (row.fixed) {
            EXPECT_EQ(run.lines.back(),
                      "con le fisse: " + count(reference::bestMatchesHolding(
                                             tenNumbers, written.finalColumns, 5, *row.fixed)));
        }
    }
    auto refused =
        runCli({"repair", system, "--guarantee", "4", "5", "--budget", "5", "--fixed", "9,41"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.errors.find("41"), std::string::npos);
}

TEST(CliSelect, ByGuaranteeWritesTheColumnsWithTheFixedNumbersAndTheSharesThePlainLoopsCount) {
    TempFolder folder;
    const auto archive = writeArchive(folder.path(), simulatedArchive(300, 4));
    SystemState state;
    for (int n : tenNumbers)
        state.marked[static_cast<std::size_t>(n)] = 1;
    state.finalColumns = twoColumns;
    state.fixedCount = 1;
    state.fixedNumbers[0] = 22;
    const auto system = (folder.path() / "s.qtr").string();
    ASSERT_TRUE(writeSystemFile(system, state));
    const auto run =
        runCli({"select", system, "--archive", archive, "--guarantee", "3", "6", "--budget", "4"});
    ASSERT_EQ(run.status, 0) << run.errors;
    SystemState written;
    ASSERT_TRUE(readSystemFile(system, written));
    ASSERT_FALSE(written.finalColumns.empty());
    ASSERT_LE(written.finalColumns.size(), 4u);
    ASSERT_EQ(run.lines.size(), written.finalColumns.size() + 2);
    for (std::size_t i = 0; i < written.finalColumns.size(); ++i) {
        EXPECT_EQ(run.lines[i], formatColumn(written.finalColumns[i]));
        const Column& column = written.finalColumns[i];
        EXPECT_NE(std::find(column.begin(), column.end(), 22), column.end());
    }
    auto count = [](const std::array<std::uint64_t, 7>& best) {
        return std::to_string(best[3] + best[4] + best[5] + best[6]) + "/" +
               std::to_string(std::accumulate(best.begin(), best.end(), std::uint64_t{0}));
    };
    const auto& columns = written.finalColumns;
    EXPECT_EQ(run.lines[columns.size()],
              "colonne: " + std::to_string(columns.size()) +
                  ", coperte: " + count(reference::bestMatchesOfSize(tenNumbers, columns, 6)));
    EXPECT_EQ(run.lines.back(), "con le fisse: " + count(reference::bestMatchesHolding(
                                                       tenNumbers, columns, 6, std::vector{22})));

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--guarantee", "3", "6", "--budget", "4", "--count", "5"},
          {"--guarantee", "3", "6"},
          {"--count", "5", "--budget", "4"}}) {
        std::vector<std::string> args{"select", system, "--archive", archive};
        args.insert(args.end(), wrong.begin(), wrong.end());
        EXPECT_EQ(runCli(args).status, 64);
    }
    const auto filtered = runCli({"select", system, "--archive", archive, "--guarantee", "3", "6",
                                  "--budget", "4", "--filter", "somma=10..400"});
    EXPECT_EQ(filtered.status, 2);
    EXPECT_EQ(filtered.errors, printed(guaranteeFiltersMessage));
}

TEST(CliBacktest, SummaryDrawListAndMoney) {
    TempFolder folder;
    const Archive archive = simulatedArchive(400, 4);
    const auto file = writeArchive(folder.path(), simulatedArchive(400, 4));
    // Columns that make 6, 5 + jolly and 3 on chosen draws of the range.
    const auto& a = archive[100];
    const auto& b = archive[150];
    Column fivePlus = b.numbers;
    fivePlus[5] = b.jollyNumber;
    const std::vector<Column> finals{a.numbers, fivePlus, {1, 2, 3, 4, 5, 6}};
    const auto system = writeSystem(folder.path() / "s.qtr", tenNumbers, finals);

    const auto run =
        runCli({"backtest", system, "--archive", file, "--from", archive[90].date, "--to",
                archive[199].date, "--prizes", "10,100,1000,10000,100000", "--price", "500"});
    ASSERT_EQ(run.status, 0) << run.errors;
    const auto draws = drawsInRange(archive, archive[90].date, archive[199].date);
    ASSERT_TRUE(draws);
    const auto plain = reference::backtest(finals, *draws);
    std::vector<std::string> expected{"estrazioni: 110"};
    std::string line = "migliore:";
    for (auto c : plain.byBest)
        line += " " + std::to_string(c);
    expected.push_back(line);
    line = "vincenti:";
    for (auto c : plain.winners)
        line += " " + std::to_string(c);
    expected.push_back(line);
    expected.push_back("senza 3: " + std::to_string(plain.longestWithoutThree));
    for (const auto& draw : plain.draws)
        if (draw.best >= 4) {
            line = (*draws)[draw.record].date + " " + drawLevelText(draw.best);
            for (auto c : draw.winners)
                line += " " + std::to_string(c);
            expected.push_back(line);
        }
    const auto prizes = PrizeTable::parse("10,100,1000,10000,100000");
    expected.push_back("costo: " + moneyText(3 * 500 * 110) + " £");
    expected.push_back("vinto: " + moneyText(prizes->won(plain.winners)) + " £");
    EXPECT_EQ(run.lines, expected);
    EXPECT_GE(plain.byBest[sixPoints], 1u);
    EXPECT_GE(plain.byBest[fivePlusJolly], 1u);

    // A price the window's field would refuse is refused here too.
    for (const char* price : {"1e99", "-1", "otto"}) {
        const auto run = runCli({"backtest", system, "--archive", file, "--prizes",
                                 "10,100,1000,10000,100000", "--price", price});
        EXPECT_EQ(run.status, 2) << price;
        EXPECT_EQ(run.errors, printed(invalidPriceMessage)) << price;
    }

    auto refused = runCli({"backtest", system, "--archive", file, "--from", "01/01/2040"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.errors, printed(noDrawsInRangeMessage));
}
