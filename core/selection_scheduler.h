#pragma once

#include "core/run_control.h"
#include "core/selection.h"
#include "core/selection_engine.h"

namespace quintor {

// How far the workers may run ahead of the list, in units; the threshold of unit k is the
// cutoff the list had after unit k - lag.
inline constexpr std::size_t schedulerLag = 8;

struct ScheduleOutcome {
    bool completed = false; // false: stopped through the control
    int rescannedUnits = 0;
};

// Goes through every unit of the model into the list, on `threads` threads, with the very
// list a single pass gives. Checkpoints come between units.
//
// With threads, workers walk units ahead of the list, each keeping the columns above the
// list's cutoff as it stood a fixed number of units earlier, and the list takes the units in
// order. Where the cutoff has since fallen below that threshold (a tie-break kept a lower
// column), or a unit held too many columns above it, the list walks the unit again itself.
// The thresholds depend on the units alone, never on timing: every run does the same work.
ScheduleOutcome scheduleSelection(const SelectionModel& model, SelectionList& list, int threads,
                                  RunControl* control, const SelectionProgress& progress);

} // namespace quintor
