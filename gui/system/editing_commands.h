#pragma once

#include "core/system_state.h"

#include <vector>

class QWidget;

namespace quintor {

// The commands of the system window that edit the final columns and the initial system. Each
// works on the window's state, with the window as parent of its dialogs and messages; those
// returning bool tell the window to run its display refresh afterwards.

bool Estraicolonnecasualmente(QWidget* window, SystemState& state);
bool Importacolonne(QWidget* window, SystemState& state);
bool Colonnedatastiera(QWidget* window, SystemState& state);
// Modifies the column of grid row topRow (the top row of the selection; row 1 is the first
// column). Returns whether the column changed; the count does not, so no refresh is needed.
bool Modificacolonna(QWidget* window, SystemState& state, int topRow);
// Deletes the columns of grid rows topRow..bottomRow; a beep when there is none to delete.
bool Tagliacolonne(SystemState& state, int topRow, int bottomRow);
bool Azzeracolonne(QWidget* window, SystemState& state);

// The number marked or unmarked, 0 when nothing changed (the window redraws its cell).
int Aggiungisegnocasualmente(SystemState& state);
int Togliunsegnocasualmente(SystemState& state);
// The numbers unmarked, after the question; empty when nothing changed.
std::vector<int> Azzerasistema(QWidget* window, SystemState& state);

void Fisse(QWidget* window, SystemState& state);
// Sets the program-wide column price and stores it in the settings for later windows.
bool Costocolonne(QWidget* window, SystemState& state);

} // namespace quintor
