#pragma once

#include "core/column.h"
#include "core/column_filters.h"
#include "core/layout_values.h"
#include "core/real48.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quintor {

inline constexpr int boardSize = 90;

// Everything one system window owns. Arrays indexed by number keep index 0 unused so that
// number n lives at [n], as everywhere in the program.
struct SystemState {
    std::array<std::uint8_t, boardSize + 1> marked{};             // 1 = marked on the board
    std::array<Real48, boardSize + 1> probabilities = allFifty(); // weights 0..100
    LayoutValues layout = LayoutValues::defaults();
    std::int32_t fixedCount = 0;                        // 0..6 in practice
    std::array<std::uint8_t, boardSize> fixedNumbers{}; // the first fixedCount are meaningful
    std::vector<Column> finalColumns;                   // in list order
    ColumnFilters filters; // kept beside the system file, see filterSidecarName
    // Lines of that filter file that are no filters this program knows: shown to the user,
    // and written back after the filters, so that a save never drops what it could not read.
    std::vector<UnreadFilterLine> unreadFilterLines;
    std::string fileName; // full path of the system file
    bool modified = false;

    int markedCount() const;
    std::vector<int> markedNumbers() const; // increasing
    // Flips the mark of n and puts its weight back to 50 (either direction). Numbers off the
    // board are ignored.
    void toggleMark(int n);
    // How many entries of fixedNumbers to use: fixedCount limited to 0..6, since a damaged
    // file may hold any count.
    int usableFixedCount() const;

    static std::array<Real48, boardSize + 1> allFifty();
};

// The list of marked numbers the system window shows: "Nessun numero", the numbers in
// increasing order each after a blank (at most 255 characters), or "N numeri" once more than
// 84 are marked.
std::string markedNumbersText(const SystemState& state);

} // namespace quintor
