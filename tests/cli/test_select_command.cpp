#include "core/archive.h"
#include "core/system_file.h"
#include "tests/reference/selection_reference.h"
#include "tests/support/cli_runner.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace quintor;
using quintor::testing::CliResult;
using quintor::testing::fileText;
using quintor::testing::runCli;
using quintor::testing::TempFolder;

namespace {

SystemState systemWith(const std::vector<int>& marks) {
    SystemState system;
    for (int x : marks)
        system.marked[static_cast<std::size_t>(x)] = 1;
    system.finalColumns = {Column{1, 2, 3, 4, 5, 6}};
    return system;
}

} // namespace

TEST(CliSelect, KeepsWhatThePlainRunKeepsAndWritesTheSystem) {
    TempFolder folder;
    const fs::path archiveFile = folder / "vincenti.dat";
    ASSERT_TRUE(simulatedArchive(700, 42).save(archiveFile));
    SystemState system = systemWith({4, 9, 17, 23, 31, 38, 46, 57, 68, 79});
    system.probabilities[17] = Real48::fromValue(93.25L);
    system.probabilities[46] = Real48::fromValue(7.5L);
    system.fixedCount = 1;
    system.fixedNumbers[0] = 31;
    const fs::path file = folder / "sistema.qtr";
    ASSERT_TRUE(writeSystemFile(file, system));
    const std::string before = fileText(file);

    const fs::path out = folder / "scelte.qtr";
    const CliResult run = runCli({"select", file.string(), "--archive", archiveFile.string(),
                                  "--count", "6", "--precision", "13", "--out", out.string()});
    ASSERT_EQ(run.status, 0) << run.errors;

    std::array<double, 91> weights{};
    for (int n = 1; n <= 90; ++n)
        weights[static_cast<std::size_t>(n)] =
            system.probabilities[static_cast<std::size_t>(n)].toDouble();
    const auto draws = Archive::load(archiveFile).newestFirst(10000);
    reference::SelectionReference plain(draws, weights, {31});
    const auto expected = plain.select(system.markedNumbers(), 6, 13);
    std::vector<std::string> texts;
    for (const auto& column : expected.columns)
        texts.push_back(formatColumn(column));
    EXPECT_EQ(run.lines, texts);

    SystemState written;
    ASSERT_TRUE(readSystemFile(out, written));
    EXPECT_EQ(written.finalColumns, expected.columns);
    EXPECT_EQ(written.marked, system.marked);
    EXPECT_EQ(written.probabilities, system.probabilities);
    EXPECT_EQ(fileText(file), before) << "--out leaves the system file alone";

    // Without --out the system file itself gets the columns.
    const CliResult again = runCli({"select", file.string(), "--archive", archiveFile.string(),
                                    "--count", "6", "--precision", "13"});
    ASSERT_EQ(again.status, 0) << again.errors;
    EXPECT_EQ(fileText(file), fileText(out));
}

TEST(CliSelect, ACountTheMemoryCannotHoldIsRefusedAtOnceNamingOneThatRuns) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address checker needs an address space without a limit";
#endif
    TempFolder folder;
    const fs::path archiveFile = folder / "vincenti.dat";
    ASSERT_TRUE(simulatedArchive(300, 3).save(archiveFile));
    // Run with an address-space limit, as "ulimit -v" sets it.
    const auto limited = [&](const std::string& bytes, const fs::path& file,
                             const std::string& count) {
        return quintor::testing::runProgram(
            "/usr/bin/prlimit", {"--as=" + bytes, QUINTOR_CLI, "select", file.string(), "--archive",
                                 archiveFile.string(), "--count", count, "--precision", "26"});
    };
    const auto largestNamed = [](const std::string& message) -> std::int64_t {
        const std::string before = "ora è ";
        const std::size_t at = message.find(before);
        return at == std::string::npos ? -1 : std::stoll(message.substr(at + before.size()));
    };

    // Every initial column of a system of all 90 numbers: refused before the run starts.
    std::vector<int> all(90);
    std::iota(all.begin(), all.end(), 1);
    const fs::path whole = folder / "tutti.qtr";
    ASSERT_TRUE(writeSystemFile(whole, systemWith(all)));
    const auto started = std::chrono::steady_clock::now();
    CliResult run = limited("4294967296", whole, "622614630");
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(run.status, 2) << run.errors;
    EXPECT_LT(took.count(), 1.0);
    EXPECT_GT(largestNamed(run.errors), 0) << run.errors;

    // On a smaller system the largest count named runs to its end under the same limit.
    std::vector<int> forty(40);
    std::iota(forty.begin(), forty.end(), 1);
    const fs::path file = folder / "quaranta.qtr";
    ASSERT_TRUE(writeSystemFile(file, systemWith(forty)));
    run = limited("314572800", file, "3838380");
    ASSERT_EQ(run.status, 2) << run.errors;
    const std::int64_t largest = largestNamed(run.errors);
    ASSERT_GT(largest, 0) << run.errors;
    run = limited("314572800", file, std::to_string(largest));
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.lines.size(), static_cast<std::size_t>(largest));
}

TEST(CliSelect, RealDrawsAtFullSpeed) {
    const fs::path real = fs::path(QUINTOR_SHARED_DATA) / "vincenti.dat";
    if (!fs::exists(real))
        GTEST_SKIP() << "real draws not found in " << real.parent_path();
    TempFolder folder;
    const fs::path file = folder / "s.qtr";
    ASSERT_TRUE(writeSystemFile(file, systemWith({1, 8, 15, 22, 29, 36, 43, 50, 64, 71, 85, 90})));
    const CliResult run = runCli({"select", file.string(), "--archive", real.string(), "--count",
                                  "12", "--precision", "26"});
    ASSERT_EQ(run.status, 0) << run.errors;
    std::array<double, 91> weights;
    weights.fill(50);
    reference::SelectionReference plain(Archive::load(real).newestFirst(10000), weights, {});
    const auto expected = plain.select({1, 8, 15, 22, 29, 36, 43, 50, 64, 71, 85, 90}, 12, 26);
    ASSERT_EQ(run.lines.size(), 12u);
    for (std::size_t r = 0; r < 12; ++r)
        EXPECT_EQ(run.lines[r], formatColumn(expected.columns[r]));
}

TEST(CliSelect, RefusesWithTheWindowsMessages) {
    TempFolder folder;
    const fs::path small = folder / "piccolo.dat";
    const fs::path archiveFile = folder / "vincenti.dat";
    ASSERT_TRUE(simulatedArchive(201, 1).save(small));
    ASSERT_TRUE(simulatedArchive(202, 1).save(archiveFile));
    const fs::path file = folder / "s.qtr";
    ASSERT_TRUE(writeSystemFile(file, systemWith({1, 2, 3, 4, 5, 6, 7, 8}))); // 28 columns
    const fs::path five = folder / "cinque.qtr";
    ASSERT_TRUE(writeSystemFile(five, systemWith({1, 2, 3, 4, 5})));
    const std::string before = fileText(file);

    CliResult run = runCli({"select", file.string(), "--archive", small.string(), "--count", "3"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(
        run.errors,
        "L'archivio delle colonne vincenti contiene meno di 202 colonne.\nImpossibile elaborare "
        "statistiche con meno di 202 colonne vincenti !\n");
    run = runCli({"select", five.string(), "--archive", archiveFile.string(), "--count", "1"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, "Il sistema contiene meno di SEI segni !\nCorreggere e riprovare.\n");
    for (const char* count : {"0", "-1", "abc", "", "29", "3x", "4294967297"}) {
        run =
            runCli({"select", file.string(), "--archive", archiveFile.string(), "--count", count});
        EXPECT_EQ(run.status, 2) << count;
        EXPECT_EQ(run.errors,
                  "Il numero di colonne specificato non é VALIDO!\nCorreggere e riprovare.\n")
            << count;
        EXPECT_TRUE(run.lines.empty());
    }
    run = runCli({"select", (folder / "manca.qtr").string(), "--archive", archiveFile.string(),
                  "--count", "1"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, "Impossibile leggere dal file specificato!\nCorreggere e riprovare.\n");
    EXPECT_EQ(runCli({"select", file.string(), "--count", "1"}).status, 64);
    EXPECT_EQ(runCli({"select", file.string(), "--archive", archiveFile.string()}).status, 64);
    EXPECT_EQ(runCli({"select", file.string(), "--archive", archiveFile.string(), "--count", "1",
                      "--precision", "27"})
                  .status,
              64);
    EXPECT_EQ(fileText(file), before);
}

TEST(CliSelect, EveryColumnRejectedWritesNothing) {
    TempFolder folder;
    const fs::path archiveFile = folder / "vincenti.dat";
    ASSERT_TRUE(simulatedArchive(250, 3).save(archiveFile));
    SystemState system = systemWith({10, 20, 30, 40, 50, 60, 70});
    system.fixedCount = 1;
    system.fixedNumbers[0] = 11; // not marked
    const fs::path file = folder / "s.qtr";
    ASSERT_TRUE(writeSystemFile(file, system));
    const std::string before = fileText(file);
    const CliResult run = runCli({"select", file.string(), "--archive", archiveFile.string(),
                                  "--count", "2", "--out", (folder / "o.qtr").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors,
              "Sono state scartate tutte le colonne.\nProbabilmente è stata specificata una FISSA "
              "che non è presente nel sistema !\n");
    EXPECT_TRUE(run.lines.empty());
    EXPECT_FALSE(fs::exists(folder / "o.qtr"));
    EXPECT_EQ(fileText(file), before);
}

TEST(CliOptions, EveryCommandRefusesUnknownOptionsAndMissingValues) {
    TempFolder folder;
    const fs::path archiveFile = folder / "vincenti.dat";
    ASSERT_TRUE(simulatedArchive(250, 3).save(archiveFile));
    const std::string file = (folder / "s.qtr").string();
    ASSERT_TRUE(writeSystemFile(file, systemWith({1, 2, 3, 4, 5, 6, 7})));
    const std::string before = fileText(file);
    const std::string archive = archiveFile.string();
    const std::string pdf = (folder / "s.pdf").string();
    const std::vector<std::vector<std::string>> calls = {
        {"select", file, "--archive", archive, "--count", "1", "--bogus", "7"},
        {"select", file, "--archive", archive, "--count"},
        {"select", file, "--archive", "--count", "1"},
        {"show", file, "--whatever"},
        {"probability", file, "--bogus"},
        {"distribution", file, "--bogus"},
        {"compare", file, "--winning", "1 2 3 4 5 6", "--bogus"},
        {"rank", "--archive", archive, "--add", "--ritardi", "--bogus"},
        {"rank", "--add", "--ritardi", "--archive"},
        {"archive", archive, "--bogus"},
        {"merge", archive, archive, "--bogus"},
        {"sample-archive", (folder / "n.dat").string(), "--draws", "5", "--bogus", "1"},
        {"sample-archive", (folder / "n.dat").string(), "--draws"},
        {"slips", file, "--layout", "verticale", "--bogus", "1"},
        {"slips", file, "--page", "--layout", "verticale"},
        {"guarantee", file, "--holes", "3", "4", "--bogus"},
        {"guarantee", file, "--holes", "3", "4", "--limit"},
        {"repair", file, "--guarantee", "3", "4", "--budget", "1", "--bogus", "x"},
        {"backtest", file, "--archive", archive, "--price"},
        {"backtest", file, "--archive", archive, "--bogus", "1"},
        {"select", file, "--archive", archive, "--count", "1", "--filter"},
        {"filter", file, "--filter", "somma=21..400", "--bogus"},
        {"print", file, "--layout", "carta", "--pdf", pdf, "--bogus"},
        {"print", file, "--layout", "carta", "--pdf", pdf, "--to"},
    };
    for (const auto& args : calls) {
        const CliResult run = runCli(args);
        EXPECT_EQ(run.status, 64) << args[0] << ' ' << args.back();
        EXPECT_TRUE(run.errors.starts_with("uso: quintor-cli " + args[0])) << run.errors;
        EXPECT_TRUE(run.lines.empty()) << args[0];
    }
    EXPECT_EQ(fileText(file), before);
    EXPECT_FALSE(fs::exists(folder / "n.dat"));
    EXPECT_FALSE(fs::exists(pdf));
}
