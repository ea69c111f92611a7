#include "core/system_file.h"
#include "tests/support/cli_runner.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace quintor;
using quintor::testing::CliResult;
using quintor::testing::runCliCommand;
using quintor::testing::TempFolder;

namespace {

const std::string defaultVerticalLine =
    "verticale: 0.03200000 0.08820000 0.02460000 0.01065000 0.00370000 0.01600000";
const std::string defaultHorizontalLine =
    "orizzontale: 0.12800000 0.01639000 0.01462500 0.01790000 0.00370000";

} // namespace

TEST(CliShow, PrintsEverySectionOfASystem) {
    TempFolder folder;
    SystemState state;
    for (int n : {90, 3, 14, 25, 36, 47, 58})
        state.marked[static_cast<std::size_t>(n)] = 1;
    state.probabilities[14] = Real48::fromValue(80.0L);
    state.probabilities[90] = Real48::fromValue(12.5L);
    state.probabilities[1] = Real48::fromValue(99.0L); // not marked: not listed
    state.layout.vertical[3] = Real48::fromValue(0.5L);
    state.layout.horizontal[2] = Real48::fromValue(0.25L);
    state.fixedCount = 2;
    state.fixedNumbers[0] = 58;
    state.fixedNumbers[1] = 3;
    state.finalColumns = {{3, 14, 25, 36, 47, 58}, {90, 58, 47, 36, 25, 14}};
    const fs::path file = folder / "Sistema di prova è.qtr";
    ASSERT_TRUE(writeSystemFile(file, state));

    const CliResult run = runCliCommand("show", {file.string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.lines,
              (std::vector<std::string>{
                  "segni: 3 14 25 36 47 58 90", "fisse: 58 3",
                  // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one line, split for width
                  "probabilita: 3=50.00000 14=80.00000 25=50.00000 36=50.00000 47=50.00000 "
                  "58=50.00000 90=12.50000",
                  "verticale: 0.03200000 0.08820000 0.02460000 0.50000000 0.00370000 0.01600000",
                  "orizzontale: 0.12800000 0.01639000 0.25000000 0.01790000 0.00370000",
                  "colonne: 2", " 3 14 25 36 47 58", "90 58 47 36 25 14"}));
    EXPECT_TRUE(run.errors.empty());
}

TEST(CliShow, AnEmptySystemLeavesNothingAfterTheColons) {
    TempFolder folder;
    ASSERT_TRUE(writeSystemFile(folder / "empty.qtr", SystemState{}));
    const CliResult run = runCliCommand("show", {(folder / "empty.qtr").string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.out, "segni:\nfisse:\nprobabilita:\n" + defaultVerticalLine + "\n" +
                           defaultHorizontalLine + "\ncolonne: 0\n");
}

TEST(CliShow, ShowsOddBytesAsTheyAre) {
    TempFolder folder;
    SystemState state;
    state.marked[5] = 2; // not a mark
    state.fixedCount = 40;
    state.fixedNumbers.fill(7);
    state.finalColumns = {{0, 200, 255, 7, 7, 99}};
    ASSERT_TRUE(writeSystemFile(folder / "odd.qtr", state));
    const CliResult run = runCliCommand("show", {(folder / "odd.qtr").string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 7u);
    EXPECT_EQ(run.lines[0], "segni:");
    EXPECT_EQ(run.lines[1], "fisse: 7 7 7 7 7 7");
    EXPECT_EQ(run.lines[6], " 0 200 255  7  7 99");
}

TEST(CliShow, RefusesFilesItCannotRead) {
    TempFolder folder;
    ASSERT_TRUE(writeSystemFile(folder / "good.qtr", SystemState{}));
    auto bytes = quintor::testing::readBytes(folder / "good.qtr");
    bytes.resize(794, 1);
    quintor::testing::writeBytes(folder / "partial.qtr", bytes);
    bytes.resize(100);
    quintor::testing::writeBytes(folder / "short.qtr", bytes);

    for (const char* name : {"partial.qtr", "short.qtr", "missing.qtr"}) {
        const CliResult run = runCliCommand("show", {(folder / name).string()});
        EXPECT_EQ(run.status, 2) << name;
        EXPECT_EQ(run.errors,
                  "Impossibile leggere dal file specificato!\nCorreggere e riprovare.\n")
            << name;
        EXPECT_TRUE(run.out.empty()) << name;
    }
    EXPECT_EQ(runCliCommand("show", {folder.path().string()}).status, 2);
    EXPECT_EQ(runCliCommand("show", {}).status, 64);
    EXPECT_EQ(runCliCommand("show", {(folder / "good.qtr").string(), "extra"}).status, 64);
}
