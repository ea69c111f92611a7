#pragma once

#include "core/column.h"
#include "core/expected.h"
#include "core/random.h"
#include "core/system_state.h"

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace quintor {

// Messages of the list commands, "\r" breaking the line.
inline constexpr const char* tooFewNumbersToExtractMessage =
    "Il sistema constiene meno di 6 numeri !\rImpossibile estrarre colonne !";
inline constexpr const char* invalidExtractionCountMessage =
    "Il numero di colonne specificato non è valido !\rCorreggere e riprovare.";
inline constexpr const char* notEnoughColumnsLeftMessage =
    "Impossibile aggiungere il numero di colonne specificato!\rCausa: al sistema rimangono "
    "meno colonne.\rDiminuire il numero e riprovare.";
inline constexpr const char* invalidTypedColumnMessage =
    "La colonna inserita contiene numeri non validi !\rInserire i SEI numeri separati da uno "
    "spazio.";
inline constexpr const char* typedColumnPresentQuestion =
    "La colonna specificata è gia presente nella lista.\rAggiungerla ugualmente ?";
inline constexpr const char* clearFinalColumnsQuestion =
    "Sei sicuro di voler cancellare tutte le colonne finali ?";

// The question asked before an import, with the number of columns the file holds.
std::string importQuestion(std::size_t columnCount);

// An integer typed into a field: leading blanks allowed, an optional sign, then digits only.
Expected<int> parseTypedInteger(std::string_view text);

// True when column has the same numbers in the same order as one of the final columns.
bool isDuplicate(const SystemState& state, const Column& column);

// Appends column to the final columns and marks the system modified.
void appendColumn(SystemState& state, const Column& column);

// Whether count more columns can be drawn from the marked numbers: the final columns already
// listed are counted as if they all came from the initial system, so at least count + 1
// initial columns must be left. This also guarantees that the extraction terminates.
bool extractionFits(const SystemState& state, int count);

// Called during a long extraction with the columns appended so far; false stops it there.
using ExtractionProgress = std::function<bool(int appended)>;
inline constexpr int extractionProgressStep = 1 << 16;

// Draws count columns of six different marked numbers, sorted, never repeating a listed
// column, and appends them. The caller has checked extractionFits. Returns how many were
// appended (0 when count <= 0): fewer than count only when progress, asked after every
// extractionProgressStep columns, said to stop.
int extractRandomColumns(SystemState& state, int count, RandomGenerator& random,
                         const ExtractionProgress& progress = {});

// Appends the columns not yet in the list (duplicates within columns included) and marks the
// system modified. Returns how many were appended.
int importColumns(SystemState& state, const std::vector<Column>& columns);

// The column typed in the keyboard-entry dialog: up to six one- or two-character pieces
// separated by blanks, a third digit starting a new piece. A seventh piece or a piece that is
// not a number 1..90 stops the reading with a beep; the numbers read so far stand.
struct TypedColumn {
    Column column{};
    bool beep = false;
};
TypedColumn parseTypedColumn(std::string_view text);

// Six numbers of the board, all different.
bool isValidTypedColumn(const Column& column);

// Deletes the columns shown in grid rows firstRow..lastRow (row 1 is the first column; the
// header row 0 is never a column). Returns false, changing nothing, when the range holds no
// column.
bool deleteColumnRows(SystemState& state, int firstRow, int lastRow);

// Rewrites final column index from the modify dialog's text, numbers in the order typed and
// unchecked. Positions the text gives no number for keep their numbers; a piece that is not
// a number fails with the conversion message and leaves the column and the flag alone.
Expected<Column> modifyColumn(SystemState& state, std::size_t index, std::string_view text);

} // namespace quintor
