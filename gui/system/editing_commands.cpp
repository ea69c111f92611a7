#include "gui/system/editing_commands.h"

#include "core/column_editing.h"
#include "core/column_price.h"
#include "core/initial_system.h"
#include "core/print_settings.h"
#include "core/program_folder.h"
#include "core/random.h"
#include "core/system_file.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"
#include "gui/system/column_edit_dialog.h"
#include "gui/system/column_price_dialog.h"
#include "gui/system/fixed_numbers_dialog.h"
#include "gui/system/keyboard_entry_dialog.h"
#include "gui/system/random_count_dialog.h"

#include <QFileInfo>
#include <QProgressDialog>

#include <new>

namespace quintor {

namespace {
const char* const outOfMemoryMessage =
    "Memoria insufficiente per tutte le colonne richieste.\rLe colonne già aggiunte restano.";
}

bool extractColumnsAtRandom(QWidget* window, SystemState& state, RandomGenerator& random) {
    if (state.markedCount() < 6) {
        showError(window, "Errore !", tooFewNumbersToExtractMessage);
        return false;
    }
    RandomCountDialog dialog(window);
    dialog.exec();
    if (dialog.outcome() != 1)
        return true;
    const auto count = parseTypedInteger(dialog.countText().toStdString());
    if (!count) {
        showError(window, "Errore !", invalidExtractionCountMessage);
        return true;
    }
    if (!extractionFits(state, *count)) {
        showError(window, "Errore !", notEnoughColumnsLeftMessage);
        return true;
    }
    HourglassGuard hourglass;
    // Millions of columns take a while: the window shows how far the extraction is and can
    // stop it, which takes back every column of this extraction.
    const std::size_t before = state.finalColumns.size();
    const bool wasModified = state.modified;
    QProgressDialog progress(QStringLiteral("Estrazione delle colonne in corso..."),
                             QStringLiteral("Interrompi"), 0, *count, window);
    progress.setObjectName(QStringLiteral("extractionProgress"));
    progress.setWindowTitle(QStringLiteral("Estrai colonne casualmente"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumWidth(360); // room for the whole caption in the title bar
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    progress.setValue(0); // starts the clock that decides when the dialog shows up
    try {
        const int added = extractRandomColumns(state, *count, random, [&progress](int appended) {
            progress.setValue(appended); // also handles a click on Interrompi
            return !progress.wasCanceled();
        });
        if (added < *count) {
            state.finalColumns.resize(before);
            state.finalColumns.shrink_to_fit();
            state.modified = wasModified;
        }
    } catch (const std::bad_alloc&) {
        // A count in the hundreds of millions can outgrow memory; what was drawn stays.
        progress.hide();
        hourglass.release();
        showError(window, "Errore !", outOfMemoryMessage);
    }
    return true;
}

bool importColumnsFromSystem(QWidget* window, SystemState& state) {
    FileRequest request;
    request.title = "Importa colonne";
    request.filter = "Sistema Quintor (*.qtr)|*.qtr|Tutti i file (*.*)|*.*";
    request.defaultExtension = "qtr";
    const QString path = Prompter::current().openFileName(window, request);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return true;
    std::vector<Column> columns;
    if (!readSystemColumns(path.toStdString(), columns))
        return true; // unreadable: nothing to add, as for a missing file
    if (askQuestion(window, "Attenzione", QString::fromStdString(importQuestion(columns.size())),
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes)
        return false;
    HourglassGuard hourglass;
    importColumns(state, columns);
    return true;
}

bool enterColumnsFromKeyboard(QWidget* window, SystemState& state) {
    KeyboardEntryDialog dialog(state, window);
    dialog.exec();
    return true;
}

bool editColumnAt(QWidget* window, SystemState& state, int topRow) {
    if (state.finalColumns.empty() || topRow < 1 ||
        topRow > static_cast<int>(state.finalColumns.size())) {
        beep();
        return false;
    }
    const std::size_t index = static_cast<std::size_t>(topRow - 1);
    ColumnEditDialog dialog(window);
    dialog.setRow(topRow, QString::fromStdString(formatColumn(state.finalColumns[index])));
    dialog.exec();
    if (dialog.outcome() != 1)
        return false;
    const auto changed = modifyColumn(state, index, dialog.columnText().toStdString());
    if (!changed) {
        showError(window, "Quintor", QString::fromStdString(changed.error()));
        return false;
    }
    return true;
}

bool deleteColumnsAt(SystemState& state, int topRow, int bottomRow) {
    if (!deleteColumnRows(state, topRow, bottomRow)) {
        beep();
        return false;
    }
    return true;
}

bool clearFinalColumns(QWidget* window, SystemState& state) {
    if (state.finalColumns.empty()) {
        beep();
        return false;
    }
    if (askQuestion(window, "Attenzione !", clearFinalColumnsQuestion,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return false;
    state.finalColumns.clear();
    state.finalColumns.shrink_to_fit();
    state.modified = true;
    return true;
}

int markNumberAtRandom(SystemState& state, RandomGenerator& random) {
    return markRandomNumber(state, random);
}

int unmarkNumberAtRandom(SystemState& state, RandomGenerator& random) {
    const int n = unmarkRandomNumber(state, random);
    if (n == 0)
        beep();
    return n;
}

std::vector<int> clearMarkedNumbers(QWidget* window, SystemState& state) {
    if (state.markedCount() == 0) {
        beep();
        return {};
    }
    if (askQuestion(window, "Attenzione !", clearInitialSystemQuestion,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return {};
    return clearInitialSystem(state);
}

void editFixedNumbers(QWidget* window, SystemState& state) {
    FixedNumbersDialog dialog(state, window);
    dialog.exec();
}

bool changeColumnPrice(QWidget* window, SystemState& state, Real48& price) {
    ColumnPriceDialog dialog(window);
    dialog.setPriceText(QString::fromStdString(columnPriceText(price)));
    dialog.exec();
    if (dialog.outcome() != 1)
        return true;
    const auto typed = parseColumnPrice(dialog.priceText().toStdString());
    if (!typed) {
        showError(window, "Errore !", QString::fromStdString(typed.error()));
        return true;
    }
    price = *typed;
    storeColumnPrice(programFolder(), state.layout.vertical, *typed);
    return true;
}

} // namespace quintor
