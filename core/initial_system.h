#pragma once

#include "core/random.h"
#include "core/system_state.h"

namespace quintor {

inline constexpr const char* clearInitialSystemQuestion =
    "Sei sicuro di voler azzerare il sistema iniziale ?";

// Marks a number drawn at random among the unmarked ones (its weight goes back to 50) and
// sets the modified flag. Returns the number, or 0 when all 90 are already marked.
int markRandomNumber(SystemState& state, RandomGenerator& random);

// Unmarks a number drawn at random among the marked ones, as above. Returns the number, or 0
// when none is marked.
int unmarkRandomNumber(SystemState& state, RandomGenerator& random);

// Unmarks every marked number, putting its weight back to 50, and sets the modified flag.
// Final columns and fixed numbers stay. Returns the numbers unmarked, in increasing order.
std::vector<int> clearInitialSystem(SystemState& state);

} // namespace quintor
