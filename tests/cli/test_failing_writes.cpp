// Every save of the program run again and again, each time with one more of its write,
// fsync, rename or close calls failing as on a full or broken disk: a save that fails says
// so and leaves the old files as they were, without a temporary file beside them.
#include "core/archive.h"
#include "core/byte_file.h"
#include "core/column_filters.h"
#include "tests/cli/cli_support.h"
#include "tests/fault_injection/core_writers.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace quintor;
using quintor::testing::CliResult;
using quintor::testing::fileText;
using quintor::testing::printed;
using quintor::testing::quickTempBase;
using quintor::testing::runCli;
using quintor::testing::TempFolder;
using quintor::testing::writeSystem;
using quintor::testing::writeText;

namespace {

// Every file of a folder by name, with its bytes.
using FolderContent = std::map<std::string, std::string>;

FolderContent contentOf(const fs::path& folder) {
    FolderContent content;
    for (const auto& entry : fs::directory_iterator(folder))
        content[entry.path().filename().string()] = fileText(entry.path());
    return content;
}

void putBack(const fs::path& folder, const FolderContent& content) {
    for (const auto& entry : fs::directory_iterator(folder))
        fs::remove(entry.path());
    for (const auto& [name, bytes] : content)
        writeText(folder / name, bytes);
}

// What tells now from expected, file by file; empty when they are the same.
std::string differences(const FolderContent& expected, const FolderContent& now) {
    std::string text;
    for (const auto& [name, bytes] : expected) {
        const auto found = now.find(name);
        if (found == now.end())
            text += name + " missing; ";
        else if (found->second != bytes)
            text += name + " changed; ";
    }
    for (const auto& entry : now)
        if (!expected.contains(entry.first))
            text +=
                entry.first + (isTemporaryFileName(entry.first) ? " (temporary)" : "") + " left; ";
    return text;
}

// A PDF carries the time it was made: two whole saves of it differ in their bytes, so only
// its being there is compared.
FolderContent comparable(FolderContent content) {
    for (auto& [name, bytes] : content)
        if (name.ends_with(".pdf"))
            bytes.clear();
    return content;
}

struct Call {
    fs::path path;
    bool failed = false;
};

// The injector's log: "N kind path", " failed" after the call it failed.
std::vector<Call> callsIn(const fs::path& log) {
    std::vector<Call> calls;
    std::istringstream in(fileText(log));
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string number, kind, path, failed;
        words >> number >> kind >> path >> failed;
        calls.push_back({path, failed == "failed"});
    }
    return calls;
}

// A save: the program and its arguments, which save into one folder and print message on
// failure (nothing for the writers the windows call, which only report it).
struct Save {
    std::string program;
    std::vector<std::string> args;
    std::string message;
};

struct Run {
    CliResult result;
    std::vector<Call> calls;
};

// save run with the call of kind numbered failAt failing (none when 0); only calls on files
// in folder count.
Run runFailing(const Save& save, const fs::path& folder, const std::string& kind, int failAt) {
    const fs::path log = folder.parent_path() / "chiamate.log";
    fs::remove(log);
    Run run;
    run.result = quintor::testing::runPreloaded(QUINTOR_FAIL_CALL_LIBRARY,
                                                {{"QUINTOR_FAIL_CALL", kind},
                                                 {"QUINTOR_FAIL_AT", std::to_string(failAt)},
                                                 {"QUINTOR_FAIL_UNDER", folder.string()},
                                                 {"QUINTOR_FAIL_LOG", log.string()}},
                                                save.program, save.args);
    run.calls = callsIn(log);
    return run;
}

// Runs save once for each call of each kind it makes in folder, that one call failing. A
// failed write, sync or close of the new file, or a failed rename, must fail the save and
// leave the folder as it was; any other call (the folder's own sync, closing a file read)
// must not stop the save.
void expectEveryFailedCallLeavesTheOldFiles(const Save& save, const fs::path& folder) {
    const FolderContent old = contentOf(folder);
    for (const std::string kind : {"write", "fsync", "rename", "close"}) {
        SCOPED_TRACE(kind);
        putBack(folder, old);
        const Run counted = runFailing(save, folder, kind, 0);
        ASSERT_EQ(counted.result.status, 0) << counted.result.errors;
        const FolderContent saved = contentOf(folder);
        ASSERT_NE(differences(old, saved), "") << "the save changed nothing";
        ASSERT_FALSE(counted.calls.empty()) << "no " << kind << " reached the injector";
        for (std::size_t n = 1; n <= counted.calls.size(); ++n) {
            putBack(folder, old);
            const Run run = runFailing(save, folder, kind, static_cast<int>(n));
            ASSERT_GE(run.calls.size(), n);
            const Call& failed = run.calls[n - 1];
            ASSERT_TRUE(failed.failed);
            SCOPED_TRACE(std::to_string(n) + " " + failed.path.string());
            if (kind == "rename" || isTemporaryFileName(failed.path.filename().string())) {
                EXPECT_NE(run.result.status, 0);
                if (!save.message.empty()) {
                    EXPECT_EQ(run.result.errors, printed(save.message));
                }
                EXPECT_EQ(differences(old, contentOf(folder)), "");
            } else {
                EXPECT_EQ(run.result.status, 0) << run.result.errors;
                EXPECT_EQ(differences(comparable(saved), comparable(contentOf(folder))), "");
            }
        }
    }
}

} // namespace

TEST(FailingWrites, EveryCommandThatSavesKeepsTheOldFilesWhenACallFails) {
    TempFolder root(quickTempBase());
    const fs::path folder = root / "salvati";
    fs::create_directory(folder);
    const fs::path archive = root / archiveFileName;
    ASSERT_EQ(runCli({"sample-archive", archive.string(), "--draws", "300"}).status, 0);
    const std::string marked =
        writeSystem(root / "segnati.qtr", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {});
    const std::string columns =
        writeSystem(root / "colonne.qtr", {}, {{1, 2, 3, 4, 5, 6}, {5, 6, 7, 8, 9, 10}});
    writeText(root / "colonne.csv", "n1,n2,n3,n4,n5,n6\n11 22 33 44 55 66\n");
    writeText(root / "estrazioni.csv", "01/01/2400,1,2,3,4,5,6,7\n");
    const std::string out = (folder / "uscita.qtr").string();
    const std::string savedArchive = (folder / archiveFileName).string();

    struct Row {
        std::vector<std::string> args;
        std::string message;
        std::function<void()> prepare; // the old files in folder
    };
    const auto oldSystem = [&] { writeSystem(out, {40, 41}, {{40, 41, 42, 43, 44, 45}}); };
    const auto oldArchive = [&] { fs::copy_file(archive, savedArchive); };
    const std::string pdf = (folder / "schedine.pdf").string();
    const auto oldPdf = [&] { writeText(pdf, "%PDF-1.4 la stampa di ieri\n%%EOF\n"); };
    const std::string pdfFailedMessage =
        "Impossibile scrivere il file PDF specificato !\rControllare il nome e la cartella.";
    const std::vector<Row> rows = {
        // Saved in place, with filters: the system file and its filter file are both old.
        {{"import", out, (root / "colonne.csv").string()},
         systemWriteErrorMessage,
         [&] {
             oldSystem();
             writeText(filterSidecarName(out), "consecutivi<=1\r\n");
         }},
        {{"filter", columns, "--filter", "somma=21..21", "--out", out},
         systemWriteErrorMessage,
         oldSystem},
        {{"select", marked, "--archive", archive.string(), "--count", "3", "--out", out},
         systemWriteErrorMessage,
         oldSystem},
        {{"repair", marked, "--guarantee", "3", "6", "--budget", "5", "--out", out},
         systemWriteErrorMessage,
         oldSystem},
        {{"merge", savedArchive, (root / "estrazioni.csv").string()},
         saveFailedMessage,
         oldArchive},
        {{"sample-archive", savedArchive, "--draws", "310"}, saveFailedMessage, oldArchive},
        {{"print", columns, "--layout", "verticale", "--pdf", pdf}, pdfFailedMessage, oldPdf},
        {{"print", columns, "--layout", "carta", "--pdf", pdf}, pdfFailedMessage, oldPdf},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args[0]);
        for (const auto& entry : fs::directory_iterator(folder))
            fs::remove(entry.path());
        row.prepare();
        expectEveryFailedCallLeavesTheOldFiles({QUINTOR_CLI, row.args, row.message}, folder);
    }
}

TEST(FailingWrites, EveryWriterOfTheWindowsKeepsTheOldFileWhenACallFails) {
    for (const auto& writer : quintor::testing::writersUnderTest()) {
        SCOPED_TRACE(writer.file);
        TempFolder root(quickTempBase());
        const fs::path folder = root / "programma";
        fs::create_directory(folder);
        ASSERT_TRUE(writer.save(folder, 0));
        expectEveryFailedCallLeavesTheOldFiles(
            {QUINTOR_SAVE_ONE_FILE, {writer.file, folder.string(), "1"}, {}}, folder);
    }
}
