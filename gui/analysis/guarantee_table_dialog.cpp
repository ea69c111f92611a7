#include "gui/analysis/guarantee_table_dialog.h"

#include "core/probability.h"
#include "gui/analysis/background_run.h"
#include "gui/analysis/guarantee_holes_dialog.h"
#include "gui/common/feedback.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace quintor {

GuaranteeTableDialog::GuaranteeTableDialog(const SystemState& state, QWidget* parent)
    : AnalysisWindow(parent), state_(state), marked_(state.markedNumbers()) {
    setObjectName(QStringLiteral("GARANZIA"));
    setWindowTitle(QStringLiteral("Garanzia del sistema"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Quota delle combinazioni di m segni (m numeri estratti tra i segni) in cui "
                       "almeno una colonna finale realizza t punti. Con il 100 % il sistema "
                       "garantisce \"t se m\"."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    TAB = new QTableWidget(largestDrawnCount - smallestDrawnCount + 1,
                           largestDrawnCount - smallestGuaranteedPoints + 1, this);
    TAB->setObjectName(QStringLiteral("TAB"));
    TAB->setAccessibleName(QStringLiteral("Tabella della garanzia"));
    TAB->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TAB->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int m = smallestDrawnCount; m <= largestDrawnCount; ++m)
        TAB->setVerticalHeaderItem(m - smallestDrawnCount,
                                   new QTableWidgetItem(QStringLiteral("%1 estratti").arg(m)));
    for (int t = smallestGuaranteedPoints; t <= largestDrawnCount; ++t)
        TAB->setHorizontalHeaderItem(t - smallestGuaranteedPoints,
                                     new QTableWidgetItem(QStringLiteral("%1 punti").arg(t)));
    TAB->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    TAB->setMinimumSize(560, 160);
    setHint(TAB, QStringLiteral("Garanzia|Doppio clic (o Invio) su una casella per vedere le "
                                "combinazioni non coperte."));
    connect(TAB, &QTableWidget::cellDoubleClicked, this, &GuaranteeTableDialog::TABDoubleClick);
    connect(TAB, &QTableWidget::cellActivated, this, &GuaranteeTableDialog::TABDoubleClick);
    layout->addWidget(TAB);

    LabelStato = new QLabel(QStringLiteral("Calcolo in corso..."), this);
    LabelStato->setObjectName(QStringLiteral("LabelStato"));
    layout->addWidget(LabelStato);
    addGauge(layout, QStringLiteral("Avanzamento del calcolo"));

    auto* buttons = new QHBoxLayout;
    addStopAndClose(buttons, QStringLiteral("Interrompi|Interrompe il calcolo."));
    layout->addLayout(buttons);
}

GuaranteeTableDialog::~GuaranteeTableDialog() {
    run_->cancel();
}

void GuaranteeTableDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        QTimer::singleShot(0, this, &GuaranteeTableDialog::FormActivate);
    }
}

void GuaranteeTableDialog::FormActivate() {
    const std::vector<Column> finals = state_.finalColumns;
    run_->start(
        [this, finals](RunControl& control, const std::function<void(double)>& progress) {
            table_ = guaranteeTable(marked_, finals, &control, progress);
        },
        [this] {
            finished_ = true;
            if (table_.stopped) {
                LabelStato->setText(QStringLiteral("Calcolo interrotto."));
                return;
            }
            showTable();
        });
}

void GuaranteeTableDialog::showTable() {
    int guaranteed = 0;
    for (int m = smallestDrawnCount; m <= largestDrawnCount; ++m)
        for (int t = smallestGuaranteedPoints; t <= largestDrawnCount; ++t) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            if (t > m || table_.total(m) == 0) {
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
            TAB->setItem(m - smallestDrawnCount, t - smallestGuaranteedPoints, item);
        }
    LabelStato->setText(marked_.size() < static_cast<std::size_t>(smallestDrawnCount)
                            ? QStringLiteral("Il sistema contiene meno di tre segni.")
                            : QStringLiteral("Garanzie complete: %1.").arg(guaranteed));
}

void GuaranteeTableDialog::TABDoubleClick(int row, int column) {
    const int m = row + smallestDrawnCount;
    const int t = column + smallestGuaranteedPoints;
    if (!finished_ || table_.stopped || t > m || table_.total(m) == 0) {
        beep();
        return;
    }
    GuaranteeHolesDialog holes(state_, t, m, this);
    holes.exec();
}

} // namespace quintor
