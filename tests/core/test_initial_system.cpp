#include "core/column_price.h"
#include "core/conversions.h"
#include "core/fixed_numbers.h"
#include "core/initial_system.h"

#include <gtest/gtest.h>

using namespace quintor;

TEST(RandomMarks, MarkAnUnmarkedAndUnmarkAMarkedNumber) {
    SystemState state;
    for (int n = 1; n <= 90; ++n)
        if (n != 47)
            state.marked[static_cast<std::size_t>(n)] = 1;
    state.probabilities[47] = Real48::fromValue(80);
    RandomGenerator random(3);
    EXPECT_EQ(markRandomNumber(state, random), 47) << "the last free number";
    EXPECT_EQ(state.probabilities[47], real48::fifty);
    EXPECT_TRUE(state.modified);
    EXPECT_EQ(markRandomNumber(state, random), 0) << "nothing left to mark";
    EXPECT_EQ(state.markedCount(), 90);

    SystemState few;
    few.marked[12] = few.marked[70] = 1;
    few.probabilities[70] = Real48::fromValue(10);
    RandomGenerator r2(8);
    const int first = unmarkRandomNumber(few, r2);
    ASSERT_TRUE(first == 12 || first == 70);
    EXPECT_EQ(few.marked[static_cast<std::size_t>(first)], 0);
    EXPECT_EQ(few.probabilities[static_cast<std::size_t>(first)], real48::fifty);
    const int second = unmarkRandomNumber(few, r2);
    EXPECT_EQ(first + second, 82);
    EXPECT_EQ(unmarkRandomNumber(few, r2), 0);
}

TEST(RandomMarks, ClearingTheInitialSystemKeepsColumnsAndFixedNumbers) {
    SystemState state;
    state.marked[4] = state.marked[9] = 1;
    state.probabilities[4] = Real48::fromValue(95);
    state.probabilities[20] = Real48::fromValue(15); // unmarked: left alone
    state.finalColumns = {{1, 2, 3, 4, 5, 6}};
    state.fixedCount = 1;
    state.fixedNumbers[0] = 4;
    EXPECT_EQ(clearInitialSystem(state), (std::vector<int>{4, 9}));
    EXPECT_EQ(state.markedCount(), 0);
    EXPECT_EQ(state.probabilities[4], real48::fifty);
    EXPECT_EQ(state.probabilities[20], Real48::fromValue(15));
    EXPECT_EQ(state.finalColumns.size(), 1u);
    EXPECT_EQ(state.fixedCount, 1);
    EXPECT_TRUE(state.modified);
}

TEST(FixedNumbers, KeepsValidCheckedRowsClosingTheGaps) {
    SystemState state;
    FixedRows rows;
    rows[0] = {true, "5"};
    rows[1] = {false, "40"};
    rows[2] = {true, "12"};
    applyFixedRows(state, rows);
    EXPECT_EQ(state.fixedCount, 2);
    EXPECT_EQ(state.fixedNumbers[0], 5);
    EXPECT_EQ(state.fixedNumbers[1], 12);
    const FixedRows shown = fixedRowsOf(state);
    EXPECT_TRUE(shown[0].checked && shown[1].checked && !shown[2].checked);
    EXPECT_EQ(shown[0].text, "5");
    EXPECT_EQ(shown[1].text, "12");
    EXPECT_EQ(shown[2].text, "");
    // The fixed numbers are saved with the system: a change is one to save, the same rows
    // again are not.
    EXPECT_TRUE(state.modified);
    state.modified = false;
    applyFixedRows(state, rows);
    EXPECT_FALSE(state.modified);
}

TEST(FixedNumbers, DropsBadRowsButKeepsRepeatsAndUnmarkedNumbers) {
    SystemState state;
    state.fixedCount = 3;
    FixedRows rows;
    rows[0] = {true, "0"};
    rows[1] = {true, "91"};
    rows[2] = {true, "a"};
    rows[3] = {true, ""};
    rows[4] = {true, "33"};
    rows[5] = {true, "33"};
    applyFixedRows(state, rows);
    EXPECT_EQ(state.fixedCount, 2);
    EXPECT_EQ(state.fixedNumbers[0], 33);
    EXPECT_EQ(state.fixedNumbers[1], 33);

    FixedRows none;
    none[0] = {false, "7"};
    applyFixedRows(state, none);
    EXPECT_EQ(state.fixedCount, 0);
}

TEST(ColumnPrice, ShowsTwoDecimalsWithAPoint) {
    EXPECT_EQ(columnPriceText(real48::eightHundred), "800.00");
    EXPECT_EQ(columnPriceText(Real48::fromValue(1000)), "1000.00");
    EXPECT_EQ(columnPriceText(Real48::fromValue(0.5L)), "0.50");
    EXPECT_EQ(columnPriceText(Real48::fromValue(1234.567L)), "1234.57");
    EXPECT_EQ(columnPriceText(Real48{}), "0.00");
}

TEST(ColumnPrice, ParsesThePointGrammarAndRefusesTheRest) {
    EXPECT_EQ(*parseColumnPrice("1000"), Real48::fromValue(1000));
    EXPECT_EQ(*parseColumnPrice("  1000.50"), Real48::fromValue(1000.5L));
    EXPECT_EQ(*parseColumnPrice(".5"), Real48::fromValue(0.5L));
    EXPECT_EQ(*parseColumnPrice("5."), Real48::fromValue(5));
    EXPECT_EQ(*parseColumnPrice("+1E3"), Real48::fromValue(1000));
    EXPECT_EQ(*parseColumnPrice("1e-2"), Real48::fromValue(0.01L));
    for (const char* bad : {"", "  ", "1000,50", "1000 ", "+", "-", ".", "e5", "1e", "1e+", "1.2.3",
                            "abc", "1e40", "-2"}) {
        const auto price = parseColumnPrice(bad);
        ASSERT_FALSE(price.ok()) << '"' << bad << '"';
        EXPECT_EQ(price.error(), invalidPriceMessage);
    }
    EXPECT_EQ(parseReal("0,032").error(), "'0,032' is not a valid floating point value");
}
