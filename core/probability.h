#pragma once

#include "core/column.h"
#include "core/run_control.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace quintor {

// How many initial columns, among the first `examined` in lexicographic order, have their
// best match with the final columns equal to m (the largest count of numbers they share with
// any one final column), for m = 0..6. Levels 3 to 6 are the winning ones.
struct BestMatchCounts {
    std::uint64_t examined = 0;
    std::array<std::uint64_t, 7> best{};

    std::uint64_t winning() const { return best[3] + best[4] + best[5] + best[6]; }
    bool operator==(const BestMatchCounts&) const = default;
};

using BestMatchProgress = std::function<void(const BestMatchCounts&)>;

// Goes through every six-number combination of `marked` (increasing, distinct, 1..90) in
// lexicographic order and counts best matches. The numbers shared with a final column are
// the distinct numbers of the final column that are in the initial column; numbers of a
// final column outside the marked ones simply never match.
//
// progress receives the counts so far at regular checkpoints and once at the end; control,
// when given, can pause the run at a checkpoint or end it early, in which case the counts
// cover exactly the first `examined` initial columns.
BestMatchCounts countBestMatches(std::span<const int> marked, std::span<const Column> finals,
                                 RunControl* control = nullptr,
                                 const BestMatchProgress& progress = {});

// What the probability window shows, from counts and the number of initial columns T.
struct ProbabilityTexts {
    std::array<std::string, 4> levels; // 3, 4, 5 and 6 matches
    std::string total;
    std::string projected; // the extrapolation shown while counting
};

// A percentage with two decimals, "." as separator, then " %": "12.50 %", "100.00 %".
std::string percentText(long double value);

// Counts over all T initial columns (so partial counts give lower values); T of 0 (fewer than
// six marked numbers) gives 0 everywhere.
ProbabilityTexts probabilityTexts(const BestMatchCounts& counts, long double initialColumns);

// The gauge position 0..100 for the share of initial columns examined.
int probabilityGauge(std::uint64_t examined, long double initialColumns);

} // namespace quintor
