#include "core/backtest.h"

#include "core/byte_file.h"
#include "core/conversions.h"
#include "core/match_bits.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <mutex>
#include <sstream>

namespace quintor {

bool exportBacktestCsv(const std::filesystem::path& file, const BacktestResult& result,
                       std::span<const ArchiveRecord> draws) {
    std::string text = "data;migliore;3;4;5;5+;6\n";
    for (const BacktestDraw& draw : result.draws) {
        text += draws[draw.record].date + ';' + drawLevelText(draw.best);
        for (std::uint32_t count : draw.winners)
            text += ';' + std::to_string(count);
        text += '\n';
    }
    return replaceFileContents(file, text);
}

std::string drawLevelText(int level) {
    if (level == fivePlusJolly)
        return "5+";
    if (level == sixPoints)
        return "6";
    return std::to_string(level);
}

namespace {

using match_bits::addBit;
using match_bits::ColumnMembership;
using match_bits::Counts3;
using match_bits::Word;

// The columns seen from the board: which columns hold each number 1..90.
struct Board {
    explicit Board(std::span<const Column> finals) : columns(boardNumbers(), finals) {}
    static std::vector<int> boardNumbers() {
        std::vector<int> all(90);
        for (int n = 1; n <= 90; ++n)
            all[static_cast<std::size_t>(n - 1)] = n;
        return all;
    }
    const Word* holding(int number) const { return columns.membersOf(number - 1); }
    ColumnMembership columns;
};

// Adds up, 64 columns at a time, how many of the drawn numbers each column holds.
BacktestDraw playDraw(const Board& board, const ArchiveRecord& record,
                      std::vector<Counts3>& counts) {
    const std::size_t words = board.columns.words;
    std::fill(counts.begin(), counts.end(), Counts3{});
    Word seen[2] = {0, 0}; // a damaged record may repeat a number: count it once
    for (std::uint8_t number : record.numbers) {
        if (!isBoardNumber(number) || ((seen[number >> 6] >> (number & 63)) & 1u))
            continue;
        seen[number >> 6] |= Word{1} << (number & 63);
        const Word* bits = board.holding(number);
        for (std::size_t w = 0; w < words; ++w)
            counts[w] = addBit(counts[w], bits[w]);
    }
    const int jolly = record.jollyNumber;
    const bool jollyApart = isBoardNumber(jolly) && !((seen[jolly >> 6] >> (jolly & 63)) & 1u);
    const Word* withJolly = jollyApart ? board.holding(jolly) : nullptr;

    BacktestDraw draw;
    Word one = 0, two = 0;
    for (std::size_t w = 0; w < words; ++w) {
        const Counts3 c = counts[w];
        const Word three = c.b0 & c.b1 & ~c.b2;
        const Word four = c.b2 & ~c.b1 & ~c.b0;
        const Word fives = c.b2 & c.b0 & ~c.b1;
        const Word six = c.b2 & c.b1 & ~c.b0;
        const Word fivePlus = withJolly ? fives & withJolly[w] : 0;
        const Word five = fives & ~fivePlus;
        draw.winners[0] += static_cast<std::uint32_t>(std::popcount(three));
        draw.winners[1] += static_cast<std::uint32_t>(std::popcount(four));
        draw.winners[2] += static_cast<std::uint32_t>(std::popcount(five));
        draw.winners[3] += static_cast<std::uint32_t>(std::popcount(fivePlus));
        draw.winners[4] += static_cast<std::uint32_t>(std::popcount(six));
        one |= c.b0 & ~c.b1 & ~c.b2;
        two |= c.b1 & ~c.b0 & ~c.b2;
    }
    if (draw.winners[4])
        draw.best = sixPoints;
    else if (draw.winners[3])
        draw.best = fivePlusJolly;
    else
        for (int level = 5; level >= 3 && draw.best == 0; --level)
            if (draw.winners[static_cast<std::size_t>(level - 3)])
                draw.best = level;
    if (draw.best == 0)
        draw.best = two ? 2 : one ? 1 : 0;
    return draw;
}

} // namespace

BacktestResult backtest(std::span<const Column> finals, std::span<const ArchiveRecord> draws,
                        RunControl* control, const BacktestProgress& progress, int threads) {
    BacktestResult result;
    const Board board(finals);

    result.draws.resize(draws.size());
    constexpr std::size_t block = 256;
    const std::size_t blocks = (draws.size() + block - 1) / block;
    std::atomic<std::size_t> nextBlock{0};
    std::atomic<bool> stopped{false};
    std::mutex mutex;
    std::size_t done = 0;
    auto work = [&] {
        std::vector<Counts3> counts(board.columns.words);
        while (!stopped.load(std::memory_order_relaxed)) {
            const std::size_t b = nextBlock.fetch_add(1);
            if (b >= blocks)
                return;
            if (control && !control->checkpoint()) {
                stopped = true;
                return;
            }
            const std::size_t end = std::min(draws.size(), (b + 1) * block);
            for (std::size_t i = b * block; i < end; ++i) {
                result.draws[i] = playDraw(board, draws[i], counts);
                result.draws[i].record = i;
            }
            std::lock_guard lock(mutex);
            done += end - b * block;
            if (progress)
                progress(static_cast<double>(done) / static_cast<double>(draws.size()));
        }
    };
    int count = workerThreadCount(threads);
    // Small runs are not worth a thread.
    if (static_cast<double>(draws.size()) * static_cast<double>(finals.size()) < 1e6)
        count = 1;
    runOnThreads(std::min<int>(count, static_cast<int>(std::max<std::size_t>(blocks, 1))), work);
    if (stopped.load()) {
        result.stopped = true;
        result.draws.clear();
        return result;
    }

    std::size_t run = 0;
    for (const BacktestDraw& draw : result.draws) {
        ++result.byBest[static_cast<std::size_t>(draw.best)];
        for (std::size_t k = 0; k < winningLevelCount; ++k)
            result.winners[k] += draw.winners[k];
        run = draw.best < firstWinningLevel ? run + 1 : 0;
        result.longestWithoutThree = std::max(result.longestWithoutThree, run);
    }
    return result;
}

Expected<std::span<const ArchiveRecord>>
drawsInRange(const Archive& archive, std::string_view fromText, std::string_view toText) {
    using std::chrono::sys_days;
    std::optional<sys_days> from, to;
    if (!removeBlanks(fromText).empty()) {
        const auto date = parseDate(fromText);
        if (!date)
            return Failure{date.error()};
        from = sys_days{*date};
    }
    if (!removeBlanks(toText).empty()) {
        const auto date = parseDate(toText);
        if (!date)
            return Failure{date.error()};
        to = sys_days{*date};
    }
    if (from && to && *from > *to)
        return Failure{reversedRangeMessage};
    const auto& records = archive.records();
    std::size_t first = 0, last = records.size();
    if (from)
        while (first < records.size() && !(records[first].day && *records[first].day >= *from))
            ++first;
    if (to)
        while (last > first && !(records[last - 1].day && *records[last - 1].day <= *to))
            --last;
    if (first >= last)
        return Failure{noDrawsInRangeMessage};
    return std::span<const ArchiveRecord>(records.data() + first, last - first);
}

PrizeTable PrizeTable::defaults() {
    // Round amounts in the order of the old prize levels; the user types the real ones.
    return PrizeTable{{30'000.0L, 500'000.0L, 10'000'000.0L, 100'000'000.0L, 1'000'000'000.0L}};
}

std::optional<long double> PrizeTable::parseAmount(std::string_view text) {
    const std::string piece = removeBlanks(text);
    long long value = -1;
    const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
    if (piece.empty() || error != std::errc{} || end != piece.data() + piece.size() || value < 0)
        return std::nullopt;
    return static_cast<long double>(value);
}

Expected<PrizeTable> PrizeTable::parse(std::string_view text) {
    PrizeTable table;
    std::size_t k = 0;
    while (true) {
        const std::size_t comma = text.find(',');
        const auto amount = parseAmount(text.substr(0, comma));
        if (k >= winningLevelCount || !amount)
            return Failure{prizesMessage};
        table.lire[k++] = *amount;
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    if (k != winningLevelCount)
        return Failure{prizesMessage};
    return table;
}

PrizeTable PrizeTable::load(const std::filesystem::path& folder) {
    // Read like every other file of the program: a plain file only (a FIFO would block the
    // window for good) and a few lines at most (a link to an endless device would fill the
    // memory). Five amounts of 19 digits with their line ends take about a hundred bytes.
    constexpr std::size_t prizeFileLimit = 4096;
    const auto bytes = readFileBytes(folder / prizeFileName, prizeFileLimit);
    if (!bytes)
        return defaults();
    std::string_view rest(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    std::string text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        text += (text.empty() ? "" : ",");
        text += line;
    }
    const auto table = parse(text);
    return table ? *table : defaults();
}

bool PrizeTable::save(const std::filesystem::path& folder) const {
    std::ostringstream text;
    for (long double amount : lire)
        text << static_cast<long long>(amount) << '\n';
    return replaceFileContents(folder / prizeFileName, text.str());
}

long double PrizeTable::won(const std::array<std::uint64_t, winningLevelCount>& winners) const {
    long double sum = 0;
    for (std::size_t k = 0; k < winningLevelCount; ++k)
        sum += static_cast<long double>(winners[k]) * lire[k];
    return sum;
}

} // namespace quintor
