#pragma once

#include "core/archive.h"
#include "core/system_file.h"
#include "tests/support/cli_runner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace quintor::testing {

// A system file with these marks and final columns.
inline std::string writeSystem(const std::filesystem::path& file, const std::vector<int>& marked,
                               const std::vector<Column>& finals) {
    SystemState state;
    for (int n : marked)
        state.marked[static_cast<std::size_t>(n)] = 1;
    state.finalColumns = finals;
    EXPECT_TRUE(writeSystemFile(file, state));
    return file.string();
}

// archive written as the archive file of folder; its path.
inline std::string writeArchive(const std::filesystem::path& folder, const Archive& archive) {
    const auto file = folder / "vincenti.dat";
    std::ofstream(file, std::ios::binary) << archive.fileBytes();
    return file.string();
}

// The program's message as the command line prints it.
inline std::string printed(std::string message) {
    for (char& c : message)
        if (c == '\r')
            c = '\n';
    return message + "\n";
}

// program run with library loaded ahead of everything else (LD_PRELOAD) and these
// environment variables set for it alone.
inline CliResult runPreloaded(const std::string& library,
                              const std::vector<std::pair<std::string, std::string>>& variables,
                              const std::string& program, const std::vector<std::string>& args) {
    const char* asan = std::getenv("ASAN_OPTIONS");
    const std::string asanBefore = asan ? asan : "";
    // The library is loaded ahead of the sanitizers' runtime in a sanitized build.
    ::setenv("ASAN_OPTIONS", (asanBefore + ":verify_asan_link_order=0").c_str(), 1);
    for (const auto& [name, value] : variables)
        ::setenv(name.c_str(), value.c_str(), 1);
    ::setenv("LD_PRELOAD", library.c_str(), 1);
    CliResult result = runProgram(program, args);
    ::unsetenv("LD_PRELOAD");
    for (const auto& variable : variables)
        ::unsetenv(variable.first.c_str());
    if (asan)
        ::setenv("ASAN_OPTIONS", asanBefore.c_str(), 1);
    else
        ::unsetenv("ASAN_OPTIONS");
    return result;
}

} // namespace quintor::testing
