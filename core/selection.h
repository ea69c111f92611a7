#pragma once

#include "core/column.h"
#include "core/column_filters.h"
#include "core/expected.h"
#include "core/run_control.h"
#include "core/scoring.h"
#include "core/system_state.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

inline constexpr const char* fewDrawsMessage =
    "L'archivio delle colonne vincenti contiene meno di 202 colonne.\rImpossibile elaborare "
    "statistiche con meno di 202 colonne vincenti !";
inline constexpr const char* fewMarksMessage =
    "Il sistema contiene meno di SEI segni !\rCorreggere e riprovare.";
inline constexpr const char* invalidCountMessage =
    "Il numero di colonne specificato non é VALIDO!\rCorreggere e riprovare.";
inline constexpr const char* allRejectedMessage =
    "Sono state scartate tutte le colonne.\rProbabilmente è stata specificata una FISSA che non "
    "è presente nel sistema !";
inline constexpr const char* stopQuestion = "Sei sicuro di voler interrompere l'elaborazione ?";

// Everything one selection run reads.
struct SelectionRequest {
    std::span<const Column> draws;          // newest first; only the newest 10000 are read
    std::vector<int> marked;                // the marked numbers, increasing
    std::array<double, 91> probabilities{}; // weight of number n at [n]
    std::vector<int> fixed;                 // fixed numbers in list order
    std::int64_t count = 0;                 // columns wanted
    int precision = 0;                      // 0 full precision .. 26 full speed
    int threads = 0; // scoring threads; 0 chooses by the system's size and the machine
    // Columns that fail these filters are not candidates; none: every column is.
    std::shared_ptr<const FilterCheck> filter;
};

struct SelectionResult {
    std::vector<Column> columns; // the kept columns in list order
    std::vector<double> scores;  // their scores, full precision
    bool stopped = false;        // the caller asked to stop: nothing is kept
    int rescannedUnits = 0;      // pieces of work the threads had to leave to the list
};

// Called on the engine's thread at checkpoints, at least every few tens of thousands of
// columns and once at the end, with the columns examined so far.
using SelectionProgress = std::function<void(std::uint64_t examined, std::uint64_t total)>;

// The request a system window makes from its own state.
SelectionRequest selectionRequest(const SystemState& system, std::span<const Column> draws,
                                  std::int64_t count, int precision);

// The typed count of columns: leading blanks skipped, the rest a whole 32-bit integer in
// 1..initialColumns.
Expected<std::int64_t> requestedCount(std::string_view text, double initialColumns);

// The memory a selection of count columns from markedCount numbers may take at its peak, on
// the threads it would use: the kept list and its tree, the result handed back and the
// caller's copy of it, the candidates the threads hold for the list, the threads themselves.
std::uint64_t selectionMemoryNeed(std::int64_t count, int markedCount);
// The largest count whose need fits in available bytes (0 when none does), at most the
// initial columns.
std::int64_t largestSelectionCount(int markedCount, std::uint64_t available);
// The count refused before anything is allocated for it when it will not fit in the memory
// this process can have now, with a message naming the largest count that does.
Expected<bool> checkSelectionMemory(std::int64_t count, int markedCount);
std::string selectionMemoryMessage(std::int64_t count, std::int64_t largest);

// The marked numbers of a request that a run works on: the board numbers among them,
// increasing, each once. Fails with the program's message when the archive holds too few
// draws to score columns or fewer than six numbers are left.
Expected<std::vector<int>> usableMarkedNumbers(const SelectionRequest& request);

// The selection run: scores every initial column and keeps the best count of them. Fails with
// the program's message when the draws, the marks or the count cannot make a run. An empty
// result that was not stopped means every column was rejected. control, when given, can pause
// the run at a checkpoint or stop it, which keeps nothing.
Expected<SelectionResult> selectColumns(const SelectionRequest& request,
                                        RunControl* control = nullptr,
                                        const SelectionProgress& progress = {});

} // namespace quintor
