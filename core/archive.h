#pragma once

#include "core/column.h"
#include "core/expected.h"

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace quintor {

inline constexpr std::size_t archiveRecordSize = 29;

// One past draw, as the archive keeps it: the three texts exactly as stored, and the six
// numbers and the jolly read once from them for the engines.
struct ArchiveRecord {
    std::string date;   // "dd/mm/yyyy"
    std::string column; // 17-character column text
    std::string jolly;  // a blank and the jolly in two characters (3 characters)
    Column numbers{};   // LEGGI_COLONNA of the column text
    std::uint8_t jollyNumber = 0;
};

// The archive of winning columns, oldest first.
class Archive {
public:
    const std::vector<ArchiveRecord>& records() const { return records_; }
    std::size_t size() const { return records_.size(); }

    // The newest draws' numbers, newest first, at most limit of them: what the scoring,
    // the selection and the statistics read.
    std::vector<Column> newestFirst(std::size_t limit) const;

    // Reads 29-byte records; a trailing partial record is ignored. A missing file is an
    // empty archive.
    static Archive load(const std::filesystem::path& file);

    // More operations (insert in date order, duplicate test, delete, save, merge) live with
    // the archive window's logic.
    std::vector<ArchiveRecord>& mutableRecords() { return records_; }

private:
    std::vector<ArchiveRecord> records_;
};

} // namespace quintor
