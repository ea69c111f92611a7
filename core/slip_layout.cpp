#include "core/slip_layout.h"

#include "core/rounding.h"

#include <algorithm>
#include <array>

namespace quintor {

namespace {

// Slip row 1..7 of a number and its position counted the layout's way: upright, the row
// position 1..14 from the left (row 1 holds 1..6 at positions 9..14); sideways, the place
// 1..14 from the top, the highest number of the row first.
struct Box {
    int row = 0;
    int place = 0;
};

Box verticalBox(int n) {
    if (n <= 6)
        return {1, n + 8};
    return {(n - 7) / 14 + 2, (n - 7) % 14 + 1};
}

Box horizontalBox(int n) {
    const int row = n <= 6 ? 1 : (n - 7) / 14 + 2;
    return {row, 14 * (row - 1) + 7 - n};
}

MarkRect square(long double x, long double y, long double radius) {
    const long long cx = roundHalfEven(x);
    const long long cy = roundHalfEven(y);
    const long long r = roundHalfEven(radius);
    return {cx - r, cy - r, cx + r, cy + r};
}

constexpr std::array<int, 4> cornerNumbers{6, 7, 77, 90};

} // namespace

std::size_t slipCount(std::size_t finalColumns) {
    return (finalColumns + columnsPerSlip - 1) / columnsPerSlip;
}

SlipRange slipContents(std::size_t slip, std::size_t finalColumns) {
    const std::size_t slips = slipCount(finalColumns);
    if (slip < 1 || slip > slips)
        return {};
    SlipRange range{columnsPerSlip * slip - 4, std::min(columnsPerSlip * slip, finalColumns)};
    // A lone column on the last slip borrows the last column of the slip before.
    if (finalColumns % columnsPerSlip == 1 && finalColumns > 1) {
        if (slip == slips)
            --range.first;
        else if (slip == slips - 1)
            --range.last;
    }
    return range;
}

MarkRect markRect(SlipLayout layout, const LayoutValues& values, PageSize page, int slipColumn,
                  int number) {
    const long double w = page.width;
    const long double h = page.height;
    if (layout == SlipLayout::vertical) {
        const auto& v = values.vertical;
        const Box box = verticalBox(number);
        const int line = 7 * (slipColumn - 1) + box.row;
        return square(w * v[0].value() + w * v[2].value() * (box.place - 1),
                      h * v[1].value() + h * v[3].value() * (line - 1), w * v[4].value());
    }
    const auto& v = values.horizontal;
    const Box box = horizontalBox(number);
    const int line = 7 * (slipColumn - 1) + box.row;
    return square(w * v[0].value() + w * v[2].value() * (line - 1),
                  h * v[1].value() + h * v[3].value() * (box.place - 1), w * v[4].value());
}

std::string slipLabel(std::size_t slip) {
    return std::to_string(slip) + "ª";
}

int labelPointSize(long double pageHeight, const Real48& numberSize, long double heightAt20) {
    if (heightAt20 <= 0)
        return labelMeasuringPointSize;
    const long double target = pageHeight * numberSize.value();
    const long long size = roundHalfEven(labelMeasuringPointSize * target / heightAt20);
    // A font needs at least one point; absurd values must not reach the font engine.
    return static_cast<int>(std::clamp<long long>(size, 1, 4000));
}

SlipPlan planSlip(SlipLayout layout, const LayoutValues& values, PageSize page,
                  std::span<const Column> finalColumns, std::size_t slip) {
    SlipPlan plan;
    const SlipRange range = slipContents(slip, finalColumns.size());
    plan.marks.reserve(range.size() * 6);
    for (std::size_t row = range.first; row <= range.last && row >= 1; ++row) {
        const int slipColumn = static_cast<int>(row - range.first + 1);
        bool complete = true;
        std::array<bool, 91> marked{};
        for (std::uint8_t number : finalColumns[row - 1]) {
            // A number outside 1..90 has no box, and a repeated one has its box marked
            // already: either way the column holds fewer than six numbers.
            if (!isBoardNumber(number) || marked[number]) {
                complete = false;
                continue;
            }
            marked[number] = true;
            plan.marks.push_back(
                {slipColumn, number, markRect(layout, values, page, slipColumn, number)});
        }
        if (!complete)
            plan.incompleteRows.push_back(row);
    }
    return plan;
}

SlipPlan planTestSlip(SlipLayout layout, const LayoutValues& values, PageSize page) {
    SlipPlan plan;
    const std::array<int, 5> upright{1, 2, 3, 4, 5};
    const std::array<int, 2> sideways{1, 5};
    const std::span<const int> slipColumns = layout == SlipLayout::vertical
                                                 ? std::span<const int>(upright)
                                                 : std::span<const int>(sideways);
    for (int slipColumn : slipColumns)
        for (int number : cornerNumbers)
            plan.marks.push_back(
                {slipColumn, number, markRect(layout, values, page, slipColumn, number)});
    return plan;
}

std::vector<SlipMark> slipBoxes(SlipLayout layout, const LayoutValues& values, PageSize page) {
    std::vector<SlipMark> boxes;
    boxes.reserve(5 * 90);
    for (int slipColumn = 1; slipColumn <= 5; ++slipColumn)
        for (int number = 1; number <= 90; ++number)
            boxes.push_back(
                {slipColumn, number, markRect(layout, values, page, slipColumn, number)});
    return boxes;
}

std::string incompleteColumnsMessage(std::span<const std::size_t> rows) {
    if (rows.empty())
        return {};
    constexpr std::size_t listed = 10;
    std::string list;
    for (std::size_t i = 0; i < rows.size() && i < listed; ++i)
        list += (i ? ", " : "") + std::to_string(rows[i]);
    if (rows.size() > listed)
        list += " e altre " + std::to_string(rows.size() - listed);
    const bool one = rows.size() == 1;
    return std::string(one ? "La colonna nº " : "Le colonne nº ") + list +
           (one ? " non contiene" : " non contengono") +
           " sei numeri da 1 a 90.\rSono stati stampati solo i numeri validi.";
}

} // namespace quintor
