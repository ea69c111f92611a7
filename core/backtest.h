#pragma once

#include "core/archive.h"
#include "core/column.h"
#include "core/expected.h"
#include "core/run_control.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

// A column's result on a draw: how many of its numbers were drawn, with 5 plus the jolly as a
// result of its own between 5 and 6.
enum DrawLevel : int { fivePlusJolly = 6, sixPoints = 7 };
inline constexpr int drawLevelCount = 8;    // 0, 1, 2, 3, 4, 5, 5+, 6
inline constexpr int winningLevelCount = 5; // 3, 4, 5, 5+, 6
inline constexpr int firstWinningLevel = 3;

// "0" .. "5", "5+", "6".
std::string drawLevelText(int level);

struct BacktestDraw {
    std::size_t record = 0;                                 // index in the draws given
    int best = 0;                                           // a DrawLevel value 0..7
    std::array<std::uint32_t, winningLevelCount> winners{}; // columns with 3, 4, 5, 5+, 6
};

struct BacktestResult {
    std::vector<BacktestDraw> draws; // one per draw, in the order given (oldest first)
    std::array<std::uint64_t, drawLevelCount> byBest{};
    std::array<std::uint64_t, winningLevelCount> winners{};
    std::size_t longestWithoutThree = 0; // consecutive draws whose best is below 3
    bool stopped = false;
};

// Share of the draws done, 0..1, from the engine's threads one at a time.
using BacktestProgress = std::function<void(double done)>;

// Plays the final columns on every draw. The draws are split among threads in whole blocks,
// so the counts are the same for any thread count.
BacktestResult backtest(std::span<const Column> finals, std::span<const ArchiveRecord> draws,
                        RunControl* control = nullptr, const BacktestProgress& progress = {},
                        int threads = 0);

// The back-test draw by draw as CSV, "data;migliore;3;4;5;5+;6" and one line a draw, saved
// to file through replaceFileContents; draws are the ones the back-test was given.
bool exportBacktestCsv(const std::filesystem::path& file, const BacktestResult& result,
                       std::span<const ArchiveRecord> draws);

// The draws dated from..to (either end open), as a contiguous part of the archive. Dates typed
// as day/month/year; refused with the runtime's message or an Italian one, and an archive with
// no draw in the range says so.
Expected<std::span<const ArchiveRecord>>
drawsInRange(const Archive& archive, std::string_view fromText, std::string_view toText);

inline constexpr const char* reversedRangeMessage =
    "La data iniziale è successiva alla data finale.\rCorreggere e riprovare.";
inline constexpr const char* noDrawsInRangeMessage =
    "L'archivio non contiene estrazioni nel periodo indicato.";

// Lire paid for 3, 4, 5, 5 + jolly and 6 points.
struct PrizeTable {
    std::array<long double, winningLevelCount> lire{};

    static PrizeTable defaults();
    // Five whole amounts >= 0 separated by commas: "P3,P4,P5,P5J,P6".
    static Expected<PrizeTable> parse(std::string_view text);
    // One amount: whole lire >= 0, blanks around it allowed; nothing when it is not one.
    static std::optional<long double> parseAmount(std::string_view text);
    // The program folder's file of prizes, one amount per line; the defaults when it is
    // missing or damaged.
    static PrizeTable load(const std::filesystem::path& folder);
    bool save(const std::filesystem::path& folder) const;

    long double won(const std::array<std::uint64_t, winningLevelCount>& winners) const;
    bool operator==(const PrizeTable&) const = default;
};

inline constexpr const char* prizeFileName = "premi.cfg";
inline constexpr const char* prizesMessage =
    "I premi devono essere cinque importi interi non negativi in lire, separati da virgole\r(3, "
    "4, 5, 5+jolly e 6 punti).";

} // namespace quintor
