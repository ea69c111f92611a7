#pragma once

#include "core/column.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quintor {

// The scoring looks at no more than this many of the newest draws.
inline constexpr std::size_t snapshotLimit = 10000;
// Fewer draws than this leave too few past columns to calibrate on.
inline constexpr std::size_t minimumDraws = 202;
// Positions of the precision/speed control: 0 is full precision, this is full speed.
inline constexpr int precisionSteps = 26;
inline constexpr int featureCount = 9;

// The nine measures of a column against the draws before it, in the order the score adds them.
enum Feature : int {
    commonWithLastDraw = 0, // common numbers with the last draw
    commonWithLastFive,     // sum of common numbers with the last five draws
    mostCommonInFifty,      // most common numbers with any of the last fifty draws
    mostCommonInHundred,    // most common numbers with any of the last hundred draws
    evenNumbers,            // even numbers
    oddNumbers,             // odd numbers
    numberSum,              // sum of the numbers
    delaySum,               // sum of the delays of the numbers
    commonWithLastHundred,  // sum of common numbers with the last hundred draws
};

// Per feature, over the sampled past winning columns.
struct FeatureStats {
    std::array<double, featureCount> minimum{};
    std::array<double, featureCount> maximum{};
    std::array<double, featureCount> mean{};
    int sampleSize = 0;
};

// Weight of one feature's rating: the nine together give 80 of the 100 points.
inline constexpr double featureWeight = 0.8 / 9;

// How many past winning columns the calibration samples: the precision share of
// (draws - 101), rounded half to even in exact integer arithmetic, kept in 100..draws - 101.
// draws must be at least minimumDraws.
int sampleSize(std::size_t draws, int precision);

// The weighted rating of one feature value: its mean closeness to the winning columns' mean,
// rounded to double, times featureWeight.
double featureRating(int value, const FeatureStats& stats, int feature);

// The newest draws (newest first) that the scoring reads: at most snapshotLimit of them.
std::span<const Column> scoringSnapshot(std::span<const Column> newestFirst);

// measureFeatureStats: measures the nine features of each of the sampleSize newest draws against
// the draws that preceded it. draws is newest first, already limited to the snapshot, with at least
// minimumDraws entries.
FeatureStats measureFeatureStats(std::span<const Column> draws, int precision);

// Scores single columns as the next draw after draws[0]. The selection engine computes the
// same values incrementally; this is for one-off scores and for checking.
class ColumnScorer {
public:
    // probabilities[n] is the weight of number n (index 0 unused); fixed numbers in list order.
    ColumnScorer(std::span<const Column> draws, const FeatureStats& stats,
                 const std::array<double, 91>& probabilities, std::vector<int> fixed);

    // The nine features of a column of six distinct board numbers.
    std::array<int, featureCount> features(const Column& column) const;
    // The column's score: -10 when a fixed number is missing, else 0..100 for sane weights.
    double score(const Column& column) const;

private:
    std::span<const Column> draws_;
    FeatureStats stats_;
    std::array<double, 91> probabilities_;
    std::vector<int> fixed_;
};

} // namespace quintor
