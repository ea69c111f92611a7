#include "core/column_editing.h"

#include "core/combinatorics.h"
#include "core/conversions.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

namespace quintor {

namespace {

std::uint64_t columnKey(const Column& column) {
    std::uint64_t key = 0;
    for (std::uint8_t n : column)
        key = key << 8 | n;
    return key;
}

// The listed columns as keys, so that long lists are checked for duplicates in constant time.
std::unordered_set<std::uint64_t> listedKeys(const SystemState& state) {
    std::unordered_set<std::uint64_t> keys;
    keys.reserve(state.finalColumns.size());
    for (const Column& column : state.finalColumns)
        keys.insert(columnKey(column));
    return keys;
}

} // namespace

std::string importQuestion(std::size_t columnCount) {
    return "Il sistema specificato contiene " + std::to_string(columnCount) +
           " colonne.\rSei sicuro di volerle aggiungere ?";
}

Expected<int> parseTypedInteger(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    const auto parsed = parseInteger(first == std::string_view::npos ? "" : text.substr(first));
    if (!parsed)
        return Failure{invalidIntegerMessage(text)};
    return *parsed;
}

bool isDuplicate(const SystemState& state, const Column& column) {
    return std::find(state.finalColumns.begin(), state.finalColumns.end(), column) !=
           state.finalColumns.end();
}

void appendColumn(SystemState& state, const Column& column) {
    state.finalColumns.push_back(column);
    state.modified = true;
}

bool extractionFits(const SystemState& state, int count) {
    const double initial = initialColumnCount(state.markedCount());
    return static_cast<double>(state.finalColumns.size()) + static_cast<double>(count) < initial;
}

int extractRandomColumns(SystemState& state, int count, RandomGenerator& random) {
    const std::vector<int> marked = state.markedNumbers();
    const int m = static_cast<int>(marked.size());
    if (count <= 0 || m < 6)
        return 0;
    auto keys = listedKeys(state);
    int appended = 0;
    while (appended < count) {
        Column column{};
        for (std::size_t j = 0; j < column.size(); ++j) {
            std::uint8_t candidate;
            do {
                candidate =
                    static_cast<std::uint8_t>(marked[static_cast<std::size_t>(random.next(m))]);
            } while (std::find(column.begin(), column.begin() + static_cast<std::ptrdiff_t>(j),
                               candidate) != column.begin() + static_cast<std::ptrdiff_t>(j));
            column[j] = candidate;
        }
        std::sort(column.begin(), column.end());
        if (!keys.insert(columnKey(column)).second)
            continue; // already listed: draw the whole column again
        appendColumn(state, column);
        ++appended;
    }
    return appended;
}

int importColumns(SystemState& state, const std::vector<Column>& columns) {
    state.modified = true;
    auto keys = listedKeys(state);
    int appended = 0;
    for (const Column& column : columns) {
        if (!keys.insert(columnKey(column)).second)
            continue;
        state.finalColumns.push_back(column);
        ++appended;
    }
    return appended;
}

TypedColumn DAI_COLONNA(std::string_view text) {
    TypedColumn typed;
    std::size_t pieces = 0;
    while (true) {
        const std::size_t start = text.find_first_not_of(' ');
        if (start == std::string_view::npos)
            return typed;
        text.remove_prefix(start);
        std::size_t length = 1;
        if (text.size() > 1 && text[1] != ' ')
            length = 2;
        const std::string_view piece = text.substr(0, length);
        text.remove_prefix(length);
        if (pieces == typed.column.size()) {
            typed.beep = true; // a seventh number: the first six stand
            return typed;
        }
        const auto value = parseInteger(piece);
        if (!value || !isBoardNumber(*value)) {
            typed.column[pieces] = 0;
            typed.beep = true;
            return typed;
        }
        typed.column[pieces++] = static_cast<std::uint8_t>(*value);
    }
}

bool isValidTypedColumn(const Column& column) {
    for (std::size_t i = 0; i < column.size(); ++i) {
        if (!isBoardNumber(column[i]))
            return false;
        for (std::size_t j = 0; j < i; ++j)
            if (column[j] == column[i])
                return false;
    }
    return true;
}

bool deleteColumnRows(SystemState& state, int firstRow, int lastRow) {
    const int count = static_cast<int>(state.finalColumns.size());
    firstRow = std::max(firstRow, 1);
    lastRow = std::min(lastRow, count);
    if (firstRow > lastRow)
        return false;
    state.finalColumns.erase(state.finalColumns.begin() + (firstRow - 1),
                             state.finalColumns.begin() + lastRow);
    state.modified = true;
    return true;
}

Expected<Column> modifyColumn(SystemState& state, std::size_t index, std::string_view text) {
    if (index >= state.finalColumns.size())
        return Failure{"La colonna non esiste."};
    auto column = LEGGI_COLONNA(text, state.finalColumns[index]);
    if (!column)
        return column;
    state.finalColumns[index] = *column;
    state.modified = true;
    return column;
}

} // namespace quintor
