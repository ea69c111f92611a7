#pragma once

#include "core/column.h"
#include "core/system_state.h"

#include <memory>
#include <vector>

class QWidget;

namespace quintor {

// The commands that filter the final columns or move them in and out as text. Each returns
// true when the final columns changed.

// "Filtra colonne finali": the filters dialog over the final columns, then, after the user
// confirms the count, the columns that fail are removed. draws: the archive, newest first.
bool filterFinalColumns(QWidget* window, SystemState& state,
                        const std::shared_ptr<const std::vector<Column>>& draws);
// "Esporta colonne": CSV, or column texts when the file name ends in ".txt".
bool exportFinalColumns(QWidget* window, const SystemState& state);
// "Importa colonne da CSV": appends the columns of a CSV or text file.
bool importColumnsFromCsv(QWidget* window, SystemState& state);

} // namespace quintor
