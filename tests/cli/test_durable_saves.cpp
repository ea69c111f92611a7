#include "core/archive.h"
#include "tests/cli/cli_support.h"
#include "tests/support/files.h"
#include "tests/support/temporary_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;
using namespace quintor;
using quintor::testing::CliResult;
using quintor::testing::endedProcessId;
using quintor::testing::fileText;
using quintor::testing::runCli;
using quintor::testing::TempFolder;
using quintor::testing::writeText;

namespace {

// quintor-cli run with the library that logs, in order, its fsync and rename calls.
CliResult runCliLoggingSyncs(const std::vector<std::string>& args, const fs::path& log) {
    return quintor::testing::runPreloaded(QUINTOR_SYNC_LOG_LIBRARY, {{"QUINTOR_SYNC_LOG", log}},
                                          QUINTOR_CLI, args);
}

struct Call {
    std::string what;
    fs::path first;
    fs::path second;
};

std::vector<Call> calls(const fs::path& log) {
    std::vector<Call> result;
    std::istringstream in(fileText(log));
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        Call call;
        std::string a, b;
        words >> call.what >> a >> b;
        call.first = a;
        call.second = b;
        result.push_back(call);
    }
    return result;
}

fs::path real(const fs::path& path) {
    return fs::weakly_canonical(path);
}

// The new content of target was flushed before it was renamed over target, and target's
// folder was flushed after.
void expectDurableSave(const std::vector<Call>& log, const fs::path& target) {
    std::size_t renamed = log.size();
    for (std::size_t i = 0; i < log.size(); ++i)
        if (log[i].what == "rename" && real(log[i].second) == real(target))
            renamed = i;
    ASSERT_LT(renamed, log.size()) << target << " was not replaced by a rename";
    const fs::path temporary =
        real(log[renamed].first.parent_path()) / log[renamed].first.filename();
    bool fileSynced = false;
    for (std::size_t i = 0; i < renamed; ++i)
        fileSynced = fileSynced || (log[i].what == "fsync" && log[i].first == temporary);
    EXPECT_TRUE(fileSynced) << temporary << " renamed over " << target << " without an fsync";
    bool folderSynced = false;
    for (std::size_t i = renamed + 1; i < log.size(); ++i)
        folderSynced =
            folderSynced || (log[i].what == "fsync" && log[i].first == real(target.parent_path()));
    EXPECT_TRUE(folderSynced) << target.parent_path() << " not flushed after the rename";
}

} // namespace

TEST(CliDurableSaves, TheArchiveAndTheSystemReachTheDiskBeforeTheyReplaceTheOldFiles) {
    TempFolder folder;
    const fs::path archive = folder / archiveFileName;
    // Not the first start's draws (seed 1), which a merge would replace: the archive keeps
    // enough draws for the selection below.
    ASSERT_EQ(runCli({"sample-archive", archive.string(), "--draws", "300", "--seed", "2"}).status,
              0);
    const fs::path draws = folder / "nuove.csv";
    writeText(draws, "01/01/2400,1,2,3,4,5,6,7\n");
    const fs::path log = folder / "chiamate.log";
    const CliResult merged = runCliLoggingSyncs({"merge", archive.string(), draws.string()}, log);
    ASSERT_EQ(merged.status, 0) << merged.errors;
    expectDurableSave(calls(log), archive);

    const fs::path system = folder / "sistema.qtr";
    const fs::path out = folder / "scelte.qtr";
    quintor::testing::writeSystem(system, {4, 9, 17, 23, 31, 38, 46, 57}, {});
    fs::remove(log);
    const CliResult selected =
        runCliLoggingSyncs({"select", system.string(), "--archive", archive.string(), "--count",
                            "3", "--out", out.string()},
                           log);
    ASSERT_EQ(selected.status, 0) << selected.errors;
    expectDurableSave(calls(log), out);
}

TEST(CliDurableSaves, ASaveRemovesTheTemporaryFilesThatKilledSavesLeftInItsFolder) {
    TempFolder folder;
    const pid_t child = endedProcessId();
    const fs::path archive = folder / archiveFileName;
    const fs::path system = folder / "sistema.qtr";
    ASSERT_EQ(runCli({"sample-archive", archive.string(), "--draws", "300"}).status, 0);
    quintor::testing::writeSystem(system, {}, {{1, 2, 3, 4, 5, 6}});
    writeText(folder / "nuove.csv", "01/01/2400,1,2,3,4,5,6,7\n");
    writeText(folder / "colonne.csv", "7 8 9 10 11 12\n");

    const std::string owner = ".quintor-" + std::to_string(child) + "-0123abcd";
    const std::string running = "sistema.qtr.quintor-" + std::to_string(::getpid()) + "-0123abcd";
    const std::vector<std::vector<std::string>> saves = {
        {"merge", archive.string(), (folder / "nuove.csv").string()},
        {"import", system.string(), (folder / "colonne.csv").string()},
    };
    for (const auto& save : saves) {
        SCOPED_TRACE(save[0]);
        writeText(folder / ("cln.dat" + owner), "killed");
        writeText(folder / ("sistema.qtr" + owner), "killed");
        writeText(folder / running, "a save still going");
        const CliResult result = runCli(save);
        ASSERT_EQ(result.status, 0) << result.errors;
        EXPECT_FALSE(fs::exists(folder / ("cln.dat" + owner)));
        EXPECT_FALSE(fs::exists(folder / ("sistema.qtr" + owner)));
        EXPECT_TRUE(fs::exists(folder / running));
    }
}
