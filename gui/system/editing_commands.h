#pragma once

#include "core/system_state.h"

#include <vector>

class QWidget;

namespace quintor {

class RandomGenerator;
class Real48;

// The commands of the system window that edit the final columns and the initial system. Each
// works on the window's state, with the window as parent of its dialogs and messages; those
// returning bool tell the window to run its display refresh afterwards.

// Draws the columns from random.
bool extractColumnsAtRandom(QWidget* window, SystemState& state, RandomGenerator& random);
bool importColumnsFromSystem(QWidget* window, SystemState& state);
bool enterColumnsFromKeyboard(QWidget* window, SystemState& state);
// Modifies the column of grid row topRow (the top row of the selection; row 1 is the first
// column). Returns whether the column changed; the count does not, so no refresh is needed.
bool editColumnAt(QWidget* window, SystemState& state, int topRow);
// Deletes the columns of grid rows topRow..bottomRow; a beep when there is none to delete.
bool deleteColumnsAt(SystemState& state, int topRow, int bottomRow);
bool clearFinalColumns(QWidget* window, SystemState& state);

// The number marked or unmarked, drawn from random; 0 when nothing changed (the window redraws
// its cell).
int markNumberAtRandom(SystemState& state, RandomGenerator& random);
int unmarkNumberAtRandom(SystemState& state, RandomGenerator& random);
// The numbers unmarked, after the question; empty when nothing changed.
std::vector<int> clearMarkedNumbers(QWidget* window, SystemState& state);

void editFixedNumbers(QWidget* window, SystemState& state);
// Sets price, the program-wide column price, and stores it in the settings for later windows.
bool changeColumnPrice(QWidget* window, SystemState& state, Real48& price);

} // namespace quintor
