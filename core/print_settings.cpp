#include "core/print_settings.h"

#include "core/byte_file.h"
#include "core/conversions.h"
#include "core/program_folder.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>

namespace quintor {

namespace fs = std::filesystem;

namespace {

std::span<Real48> recordsOf(SlipLayout layout, LayoutValues& values) {
    if (layout == SlipLayout::vertical)
        return values.vertical;
    return values.horizontal;
}

std::span<const Real48> recordsOf(SlipLayout layout, const LayoutValues& values) {
    if (layout == SlipLayout::vertical)
        return values.vertical;
    return values.horizontal;
}

const char* fileNameOf(SlipLayout layout) {
    return layout == SlipLayout::vertical ? verticalSettingsName : horizontalSettingsName;
}

Real48 recordAt(const std::vector<std::uint8_t>& bytes, std::size_t index) {
    Real48::Bytes raw;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(index * settingsRecordSize),
                settingsRecordSize, raw.begin());
    return Real48::fromBytes(raw);
}

void putRecord(std::vector<std::uint8_t>& bytes, std::size_t index, const Real48& value) {
    const std::size_t end = (index + 1) * settingsRecordSize;
    if (bytes.size() < end)
        bytes.resize(end, 0);
    std::copy(value.bytes().begin(), value.bytes().end(),
              bytes.begin() + static_cast<std::ptrdiff_t>(index * settingsRecordSize));
}

// Reads as many whole records as the file holds, at most records.size().
std::size_t readRecords(const fs::path& file, std::span<Real48> records,
                        std::vector<std::uint8_t>* content = nullptr) {
    const auto bytes = readFileHead(file, 4096);
    if (!bytes)
        return 0;
    const std::size_t whole = std::min(records.size(), bytes->size() / settingsRecordSize);
    for (std::size_t i = 0; i < whole; ++i)
        records[i] = recordAt(*bytes, i);
    if (content)
        *content = *bytes;
    return whole;
}

// The current content of a settings file: empty when it does not exist, nothing when it
// exists but cannot be read (and so must not be replaced).
std::optional<std::vector<std::uint8_t>> existingContent(const fs::path& file) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(file, error)))
        return std::vector<std::uint8_t>{};
    // A settings file is 42 bytes; one of more than a megabyte is not this program's.
    return readFileBytes(file, 1024 * 1024);
}

} // namespace

std::span<const std::size_t> fieldRecords(SlipLayout layout) {
    if (layout == SlipLayout::vertical)
        return verticalFieldRecords;
    return horizontalFieldRecords;
}

PrintSettings loadPrintSettings(const fs::path& programFolder) {
    PrintSettings settings;
    std::vector<std::uint8_t> vertical;
    readRecords(findFileNoCase(programFolder, "Quintor.cfg"), settings.layout.vertical, &vertical);
    if (vertical.size() >= columnPriceOffset + settingsRecordSize)
        settings.columnPrice = recordAt(vertical, columnPriceOffset / settingsRecordSize);
    readRecords(findFileNoCase(programFolder, "QTOR_or.cfg"), settings.layout.horizontal);
    return settings;
}

std::string layoutValueText(const Real48& value) {
    // to_chars ignores the C locale, which a Qt program sets from the environment.
    char buffer[128];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value.value(), std::chars_format::fixed, 8);
    if (error != std::errc{})
        return std::string{};
    return std::string(buffer, end);
}

std::vector<std::string> layoutFieldTexts(SlipLayout layout, const LayoutValues& values) {
    std::vector<std::string> texts;
    const auto records = recordsOf(layout, values);
    for (std::size_t record : fieldRecords(layout))
        texts.push_back(layoutValueText(records[record]));
    return texts;
}

long double recordMillimetres(std::size_t record, SheetMillimetres sheet) {
    switch (record) {
    case 0:
    case 2:
        return sheet.width;
    case 4:
        return 2.0L * sheet.width; // a radius, shown as the diameter
    default:
        return sheet.height;
    }
}

std::string millimetreText(long double millimetres) {
    char buffer[128];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, millimetres, std::chars_format::fixed, 2);
    if (error != std::errc{})
        return std::string{};
    return std::string(buffer, end);
}

std::vector<std::string> layoutFieldMillimetres(SlipLayout layout, const LayoutValues& values,
                                                SheetMillimetres sheet) {
    std::vector<std::string> texts;
    const auto records = recordsOf(layout, values);
    for (std::size_t record : fieldRecords(layout))
        texts.push_back(millimetreText(records[record].value() * recordMillimetres(record, sheet)));
    return texts;
}

std::vector<std::string> fractionTextsFromMillimetres(SlipLayout layout,
                                                      std::span<const std::string> typed,
                                                      std::span<const std::string> shown,
                                                      const LayoutValues& values,
                                                      SheetMillimetres sheet) {
    const auto records = recordsOf(layout, values);
    const auto fields = fieldRecords(layout);
    std::vector<std::string> texts;
    for (std::size_t field = 0; field < typed.size() && field < fields.size(); ++field) {
        const std::size_t record = fields[field];
        if (field < shown.size() && typed[field] == shown[field]) {
            texts.push_back(layoutValueText(records[record]));
            continue;
        }
        const Expected<Real48> millimetres = parseLayoutValue(typed[field]);
        const long double scale = recordMillimetres(record, sheet);
        const std::optional<Real48> fraction =
            millimetres && scale > 0 ? Real48::tryFromValue(millimetres->value() / scale)
                                     : std::nullopt;
        texts.push_back(fraction ? layoutValueText(*fraction) : typed[field]);
    }
    return texts;
}

Expected<Real48> parseLayoutValue(std::string_view text) {
    const Expected<long double> value = parseReal(text);
    if (!value)
        return Failure{value.error()};
    const std::optional<Real48> real = Real48::tryFromValue(*value);
    if (!real)
        return Failure{invalidRealMessage(text)};
    return *real;
}

TakenValues takeLayoutFields(SlipLayout layout, std::span<const std::string> fieldTexts,
                             LayoutValues& values) {
    const auto records = recordsOf(layout, values);
    const auto fields = fieldRecords(layout);
    for (std::size_t field = 0; field < fields.size(); ++field) {
        if (field >= fieldTexts.size())
            return TakenValues{false, field};
        const Expected<Real48> value = parseLayoutValue(fieldTexts[field]);
        if (!value)
            return TakenValues{false, field};
        records[fields[field]] = *value;
    }
    return TakenValues{};
}

void restoreDefaultLayout(SlipLayout layout, LayoutValues& values) {
    const LayoutValues defaults = LayoutValues::defaults();
    if (layout == SlipLayout::vertical)
        values.vertical = defaults.vertical;
    else
        values.horizontal = defaults.horizontal;
}

bool canWriteProgramFolder(const fs::path& programFolder) {
    return canCreateFilesIn(programFolder, writeProbeName);
}

bool writeLayoutSettings(const fs::path& programFolder, SlipLayout layout,
                         const LayoutValues& values) {
    const fs::path file = findFileNoCase(programFolder, fileNameOf(layout));
    std::optional<std::vector<std::uint8_t>> bytes = existingContent(file);
    if (!bytes)
        return false;
    const auto records = recordsOf(layout, values);
    for (std::size_t i = 0; i < records.size(); ++i)
        putRecord(*bytes, i, records[i]);
    return replaceFileContents(file, *bytes);
}

RegisterResult registerLayoutSettings(const fs::path& programFolder, SlipLayout layout,
                                      std::span<const std::string> fieldTexts,
                                      LayoutValues& values) {
    if (!canWriteProgramFolder(programFolder))
        return {RegisterOutcome::notWritable, 0};
    const TakenValues taken = takeLayoutFields(layout, fieldTexts, values);
    if (!taken.ok)
        return {RegisterOutcome::unreadableValues, taken.invalidField};
    if (!writeLayoutSettings(programFolder, layout, values))
        return {RegisterOutcome::notWritable, 0};
    return {};
}

std::string registerMessage(RegisterOutcome outcome) {
    switch (outcome) {
    case RegisterOutcome::registered:
        return {};
    case RegisterOutcome::notWritable:
        return settingsNotWritableMessage;
    case RegisterOutcome::unreadableValues:
        return unreadableMarginsMessage;
    }
    return {};
}

bool storeColumnPrice(const fs::path& programFolder, const std::array<Real48, 6>& vertical,
                      const Real48& price) {
    const fs::path file = findFileNoCase(programFolder, verticalSettingsName);
    std::optional<std::vector<std::uint8_t>> bytes = existingContent(file);
    if (!bytes)
        return false;
    // Records the file holds whole stay; any it lacks come from the window.
    const std::size_t whole = std::min(bytes->size() / settingsRecordSize, vertical.size());
    for (std::size_t i = whole; i < vertical.size(); ++i)
        putRecord(*bytes, i, vertical[i]);
    putRecord(*bytes, columnPriceOffset / settingsRecordSize, price);
    return replaceFileContents(file, *bytes);
}

} // namespace quintor
