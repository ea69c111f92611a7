#pragma once

#include "core/archive.h"
#include "core/column.h"
#include "core/expected.h"
#include "core/system_state.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

inline constexpr const char* columnsCsvHeader = "n1;n2;n3;n4;n5;n6";
inline constexpr const char* notTextMessage =
    "Il file specificato non è un file di testo.\rNessuna colonna è stata importata.";
inline constexpr const char* columnFileTooLargeMessage =
    "Il file specificato è troppo grande.\rNessuna colonna è stata importata.";
inline constexpr const char* exportFailedMessage =
    "Impossibile scrivere sul file specificato !\rControllare il nome e riprovare.";
// Column files larger than this are refused before they are read.
inline constexpr std::size_t columnFileLimit = std::size_t{256} * 1024 * 1024;

// The final columns as CSV: the header, then one line a column, its six numbers in stored
// order separated by ";".
std::string columnsCsv(const std::vector<Column>& columns);
// The final columns as their column texts, one a line.
std::string columnsText(const std::vector<Column>& columns);

// A line of a column file that could not be read as a column.
struct RefusedLine {
    std::size_t line = 0; // 1 for the first line of the file
    std::string reason;
};

// The columns of a CSV or text file: separators ",", ";", tab or blanks; a first line that
// begins with a letter is a header; blank lines are ignored; every other line must hold six
// different numbers 1..90, kept in the given order.
struct ColumnFile {
    std::vector<Column> columns;
    std::vector<RefusedLine> refused; // the first few refused lines, for the report
    std::size_t refusedCount = 0;
};
inline constexpr std::size_t refusedLinesKept = 10;
Expected<ColumnFile> parseColumnFile(std::string_view text);
Expected<ColumnFile> readColumnFile(const std::filesystem::path& file);

// What appending the columns of a file did.
struct ColumnImportCounts {
    std::size_t added = 0;
    std::size_t duplicates = 0; // already listed, or earlier in the file
    std::size_t refused = 0;
};
ColumnImportCounts appendColumnFile(SystemState& state, const ColumnFile& file);

// The report shown after an import, with the first refused lines and their reasons.
std::string columnImportReport(const ColumnImportCounts& counts,
                               const std::vector<RefusedLine>& refused);

// The draws of the archive as CSV that the archive's CSV import reads back:
// "data,n1,n2,n3,n4,n5,n6,jolly", then one draw a line, dates as dd/mm/yyyy.
std::string drawsCsv(const std::vector<ArchiveRecord>& records);

// The exports, written through replaceFileContents: the final columns as their texts to a
// ".txt" file (in any letter case), as columnsCsv to any other; the draws as drawsCsv.
bool exportColumnsFile(const std::filesystem::path& file, const std::vector<Column>& columns);
bool exportDrawsCsv(const std::filesystem::path& file, const std::vector<ArchiveRecord>& records);

} // namespace quintor
