#pragma once

#include "core/system_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace quintor::testing {

struct CliResult {
    int status = -1;
    std::vector<std::string> lines;
    std::string errors;
};

inline std::string slurpFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string shellQuoted(const std::string& word) {
    std::string text = "'";
    for (char c : word)
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

// Runs the command-line program with args; its output files go to folder.
inline CliResult runCli(const std::filesystem::path& folder, const std::vector<std::string>& args) {
    std::string command = shellQuoted(QUINTOR_CLI);
    for (const auto& arg : args)
        command += " " + shellQuoted(arg);
    command += " >" + shellQuoted((folder / "out.txt").string()) + " 2>" +
               shellQuoted((folder / "err.txt").string());
    CliResult run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::istringstream lines(slurpFile(folder / "out.txt"));
    for (std::string line; std::getline(lines, line);)
        run.lines.push_back(line);
    run.errors = slurpFile(folder / "err.txt");
    return run;
}

// A system file with these marks and final columns.
inline std::string writeSystem(const std::filesystem::path& file, const std::vector<int>& marked,
                               const std::vector<Column>& finals) {
    SystemState state;
    for (int n : marked)
        state.marked[static_cast<std::size_t>(n)] = 1;
    state.finalColumns = finals;
    EXPECT_TRUE(SALVA_SISTEMA(file, state));
    return file.string();
}

// The program's message as the command line prints it.
inline std::string printed(std::string message) {
    for (char& c : message)
        if (c == '\r')
            c = '\n';
    return message + "\n";
}

} // namespace quintor::testing
