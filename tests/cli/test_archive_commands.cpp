#include "tests/cli/cli_support.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace fs = std::filesystem;

using quintor::testing::CliResult;
using quintor::testing::fileText;
using quintor::testing::runCli;
using quintor::testing::TempFolder;
using quintor::testing::writeText;

TEST(CliMerge, RealDrawsIntoAnEmptyArchiveGiveTheArchiveFile) {
    const fs::path data = QUINTOR_SHARED_DATA;
    if (!fs::exists(data / "draws.csv") || !fs::exists(data / "vincenti.dat"))
        GTEST_SKIP() << "real draws not found in " << data;
    TempFolder folder;
    const fs::path archive = folder.path() / "vincenti.dat";
    const fs::path csv = folder.path() / "draws.csv";
    fs::copy_file(data / "draws.csv", csv);

    CliResult run = runCli({"merge", archive.string(), csv.string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.lines, (std::vector<std::string>{"aggiunte: 2855, già presenti: 0, scartate: 0",
                                                   "Colonne vincenti: 2855",
                                                   "Ultimo aggiornamento: Sabato 23/05/2026"}));
    EXPECT_EQ(fs::file_size(archive), 2855u * 29u);
    EXPECT_EQ(fileText(archive), fileText(data / "vincenti.dat"));
    EXPECT_TRUE(fs::exists(csv)) << "the merged file keeps its name";
    EXPECT_FALSE(fs::exists(folder.path() / "cln.dat"));

    // The archive-format file merged again adds nothing and leaves the bytes as they were.
    run = runCli({"merge", archive.string(), (data / "vincenti.dat").string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_FALSE(run.lines.empty());
    EXPECT_EQ(run.lines[0], "aggiunte: 0, già presenti: 2855, scartate: 0");
    EXPECT_EQ(fileText(archive), fileText(data / "vincenti.dat"));
}

TEST(CliMerge, RealDrawsReplaceASimulatedArchive) {
    const fs::path data = QUINTOR_SHARED_DATA;
    if (!fs::exists(data / "draws.csv"))
        GTEST_SKIP() << "real draws not found in " << data;
    TempFolder folder;
    const fs::path empty = folder.path() / "vuoto.dat";
    const fs::path simulated = folder.path() / "simulato.dat";
    const CliResult intoEmpty = runCli({"merge", empty.string(), (data / "draws.csv").string()});
    ASSERT_EQ(intoEmpty.status, 0) << intoEmpty.errors;

    // Nothing valid to merge: the simulated draws stay, and nothing is said about them.
    ASSERT_EQ(runCli({"sample-archive", simulated.string(), "--draws", "3000"}).status, 0);
    const std::string before = fileText(simulated);
    const fs::path bad = folder.path() / "vuote.csv";
    writeText(bad, "data;n1;n2;n3;n4;n5;n6;jolly\n2009-01-03;1;1;1;1;1;1;1\n");
    CliResult run = runCli({"merge", simulated.string(), bad.string()});
    ASSERT_EQ(run.status, 1) << run.errors;
    EXPECT_TRUE(run.lines.empty());
    EXPECT_EQ(fileText(simulated), before);

    // Real draws take the simulated ones' place whatever dates they share, and the output
    // ends by saying so after the lines an ordinary merge prints.
    run = runCli({"merge", simulated.string(), (data / "draws.csv").string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    std::vector<std::string> expected = intoEmpty.lines;
    expected.push_back("Estrazioni simulate sostituite: 3000");
    EXPECT_EQ(run.lines, expected);
    EXPECT_EQ(fileText(simulated), fileText(empty));
}

TEST(CliMerge, CountsRejectedLinesAndInsertsInDateOrder) {
    TempFolder folder;
    const fs::path archive = folder.path() / "vincenti.dat";
    const fs::path csv = folder.path() / "nuove.csv";
    writeText(csv, "data;n1;n2;n3;n4;n5;n6;jolly\n"
                   "10/01/2009;1;2;3;4;5;6;7\n"
                   "2009-01-03;11;12;13;14;15;16;17\n"
                   "2009-01-03;21;22;23;24;25;26;27\n"
                   "2009-01-04;1;2;3;4;5;6\n");
    CliResult run = runCli({"merge", archive.string(), csv.string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.lines, (std::vector<std::string>{"aggiunte: 2, già presenti: 1, scartate: 1",
                                                   "Colonne vincenti: 2",
                                                   "Ultimo aggiornamento: Sabato 10/01/2009"}));
    run = runCli({"archive", archive.string()});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.lines, (std::vector<std::string>{"Colonne vincenti: 2",
                                                   "Ultimo aggiornamento: Sabato 10/01/2009",
                                                   "03/01/2009 11 12 13 14 15 16 17",
                                                   "10/01/2009  1  2  3  4  5  6  7"}));
}

TEST(CliMerge, RefusesWhatItCannotRead) {
    TempFolder folder;
    const fs::path archive = folder.path() / "vincenti.dat";
    CliResult run = runCli({"merge", archive.string(), "/nessun/file.csv"});
    EXPECT_EQ(run.status, 2);
    EXPECT_FALSE(run.errors.empty());
    EXPECT_FALSE(fs::exists(archive));
    EXPECT_EQ(runCli({"merge", archive.string()}).status, 64);
    // A folder in place of a file is refused, not read.
    fs::create_directory(folder.path() / "cartella");
    const std::string directory = (folder.path() / "cartella").string();
    EXPECT_EQ(runCli({"archive", directory}).status, 2);
    EXPECT_EQ(runCli({"merge", archive.string(), directory}).status, 2);
    EXPECT_EQ(runCli({"merge", directory, directory}).status, 2);
    // A folder that does not exist is a failed save, not an archive in use by another program.
    run = runCli({"sample-archive", (folder.path() / "manca" / "a.dat").string(), "--draws", "3"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("Impossibile salvare"), std::string::npos) << run.errors;
}

TEST(CliArchive, EmptyArchiveHasNoLastUpdateLine) {
    TempFolder folder;
    CliResult run = runCli({"archive", (folder.path() / "vincenti.dat").string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.lines, (std::vector<std::string>{"Colonne vincenti: 0"}));
    EXPECT_EQ(runCli({"archive"}).status, 64);
}

TEST(CliSampleArchive, WritesTheRequestedDrawsReproducibly) {
    TempFolder folder;
    const fs::path first = folder.path() / "a.dat";
    const fs::path second = folder.path() / "b.dat";
    ASSERT_EQ(runCli({"sample-archive", first.string(), "--draws", "3000"}).status, 0);
    EXPECT_EQ(fs::file_size(first), 3000u * 29u);
    ASSERT_EQ(runCli({"sample-archive", second.string(), "--draws", "3000", "--seed", "1"}).status,
              0);
    EXPECT_EQ(fileText(first), fileText(second)) << "the default seed is 1";
    ASSERT_EQ(runCli({"sample-archive", second.string(), "--draws", "3000", "--seed", "2"}).status,
              0);
    EXPECT_NE(fileText(first), fileText(second));

    CliResult listing = runCli({"archive", first.string()});
    ASSERT_EQ(listing.lines.size(), 3002u);
    EXPECT_EQ(listing.lines[2].substr(0, 10), "03/01/2009");

    EXPECT_EQ(runCli({"sample-archive", first.string()}).status, 64);
    EXPECT_EQ(runCli({"sample-archive", first.string(), "--draws", "tre"}).status, 64);
    EXPECT_EQ(runCli({"sample-archive", first.string(), "--draws", "0"}).status, 64);
}

TEST(CliHugeOrBadInput, HugeCountsAreRefusedAndOnlyRealDrawsMerged) {
    TempFolder folder;
    const fs::path archive = folder.path() / "vincenti.dat";
    // Refused before a byte is reserved for the draws, not aborted by the allocator.
    CliResult run = runCli({"sample-archive", archive.string(), "--draws", "2000000000"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("al massimo"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(archive));
    {
        // A file far longer than any archive is refused unread (sparse: no disk used).
        std::ofstream huge(folder.path() / "enorme.dat");
    }
    fs::resize_file(folder.path() / "enorme.dat", std::uintmax_t{1} << 33);
    run = runCli({"merge", archive.string(), (folder.path() / "enorme.dat").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(runCli({"archive", (folder.path() / "enorme.dat").string()}).status, 2);

    // Lines ended by CR alone; a repeated number and a jolly among the six are not draws.
    const fs::path csv = folder.path() / "mac.csv";
    writeText(csv, "data,n1,n2,n3,n4,n5,n6,jolly\r"
                   "2009-01-03,11,12,13,14,15,16,17\r"
                   "2009-01-06,1,1,3,4,5,6,7\r\n"
                   "2009-01-08,1,2,3,4,5,6,6\n"
                   "2009-01-10,21,22,23,24,25,26,27\r");
    run = runCli({"merge", archive.string(), csv.string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_FALSE(run.lines.empty());
    EXPECT_EQ(run.lines[0], "aggiunte: 2, già presenti: 0, scartate: 2");

    // A byte-order mark before a first line that is already a draw, as spreadsheets write it.
    writeText(csv, "\xEF\xBB\xBF"
                   "2009-01-13,31,32,33,34,35,36,37\r\n");
    run = runCli({"merge", archive.string(), csv.string()});
    ASSERT_FALSE(run.lines.empty());
    EXPECT_EQ(run.lines[0], "aggiunte: 1, già presenti: 0, scartate: 0");
}

TEST(CliMerge, NeverWritesOverAFileThatIsNotAnArchive) {
    TempFolder folder;
    const fs::path archive = folder.path() / "vincenti.dat";
    ASSERT_EQ(runCli({"sample-archive", archive.string(), "--draws", "30"}).status, 0);
    const fs::path csv = folder.path() / "nuove.csv";
    writeText(csv, "data;n1;n2;n3;n4;n5;n6;jolly\n2990-01-03;11;12;13;14;15;16;17\n");
    const fs::path link = folder.path() / "collegamento.dat";
    fs::create_symlink(csv, link);
    const fs::path damaged = folder.path() / "danneggiato.dat";
    std::string bytes = fileText(archive);
    bytes.replace(29 * 7 + 10, 2, "99"); // a number outside 1..90, the size still whole records
    writeText(damaged, bytes);
    // The two names swapped, a link to a text file, an archive with a record that is no draw.
    for (const fs::path& target : {csv, link, damaged}) {
        const std::string before = fileText(target);
        const CliResult run = runCli({"merge", target.string(), archive.string()});
        EXPECT_EQ(run.status, 2) << target;
        EXPECT_NE(run.errors.find("non è un archivio"), std::string::npos) << run.errors;
        EXPECT_EQ(fileText(target), before) << target;
    }
    // A file of which every draw is rejected changes nothing and says so.
    const std::string before = fileText(archive);
    writeText(csv, "2990-01-03;11;12;13;14;15;99;17\nuno;due\n");
    const CliResult run = runCli({"merge", archive.string(), csv.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_NE(run.errors.find("scartate: 2"), std::string::npos) << run.errors;
    EXPECT_EQ(fileText(archive), before);
}

TEST(CliMerge, MessagesNameWhatIsWrong) {
    TempFolder folder;
    const fs::path archive = folder.path() / "vincenti.dat";
    // A file of draws past the largest one read is too big, not unreadable (sparse: no disk).
    { std::ofstream huge(folder.path() / "grande.csv"); }
    fs::resize_file(folder.path() / "grande.csv", std::uintmax_t{70} << 20);
    CliResult run = runCli({"merge", archive.string(), (folder.path() / "grande.csv").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("troppo grande"), std::string::npos) << run.errors;
    // An archive written where no file can be: the message names that place.
    const fs::path fifo = folder.path() / "coda.dat";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(folder.path() / "cartella.dat");
    for (const std::string name : {"coda.dat", "cartella.dat"}) {
        run = runCli({"sample-archive", (folder.path() / name).string(), "--draws", "3"});
        EXPECT_EQ(run.status, 2) << name;
        EXPECT_NE(run.errors.find(name), std::string::npos) << run.errors;
        EXPECT_EQ(run.errors.find("vincenti.dat"), std::string::npos) << run.errors;
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(CliMerge, AFileSizeLimitIsAFailedSaveWithNoTemporaryFileLeft) {
    TempFolder folder;
    const fs::path archive = folder.path() / "vincenti.dat";
    // 300 draws of its own (a simulated archive would be replaced by the one new draw).
    const fs::path csv = folder.path() / "nuove.csv";
    std::string draws;
    for (int day = 1; day <= 300; ++day)
        draws += std::to_string(1700 + day) + "-01-01,1,2,3,4,5,6,7\n";
    writeText(csv, draws);
    ASSERT_EQ(runCli({"merge", archive.string(), csv.string()}).status, 0);
    const std::string before = fileText(archive);
    writeText(csv, "2990-01-03,11,12,13,14,15,16,17\n");
    // prlimit starts the program with the limit and the signal as a shell's ulimit leaves them.
    const CliResult run = quintor::testing::runProgram(
        "/usr/bin/prlimit", {"--fsize=4096", QUINTOR_CLI, "merge", archive.string(), csv.string()});
    EXPECT_EQ(run.status, 2) << run.errors;
    EXPECT_NE(run.errors.find("Impossibile salvare"), std::string::npos) << run.errors;
    EXPECT_EQ(fileText(archive), before);
    EXPECT_EQ(quintor::testing::filesIn(folder.path()), 2u);
}

TEST(CliMergeAndImport, UnicodeTextReadsLikeUtf8AndOtherZeroBytesAreRefused) {
    TempFolder folder;
    const std::string columns = "n1;n2;n3;n4;n5;n6\n1;2;3;4;5;6\n7;8;9;10;11;12\n";
    const std::string draws = "data;n1;n2;n3;n4;n5;n6;jolly\n2009-01-03;11;12;13;14;15;16;17\n";
    const auto utf16 = [](std::string_view text, bool littleEndian, bool mark) {
        std::string out = mark ? (littleEndian ? "\xFF\xFE" : "\xFE\xFF") : "";
        for (char c : text)
            out += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
        return out;
    };
    struct Row {
        bool littleEndian, mark;
    };
    for (const Row row : {Row{true, true}, Row{false, true}, Row{true, false}}) {
        SCOPED_TRACE(std::to_string(row.littleEndian) + std::to_string(row.mark));
        const fs::path archive = folder.path() / "vincenti.dat";
        const fs::path system = folder.path() / "s.qtr";
        fs::remove(archive);
        writeText(folder.path() / "d.csv", utf16(draws, row.littleEndian, row.mark));
        writeText(folder.path() / "c.csv", utf16(columns, row.littleEndian, row.mark));
        const CliResult merged =
            runCli({"merge", archive.string(), (folder.path() / "d.csv").string()});
        quintor::testing::writeSystem(system, {}, {});
        const CliResult imported =
            runCli({"import", system.string(), (folder.path() / "c.csv").string()});
        if (row.mark) {
            ASSERT_EQ(merged.status, 0) << merged.errors;
            EXPECT_EQ(merged.lines[0], "aggiunte: 1, già presenti: 0, scartate: 0");
            ASSERT_EQ(imported.status, 0) << imported.errors;
            EXPECT_EQ(imported.lines[0], "aggiunte: 2, doppie: 0, scartate: 0");
        } else {
            EXPECT_EQ(merged.status, 2);
            EXPECT_NE(merged.errors.find("non è un file di testo"), std::string::npos);
            EXPECT_EQ(imported.status, 2);
            EXPECT_FALSE(fs::exists(archive));
        }
    }
}
