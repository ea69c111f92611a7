#include "gui/analysis/guarantee_repair_dialog.h"

#include "core/guarantee.h"
#include "core/probability.h"
#include "core/scoring.h"
#include "core/selection.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"
#include "gui/common/worker_run.h"

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
    setObjectName(QStringLiteral("GuaranteeRepairDialog"));
    setWindowTitle(QStringLiteral("Completa la garanzia"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Aggiunge colonne finali di sei segni, con tutte le fisse, scelte una alla "
                       "volta tra quelle che coprono più combinazioni ancora scoperte."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* form = new QFormLayout;
    pointsBox_ = new QComboBox(this);
    pointsBox_->setObjectName(QStringLiteral("pointsBox"));
    pointsBox_->setAccessibleName(QStringLiteral("Punti garantiti"));
    for (int k = smallestGuaranteedPoints; k <= largestDrawnCount; ++k)
        pointsBox_->addItem(QString::number(k), k);
    pointsBox_->setCurrentIndex(3 - smallestGuaranteedPoints);
    drawnBox_ = new QComboBox(this);
    drawnBox_->setObjectName(QStringLiteral("drawnBox"));
    drawnBox_->setAccessibleName(QStringLiteral("Numeri estratti tra i segni"));
    for (int k = smallestDrawnCount; k <= largestDrawnCount; ++k)
        drawnBox_->addItem(QString::number(k), k);
    drawnBox_->setCurrentIndex(6 - smallestDrawnCount);
    budgetEdit_ = new QLineEdit(QStringLiteral("100"), this);
    budgetEdit_->setObjectName(QStringLiteral("budgetEdit"));
    budgetEdit_->setAccessibleName(QStringLiteral("Numero massimo di colonne da aggiungere"));
    setHint(budgetEdit_, QStringLiteral("Colonne al massimo|Quante colonne al più possono essere "
                                        "aggiunte."));
    form->addRow(QStringLiteral("&Punti garantiti (t):"), pointsBox_);
    form->addRow(QStringLiteral("se &estratti tra i segni (m):"), drawnBox_);
    form->addRow(QStringLiteral("&Colonne al massimo:"), budgetEdit_);
    layout->addLayout(form);

    outcomeLabel_ = new QLabel(this);
    outcomeLabel_->setObjectName(QStringLiteral("outcomeLabel"));
    outcomeLabel_->setWordWrap(true);
    layout->addWidget(outcomeLabel_);
    addGauge(layout, QStringLiteral("Combinazioni coperte"));

    auto* buttons = new QHBoxLayout;
    startButton_ = new QPushButton(QStringLiteral("&Avvia"), this);
    startButton_->setObjectName(QStringLiteral("startButton"));
    startButton_->setDefault(true);
    setHint(startButton_, QStringLiteral("Avvia|Cerca le colonne da aggiungere."));
    connect(startButton_, &QPushButton::clicked, this, &GuaranteeRepairDialog::onStartClicked);
    buttons->addWidget(startButton_);
    addStopAndClose(buttons,
                    QStringLiteral("Interrompi|Interrompe la ricerca senza aggiungere colonne."),
                    QStringLiteral("C&hiudi"));
    layout->addLayout(buttons);
    resize(460, 260);
}

GuaranteeRepairDialog::~GuaranteeRepairDialog() {
    run_->cancel();
}

void GuaranteeRepairDialog::onStartClicked() {
    if (run_->running())
        return;
    const int t = pointsBox_->currentData().toInt(), m = drawnBox_->currentData().toInt();
    if (t > m) {
        showError(this, QStringLiteral("Errore"), QString::fromUtf8(guaranteeChoiceMessage));
        return;
    }
    const auto budget = repairBudget(budgetEdit_->text().toStdString());
    if (!budget) {
        showError(this, QStringLiteral("Errore"), QString::fromStdString(budget.error()));
        budgetEdit_->setFocus();
        return;
    }
    if (state_.markedCount() < 6) {
        showError(this, QStringLiteral("Errore"), QString::fromUtf8(fewMarksMessage));
        return;
    }
    auto request = std::make_shared<RepairRequest>(
        repairRequest(state_, archive_.newestFirst(snapshotLimit), t, m, *budget));
    auto result = std::make_shared<Expected<RepairResult>>(RepairResult{});
    startButton_->setEnabled(false);
    outcomeLabel_->setText(QStringLiteral("Ricerca in corso..."));
    run_->start(
        [request, result](RunControl& control, const WorkerRun::Progress& progress) {
            *result = repairGuarantee(*request, &control, [&](const RepairResult& sofar) {
                if (sofar.total > 0)
                    progress(static_cast<double>(sofar.covered) / static_cast<double>(sofar.total));
            });
        },
        [this, result, t, m](WorkerRun::Outcome outcome) {
            startButton_->setEnabled(true);
            if (outcome == WorkerRun::Outcome::Failed) {
                outcomeLabel_->clear();
                return;
            }
            if (!*result) {
                outcomeLabel_->clear();
                showError(this, QStringLiteral("Errore"), QString::fromStdString(result->error()));
                return;
            }
            const RepairResult& done = **result;
            if (done.stopped || outcome == WorkerRun::Outcome::Stopped) {
                outcomeLabel_->setText(
                    QStringLiteral("Ricerca interrotta: nessuna colonna aggiunta."));
                return;
            }
            state_.finalColumns.insert(state_.finalColumns.end(), done.added.begin(),
                                       done.added.end());
            if (!done.added.empty())
                state_.modified = true;
            addedCount_ += static_cast<int>(done.added.size());
            const double share = done.total == 0 ? 0.0
                                                 : 100.0 * static_cast<double>(done.covered) /
                                                       static_cast<double>(done.total);
            outcomeLabel_->setText(
                QStringLiteral("Colonne aggiunte: %1. Combinazioni coperte con %2 se %3: %4 su "
                               "%5 (%6).")
                    .arg(done.added.size())
                    .arg(t)
                    .arg(m)
                    .arg(done.covered)
                    .arg(done.total)
                    .arg(QString::fromStdString(percentText(share))));
            progressBar_->setValue(static_cast<int>(share));
        });
}

} // namespace quintor
