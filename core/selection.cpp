#include "core/selection.h"

#include "core/combinatorics.h"
#include "core/conversions.h"
#include "core/memory_budget.h"
#include "core/selection_engine.h"
#include "core/selection_list.h"
#include "core/selection_scheduler.h"

#include <algorithm>
#include <limits>

namespace quintor {

SelectionRequest selectionRequest(const SystemState& system, std::span<const Column> draws,
                                  std::int64_t count, int precision) {
    SelectionRequest request;
    request.draws = draws;
    request.marked = system.markedNumbers();
    for (int n = 1; n <= boardSize; ++n)
        request.probabilities[static_cast<std::size_t>(n)] =
            system.probabilities[static_cast<std::size_t>(n)].toDouble();
    const int fixedCount = std::clamp(system.fixedCount, 0, boardSize);
    for (int i = 0; i < fixedCount; ++i)
        request.fixed.push_back(system.fixedNumbers[static_cast<std::size_t>(i)]);
    request.count = count;
    request.precision = precision;
    return request;
}

Expected<std::int64_t> requestedCount(std::string_view text, double initialColumns) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    const Expected<int> value = parseInteger(text);
    if (!value || *value < 1 || *value > initialColumns)
        return Failure{invalidCountMessage};
    return std::int64_t{*value};
}

namespace {

int threadCount(int requested, std::uint64_t total) {
    if (requested > 0)
        return requested;
    if (total < (std::uint64_t{1} << 22))
        return 1;
    return workerThreadCount(0);
}

std::uint64_t memoryNeed(std::int64_t count, int markedCount, int threads) {
    constexpr std::uint64_t megabyte = std::uint64_t{1} << 20;
    // A kept column: its numbers, score and number set in the list, two tree entries rounded
    // up to a power of two, the result's copy of numbers and score, the caller's copy of the
    // numbers and the file image it writes.
    constexpr std::uint64_t perColumn = sizeof(Column) + sizeof(double) + sizeof(NumberSet) +
                                        4 * sizeof(std::size_t) + sizeof(Column) + sizeof(double) +
                                        2 * sizeof(Column);
    // The model and its tables; a thread's stack and the allocator's own arena for it.
    constexpr std::uint64_t base = 16 * megabyte;
    constexpr std::uint64_t perThread = 72 * megabyte;
    const auto columns = static_cast<std::uint64_t>(std::max<std::int64_t>(count, 0));
    std::uint64_t need = base + columns * perColumn;
    if (threads > 1) {
        // Each unit a thread walked ahead holds up to all of its columns, in a vector that
        // may have doubled past them.
        const std::uint64_t unit = binomial(markedCount - 2, 4);
        const std::uint64_t held = std::min(unit, std::max<std::uint64_t>(1024, 2 * columns) + 1);
        const auto units =
            static_cast<std::uint64_t>(schedulerLag) + 2 * static_cast<std::uint64_t>(threads) + 1;
        need +=
            static_cast<std::uint64_t>(threads) * perThread + units * held * 2 * sizeof(Candidate);
    }
    return need;
}

// What is left for the rest of the program (its windows, the archive) once a run has
// taken its share.
std::uint64_t usableForSelection(std::uint64_t available) {
    constexpr std::uint64_t reserve = std::uint64_t{32} << 20;
    const std::uint64_t share = available / 10 * 9;
    return share > reserve ? share - reserve : 0;
}

} // namespace

std::uint64_t selectionMemoryNeed(std::int64_t count, int markedCount) {
    return memoryNeed(count, markedCount, threadCount(0, initialColumnCountExact(markedCount)));
}

std::int64_t largestSelectionCount(int markedCount, std::uint64_t available) {
    const auto initial = static_cast<std::int64_t>(std::min<std::uint64_t>(
        initialColumnCountExact(markedCount), std::numeric_limits<std::int32_t>::max()));
    // The need grows with the count: the largest count that fits, by halving.
    std::int64_t low = 0, high = initial;
    while (low < high) {
        const std::int64_t middle = low + (high - low + 1) / 2;
        if (selectionMemoryNeed(middle, markedCount) <= available)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

std::string selectionMemoryMessage(std::int64_t count, std::int64_t largest) {
    std::string text =
        "La memoria disponibile non basta per selezionare " + std::to_string(count) + " colonne.";
    if (largest < 1)
        return text + "\rChiudere altri programmi e riprovare.";
    return text + "\rIl numero massimo di colonne che questo computer può selezionare ora è " +
           std::to_string(largest) + ".";
}

Expected<std::vector<int>> usableMarkedNumbers(const SelectionRequest& request) {
    if (scoringSnapshot(request.draws).size() < minimumDraws)
        return Failure{fewDrawsMessage};
    std::vector<int> marked;
    for (int x : request.marked)
        if (isBoardNumber(x))
            marked.push_back(x);
    std::ranges::sort(marked);
    marked.erase(std::unique(marked.begin(), marked.end()), marked.end());
    if (marked.size() < 6)
        return Failure{fewMarksMessage};
    return marked;
}

Expected<bool> checkSelectionMemory(std::int64_t count, int markedCount) {
    const std::uint64_t usable = usableForSelection(availableMemory());
    if (selectionMemoryNeed(count, markedCount) <= usable)
        return true;
    return Failure{selectionMemoryMessage(count, largestSelectionCount(markedCount, usable))};
}

Expected<SelectionResult> selectColumns(const SelectionRequest& request, RunControl* control,
                                        const SelectionProgress& progress) {
    auto usable = usableMarkedNumbers(request);
    if (!usable)
        return Failure{usable.error()};
    std::vector<int> marked = std::move(*usable);
    const std::span<const Column> draws = scoringSnapshot(request.draws);
    const double initial = initialColumnCount(static_cast<int>(marked.size()));
    if (request.count < 1 || static_cast<double>(request.count) > initial)
        return Failure{invalidCountMessage};
    // Refused before a byte is allocated for it, rather than ended by the allocator halfway.
    const auto fits = checkSelectionMemory(request.count, static_cast<int>(marked.size()));
    if (!fits)
        return Failure{fits.error()};

    SelectionRequest sorted = request;
    sorted.marked = std::move(marked);
    sorted.precision = std::clamp(request.precision, 0, precisionSteps);
    const SelectionModel model(sorted, draws);
    SelectionList list(model.capacity, model.tolerance);
    list.stopWhen(control);
    const ScheduleOutcome outcome = scheduleSelection(
        model, list, threadCount(sorted.threads, model.total()), control, progress);
    SelectionResult result;
    result.rescannedUnits = outcome.rescannedUnits;
    if (!outcome.completed) {
        result.stopped = true;
        return result;
    }
    result.columns = list.columns();
    result.scores = list.scores();
    return result;
}

} // namespace quintor
