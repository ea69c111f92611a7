#pragma once

#include "core/archive.h"
#include "core/system_state.h"

class QWidget;

namespace quintor {

class ColumnListWindow;

// The system window's commands on its final columns and marked numbers. Each opens its
// dialog modally with owner as parent; a command that cannot apply only beeps.

// Probability of winning; beeps without final columns.
void openProbabilityWindow(QWidget* owner, const SystemState& state);
// Comparison with a winning column, listing in columnList; beeps without final columns.
void openComparison(QWidget* owner, const SystemState& state, ColumnListWindow& columnList);
// Distribution chart; beeps without final columns.
void openDistribution(QWidget* owner, const SystemState& state);
// Probabilities editor; beeps without marked numbers. A changed probability marks the system
// as modified.
void openProbabilitiesEditor(QWidget* owner, SystemState& state);

// Adds the most probable or removes the least probable numbers by the count dialog's choice.
// Returns true when some mark changed (and the state is then flagged as modified); the caller
// redraws the marks and refreshes the display.
bool addMostProbableNumbers(QWidget* owner, SystemState& state, const Archive& archive);
bool removeLeastProbableNumbers(QWidget* owner, SystemState& state, const Archive& archive);

} // namespace quintor
