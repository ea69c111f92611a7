#include "gui/analysis/guarantee_repair_dialog.h"

#include "core/conversions.h"
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
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>

#include <mutex>

namespace quintor {

struct GuaranteeRepairDialog::Live {
    std::mutex mutex;
    bool searching = false;
    std::size_t columns = 0;
    std::uint64_t covered = 0, total = 0;
};

namespace {

QString fixedText(const SystemState& state) {
    QStringList numbers;
    for (int i = 0; i < state.usableFixedCount(); ++i)
        numbers << QString::number(state.fixedNumbers[static_cast<std::size_t>(i)]);
    return numbers.join(QStringLiteral(", "));
}

QString shareText(std::uint64_t covered, std::uint64_t total) {
    const double share =
        total == 0 ? 0.0 : 100.0 * static_cast<double>(covered) / static_cast<double>(total);
    return QStringLiteral("%1 su %2 (%3)")
        .arg(covered)
        .arg(total)
        .arg(QString::fromStdString(percentText(share)));
}

} // namespace

GuaranteeRepairDialog::GuaranteeRepairDialog(SystemState& state, const Archive& archive,
                                             QWidget* parent)
    : AnalysisWindow(parent), state_(state), archive_(archive), live_(std::make_shared<Live>()) {
    setObjectName(QStringLiteral("GuaranteeRepairDialog"));
    setWindowTitle(QStringLiteral("Completa la garanzia"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Aggiunge colonne finali di sei segni, con tutte le fisse, scelte una alla "
                       "volta tra quelle che coprono più combinazioni ancora scoperte; poi cerca "
                       "meno colonne con la stessa garanzia o, se il massimo non basta, le colonne "
                       "che ne coprono di più. Interrompendo la ricerca si tiene la migliore "
                       "trovata finora."),
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
    fixedEdit_ = new QLineEdit(fixedText(state), this);
    fixedEdit_->setObjectName(QStringLiteral("fixedEdit"));
    fixedEdit_->setAccessibleName(QStringLiteral("Numeri fissi in ogni colonna"));
    setHint(
        fixedEdit_,
        QStringLiteral("Numeri fissi|Numeri segnati presenti in ogni colonna aggiunta, separati "
                       "da virgole (al più sei). Con le fisse la garanzia vale quando sono "
                       "tutte tra gli estratti."));
    form->addRow(QStringLiteral("&Punti garantiti (t):"), pointsBox_);
    form->addRow(QStringLiteral("se &estratti tra i segni (m):"), drawnBox_);
    form->addRow(QStringLiteral("&Colonne al massimo:"), budgetEdit_);
    form->addRow(QStringLiteral("Numeri &fissi:"), fixedEdit_);
    layout->addLayout(form);

    outcomeLabel_ = new QLabel(this);
    outcomeLabel_->setObjectName(QStringLiteral("outcomeLabel"));
    outcomeLabel_->setWordWrap(true);
    outcomeLabel_->setMinimumHeight(4 * fontMetrics().lineSpacing());
    outcomeLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(outcomeLabel_);
    resultTable_ = new QTableWidget(0, 6, this);
    resultTable_->setObjectName(QStringLiteral("resultTable"));
    resultTable_->setAccessibleName(QStringLiteral("Colonne aggiunte"));
    resultTable_->setHorizontalHeaderLabels({QStringLiteral("1°"), QStringLiteral("2°"),
                                             QStringLiteral("3°"), QStringLiteral("4°"),
                                             QStringLiteral("5°"), QStringLiteral("6°")});
    resultTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    resultTable_->verticalHeader()->setDefaultSectionSize(fontMetrics().lineSpacing() + 6);
    resultTable_->setMinimumHeight(120);
    layout->addWidget(resultTable_);
    addGauge(layout, QStringLiteral("Avanzamento della ricerca"));

    auto* buttons = new QHBoxLayout;
    startButton_ = new QPushButton(QStringLiteral("&Avvia"), this);
    startButton_->setObjectName(QStringLiteral("startButton"));
    startButton_->setDefault(true);
    setHint(startButton_, QStringLiteral("Avvia|Cerca le colonne da aggiungere."));
    connect(startButton_, &QPushButton::clicked, this, &GuaranteeRepairDialog::onStartClicked);
    buttons->addWidget(startButton_);
    addStopAndClose(buttons,
                    QStringLiteral("Interrompi|Interrompe la ricerca: durante la ricerca di meno "
                                   "colonne tiene la migliore trovata finora, prima non aggiunge "
                                   "nulla."),
                    QStringLiteral("C&hiudi"));
    addHelpButton(buttons, HelpTopic::GuaranteeRepair);
    layout->addLayout(buttons);
    connect(run_, &WorkerRun::ticked, this, &GuaranteeRepairDialog::showBestSoFar);
    resize(520, 480);
}

GuaranteeRepairDialog::~GuaranteeRepairDialog() {
    run_->cancel();
}

// While the search runs: its best set so far.
void GuaranteeRepairDialog::showBestSoFar() {
    std::lock_guard lock(live_->mutex);
    if (!live_->searching)
        return;
    outcomeLabel_->setText(
        QStringLiteral("Ricerca di meno colonne in corso... Migliore finora: %1 colonne, "
                       "combinazioni coperte %2.")
            .arg(live_->columns)
            .arg(shareText(live_->covered, live_->total)));
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
    const auto fixed = repairFixedNumbers(fixedEdit_->text().toStdString(), state_.markedNumbers());
    if (!fixed) {
        showError(this, QStringLiteral("Errore"), QString::fromStdString(fixed.error()));
        fixedEdit_->setFocus();
        return;
    }
    auto request = std::make_shared<RepairRequest>(
        repairRequest(state_, archive_.newestFirst(snapshotLimit), t, m, *budget, *fixed));
    auto result = std::make_shared<Expected<RepairResult>>(RepairResult{});
    startButton_->setEnabled(false);
    resultTable_->setRowCount(0);
    outcomeLabel_->setText(QStringLiteral("Ricerca in corso..."));
    {
        std::lock_guard lock(live_->mutex);
        live_->searching = false;
    }
    run_->start(
        [request, result, live = live_](RunControl& control, const WorkerRun::Progress& progress) {
            *result = repairGuarantee(*request, &control, [&](const RepairResult& sofar) {
                progress(sofar.done);
                std::lock_guard lock(live->mutex);
                live->searching = sofar.searching;
                live->columns = sofar.added.size();
                live->covered = sofar.coveredHoldingFixed;
                live->total = sofar.totalHoldingFixed;
            });
        },
        [this, result, t, m, fixed = *fixed](WorkerRun::Outcome outcome) {
            startButton_->setEnabled(true);
            {
                std::lock_guard lock(live_->mutex);
                live_->searching = false;
            }
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
            // A stop before the search leaves no result; one during it leaves the best so far.
            if (done.stopped) {
                outcomeLabel_->setText(
                    QStringLiteral("Ricerca interrotta: nessuna colonna aggiunta."));
                return;
            }
            showResult(done, t, m, fixed, outcome == WorkerRun::Outcome::Stopped);
        });
}

void GuaranteeRepairDialog::showResult(const RepairResult& done, int t, int m,
                                       const std::vector<int>& fixed, bool stoppedInSearch) {
    state_.finalColumns.insert(state_.finalColumns.end(), done.added.begin(), done.added.end());
    if (!done.added.empty())
        state_.modified = true;
    addedCount_ += static_cast<int>(done.added.size());
    resultTable_->setRowCount(static_cast<int>(done.added.size()));
    for (std::size_t row = 0; row < done.added.size(); ++row)
        for (std::size_t k = 0; k < 6; ++k)
            resultTable_->setItem(static_cast<int>(row), static_cast<int>(k),
                                  new QTableWidgetItem(QString::number(done.added[row][k])));

    QString text = stoppedInSearch
                       ? QStringLiteral("Ricerca interrotta: aggiunta la migliore soluzione "
                                        "trovata finora. ")
                       : QString();
    text += QStringLiteral("Colonne aggiunte: %1. Combinazioni coperte con %2 se %3: %4.")
                .arg(done.added.size())
                .arg(t)
                .arg(m)
                .arg(shareText(done.covered, done.total));
    // The bar shows the share the repair aims at: with fixed numbers, over the draws that
    // hold them all.
    std::uint64_t shownCovered = done.covered, shownTotal = done.total;
    if (!fixed.empty()) {
        QStringList numbers;
        for (int number : fixed)
            numbers << QString::number(number);
        text += QStringLiteral(" Con tutte le fisse (%1) tra gli estratti: %2. La barra mostra "
                               "questa quota.")
                    .arg(numbers.join(QStringLiteral(", ")))
                    .arg(shareText(done.coveredHoldingFixed, done.totalHoldingFixed));
        shownCovered = done.coveredHoldingFixed;
        shownTotal = done.totalHoldingFixed;
    }
    text += done.reached() ? QStringLiteral(" Garanzia raggiunta.")
                           : QStringLiteral(" Garanzia non raggiunta con le colonne permesse.");
    outcomeLabel_->setText(text);
    progressBar_->setValue(shownTotal == 0
                               ? 0
                               : static_cast<int>(100.0 * static_cast<double>(shownCovered) /
                                                  static_cast<double>(shownTotal)));
}

} // namespace quintor
