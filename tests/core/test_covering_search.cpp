#include "core/combinatorics.h"
#include "core/covering_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <vector>

namespace quintor {
namespace {

using subset_masks::Mask;

// Plain loops, apart from the search's own bookkeeping: every t-set of the n numbers lies
// inside a column of six of them.
bool coversEveryTSet(int n, int t, const std::vector<Mask>& columns) {
    const Mask universe = (Mask{1} << n) - 1;
    for (const Mask column : columns)
        if (std::popcount(column) != 6 || (column & ~universe) != 0)
            return false;
    for (Mask set = 0; set <= universe; ++set)
        if (std::popcount(set) == t &&
            std::none_of(columns.begin(), columns.end(),
                         [set](Mask column) { return (column & set) == set; }))
            return false;
    return true;
}

} // namespace

TEST(CoveringSearch, FromRandomColumnsFindsASmallCoveringAndReportsAsItGoes) {
    struct Row {
        int numbers, t;
        std::size_t startColumns, atMost;
    };
    // C(12,6,3) = 15 is the proven least; the search finds it, and 96 columns for the
    // quadruples of 14 numbers. A bound a little above each catches a search that has lost
    // its way, not one that is unlucky by a column.
    const std::vector<Row> rows{{12, 3, 40, 16}, {14, 4, 150, 100}};
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << row.numbers << " numbers, " << row.t << " se " << row.t);
        const subset_masks::SetSpace space(row.numbers);
        const Mask universe = (Mask{1} << row.numbers) - 1;
        CoveringTarget target{&space, universe,
                              0,      row.t,
                              row.t,  std::vector<std::uint8_t>(binomial(row.numbers, row.t), 1)};
        subset_masks::MaskRandom random(77);
        std::vector<Mask> start;
        while (start.size() < row.startColumns) {
            Mask column = 0;
            while (std::popcount(column) < 6)
                column |= random.bitOf(universe & ~column);
            start.push_back(column);
        }
        CoveringSearch search(target, start, 2024);
        std::vector<CoveringSearchStatus> reports;
        EXPECT_TRUE(search.run(30'000'000, nullptr,
                               [&](const CoveringSearchStatus& now) { reports.push_back(now); }));
        EXPECT_EQ(search.bestOpen(), 0u);
        EXPECT_LE(search.best().size(), row.atMost);
        EXPECT_TRUE(coversEveryTSet(row.numbers, row.t, search.best()));
        // The gauge moves many times during the search and never goes back; the best covering
        // it shows only ever shrinks.
        ASSERT_GT(reports.size(), 10u);
        EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end(),
                                   [](const auto& a, const auto& b) { return a.done < b.done; }));
        EXPECT_GT(reports[reports.size() / 2].done, reports.front().done);
        for (std::size_t i = 1; i < reports.size(); ++i) {
            if (reports[i - 1].open == 0) {
                EXPECT_LE(reports[i].columns, reports[i - 1].columns);
            }
        }
    }
}

} // namespace quintor
