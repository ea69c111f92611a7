// The filters as texts: the command-line grammar, the texts that write filters back in it and
// the filter file beside a system, all from one table of filter kinds.
#include "core/column_filters.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace quintor {

namespace {

constexpr int largestSum = 540;
constexpr int largestFilterDrawCount = 10'000'000;
constexpr std::size_t largestWithLists = 32;

Failure badFilter(std::string_view name, std::string_view why) {
    return Failure{"Il filtro \"" + std::string(name) + "\" non è valido: " + std::string(why) +
                   ".\rCorreggere e riprovare."};
}

std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

Expected<IntRange> readRange(std::string_view name, std::string_view text, int highest) {
    const auto dots = text.find("..");
    if (dots == std::string_view::npos)
        return badFilter(name, "scrivere l'intervallo come A..B");
    const auto a = wholeNumber(text.substr(0, dots));
    const auto b = wholeNumber(text.substr(dots + 2));
    if (!a || !b)
        return badFilter(name, "gli estremi devono essere numeri interi");
    if (*a > *b)
        return badFilter(name, "il primo valore supera il secondo");
    if (*a < 0 || *b > highest)
        return badFilter(name, "i valori vanno da 0 a " + std::to_string(highest));
    return IntRange{*a, *b};
}

Expected<int> readLimit(std::string_view name, std::string_view text) {
    const auto k = wholeNumber(text);
    if (!k)
        return badFilter(name, "scrivere un numero intero dopo <=");
    if (*k < 0 || *k > 6)
        return badFilter(name, "il limite va da 0 a 6");
    return *k;
}

// Distinct numbers 1..90 separated by commas, in the order first written.
Expected<std::vector<int>> readNumbers(std::string_view name, std::string_view text) {
    std::vector<int> numbers;
    while (true) {
        const auto comma = text.find(',');
        const auto n = wholeNumber(text.substr(0, comma));
        if (!n || !isBoardNumber(*n))
            return badFilter(name, "servono numeri da 1 a 90 separati da virgole");
        if (std::find(numbers.begin(), numbers.end(), *n) == numbers.end())
            numbers.push_back(*n);
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return numbers;
}

std::string numbersText(const std::vector<int>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        text += (i ? "," : "") + std::to_string(numbers[i]);
    return text;
}

using RangeField = std::optional<IntRange> ColumnFilters::*;
using LimitField = std::optional<int> ColumnFilters::*;

// Each kind reads the value after its sign into the filters (a repeated range or limit
// narrows the one already set) and gives the values it holds back as texts, none when unset.
using AddFilter = Expected<bool> (*)(ColumnFilters&, std::string_view name, std::string_view value);
using FilterValues = std::vector<std::string> (*)(const ColumnFilters&);

template <RangeField field, int highest>
Expected<bool> addRange(ColumnFilters& filters, std::string_view name, std::string_view value) {
    const auto range = readRange(name, value, highest);
    if (!range)
        return Failure{range.error()};
    auto& set = filters.*field;
    set = set ? IntRange{std::max(set->low, range->low), std::min(set->high, range->high)} : *range;
    return true;
}

template <RangeField field> std::vector<std::string> rangeValues(const ColumnFilters& filters) {
    const auto& range = filters.*field;
    if (!range)
        return {};
    return {std::to_string(range->low) + ".." + std::to_string(range->high)};
}

template <LimitField field>
Expected<bool> addLimit(ColumnFilters& filters, std::string_view name, std::string_view value) {
    const auto k = readLimit(name, value);
    if (!k)
        return Failure{k.error()};
    auto& set = filters.*field;
    set = set ? std::min(*set, *k) : *k;
    return true;
}

template <LimitField field> std::vector<std::string> limitValues(const ColumnFilters& filters) {
    const auto& limit = filters.*field;
    if (!limit)
        return {};
    return {std::to_string(*limit)};
}

// Each "con" list is a filter of its own.
Expected<bool> addWith(ColumnFilters& filters, std::string_view name, std::string_view value) {
    const auto numbers = readNumbers(name, value);
    if (!numbers)
        return Failure{numbers.error()};
    if (filters.with.size() >= largestWithLists)
        return badFilter(name, "al massimo 32 elenchi");
    filters.with.push_back(*numbers);
    return true;
}

std::vector<std::string> withValues(const ColumnFilters& filters) {
    std::vector<std::string> values;
    for (const auto& list : filters.with)
        values.push_back(numbersText(list));
    return values;
}

// Every "senza" adds to the one list of numbers left out.
Expected<bool> addWithout(ColumnFilters& filters, std::string_view name, std::string_view value) {
    const auto numbers = readNumbers(name, value);
    if (!numbers)
        return Failure{numbers.error()};
    auto& without = filters.without;
    for (int n : *numbers)
        if (std::find(without.begin(), without.end(), n) == without.end())
            without.push_back(n);
    return true;
}

std::vector<std::string> withoutValues(const ColumnFilters& filters) {
    if (filters.without.empty())
        return {};
    return {numbersText(filters.without)};
}

// "K" or "K@D": at most K numbers in common with each draw, or with each of the newest D.
Expected<bool> addArchiveLimit(ColumnFilters& filters, std::string_view name,
                               std::string_view value) {
    const auto at = value.find('@');
    const auto k = readLimit(name, value.substr(0, at));
    if (!k)
        return Failure{k.error()};
    int draws = 0;
    if (at != std::string_view::npos) {
        const auto d = wholeNumber(value.substr(at + 1));
        if (!d || *d < 1 || *d > largestFilterDrawCount)
            return badFilter(name, "dopo @ scrivere quante estrazioni recenti (almeno 1)");
        draws = *d;
    }
    filters.archive.push_back({*k, draws});
    return true;
}

std::vector<std::string> archiveValues(const ColumnFilters& filters) {
    std::vector<std::string> values;
    for (const auto& limit : filters.archive)
        values.push_back(std::to_string(limit.limit) +
                         (limit.draws ? "@" + std::to_string(limit.draws) : ""));
    return values;
}

// One kind of filter: written name, sign, value ("somma=100..200", "decina<=2").
struct FilterKind {
    std::string_view name;
    std::string_view sign;  // "=" or "<="
    std::string_view shape; // the value's shape in the list of filters a wrong name is shown
    AddFilter add;
    FilterValues values;
};

// In the order filterTexts writes them.
constexpr std::array<FilterKind, 9> filterKinds{{
    {"somma", "=", "A..B", addRange<&ColumnFilters::sum, largestSum>,
     rangeValues<&ColumnFilters::sum>},
    {"dispari", "=", "A..B", addRange<&ColumnFilters::odd, 6>, rangeValues<&ColumnFilters::odd>},
    {"bassi", "=", "A..B", addRange<&ColumnFilters::low, 6>, rangeValues<&ColumnFilters::low>},
    {"decina", "<=", "K", addLimit<&ColumnFilters::perDecade>,
     limitValues<&ColumnFilters::perDecade>},
    {"consecutivi", "<=", "K", addLimit<&ColumnFilters::longestRun>,
     limitValues<&ColumnFilters::longestRun>},
    {"finale", "<=", "K", addLimit<&ColumnFilters::sameEnding>,
     limitValues<&ColumnFilters::sameEnding>},
    {"con", "=", "N,N", addWith, withValues},
    {"senza", "=", "N,N", addWithout, withoutValues},
    {"archivio", "<=", "K[@D]", addArchiveLimit, archiveValues},
}};

Failure unknownFilter(std::string_view filterText) {
    std::string message = "Filtro non riconosciuto: \"" + std::string(filterText) + "\".\rFiltri: ";
    for (std::size_t i = 0; i < filterKinds.size(); ++i) {
        const FilterKind& kind = filterKinds[i];
        message += std::string(i ? ", " : "") + std::string(kind.name) + std::string(kind.sign) +
                   std::string(kind.shape);
    }
    return Failure{message + "."};
}

} // namespace

bool ColumnFilters::empty() const {
    return !sum && !odd && !low && !perDecade && !longestRun && !sameEnding && with.empty() &&
           without.empty() && archive.empty();
}

Expected<bool> addFilter(ColumnFilters& filters, std::string_view filterText) {
    const auto cut = filterText.find_first_of("=<");
    if (cut != std::string_view::npos) {
        const std::string_view name = filterText.substr(0, cut);
        const std::string_view rest = filterText.substr(cut);
        for (const FilterKind& kind : filterKinds)
            if (name == kind.name && rest.starts_with(kind.sign))
                return kind.add(filters, name, rest.substr(kind.sign.size()));
    }
    return unknownFilter(filterText);
}

std::vector<std::string> filterTexts(const ColumnFilters& filters) {
    std::vector<std::string> texts;
    for (const FilterKind& kind : filterKinds)
        for (const std::string& value : kind.values(filters))
            texts.push_back(std::string(kind.name) + std::string(kind.sign) + value);
    return texts;
}

FilterLines readFilterLines(std::string_view text) {
    FilterLines read;
    std::size_t number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.remove_suffix(1);
        while (!line.empty() && line.front() == ' ')
            line.remove_prefix(1);
        if (line.empty())
            continue;
        // Tried on a copy: a line refused half-way leaves the filters read so far as they were.
        ColumnFilters trial = read.filters;
        const auto added = addFilter(trial, line);
        if (added)
            read.filters = std::move(trial);
        else
            read.unread.push_back({number, std::string(line), added.error()});
    }
    return read;
}

Expected<ColumnFilters> parseFilterLines(std::string_view text) {
    FilterLines read = readFilterLines(text);
    if (!read.unread.empty())
        return Failure{read.unread.front().reason};
    return std::move(read.filters);
}

std::string filterSidecarName(std::string_view systemFile) {
    return std::string(systemFile) + ".filtri";
}

} // namespace quintor
