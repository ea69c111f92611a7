#include "core/number_statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace quintor;

namespace {

// Newest first: draw i holds 1 and the five numbers of group i mod 17 (2..6, 7..11, ...,
// 82..86); 87 to 90 never come out.
std::vector<Column> cyclicDraws(std::size_t count) {
    std::vector<Column> draws;
    for (std::size_t i = 0; i < count; ++i) {
        const int base = 2 + 5 * static_cast<int>(i % 17);
        draws.push_back({1, static_cast<std::uint8_t>(base), static_cast<std::uint8_t>(base + 1),
                         static_cast<std::uint8_t>(base + 2), static_cast<std::uint8_t>(base + 3),
                         static_cast<std::uint8_t>(base + 4)});
    }
    return draws;
}

std::array<std::uint8_t, boardSize + 1> marksOf(std::initializer_list<int> numbers) {
    std::array<std::uint8_t, boardSize + 1> marked{};
    for (int n : numbers)
        marked[static_cast<std::size_t>(n)] = 1;
    return marked;
}

int countMarked(const std::array<std::uint8_t, boardSize + 1>& marked) {
    return static_cast<int>(std::count(marked.begin() + 1, marked.end(), 1));
}

NumberRanking equalRanking(bool adding) {
    std::array<long double, boardSize + 1> scores;
    scores.fill(7.25L);
    return rankNumbers(scores, adding);
}

} // namespace

TEST(NumberStatistics, PresentDelayAndFrequency) {
    const auto present = presentStatistics(cyclicDraws(200));
    EXPECT_EQ(present.delay[1], 0);
    EXPECT_EQ(present.frequency[1], 100);
    // the newest draw's group
    EXPECT_EQ(present.delay[2], 0);
    EXPECT_EQ(present.delay[6], 0);
    // group 13 last came out 13 draws ago; groups 0..14 came out 6 times in 100 draws, 15
    // and 16 five times
    EXPECT_EQ(present.delay[2 + 5 * 13], 13);
    EXPECT_EQ(present.frequency[2 + 5 * 14], 6);
    EXPECT_EQ(present.frequency[2 + 5 * 15], 5);
    for (int absent = 87; absent <= 90; ++absent) {
        EXPECT_EQ(present.delay[static_cast<std::size_t>(absent)], 100);
        EXPECT_EQ(present.frequency[static_cast<std::size_t>(absent)], 0);
    }
}

TEST(NumberStatistics, ReferenceRangesOverTheSixHundredValues) {
    const auto both = referenceStatistics(cyclicDraws(200), {true, true});
    // 100 values of the number 1 (delay 0, frequency 100), 500 of the groups (delay 16,
    // frequency 5: 17, 34, 51, 68 and 85 draws back)
    EXPECT_EQ(both.delay.minimum, 0);
    EXPECT_EQ(both.delay.maximum, 16);
    EXPECT_NEAR(static_cast<double>(both.delay.mean), 500.0 * 16 / 600, 1e-12);
    EXPECT_EQ(both.frequency.minimum, 5);
    EXPECT_EQ(both.frequency.maximum, 100);
    EXPECT_NEAR(static_cast<double>(both.frequency.mean), (100.0 * 100 + 500.0 * 5) / 600, 1e-12);

    // an unselected criterion is left out
    const auto delaysOnly = referenceStatistics(cyclicDraws(200), {true, false});
    EXPECT_EQ(delaysOnly.frequency.maximum, 0);
    EXPECT_EQ(delaysOnly.delay.maximum, 16);
}

TEST(NumberStatistics, ShortArchivesCountMissingDrawsAsEmpty) {
    // a draw with nothing before it: every delay is 100 and every frequency 0
    const std::vector<Column> one{{1, 2, 3, 4, 5, 6}};
    const auto reference = referenceStatistics(one, {true, true});
    EXPECT_EQ(reference.delay.maximum, 100);
    EXPECT_EQ(reference.frequency.minimum, 0);
    EXPECT_EQ(presentStatistics(one).delay[7], 100);
}

TEST(NumberStatistics, ScoresFollowTheTriangleOfEachCriterion) {
    const auto draws = cyclicDraws(200);
    const auto delays = numberScores(draws, {true, false});
    const long double meanDelay = 500.0L * 16 / 600;
    // delay 13 in 0 .. 13.33 .. 16; delay 0 and the absent numbers' 100 score nothing
    EXPECT_NEAR(static_cast<double>(delays[2 + 5 * 13]),
                0.5 * 100 *
                    (1 - (static_cast<double>(meanDelay) - 13) / static_cast<double>(meanDelay)),
                1e-9);
    EXPECT_EQ(delays[1], 0);
    EXPECT_EQ(delays[90], 0);

    const auto both = numberScores(draws, {true, true});
    for (std::size_t n = 1; n <= boardSize; ++n) {
        EXPECT_GE(both[n], delays[n]);
        EXPECT_LE(both[n], 100);
        EXPECT_LE(delays[n], 50);
    }
}

TEST(NumberRanking, EqualScoresKeepTheExchangeSortOrder) {
    for (bool adding : {true, false}) {
        const auto ranking = equalRanking(adding);
        for (std::size_t i = 0; i < ranking.size(); ++i)
            EXPECT_EQ(ranking[i].number, static_cast<int>(i) + 1);
    }
    // the exchange sort is not stable: 1 and 2 tie, 3 beats them and swaps with 1
    std::array<long double, boardSize + 1> scores{};
    scores[1] = 5;
    scores[2] = 5;
    scores[3] = 9;
    const auto ranking = rankNumbers(scores, true);
    EXPECT_EQ(ranking[0].number, 3);
    EXPECT_EQ(ranking[1].number, 2);
    EXPECT_EQ(ranking[2].number, 1);
    EXPECT_EQ(ranking[3].number, 4);
}

TEST(NumberRanking, OrderIsByScoreInBothDirections) {
    std::array<long double, boardSize + 1> scores{};
    for (std::size_t n = 1; n <= boardSize; ++n)
        scores[n] = static_cast<long double>((n * 37) % 11);
    const auto up = rankNumbers(scores, false);
    const auto down = rankNumbers(scores, true);
    for (std::size_t i = 1; i < up.size(); ++i) {
        EXPECT_LE(up[i - 1].score, up[i].score);
        EXPECT_GE(down[i - 1].score, down[i].score);
    }
    std::vector<int> numbers;
    for (const auto& entry : up)
        numbers.push_back(entry.number);
    std::sort(numbers.begin(), numbers.end());
    for (std::size_t i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(numbers[i], static_cast<int>(i) + 1);
}

TEST(NumberRanking, MarksChangeWithinTheLimits) {
    // 88 marked, 5 asked: only 89 and 90 are left
    auto marked = marksOf({});
    for (int n = 1; n <= 88; ++n)
        marked[static_cast<std::size_t>(n)] = 1;
    EXPECT_EQ(changeMarksByRanking(marked, equalRanking(true), 5, true), 2);
    EXPECT_EQ(countMarked(marked), 90);

    // 10 marked, 12 asked to go: all 10 go
    marked = marksOf({5, 10, 15, 20, 25, 30, 35, 40, 45, 50});
    EXPECT_EQ(changeMarksByRanking(marked, equalRanking(false), 12, false), 10);
    EXPECT_EQ(countMarked(marked), 0);

    // 60 marked, 40 to go: with equal scores the lowest-numbered go first
    marked = marksOf({});
    for (int n = 31; n <= 90; ++n)
        marked[static_cast<std::size_t>(n)] = 1;
    EXPECT_EQ(changeMarksByRanking(marked, equalRanking(false), 40, false), 40);
    EXPECT_EQ(countMarked(marked), 20);
    EXPECT_EQ(marked[70], 0);
    EXPECT_EQ(marked[71], 1);

    // equal scores add the lowest-numbered unmarked numbers; a count of 0 or less does nothing
    marked = marksOf({1, 3});
    EXPECT_EQ(changeMarksByRanking(marked, equalRanking(true), 2, true), 2);
    EXPECT_EQ(marked[2], 1);
    EXPECT_EQ(marked[4], 1);
    EXPECT_EQ(marked[5], 0);
    EXPECT_EQ(changeMarksByRanking(marked, equalRanking(true), 0, true), 0);
    EXPECT_EQ(changeMarksByRanking(marked, equalRanking(true), -3, true), 0);
}

TEST(NumberRanking, ArchiveNeedsThreeHundredAndOneDraws) {
    auto recordsFor = [](std::size_t count) {
        std::vector<ArchiveRecord> records;
        for (const Column& c : cyclicDraws(count))
            records.push_back(ArchiveRecord::fromFileFields("01/01/2000", formatColumn(c), " 7"));
        return records;
    };
    const auto refused = rankFromArchive(Archive(recordsFor(300)), {}, true);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(), statisticsArchiveMessage);
    const auto ranked = rankFromArchive(Archive(recordsFor(301)), {}, true);
    ASSERT_TRUE(ranked.ok());
    EXPECT_GT(ranked.value()[0].score, 0);
}
