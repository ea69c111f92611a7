#include "core/system_state.h"

#include <algorithm>

namespace quintor {

std::array<Real48, boardSize + 1> SystemState::allFifty() {
    std::array<Real48, boardSize + 1> weights;
    weights.fill(real48::fifty);
    return weights;
}

int SystemState::markedCount() const {
    int count = 0;
    for (int n = 1; n <= boardSize; ++n)
        count += marked[static_cast<std::size_t>(n)] == 1;
    return count;
}

std::vector<int> SystemState::markedNumbers() const {
    std::vector<int> numbers;
    for (int n = 1; n <= boardSize; ++n)
        if (marked[static_cast<std::size_t>(n)] == 1)
            numbers.push_back(n);
    return numbers;
}

void SystemState::toggleMark(int n) {
    if (!isBoardNumber(n))
        return;
    auto& mark = marked[static_cast<std::size_t>(n)];
    mark = mark == 1 ? 0 : 1;
    probabilities[static_cast<std::size_t>(n)] = real48::fifty;
}

int SystemState::usableFixedCount() const {
    return std::clamp(fixedCount, 0, 6);
}

std::string markedNumbersText(const SystemState& state) {
    const int count = state.markedCount();
    if (count == 0)
        return "Nessun numero";
    if (count > 84)
        return std::to_string(count) + " numeri";
    std::string text;
    for (const int n : state.markedNumbers())
        text += ' ' + std::to_string(n);
    if (text.size() > 255)
        text.resize(255);
    return text;
}

} // namespace quintor
