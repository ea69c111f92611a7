#pragma once

#include "tests/core/temp_folder.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace quintor::testing {

struct CliResult {
    int status = -1;
    std::vector<std::string> lines; // stdout
    std::string errors;
};

inline std::string shellQuoted(const std::string& word) {
    std::string text = "'";
    for (char c : word)
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

// Runs `executable args...` with its output captured in files of the folder.
inline CliResult runProgram(const std::string& executable, const TempFolder& folder,
                            const std::vector<std::string>& args) {
    std::string command = shellQuoted(executable);
    for (const auto& arg : args)
        command += " " + shellQuoted(arg);
    const auto out = folder / "stdout.txt";
    const auto err = folder / "stderr.txt";
    command += " >" + shellQuoted(out.string()) + " 2>" + shellQuoted(err.string());
    CliResult run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const auto outBytes = readBytes(out);
    std::istringstream lines(std::string(outBytes.begin(), outBytes.end()));
    for (std::string line; std::getline(lines, line);)
        run.lines.push_back(line);
    const auto errBytes = readBytes(err);
    run.errors.assign(errBytes.begin(), errBytes.end());
    return run;
}

} // namespace quintor::testing
