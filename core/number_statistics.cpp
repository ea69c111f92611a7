#include "core/number_statistics.h"

#include "core/closeness.h"

#include <algorithm>
#include <limits>

namespace quintor {

namespace {

constexpr std::size_t window = 100;

const Column* drawAt(std::span<const Column> draws, std::size_t index) {
    return index < draws.size() ? &draws[index] : nullptr;
}

int occurrences(const Column* draw, int number) {
    if (draw == nullptr)
        return 0;
    return static_cast<int>(std::count(draw->begin(), draw->end(), number));
}

struct Range {
    long double minimum = std::numeric_limits<long double>::max();
    long double maximum = std::numeric_limits<long double>::lowest();
    long double sum = 0;

    void add(long double value) {
        minimum = std::min(minimum, value);
        maximum = std::max(maximum, value);
        sum += value;
    }
    ReferenceRange finish(std::size_t count) const {
        return {minimum, sum * (1.0L / static_cast<long double>(count)), maximum};
    }
};

} // namespace

PresentStatistics presentStatistics(std::span<const Column> draws) {
    PresentStatistics present;
    for (int number = 1; number <= boardSize; ++number) {
        bool found = false;
        for (std::size_t i = 0; i < window; ++i) {
            const int times = occurrences(drawAt(draws, i), number);
            present.frequency[static_cast<std::size_t>(number)] += times;
            if (times > 0)
                found = true;
            if (!found)
                ++present.delay[static_cast<std::size_t>(number)];
        }
    }
    return present;
}

namespace {

// For each of the six numbers of the draw at latest, across the window of draws before it: how
// often it comes, and how many of those draws pass before it first does.
struct SixCounts {
    std::array<int, 6> frequency{};
    std::array<int, 6> delay{};
};

SixCounts countsBefore(std::span<const Column> draws, std::size_t latest, const Column& numbers,
                       StatisticsCriteria criteria) {
    SixCounts counts;
    std::array<bool, 6> found{};
    for (std::size_t back = latest + 1; back <= latest + window; ++back) {
        const Column* before = drawAt(draws, back);
        for (std::size_t k = 0; k < 6; ++k) {
            const int times = occurrences(before, numbers[k]);
            if (criteria.frequencies)
                counts.frequency[k] += times;
            if (criteria.delays && !found[k]) {
                if (times > 0)
                    found[k] = true;
                else
                    ++counts.delay[k];
            }
        }
    }
    return counts;
}

} // namespace

ReferenceStatistics referenceStatistics(std::span<const Column> draws,
                                        StatisticsCriteria criteria) {
    Range delays, frequencies;
    for (std::size_t latest = 0; latest < window; ++latest) {
        const Column* draw = drawAt(draws, latest);
        const Column numbers = draw ? *draw : Column{};
        const auto [frequency, delay] = countsBefore(draws, latest, numbers, criteria);
        for (std::size_t k = 0; k < 6; ++k) {
            frequencies.add(frequency[k]);
            delays.add(delay[k]);
        }
    }
    ReferenceStatistics reference;
    if (criteria.delays)
        reference.delay = delays.finish(6 * window);
    if (criteria.frequencies)
        reference.frequency = frequencies.finish(6 * window);
    return reference;
}

std::array<long double, boardSize + 1> numberScores(std::span<const Column> draws,
                                                    StatisticsCriteria criteria) {
    const ReferenceStatistics reference = referenceStatistics(draws, criteria);
    const PresentStatistics present = presentStatistics(draws);
    std::array<long double, boardSize + 1> scores{};
    for (std::size_t n = 1; n <= boardSize; ++n) {
        long double score = 0;
        if (criteria.delays)
            score += 0.5L * meanCloseness(present.delay[n], reference.delay.minimum,
                                          reference.delay.mean, reference.delay.maximum);
        if (criteria.frequencies)
            score += 0.5L * meanCloseness(present.frequency[n], reference.frequency.minimum,
                                          reference.frequency.mean, reference.frequency.maximum);
        scores[n] = score;
    }
    return scores;
}

NumberRanking rankNumbers(const std::array<long double, boardSize + 1>& scores, bool adding) {
    NumberRanking ranking;
    for (std::size_t i = 0; i < ranking.size(); ++i)
        ranking[i] = {static_cast<int>(i) + 1, scores[i + 1]};
    for (std::size_t i = 0; i + 1 < ranking.size(); ++i)
        for (std::size_t j = i + 1; j < ranking.size(); ++j) {
            const bool exchange =
                adding ? ranking[j].score > ranking[i].score : ranking[j].score < ranking[i].score;
            if (exchange)
                std::swap(ranking[i], ranking[j]);
        }
    return ranking;
}

Expected<NumberRanking> rankFromArchive(const Archive& archive, StatisticsCriteria criteria,
                                        bool adding) {
    if (archive.size() < statisticsMinimumDraws)
        return Failure{statisticsArchiveMessage};
    const std::vector<Column> draws = archive.newestFirst(2 * window);
    return rankNumbers(numberScores(draws, criteria), adding);
}

int changeMarksByRanking(std::array<std::uint8_t, boardSize + 1>& marked,
                         const NumberRanking& ranking, int requested, bool adding) {
    if (requested <= 0)
        return 0;
    int markedCount = 0;
    for (std::size_t n = 1; n <= boardSize; ++n)
        markedCount += marked[n] == 1 ? 1 : 0;
    const int count = std::min(requested, adding ? boardSize - markedCount : markedCount);
    int changed = 0;
    for (const RankedNumber& entry : ranking) {
        if (changed >= count)
            break;
        auto& mark = marked[static_cast<std::size_t>(entry.number)];
        if (adding && mark != 1) {
            mark = 1;
            ++changed;
        } else if (!adding && mark == 1) {
            mark = 0;
            ++changed;
        }
    }
    return changed;
}

} // namespace quintor
