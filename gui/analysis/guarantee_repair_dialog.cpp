#include "gui/analysis/guarantee_repair_dialog.h"

#include "core/guarantee.h"
#include "core/probability.h"
#include "core/scoring.h"
#include "core/selection.h"
#include "gui/analysis/background_run.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace quintor {

GuaranteeRepairDialog::GuaranteeRepairDialog(SystemState& state, const Archive& archive,
                                             QWidget* parent)
    : AnalysisWindow(parent), state_(state), archive_(archive) {
    setObjectName(QStringLiteral("COMPLETA"));
    setWindowTitle(QStringLiteral("Completa la garanzia"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Aggiunge colonne finali di sei segni, con tutte le fisse, scelte una alla "
                       "volta tra quelle che coprono più combinazioni ancora scoperte."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* form = new QFormLayout;
    CBT = new QComboBox(this);
    CBT->setObjectName(QStringLiteral("CBT"));
    CBT->setAccessibleName(QStringLiteral("Punti garantiti"));
    for (int k = smallestGuaranteedPoints; k <= largestDrawnCount; ++k)
        CBT->addItem(QString::number(k), k);
    CBT->setCurrentIndex(3 - smallestGuaranteedPoints);
    CBM = new QComboBox(this);
    CBM->setObjectName(QStringLiteral("CBM"));
    CBM->setAccessibleName(QStringLiteral("Numeri estratti tra i segni"));
    for (int k = smallestDrawnCount; k <= largestDrawnCount; ++k)
        CBM->addItem(QString::number(k), k);
    CBM->setCurrentIndex(6 - smallestDrawnCount);
    EDB = new QLineEdit(QStringLiteral("100"), this);
    EDB->setObjectName(QStringLiteral("EDB"));
    EDB->setAccessibleName(QStringLiteral("Numero massimo di colonne da aggiungere"));
    setHint(EDB, QStringLiteral("Colonne al massimo|Quante colonne al più possono essere "
                                "aggiunte."));
    form->addRow(QStringLiteral("&Punti garantiti (t):"), CBT);
    form->addRow(QStringLiteral("se &estratti tra i segni (m):"), CBM);
    form->addRow(QStringLiteral("&Colonne al massimo:"), EDB);
    layout->addLayout(form);

    LabelEsito = new QLabel(this);
    LabelEsito->setObjectName(QStringLiteral("LabelEsito"));
    LabelEsito->setWordWrap(true);
    layout->addWidget(LabelEsito);
    addGauge(layout, QStringLiteral("Combinazioni coperte"));

    auto* buttons = new QHBoxLayout;
    SPB3 = new QPushButton(QStringLiteral("&Avvia"), this);
    SPB3->setObjectName(QStringLiteral("SPB3"));
    SPB3->setDefault(true);
    setHint(SPB3, QStringLiteral("Avvia|Cerca le colonne da aggiungere."));
    connect(SPB3, &QPushButton::clicked, this, &GuaranteeRepairDialog::SPB3Click);
    buttons->addWidget(SPB3);
    addStopAndClose(buttons,
                    QStringLiteral("Interrompi|Interrompe la ricerca senza aggiungere colonne."),
                    QStringLiteral("C&hiudi"));
    layout->addLayout(buttons);
    resize(460, 260);
}

GuaranteeRepairDialog::~GuaranteeRepairDialog() {
    run_->cancel();
}

void GuaranteeRepairDialog::SPB3Click() {
    if (run_->running())
        return;
    const int t = CBT->currentData().toInt(), m = CBM->currentData().toInt();
    if (t > m) {
        showError(this, QStringLiteral("Errore"), QString::fromUtf8(guaranteeChoiceMessage));
        return;
    }
    const auto budget = repairBudget(EDB->text().toStdString());
    if (!budget) {
        showError(this, QStringLiteral("Errore"), QString::fromStdString(budget.error()));
        EDB->setFocus();
        return;
    }
    if (state_.markedCount() < 6) {
        showError(this, QStringLiteral("Errore"), QString::fromUtf8(fewMarksMessage));
        return;
    }
    auto request = std::make_shared<RepairRequest>(
        repairRequest(state_, archive_.newestFirst(snapshotLimit), t, m, *budget));
    auto result = std::make_shared<Expected<RepairResult>>(RepairResult{});
    SPB3->setEnabled(false);
    LabelEsito->setText(QStringLiteral("Ricerca in corso..."));
    run_->start(
        [request, result](RunControl& control, const std::function<void(double)>& progress) {
            *result = repairGuarantee(*request, &control, [&](const RepairResult& sofar) {
                if (sofar.total > 0)
                    progress(static_cast<double>(sofar.covered) / static_cast<double>(sofar.total));
            });
        },
        [this, result, t, m] {
            SPB3->setEnabled(true);
            if (!*result) {
                LabelEsito->clear();
                showError(this, QStringLiteral("Errore"), QString::fromStdString(result->error()));
                return;
            }
            const RepairResult& done = **result;
            if (done.stopped || run_->stoppedByUser()) {
                LabelEsito->setText(
                    QStringLiteral("Ricerca interrotta: nessuna colonna aggiunta."));
                return;
            }
            state_.finalColumns.insert(state_.finalColumns.end(), done.added.begin(),
                                       done.added.end());
            if (!done.added.empty())
                state_.modified = true;
            tag_ += static_cast<int>(done.added.size());
            const double share = done.total == 0 ? 0.0
                                                 : 100.0 * static_cast<double>(done.covered) /
                                                       static_cast<double>(done.total);
            LabelEsito->setText(
                QStringLiteral("Colonne aggiunte: %1. Combinazioni coperte con %2 se %3: %4 su "
                               "%5 (%6).")
                    .arg(done.added.size())
                    .arg(t)
                    .arg(m)
                    .arg(done.covered)
                    .arg(done.total)
                    .arg(QString::fromStdString(percentText(share))));
            STS->setValue(static_cast<int>(share));
        });
}

} // namespace quintor
