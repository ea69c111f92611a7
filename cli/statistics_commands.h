#pragma once

#include "core/system_state.h"

#include <string>

namespace quintor::cli {

inline constexpr const char* noFinalColumnsMessage = "Il sistema non contiene colonne finali.";

// Reads the system named on the command line; false when it cannot be read.
bool loadSystemFile(const std::string& path, SystemState& state);

} // namespace quintor::cli
