#pragma once

#include "core/column.h"
#include "core/column_editing.h" // parseTypedColumn reads the typed winning column

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quintor {

inline constexpr const char* jollyWarningText =
    "Alcune colonne realizzano 5 punti. Controllare il NUMERO JOLLY !!!!";

// How many different numbers 1..90 of the winning column the final column holds. Zeros (nothing
// typed) and a number typed twice never count twice, so the result stays within 0..6.
int matchCount(const Column& winning, const Column& final);

struct ComparisonResult {
    std::array<std::size_t, 7> counters{}; // final columns by match count 0..6
    std::vector<std::string> lines;        // "m) column text" for matches of 3 or more
    bool jollyWarning = false;             // some column matches 5 or 6
};

ComparisonResult compareWithWinning(const Column& winning, std::span<const Column> finals);

// How many times each number 1..90 occurs in the final columns, [0] unused; bytes outside
// 1..90 (a column typed badly) are not counted anywhere.
std::array<std::size_t, 91> distributionCounts(std::span<const Column> finals);

// The distribution chart in client pixels, y downwards. Lines are given with both ends
// included (the last pixel of each stroke already left out); rectangles as a left/top corner
// and a size.
struct ChartLine {
    int x1, y1, x2, y2;
    bool operator==(const ChartLine&) const = default;
};

struct ChartBar {
    int number;
    int left, top, width, height; // outline and fill within these pixels
};

struct DistributionChart {
    std::vector<ChartLine> axes;  // the two axes and their arrows
    std::vector<ChartLine> ticks; // one per number 1..90
    std::vector<ChartBar> bars;   // numbers that occur at least once
    std::vector<int> labelled;    // 1, 4, ..., 88
};

inline constexpr int chartAxisY = 257;
inline constexpr int chartLabelY = 260;
inline constexpr int chartTallestBar = 245;

// Bar height in pixels: 245 * count / max to the nearest integer, halves to even.
int distributionBarHeight(std::size_t count, std::size_t maximum);
DistributionChart distributionChart(const std::array<std::size_t, 91>& counts);
// Left edge of the label of number i whose text is textWidth pixels wide.
int distributionLabelX(int number, int textWidth);

} // namespace quintor
