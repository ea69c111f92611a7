#include "gui/analysis/guarantee_table_dialog.h"

#include "core/probability.h"
#include "gui/analysis/guarantee_holes_dialog.h"
#include "gui/common/feedback.h"
#include "gui/common/worker_run.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace quintor {

GuaranteeTableDialog::GuaranteeTableDialog(const SystemState& state, QWidget* parent)
    : AnalysisWindow(parent), state_(state), marked_(state.markedNumbers()) {
    setObjectName(QStringLiteral("GuaranteeTableDialog"));
    setWindowTitle(QStringLiteral("Garanzia del sistema"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Quota delle combinazioni di m segni (m numeri estratti tra i segni) in cui "
                       "almeno una colonna finale realizza t punti. Con il 100 % il sistema "
                       "garantisce \"t se m\"."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    guaranteeGrid_ = new QTableWidget(largestDrawnCount - smallestDrawnCount + 1,
                                      largestDrawnCount - smallestGuaranteedPoints + 1, this);
    guaranteeGrid_->setObjectName(QStringLiteral("guaranteeGrid"));
    guaranteeGrid_->setAccessibleName(QStringLiteral("Tabella della garanzia"));
    guaranteeGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    guaranteeGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int m = smallestDrawnCount; m <= largestDrawnCount; ++m)
        guaranteeGrid_->setVerticalHeaderItem(
            m - smallestDrawnCount, new QTableWidgetItem(QStringLiteral("%1 estratti").arg(m)));
    for (int t = smallestGuaranteedPoints; t <= largestDrawnCount; ++t)
        guaranteeGrid_->setHorizontalHeaderItem(
            t - smallestGuaranteedPoints, new QTableWidgetItem(QStringLiteral("%1 punti").arg(t)));
    guaranteeGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    guaranteeGrid_->setMinimumSize(560, 160);
    setHint(guaranteeGrid_,
            QStringLiteral("Garanzia|Doppio clic (o Invio) su una casella per vedere le "
                           "combinazioni non coperte."));
    connect(guaranteeGrid_, &QTableWidget::cellDoubleClicked, this,
            &GuaranteeTableDialog::onCellActivated);
    connect(guaranteeGrid_, &QTableWidget::cellActivated, this,
            &GuaranteeTableDialog::onCellActivated);
    layout->addWidget(guaranteeGrid_);

    statusLabel_ = new QLabel(QStringLiteral("Calcolo in corso..."), this);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    statusLabel_->setWordWrap(true);
    layout->addWidget(statusLabel_);
    addGauge(layout, QStringLiteral("Avanzamento del calcolo"));

    auto* buttons = new QHBoxLayout;
    addStopAndClose(buttons, QStringLiteral("Interrompi|Interrompe il calcolo."));
    addHelpButton(buttons, HelpTopic::GuaranteeTable);
    layout->addLayout(buttons);
}

GuaranteeTableDialog::~GuaranteeTableDialog() {
    run_->cancel();
}

void GuaranteeTableDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        QTimer::singleShot(0, this, &GuaranteeTableDialog::startCount);
    }
}

void GuaranteeTableDialog::startCount() {
    const std::vector<Column> finals = state_.finalColumns;
    run_->start(
        [this, finals](RunControl& control, const WorkerRun::Progress& progress) {
            table_ = guaranteeTable(marked_, finals, &control, progress);
        },
        [this](WorkerRun::Outcome outcome) {
            finished_ = true;
            if (outcome != WorkerRun::Outcome::Completed)
                table_.stopped = true;
            // Rows counted before a stop are exact: they stay, and the rest says it is missing.
            showTable();
        });
}

void GuaranteeTableDialog::showTable() {
    int guaranteed = 0;
    QStringList partialRows;
    for (int m = smallestDrawnCount; m <= largestDrawnCount; ++m) {
        const bool counted = table_.complete(m);
        if (!counted)
            partialRows << QString::number(m);
        for (int t = smallestGuaranteedPoints; t <= largestDrawnCount; ++t) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            if (t <= m && !counted) {
                item->setText(QStringLiteral("interrotto"));
                item->setForeground(palette().placeholderText());
                item->setToolTip(
                    QStringLiteral("Calcolo interrotto prima di contare questa riga."));
                item->setFlags(Qt::NoItemFlags);
            } else if (t > m || table_.total(m) == 0) {
                item->setFlags(Qt::NoItemFlags);
                item->setBackground(palette().window());
            } else if (table_.guarantees(m, t)) {
                item->setText(QStringLiteral("100 % \u2714"));
                item->setBackground(QColor(170, 225, 170));
                item->setToolTip(QStringLiteral("Garantito: %1 se %2").arg(t).arg(m));
                ++guaranteed;
            } else {
                // Rounded to two decimals a few holes among many sets would read 100 %,
                // which this table keeps for a guarantee.
                item->setText(
                    QString::fromStdString(percentText(std::min(table_.percent(m, t), 99.99))));
                item->setToolTip(QStringLiteral("%1 combinazioni non coperte su %2")
                                     .arg(table_.holes(m, t))
                                     .arg(table_.total(m)));
            }
            guaranteeGrid_->setItem(m - smallestDrawnCount, t - smallestGuaranteedPoints, item);
        }
    }
    if (!partialRows.isEmpty()) {
        statusLabel_->setText(
            QStringLiteral("Calcolo interrotto: tabella parziale, senza le righe di %1 estratti. "
                           "Garanzie complete nelle righe calcolate: %2.")
                .arg(partialRows.join(QStringLiteral(", ")))
                .arg(guaranteed));
        return;
    }
    statusLabel_->setText(
        marked_.size() < static_cast<std::size_t>(smallestDrawnCount)
            ? QStringLiteral("Il sistema contiene meno di tre segni.")
            : QStringLiteral("Garanzie complete: %1 (caselle al 100 %, ognuna una garanzia "
                             "\"t se m\" del sistema).")
                  .arg(guaranteed));
}

void GuaranteeTableDialog::onCellActivated(int row, int column) {
    const int m = row + smallestDrawnCount;
    const int t = column + smallestGuaranteedPoints;
    if (!finished_ || t > m || table_.total(m) == 0 || !table_.complete(m)) {
        beep();
        return;
    }
    GuaranteeHolesDialog holes(state_, t, m, this);
    // The cell chose t and m already: the count starts as the window opens.
    QTimer::singleShot(0, &holes, &GuaranteeHolesDialog::onCountClicked);
    holes.exec();
}

} // namespace quintor
