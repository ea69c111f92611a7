#include "cli/system_update.h"

#include "core/system_file.h"

#include <optional>

namespace quintor::cli {

namespace {

// Each save that finds the file changed means another program saved in between; with the
// folder's lock serialising the saves, one of them always gets through, so a command that
// loses this many times in a row is up against something that never stops writing.
constexpr int attemptsAgainstOtherSaves = 50;

} // namespace

int updateSystemFile(const std::string& file, const std::string& target,
                     const std::function<int(SystemState& system)>& change) {
    for (int attempt = 0; attempt < attemptsAgainstOtherSaves; ++attempt) {
        SystemState system;
        std::optional<DiskVersion> base;
        if (!readSystemFile(file, system, base))
            return refuse(unreadableSystemMessage);
        if (const int status = change(system); status != ok)
            return status;
        switch (saveSystemFile(target, system, base)) {
        case SystemSaveResult::saved:
            return ok;
        case SystemSaveResult::busy:
            return refuse(systemBusyMessage);
        case SystemSaveResult::failed:
            return refuse(systemWriteErrorMessage);
        case SystemSaveResult::changedOnDisk:
            break;
        }
    }
    return refuse(systemChangedMessage);
}

} // namespace quintor::cli
