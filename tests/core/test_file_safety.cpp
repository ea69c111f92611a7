#include "core/byte_file.h"
#include "file_writers.h"
#include "tests/support/files.h"
#include "tests/support/temporary_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>
#include <unistd.h>

using namespace quintor;
using quintor::testing::endedProcessId;
using quintor::testing::everyFileWriter;
using quintor::testing::readBytes;
using quintor::testing::TempFolder;
using quintor::testing::temporaryFilesIn;
using quintor::testing::writeBytes;
namespace fs = std::filesystem;

namespace {

const std::vector<std::uint8_t> userBytes{'m', 'i', 'o'};

} // namespace

TEST(FileSafety, LinksAndFilesAtTheTemporaryNamesAreNeverWrittenNorDeleted) {
    TempFolder folder;
    TempFolder elsewhere;
    const fs::path victim = elsewhere / "importante.txt";
    writeBytes(victim, userBytes);
    const std::vector<std::string> fixedNames{archiveTemporaryName, writeProbeName,
                                              functionListTemporaryName};
    for (const auto& name : fixedNames)
        fs::create_symlink(victim, folder / name);
    std::vector<std::string> fields{"0.5", "0.5", "0.5", "0.5", "0.5", "0.5"};
    LayoutValues values = LayoutValues::defaults();

    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(simulatedArchive(10 + round, 1).save(folder / archiveFileName).ok());
        EXPECT_EQ(
            registerLayoutSettings(folder.path(), SlipLayout::vertical, fields, values).outcome,
            RegisterOutcome::registered);
        UserFunctionList functions;
        functions.entries.push_back({"filtro", "Filtro"});
        EXPECT_TRUE(functions.save(folder.path()));
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder / archiveFileName)));
        EXPECT_EQ(Archive::load(folder / archiveFileName).size(), 10u + round);
        EXPECT_EQ(readBytes(victim), userBytes);
        for (const auto& name : fixedNames) {
            EXPECT_TRUE(fs::exists(fs::symlink_status(folder / name))) << name;
            EXPECT_EQ(readBytes(folder / name), userBytes) << name;
        }
        // Second round: the user's own files of those names instead of links.
        for (const auto& name : fixedNames) {
            fs::remove(folder / name);
            writeBytes(folder / name, userBytes);
        }
    }
    EXPECT_TRUE(temporaryFilesIn(folder.path()).empty());
}

TEST(FileSafety, EveryWriterRefusesAReadOnlyFileWhoeverRunsIt) {
    for (const auto& writer : everyFileWriter()) {
        TempFolder folder;
        ASSERT_TRUE(writer.save(folder.path(), 0)) << writer.file;
        const fs::path file = folder / writer.file;
        const auto before = readBytes(file);
        fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
        // Root passes every access check: only the mode bits can tell.
        EXPECT_FALSE(writer.save(folder.path(), 1)) << writer.file;
        EXPECT_EQ(readBytes(file), before) << writer.file;
        EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::group_read);
        EXPECT_TRUE(temporaryFilesIn(folder.path()).empty()) << writer.file;
    }
}

TEST(FileSafety, LinksStayLinksAndPermissionsStayEvenThroughADanglingLink) {
    TempFolder folder;
    TempFolder elsewhere;
    const std::vector<std::uint8_t> bytes{1, 2, 3};
    // A relative link whose file does not exist yet.
    fs::create_symlink("../" + elsewhere.path().filename().string() + "/vero.qtr",
                       folder / "collegamento.qtr");
    ASSERT_TRUE(replaceFileContents(folder / "collegamento.qtr", bytes));
    EXPECT_TRUE(fs::is_symlink(folder / "collegamento.qtr"));
    EXPECT_EQ(readBytes(elsewhere / "vero.qtr"), bytes);

    fs::permissions(elsewhere / "vero.qtr",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(replaceFileContents(folder / "collegamento.qtr", userBytes));
    EXPECT_EQ(readBytes(elsewhere / "vero.qtr"), userBytes);
    EXPECT_EQ(fs::status(elsewhere / "vero.qtr").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    fs::create_symlink("anello", folder / "anello");
    EXPECT_FALSE(replaceFileContents(folder / "anello", bytes));
    EXPECT_TRUE(fs::is_symlink(folder / "anello"));
    EXPECT_TRUE(temporaryFilesIn(folder.path()).empty());
    EXPECT_TRUE(temporaryFilesIn(elsewhere.path()).empty());
}

TEST(FileSafety, StartUpRemovesOnlyTheTemporaryFilesOfSavesThatAreGone) {
    TempFolder folder;
    const pid_t child = endedProcessId();
    const std::string dead = "cln.dat.quintor-" + std::to_string(child) + "-0123abcd";
    const std::string live = "QUINTOR.CFG.quintor-" + std::to_string(::getpid()) + "-89abcdef";
    const std::string liveButOld = "VRTL.TMP.quintor-" + std::to_string(::getpid()) + "-00000000";
    const std::vector<std::string> notOurs{"cln.dat", "nota.quintor-12-xyz",
                                           "a.quintor-12-0123abcd0", "x.quintor--0123abcd"};
    for (const auto& name : {dead, live, liveButOld})
        writeBytes(folder / name, userBytes);
    for (const auto& name : notOurs)
        writeBytes(folder / name, userBytes);
    fs::last_write_time(folder / liveButOld,
                        fs::file_time_type::clock::now() - std::chrono::hours{25});

    EXPECT_EQ(removeStaleTemporaryFiles(folder.path()), 2u);
    EXPECT_EQ(temporaryFilesIn(folder.path()), std::vector<std::string>{live});
    for (const auto& name : notOurs)
        EXPECT_TRUE(fs::exists(folder / name)) << name;
}
