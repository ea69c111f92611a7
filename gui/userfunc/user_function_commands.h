#pragma once

#include "core/user_functions.h"

#include <QString>

#include <functional>

class QWidget;

namespace quintor {

struct SystemState;

// The function list of the program folder.
UserFunctionList loadUserFunctions();

// A caption or description line as its file holds it: UTF-8, or Latin-1 when the bytes are
// not UTF-8 (lists and descriptions written on Windows often are).
QString userFunctionText(const std::string& bytes);

// "Aggiungi nuova funzione": the file dialog NewFunctionDialog, then the list rewritten. True when
// a function was added: the caller then tells every window to reload its menu.
bool addUserFunctionCommand(QWidget* parent);
// "Elimina Funzione": the list dialog RemoveFunctionDialog, then the list rewritten. A beep when
// the list is empty. True when a function was removed, as for the add.
bool deleteUserFunctionCommand(QWidget* parent);
// Runs function on state: exchange files, the program, the wait window, the read-back. True when
// the results were read back into state (modified flag set). showResults (the caller's redraw
// of the board and its display) runs once they are in state, before the warning about any data
// that were refused.
bool runUserFunction(QWidget* parent, SystemState& state, const UserFunction& function,
                     const std::function<void()>& showResults);

} // namespace quintor
