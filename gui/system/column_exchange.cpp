#include "gui/system/column_exchange.h"

#include "core/byte_file.h"
#include "core/column_csv.h"
#include "core/column_filters.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"
#include "gui/selection/column_filters_dialog.h"

#include <QFileInfo>

#include <algorithm>

namespace quintor {

namespace {

const QString warningTitle = QStringLiteral("Attenzione");
const QString errorTitle = QStringLiteral("Errore !");

} // namespace

bool filterFinalColumns(QWidget* window, SystemState& state,
                        const std::shared_ptr<const std::vector<Column>>& draws) {
    if (state.finalColumns.empty()) {
        beep();
        return false;
    }
    // The count runs on the dialog's thread over a copy, so the list may change meanwhile.
    auto columns = std::make_shared<const std::vector<Column>>(state.finalColumns);
    ColumnFiltersDialog dialog(
        state.filters, draws,
        [columns](const FilterCheck& check,
                  const std::function<bool(double)>& progress) -> std::optional<std::uint64_t> {
            std::uint64_t passing = 0;
            for (std::size_t i = 0; i < columns->size(); ++i) {
                if ((i & 0xFFFF) == 0 && !progress(double(i) / double(columns->size())))
                    return std::nullopt;
                passing += check.passes((*columns)[i]);
            }
            return passing;
        },
        columns->size(), QStringLiteral("colonne finali"), window);
    if (dialog.exec() != QDialog::Accepted)
        return false;

    HourglassGuard hourglass;
    const FilterCheck check(dialog.filters(),
                            draws ? std::span<const Column>(*draws) : std::span<const Column>());
    std::vector<Column> kept;
    kept.reserve(state.finalColumns.size());
    std::copy_if(state.finalColumns.begin(), state.finalColumns.end(), std::back_inserter(kept),
                 [&](const Column& column) { return check.passes(column); });
    const std::size_t removed = state.finalColumns.size() - kept.size();
    hourglass.release();
    if (removed == 0) {
        showInformation(window, warningTitle,
                        QStringLiteral("Tutte le colonne finali superano i filtri."));
        return false;
    }
    const QString question =
        QStringLiteral("%1 colonne finali su %2 non superano i filtri e verranno "
                       "eliminate.\rProseguire ?")
            .arg(removed)
            .arg(state.finalColumns.size());
    if (askQuestion(window, warningTitle, question, QMessageBox::Yes | QMessageBox::No,
                    QMessageBox::No) != QMessageBox::Yes)
        return false;
    state.finalColumns = std::move(kept);
    state.modified = true;
    return true;
}

bool exportFinalColumns(QWidget* window, const SystemState& state) {
    if (state.finalColumns.empty()) {
        beep();
        return false;
    }
    FileRequest request;
    request.title = QStringLiteral("Esporta colonne");
    request.filter = QStringLiteral("File CSV (*.csv)|*.csv|Testo (*.txt)|*.txt");
    request.defaultExtension = QStringLiteral("csv");
    if (!state.fileName.empty())
        request.startName = QFileInfo(QString::fromStdString(state.fileName)).completeBaseName() +
                            QStringLiteral(".csv");
    QString path = Prompter::current().saveFileName(window, request);
    if (path.isEmpty() || !confirmOverwrite(window, path))
        return false;
    HourglassGuard hourglass;
    if (!exportColumnsFile(path.toStdString(), state.finalColumns)) {
        hourglass.release();
        showError(window, errorTitle, QString::fromUtf8(exportFailedMessage));
    }
    return false;
}

bool importColumnsFromCsv(QWidget* window, SystemState& state) {
    FileRequest request;
    request.title = QStringLiteral("Importa colonne da CSV");
    request.filter =
        QStringLiteral("File CSV (*.csv)|*.csv|Testo (*.txt)|*.txt|Tutti i file (*.*)|*.*");
    request.defaultExtension = QStringLiteral("csv");
    const QString path = Prompter::current().openFileName(window, request);
    if (path.isEmpty())
        return false;
    HourglassGuard hourglass;
    const auto file = readColumnFile(path.toStdString());
    if (!file) {
        hourglass.release();
        showError(window, errorTitle, QString::fromStdString(file.error()));
        return false;
    }
    const ColumnImportCounts counts = appendColumnFile(state, *file);
    hourglass.release();
    showInformation(window, request.title,
                    QString::fromStdString(columnImportReport(counts, file->refused)));
    return counts.added > 0;
}

} // namespace quintor
