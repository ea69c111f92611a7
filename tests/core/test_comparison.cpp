#include "core/comparison.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quintor;

TEST(Comparison, MatchesCountDistinctTypedNumbersOnly) {
    const Column final{5, 12, 33, 45, 67, 89};
    EXPECT_EQ(matchCount({89, 67, 45, 33, 12, 5}, final), 6);
    EXPECT_EQ(matchCount({5, 12, 33, 0, 0, 0}, final), 3);
    // untyped places never match a final column, even one holding a stray 0
    EXPECT_EQ(matchCount({5, 0, 0, 0, 0, 0}, {5, 0, 0, 1, 2, 3}), 1);
    // a number typed twice counts once
    EXPECT_EQ(matchCount({5, 5, 5, 5, 5, 5}, final), 1);
    EXPECT_EQ(matchCount({1, 2, 3, 4, 6, 7}, final), 0);
}

TEST(Comparison, CountersLinesAndJollyWarning) {
    const std::vector<Column> finals{
        {5, 12, 33, 45, 67, 89}, {1, 2, 3, 4, 6, 7}, {5, 12, 33, 45, 67, 90}, {5, 12, 33, 1, 2, 3}};

    auto result = compareWithWinning(parseTypedColumn("5 12 33 45 67 89").column, finals);
    EXPECT_EQ(result.counters, (std::array<std::size_t, 7>{1, 0, 0, 1, 0, 1, 1}));
    ASSERT_EQ(result.lines.size(), 3u);
    EXPECT_EQ(result.lines[0], "6)  5 12 33 45 67 89");
    EXPECT_EQ(result.lines[1], "5)  5 12 33 45 67 90");
    EXPECT_EQ(result.lines[2], "3)  5 12 33  1  2  3");
    EXPECT_TRUE(result.jollyWarning);

    // only three typed: nobody reaches 5
    result = compareWithWinning(parseTypedColumn("5 12 33").column, finals);
    EXPECT_EQ(result.counters, (std::array<std::size_t, 7>{1, 0, 0, 3, 0, 0, 0}));
    EXPECT_FALSE(result.jollyWarning);

    // nothing at 3 or more: no lines
    result = compareWithWinning(parseTypedColumn("80 81 82 83 84 85").column, finals);
    EXPECT_TRUE(result.lines.empty());
    EXPECT_EQ(result.counters[0], finals.size());
}

TEST(Distribution, CountsAndBarHeights) {
    // ten columns all holding 7, every other number held once
    std::vector<Column> finals;
    int next = 8;
    for (int c = 0; c < 10; ++c) {
        Column column{7};
        for (std::size_t k = 1; k < 6; ++k)
            column[k] = static_cast<std::uint8_t>(next++);
        finals.push_back(column);
    }
    const auto counts = distributionCounts(finals);
    EXPECT_EQ(counts[7], 10u);
    EXPECT_EQ(counts[8], 1u);
    EXPECT_EQ(counts[1], 0u);

    const auto chart = distributionChart(counts);
    ASSERT_EQ(chart.bars.size(), 51u);
    for (const auto& bar : chart.bars) {
        EXPECT_EQ(bar.height, bar.number == 7 ? 245 : 24) << bar.number; // 24.5 to even
        EXPECT_EQ(bar.top + bar.height, chartAxisY);
        EXPECT_EQ(bar.left, 5 * bar.number + 11);
        EXPECT_EQ(bar.width, 3);
    }
    EXPECT_EQ(distributionBarHeight(3, 2), 368); // 367.5 to even
    EXPECT_EQ(distributionBarHeight(1, 4), 61);  // 61.25
    EXPECT_EQ(distributionBarHeight(0, 0), 0);
}

TEST(Distribution, AxesTicksAndLabels) {
    std::array<std::size_t, 91> counts{};
    counts[1] = 1;
    const auto chart = distributionChart(counts);
    // strokes lose their last pixel
    EXPECT_EQ(chart.axes[0], (ChartLine{7, 13, 9, 11}));
    EXPECT_EQ(chart.axes[2], (ChartLine{10, 10, 10, 256}));
    EXPECT_EQ(chart.axes[3], (ChartLine{10, 257, 499, 257}));
    EXPECT_EQ(chart.axes[5], (ChartLine{500, 257, 497, 260}));

    ASSERT_EQ(chart.ticks.size(), 90u);
    EXPECT_EQ(chart.ticks[0], (ChartLine{17, 256, 17, 261})); // 1: long
    EXPECT_EQ(chart.ticks[1], (ChartLine{22, 258, 22, 258})); // 2: one pixel
    EXPECT_EQ(chart.ticks[87].y2, 261);                       // 88: long
    EXPECT_EQ(chart.ticks[89].y2, 258);                       // 90: short
    ASSERT_EQ(chart.labelled.size(), 30u);
    EXPECT_EQ(chart.labelled.front(), 1);
    EXPECT_EQ(chart.labelled.back(), 88);
    EXPECT_EQ(distributionLabelX(1, 6), 14); // 10 + 9 / 2
    EXPECT_EQ(distributionLabelX(88, 13), 446);
    EXPECT_EQ(distributionLabelX(4, 18), 24); // (15 - 18) / 2 truncates to -1, not -2
}
