#include "core/closeness.h"

#include <gtest/gtest.h>

using quintor::meanCloseness;

TEST(MeanCloseness, IsATriangleOverTheReferenceRange) {
    EXPECT_DOUBLE_EQ(static_cast<double>(meanCloseness(5, 0, 2, 10)), 62.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(meanCloseness(1, 0, 2, 10)), 50.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(meanCloseness(2, 0, 2, 10)), 100.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(meanCloseness(0, 0, 2, 10)), 0.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(meanCloseness(10, 0, 2, 10)), 0.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(meanCloseness(8, 0, 2, 10)), 25.0);
}

TEST(MeanCloseness, ValuesOutsideTheRangeScoreZero) {
    EXPECT_EQ(meanCloseness(12, 0, 2, 10), 0.0L);
    EXPECT_EQ(meanCloseness(-3, 0, 2, 10), 0.0L);
    EXPECT_EQ(meanCloseness(1e9L, 1, 1.5L, 2), 0.0L);
}

TEST(MeanCloseness, DegenerateRangesNeverDivideByZero) {
    EXPECT_EQ(meanCloseness(2, 2, 2, 2), 100.0L);
    EXPECT_EQ(meanCloseness(7, 2, 2, 2), 100.0L);
    EXPECT_EQ(meanCloseness(-7, 2, 2, 2), 100.0L);
    // mean at an end of the range: one side of the triangle is vertical
    EXPECT_EQ(meanCloseness(0, 0, 0, 4), 100.0L);
    EXPECT_DOUBLE_EQ(static_cast<double>(meanCloseness(1, 0, 0, 4)), 75.0);
    EXPECT_EQ(meanCloseness(4, 0, 4, 4), 100.0L);
    EXPECT_DOUBLE_EQ(static_cast<double>(meanCloseness(3, 0, 4, 4)), 75.0);
}
