#pragma once

#include "core/column.h"
#include "core/expected.h"
#include "core/run_control.h"
#include "core/system_state.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quintor {

// Everything a repair of "t se m" reads.
struct RepairRequest {
    std::vector<int> marked; // increasing, distinct, 1..90
    // Every added column holds all of them, and the guarantee is sought over the m-sets that
    // hold them all: with f fixed numbers among those drawn, the columns are the fixed numbers
    // and a "t - f se m - f" covering of the others by 6 - f.
    std::vector<int> fixed;
    std::vector<Column> finals; // the final columns already in the list
    int t = 3;
    int m = 6;
    std::int64_t budget = 0; // at most this many columns are added
    // Orders columns that cover equally many holes, higher first; without it the
    // lexicographically first column wins the tie.
    std::function<double(const Column&)> score;
    // After the greedy choice, a covering search looks for fewer columns that keep the
    // guarantee (or, when the budget cannot reach it, for the budget's columns that leave the
    // fewest m-sets open), visiting at most this many m-sets (0: none). With a score, each
    // column the search keeps then gives way to a better-scored one that covers at least as
    // much, so the columns' score counts after the search as in the greedy choice.
    std::uint64_t searchWork = 0;
};

struct RepairResult {
    std::vector<Column> added; // increasing numbers
    std::uint64_t covered = 0; // m-sets covered in t numbers after the repair
    std::uint64_t total = 0;   // C(n, m)
    // The same over the m-sets that hold every fixed number (all of them without fixed ones).
    std::uint64_t coveredHoldingFixed = 0;
    std::uint64_t totalHoldingFixed = 0;
    bool stopped = false;       // cancelled before a result: added holds the columns so far
    bool searching = false;     // in a progress report: added is the search's best so far
    bool searchStopped = false; // the covering search was stopped: added is its best so far
    double done = 0;            // share of the run's work, for a gauge
    bool reached() const { return coveredHoldingFixed == totalHoldingFixed; }
};

// Now and then during the run (after each added column, and as the search goes), on the
// calling thread.
using RepairProgress = std::function<void(const RepairResult& sofar)>;

// The repair refuses systems whose work would run for hours: it looks at every six-number
// column of the marked numbers and, for each hole, at every column that would cover it.
inline constexpr std::uint64_t repairCandidateLimit = 2'000'000;
inline constexpr std::uint64_t repairWorkLimit = 4'000'000'000;
// The search a window or the command line asks for: up to a minute of work on large coverings;
// small ones settle well before.
inline constexpr std::uint64_t defaultSearchWork = 3'000'000'000;

inline constexpr const char* repairTooLargeMessage =
    "Il sistema è troppo grande per completare la garanzia richiesta.\rRidurre i segni o "
    "scegliere una garanzia più bassa.";
inline constexpr const char* fixedAboveDrawnMessage =
    "I numeri fissi sono più dei numeri estratti della garanzia.\rTogliere qualche numero fisso o "
    "scegliere una garanzia con più numeri estratti.";
inline constexpr const char* guaranteeChoiceMessage =
    "La garanzia deve essere \"t se m\" con m compreso tra 3 e 6 e t compreso tra 2 e m.";

// Greedy completion: repeatedly adds the column of six marked numbers (holding every fixed
// number, not already in the list) that covers the most holes still open, until none is left,
// the budget is spent or no column covers another hole; then, when the request asks for it,
// the covering search. The result is counted again by the guarantee's own engine before it is
// returned. Deterministic. A stop during the search returns its best so far.
Expected<RepairResult> repairGuarantee(const RepairRequest& request, RunControl* control = nullptr,
                                       const RepairProgress& progress = {});

inline constexpr std::int64_t largestRepairBudget = 1'000'000;
inline constexpr const char* repairBudgetMessage =
    "Il numero massimo di colonne da aggiungere deve essere compreso tra 1 e 1000000.\rCorreggere "
    "e riprovare.";

// The request a system window makes from its own state: its marked and fixed numbers and its
// final columns; ties go by the selection's column score when newestDraws (newest first) holds
// at least 202 draws.
// fixed, when given, stands for the system's own fixed numbers.
RepairRequest repairRequest(const SystemState& system, std::vector<Column> newestDraws, int t,
                            int m, std::int64_t budget,
                            std::optional<std::vector<int>> fixed = std::nullopt);

// The selection's column score over newestDraws (newest first, the newest snapshotLimit read),
// with the statistics measured at precision; empty when there are fewer than 202 draws.
std::function<double(const Column&)> archiveColumnScore(std::vector<Column> newestDraws,
                                                        const std::array<double, 91>& probabilities,
                                                        std::vector<int> fixed, int precision);

inline constexpr const char* repairFixedMessage =
    "I numeri fissi vanno scritti da 1 a 90, separati da virgole, al più sei.\rCorreggere e "
    "riprovare.";

// Typed fixed numbers: numbers 1..90 separated by commas or blanks (none at all is no fixed
// number), at most six and each a marked number; increasing, each once.
Expected<std::vector<int>> repairFixedNumbers(std::string_view text, std::span<const int> marked);

// The typed column budget: blanks removed, then a whole number 1..largestRepairBudget (the
// runtime's message when it does not convert).
Expected<std::int64_t> repairBudget(std::string_view text);

} // namespace quintor
