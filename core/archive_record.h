#pragma once

// One past draw as the archive file keeps it: the 29-byte record, and the draw typed in the
// archive window.
#include "core/column.h"
#include "core/expected.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

inline constexpr std::size_t archiveRecordSize = 29;
inline constexpr std::size_t archiveDateLength = 10;
inline constexpr std::size_t archiveJollyLength = 3; // in memory; the file keeps the last two

// What keeps six numbers and a jolly from being a real draw (six distinct numbers 1..90 and a
// jolly 1..90 that is not one of them); the first fault found, in this order.
enum class DrawFault { none, numberOutOfRange, jollyOutOfRange, repeatedNumber, jollyAmongNumbers };
DrawFault drawFault(const Column& numbers, int jolly);

// One past draw, as the archive keeps it: the three texts exactly as stored, and the six
// numbers and the jolly read once from them for the engines.
struct ArchiveRecord {
    std::string date;   // "dd/mm/yyyy"
    std::string column; // 17-character column text
    std::string jolly;  // a blank and the jolly in two characters (3 characters)
    Column numbers{};   // parseColumn of the column text
    std::uint8_t jollyNumber = 0;
    // The date text read as a date once, so that ordering never re-parses; empty when the
    // text is not a date (possible only for records read from a damaged file).
    std::optional<std::chrono::sys_days> day;

    // A record from the three texts as a file holds them (the jolly in two characters);
    // the numbers are read from the texts, nothing is checked.
    static ArchiveRecord fromFileFields(std::string_view date, std::string_view column,
                                        std::string_view jolly2);
    // A record built from values: the texts are the program's own forms of them.
    static ArchiveRecord fromValues(std::chrono::year_month_day date, const Column& numbers,
                                    int jolly);

    // A record whose date converts and whose texts hold six distinct numbers 1..90 and a
    // jolly 1..90 apart from them: the only kind that a merge or an import may add.
    bool isValidDraw() const;
};

// Converts what the user typed in the entry box: the date, the six numbers, the jolly.
// Conversion failures give the runtime's message; a column with fewer than six numbers or a
// repeated number, a number or a jolly outside 1..90, a jolly among the six, or a date that does
// not fit the ten-character text give an Italian message. Either way nothing has been changed.
Expected<ArchiveRecord> recordFromEntry(std::string_view dateText, std::string_view columnText,
                                        std::string_view jollyText);

inline constexpr const char* entryColumnMessage =
    "La colonna deve contenere sei numeri compresi tra 1 e 90,\rseparati da uno spazio.";
inline constexpr const char* entryJollyMessage = "Il numero Jolly deve essere compreso tra 1 e 90.";
inline constexpr const char* entryRepeatedMessage =
    "La colonna non può contenere due volte lo stesso numero.";
inline constexpr const char* entryJollyRepeatedMessage =
    "Il numero Jolly deve essere diverso dai sei numeri della colonna.";
// Italian weekday name of a date: "Domenica" .. "Sabato".
std::string weekdayName(std::chrono::year_month_day date);

// The file's form of a record: ten characters of date, seventeen of column and the jolly in
// two, blank-padded or cut to fit; the archive file is these records one after another.
std::string archiveRecordImage(const ArchiveRecord& record);
std::string archiveImage(const std::vector<ArchiveRecord>& records);
// The whole records of bytes; a trailing partial record is left out.
std::vector<ArchiveRecord> archiveRecordsFromBytes(std::string_view bytes);

} // namespace quintor
