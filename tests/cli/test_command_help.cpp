#include "tests/cli/cli_support.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

using quintor::testing::CliResult;
using quintor::testing::runCli;
using quintor::testing::TempFolder;

namespace {

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// The command names of the list `quintor-cli --help` prints.
std::vector<std::string> listedCommands(const CliResult& help) {
    std::vector<std::string> names;
    bool inList = false;
    for (const std::string& line : help.lines) {
        if (line == "comandi:")
            inList = true;
        else if (line.empty())
            inList = false;
        else if (inList)
            names.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
    return names;
}

// The command names of the short usage a call without a command prints.
std::vector<std::string> dispatchedCommands() {
    const CliResult run = runCli({});
    EXPECT_EQ(run.status, 64);
    std::istringstream lines(run.errors);
    std::string line;
    std::vector<std::string> names;
    while (std::getline(lines, line))
        if (line.starts_with("comandi:")) {
            std::istringstream words(line.substr(8));
            for (std::string word; words >> word;)
                names.push_back(word);
        }
    return names;
}

} // namespace

// The help is a second description of the commands beside the code that reads the arguments:
// every command the program runs is listed, and the usage line its help shows is the one the
// command itself prints when it is called wrongly.
TEST(CliHelp, ListsEveryCommandWithTheUsageItEnforces) {
    const CliResult help = runCli({"--help"});
    ASSERT_EQ(help.status, 0) << help.errors;
    const std::vector<std::string> names = listedCommands(help);
    EXPECT_EQ(names, dispatchedCommands());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const CliResult commandHelp = runCli({name, "--help"});
        EXPECT_EQ(commandHelp.status, 0) << commandHelp.errors;
        const CliResult wrong = runCli({name});
        EXPECT_EQ(wrong.status, 64) << wrong.errors;
        EXPECT_EQ(firstLine(commandHelp.out), firstLine(wrong.errors));
    }
}

#ifdef QUINTOR_PRINT_TOOL
// Installed, quintor-cli is in bin/ and its PDF painter in lib/quintor/: print finds it there
// from its own folder, and names the folder when it is missing.
TEST(CliHelp, PrintFindsItsPainterInTheInstalledLayout) {
    namespace fs = std::filesystem;
    TempFolder folder;
    const fs::path bin = folder / "usr/bin";
    fs::create_directories(bin);
    fs::copy_file(QUINTOR_CLI, bin / "quintor-cli");
    const std::string system =
        quintor::testing::writeSystem(folder / "s.qtr", {1, 2, 3, 4, 5, 6}, {{1, 2, 3, 4, 5, 6}});
    const std::vector<std::string> args{"print", system,  "--layout",
                                        "carta", "--pdf", (folder / "s.pdf").string()};

    CliResult run = quintor::testing::runProgram((bin / "quintor-cli").string(), args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find((folder / "usr/lib/quintor").string()), std::string::npos)
        << run.errors;

    fs::create_directories(folder / "usr/lib/quintor");
    fs::create_symlink(QUINTOR_PRINT_TOOL, folder / "usr/lib/quintor/quintor-print");
    run = quintor::testing::runProgram((bin / "quintor-cli").string(), args);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(fs::exists(folder / "s.pdf"));
}
#endif
