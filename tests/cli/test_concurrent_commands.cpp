// The commands that read and write a system file, run two at once on one file and killed at
// random moments: the file is always a whole version some command wrote, no column one of
// them added is lost, and no temporary file stays behind. They print the figures they saw.
//
// QUINTOR_KILL_ROUNDS sets the kills per command, and twice the rounds of commands at once: 20
// unless set, 200 with `make test-kills`.
#include "core/column.h"
#include "core/system_file.h"
#include "tests/cli/cli_support.h"
#include "tests/support/files.h"
#include "tests/support/temporary_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace quintor;
using quintor::testing::fileText;
using quintor::testing::quickTempBase;
using quintor::testing::runCli;
using quintor::testing::startCli;
using quintor::testing::TempFolder;
using quintor::testing::temporaryFilesIn;
using quintor::testing::waitForExit;
using quintor::testing::writeSystem;
using quintor::testing::writeText;

namespace {

int killRounds() {
    const char* text = std::getenv("QUINTOR_KILL_ROUNDS");
    const int rounds = text ? std::atoi(text) : 0;
    return rounds > 0 ? rounds : 20;
}

std::vector<Column> columnsOf(const fs::path& file) {
    SystemState state;
    EXPECT_TRUE(readSystemFile(file, state)) << file;
    return state.finalColumns;
}

// Columns first..first + count - 1 of a list of different columns without two consecutive
// numbers, one a line: number j of column k is 15j + 1 + 2 * (digit j of k in base 7).
std::string columnLines(int first, int count) {
    std::string text;
    for (int k = first; k < first + count; ++k) {
        for (int j = 0, rest = k; j < 6; ++j, rest /= 7)
            text += std::to_string(15 * j + 1 + 2 * (rest % 7)) + ' ';
        text += '\n';
    }
    return text;
}

} // namespace

TEST(ConcurrentCommands, TwoCommandsWritingOneSystemLoseNothing) {
    TempFolder folder(quickTempBase());
    const fs::path system = folder / "sistema.qtr";
    const fs::path copy = folder / "copia.qtr";
    const int rounds = killRounds() / 2;
    constexpr int perImport = 200;
    // Columns with two consecutive numbers: the filter drops them, whoever runs first. Each
    // import also reads the list's columns again, ten times over: skipping them as doubles
    // keeps it busy between its read of the system and its save, as a big file would.
    const std::vector<Column> doomed = {{1, 2, 10, 20, 30, 40}, {5, 6, 15, 25, 35, 45}};
    const std::string list = columnLines(100000, 1000);
    writeText(folder / "lista.csv", list);
    writeSystem(system, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, doomed);
    ASSERT_EQ(runCli({"import", system.string(), (folder / "lista.csv").string()}).status, 0);
    std::string again;
    for (int k = 0; k < 10; ++k)
        again += list;
    for (int round = 0; round < rounds; ++round) {
        const fs::path one = folder / "uno.csv";
        const fs::path two = folder / "due.csv";
        writeText(one, columnLines(2 * perImport * round, perImport) + again);
        writeText(two, columnLines(2 * perImport * round + perImport, perImport) + again);
        const std::vector<Column> before = columnsOf(system);
        // Two imports, a filter, a repair into another file and an export, all at once.
        const fs::path listing = folder / "elenco.txt";
        const pid_t children[] = {
            startCli({"import", system.string(), one.string()}),
            startCli({"import", system.string(), two.string()}),
            startCli({"filter", system.string(), "--filter", "consecutivi<=1"}),
            startCli({"repair", system.string(), "--guarantee", "2", "3", "--budget", "2", "--out",
                      copy.string()}),
            startCli({"export", system.string()}, listing),
        };
        for (pid_t child : children) {
            ASSERT_GT(child, 0);
            EXPECT_EQ(waitForExit(child), 0) << "round " << round;
        }
        const std::vector<Column> after = columnsOf(system);
        const std::set<Column> kept(after.begin(), after.end());
        EXPECT_EQ(kept.size(), after.size()) << "a column twice, round " << round;
        EXPECT_EQ(after.size(), before.size() - (round == 0 ? doomed.size() : 0) + 2 * perImport)
            << "round " << round;
        for (const Column& column : before)
            if (std::find(doomed.begin(), doomed.end(), column) == doomed.end()) {
                EXPECT_TRUE(kept.count(column)) << formatColumn(column) << ", round " << round;
            }
        // The listing is one whole version of the list: the one before, after or between.
        const std::string text = fileText(listing);
        const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        EXPECT_TRUE(text.size() == lines * 18 && lines >= before.size() - doomed.size() &&
                    lines <= after.size() + doomed.size())
            << text.size() << " bytes, round " << round;
        EXPECT_FALSE(columnsOf(copy).empty());
    }
    EXPECT_EQ(temporaryFilesIn(folder.path()), std::vector<std::string>{});
    std::printf("%d rounds of 2 imports, a filter, a repair and an export at once: %zu columns "
                "of %d imported kept\n",
                rounds, columnsOf(system).size() - 1000, rounds * 2 * perImport);
}

TEST(KilledCommands, TheSystemIsTheOldOrTheNewOneAndNoTemporaryFileStays) {
    TempFolder folder(quickTempBase());
    const fs::path system = folder / "sistema.qtr";
    const fs::path out = folder / "riparato.qtr";
    const fs::path columns = folder / "colonne.csv";
    writeText(columns, columnLines(0, 400));
    const int rounds = killRounds();
    std::mt19937 random(20261209);

    struct Command {
        std::vector<std::string> args;
        fs::path written; // the file it replaces
    };
    const std::vector<Command> commands = {
        {{"import", system.string(), columns.string()}, system},
        {{"filter", system.string(), "--filter", "consecutivi<=1"}, system},
        {{"repair", system.string(), "--guarantee", "3", "6", "--budget", "40", "--out",
          out.string()},
         out},
        {{"export", system.string(), "--csv"}, system},
    };
    for (const Command& command : commands) {
        SCOPED_TRACE(command.args[0]);
        // The old file: marks, and columns the filter thins out; the new one: what the
        // command writes over it.
        const std::string oldSystem =
            writeSystem(system, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                        {{1, 2, 3, 4, 5, 6}, {1, 3, 5, 7, 9, 11}, {2, 4, 6, 8, 10, 12}});
        writeSystem(out, {}, {});
        const std::string old = fileText(command.written);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(runCli(command.args).status, 0);
        const auto oneRun = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - start);
        const std::string done = fileText(command.written);
        ASSERT_EQ(done == old, command.args[0] == "export");

        int landed = 0;
        std::size_t leftMost = 0;
        for (int kill = 0; kill < rounds; ++kill) {
            writeText(command.written, old);
            const pid_t child = startCli(command.args);
            ASSERT_GT(child, 0);
            std::uniform_int_distribution<long> delay(0, oneRun.count() * 3 / 2);
            std::this_thread::sleep_for(std::chrono::microseconds{delay(random)});
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const std::string now = fileText(command.written);
            ASSERT_TRUE(now == old || now == done) << now.size() << " bytes after kill " << kill;
            landed += now == done && done != old ? 1 : 0;
            leftMost = std::max(leftMost, temporaryFilesIn(folder.path()).size());
        }
        // The next save into the folder clears what the killed ones left.
        writeText(command.written, old);
        ASSERT_EQ(runCli(command.args).status, 0);
        EXPECT_EQ(fileText(command.written), done);
        EXPECT_EQ(temporaryFilesIn(folder.path()), std::vector<std::string>{});
        std::printf("%-7s %d kills (a run about %lld us): new file after %d, at most %zu "
                    "temporary files left before the next save\n",
                    command.args[0].c_str(), rounds, static_cast<long long>(oneRun.count()), landed,
                    leftMost);
    }
}
