#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>

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

// Starts executable with args (no shell in between) without waiting for it: its stdout goes
// to output, its stderr nowhere. Returns its process number, -1 when it could not start.
pid_t startProgram(const std::string& executable, const std::vector<std::string>& args,
                   const std::filesystem::path& output = "/dev/null");
// Waits for the program started as child; its exit code, -1 when it did not exit normally.
int waitForExit(pid_t child);

#ifdef QUINTOR_CLI
// quintor-cli with args.
inline CliResult runCli(const std::vector<std::string>& args) {
    return runProgram(QUINTOR_CLI, args);
}
// quintor-cli command with args.
inline CliResult runCliCommand(const std::string& command, std::vector<std::string> args) {
    args.insert(args.begin(), command);
    return runCli(args);
}
inline pid_t startCli(const std::vector<std::string>& args,
                      const std::filesystem::path& output = "/dev/null") {
    return startProgram(QUINTOR_CLI, args, output);
}
#endif

} // namespace quintor::testing
