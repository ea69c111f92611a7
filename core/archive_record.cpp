#include "core/archive_record.h"

#include "core/conversions.h"

#include <algorithm>
#include <array>

namespace quintor {

namespace {

std::optional<std::chrono::sys_days> dayOf(std::string_view dateText) {
    auto date = parseDate(dateText);
    if (!date)
        return std::nullopt;
    return std::chrono::sys_days{*date};
}

// Exactly width characters: what a fixed-width file field needs whatever the text holds.
void appendField(std::string& out, std::string_view text, std::size_t width) {
    const std::size_t used = std::min(text.size(), width);
    out.append(text.substr(0, used));
    out.append(width - used, ' ');
}

} // namespace

DrawFault drawFault(const Column& numbers, int jolly) {
    if (!std::all_of(numbers.begin(), numbers.end(),
                     [](std::uint8_t n) { return isBoardNumber(n); }))
        return DrawFault::numberOutOfRange;
    if (!isBoardNumber(jolly))
        return DrawFault::jollyOutOfRange;
    std::array<bool, 91> seen{};
    for (std::uint8_t n : numbers) {
        if (seen[n])
            return DrawFault::repeatedNumber;
        seen[n] = true;
    }
    return seen[static_cast<std::size_t>(jolly)] ? DrawFault::jollyAmongNumbers : DrawFault::none;
}

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A two-character number field as the program writes it (" 7", "42"; "07" reads the same).
std::optional<int> twoDigitField(std::string_view field) {
    if (field.size() != 2 || !isDigit(field[1]) || (field[0] != ' ' && !isDigit(field[0])))
        return std::nullopt;
    return (field[0] == ' ' ? 0 : field[0] - '0') * 10 + (field[1] - '0');
}

// Reading a long archive is mostly reading texts of the program's own fixed forms, so those
// are read directly; any other text goes through the general conversions, which give the
// same values for these forms.
std::optional<Column> columnOfProgramForm(std::string_view text) {
    if (text.size() != static_cast<std::size_t>(columnTextLength))
        return std::nullopt;
    Column column{};
    for (std::size_t i = 0; i < column.size(); ++i) {
        if (i > 0 && text[3 * i - 1] != ' ')
            return std::nullopt;
        const auto number = twoDigitField(text.substr(3 * i, 2));
        if (!number)
            return std::nullopt;
        column[i] = static_cast<std::uint8_t>(*number);
    }
    return column;
}

std::optional<std::optional<std::chrono::sys_days>> dayOfProgramForm(std::string_view text) {
    if (text.size() != archiveDateLength || text[2] != '/' || text[5] != '/')
        return std::nullopt;
    int values[3] = {0, 0, 0};
    for (std::size_t i = 0, part = 0; i < text.size(); ++i) {
        if (i == 2 || i == 5) {
            ++part;
            continue;
        }
        if (!isDigit(text[i]))
            return std::nullopt;
        values[part] = values[part] * 10 + (text[i] - '0');
    }
    const std::chrono::year_month_day date{std::chrono::year{values[2]},
                                           std::chrono::month{static_cast<unsigned>(values[1])},
                                           std::chrono::day{static_cast<unsigned>(values[0])}};
    if (values[0] < 1 || values[1] < 1 || values[2] < 1 || !date.ok())
        return std::optional<std::chrono::sys_days>{};
    return std::optional<std::chrono::sys_days>{std::chrono::sys_days{date}};
}

} // namespace

ArchiveRecord ArchiveRecord::fromFileFields(std::string_view date, std::string_view column,
                                            std::string_view jolly2) {
    ArchiveRecord record;
    record.date = std::string(date);
    record.column = std::string(column);
    record.jolly = " " + std::string(jolly2);
    if (auto numbers = columnOfProgramForm(column))
        record.numbers = *numbers;
    else if (auto read = parseColumn(column, Column{}))
        record.numbers = *read;
    if (auto jolly = twoDigitField(jolly2))
        record.jollyNumber = static_cast<std::uint8_t>(*jolly);
    else if (auto read = parseIntegerIgnoringBlanks(jolly2); read && *read >= 0 && *read <= 255)
        record.jollyNumber = static_cast<std::uint8_t>(*read);
    if (auto day = dayOfProgramForm(date))
        record.day = *day;
    else
        record.day = dayOf(date);
    return record;
}

ArchiveRecord ArchiveRecord::fromValues(std::chrono::year_month_day date, const Column& numbers,
                                        int jolly) {
    ArchiveRecord record;
    record.date = formatDate(date);
    record.column = formatColumn(numbers);
    record.jolly = " " + twoDigitText(jolly);
    record.numbers = numbers;
    record.jollyNumber = static_cast<std::uint8_t>(jolly);
    record.day = std::chrono::sys_days{date};
    return record;
}

bool ArchiveRecord::isValidDraw() const {
    if (!day || date.size() != archiveDateLength || column.size() != columnTextLength ||
        jolly.size() != archiveJollyLength)
        return false;
    // The text must hold six numbers of its own; bytes left over from nothing do not count.
    auto parsed = parseColumn(column, Column{0, 0, 0, 0, 0, 0});
    if (!parsed || *parsed != numbers)
        return false;
    return drawFault(numbers, jollyNumber) == DrawFault::none;
}

namespace {

// Six blank-separated pieces of one or two characters each.
bool sixShortNumbers(std::string_view text) {
    std::size_t pieces = 0;
    std::size_t length = 0;
    for (char c : text) {
        if (c != ' ') {
            if (length++ == 0)
                ++pieces;
            if (length > 2)
                return false;
        } else {
            length = 0;
        }
    }
    return pieces == 6;
}

} // namespace

Expected<ArchiveRecord> recordFromEntry(std::string_view dateText, std::string_view columnText,
                                        std::string_view jollyText) {
    auto date = parseDate(dateText);
    if (!date)
        return Failure{date.error()};
    // A zero marks the positions that the typed text did not fill.
    auto numbers = parseColumn(columnText, Column{0, 0, 0, 0, 0, 0});
    if (!numbers)
        return Failure{numbers.error()};
    auto jolly = parseIntegerIgnoringBlanks(jollyText);
    if (!jolly)
        return Failure{jolly.error()};
    // The column reading takes six numbers of one or two characters and passes over the
    // rest: a seventh number or a third digit typed by mistake must not go unnoticed.
    if (!sixShortNumbers(columnText))
        return Failure{entryColumnMessage};
    // The file has room for a four-digit year only.
    const int year = static_cast<int>(date->year());
    if (year < 1000 || year > 9999)
        return Failure{invalidDateMessage(removeBlanks(dateText))};
    switch (drawFault(*numbers, *jolly)) {
    case DrawFault::numberOutOfRange:
        return Failure{entryColumnMessage};
    case DrawFault::jollyOutOfRange:
        return Failure{entryJollyMessage};
    case DrawFault::repeatedNumber:
        return Failure{entryRepeatedMessage};
    case DrawFault::jollyAmongNumbers:
        return Failure{entryJollyRepeatedMessage};
    case DrawFault::none:
        break;
    }
    return ArchiveRecord::fromValues(*date, *numbers, *jolly);
}

std::string weekdayName(std::chrono::year_month_day date) {
    static constexpr std::array<const char*, 7> names = {
        "Domenica", "Lunedì", "Martedì", "Mercoledì", "Giovedì", "Venerdì", "Sabato"};
    return names[std::chrono::weekday{std::chrono::sys_days{date}}.c_encoding()];
}

std::vector<ArchiveRecord> archiveRecordsFromBytes(std::string_view bytes) {
    std::vector<ArchiveRecord> records;
    records.reserve(bytes.size() / archiveRecordSize);
    for (std::size_t at = 0; at + archiveRecordSize <= bytes.size(); at += archiveRecordSize)
        records.push_back(ArchiveRecord::fromFileFields(
            bytes.substr(at, 10), bytes.substr(at + 10, 17), bytes.substr(at + 27, 2)));
    return records;
}

// A record as the file holds it is also what tells two records apart.
std::string archiveRecordImage(const ArchiveRecord& record) {
    std::string image;
    image.reserve(archiveRecordSize);
    appendField(image, record.date, 10);
    appendField(image, record.column, 17);
    const std::string_view jolly = record.jolly;
    appendField(image, jolly.size() > 2 ? jolly.substr(jolly.size() - 2) : jolly, 2);
    return image;
}

std::string archiveImage(const std::vector<ArchiveRecord>& records) {
    std::string bytes;
    bytes.reserve(records.size() * archiveRecordSize);
    for (const auto& record : records)
        bytes += archiveRecordImage(record);
    return bytes;
}

} // namespace quintor
