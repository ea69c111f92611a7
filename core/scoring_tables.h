#pragma once

#include "core/scoring.h"

#include <array>
#include <cstddef>
#include <vector>

namespace quintor {

// The rating of every value a candidate's feature can take, already weighted, so a score is
// nine lookups. The values are the very products the plain formula gives.
struct RatingTables {
    // delayTop: the largest delay sum a candidate can have (at most 6 x the draws).
    RatingTables(const FeatureStats& stats, int delayTop);
    std::array<std::vector<double>, featureCount> ratings;
};

// The number-probability part of a score from the sum of the six weights: a fifth of their mean.
inline double probabilityPart(double weightSum) {
    return weightSum * (1.0 / 6) * 0.2;
}

} // namespace quintor
