#pragma once

#include "core/system_state.h"

#include <array>
#include <string>

namespace quintor {

inline constexpr int fixedRowCount = 6;

// One row of the fixed-numbers dialog: its check box and the text of its field.
struct FixedRow {
    bool checked = false;
    std::string text;
};
using FixedRows = std::array<FixedRow, fixedRowCount>;

// The rows as the dialog opens: the first fixedCount checked with their numbers.
FixedRows fixedRowsOf(const SystemState& state);

// Keeps, in row order, the numbers of the checked rows that hold an integer 1..90 and moves
// them up to close the gaps; other rows are dropped without a word. Repeated or unmarked
// numbers are kept as they are. A change of the fixed numbers sets the modified flag.
void applyFixedRows(SystemState& state, const FixedRows& rows);

} // namespace quintor
