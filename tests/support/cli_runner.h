#pragma once

#include <string>
#include <vector>

namespace quintor::testing {

struct CliResult {
    int status = -1;                // exit code; -1 when the program did not exit normally
    std::string out;                // stdout, byte for byte
    std::vector<std::string> lines; // stdout split at '\n'
    std::string errors;             // stderr
};

// Starts executable with args (no shell in between, so no quoting), waits for it and returns
// what it wrote and its exit code. stdin is empty.
CliResult runProgram(const std::string& executable, const std::vector<std::string>& args);

#ifdef QUINTOR_CLI
// quintor-cli with args.
inline CliResult runCli(const std::vector<std::string>& args) {
    return runProgram(QUINTOR_CLI, args);
}
#endif

} // namespace quintor::testing
