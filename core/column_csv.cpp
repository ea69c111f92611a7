#include "core/column_csv.h"

#include "core/byte_file.h"
#include "core/column_editing.h"
#include "core/text_encoding.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace quintor {

namespace {

void appendNumbers(std::string& out, const Column& column, char separator) {
    for (int i = 0; i < 6; ++i) {
        if (i)
            out += separator;
        out += std::to_string(column[i]);
    }
}

bool isSeparator(char c) {
    return c == ',' || c == ';' || c == '\t' || c == ' ';
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Six different numbers 1..90 from one line, or the reason they are not there.
Expected<Column> readColumnLine(std::string_view line) {
    Column column{};
    int count = 0;
    std::size_t at = 0;
    while (at < line.size()) {
        if (isSeparator(line[at])) {
            ++at;
            continue;
        }
        const std::size_t end =
            std::find_if(line.begin() + at, line.end(), isSeparator) - line.begin();
        const std::string_view piece = line.substr(at, end - at);
        int value = 0;
        const auto [stop, error] =
            std::from_chars(piece.data(), piece.data() + piece.size(), value);
        if (error != std::errc{} || stop != piece.data() + piece.size())
            return Failure{"\"" + std::string(piece.substr(0, 20)) + "\" non è un numero"};
        if (!isBoardNumber(value))
            return Failure{std::to_string(value) + " non è compreso tra 1 e 90"};
        if (count == 6)
            return Failure{"più di sei numeri"};
        if (std::find(column.begin(), column.begin() + count, value) != column.begin() + count)
            return Failure{std::to_string(value) + " è ripetuto"};
        column[count++] = static_cast<std::uint8_t>(value);
        at = end;
    }
    if (count < 6)
        return Failure{"meno di sei numeri"};
    return column;
}

} // namespace

std::string columnsCsv(const std::vector<Column>& columns) {
    std::string out = columnsCsvHeader;
    out += '\n';
    out.reserve(out.size() + columns.size() * 18);
    for (const Column& column : columns) {
        appendNumbers(out, column, ';');
        out += '\n';
    }
    return out;
}

std::string columnsText(const std::vector<Column>& columns) {
    std::string out;
    out.reserve(columns.size() * (columnTextLength + 1));
    for (const Column& column : columns) {
        out += formatColumn(column);
        out += '\n';
    }
    return out;
}

Expected<ColumnFile> parseColumnFile(std::string_view text) {
    // Spreadsheets save "Unicode text" as UTF-16 with a byte-order mark.
    const auto decoded = utf8FromUtf16(text);
    if (decoded)
        text = *decoded;
    if (text.find('\0') != std::string_view::npos)
        return Failure{notTextMessage};
    ColumnFile file;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        if (end == std::string_view::npos)
            text = {};
        else
            text.remove_prefix(end + (text.substr(end).starts_with("\r\n") ? 2 : 1));
        ++lineNumber;
        if (line.starts_with("\xEF\xBB\xBF"))
            line.remove_prefix(3); // a byte-order mark some spreadsheets write
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos)
            continue;
        if (lineNumber == 1 && isLetter(line[first]))
            continue;
        auto column = readColumnLine(line);
        if (column) {
            file.columns.push_back(*column);
            continue;
        }
        if (file.refused.size() < refusedLinesKept)
            file.refused.push_back({lineNumber, column.error()});
        ++file.refusedCount;
    }
    return file;
}

Expected<ColumnFile> readColumnFile(const std::filesystem::path& file) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (!error && size > columnFileLimit)
        return Failure{columnFileTooLargeMessage};
    const auto bytes = readFileBytes(file, columnFileLimit);
    if (!bytes)
        return Failure{"Impossibile leggere dal file specificato!\rCorreggere e riprovare."};
    return parseColumnFile(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

ColumnImportCounts appendColumnFile(SystemState& state, const ColumnFile& file) {
    ColumnImportCounts counts;
    counts.refused = file.refusedCount;
    if (file.columns.empty())
        return counts;
    counts.added = static_cast<std::size_t>(importColumns(state, file.columns));
    counts.duplicates = file.columns.size() - counts.added;
    return counts;
}

std::string columnImportReport(const ColumnImportCounts& counts,
                               const std::vector<RefusedLine>& refused) {
    std::string text = "Colonne aggiunte: " + std::to_string(counts.added) +
                       "\rGià presenti: " + std::to_string(counts.duplicates) +
                       "\rScartate: " + std::to_string(counts.refused);
    for (const auto& line : refused)
        text += "\rRiga " + std::to_string(line.line) + ": " + line.reason;
    if (counts.refused > refused.size())
        text += "\r...";
    return text;
}

std::string drawsCsv(const std::vector<ArchiveRecord>& records) {
    std::string out = "data,n1,n2,n3,n4,n5,n6,jolly\n";
    for (const auto& record : records) {
        out += record.date;
        out += ',';
        appendNumbers(out, record.numbers, ',');
        out += ',';
        out += std::to_string(record.jollyNumber);
        out += '\n';
    }
    return out;
}

bool exportColumnsFile(const std::filesystem::path& file, const std::vector<Column>& columns) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return replaceFileContents(file,
                               extension == ".txt" ? columnsText(columns) : columnsCsv(columns));
}

bool exportDrawsCsv(const std::filesystem::path& file, const std::vector<ArchiveRecord>& records) {
    return replaceFileContents(file, drawsCsv(records));
}

} // namespace quintor
