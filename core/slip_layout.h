#pragma once

#include "core/column.h"
#include "core/layout_values.h"
#include "core/print_settings.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace quintor {

// A betting slip: five slip columns, each offering 1..90 as boxes in seven rows of up to
// fourteen places. Slip k carries five final columns, except that no slip is left with a
// single column when there is more than one.
inline constexpr std::size_t columnsPerSlip = 5;

// Final columns first..last (1-based rows of the list) on one slip.
struct SlipRange {
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t size() const { return first >= 1 && last >= first ? last - first + 1 : 0; }
};

// Slips needed for the final columns: the count divided by 5, rounded up.
std::size_t slipCount(std::size_t finalColumns);
// The final columns slip k (1..slipCount) carries.
SlipRange slipContents(std::size_t slip, std::size_t finalColumns);

// The printable page in the printer's device units.
struct PageSize {
    long double width = 0;
    long double height = 0;
};

// The bounding square of a printed mark, corners included.
struct MarkRect {
    long long x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    friend bool operator==(const MarkRect&, const MarkRect&) = default;
};

// Where number n (1..90) of slip column c (1..5) is marked, in either layout, with the
// system's layout values, rounding halves to even.
MarkRect markRect(SlipLayout layout, const LayoutValues& values, PageSize page, int slipColumn,
                  int number);

// The slip number label: "3ª".
std::string slipLabel(std::size_t slip);
// Point size of the label so that it stands pageHeight x number size high, given the height
// the label measures at the 20 points it is first set in.
int labelPointSize(long double pageHeight, const Real48& numberSize, long double heightAt20);
inline constexpr int labelMeasuringPointSize = 20;

struct SlipMark {
    int slipColumn = 0;
    int number = 0;
    MarkRect rect;
};

// What one slip puts on paper: its marks in drawing order, and the rows of the final-column
// list whose columns do not hold six different numbers 1..90 (their valid numbers are still
// marked, each once).
struct SlipPlan {
    std::vector<SlipMark> marks;
    std::vector<std::size_t> incompleteRows;
};

// Slip k of the final columns.
SlipPlan planSlip(SlipLayout layout, const LayoutValues& values, PageSize page,
                  std::span<const Column> finalColumns, std::size_t slip);
// The alignment slip: the corner boxes 6, 7, 77 and 90 of every slip column upright, of slip
// columns 1 and 5 only sideways.
SlipPlan planTestSlip(SlipLayout layout, const LayoutValues& values, PageSize page);

// Every box of the slip, 90 to each slip column, where its mark would go: the preview draws
// them faintly beneath the marks.
std::vector<SlipMark> slipBoxes(SlipLayout layout, const LayoutValues& values, PageSize page);

// Told to the user after a slip with incomplete columns was printed.
std::string incompleteColumnsMessage(std::span<const std::size_t> rows);
inline constexpr const char* incompleteColumnsTitle = "Attenzione";

} // namespace quintor
