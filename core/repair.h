#pragma once

#include "core/column.h"
#include "core/expected.h"
#include "core/run_control.h"
#include "core/system_state.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace quintor {

// Everything a repair of "t se m" reads.
struct RepairRequest {
    std::vector<int> marked;    // increasing, distinct, 1..90
    std::vector<int> fixed;     // every added column holds all of them
    std::vector<Column> finals; // the final columns already in the list
    int t = 3;
    int m = 6;
    std::int64_t budget = 0; // at most this many columns are added
    // Orders columns that cover equally many holes, higher first; without it the
    // lexicographically first column wins the tie.
    std::function<double(const Column&)> score;
    // Once the guarantee holds, a local search looks for fewer columns that keep it, visiting
    // at most this many m-sets (0: none).
    std::uint64_t shortenWork = 0;
};

struct RepairResult {
    std::vector<Column> added; // increasing numbers, in the order they were chosen
    std::uint64_t covered = 0; // m-sets covered in t numbers after the repair
    std::uint64_t total = 0;   // C(n, m)
    bool stopped = false;      // cancelled: added holds the columns chosen so far
};

// After each added column, on the calling thread.
using RepairProgress = std::function<void(const RepairResult& sofar)>;

// The repair refuses systems whose work would run for hours: it looks at every six-number
// column of the marked numbers and, for each hole, at every column that would cover it.
inline constexpr std::uint64_t repairCandidateLimit = 2'000'000;
inline constexpr std::uint64_t repairWorkLimit = 4'000'000'000;
// The shortening a window or the command line asks for: about a second of work.
inline constexpr std::uint64_t defaultShortenWork = 40'000'000;

inline constexpr const char* repairTooLargeMessage =
    "Il sistema è troppo grande per completare la garanzia richiesta.\rRidurre i segni o "
    "scegliere una garanzia più bassa.";
inline constexpr const char* guaranteeChoiceMessage =
    "La garanzia deve essere \"t se m\" con m compreso tra 3 e 6 e t compreso tra 2 e m.";

// Greedy completion: repeatedly adds the column of six marked numbers (holding every fixed
// number, not already in the list) that covers the most holes still open, until none is left,
// the budget is spent or no column covers another hole. Deterministic.
Expected<RepairResult> repairGuarantee(const RepairRequest& request, RunControl* control = nullptr,
                                       const RepairProgress& progress = {});

inline constexpr std::int64_t largestRepairBudget = 1'000'000;
inline constexpr const char* repairBudgetMessage =
    "Il numero massimo di colonne da aggiungere deve essere compreso tra 1 e 1000000.\rCorreggere "
    "e riprovare.";

// The request a system window makes from its own state: its marked and fixed numbers and its
// final columns; ties go by the selection's column score when newestDraws (newest first) holds
// at least 202 draws.
RepairRequest repairRequest(const SystemState& system, std::vector<Column> newestDraws, int t,
                            int m, std::int64_t budget);

// The typed column budget: blanks removed, then a whole number 1..largestRepairBudget (the
// runtime's message when it does not convert).
Expected<std::int64_t> repairBudget(std::string_view text);

} // namespace quintor
