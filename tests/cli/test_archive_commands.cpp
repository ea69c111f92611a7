#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder() {
        std::random_device device;
        path_ = fs::temp_directory_path() / ("quintor-cli-archive-" + std::to_string(device()));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct CliRun {
    int status = -1;
    std::vector<std::string> lines; // stdout
    std::string errors;
};

std::string quoted(const std::string& word) {
    std::string text = "'";
    for (char c : word)
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

CliRun runCli(const fs::path& folder, const std::vector<std::string>& args) {
    std::string command = quoted(QUINTOR_CLI);
    for (const auto& arg : args)
        command += " " + quoted(arg);
    const fs::path out = folder / "stdout.txt";
    const fs::path err = folder / "stderr.txt";
    command += " >" + quoted(out.string()) + " 2>" + quoted(err.string());
    CliRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::istringstream lines(readBytes(out));
    for (std::string line; std::getline(lines, line);)
        run.lines.push_back(line);
    run.errors = readBytes(err);
    return run;
}

void writeBytes(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

TEST(CliMerge, RealDrawsIntoAnEmptyArchiveGiveTheArchiveFile) {
    const fs::path data = QUINTOR_SHARED_DATA;
    if (!fs::exists(data / "draws.csv") || !fs::exists(data / "vincenti.dat"))
        GTEST_SKIP() << "real draws not found in " << data;
    TempFolder folder;
    const fs::path archive = folder.path() / "vincenti.dat";
    const fs::path csv = folder.path() / "draws.csv";
    fs::copy_file(data / "draws.csv", csv);

    CliRun run = runCli(folder.path(), {"merge", archive.string(), csv.string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.lines, (std::vector<std::string>{"aggiunte: 2855, già presenti: 0, scartate: 0",
                                                   "Colonne vincenti: 2855",
                                                   "Ultimo aggiornamento: Sabato 23/05/2026"}));
    EXPECT_EQ(fs::file_size(archive), 2855u * 29u);
    EXPECT_EQ(readBytes(archive), readBytes(data / "vincenti.dat"));
    EXPECT_TRUE(fs::exists(csv)) << "the merged file keeps its name";
    EXPECT_FALSE(fs::exists(folder.path() / "cln.dat"));

    // The archive-format file merged again adds nothing and leaves the bytes as they were.
    run = runCli(folder.path(), {"merge", archive.string(), (data / "vincenti.dat").string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_FALSE(run.lines.empty());
    EXPECT_EQ(run.lines[0], "aggiunte: 0, già presenti: 2855, scartate: 0");
    EXPECT_EQ(readBytes(archive), readBytes(data / "vincenti.dat"));
}

TEST(CliMerge, CountsRejectedLinesAndInsertsInDateOrder) {
    TempFolder folder;
    const fs::path archive = folder.path() / "vincenti.dat";
    const fs::path csv = folder.path() / "nuove.csv";
    writeBytes(csv, "data;n1;n2;n3;n4;n5;n6;jolly\n"
                    "10/01/2009;1;2;3;4;5;6;7\n"
                    "2009-01-03;11;12;13;14;15;16;17\n"
                    "2009-01-03;21;22;23;24;25;26;27\n"
                    "2009-01-04;1;2;3;4;5;6\n");
    CliRun run = runCli(folder.path(), {"merge", archive.string(), csv.string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.lines, (std::vector<std::string>{"aggiunte: 2, già presenti: 1, scartate: 1",
                                                   "Colonne vincenti: 2",
                                                   "Ultimo aggiornamento: Sabato 10/01/2009"}));
    run = runCli(folder.path(), {"archive", archive.string()});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.lines, (std::vector<std::string>{"Colonne vincenti: 2",
                                                   "Ultimo aggiornamento: Sabato 10/01/2009",
                                                   "03/01/2009 11 12 13 14 15 16 17",
                                                   "10/01/2009  1  2  3  4  5  6  7"}));
}

TEST(CliMerge, RefusesWhatItCannotRead) {
    TempFolder folder;
    const fs::path archive = folder.path() / "vincenti.dat";
    CliRun run = runCli(folder.path(), {"merge", archive.string(), "/nessun/file.csv"});
    EXPECT_EQ(run.status, 2);
    EXPECT_FALSE(run.errors.empty());
    EXPECT_FALSE(fs::exists(archive));
    EXPECT_EQ(runCli(folder.path(), {"merge", archive.string()}).status, 64);
    // A folder in place of a file is refused, not read.
    fs::create_directory(folder.path() / "cartella");
    const std::string directory = (folder.path() / "cartella").string();
    EXPECT_EQ(runCli(folder.path(), {"archive", directory}).status, 2);
    EXPECT_EQ(runCli(folder.path(), {"merge", archive.string(), directory}).status, 2);
    EXPECT_EQ(runCli(folder.path(), {"merge", directory, directory}).status, 2);
}

TEST(CliArchive, EmptyArchiveHasNoLastUpdateLine) {
    TempFolder folder;
    CliRun run = runCli(folder.path(), {"archive", (folder.path() / "vincenti.dat").string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.lines, (std::vector<std::string>{"Colonne vincenti: 0"}));
    EXPECT_EQ(runCli(folder.path(), {"archive"}).status, 64);
}

TEST(CliSampleArchive, WritesTheRequestedDrawsReproducibly) {
    TempFolder folder;
    const fs::path first = folder.path() / "a.dat";
    const fs::path second = folder.path() / "b.dat";
    ASSERT_EQ(runCli(folder.path(), {"sample-archive", first.string(), "--draws", "3000"}).status,
              0);
    EXPECT_EQ(fs::file_size(first), 3000u * 29u);
    ASSERT_EQ(
        runCli(folder.path(), {"sample-archive", second.string(), "--draws", "3000", "--seed", "1"})
            .status,
        0);
    EXPECT_EQ(readBytes(first), readBytes(second)) << "the default seed is 1";
    ASSERT_EQ(
        runCli(folder.path(), {"sample-archive", second.string(), "--draws", "3000", "--seed", "2"})
            .status,
        0);
    EXPECT_NE(readBytes(first), readBytes(second));

    CliRun listing = runCli(folder.path(), {"archive", first.string()});
    ASSERT_EQ(listing.lines.size(), 3002u);
    EXPECT_EQ(listing.lines[2].substr(0, 10), "03/01/2009");

    EXPECT_EQ(runCli(folder.path(), {"sample-archive", first.string()}).status, 64);
    EXPECT_EQ(runCli(folder.path(), {"sample-archive", first.string(), "--draws", "tre"}).status,
              64);
    EXPECT_EQ(runCli(folder.path(), {"sample-archive", first.string(), "--draws", "0"}).status, 64);
}
