#include "core/draw_file.h"

#include "core/byte_file.h"
#include "core/conversions.h"
#include "core/text_encoding.h"

#include <system_error>
#include <utility>

namespace quintor {

namespace {

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// A draw number written as plain decimal digits, within 1..90.
std::optional<int> drawNumber(std::string_view text) {
    auto value = parseInteger(trimBlanks(text));
    if (!value || !isBoardNumber(*value))
        return std::nullopt;
    return *value;
}

// "dd/mm/yyyy" or "yyyy-mm-dd", as the CSV files of draws write them.
// The archive keeps four-digit years only: any other year could not be saved as it was read.
bool fourDigitYear(std::chrono::year_month_day date) {
    const int year = static_cast<int>(date.year());
    return year >= 1000 && year <= 9999;
}

std::optional<std::chrono::year_month_day> csvDate(std::string_view text) {
    text = trimBlanks(text);
    if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        auto year = parseInteger(text.substr(0, 4));
        auto month = parseInteger(text.substr(5, 2));
        auto day = parseInteger(text.substr(8, 2));
        if (!year || !month || !day || *month < 1 || *day < 1)
            return std::nullopt;
        const std::chrono::year_month_day date{std::chrono::year{*year},
                                               std::chrono::month{static_cast<unsigned>(*month)},
                                               std::chrono::day{static_cast<unsigned>(*day)}};
        if (!date.ok() || !fourDigitYear(date))
            return std::nullopt;
        return date;
    }
    if (text.find('/') == std::string_view::npos)
        return std::nullopt;
    auto date = parseDate(text);
    if (!date || !fourDigitYear(*date))
        return std::nullopt;
    return *date;
}

std::vector<std::string_view> splitFields(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find(separator, start);
        fields.push_back(line.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return fields;
}

} // namespace

Expected<std::string> readWholeFile(const std::filesystem::path& file, std::size_t limit) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (!error && size > limit)
        return Failure{"Il file " + file.filename().string() + " è troppo grande."};
    auto bytes = readFileBytes(file, limit);
    if (!bytes)
        return Failure{"Impossibile leggere il file " + file.filename().string() + "."};
    return std::string(bytes->begin(), bytes->end());
}

namespace {

// A first line that does not start with a digit names the fields.
bool namesFields(const std::vector<std::string_view>& fields) {
    if (fields.empty())
        return false;
    const auto first = trimBlanks(fields[0]);
    return !first.empty() && !(first.front() >= '0' && first.front() <= '9');
}

// Why the fields after a line's date are no draw, nullptr when they are one: then numbers and
// jolly hold it.
const char* csvDrawFault(const std::vector<std::string_view>& fields, Column& numbers, int& jolly) {
    if (fields.size() != 8)
        return "non contiene data, sei numeri e jolly";
    for (std::size_t k = 0; k < 6; ++k) {
        const auto n = drawNumber(fields[k + 1]);
        if (!n)
            return "numeri non compresi tra 1 e 90";
        numbers[k] = static_cast<std::uint8_t>(*n);
    }
    const auto read = drawNumber(fields[7]);
    if (!read)
        return "numeri non compresi tra 1 e 90";
    jolly = *read;
    switch (drawFault(numbers, jolly)) {
    case DrawFault::numberOutOfRange:
    case DrawFault::jollyOutOfRange:
        return "numeri non compresi tra 1 e 90";
    case DrawFault::repeatedNumber:
        return "numero ripetuto";
    case DrawFault::jollyAmongNumbers:
        return "jolly uguale a uno dei sei numeri";
    case DrawFault::none:
        break;
    }
    return nullptr;
}

// One line that is not blank: a draw, a refused line, or the names of the fields.
void readCsvLine(std::string_view line, bool first, std::size_t lineNumber, DrawFile& result) {
    const char separator = line.find(';') != std::string_view::npos ? ';' : ',';
    const auto fields = splitFields(line, separator);
    const auto date = fields.empty() ? std::nullopt : csvDate(fields[0]);
    if (first && !date && namesFields(fields))
        return;
    Column numbers{};
    int jolly = 0;
    const char* fault = !date ? "data non valida" : csvDrawFault(fields, numbers, jolly);
    if (fault) {
        ++result.rejected;
        result.rejectedLines.push_back({lineNumber, fault});
        return;
    }
    result.draws.push_back(ArchiveRecord::fromValues(*date, numbers, jolly));
}

} // namespace

DrawFile parseCsvDraws(std::string_view text) {
    DrawFile result;
    // Spreadsheets often begin a UTF-8 file with a byte-order mark: no part of the first field.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    bool first = true;
    std::size_t start = 0;
    std::size_t lineNumber = 0;
    while (start < text.size()) {
        // A line ends at LF, CR LF or a lone CR; the LF of a CR LF ends no line of its own.
        if (start > 0 && text[start - 1] == '\r' && text[start] == '\n') {
            ++start;
            continue;
        }
        ++lineNumber;
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = trimBlanks(text.substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        readCsvLine(line, std::exchange(first, false), lineNumber, result);
    }
    return result;
}

Expected<DrawFile> readDrawFile(const std::filesystem::path& file) {
    auto bytes = readWholeFile(file, maxDrawFileBytes);
    if (!bytes)
        return Failure{bytes.error()};
    std::string& text = *bytes;
    // Spreadsheets save "Unicode text" as UTF-16 with a byte-order mark.
    if (auto decoded = utf8FromUtf16(text))
        text = std::move(*decoded);
    // Archive records hold only digits, blanks and slashes: a line end or a field separator
    // can only come from a CSV file.
    if (text.find_first_of("\r\n,;") != std::string::npos) {
        // Zero bytes between the characters: a text in an encoding this reader does not know,
        // whose every line would be counted as a wrong draw.
        if (text.find('\0') != std::string::npos)
            return Failure{"Il file " + file.filename().string() +
                           " non è un file di testo.\rNessuna estrazione è stata aggiunta."};
        return parseCsvDraws(text);
    }
    DrawFile result;
    result.draws = archiveRecordsFromBytes(text);
    if (text.size() % archiveRecordSize != 0)
        ++result.rejected;
    return result;
}

} // namespace quintor
