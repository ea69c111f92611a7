#include "core/system_file.h"
#include "tests/core/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;
using namespace quintor;
using quintor::testing::TempFolder;

namespace {

struct ShowRun {
    int status = -1;
    std::string out;
    std::string errors;
    std::vector<std::string> lines;
};

std::string quoted(const std::string& word) {
    std::string text = "'";
    for (char c : word)
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

ShowRun runShow(const TempFolder& folder, const std::vector<std::string>& args) {
    std::string command = quoted(QUINTOR_CLI) + " show";
    for (const auto& arg : args)
        command += " " + quoted(arg);
    command += " >" + quoted((folder / "out.txt").string()) + " 2>" +
               quoted((folder / "err.txt").string());
    ShowRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const auto out = quintor::testing::readBytes(folder / "out.txt");
    const auto err = quintor::testing::readBytes(folder / "err.txt");
    run.out.assign(out.begin(), out.end());
    run.errors.assign(err.begin(), err.end());
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);)
        run.lines.push_back(line);
    return run;
}

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
    ASSERT_TRUE(SALVA_SISTEMA(file, state));

    const ShowRun run = runShow(folder, {file.string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.lines,
              (std::vector<std::string>{
                  "segni: 3 14 25 36 47 58 90", "fisse: 58 3",
                  "probabilita: 3=50.00000 14=80.00000 25=50.00000 36=50.00000 47=50.00000 "
                  "58=50.00000 90=12.50000",
                  "verticale: 0.03200000 0.08820000 0.02460000 0.50000000 0.00370000 0.01600000",
                  "orizzontale: 0.12800000 0.01639000 0.25000000 0.01790000 0.00370000",
                  "colonne: 2", " 3 14 25 36 47 58", "90 58 47 36 25 14"}));
    EXPECT_TRUE(run.errors.empty());
}

TEST(CliShow, AnEmptySystemLeavesNothingAfterTheColons) {
    TempFolder folder;
    ASSERT_TRUE(SALVA_SISTEMA(folder / "empty.qtr", SystemState{}));
    const ShowRun run = runShow(folder, {(folder / "empty.qtr").string()});
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
    ASSERT_TRUE(SALVA_SISTEMA(folder / "odd.qtr", state));
    const ShowRun run = runShow(folder, {(folder / "odd.qtr").string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 7u);
    EXPECT_EQ(run.lines[0], "segni:");
    EXPECT_EQ(run.lines[1], "fisse: 7 7 7 7 7 7");
    EXPECT_EQ(run.lines[6], " 0 200 255  7  7 99");
}

TEST(CliShow, RefusesFilesItCannotRead) {
    TempFolder folder;
    ASSERT_TRUE(SALVA_SISTEMA(folder / "good.qtr", SystemState{}));
    auto bytes = quintor::testing::readBytes(folder / "good.qtr");
    bytes.resize(794, 1);
    quintor::testing::writeBytes(folder / "partial.qtr", bytes);
    bytes.resize(100);
    quintor::testing::writeBytes(folder / "short.qtr", bytes);

    for (const char* name : {"partial.qtr", "short.qtr", "missing.qtr"}) {
        const ShowRun run = runShow(folder, {(folder / name).string()});
        EXPECT_EQ(run.status, 2) << name;
        EXPECT_EQ(run.errors,
                  "Impossibile leggere dal file specificato!\nCorreggere e riprovare.\n")
            << name;
        EXPECT_TRUE(run.out.empty()) << name;
    }
    EXPECT_EQ(runShow(folder, {folder.path().string()}).status, 2);
    EXPECT_EQ(runShow(folder, {}).status, 64);
    EXPECT_EQ(runShow(folder, {(folder / "good.qtr").string(), "extra"}).status, 64);
}
