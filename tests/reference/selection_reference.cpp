#include "tests/reference/selection_reference.h"

#include "core/closeness.h"

#include <cmath>

namespace quintor::reference {

SelectionReference::SelectionReference(std::span<const Column> newestFirst,
                                       std::array<double, 91> weights, std::vector<int> fixedList)
    : probabilities(weights), fixed(std::move(fixedList)) {
    draws.push_back(Column{});
    for (std::size_t q = 0; q < newestFirst.size() && q < 10000; ++q)
        draws.push_back(newestFirst[q]);
    count = static_cast<int>(draws.size()) - 1;
}

int SelectionReference::commonNumbers(const Column& c, int i) const {
    int n = 0;
    for (int k = 0; k < 6; ++k) {
        bool found = false;
        for (int j = 0; j < 6; ++j)
            if (c[k] == draws[i][j])
                found = true;
        if (found)
            n = n + 1;
    }
    return n;
}

int SelectionReference::feature(int k, const Column& c, int a, int b) const {
    int v = 0;
    switch (k) {
    case 0: // commonWithLastDraw
        v = commonNumbers(c, a);
        break;
    case 1: // commonWithLastFive
        for (int i = a; i <= a + 4; ++i)
            v = v + commonNumbers(c, i);
        break;
    case 2: // mostCommonInFifty
        for (int i = a; i <= a + 49; ++i)
            if (commonNumbers(c, i) > v)
                v = commonNumbers(c, i);
        break;
    case 3: // mostCommonInHundred
        for (int i = a; i <= a + 99; ++i)
            if (commonNumbers(c, i) > v)
                v = commonNumbers(c, i);
        break;
    case 4: // evenNumbers
        for (int j = 0; j < 6; ++j)
            if (c[j] % 2 == 0)
                v = v + 1;
        break;
    case 5: // oddNumbers
        for (int j = 0; j < 6; ++j)
            if (c[j] % 2 == 1)
                v = v + 1;
        break;
    case 6: // numberSum
        for (int j = 0; j < 6; ++j)
            v = v + c[j];
        break;
    case 7: // delaySum
        for (int j = 0; j < 6; ++j) {
            int delay = count + 1 - a;
            for (int i = a; i <= count; ++i) {
                bool found = false;
                for (int h = 0; h < 6; ++h)
                    if (draws[i][h] == c[j])
                        found = true;
                if (found) {
                    delay = i - a;
                    break;
                }
            }
            v = v + delay;
        }
        break;
    case 8: // commonWithLastHundred
        for (int i = a; i <= b; ++i)
            v = v + commonNumbers(c, i);
        break;
    }
    return v;
}

Calibration SelectionReference::measureFeatureStats(int precision) {
    // N = round(r x (count - 101)) with r = (26 - p) / 26, halves to even, kept exact by
    // working on the numerator 26 x r x (count - 101) in whole numbers.
    const long long numerator = static_cast<long long>(26 - precision) * (count - 101);
    long long n = numerator / 26;
    const long long rest = numerator % 26;
    if (2 * rest > 26 || (2 * rest == 26 && n % 2 != 0))
        n = n + 1;
    if (n > count - 101)
        n = count - 101;
    if (n < 100)
        n = 100;
    stats.sampleSize = static_cast<int>(n);
    for (int k = 0; k < 9; ++k) {
        stats.maximum[k] = -10000;
        stats.minimum[k] = 10000;
        stats.mean[k] = 0;
    }
    for (int q = 1; q <= n; ++q)
        for (int k = 0; k < 9; ++k) {
            const double v = feature(k, draws[q], q + 1, q + 100);
            stats.mean[k] = stats.mean[k] + v;
            if (v > stats.maximum[k])
                stats.maximum[k] = v;
            if (v < stats.minimum[k])
                stats.minimum[k] = v;
        }
    for (int k = 0; k < 9; ++k)
        stats.mean[k] = stats.mean[k] / n;
    return stats;
}

double SelectionReference::score(const Column& c, int a, int b) const {
    for (int f : fixed) {
        bool present = false;
        for (int j = 0; j < 6; ++j)
            if (c[j] == f)
                present = true;
        if (!present)
            return -10;
    }
    const double w = 0.8 / 9;
    double total = 0;
    for (int k = 0; k < 9; ++k)
        total = total + static_cast<double>(meanCloseness(feature(k, c, a, b), stats.minimum[k],
                                                          stats.mean[k], stats.maximum[k])) *
                            w;
    double weightSum = 0;
    for (int j = 0; j < 6; ++j)
        weightSum = weightSum + probabilities[c[j]];
    total = total + weightSum * (1.0 / 6) * 0.2;
    return total;
}

SelectionReference::Result
SelectionReference::select(const std::vector<int>& marked, std::int64_t requested, int precision,
                           const std::function<bool(const Column&)>& accepts) {
    // nums[1..n] increasing
    std::vector<int> nums{0};
    for (int x = 1; x <= 90; ++x)
        for (int m : marked)
            if (m == x) {
                nums.push_back(x);
                break;
            }
    const int n = static_cast<int>(nums.size()) - 1;
    const double tol = (26 - precision) * 0.01;
    measureFeatureStats(precision);

    Result rows; // rows 1.. are rows[0..]
    double lowestScore = 1000;
    int lowestRow = -1;
    auto common = [](const Column& x, const Column& y) {
        int m = 0;
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 6; ++j)
                if (x[i] == y[j])
                    m = m + 1;
        return m;
    };
    auto overlapProfile = [&](const Column& c) {
        std::array<int, 7> profile{};
        for (int r = 0; r < static_cast<int>(rows.columns.size()); ++r)
            if (r != lowestRow)
                profile[common(c, rows.columns[r])] += 1;
        return profile;
    };
    auto findLowest = [&] {
        // Starting from the first row rather than from 1000, for the same reason as below.
        lowestScore = rows.scores[0];
        lowestRow = 0;
        for (int r = 1; r < static_cast<int>(rows.scores.size()); ++r)
            if (rows.scores[r] < lowestScore) {
                lowestScore = rows.scores[r];
                lowestRow = r;
            }
    };

    int idx[7] = {0, 1, 2, 3, 4, 5, 6};
    while (true) {
        const Column column = {
            static_cast<std::uint8_t>(nums[idx[1]]), static_cast<std::uint8_t>(nums[idx[2]]),
            static_cast<std::uint8_t>(nums[idx[3]]), static_cast<std::uint8_t>(nums[idx[4]]),
            static_cast<std::uint8_t>(nums[idx[5]]), static_cast<std::uint8_t>(nums[idx[6]])};
        const double candidateScore = score(column, 1, 100);
        const bool full = static_cast<std::int64_t>(rows.columns.size()) >= requested;
        if (candidateScore <= 0 || (accepts && !accepts(column))) {
            // rejected
        } else if (!full) {
            rows.columns.push_back(column);
            rows.scores.push_back(candidateScore);
            // The first row always becomes the lowest one, even when its score is not below
            // the starting 1000 (weights far above 100): otherwise there is no row to replace.
            if (lowestRow < 0 || candidateScore < lowestScore) {
                lowestScore = candidateScore;
                lowestRow = static_cast<int>(rows.columns.size()) - 1;
            }
        } else if (candidateScore > lowestScore && candidateScore - lowestScore >= tol) {
            rows.replacements += 1;
            rows.columns[lowestRow] = column;
            rows.scores[lowestRow] = candidateScore;
            findLowest();
        } else if (std::fabs(candidateScore - lowestScore) < tol) {
            rows.tieBreaks += 1;
            const auto candidateProfile = overlapProfile(column);
            const auto lowestProfile = overlapProfile(rows.columns[lowestRow]);
            int m = 6;
            while (m > 0 && candidateProfile[m] == lowestProfile[m])
                m = m - 1;
            if (candidateProfile[m] > lowestProfile[m]) {
                rows.tieWins += 1;
                rows.columns[lowestRow] = column;
                rows.scores[lowestRow] = candidateScore;
                findLowest();
            }
        }
        // next combination
        idx[6] = idx[6] + 1;
        if (idx[6] > n) {
            int k = 5;
            while (k >= 1 && !(idx[k] + 1 <= n - (6 - k)))
                k = k - 1;
            if (k < 1)
                break;
            idx[k] = idx[k] + 1;
            for (int j = k + 1; j <= 6; ++j)
                idx[j] = idx[k] + (j - k);
        }
    }
    return rows;
}

} // namespace quintor::reference
