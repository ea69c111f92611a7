// Saves killed at random moments, and two processes saving one archive at once. Each case
// forks real processes; they print the figures they measured.
#include "core/byte_file.h"
#include "core/conversions.h"
#include "file_writers.h"
#include "tests/support/files.h"
#include "tests/support/temporary_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <random>
#include <set>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

using namespace quintor;
using quintor::testing::everyFileWriter;
using quintor::testing::quickTempBase;
using quintor::testing::readBytes;
using quintor::testing::TempFolder;
using quintor::testing::temporaryFilesIn;
namespace fs = std::filesystem;

namespace {

constexpr int killsPerWriter = 200;
constexpr int rounds = 100;

} // namespace

TEST(KilledSaves, EveryFileIsTheOldOrTheNewContentAndStartUpClearsWhatIsLeft) {
    std::mt19937 random(20261208);
    for (const auto& writer : everyFileWriter()) {
        TempFolder folder(quickTempBase());
        const fs::path file = folder / writer.file;
        ASSERT_TRUE(writer.save(folder.path(), 1));
        const auto second = readBytes(file);
        ASSERT_TRUE(writer.save(folder.path(), 0));
        const auto first = readBytes(file);
        ASSERT_NE(first, second) << writer.file;

        // How long one save takes here, so that the kills spread over whole saves.
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 10; ++i)
            writer.save(folder.path(), i % 2);
        const auto oneSave =
            std::max<std::int64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                       std::chrono::steady_clock::now() - start)
                                           .count() /
                                       10,
                                   50);

        int landed = 0;
        for (int kill = 0; kill < killsPerWriter; ++kill) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0)
                for (int variant = 1;; variant ^= 1)
                    writer.save(folder.path(), variant);
            std::uniform_int_distribution<std::int64_t> delay(0, 3 * oneSave);
            std::this_thread::sleep_for(std::chrono::microseconds{delay(random)});
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const auto now = readBytes(file);
            ASSERT_TRUE(now == first || now == second)
                << writer.file << ": " << now.size() << " bytes after kill " << kill;
            landed += now == second ? 1 : 0;
        }
        const std::size_t left = temporaryFilesIn(folder.path()).size();
        removeStaleTemporaryFiles(folder.path());
        EXPECT_EQ(temporaryFilesIn(folder.path()), std::vector<std::string>{}) << writer.file;
        std::printf("%-13s %d kills (save about %lld us), new content after %d, %zu temporary "
                    "files left and removed\n",
                    writer.file.c_str(), killsPerWriter, static_cast<long long>(oneSave), landed,
                    left);
    }
}

TEST(ConcurrentSaves, TwoProcessesAddingDrawsToOneArchiveLoseNone) {
    TempFolder folder(quickTempBase());
    const fs::path file = folder / archiveFileName;
    ASSERT_TRUE(simulatedArchive(3, 1).save(file).ok());
    using namespace std::chrono;
    const sys_days first{year{2030} / January / 1};

    // Each process reads the archive, then adds one draw of its own a round and saves;
    // process p owns the days 2r + p. Both start when the pipe closes; each exits with 100 +
    // the number of its saves that had to merge the other's draws.
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    std::vector<pid_t> children;
    for (int p = 0; p < 2; ++p) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(gate[1]);
            char byte;
            (void)!::read(gate[0], &byte, 1);
            auto archive = Archive::read(file);
            if (!archive)
                ::_exit(2);
            Archive mine = std::move(archive.value());
            int merges = 0;
            for (int r = 0; r < rounds; ++r) {
                // The second reads afresh each round, as quintor-cli merge does: its reads
                // meet the other's saves too.
                if (p == 1) {
                    auto again = Archive::read(file);
                    if (!again)
                        ::_exit(3);
                    mine = std::move(again.value());
                }
                const year_month_day day{first + days{2 * r + p}};
                const Column numbers{1, 2, 3, 4, 5, static_cast<std::uint8_t>(6 + p)};
                if (!mine.insert(ArchiveRecord::fromValues(day, numbers, 90)) || !mine.save(file))
                    ::_exit(1);
                merges += mine.mergedOnLastSave() ? 1 : 0;
                // A pause between saves, as between a user's entries, lets the other run.
                std::this_thread::sleep_for(std::chrono::microseconds{(r * 37 + p * 101) % 300});
            }
            ::_exit(100 + merges);
        }
        children.push_back(child);
    }
    ::close(gate[0]);
    ::close(gate[1]);
    int merges = 0;
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) >= 100) << WEXITSTATUS(status);
        merges += WEXITSTATUS(status) - 100;
    }

    const Archive saved = Archive::load(file);
    std::set<std::string> dates;
    for (const auto& record : saved.records())
        dates.insert(record.date);
    EXPECT_EQ(saved.size(), 3u + 2u * rounds);
    EXPECT_EQ(dates.size(), 3u + 2u * rounds) << "each draw once";
    for (int d = 0; d < 2 * rounds; ++d)
        EXPECT_TRUE(dates.count(formatDate(year_month_day{first + days{d}}))) << d;
    EXPECT_EQ(temporaryFilesIn(folder.path()), std::vector<std::string>{});
    std::printf("2 processes x %d saves: %zu draws of %d kept, %d saves merged the other's\n",
                rounds, saved.size() - 3, 2 * rounds, merges);
}

TEST(ConcurrentSaves, AnotherProgramsChangesAreMergedOrTheSaveIsRefused) {
    TempFolder folder;
    const fs::path file = folder / archiveFileName;
    ASSERT_TRUE(simulatedArchive(5, 1).save(file).ok());
    Archive one = *Archive::read(file);
    Archive two = *Archive::read(file);
    using namespace std::chrono;
    auto draw = [](int day, std::uint8_t last) {
        return ArchiveRecord::fromValues(year{2031} / January / day, Column{1, 2, 3, 4, 5, last},
                                         90);
    };

    // The other program adds a draw and deletes the oldest; this one adds and modifies.
    ASSERT_TRUE(two.insert(draw(2, 6)).ok());
    ASSERT_TRUE(two.remove(0, 0).ok());
    ASSERT_TRUE(two.save(file).ok());
    const ArchiveRecord modified =
        ArchiveRecord::fromValues(year_month_day{*one[1].day}, Column{10, 20, 30, 40, 50, 60}, 70);
    one.replace(1, modified);
    ASSERT_TRUE(one.insert(draw(3, 7)).ok());
    ASSERT_TRUE(one.save(file).ok());

    const Archive saved = Archive::load(file);
    EXPECT_EQ(saved.fileBytes(), one.fileBytes()) << "this archive became the merged one";
    ASSERT_EQ(saved.size(), 6u);
    EXPECT_EQ(saved[0].column, modified.column);
    EXPECT_EQ(saved[4].date, "02/01/2031");
    EXPECT_EQ(saved[5].date, "03/01/2031");

    // Both add a different draw for the same date: nothing is overwritten.
    ASSERT_TRUE(two.insert(draw(9, 8)).ok());
    ASSERT_TRUE(one.insert(draw(9, 9)).ok());
    ASSERT_TRUE(one.save(file).ok());
    const auto onDisk = readBytes(file);
    auto refused = two.save(file);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(), archiveChangedMessage);
    EXPECT_EQ(readBytes(file), onDisk);
}
