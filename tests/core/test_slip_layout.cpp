#include "core/slip_layout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quintor;

namespace {

const PageSize page{4800, 6600};
const LayoutValues defaults = LayoutValues::defaults();

std::vector<std::pair<std::size_t, std::size_t>> slipsOf(std::size_t columns) {
    std::vector<std::pair<std::size_t, std::size_t>> slips;
    for (std::size_t k = 1; k <= slipCount(columns); ++k)
        slips.emplace_back(slipContents(k, columns).first, slipContents(k, columns).last);
    return slips;
}

using Slips = std::vector<std::pair<std::size_t, std::size_t>>;

} // namespace

TEST(SlipLayout, SlipsNeverLeaveALoneColumnBehind) {
    EXPECT_EQ(slipsOf(0), Slips{});
    EXPECT_EQ(slipsOf(1), (Slips{{1, 1}}));
    EXPECT_EQ(slipsOf(5), (Slips{{1, 5}}));
    EXPECT_EQ(slipsOf(6), (Slips{{1, 4}, {5, 6}}));
    EXPECT_EQ(slipsOf(10), (Slips{{1, 5}, {6, 10}}));
    EXPECT_EQ(slipsOf(11), (Slips{{1, 5}, {6, 9}, {10, 11}}));
    EXPECT_EQ(slipsOf(12), (Slips{{1, 5}, {6, 10}, {11, 12}}));
    EXPECT_EQ(slipContents(3, 10).size(), 0u);
    EXPECT_EQ(slipContents(0, 10).size(), 0u);
}

TEST(SlipLayout, UprightMarksOnAPageOf4800By6600) {
    auto rect = [](int c, int n) { return markRect(SlipLayout::vertical, defaults, page, c, n); };
    EXPECT_EQ(rect(1, 1), (MarkRect{1080, 564, 1116, 600}));
    EXPECT_EQ(rect(1, 7), (MarkRect{136, 634, 172, 670}));
    EXPECT_EQ(rect(5, 90), (MarkRect{1671, 2954, 1707, 2990}));
    // Same row, positions 9 and 14; the next slip column starts seven lines lower.
    EXPECT_EQ(rect(1, 6).y1, rect(1, 1).y1);
    EXPECT_EQ(rect(1, 6).x1, 1671);
    EXPECT_EQ(rect(2, 1).x1, rect(1, 1).x1);
    EXPECT_EQ(rect(2, 1).y1, rect(1, 1).y1 + 7 * 70 + 2); // 7 x 70.29 lines
}

TEST(SlipLayout, SidewaysMarksOnAPageOf4800By6600) {
    auto rect = [](int c, int n) { return markRect(SlipLayout::horizontal, defaults, page, c, n); };
    EXPECT_EQ(rect(1, 1), (MarkRect{596, 681, 632, 717}));
    EXPECT_EQ(rect(1, 6), (MarkRect{596, 90, 632, 126}));
    EXPECT_EQ(rect(1, 7), (MarkRect{667, 1626, 703, 1662}));
    EXPECT_EQ(rect(5, 90), (MarkRect{2983, 90, 3019, 126}));
    EXPECT_EQ(rect(1, 20).y1, rect(1, 6).y1); // highest of each row on top
    EXPECT_EQ(rect(1, 77).x1, rect(1, 90).x1);
}

TEST(SlipLayout, CentresAndRadiusRoundHalvesToEven) {
    LayoutValues values;
    values.vertical = {Real48::fromValue(0.125L),  Real48::fromValue(0.375L),
                       Real48::fromValue(0.0625L), Real48::fromValue(0.25L),
                       Real48::fromValue(0.125L),  Real48::fromValue(0.01L)};
    // On a page of 4 x 4: x = 0.5 + 0.25 (p - 1), y = 1.5 + (L - 1), r = 0.5.
    const PageSize tiny{4, 4};
    EXPECT_EQ(markRect(SlipLayout::vertical, values, tiny, 1, 7), (MarkRect{0, 2, 0, 2}));
    // Number 9: x = 0.5 + 0.5 = 1, y = 2.5 -> 2.
    EXPECT_EQ(markRect(SlipLayout::vertical, values, tiny, 1, 9), (MarkRect{1, 2, 1, 2}));
    // Number 11: x = 0.5 + 1 = 1.5 -> 2; number 35 (line 4): y = 4.5 -> 4.
    EXPECT_EQ(markRect(SlipLayout::vertical, values, tiny, 1, 11).x1, 2);
    EXPECT_EQ(markRect(SlipLayout::vertical, values, tiny, 1, 35).y1, 4);
}

TEST(SlipLayout, LabelIsScaledToTheNumberSize) {
    EXPECT_EQ(slipLabel(1), "1ª");
    EXPECT_EQ(slipLabel(2000), "2000ª");
    const Real48 size = defaultVerticalLayout[5];   // 0.016 of 6600 = 105.6 units
    EXPECT_EQ(labelPointSize(6600, size, 96), 22);  // 22.0
    EXPECT_EQ(labelPointSize(6600, size, 64), 33);  // 33.0
    EXPECT_EQ(labelPointSize(6600, size, 132), 16); // 16.0
    const Real48 sixtyFourth = Real48::fromValue(0.015625L);
    EXPECT_EQ(labelPointSize(1344, sixtyFourth, 40), 10); // 20 x 21 / 40 = 10.5
    EXPECT_EQ(labelPointSize(1472, sixtyFourth, 40), 12); // 20 x 23 / 40 = 11.5
    EXPECT_EQ(labelPointSize(6600, size, 0), labelMeasuringPointSize);
}

TEST(SlipLayout, TestSlipMarksTheCornerBoxes) {
    const SlipPlan upright = planTestSlip(SlipLayout::vertical, defaults, page);
    ASSERT_EQ(upright.marks.size(), 20u);
    for (std::size_t i = 0; i < upright.marks.size(); ++i) {
        EXPECT_EQ(upright.marks[i].slipColumn, static_cast<int>(i / 4 + 1));
        EXPECT_EQ(upright.marks[i].number, (std::array{6, 7, 77, 90})[i % 4]);
    }
    const SlipPlan sideways = planTestSlip(SlipLayout::horizontal, defaults, page);
    ASSERT_EQ(sideways.marks.size(), 8u);
    EXPECT_EQ(sideways.marks[3].slipColumn, 1);
    EXPECT_EQ(sideways.marks[4].slipColumn, 5);
    EXPECT_EQ(sideways.marks[7].rect, (MarkRect{2983, 90, 3019, 126}));
}

TEST(SlipLayout, ASlipMarksItsColumnsInOrderAndNamesIncompleteOnes) {
    std::vector<Column> columns(11, Column{1, 2, 3, 4, 5, 6});
    columns[6] = {90, 7, 0, 91, 45, 200}; // row 7, typed or damaged
    columns[7] = {10, 20, 30, 40, 50, 60};
    columns[8] = {7, 7, 7, 7, 7, 7}; // row 9: one number six times
    const SlipPlan plan = planSlip(SlipLayout::vertical, defaults, page, columns, 2);
    // Slip 2 of 11 carries rows 6..9: rows 6 and 8 whole, row 7 with three valid numbers,
    // row 9 with one.
    ASSERT_EQ(plan.marks.size(), 6u * 2 + 3 + 1);
    EXPECT_EQ(plan.incompleteRows, (std::vector<std::size_t>{7, 9}));
    EXPECT_EQ(plan.marks[6].slipColumn, 2);
    EXPECT_EQ(plan.marks[6].number, 90);
    EXPECT_EQ(plan.marks[8].number, 45);
    EXPECT_EQ(plan.marks[9].slipColumn, 3);
    EXPECT_EQ(plan.marks[9].rect, markRect(SlipLayout::vertical, defaults, page, 3, 10));
    EXPECT_EQ(incompleteColumnsMessage(std::vector<std::size_t>{7}),
              "La colonna nº 7 non contiene sei numeri da 1 a 90.\rSono stati stampati solo i "
              "numeri validi.");
    std::vector<std::size_t> many(12);
    for (std::size_t i = 0; i < many.size(); ++i)
        many[i] = i + 1;
    EXPECT_EQ(incompleteColumnsMessage(many),
              "Le colonne nº 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 e altre 2 non contengono sei numeri "
              "da 1 a 90.\rSono stati stampati solo i numeri validi.");
    EXPECT_TRUE(planSlip(SlipLayout::vertical, defaults, page, columns, 4).marks.empty());
}
