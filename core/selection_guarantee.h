#pragma once

// The selection's other aim: not the best columns by score, but at most a budget of columns
// that guarantee "t se m" on the marked numbers, with the fixed numbers in every column. The
// work is the repair's from an empty list, its ties going by the selection's score.

#include "core/expected.h"
#include "core/repair.h"
#include "core/run_control.h"
#include "core/selection.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quintor {

struct GuaranteeTarget {
    int t = 3;
    int m = 6;
    std::int64_t budget = 0; // at most this many columns
};

inline constexpr const char* guaranteeFiltersMessage =
    "La selezione per garanzia non applica i filtri.\rTogliere i filtri o scegliere la selezione "
    "per punteggio.";

// The columns within the budget that reach the guarantee when it can be reached, else those
// that cover the largest share of m-sets, and both shares (over every m-set of the marked
// numbers, and over those that hold every fixed number); among sets that cover as much, the
// better-scored columns. The columns come best score first, as the selection lists them.
// Refuses, with the selection's and the repair's messages, what neither can run, and a
// request with filters. A stop before the covering search keeps nothing (stopped); one
// during it keeps its best so far.
Expected<RepairResult> selectForGuarantee(const SelectionRequest& request,
                                          const GuaranteeTarget& target,
                                          RunControl* control = nullptr,
                                          const RepairProgress& progress = {});

// What a finished run gives the player, in one paragraph: columns, the share that the
// guarantee is about (with fixed numbers, the draws holding them all) named as such, the
// other share, and whether the guarantee is reached.
std::string guaranteeSelectionSummary(const RepairResult& result, const GuaranteeTarget& target,
                                      const std::vector<int>& fixed);

} // namespace quintor
