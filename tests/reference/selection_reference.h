#pragma once

#include "core/column.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace quintor::reference {

// Feature statistics as the calibration leaves them.
struct Calibration {
    std::array<double, 9> maximum{};
    std::array<double, 9> minimum{};
    std::array<double, 9> mean{};
    int sampleSize = 0;
};

// The run done the plain way: nested loops over the draws for every column, a list of rows
// rescanned for its lowest score, the overlap profiles counted row by row.
class SelectionReference {
public:
    // draws newest first (all of them: the reference takes the newest 10000 itself).
    SelectionReference(std::span<const Column> draws, std::array<double, 91> probabilities,
                       std::vector<int> fixed);

    Calibration measureFeatureStats(int precision);
    double score(const Column& c, int a, int b) const;

    // The final columns in list order, and their scores.
    struct Result {
        std::vector<Column> columns;
        std::vector<double> scores;
        int replacements = 0; // by a clearly higher score
        int tieBreaks = 0;    // overlap profiles compared
        int tieWins = 0;      // ... and the candidate took the row
    };
    // accepts, when given, says which columns may be candidates at all.
    Result select(const std::vector<int>& marked, std::int64_t count, int precision,
                  const std::function<bool(const Column&)>& accepts = {});

private:
    int commonNumbers(const Column& c, int i) const;
    int feature(int k, const Column& c, int a, int b) const;

    std::vector<Column> draws; // draws[1] newest; draws[0] unused
    int count = 0;
    std::array<double, 91> probabilities;
    std::vector<int> fixed;
    Calibration stats;
};

} // namespace quintor::reference
