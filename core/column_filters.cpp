#include "core/column_filters.h"

#include <algorithm>
#include <unordered_map>

namespace quintor {

namespace {

constexpr int highestNumber = 90;
constexpr int lowHalf = 45;

// C(n, k) for n < 91 and k <= 6, for the colex rank of a set of numbers.
struct Binomials {
    std::array<std::array<std::uint64_t, 7>, 91> c{};
    Binomials() {
        for (int n = 0; n <= highestNumber; ++n) {
            c[n][0] = 1;
            for (int k = 1; k <= 6; ++k)
                c[n][k] = n == 0 ? 0 : c[n - 1][k - 1] + c[n - 1][k];
        }
    }
};
const Binomials binomials;

// Numbers 1..90 (stored as 0..89) in increasing order get the rank of their set among all
// sets of the same size.
std::uint64_t colexRank(std::span<const std::uint8_t> increasing) {
    std::uint64_t rank = 0;
    for (std::size_t i = 0; i < increasing.size(); ++i)
        rank += binomials.c[increasing[i] - 1][i + 1];
    return rank;
}

NumberSet rangeSet(int low, int high) {
    low = std::max(low, 1);
    high = std::min(high, highestNumber);
    if (low > high)
        return {};
    return NumberSet::upTo(high).without(NumberSet::upTo(low - 1));
}

NumberSet setOf(std::span<const int> numbers) {
    NumberSet set;
    for (int n : numbers)
        set.add(n);
    return set;
}

struct Masks {
    NumberSet odd, even, low, high;
    std::array<NumberSet, 10> decade, ending;
    Masks() {
        for (int n = 1; n <= highestNumber; ++n) {
            (n % 2 ? odd : even).add(n);
            (n <= lowHalf ? low : high).add(n);
            decade[(n - 1) / 10].add(n);
            ending[n % 10].add(n);
        }
    }
};
const Masks masks;

} // namespace

// For one archive filter "at most k common numbers with each draw": for every set S of k
// numbers, the union of the draws that hold S. A column would share k + 1 numbers with a
// draw exactly when, for some k of its numbers, its next number lies in that union.
struct ArchiveTable {
    int k = 0;
    NumberSet all;                       // k = 0: every number drawn
    std::vector<NumberSet> dense;        // k <= 3, by colex rank
    std::vector<std::uint64_t> occupied; // k >= 4: bit per rank, set when some draw holds it
    std::unordered_map<std::uint64_t, NumberSet> sparse;

    NumberSet lookup(std::uint64_t rank) const {
        if (!dense.empty())
            return dense[rank];
        if (!((occupied[rank >> 6] >> (rank & 63)) & 1))
            return {};
        return sparse.find(rank)->second;
    }

    void add(std::uint64_t rank, const NumberSet& drawn) {
        if (!dense.empty()) {
            dense[rank] |= drawn;
        } else {
            occupied[rank >> 6] |= std::uint64_t{1} << (rank & 63);
            sparse[rank] |= drawn;
        }
    }

    // A draw that is six board numbers joins the union of each of its k-subsets.
    void addDraw(const Column& draw) {
        std::array<std::uint8_t, 6> numbers = draw;
        std::sort(numbers.begin(), numbers.end());
        if (std::any_of(numbers.begin(), numbers.end(),
                        [](std::uint8_t n) { return !isBoardNumber(n); }))
            return;
        const NumberSet drawn = NumberSet::of(draw);
        all |= drawn;
        if (k == 0)
            return;
        // Every k-subset of the draw, chosen by a 6-bit mask.
        for (unsigned pick = 0; pick < 64; ++pick) {
            if (std::popcount(pick) != k)
                continue;
            std::array<std::uint8_t, 6> subset{};
            int size = 0;
            for (int i = 0; i < 6; ++i)
                if (pick >> i & 1)
                    subset[size++] = numbers[i];
            add(colexRank({subset.data(), std::size_t(size)}), drawn);
        }
    }
};

namespace {

// The table of one archive limit, from the newest draws it reads.
ArchiveTable archiveTable(const ArchiveLimit& limit, std::span<const Column> draws) {
    ArchiveTable table;
    table.k = limit.limit;
    const std::size_t count =
        limit.draws ? std::min<std::size_t>(draws.size(), limit.draws) : draws.size();
    const std::uint64_t sets = binomials.c[highestNumber][table.k];
    if (table.k >= 1 && table.k <= 3)
        table.dense.assign(sets, NumberSet{});
    else if (table.k >= 4)
        table.occupied.assign(sets / 64 + 1, 0);
    for (std::size_t d = 0; d < count; ++d)
        table.addDraw(draws[d]);
    return table;
}

} // namespace

// The subsets of the first `earlier` numbers of a prefix with `size` members, as bit masks.
struct Picks {
    std::array<std::array<std::vector<std::uint8_t>, 6>, 6> of;
    Picks() {
        for (unsigned earlier = 0; earlier < 6; ++earlier)
            for (unsigned pick = 0; pick < (1u << earlier); ++pick)
                of[earlier][std::popcount(pick)].push_back(static_cast<std::uint8_t>(pick));
    }
};
const Picks picks;

struct FilterCheck::Tables {
    bool bounds = false; // sum, odd or low
    NumberSet without;
    std::vector<NumberSet> with;
    std::vector<ArchiveTable> archive;
};

namespace {

// Whether the sum, the odd count and the low count can still end within their ranges with
// left more numbers above the prefix's last.
bool boundsReachable(const ColumnFilters& f, const FilterCheck::Prefix& next, int left) {
    if (f.sum) {
        const int least = next.sum + left * next.last + left * (left + 1) / 2;
        const int most = next.sum + left * highestNumber - left * (left - 1) / 2;
        if (least > f.sum->high || most < f.sum->low)
            return false;
    }
    if (f.odd && (next.odd > f.odd->high || next.odd + left < f.odd->low))
        return false;
    return !(f.low && (next.low > f.low->high || next.low + left < f.low->low));
}

// Archive limits: the draws that now share k numbers with the prefix close their other
// numbers. Those are the draws holding the new number and k - 1 earlier ones.
void closeSharedDraws(const std::vector<ArchiveTable>& tables, const FilterCheck::Prefix& prefix,
                      int number, FilterCheck::Prefix& next) {
    for (const auto& table : tables) {
        if (table.k == 0 || prefix.depth + 1 < table.k)
            continue;
        const std::uint64_t tail = binomials.c[number - 1][table.k];
        for (const unsigned pick : picks.of[prefix.depth][table.k - 1]) {
            std::uint64_t rank = tail;
            int place = 0;
            for (int i = 0; i < prefix.depth; ++i)
                if (pick >> i & 1)
                    rank += binomials.c[prefix.numbers[i] - 1][++place];
            next.closed |= table.lookup(rank);
        }
    }
}

} // namespace

FilterCheck::FilterCheck(const ColumnFilters& filters, std::span<const Column> draws)
    : own_(filters), tables_(std::make_unique<Tables>()) {
    filters_ = &own_;
    tables_->bounds = own_.sum || own_.odd || own_.low;
    tables_->without = setOf(own_.without);
    for (const auto& list : own_.with)
        tables_->with.push_back(setOf(list));
    for (const auto& limit : own_.archive)
        if (limit.limit < 6) // six common numbers is the most a column can share
            tables_->archive.push_back(archiveTable(limit, draws));
}

FilterCheck::~FilterCheck() = default;
FilterCheck::FilterCheck(FilterCheck&& other) noexcept
    : own_(std::move(other.own_)), tables_(std::move(other.tables_)) {
    filters_ = &own_;
}
FilterCheck& FilterCheck::operator=(FilterCheck&& other) noexcept {
    own_ = std::move(other.own_);
    tables_ = std::move(other.tables_);
    filters_ = &own_;
    return *this;
}

FilterCheck::Prefix FilterCheck::start() const {
    Prefix prefix;
    prefix.closed = tables_->without;
    if (filters_->perDecade && *filters_->perDecade == 0)
        prefix.closed = NumberSet::upTo(highestNumber);
    if (filters_->sameEnding && *filters_->sameEnding == 0)
        prefix.closed = NumberSet::upTo(highestNumber);
    if (filters_->longestRun && *filters_->longestRun == 0)
        prefix.closed = NumberSet::upTo(highestNumber);
    for (const auto& table : tables_->archive)
        if (table.k == 0)
            prefix.closed |= table.all;
    return prefix;
}

bool FilterCheck::extend(const Prefix& prefix, int number, Prefix& next) const {
    const ColumnFilters& f = *filters_;
    if (number <= prefix.last || number > highestNumber || prefix.closed.contains(number))
        return false;
    const int depth = prefix.depth + 1;
    const int left = 6 - depth;
    if (number + left > highestNumber)
        return false;
    next = prefix;
    next.depth = depth;
    next.numbers[prefix.depth] = static_cast<std::uint8_t>(number);
    next.last = number;
    next.sum += number;
    next.odd += number % 2;
    next.low += number <= lowHalf;
    next.run = prefix.depth > 0 && number == prefix.last + 1 ? prefix.run + 1 : 1;
    next.maxRun = std::max(prefix.maxRun, next.run);

    if (tables_->bounds && !boundsReachable(f, next, left))
        return false;
    if (f.longestRun && next.maxRun > *f.longestRun)
        return false;
    if (f.perDecade && ++next.decade[(number - 1) / 10] >= *f.perDecade)
        next.closed |= masks.decade[(number - 1) / 10];
    if (f.sameEnding && ++next.ending[number % 10] >= *f.sameEnding)
        next.closed |= masks.ending[number % 10];
    for (std::size_t i = 0; i < tables_->with.size(); ++i)
        if (tables_->with[i].contains(number))
            next.withMet |= std::uint32_t{1} << (i & 31);

    closeSharedDraws(tables_->archive, prefix, number, next);
    return true;
}

NumberSet FilterCheck::lastNumbers(const Prefix& five) const {
    const ColumnFilters& f = *filters_;
    NumberSet allowed = rangeSet(five.last + 1, highestNumber).without(five.closed);
    if (f.sum)
        allowed = allowed & rangeSet(f.sum->low - five.sum, f.sum->high - five.sum);
    if (f.odd) {
        const bool evenFits = five.odd >= f.odd->low && five.odd <= f.odd->high;
        const bool oddFits = five.odd + 1 >= f.odd->low && five.odd + 1 <= f.odd->high;
        allowed =
            allowed & ((evenFits ? masks.even : NumberSet{}) | (oddFits ? masks.odd : NumberSet{}));
    }
    if (f.low) {
        const bool highFits = five.low >= f.low->low && five.low <= f.low->high;
        const bool lowFits = five.low + 1 >= f.low->low && five.low + 1 <= f.low->high;
        allowed =
            allowed & ((highFits ? masks.high : NumberSet{}) | (lowFits ? masks.low : NumberSet{}));
    }
    if (f.longestRun && five.run + 1 > *f.longestRun && five.last < highestNumber)
        allowed = allowed.without(rangeSet(five.last + 1, five.last + 1));
    for (std::size_t i = 0; i < tables_->with.size(); ++i)
        if (!(five.withMet >> (i & 31) & 1))
            allowed = allowed & tables_->with[i];
    return allowed;
}

bool FilterCheck::passes(const Column& column) const {
    Column sorted = column;
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end() ||
        !isBoardNumber(sorted[0]) || !isBoardNumber(sorted[5]))
        return false;
    Prefix prefix = start();
    Prefix next;
    for (int i = 0; i < 5; ++i) {
        if (!extend(prefix, sorted[i], next))
            return false;
        prefix = next;
    }
    return lastNumbers(prefix).contains(sorted[5]);
}

namespace {

// Depth-first walk over the increasing columns of the marked numbers, pruned by the filters.
template <class AtFive>
bool walk(const FilterCheck& check, std::span<const int> marked, const FilterCheck::Prefix& prefix,
          std::size_t from, AtFive& atFive) {
    FilterCheck::Prefix next;
    // After marked[i], 5 - depth more numbers must still fit.
    const std::size_t stop = marked.size() - (5 - prefix.depth);
    for (std::size_t i = from; i < stop; ++i) {
        if (!check.extend(prefix, marked[i], next))
            continue;
        if (next.depth == 5) {
            if (!atFive(next, i))
                return false;
        } else if (!walk(check, marked, next, i + 1, atFive)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::uint64_t> countPassingColumns(const FilterCheck& check,
                                                 std::span<const int> marked,
                                                 const std::function<bool(double)>& progress) {
    if (marked.size() < 6)
        return 0;
    std::vector<int> numbers(marked.begin(), marked.end());
    std::sort(numbers.begin(), numbers.end());
    const NumberSet markedSet = setOf(numbers);
    std::uint64_t passing = 0;
    std::uint64_t visited = 0;
    bool stopped = false;
    auto atFive = [&](const FilterCheck::Prefix& five, std::size_t) {
        passing += (check.lastNumbers(five) & markedSet).size();
        if ((++visited & 0xFFFF) == 0 && progress &&
            !progress(double(five.numbers[0] - numbers.front() + 1) /
                      double(numbers.back() - numbers.front() + 1))) {
            stopped = true;
            return false;
        }
        return true;
    };
    walk(check, numbers, check.start(), 0, atFive);
    if (stopped)
        return std::nullopt;
    return passing;
}

void forEachPassingColumn(const FilterCheck& check, std::span<const int> marked,
                          const std::function<bool(const Column&)>& visit) {
    if (marked.size() < 6)
        return;
    std::vector<int> numbers(marked.begin(), marked.end());
    std::sort(numbers.begin(), numbers.end());
    auto atFive = [&](const FilterCheck::Prefix& five, std::size_t at) {
        const NumberSet last = check.lastNumbers(five);
        Column column;
        std::copy(five.numbers.begin(), five.numbers.begin() + 5, column.begin());
        for (std::size_t j = at + 1; j < numbers.size(); ++j) {
            if (!last.contains(numbers[j]))
                continue;
            column[5] = static_cast<std::uint8_t>(numbers[j]);
            if (!visit(column))
                return false;
        }
        return true;
    };
    walk(check, numbers, check.start(), 0, atFive);
}

bool anyColumnPasses(const FilterCheck& check, std::span<const int> marked) {
    bool found = false;
    forEachPassingColumn(check, marked, [&](const Column&) {
        found = true;
        return false;
    });
    return found;
}

} // namespace quintor
