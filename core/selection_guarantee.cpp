#include "core/selection_guarantee.h"

#include "core/column.h"
#include "core/probability.h"
#include "core/scoring.h"

#include <algorithm>
#include <numeric>

namespace quintor {

Expected<RepairResult> selectForGuarantee(const SelectionRequest& request,
                                          const GuaranteeTarget& target, RunControl* control,
                                          const RepairProgress& progress) {
    auto marked = usableMarkedNumbers(request);
    if (!marked)
        return Failure{marked.error()};
    if (request.filter)
        return Failure{guaranteeFiltersMessage};

    RepairRequest repair;
    repair.marked = std::move(*marked);
    repair.fixed = request.fixed;
    std::ranges::sort(repair.fixed);
    repair.fixed.erase(std::unique(repair.fixed.begin(), repair.fixed.end()), repair.fixed.end());
    repair.t = target.t;
    repair.m = target.m;
    repair.budget = target.budget;
    repair.searchWork = defaultSearchWork;
    const auto snapshot = scoringSnapshot(request.draws);
    repair.score = archiveColumnScore(std::vector<Column>(snapshot.begin(), snapshot.end()),
                                      request.probabilities, request.fixed,
                                      std::clamp(request.precision, 0, precisionSteps));
    auto result = repairGuarantee(repair, control, progress);
    if (!result || result->stopped)
        return result;
    // The selection's list order: the best score first.
    std::vector<std::pair<double, Column>> scored;
    for (const Column& column : result->added)
        scored.emplace_back(repair.score(column), column);
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < scored.size(); ++i)
        result->added[i] = scored[i].second;
    return result;
}

namespace {

std::string shareText(std::uint64_t covered, std::uint64_t total) {
    const long double share =
        total == 0 ? 0.0L
                   : 100.0L * static_cast<long double>(covered) / static_cast<long double>(total);
    return std::to_string(covered) + " su " + std::to_string(total) + " (" + percentText(share) +
           ")";
}

} // namespace

std::string guaranteeSelectionSummary(const RepairResult& result, const GuaranteeTarget& target,
                                      const std::vector<int>& fixed) {
    const std::string sets = "combinazioni di " + std::to_string(target.m) + " segni";
    std::string text = "Colonne scelte: " + std::to_string(result.added.size());
    if (fixed.empty()) {
        text += ". Le " + sets + " coperte con almeno " + std::to_string(target.t) +
                " punti: " + shareText(result.covered, result.total) + ".";
    } else {
        std::string numbers;
        for (int number : fixed)
            numbers += (numbers.empty() ? "" : ", ") + std::to_string(number);
        // With fixed numbers the guarantee is promised only on the draws that hold them all:
        // that is the share the player looks at, and the text says so.
        text += ", ognuna con le fisse " + numbers + ". Quota della garanzia, sulle " + sets +
                " che contengono tutte le fisse (le sole su cui la garanzia vale): " +
                shareText(result.coveredHoldingFixed, result.totalHoldingFixed) + ". Su tutte le " +
                sets + ": " + shareText(result.covered, result.total) + ".";
    }
    text += result.reached() ? " Garanzia " + std::to_string(target.t) + " se " +
                                   std::to_string(target.m) + " raggiunta."
                             : " Garanzia non raggiunta entro " + std::to_string(target.budget) +
                                   " colonne: è la quota più alta trovata.";
    return text;
}

} // namespace quintor
