#include "core/archive.h"

#include "core/byte_file.h"
#include "core/conversions.h"

#include <algorithm>
#include <array>
#include <future>
#include <map>
#include <mutex>
#include <system_error>
#include <unordered_set>

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

// The callers read at most maxArchiveDraws records' worth of bytes.
std::vector<ArchiveRecord> recordsFromBytes(std::string_view bytes) {
    std::vector<ArchiveRecord> records;
    records.reserve(bytes.size() / archiveRecordSize);
    for (std::size_t at = 0; at + archiveRecordSize <= bytes.size(); at += archiveRecordSize)
        records.push_back(ArchiveRecord::fromFileFields(
            bytes.substr(at, 10), bytes.substr(at + 10, 17), bytes.substr(at + 27, 2)));
    return records;
}

// A record as the file holds it, which is also what tells two records apart.
std::string recordImage(const ArchiveRecord& record) {
    std::string image;
    image.reserve(archiveRecordSize);
    appendField(image, record.date, 10);
    appendField(image, record.column, 17);
    const std::string_view jolly = record.jolly;
    appendField(image, jolly.size() > 2 ? jolly.substr(jolly.size() - 2) : jolly, 2);
    return image;
}

std::string imageOf(const std::vector<ArchiveRecord>& records) {
    std::string bytes;
    bytes.reserve(records.size() * archiveRecordSize);
    for (const auto& record : records)
        bytes += recordImage(record);
    return bytes;
}

std::filesystem::path realArchivePath(const std::filesystem::path& file) {
    const auto real = linkTarget(file);
    if (!real)
        return {};
    std::error_code error;
    const auto folder = std::filesystem::weakly_canonical(
        std::filesystem::absolute(real->parent_path(), error), error);
    return error ? *real : folder / real->filename();
}

// Applies the changes that turned base into ours to theirs: records of base that ours no
// longer holds are removed from theirs, records of ours that base did not hold are added in
// date order. Nothing when an added record's date is in theirs with other numbers.
Expected<std::vector<ArchiveRecord>> applyChanges(const std::vector<ArchiveRecord>& base,
                                                  const std::vector<ArchiveRecord>& ours,
                                                  std::vector<ArchiveRecord> theirs) {
    std::map<std::string, std::size_t> unmatched;
    for (const auto& record : base)
        ++unmatched[recordImage(record)];
    std::vector<const ArchiveRecord*> added;
    for (const auto& record : ours) {
        auto found = unmatched.find(recordImage(record));
        if (found != unmatched.end() && found->second > 0)
            --found->second;
        else
            added.push_back(&record);
    }
    // What is left unmatched in base is what ours removed (or replaced).
    Archive result;
    {
        std::vector<ArchiveRecord> kept;
        kept.reserve(theirs.size());
        for (auto& record : theirs) {
            auto found = unmatched.find(recordImage(record));
            if (found != unmatched.end() && found->second > 0)
                --found->second;
            else
                kept.push_back(std::move(record));
        }
        result = Archive{std::move(kept)};
    }
    for (const ArchiveRecord* record : added) {
        const std::string image = recordImage(*record);
        const auto& records = result.records();
        if (std::any_of(records.begin(), records.end(),
                        [&](const ArchiveRecord& r) { return recordImage(r) == image; }))
            continue; // the other program added the same draw
        if (result.ce_gia(record->date) || !result.inserisci(*record))
            return Failure{archiveChangedMessage};
    }
    return result.records();
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

DrawFile parseCsvDraws(std::string_view text) {
    DrawFile result;
    // Spreadsheets often begin a UTF-8 file with a byte-order mark: no part of the first field.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    bool firstLine = true;
    std::size_t start = 0;
    std::size_t lineNumber = 0;
    auto reject = [&result, &lineNumber](const char* reason) {
        ++result.rejected;
        result.rejectedLines.push_back({lineNumber, reason});
    };
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
        const bool isFirst = firstLine;
        firstLine = false;
        const char separator = line.find(';') != std::string_view::npos ? ';' : ',';
        const auto fields = splitFields(line, separator);
        const auto date = fields.empty() ? std::nullopt : csvDate(fields[0]);
        // A first line that does not start with a digit names the fields.
        if (isFirst && !date && !fields.empty()) {
            const auto first = trimBlanks(fields[0]);
            if (!first.empty() && !(first.front() >= '0' && first.front() <= '9'))
                continue;
        }
        if (!date) {
            reject("data non valida");
            continue;
        }
        if (fields.size() != 8) {
            reject("non contiene data, sei numeri e jolly");
            continue;
        }
        Column numbers{};
        bool valid = true;
        for (std::size_t k = 0; k < 6 && valid; ++k) {
            const auto n = drawNumber(fields[k + 1]);
            valid = n.has_value();
            if (valid)
                numbers[k] = static_cast<std::uint8_t>(*n);
        }
        const auto jolly = drawNumber(fields[7]);
        if (!valid || !jolly) {
            reject("numeri non compresi tra 1 e 90");
            continue;
        }
        switch (drawFault(numbers, *jolly)) {
        case DrawFault::numberOutOfRange:
        case DrawFault::jollyOutOfRange:
            reject("numeri non compresi tra 1 e 90");
            continue;
        case DrawFault::repeatedNumber:
            reject("numero ripetuto");
            continue;
        case DrawFault::jollyAmongNumbers:
            reject("jolly uguale a uno dei sei numeri");
            continue;
        case DrawFault::none:
            break;
        }
        result.draws.push_back(ArchiveRecord::fromValues(*date, numbers, *jolly));
    }
    return result;
}

Expected<DrawFile> readDrawFile(const std::filesystem::path& file) {
    auto bytes = readWholeFile(file, maxDrawFileBytes);
    if (!bytes)
        return Failure{bytes.error()};
    const std::string& text = *bytes;
    // Archive records hold only digits, blanks and slashes: a line end or a field separator
    // can only come from a CSV file.
    if (text.find_first_of("\r\n,;") != std::string::npos)
        return parseCsvDraws(text);
    DrawFile result;
    result.draws = recordsFromBytes(text);
    if (text.size() % archiveRecordSize != 0)
        ++result.rejected;
    return result;
}

std::vector<Column> Archive::newestFirst(std::size_t limit) const {
    const std::size_t count = std::min(limit, records_.size());
    std::vector<Column> columns;
    columns.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        columns.push_back(records_[records_.size() - 1 - i].numbers);
    return columns;
}

Expected<Archive> Archive::read(const std::filesystem::path& file) {
    const auto real = realArchivePath(file);
    if (real.empty())
        return readUnlocked(file, real);
    // Saves hold the folder's lock exclusively: under the shared one the file read is the one
    // whose identity is recorded, the base that this archive's next save merges against.
    const FolderLock lock(real.parent_path(), LockKind::shared);
    return readUnlocked(file, real);
}

Expected<Archive> Archive::readUnlocked(const std::filesystem::path& file,
                                        const std::filesystem::path& real) {
    const auto identity = real.empty() ? std::nullopt : fileIdentity(real);
    if (identity && !identity->exists) {
        Archive empty;
        empty.disk_ = DiskCopy{real, *identity, {}};
        return empty;
    }
    auto bytes = readWholeFile(real.empty() ? file : real, maxArchiveDraws * archiveRecordSize);
    if (!bytes)
        return Failure{bytes.error()};
    Archive archive{recordsFromBytes(*bytes)};
    // The identity is the one from before the read: a program writing without the lock that
    // changed the file meanwhile makes the next save merge rather than replace.
    if (identity)
        archive.disk_ = DiskCopy{real, *identity, std::move(bytes.value())};
    return archive;
}

Archive Archive::load(const std::filesystem::path& file) {
    auto archive = read(file);
    return archive ? std::move(archive.value()) : Archive{};
}

bool Archive::ce_gia(std::string_view dateText) const {
    return std::any_of(records_.begin(), records_.end(),
                       [&](const ArchiveRecord& r) { return r.date == dateText; });
}

Expected<std::size_t> Archive::inserisci(ArchiveRecord record) {
    if (!record.day)
        return Failure{invalidDateMessage(removeBlanks(record.date))};
    const auto newDay = *record.day;
    if (records_.empty()) {
        records_.push_back(std::move(record));
        return std::size_t{0};
    }
    const auto& last = records_.back();
    if (!last.day)
        return Failure{invalidDateMessage(removeBlanks(last.date))};
    if (newDay >= *last.day) {
        records_.push_back(std::move(record));
        return records_.size() - 1;
    }
    // Modified records keep their place, so the archive need not be sorted: the first record
    // on or after the new date is found by scanning, and every date passed must convert.
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const auto& day = records_[i].day;
        if (!day)
            return Failure{invalidDateMessage(removeBlanks(records_[i].date))};
        if (*day >= newDay) {
            records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(i), std::move(record));
            return i;
        }
    }
    records_.push_back(std::move(record)); // not reached: the last record qualifies
    return records_.size() - 1;
}

void Archive::replace(std::size_t index, ArchiveRecord record) {
    if (index < records_.size())
        records_[index] = std::move(record);
}

Expected<std::size_t> Archive::remove(std::size_t first, std::size_t last) {
    if (first > last || last >= records_.size())
        return Failure{"Selezione non valida."};
    const std::size_t count = last - first + 1;
    if (records_.size() - count < 3)
        return Failure{tooFewLeftMessage};
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(first),
                   records_.begin() + static_cast<std::ptrdiff_t>(last + 1));
    return count;
}

MergeCounts Archive::merge(const std::vector<ArchiveRecord>& draws) {
    MergeCounts counts;
    std::unordered_set<std::string> present;
    present.reserve(records_.size() + draws.size());
    for (const auto& record : records_)
        present.insert(record.date);
    // A bad draw is set aside before anything moves, so the archive never holds half a merge
    // that a later failure would leave unsaved.
    for (const auto& draw : draws) {
        if (!draw.isValidDraw()) {
            ++counts.rejected;
            continue;
        }
        if (present.count(draw.date)) {
            ++counts.present;
            continue;
        }
        if (!inserisci(draw)) {
            ++counts.rejected; // an archive record whose date does not convert stands in the way
            continue;
        }
        present.insert(draw.date);
        ++counts.added;
    }
    return counts;
}

std::string Archive::fileBytes() const {
    return imageOf(records_);
}

Expected<std::size_t> Archive::permanenti(const std::filesystem::path& file) {
    const auto real = realArchivePath(file);
    if (real.empty())
        return Failure{saveFailedMessage};
    // Every program saving this archive takes the same lock, so the check below and the
    // rename that follows it are one step for the others.
    FolderLock lock(real.parent_path());
    if (!lock.locked()) {
        // A folder that is not there cannot be locked either, and waiting will not help.
        std::error_code error;
        return Failure{std::filesystem::is_directory(real.parent_path(), error)
                           ? archiveBusyMessage
                           : saveFailedMessage};
    }
    const auto onDisk = fileIdentity(real);
    if (!onDisk)
        return Failure{saveFailedMessage};
    std::optional<std::vector<ArchiveRecord>> merged;
    // Without a base (an archive built in memory, or a file read while it was being
    // replaced, or another file) the file is simply replaced.
    if (disk_ && disk_->file == real && !(disk_->identity == *onDisk)) {
        auto theirs = readUnlocked(real, real); // this save holds the lock already
        if (!theirs)
            return Failure{archiveChangedMessage};
        auto applied = applyChanges(recordsFromBytes(disk_->bytes), records_,
                                    std::move(theirs.value().records_));
        if (!applied)
            return Failure{applied.error()};
        merged = std::move(applied.value());
    }
    std::string bytes = merged ? imageOf(*merged) : fileBytes();
    if (!replaceFileContents(real, bytes, archiveTemporaryName))
        return Failure{saveFailedMessage};
    mergedOnLastSave_ = merged.has_value();
    if (merged)
        records_ = std::move(*merged);
    const auto saved = fileIdentity(real);
    if (saved)
        disk_ = DiskCopy{real, *saved, std::move(bytes)};
    else
        disk_.reset();
    return records_.size();
}

Archive simulatedArchive(std::size_t count, std::uint32_t seed) {
    using namespace std::chrono;
    RandomGenerator random(seed);
    count = std::min(count, maxArchiveDraws);
    std::vector<ArchiveRecord> records;
    records.reserve(count);
    sys_days day = sys_days{year{2009} / January / 3}; // a Saturday
    for (std::size_t i = 0; i < count; ++i) {
        std::array<bool, 91> taken{};
        Column numbers{};
        for (auto& number : numbers) {
            int n;
            do
                n = random.next(90) + 1;
            while (taken[static_cast<std::size_t>(n)]);
            taken[static_cast<std::size_t>(n)] = true;
            number = static_cast<std::uint8_t>(n);
        }
        std::sort(numbers.begin(), numbers.end());
        int jolly;
        do
            jolly = random.next(90) + 1;
        while (taken[static_cast<std::size_t>(jolly)]);
        records.push_back(ArchiveRecord::fromValues(year_month_day{day}, numbers, jolly));
        // Saturday to Tuesday is three days, Tuesday to Thursday and Thursday to Saturday two.
        day += weekday{day} == Saturday ? days{3} : days{2};
    }
    return Archive{std::move(records)};
}

namespace {

std::function<void()>& programArchiveGate() {
    static std::function<void()> gate;
    return gate;
}

} // namespace

Archive& programArchive() {
    static Archive archive;
    if (auto& gate = programArchiveGate(); gate) {
        const auto run = std::move(gate);
        gate = nullptr;
        run();
    }
    return archive;
}

void setProgramArchiveGate(std::function<void()> gate) {
    programArchiveGate() = std::move(gate);
}

namespace {

struct ReadAhead {
    std::mutex mutex;
    std::filesystem::path file;
    std::future<Expected<Archive>> reading;
};

ReadAhead& readAhead() {
    static ReadAhead ahead;
    return ahead;
}

} // namespace

void readArchiveAhead(const std::filesystem::path& file) {
    ReadAhead& ahead = readAhead();
    const std::lock_guard lock(ahead.mutex);
    if (ahead.reading.valid())
        ahead.reading.wait(); // one reading at a time; an earlier one not taken is dropped
    ahead.file = file;
    ahead.reading = std::async(std::launch::async, [file] { return Archive::read(file); });
}

bool archiveReadAheadRunning(const std::filesystem::path& file) {
    ReadAhead& ahead = readAhead();
    const std::lock_guard lock(ahead.mutex);
    return ahead.reading.valid() && ahead.file == file &&
           ahead.reading.wait_for(std::chrono::seconds{0}) != std::future_status::ready;
}

Expected<Archive> takeArchiveRead(const std::filesystem::path& file) {
    ReadAhead& ahead = readAhead();
    std::unique_lock lock(ahead.mutex);
    if (ahead.reading.valid() && ahead.file == file) {
        auto reading = std::move(ahead.reading);
        lock.unlock();
        return reading.get();
    }
    lock.unlock();
    return Archive::read(file);
}

bool isSimulatedArchive(const Archive& archive) {
    // Twenty draws matching by chance is out of the question; real draws added after the
    // simulated ones leave the archive simulated still.
    const std::size_t compared = std::min<std::size_t>(archive.size(), 20);
    if (compared == 0)
        return false;
    const Archive sample = simulatedArchive(compared, 1);
    for (std::size_t i = 0; i < compared; ++i)
        if (archive[i].date != sample[i].date || archive[i].column != sample[i].column ||
            archive[i].jolly != sample[i].jolly)
            return false;
    return true;
}

} // namespace quintor
