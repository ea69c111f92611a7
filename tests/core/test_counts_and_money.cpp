#include "core/combinatorics.h"
#include "core/money.h"
#include "core/system_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace quintor;

namespace {

// The separator rule as the cost label describes it: for a text of L > 3 characters, L div 3
// dots (one fewer when L is a multiple of 3), the i-th before position length - 4i + 2.
std::string dottedByTheRule(std::string text) {
    const std::size_t length = text.size();
    if (length <= 3)
        return text;
    const std::size_t dots = length % 3 != 0 ? length / 3 : length / 3 - 1;
    for (std::size_t i = 1; i <= dots; ++i) {
        const std::size_t position = text.size() - 4 * i + 2; // 1-based
        text.insert(position - 1, ".");
    }
    return text;
}

} // namespace

TEST(InitialColumns, CountsSixNumberCombinations) {
    EXPECT_EQ(initialColumnCount(0), 0.0);
    EXPECT_EQ(initialColumnCount(5), 0.0);
    EXPECT_EQ(initialColumnCount(6), 1.0);
    EXPECT_EQ(initialColumnCount(7), 7.0);
    EXPECT_EQ(initialColumnCount(8), 28.0);
    EXPECT_EQ(initialColumnCountText(5), "0");
    EXPECT_EQ(initialColumnCountText(6), "1");
    EXPECT_EQ(initialColumnCountText(7), "7");
    EXPECT_EQ(initialColumnCountText(90), "622614630");
    EXPECT_EQ(initialColumnCountExact(90), 622614630u);
    EXPECT_EQ(initialColumnCountExact(3), 0u);

    // The real count, rounded, is the exact one for every board size.
    for (int n = 7; n <= 90; ++n) {
        EXPECT_EQ(initialColumnCountExact(n) * static_cast<std::uint64_t>(n - 6),
                  initialColumnCountExact(n - 1) * static_cast<std::uint64_t>(n));
        EXPECT_EQ(std::to_string(initialColumnCountExact(n)), initialColumnCountText(n)) << n;
    }
}

TEST(MarkedList, NumbersInOrderUpTo84ThenACount) {
    SystemState state;
    EXPECT_EQ(markedNumbersText(state), "Nessun numero");
    state.marked[90] = state.marked[5] = state.marked[37] = 1;
    state.marked[12] = 2; // not a mark, as the counts see it
    EXPECT_EQ(markedNumbersText(state), " 5 37 90");

    state = {};
    for (int n = 90; n > 6; --n) // the 84 that make the longest list
        state.marked[static_cast<std::size_t>(n)] = 1;
    const std::string longest = markedNumbersText(state);
    EXPECT_EQ(longest.size(), 3u * 81 + 2 * 3);
    EXPECT_EQ(longest.substr(0, 9), " 7 8 9 10");
    EXPECT_EQ(longest.substr(longest.size() - 3), " 90");
    state.marked[1] = 1;
    EXPECT_EQ(markedNumbersText(state), "85 numeri");
}

TEST(Money, GroupsThousandsWithDots) {
    EXPECT_EQ(moneyText(0), "0");
    EXPECT_EQ(moneyText(999), "999");
    EXPECT_EQ(moneyText(1000), "1.000");
    EXPECT_EQ(moneyText(8000), "8.000");
    EXPECT_EQ(moneyText(1234567), "1.234.567");
    EXPECT_EQ(moneyText(1000000), "1.000.000");
    for (long long v :
         {1LL, 12LL, 123LL, 1234LL, 12345LL, 123456LL, 9999999LL, 12345678901LL, 100000000000000LL})
        EXPECT_EQ(moneyText(static_cast<long double>(v)), dottedByTheRule(std::to_string(v))) << v;
}

TEST(Money, KeepsEveryDigitOfHugeAmounts) {
    // 5.7 x 10^e has e + 1 digits: none may be lost past the 63rd.
    for (int exponent : {61, 62, 63, 64, 103, 300, 4000}) {
        const long double amount = 5.7L * std::pow(10.0L, exponent);
        const std::string text = moneyText(amount);
        // Groups of three digits after a first group of one to three.
        const std::size_t first = text.find('.');
        ASSERT_TRUE(first >= 1 && first <= 3) << text;
        std::size_t digits = first;
        for (std::size_t at = first; at < text.size(); at += 4) {
            EXPECT_EQ(text[at], '.') << text;
            digits += 3;
        }
        EXPECT_EQ(text.size(), digits + (digits - first) / 3) << text;
        EXPECT_EQ(digits, static_cast<std::size_t>(exponent) + 1) << text.substr(0, 20);
        EXPECT_EQ(moneyText(-amount), "-" + text) << exponent;
    }
}

TEST(Money, NegativeAmountsAndHalves) {
    EXPECT_EQ(moneyText(-800000), "-800.000");
    EXPECT_EQ(moneyText(-800), "-800");
    EXPECT_EQ(moneyText(-1234567), "-1.234.567");
    EXPECT_EQ(moneyText(0.5L), "1");
    EXPECT_EQ(moneyText(2.5L), "3");
    EXPECT_EQ(moneyText(-0.5L), "-1");
    EXPECT_EQ(moneyText(-2.5L), "-3");
    EXPECT_EQ(moneyText(1499.5L), "1.500");
    EXPECT_EQ(moneyText(-0.4L), "0");
    EXPECT_EQ(moneyText(0.49L), "0");
}

TEST(Money, CostLabelOfTheFinalColumns) {
    const Real48 price = real48::eightHundred;
    EXPECT_EQ(costText(price, 10), "Costo: 8.000 £");
    EXPECT_EQ(costText(price, 0), "Costo: 0 £");
    EXPECT_EQ(costText(price, 1250), "Costo: 1.000.000 £");
    EXPECT_EQ(costText(Real48::fromValue(1000.0L), 3), "Costo: 3.000 £");
    EXPECT_EQ(costText(Real48::fromValue(0.5L), 3), "Costo: 2 £");
    EXPECT_EQ(costText(Real48::fromValue(-800.0L), 1000), "Costo: -800.000 £");
}
