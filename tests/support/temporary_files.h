#pragma once

#include "core/byte_file.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quintor::testing {

// The names of the temporary files that saves left in folder, in order: none once a save has
// ended, however it ended.
inline std::vector<std::string> temporaryFilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (isTemporaryFileName(entry.path().filename().string()))
            names.push_back(entry.path().filename().string());
    std::ranges::sort(names);
    return names;
}

// The process number of a process that has ended, for the temporary file name of a save that
// was killed: no process holds that number now.
inline pid_t endedProcessId() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

} // namespace quintor::testing
