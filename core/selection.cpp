#include "core/selection.h"

#include "core/combinatorics.h"
#include "core/conversions.h"
#include "core/selection_engine.h"
#include "core/selection_list.h"
#include "core/selection_scheduler.h"

#include <algorithm>
#include <thread>

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

int threadCount(const SelectionRequest& request, std::uint64_t total) {
    if (request.threads > 0)
        return request.threads;
    if (total < (std::uint64_t{1} << 22))
        return 1;
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
}

} // namespace

Expected<SelectionResult> selectColumns(const SelectionRequest& request, RunControl* control,
                                        const SelectionProgress& progress) {
    const std::span<const Column> draws = scoringSnapshot(request.draws);
    if (draws.size() < minimumDraws)
        return Failure{fewDrawsMessage};
    std::vector<int> marked;
    for (int x : request.marked)
        if (isBoardNumber(x))
            marked.push_back(x);
    std::ranges::sort(marked);
    marked.erase(std::unique(marked.begin(), marked.end()), marked.end());
    if (marked.size() < 6)
        return Failure{fewMarksMessage};
    const double initial = initialColumnCount(static_cast<int>(marked.size()));
    if (request.count < 1 || static_cast<double>(request.count) > initial)
        return Failure{invalidCountMessage};

    SelectionRequest sorted = request;
    sorted.marked = std::move(marked);
    sorted.precision = std::clamp(request.precision, 0, precisionSteps);
    const SelectionModel model(sorted, draws);
    SelectionList list(model.capacity, model.tolerance);
    list.stopWhen(control);
    const ScheduleOutcome outcome =
        scheduleSelection(model, list, threadCount(sorted, model.total()), control, progress);
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
