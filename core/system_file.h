#pragma once

#include "core/system_state.h"

#include <filesystem>

namespace quintor {

inline constexpr std::size_t systemHeaderSize = 791;

// Reads a system file into state (all but the file name). On failure the state is as a
// failed read leaves it: no final columns, no marked numbers, whatever else was read kept.
bool CARICA_SISTEMA(const std::filesystem::path& file, SystemState& state);

// Writes the system to file through a temporary file in the same folder, so a failed write
// leaves the previous file whole. Does not touch the modified flag or the recent-files list.
bool SALVA_SISTEMA(const std::filesystem::path& file, const SystemState& state);

// Only the final columns of a system file (the column import reads these). A file shorter
// than the header holds no columns; a trailing partial column is left out.
bool readSystemColumns(const std::filesystem::path& file, std::vector<Column>& columns);

} // namespace quintor
