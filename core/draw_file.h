#pragma once

// Files of draws to merge into the archive: archive-format files and CSV files.
#include "core/archive_record.h"
#include "core/expected.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// The longest file of draws read: a CSV line is rarely over 40 bytes.
inline constexpr std::size_t maxDrawFileBytes = std::size_t{64} * 1024 * 1024;

// The draws of a file to merge: an archive-format file (29-byte records) or a CSV file of
// draws (date, six numbers, jolly; optional header; "," or ";"; dd/mm/yyyy or yyyy-mm-dd).
// Lines or records that cannot be draws are counted in rejected, not returned.
struct RejectedLine {
    std::size_t line = 0; // 1 for the file's first line
    std::string reason;   // Italian, for the user
};
struct DrawFile {
    std::vector<ArchiveRecord> draws;
    std::size_t rejected = 0;
    std::vector<RejectedLine> rejectedLines; // the lines of a CSV file behind rejected
};
Expected<DrawFile> readDrawFile(const std::filesystem::path& file);
// The same, from text already in memory.
DrawFile parseCsvDraws(std::string_view text);

// The whole of a file as text, refused with an Italian message naming the file when it is
// longer than limit bytes or cannot be read.
Expected<std::string> readWholeFile(const std::filesystem::path& file, std::size_t limit);

} // namespace quintor
