#include "core/user_functions.h"

#include "core/byte_file.h"
#include "core/program_folder.h"
#include "core/system_state.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <system_error>

#if defined(__unix__)
#include <unistd.h>
#endif

namespace quintor {

namespace fs = std::filesystem;

namespace {

// The list and description files are small texts; anything larger is not one of them.
constexpr std::size_t textFileLimit = 1024 * 1024;
// Far more columns than any system holds; a larger colonne.dat is read up to here.
constexpr std::size_t columnsFileLimit = std::size_t{256} * 1024 * 1024;

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

// The integer the line starts with, after blanks and an optional sign; 0 when none.
long long leadingInteger(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
        value = std::min(value * 10 + (line[i] - '0'), 1'000'000LL);
    return negative ? -value : value;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<std::string> readText(const fs::path& file) {
    const auto bytes = readFileHead(file, textFileLimit);
    if (!bytes)
        return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

fs::path listFile(const fs::path& folder) {
    return findFileNoCase(folder, userFunctionListName);
}

bool writeBytes(const fs::path& file, std::span<const std::uint8_t> bytes) {
    return replaceFileContents(file, bytes);
}

} // namespace

UserFunctionList UserFunctionList::parse(std::string_view text) {
    UserFunctionList list;
    // A list saved by an editor that marks UTF-8 files: the mark would hide the count.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const std::vector<std::string> lines = splitLines(text);
    if (lines.empty())
        return list;
    const long long count = std::clamp<long long>(leadingInteger(lines[0]), 0, maxUserFunctions);
    for (long long k = 0; k < count; ++k) {
        const std::size_t at = static_cast<std::size_t>(1 + 2 * k);
        if (at >= lines.size())
            break;
        // A caption line lost at the end of the file still leaves the program usable.
        list.entries.push_back({lines[at], at + 1 < lines.size() ? lines[at + 1] : lines[at]});
    }
    return list;
}

UserFunctionList UserFunctionList::load(const fs::path& programFolder) {
    const auto text = readText(listFile(programFolder));
    return text ? parse(*text) : UserFunctionList{};
}

std::string UserFunctionList::text() const {
    std::string out = std::to_string(entries.size()) + "\r\n";
    for (const UserFunction& entry : entries)
        out += entry.program + "\r\n" + entry.caption + "\r\n";
    return out;
}

bool UserFunctionList::save(const fs::path& programFolder) const {
    return replaceFileContents(listFile(programFolder), text(), functionListTemporaryName);
}

bool UserFunctionList::contains(std::string_view program) const {
    return std::any_of(entries.begin(), entries.end(), [&](const UserFunction& entry) {
        return equalNoCase(entry.program, program);
    });
}

AddOutcome addUserFunction(const fs::path& programFolder, std::string_view program,
                           std::string_view caption, UserFunctionList& list) {
    list = UserFunctionList::load(programFolder);
    if (!isSafeProgramName(program) || caption.find_first_of("\r\n") != std::string_view::npos)
        return AddOutcome::UnsafeName;
    if (list.contains(program))
        return AddOutcome::AlreadyListed;
    if (static_cast<int>(list.entries.size()) >= maxUserFunctions)
        return AddOutcome::ListFull;
    UserFunctionList updated = list;
    updated.entries.push_back({std::string(program), std::string(caption)});
    if (!updated.save(programFolder))
        return AddOutcome::WriteFailed;
    list = std::move(updated);
    return AddOutcome::Added;
}

bool removeUserFunction(const fs::path& programFolder, int index, UserFunctionList& list) {
    if (index < 0 || index >= static_cast<int>(list.entries.size()))
        return false;
    UserFunctionList updated = list;
    updated.entries.erase(updated.entries.begin() + index);
    if (!updated.save(programFolder))
        return false;
    list = std::move(updated);
    return true;
}

bool isSafeProgramName(std::string_view name) {
    if (name.empty() || name == "." || name.find("..") != std::string_view::npos)
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    });
}

std::string descriptionFileName(std::string_view program) {
    const std::size_t dot = program.rfind('.');
    if (dot != std::string_view::npos && dot > 0)
        program = program.substr(0, dot);
    return std::string(program) + ".txt";
}

FunctionDescription parseDescription(std::string_view text) {
    std::vector<std::string> lines = splitLines(text);
    FunctionDescription description;
    auto take = [&](std::size_t k) { return k < lines.size() ? lines[k] : std::string(); };
    description.caption = take(0);
    description.author = take(1);
    description.email = take(2);
    if (lines.size() > 3)
        description.lines.assign(lines.begin() + 3, lines.end());
    return description;
}

std::optional<FunctionDescription> readDescription(const fs::path& programFolder,
                                                   std::string_view program) {
    if (!isSafeProgramName(program))
        return std::nullopt;
    const std::string name = descriptionFileName(program);
    // A program named like its own description would describe itself.
    if (equalNoCase(name, program))
        return std::nullopt;
    const auto text = readText(findFileNoCase(programFolder, name));
    if (!text)
        return std::nullopt;
    return parseDescription(*text);
}

namespace {

// The "#!" line of a script: the interpreter and at most one argument, as the kernel reads it.
std::optional<LaunchCommand> interpreterOf(const fs::path& file) {
    const auto head = readFileHead(file, 256);
    if (!head || head->size() < 3 || (*head)[0] != '#' || (*head)[1] != '!')
        return std::nullopt;
    std::string line(head->begin() + 2, head->end());
    // A zero byte ends the line too: the system reads the names as C strings, so a name with
    // one inside would start another program than the one named.
    line = line.substr(0, line.find_first_of(std::string_view("\r\n\0", 3)));
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    auto first = std::find_if_not(line.begin(), line.end(), blank);
    auto firstEnd = std::find_if(first, line.end(), blank);
    if (first == firstEnd)
        return std::nullopt;
    LaunchCommand command{std::string(first, firstEnd), {}};
    std::string rest(std::find_if_not(firstEnd, line.end(), blank), line.end());
    while (!rest.empty() && blank(rest.back()))
        rest.pop_back();
    if (!rest.empty())
        command.arguments.push_back(rest);
    return command;
}

bool isExecutable(const fs::path& file) {
#if defined(__unix__)
    return ::access(file.c_str(), X_OK) == 0;
#else
    (void)file;
    return false;
#endif
}

} // namespace

bool isRunnableFile(const fs::path& file) {
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        return false;
    return isExecutable(file) || interpreterOf(file).has_value();
}

std::optional<LaunchCommand> launchCommand(const fs::path& programFolder,
                                           std::string_view program) {
    if (!isSafeProgramName(program))
        return std::nullopt;
    const fs::path file = programFolder / fs::path(std::string(program));
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        return std::nullopt;
    if (isExecutable(file))
        return LaunchCommand{file.string(), {}};
    auto command = interpreterOf(file);
    if (command)
        command->arguments.push_back(file.string());
    return command;
}

std::vector<std::uint8_t> encodeExchangeSystem(const SystemState& state) {
    const std::vector<int> numbers = state.markedNumbers();
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(numbers.size())};
    for (int n : numbers)
        bytes.push_back(static_cast<std::uint8_t>(n));
    return bytes;
}

std::vector<std::uint8_t> encodeExchangeColumns(std::span<const Column> columns) {
    const auto count = static_cast<std::uint32_t>(
        std::min<std::size_t>(columns.size(), std::numeric_limits<std::int32_t>::max()));
    std::vector<std::uint8_t> bytes;
    bytes.reserve(4 + 6 * std::size_t{count});
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(count >> (8 * i)));
    for (std::uint32_t i = 0; i < count; ++i)
        bytes.insert(bytes.end(), columns[i].begin(), columns[i].end());
    return bytes;
}

ExchangeResult decodeExchange(const std::optional<std::vector<std::uint8_t>>& systemBytes,
                              const std::optional<std::vector<std::uint8_t>>& columnsBytes) {
    ExchangeResult result;
    if (systemBytes && !systemBytes->empty()) {
        const std::vector<std::uint8_t>& bytes = *systemBytes;
        std::array<std::uint8_t, 91> marked{};
        const std::size_t declared = bytes[0];
        const std::size_t held = std::min(declared, bytes.size() - 1);
        for (std::size_t i = 1; i <= held; ++i) {
            if (isBoardNumber(bytes[i]))
                marked[bytes[i]] = 1;
            else
                ++result.refusedNumbers;
        }
        result.refusedNumbers += static_cast<int>(declared - held);
        result.marked = marked;
    } else if (systemBytes) {
        // Not even the count: nothing to read, and the marks stay.
        result.refusedNumbers = 1;
    }

    if (columnsBytes && columnsBytes->size() >= 4) {
        const std::vector<std::uint8_t>& bytes = *columnsBytes;
        std::uint32_t raw = 0;
        for (int i = 0; i < 4; ++i)
            raw |= std::uint32_t{bytes[static_cast<std::size_t>(i)]} << (8 * i);
        const auto declared = static_cast<std::int32_t>(raw);
        const std::size_t held = (bytes.size() - 4) / 6;
        std::vector<Column> columns;
        if (declared < 0) {
            // A count that makes no sense: every record the file holds is refused.
            result.refusedColumns = static_cast<int>(std::min<std::size_t>(
                std::max<std::size_t>(held, 1), std::numeric_limits<int>::max()));
        } else {
            const std::size_t wanted = static_cast<std::size_t>(declared);
            const std::size_t readable = std::min(wanted, held);
            columns.reserve(readable);
            for (std::size_t i = 0; i < readable; ++i) {
                Column column;
                std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(4 + 6 * i), 6,
                            column.begin());
                if (std::all_of(column.begin(), column.end(),
                                [](std::uint8_t n) { return isBoardNumber(n); }))
                    columns.push_back(column);
                else
                    ++result.refusedColumns;
            }
            result.refusedColumns += static_cast<int>(wanted - readable);
        }
        result.columns = std::move(columns);
    } else if (columnsBytes) {
        result.refusedColumns = 1;
    }
    return result;
}

bool finishedFileExists(const fs::path& programFolder) {
    std::error_code error;
    return fs::exists(findFileNoCase(programFolder, exchangeFinishedName), error);
}

void removeExchangeFiles(const fs::path& programFolder) {
    for (const char* name : {exchangeFinishedName, exchangeSystemName, exchangeColumnsName}) {
        // Every spelling of the name goes, so none can be taken for a later run's result.
        for (;;) {
            const fs::path file = findFileNoCase(programFolder, name);
            std::error_code error;
            if (!fs::exists(fs::symlink_status(file, error)) || !fs::remove(file, error))
                break;
        }
    }
}

bool writeExchangeFiles(const fs::path& programFolder, const SystemState& state) {
    removeExchangeFiles(programFolder);
    if (finishedFileExists(programFolder))
        return false;
    return writeBytes(programFolder / exchangeSystemName, encodeExchangeSystem(state)) &&
           writeBytes(programFolder / exchangeColumnsName,
                      encodeExchangeColumns(state.finalColumns));
}

ExchangeResult readExchangeFiles(const fs::path& programFolder) {
    auto read = [&](const char* name, std::size_t limit) {
        return readFileHead(findFileNoCase(programFolder, name), limit);
    };
    return decodeExchange(read(exchangeSystemName, 1 + 255),
                          read(exchangeColumnsName, columnsFileLimit));
}

std::string refusedDataText(const ExchangeResult& result) {
    const int numbers = result.refusedNumbers;
    const int columns = result.refusedColumns;
    const std::string numbersText =
        std::to_string(numbers) + (numbers == 1 ? " numero segnato" : " numeri segnati");
    const std::string columnsText =
        std::to_string(columns) + (columns == 1 ? " colonna" : " colonne");
    if (numbers > 0 && columns > 0)
        return "sono stati scartati " + numbersText + " e " + columnsText;
    if (numbers > 0)
        return (numbers == 1 ? "è stato scartato " : "sono stati scartati ") + numbersText;
    if (columns > 0)
        return (columns == 1 ? "è stata scartata " : "sono state scartate ") + columnsText;
    return {};
}

void applyExchangeResult(const ExchangeResult& result, SystemState& state) {
    state.modified = true;
    if (result.marked)
        std::copy(result.marked->begin(), result.marked->end(), state.marked.begin());
    if (result.columns)
        state.finalColumns = *result.columns;
}

} // namespace quintor
