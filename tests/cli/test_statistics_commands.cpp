#include "core/column.h"
#include "core/system_file.h"
#include "tests/cli/cli_support.h"
#include "tests/support/cli_runner.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace quintor;
using quintor::testing::CliResult;
using quintor::testing::runCli;
using quintor::testing::TempFolder;
using quintor::testing::writeSystem;

namespace {

// count draws, newest last, each draw holding the group i mod 15 of six numbers: every number
// then comes out every 15 draws and all numbers score alike.
std::string cyclicArchive(const TempFolder& folder, int count) {
    std::string bytes;
    std::chrono::sys_days day = std::chrono::sys_days{std::chrono::year{2001} / 1 / 3};
    for (int i = 0; i < count; ++i, day += std::chrono::days{2}) {
        const std::chrono::year_month_day date{day};
        char text[32];
        std::snprintf(text, sizeof text, "%02u/%02u/%04d", static_cast<unsigned>(date.day()),
                      static_cast<unsigned>(date.month()), static_cast<int>(date.year()));
        const int base = 1 + 6 * (i % 15);
        Column column;
        for (std::size_t k = 0; k < 6; ++k)
            column[k] = static_cast<std::uint8_t>(base + static_cast<int>(k));
        bytes += text + formatColumn(column) + " 7";
    }
    const fs::path file = folder / "vincenti.dat";
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
}

const std::string level6 = "Probabilità di realizzare 6 punti: ";
const std::string total = "Probabilità totale di vincita: ";

} // namespace

TEST(CliProbability, OneColumnOfSixAndEveryInitialColumn) {
    TempFolder folder;
    auto file =
        writeSystem(folder / "sistema.qtr", {4, 8, 15, 16, 23, 42}, {{4, 8, 15, 16, 23, 42}});
    CliResult run = runCli({"probability", file});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.lines, (std::vector<std::string>{"Probabilità di realizzare 3 punti: 0.00 %",
                                                   "Probabilità di realizzare 4 punti: 0.00 %",
                                                   "Probabilità di realizzare 5 punti: 0.00 %",
                                                   level6 + "100.00 %", total + "100.00 %"}));

    // seven numbers, two final columns: of the 7 initial columns, the two themselves hit 6
    // and the other five share 5 numbers with one of them
    file = writeSystem(folder / "sistema.qtr", {1, 2, 3, 4, 5, 6, 7},
                       {{1, 2, 3, 4, 5, 6}, {2, 3, 4, 5, 6, 7}});
    run = runCli({"probability", file});
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 5u);
    EXPECT_EQ(run.lines[2], "Probabilità di realizzare 5 punti: 71.43 %");
    EXPECT_EQ(run.lines[3], level6 + "28.57 %");
    EXPECT_EQ(run.lines[4], total + "100.00 %");
}

TEST(CliProbability, RefusalsAndTooFewNumbers) {
    TempFolder folder;
    auto file = writeSystem(folder / "sistema.qtr", {1, 2, 3}, {{1, 2, 3, 4, 5, 6}});
    CliResult run = runCli({"probability", file});
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 5u);
    for (const auto& line : run.lines)
        EXPECT_TRUE(line.ends_with(": 0.00 %")) << line;

    file = writeSystem(folder / "sistema.qtr", {1, 2, 3, 4, 5, 6}, {});
    for (const char* command : {"probability", "distribution"}) {
        run = runCli({command, file});
        EXPECT_EQ(run.status, 2) << command;
        EXPECT_EQ(run.errors, "Il sistema non contiene colonne finali.\n");
    }
    run = runCli({"compare", file, "--winning", "1 2 3"});
    EXPECT_EQ(run.status, 2);

    run = runCli({"probability", (folder / "manca.qtr").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, "Impossibile leggere dal file specificato!\nCorreggere e riprovare.\n");
    EXPECT_EQ(runCli({"probability"}).status, 64);
}

TEST(CliCompare, CountsListsAndWarns) {
    TempFolder folder;
    const auto file =
        writeSystem(folder / "sistema.qtr", {},
                    {{5, 12, 33, 45, 67, 89}, {1, 2, 3, 4, 6, 7}, {5, 12, 33, 1, 2, 3}});
    CliResult run = runCli({"compare", file, "--winning", "5 12 33 45 67 89"});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.lines,
              (std::vector<std::string>{
                  "Punti: 0 1 2 3 4 5 6", "Nº colonne: 1 0 0 1 0 0 1", "6)  5 12 33 45 67 89",
                  "3)  5 12 33  1  2  3",
                  "Alcune colonne realizzano 5 punti. Controllare il NUMERO JOLLY !!!!"}));

    // a rejected piece ends the reading; what came before still counts
    run = runCli({"compare", file, "--winning", "5 12 91 33"});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.lines,
              (std::vector<std::string>{"Punti: 0 1 2 3 4 5 6", "Nº colonne: 1 0 2 0 0 0 0"}));

    // "123" is 12 and 3
    run = runCli({"compare", file, "--winning", "123 5"});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.lines,
              (std::vector<std::string>{"Punti: 0 1 2 3 4 5 6", "Nº colonne: 0 1 1 1 0 0 0",
                                        "3)  5 12 33  1  2  3"}));
}

TEST(CliDistribution, NinetyLinesOfCounts) {
    TempFolder folder;
    std::vector<Column> finals;
    for (int c = 0; c < 10; ++c)
        finals.push_back({7, static_cast<std::uint8_t>(10 + c), static_cast<std::uint8_t>(20 + c),
                          static_cast<std::uint8_t>(30 + c), static_cast<std::uint8_t>(40 + c),
                          static_cast<std::uint8_t>(50 + c)});
    CliResult run = runCli({"distribution", writeSystem(folder / "sistema.qtr", {}, finals)});
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 90u);
    EXPECT_EQ(run.lines[0], "1 0");
    EXPECT_EQ(run.lines[6], "7 10");
    EXPECT_EQ(run.lines[9], "10 1");
    EXPECT_EQ(run.lines[89], "90 0");
}

TEST(CliRank, NeedsThreeHundredAndOneDraws) {
    TempFolder folder;
    CliResult run = runCli({"rank", "--archive", cyclicArchive(folder, 300), "--add"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors,
              "Per questa funzione è neccessario un archivio con\nalmeno 301 colonne vincenti.\n");

    // every number comes out every 15 draws: all scores alike, the ranking is 1..90
    const auto archive = cyclicArchive(folder, 301);
    for (const char* direction : {"--add", "--remove"}) {
        run = runCli({"rank", "--archive", archive, direction});
        ASSERT_EQ(run.status, 0) << run.errors;
        ASSERT_EQ(run.lines.size(), 90u);
        EXPECT_EQ(run.lines[0], "1 50.000000");
        EXPECT_EQ(run.lines[89], "90 50.000000");
    }
    run = runCli({"rank", "--archive", archive, "--add", "--ritardi", "--frequenze"});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.lines[0], "1 100.000000");
    EXPECT_EQ(runCli({"rank", "--archive", archive}).status, 64);
    EXPECT_EQ(runCli({"rank", "--archive", archive, "--add", "--remove"}).status, 64);
}

TEST(CliRank, RealDrawsRankEveryNumberOnceInScoreOrder) {
    const fs::path data = QUINTOR_SHARED_DATA;
    if (!fs::exists(data / "vincenti.dat"))
        GTEST_SKIP() << "real draws not found in " << data;
    TempFolder folder;
    for (const char* direction : {"--add", "--remove"}) {
        CliResult run = runCli({"rank", "--archive", (data / "vincenti.dat").string(), direction,
                                "--frequenze", "--ritardi"});
        ASSERT_EQ(run.status, 0) << run.errors;
        ASSERT_EQ(run.lines.size(), 90u);
        std::vector<bool> seen(91, false);
        double previous = direction[2] == 'a' ? 1e9 : -1e9;
        for (const auto& line : run.lines) {
            int number = 0;
            double score = 0;
            ASSERT_EQ(std::sscanf(line.c_str(), "%d %lf", &number, &score), 2) << line;
            ASSERT_TRUE(number >= 1 && number <= 90);
            EXPECT_FALSE(seen[static_cast<std::size_t>(number)]);
            seen[static_cast<std::size_t>(number)] = true;
            EXPECT_TRUE(direction[2] == 'a' ? score <= previous : score >= previous) << line;
            EXPECT_TRUE(score >= 0 && score <= 100);
            previous = score;
        }
    }
}
