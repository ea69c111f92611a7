#pragma once

#include "core/column.h"
#include "core/expected.h"
#include "core/number_set.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

inline constexpr const char* noColumnPassesMessage = "Nessuna colonna supera i filtri";

// A closed range of whole numbers, both ends included.
struct IntRange {
    int low = 0;
    int high = 0;
    bool operator==(const IntRange&) const = default;
};

// At most limit numbers in common with each of the newest draws (all draws when draws is 0).
struct ArchiveLimit {
    int limit = 0;
    int draws = 0;
    bool operator==(const ArchiveLimit&) const = default;
};

// The filters a user can put on columns. Every filter is optional; a column passes when it
// passes every filter that is set. Repeating a filter on the command line narrows it: ranges
// intersect, limits take the smaller, and each "con" list must be met on its own.
struct ColumnFilters {
    std::optional<IntRange> sum;        // somma: the sum of the six numbers
    std::optional<IntRange> odd;        // dispari: how many numbers are odd
    std::optional<IntRange> low;        // bassi: how many numbers are 1..45
    std::optional<int> perDecade;       // decina: at most k in 1-10, 11-20, ..., 81-90
    std::optional<int> longestRun;      // consecutivi: longest run of consecutive numbers
    std::optional<int> sameEnding;      // finale: at most k with the same last digit
    std::vector<std::vector<int>> with; // con: at least one number of each list
    std::vector<int> without;           // senza: none of these numbers
    std::vector<ArchiveLimit> archive;  // archivio: common numbers with past draws

    bool empty() const;
    bool needsArchive() const { return !archive.empty(); }
    bool operator==(const ColumnFilters&) const = default;
};

// Adds one filter written in the command-line grammar ("somma=100..200", "decina<=2",
// "con=5,17", "archivio<=3@100", ...). Fails with an Italian message naming the filter.
Expected<bool> addFilter(ColumnFilters& filters, std::string_view filterText);

// The filters in that grammar, one text a filter, so that addFilter reads them back.
std::vector<std::string> filterTexts(const ColumnFilters& filters);

// The filters read back from their texts, one a line ('\n' or "\r\n"); blank lines ignored.
Expected<ColumnFilters> parseFilterLines(std::string_view text);

// The same, line by line: a line that is no filter (damaged, or a filter this version does
// not know) spoils only itself. It is kept as it was, with its number (1 for the first line)
// and why it was not read, so that it can be shown and written back.
struct UnreadFilterLine {
    std::size_t line = 0;
    std::string text;
    std::string reason;
    bool operator==(const UnreadFilterLine&) const = default;
};
struct FilterLines {
    ColumnFilters filters;
    std::vector<UnreadFilterLine> unread;
};
FilterLines readFilterLines(std::string_view text);

// The filters of a system saved beside its file: "NAME.qtr" keeps them in "NAME.qtr.filtri",
// a text file of one filter a line, so that the system file keeps its layout.
std::string filterSidecarName(std::string_view systemFile);

// The filters compiled for checking columns against them: tables for the archive filter
// built once from the draws, then per prefix of an increasing column the numbers that may
// still follow. Columns are walked in increasing order of their numbers.
class FilterCheck {
public:
    // draws: newest first; archive filters read the newest ones they ask for.
    FilterCheck(const ColumnFilters& filters, std::span<const Column> draws);
    ~FilterCheck();
    FilterCheck(FilterCheck&&) noexcept;
    FilterCheck& operator=(FilterCheck&&) noexcept;

    // Whether a column passes, whatever the order of its numbers. A column that is not six
    // different numbers 1..90 never passes.
    bool passes(const Column& column) const;

    // The state of an increasing prefix of a column, depth 0 (nothing chosen) to 5.
    struct Prefix {
        int depth = 0;
        int last = 0;
        int sum = 0;
        int odd = 0;
        int low = 0;
        int run = 0;    // consecutive numbers ending at last
        int maxRun = 0; // longest run so far
        std::uint32_t withMet = 0;
        std::array<std::uint8_t, 10> decade{}; // index (n - 1) / 10
        std::array<std::uint8_t, 10> ending{}; // index n % 10
        NumberSet closed;                      // numbers that can no longer follow
        std::array<std::uint8_t, 6> numbers{};
    };

    Prefix start() const;
    // The prefix followed by number (above prefix.last). False when no column that begins
    // with it can pass; next is then unspecified.
    bool extend(const Prefix& prefix, int number, Prefix& next) const;
    // After five numbers: the sixth numbers that make a passing column.
    NumberSet lastNumbers(const Prefix& five) const;

private:
    struct Tables;
    const ColumnFilters* filters_ = nullptr;
    ColumnFilters own_;
    std::unique_ptr<Tables> tables_;
};

// How many of the initial columns of the marked numbers (increasing) pass. progress is
// called now and then with the share done (0..1); returning false stops the count, which
// then gives nothing.
std::optional<std::uint64_t> countPassingColumns(const FilterCheck& check,
                                                 std::span<const int> marked,
                                                 const std::function<bool(double)>& progress = {});

// Calls visit for every initial column of the marked numbers that passes, in lexicographic
// order; visit returns false to stop.
void forEachPassingColumn(const FilterCheck& check, std::span<const int> marked,
                          const std::function<bool(const Column&)>& visit);

// Whether some initial column of the marked numbers passes; stops at the first that does.
bool anyColumnPasses(const FilterCheck& check, std::span<const int> marked);

} // namespace quintor
