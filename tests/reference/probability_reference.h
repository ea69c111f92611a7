#pragma once

#include "core/probability.h"

#include <cstdint>
#include <limits>
#include <span>

namespace quintor::reference {

// Best-match counts by the plain loops: every initial column in lexicographic order against
// every final column in list order. Stops after `limit` initial columns.
BestMatchCounts bestMatches(std::span<const int> marked, std::span<const Column> finals,
                            std::uint64_t limit = std::numeric_limits<std::uint64_t>::max());

} // namespace quintor::reference
