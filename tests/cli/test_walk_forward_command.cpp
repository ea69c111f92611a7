#include "core/archive.h"
#include "core/walk_forward.h"
#include "tests/cli/cli_support.h"
#include "tests/support/files.h"

#include <numeric>
#include <regex>

using namespace quintor;
using namespace quintor::testing;

namespace {

const std::vector<int> tenNumbers{3, 9, 14, 22, 31, 40, 48, 57, 66, 75};
const std::vector<Column> fourColumns{{3, 9, 14, 22, 31, 40},
                                      {9, 14, 22, 31, 40, 48},
                                      {14, 22, 31, 40, 48, 57},
                                      {3, 48, 57, 66, 75, 9}};

} // namespace

// One line a tested draw, oldest first, then the summary: the sums of the draw lines, the
// money, the verdict; the same seed gives the same output.
TEST(CliWalkForward, OneLineADrawThenTheSummary) {
    TempFolder folder;
    std::vector<int> thirty(30);
    std::iota(thirty.begin(), thirty.end(), 41);
    const auto system = writeSystem(folder.path() / "s.qtr", thirty, fourColumns);
    const Archive archive = simulatedArchive(minimumDraws + 6, 9);
    const auto data = writeArchive(folder.path(), archive);
    const std::vector<std::string> args{
        "walkforward", system, "--archive", data,
        "--draws",     "6",    "--random",  "40",
        "--seed",      "5",    "--count",   "200",
        "--precision", "26",   "--prizes",  "10,100,1000,10000,100000",
        "--price",     "1"};
    const auto run = runCli(args);
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 6u + 2u + 7u + 1u) << run.out;
    const std::regex drawLine(R"(\d\d/\d\d/\d{4}( \d+){6}( \d+\.\d{3}){5} \d+)");
    long long threes = 0, won = 0;
    for (std::size_t i = 0; i < 6; ++i) {
        const std::string& line = run.lines[i];
        EXPECT_TRUE(std::regex_match(line, drawLine)) << line;
        EXPECT_EQ(line.substr(0, 10), archive[archive.size() - 6 + i].date);
        std::istringstream fields(line.substr(11));
        std::array<long long, 6> values{};
        for (long long& v : values)
            fields >> v;
        threes += values[0];
        won += values[5];
        EXPECT_EQ(values[5], 10 * values[0] + 100 * values[1] + 1000 * values[2] +
                                 10000 * values[3] + 100000 * values[4])
            << line;
    }
    EXPECT_GT(threes, 0) << "the sums below check nothing";
    EXPECT_EQ(run.lines[6], "estrazioni: 6");
    EXPECT_EQ(run.lines[7], "sistemi casuali: 40, seme: 5");
    EXPECT_TRUE(run.lines[8].starts_with("3 punti: metodo " + std::to_string(threes) + ", caso "))
        << run.lines[8];
    EXPECT_TRUE(std::regex_match(
        run.lines[12],
        std::regex(R"(6 punti: metodo \d+, caso \d+\.\d\d ± \d+\.\d\d, p = [01]\.\d{4})")))
        << run.lines[12];
    EXPECT_EQ(run.lines[13], "spesa: 1.200 £ (metodo e ogni sistema casuale)");
    EXPECT_TRUE(run.lines[14].starts_with("vinto: metodo " + std::to_string(won) + " £, caso "))
        << run.lines[14];
    EXPECT_TRUE(run.lines[15].starts_with("Il metodo ")) << run.lines[15];
    EXPECT_EQ(runCli(args).out, run.out);
}

TEST(CliWalkForward, RefusesWhatCannotMakeARun) {
    TempFolder folder;
    const auto system = writeSystem(folder.path() / "s.qtr", tenNumbers, fourColumns);
    const auto empty = writeSystem(folder.path() / "e.qtr", tenNumbers, {});
    const auto data = writeArchive(folder.path(), simulatedArchive(minimumDraws + 3, 9));
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message; // empty: only the status is checked
    };
    const std::vector<Case> cases{
        {{system, "--archive", data, "--draws", "4"},
         2,
         walkForwardArchiveMessage(minimumDraws + 3, 4)},
        {{empty, "--archive", data, "--draws", "3"},
         2,
         "Il sistema non contiene colonne finali: indicare quante colonne scegliere con --count."},
        {{system, "--archive", data, "--random", "0"}, 64, ""},
        {{system, "--archive", data, "--draws", "2.5"}, 64, ""},
        {{system, "--draws", "3"}, 64, ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"walkforward"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto run = runCli(args);
        EXPECT_EQ(run.status, c.status) << run.errors;
        EXPECT_TRUE(run.out.empty()) << run.out;
        if (!c.message.empty()) {
            EXPECT_EQ(run.errors, printed(c.message));
        }
    }
}
