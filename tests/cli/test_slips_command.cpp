#include "core/slip_layout.h"
#include "core/system_file.h"
#include "tests/support/cli_runner.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace quintor;
using quintor::testing::CliResult;
using quintor::testing::runCliCommand;
using quintor::testing::TempFolder;

namespace {

// Eleven columns: the first holds 1 and 7, the fifth 90; one column per later slip is odd.
// The seventh starts with 8, since 7 is already its second number.
std::string elevenColumnSystem(const TempFolder& folder) {
    SystemState state;
    for (int k = 0; k < 11; ++k)
        state.finalColumns.push_back(
            Column{static_cast<std::uint8_t>(k == 6 ? 8 : k + 1), 7, 20, 34, 62, 76});
    state.finalColumns[4] = {90, 77, 6, 21, 49, 63};
    const auto file = (folder / "sistema.qtr").string();
    EXPECT_TRUE(writeSystemFile(file, state));
    return file;
}

} // namespace

TEST(CliSlips, EveryNumberOfEverySlipWithItsRectangle) {
    TempFolder folder;
    const std::string file = elevenColumnSystem(folder);
    const CliResult upright =
        runCliCommand("slips", {file, "--layout", "verticale", "--page", "4800x6600"});
    ASSERT_EQ(upright.status, 0) << upright.errors;
    ASSERT_EQ(upright.lines.size(), 66u);
    EXPECT_EQ(upright.lines[0], "1 1 1 1080 564 1116 600");
    EXPECT_EQ(upright.lines[1], "1 1 7 136 634 172 670");
    EXPECT_EQ(upright.lines[24], "1 5 90 1671 2954 1707 2990");
    // Slips of 5, 4 and 2 columns; the numbers of each column in its order.
    std::vector<std::string> slipAndColumn;
    for (std::size_t i = 0; i < upright.lines.size(); i += 6)
        slipAndColumn.push_back(upright.lines[i].substr(0, 3));
    EXPECT_EQ(slipAndColumn, (std::vector<std::string>{"1 1", "1 2", "1 3", "1 4", "1 5", "2 1",
                                                       "2 2", "2 3", "2 4", "3 1", "3 2"}));
    EXPECT_TRUE(upright.lines[65].starts_with("3 2 76 "));

    const CliResult sideways =
        runCliCommand("slips", {file, "--page", "4800x6600", "--layout", "orizzontale"});
    ASSERT_EQ(sideways.status, 0);
    ASSERT_EQ(sideways.lines.size(), 66u);
    EXPECT_EQ(sideways.lines[0], "1 1 1 596 681 632 717");
    EXPECT_EQ(sideways.lines[1], "1 1 7 667 1626 703 1662");
    EXPECT_EQ(sideways.lines[24], "1 5 90 2983 90 3019 126");
    EXPECT_TRUE(sideways.errors.empty());
}

TEST(CliSlips, SkipsNumbersOffTheBoardAndSaysWhichColumn) {
    TempFolder folder;
    SystemState state;
    state.finalColumns = {{1, 2, 3, 4, 5, 6}, {0, 2, 3, 4, 95, 6}};
    ASSERT_TRUE(writeSystemFile(folder / "odd.qtr", state));
    const CliResult run = runCliCommand(
        "slips", {(folder / "odd.qtr").string(), "--layout", "verticale", "--page", "4800x6600"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.lines.size(), 10u);
    EXPECT_EQ(run.errors, "La colonna nº 2 non contiene sei numeri da 1 a 90.\nSono stati stampati "
                          "solo i numeri validi.\n");
}

TEST(CliSlips, RefusesBadArguments) {
    TempFolder folder;
    const std::string file = elevenColumnSystem(folder);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {file, "--layout", "carta", "--page", "4800x6600"},
             {file, "--layout", "verticale", "--page", "4800"},
             {file, "--layout", "verticale", "--page", "0x6600"},
             {file, "--layout", "verticale", "--page", "4800x66a"},
             {file, "--layout", "verticale"}}) {
        EXPECT_EQ(runCliCommand("slips", args).status, 64) << args[2] << ' ' << args.back();
    }
    const CliResult missing = runCliCommand("slips", {(folder / "nessuno.qtr").string(), "--layout",
                                                      "verticale", "--page", "4800x6600"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.lines.empty());
}
