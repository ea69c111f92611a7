#include "core/fixed_numbers.h"

#include "core/column_editing.h"

#include <algorithm>

namespace quintor {

FixedRows fixedRowsOf(const SystemState& state) {
    FixedRows rows;
    const int count = std::clamp(state.fixedCount, 0, fixedRowCount);
    for (int k = 0; k < count; ++k) {
        rows[static_cast<std::size_t>(k)].checked = true;
        rows[static_cast<std::size_t>(k)].text =
            std::to_string(state.fixedNumbers[static_cast<std::size_t>(k)]);
    }
    return rows;
}

void applyFixedRows(SystemState& state, const FixedRows& rows) {
    const int countBefore = state.fixedCount;
    const auto numbersBefore = state.fixedNumbers;
    state.fixedCount = 0;
    for (const FixedRow& row : rows) {
        if (!row.checked)
            continue;
        const auto value = parseTypedInteger(row.text);
        if (!value || !isBoardNumber(*value))
            continue;
        state.fixedNumbers[static_cast<std::size_t>(state.fixedCount++)] =
            static_cast<std::uint8_t>(*value);
    }
    // The fixed numbers are saved with the system, so a change is one to save.
    if (state.fixedCount != countBefore ||
        !std::equal(state.fixedNumbers.begin(), state.fixedNumbers.begin() + state.fixedCount,
                    numbersBefore.begin()))
        state.modified = true;
}

} // namespace quintor
