#include "core/initial_system.h"

namespace quintor {

namespace {

// Draws numbers until one whose mark is `wanted`; the caller makes sure one exists.
int drawNumberMarked(const SystemState& state, RandomGenerator& random, std::uint8_t wanted) {
    while (true) {
        const int n = random.next(boardSize) + 1;
        if ((state.marked[static_cast<std::size_t>(n)] == 1) == (wanted == 1))
            return n;
    }
}

} // namespace

int markRandomNumber(SystemState& state, RandomGenerator& random) {
    if (state.markedCount() == boardSize)
        return 0;
    const int n = drawNumberMarked(state, random, 0);
    state.modified = true;
    state.toggleMark(n);
    return n;
}

int unmarkRandomNumber(SystemState& state, RandomGenerator& random) {
    if (state.markedCount() == 0)
        return 0;
    const int n = drawNumberMarked(state, random, 1);
    state.modified = true;
    state.toggleMark(n);
    return n;
}

std::vector<int> clearInitialSystem(SystemState& state) {
    std::vector<int> numbers = state.markedNumbers();
    for (int n : numbers)
        state.toggleMark(n);
    state.modified = true;
    return numbers;
}

} // namespace quintor
