#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace quintor {

// The whole content of a plain file (links followed), or nothing when it is missing, is not
// a plain file, or cannot be read. At most limit bytes are read.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::filesystem::path& file,
                                                       std::size_t limit = std::size_t{64} * 1024 *
                                                                           1024 * 1024);

// Gives file exactly these bytes without ever leaving a half-written file behind: the
// bytes go to a temporary file in the same folder, which is flushed to the disk and then
// renamed over the old one. On any failure the old file is untouched and the temporary
// file is removed. A read-only file, a directory or a device is never replaced; a symbolic
// link is followed, so the file it points to gets the new content.
bool replaceFileContents(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

} // namespace quintor
