#include "core/comparison.h"

#include "core/rounding.h"

#include <algorithm>

namespace quintor {

int matchCount(const Column& winning, const Column& final) {
    int count = 0;
    for (std::size_t i = 0; i < winning.size(); ++i) {
        const std::uint8_t number = winning[i];
        if (!isBoardNumber(number))
            continue;
        if (std::find(winning.begin(), winning.begin() + static_cast<std::ptrdiff_t>(i), number) !=
            winning.begin() + static_cast<std::ptrdiff_t>(i))
            continue; // typed twice
        if (std::find(final.begin(), final.end(), number) != final.end())
            ++count;
    }
    return count;
}

ComparisonResult compareWithWinning(const Column& winning, std::span<const Column> finals) {
    ComparisonResult result;
    for (const Column& final : finals) {
        const int m = matchCount(winning, final);
        if (m >= 3)
            result.lines.push_back(std::to_string(m) + ") " + formatColumn(final));
        ++result.counters[static_cast<std::size_t>(m)];
        if (m >= 5)
            result.jollyWarning = true;
    }
    return result;
}

std::array<std::size_t, 91> distributionCounts(std::span<const Column> finals) {
    std::array<std::size_t, 91> counts{};
    for (const Column& final : finals)
        for (std::uint8_t number : final)
            if (isBoardNumber(number))
                ++counts[number];
    return counts;
}

int distributionBarHeight(std::size_t count, std::size_t maximum) {
    if (maximum == 0)
        return 0;
    return static_cast<int>(
        roundHalfEven(static_cast<long double>(chartTallestBar) * static_cast<long double>(count) /
                      static_cast<long double>(maximum)));
}

int distributionLabelX(int number, int textWidth) {
    return 5 * number + 5 + (15 - textWidth) / 2;
}

namespace {

// A stroke from (x1, y1) towards (x2, y2), its last pixel left out; only horizontal, vertical
// and diagonal strokes occur in the chart.
ChartLine stroke(int x1, int y1, int x2, int y2) {
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    return {x1, y1, x2 - sign(x2 - x1), y2 - sign(y2 - y1)};
}

} // namespace

DistributionChart distributionChart(const std::array<std::size_t, 91>& counts) {
    DistributionChart chart;
    chart.axes = {stroke(7, 13, 10, 10),      stroke(10, 10, 14, 14),
                  stroke(10, 10, 10, 257),    stroke(10, 257, 500, 257),
                  stroke(500, 257, 496, 253), stroke(500, 257, 496, 261)};
    const std::size_t maximum = *std::max_element(counts.begin() + 1, counts.end());
    for (int i = 1; i <= 90; ++i) {
        const int x = 5 * i + 12;
        const bool labelled = i % 3 == 1;
        chart.ticks.push_back(labelled ? stroke(x, 256, x, 262) : stroke(x, 258, x, 259));
        const std::size_t count = counts[static_cast<std::size_t>(i)];
        if (count > 0) {
            const int h = distributionBarHeight(count, maximum);
            if (h > 0)
                chart.bars.push_back({i, 5 * i + 11, chartAxisY - h, 3, h});
        }
        if (labelled)
            chart.labelled.push_back(i);
    }
    return chart;
}

} // namespace quintor
