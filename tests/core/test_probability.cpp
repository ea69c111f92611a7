#include "core/combinatorics.h"
#include "core/probability.h"
#include "core/random.h"
#include "core/vector_path.h"
#include "tests/core/random_systems.h"
#include "tests/reference/probability_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <thread>
#include <vector>

using namespace quintor;
using quintor::testing::randomFinal;
using quintor::testing::randomMarked;

namespace {

std::vector<Column> allInitialColumns(const std::vector<int>& marked) {
    std::vector<Column> columns;
    const int n = static_cast<int>(marked.size());
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b)
            for (int c = b + 1; c < n; ++c)
                for (int d = c + 1; d < n; ++d)
                    for (int e = d + 1; e < n; ++e)
                        for (int f = e + 1; f < n; ++f)
                            columns.push_back({static_cast<std::uint8_t>(marked[a]),
                                               static_cast<std::uint8_t>(marked[b]),
                                               static_cast<std::uint8_t>(marked[c]),
                                               static_cast<std::uint8_t>(marked[d]),
                                               static_cast<std::uint8_t>(marked[e]),
                                               static_cast<std::uint8_t>(marked[f])});
    return columns;
}

} // namespace

TEST(BestMatches, AgreeWithThePlainLoopsOnRandomSystems) {
    RandomGenerator random(20240611);
    for (int round = 0; round < 80; ++round) {
        const int n = 6 + random.next(17); // 6..22
        const auto marked = randomMarked(random, n);
        // keep the plain loops affordable: fewer final columns for the bigger systems
        const auto initial = initialColumnCountExact(n);
        const int cap = static_cast<int>(
            std::clamp<std::uint64_t>(2'000'000 / std::max<std::uint64_t>(initial, 1), 1, 2000));
        const int finalsCount = 1 + random.next(cap);
        std::vector<Column> finals;
        for (int i = 0; i < finalsCount; ++i)
            finals.push_back(randomFinal(random, marked));

        const auto plain = reference::bestMatches(marked, finals);
        EXPECT_EQ(plain.examined, initial);
        for (const VectorPath path : {VectorPath::scalar, VectorPath::sse2, VectorPath::avx2}) {
            limitVectorPath(path);
            const auto fast = countBestMatches(marked, finals);
            limitVectorPath(VectorPath::avx2);
            ASSERT_EQ(fast, plain) << "n=" << n << " finals=" << finalsCount << " round " << round
                                   << " " << vectorPathName(path);
        }
    }
}

TEST(BestMatches, WideFinalListsAcrossManyWords) {
    RandomGenerator random(7);
    const auto marked = randomMarked(random, 8);
    std::vector<Column> finals;
    for (int i = 0; i < 2000; ++i)
        finals.push_back(randomFinal(random, marked));
    EXPECT_EQ(countBestMatches(marked, finals), reference::bestMatches(marked, finals));
}

TEST(BestMatches, ExtremeSystems) {
    // one initial column, its own final column: everything at 6
    const std::vector<int> six{3, 17, 29, 44, 61, 90};
    const std::vector<Column> itself{{90, 3, 44, 17, 61, 29}};
    auto counts = countBestMatches(six, itself);
    EXPECT_EQ(counts.examined, 1u);
    EXPECT_EQ(counts.best[6], 1u);

    // every initial column is also a final column
    const std::vector<int> nine{1, 2, 3, 10, 20, 30, 40, 50, 60};
    counts = countBestMatches(nine, allInitialColumns(nine));
    EXPECT_EQ(counts.best[6], initialColumnCountExact(9));
    EXPECT_EQ(counts.winning(), counts.examined);

    // final columns of unmarked numbers only: no initial column shares anything
    const std::vector<Column> outside{{70, 71, 72, 73, 74, 75}, {80, 81, 82, 83, 84, 85}};
    counts = countBestMatches(nine, outside);
    EXPECT_EQ(counts.best[0], initialColumnCountExact(9));
    EXPECT_EQ(counts.winning(), 0u);

    // fewer than six numbers: nothing to examine
    const std::vector<int> five{1, 2, 3, 4, 5};
    counts = countBestMatches(five, itself);
    EXPECT_EQ(counts.examined, 0u);
    EXPECT_EQ(counts.winning(), 0u);
}

TEST(BestMatches, AStopKeepsExactlyTheColumnsExaminedSoFar) {
    RandomGenerator random(99);
    const auto marked = randomMarked(random, 16);
    std::vector<Column> finals;
    for (int i = 0; i < 40; ++i)
        finals.push_back(randomFinal(random, marked));

    RunControl control;
    int calls = 0;
    BestMatchCounts seen;
    const auto partial = countBestMatches(marked, finals, &control, [&](const auto& counts) {
        seen = counts;
        if (++calls == 3)
            control.cancel();
    });
    EXPECT_EQ(partial, seen);
    EXPECT_GT(partial.examined, 0u);
    EXPECT_LT(partial.examined, initialColumnCountExact(16));
    EXPECT_EQ(partial, reference::bestMatches(marked, finals, partial.examined));
}

TEST(BestMatches, APausedRunResumesWithoutLoss) {
    RandomGenerator random(5);
    const auto marked = randomMarked(random, 30);
    std::vector<Column> finals;
    for (int i = 0; i < 100; ++i)
        finals.push_back(randomFinal(random, marked));
    const auto whole = countBestMatches(marked, finals);

    RunControl control;
    control.requestPause();
    BestMatchCounts result;
    std::thread worker([&] { result = countBestMatches(marked, finals, &control); });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!control.parked() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(control.parked());
    control.resume();
    worker.join();
    EXPECT_EQ(result, whole);
}

TEST(ProbabilityTexts, PercentagesHaveTwoDecimalsAndAPercentSign) {
    EXPECT_EQ(percentText(12.5L), "12.50 %");
    EXPECT_EQ(percentText(100.0L), "100.00 %");
    EXPECT_EQ(percentText(0.0L), "0.00 %");
    EXPECT_EQ(percentText(2.0L / 3.0L * 100.0L), "66.67 %");
}

TEST(ProbabilityTexts, LevelsTotalAndProjection) {
    BestMatchCounts counts;
    counts.examined = 50;
    counts.best = {10, 10, 5, 10, 5, 5, 5};
    // half of T = 100 examined: 25 wins so far, 25 % of all T, projected to 50 %
    const auto texts = probabilityTexts(counts, 100.0L);
    EXPECT_EQ(texts.levels[0], "10.00 %");
    EXPECT_EQ(texts.levels[3], "5.00 %");
    EXPECT_EQ(texts.total, "25.00 %");
    EXPECT_EQ(texts.projected, "50.00 %");

    counts.examined = 0;
    EXPECT_EQ(probabilityTexts(counts, 100.0L).projected, "0 %");

    // fewer than six marked numbers: T is 0, every value 0 and no division
    const auto none = probabilityTexts(counts, 0.0L);
    for (const auto& level : none.levels)
        EXPECT_EQ(level, "0.00 %");
    EXPECT_EQ(none.total, "0.00 %");
}

TEST(ProbabilityTexts, GaugeRoundsHalvesToEven) {
    EXPECT_EQ(probabilityGauge(1, 200.0L), 0); // 0.5
    EXPECT_EQ(probabilityGauge(3, 200.0L), 2); // 1.5
    EXPECT_EQ(probabilityGauge(5, 200.0L), 2); // 2.5
    EXPECT_EQ(probabilityGauge(200, 200.0L), 100);
    EXPECT_EQ(probabilityGauge(0, 0.0L), 100);
}
