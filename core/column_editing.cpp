#include "core/column_editing.h"

#include "core/combinatorics.h"
#include "core/conversions.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace quintor {

namespace {

std::uint64_t columnKey(const Column& column) {
    std::uint64_t key = 0;
    for (std::uint8_t n : column)
        key = key << 8 | n;
    return key;
}

// A set of column keys with open addressing: one array, no allocation per column, which is
// what keeps a million-column extraction or import fast. A key is stored plus one so that
// zero marks an empty slot (a column read from a damaged file may be all zeros).
class ColumnKeySet {
public:
    explicit ColumnKeySet(std::size_t expected) { rehash(expected); }

    // True when the key was not there yet.
    bool insert(std::uint64_t key) {
        if (2 * (size_ + 1) > slots_.size())
            rehash(size_ + 1);
        const std::uint64_t stored = key + 1;
        for (std::size_t i = slotOf(stored);; i = (i + 1) & mask_) {
            if (slots_[i] == stored)
                return false;
            if (slots_[i] == 0) {
                slots_[i] = stored;
                ++size_;
                return true;
            }
        }
    }

private:
    std::size_t slotOf(std::uint64_t stored) const {
        return static_cast<std::size_t>((stored * 0x9E3779B97F4A7C15ull) >> shift_);
    }

    // Room for at least twice `wanted` keys, the present ones moved over.
    void rehash(std::size_t wanted) {
        std::size_t capacity = 16;
        int bits = 4;
        while (capacity < 2 * wanted) {
            capacity *= 2;
            ++bits;
        }
        if (capacity <= slots_.size())
            return;
        std::vector<std::uint64_t> old(capacity, 0);
        old.swap(slots_);
        mask_ = capacity - 1;
        shift_ = 64 - bits;
        for (std::uint64_t stored : old) {
            if (stored == 0)
                continue;
            std::size_t i = slotOf(stored);
            while (slots_[i] != 0)
                i = (i + 1) & mask_;
            slots_[i] = stored;
        }
    }

    std::vector<std::uint64_t> slots_;
    std::size_t size_ = 0;
    std::size_t mask_ = 0;
    int shift_ = 64;
};

// The listed columns as keys, with room for `more` columns to come.
ColumnKeySet listedKeys(const SystemState& state, std::size_t more) {
    ColumnKeySet keys(state.finalColumns.size() + more);
    for (const Column& column : state.finalColumns)
        keys.insert(columnKey(column));
    return keys;
}

// The columns a random extraction must not draw again. A drawn column is six distinct marked
// numbers in increasing order, so it has a rank among the C(m, 6) columns of the m marked
// numbers; when those are few enough for one bit each (a few hundred kilobytes for forty
// numbers) a bitmap answers without the cache misses of a big hash table. Listed columns
// that are not such a column can never be drawn and are left out.
class DrawnColumnSet {
public:
    DrawnColumnSet(const SystemState& state, const std::vector<int>& marked, std::size_t more)
        : keys_(0) {
        const int m = static_cast<int>(marked.size());
        const std::uint64_t all = binomial(m, 6);
        const std::size_t listed = state.finalColumns.size();
        // A bit per possible column against sixteen bytes per expected key in the table.
        if (all / 8 > 16 * (listed + more) + 4096) {
            keys_ = ColumnKeySet(listed + more);
            for (const Column& column : state.finalColumns)
                keys_.insert(columnKey(column));
            return;
        }
        useBits_ = true;
        position_.fill(-1);
        for (int i = 0; i < m; ++i)
            position_[static_cast<std::size_t>(marked[static_cast<std::size_t>(i)])] = i;
        for (std::size_t j = 0; j < 6; ++j)
            for (int i = 0; i < m; ++i)
                choose_[j][static_cast<std::size_t>(i)] = binomial(i, static_cast<int>(j) + 1);
        bits_.assign(static_cast<std::size_t>(all / 64 + 1), 0);
        for (const Column& column : state.finalColumns)
            if (std::is_sorted(column.begin(), column.end()) &&
                std::adjacent_find(column.begin(), column.end()) == column.end() &&
                std::all_of(column.begin(), column.end(), [&](std::uint8_t n) {
                    return n < position_.size() && position_[n] >= 0;
                }))
                insert(column);
    }

    // True when the column (sorted, of marked numbers) was not there yet.
    bool insert(const Column& column) {
        if (!useBits_)
            return keys_.insert(columnKey(column));
        std::uint64_t rank = 0;
        for (std::size_t j = 0; j < column.size(); ++j)
            rank += choose_[j][static_cast<std::size_t>(position_[column[j]])];
        std::uint64_t& word = bits_[static_cast<std::size_t>(rank / 64)];
        const std::uint64_t bit = std::uint64_t{1} << (rank % 64);
        if (word & bit)
            return false;
        word |= bit;
        return true;
    }

private:
    bool useBits_ = false;
    ColumnKeySet keys_;
    std::array<int, boardSize + 1> position_{};
    std::array<std::array<std::uint64_t, boardSize>, 6> choose_{};
    std::vector<std::uint64_t> bits_;
};

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

int extractRandomColumns(SystemState& state, int count, RandomGenerator& random,
                         const ExtractionProgress& progress) {
    const std::vector<int> marked = state.markedNumbers();
    const int m = static_cast<int>(marked.size());
    if (count <= 0 || m < 6)
        return 0;
    // Never more room than the marked numbers have columns, whatever count asks for.
    const double room =
        std::max(0.0, initialColumnCount(m) - static_cast<double>(state.finalColumns.size()));
    const auto expected = static_cast<std::size_t>(std::min(static_cast<double>(count), room));
    DrawnColumnSet listed(state, marked, expected);
    state.finalColumns.reserve(state.finalColumns.size() + expected);
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
        if (!listed.insert(column))
            continue; // already listed: draw the whole column again
        appendColumn(state, column);
        ++appended;
        if (progress && appended % extractionProgressStep == 0 && appended < count &&
            !progress(appended))
            break;
    }
    return appended;
}

int importColumns(SystemState& state, const std::vector<Column>& columns) {
    state.modified = true;
    auto keys = listedKeys(state, columns.size());
    int appended = 0;
    for (const Column& column : columns) {
        if (!keys.insert(columnKey(column)))
            continue;
        state.finalColumns.push_back(column);
        ++appended;
    }
    return appended;
}

TypedColumn parseTypedColumn(std::string_view text) {
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
    auto column = parseColumn(text, state.finalColumns[index]);
    if (!column)
        return column;
    state.finalColumns[index] = *column;
    state.modified = true;
    return column;
}

} // namespace quintor
