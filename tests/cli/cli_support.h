#pragma once

#include "core/system_file.h"
#include "tests/support/cli_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
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

// The program's message as the command line prints it.
inline std::string printed(std::string message) {
    for (char& c : message)
        if (c == '\r')
            c = '\n';
    return message + "\n";
}

} // namespace quintor::testing
