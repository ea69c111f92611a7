#pragma once

#include "cli/cli_common.h"
#include "core/system_state.h"

#include <functional>
#include <string>

namespace quintor::cli {

// Reads the system file, lets change turn it into the system to save (returning ok, or the
// status that ends the command once change has printed why), and saves it to target: the file
// itself, or the one --out names. When another program saves the file between the read and
// the save, the work is done again on what that program saved, so that its change is kept
// rather than overwritten; the command is refused only when that keeps happening. Returns ok
// once the system is saved; nothing has been printed on stdout then, so the caller prints the
// result of the last run of change.
int updateSystemFile(const std::string& file, const std::string& target,
                     const std::function<int(SystemState& system)>& change);

} // namespace quintor::cli
