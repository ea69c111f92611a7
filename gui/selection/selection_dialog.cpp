#include "gui/selection/selection_dialog.h"

#include "core/archive.h"
#include "core/combinatorics.h"
#include "core/guarantee.h"
#include "core/repair.h"
#include "gui/common/background.h"
#include "gui/common/bevel_panel.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"
#include "gui/common/prompter.h"
#include "gui/common/simulated_draws_notice.h"
#include "gui/common/window_help.h"
#include "gui/common/worker_run.h"
#include "gui/selection/column_filters_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableView>

#include <algorithm>
#include <cmath>

namespace quintor {

namespace {

const QString errorTitle = QStringLiteral("Errore !");
const QString warningTitle = QStringLiteral("Attenzione");
const QString countHint =
    QStringLiteral("Permette di specificare il numero di colonne che si desidera giocare.");

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& where) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(where);
    return l;
}

QPushButton* flatButton(QWidget* parent, const char* name, const QString& text,
                        const QRect& where) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(where);
    b->setFlat(true);
    // Enter belongs to the window's own key handling, never to a default button.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

SelectionDialog::SelectionDialog(SystemState& system, std::vector<Column> draws, QWidget* parent)
    : QDialog(parent), system_(system), draws_(std::move(draws)),
      background_(BevelPanel::standardBackground()) {
    setObjectName(QStringLiteral("SelectionDialog"));
    setWindowTitle(QStringLiteral("Colonne finali"));
    setFixedSize(376, 393);
    useFixedDialogFrame(this);
    setModal(true);

    fixedNumbersLabel_ =
        label(this, "fixedNumbersLabel", QStringLiteral("Fisse:"), QRect(10, 8, 356, 20));
    modePanel_ = new BevelPanel(this);
    modePanel_->setObjectName(QStringLiteral("modePanel"));
    modePanel_->setGeometry(8, 32, 360, 96);
    scoreModeButton_ = new QRadioButton(QStringLiteral("Le migliori per &punteggio"), modePanel_);
    scoreModeButton_->setObjectName(QStringLiteral("scoreModeButton"));
    scoreModeButton_->setGeometry(12, 8, 336, 22);
    scoreModeButton_->setChecked(true);
    setHint(scoreModeButton_, QStringLiteral("Le migliori per punteggio|Tiene il numero di colonne "
                                             "scritto sotto, quelle col punteggio più alto."));
    guaranteeModeButton_ = new QRadioButton(QStringLiteral("Per &garanzia:"), modePanel_);
    guaranteeModeButton_->setObjectName(QStringLiteral("guaranteeModeButton"));
    guaranteeModeButton_->setGeometry(12, 36, 120, 24);
    setHint(guaranteeModeButton_,
            QStringLiteral("Per garanzia|Al più il numero di colonne scritto, con le fisse in "
                           "ognuna, che garantiscono t punti se m dei segni sono estratti; se non "
                           "bastano, quelle che coprono più combinazioni. A parità, le colonne "
                           "col punteggio migliore. Con le fisse la garanzia vale quando sono "
                           "tutte tra gli estratti."));
    auto* modes = new QButtonGroup(this);
    modes->addButton(scoreModeButton_);
    modes->addButton(guaranteeModeButton_);
    pointsBox_ = new QComboBox(modePanel_);
    pointsBox_->setObjectName(QStringLiteral("pointsBox"));
    pointsBox_->setGeometry(134, 36, 48, 24);
    pointsBox_->setAccessibleName(QStringLiteral("Punti garantiti"));
    setHint(pointsBox_, QStringLiteral("Punti garantiti (t)"));
    for (int k = smallestGuaranteedPoints; k <= largestDrawnCount; ++k)
        pointsBox_->addItem(QString::number(k), k);
    pointsBox_->setCurrentIndex(3 - smallestGuaranteedPoints);
    auto* drawnCaption =
        label(modePanel_, "drawnCaption", QStringLiteral("se"), QRect(186, 36, 22, 24));
    drawnCaption->setAlignment(Qt::AlignCenter);
    drawnBox_ = new QComboBox(modePanel_);
    drawnBox_->setObjectName(QStringLiteral("drawnBox"));
    drawnBox_->setGeometry(210, 36, 48, 24);
    drawnBox_->setAccessibleName(QStringLiteral("Numeri estratti tra i segni"));
    setHint(drawnBox_, QStringLiteral("Numeri estratti tra i segni (m)"));
    for (int k = smallestDrawnCount; k <= largestDrawnCount; ++k)
        drawnBox_->addItem(QString::number(k), k);
    drawnBox_->setCurrentIndex(6 - smallestDrawnCount);
    label(modePanel_, "drawnAfterCaption", QStringLiteral("estratti"), QRect(264, 36, 84, 24));
    auto* budgetCaption = label(modePanel_, "budgetCaption", QStringLiteral("Colonne al &massimo:"),
                                QRect(32, 66, 146, 22));
    budgetEdit_ = new QLineEdit(QStringLiteral("100"), modePanel_);
    budgetEdit_->setObjectName(QStringLiteral("budgetEdit"));
    budgetEdit_->setGeometry(182, 64, 90, 24);
    budgetEdit_->setMaxLength(8);
    budgetEdit_->setAccessibleName(QStringLiteral("Colonne al massimo"));
    setHint(budgetEdit_, QStringLiteral("Da 1 a 1000000|Quante colonne al più per la garanzia."));
    budgetCaption->setBuddy(budgetEdit_);
    connect(scoreModeButton_, &QRadioButton::toggled, this, &SelectionDialog::onModeChanged);

    countPanel_ = new BevelPanel(this);
    countPanel_->setObjectName(QStringLiteral("countPanel"));
    countPanel_->setGeometry(8, 136, 360, 150);
    initialCountLabel_ = label(countPanel_, "initialCountLabel",
                               QStringLiteral("Nº di colonne iniziali: "), QRect(12, 12, 336, 20));
    finalCountCaption_ = label(countPanel_, "finalCountCaption",
                               QStringLiteral("Nº di colonne finali:"), QRect(12, 44, 150, 20));
    finalCountEdit_ = new QLineEdit(countPanel_);
    finalCountEdit_->setObjectName(QStringLiteral("finalCountEdit"));
    finalCountEdit_->setGeometry(170, 42, 110, 24);
    finalCountEdit_->setMaxLength(10);
    finalCountEdit_->setAccessibleName(finalCountCaption_->text());
    finalCountCaption_->setBuddy(finalCountEdit_);
    precisionSlider_ = new QSlider(Qt::Horizontal, countPanel_);
    precisionSlider_->setObjectName(QStringLiteral("precisionSlider"));
    precisionSlider_->setGeometry(12, 80, 336, 30);
    precisionSlider_->setRange(0, precisionSteps);
    precisionSlider_->setValue(0);
    precisionSlider_->setTickPosition(QSlider::TicksBelow);
    precisionSlider_->setTickInterval(1);
    precisionSlider_->setPageStep(1);
    precisionSlider_->setAccessibleName(QStringLiteral("Rapporto precisione/velocità"));
    setHint(precisionSlider_, QStringLiteral("Rapporto precisione/velocità"));
    precisionLabel_ =
        label(countPanel_, "precisionLabel", QStringLiteral("Precisione"), QRect(12, 116, 120, 20));
    speedLabel_ =
        label(countPanel_, "speedLabel", QStringLiteral("Velocità"), QRect(228, 116, 120, 20));
    speedLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("progressBar"));
    progressBar_->setGeometry(8, 300, 360, 22);
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setAccessibleName(QStringLiteral("Avanzamento"));
    QPalette blue = progressBar_->palette();
    blue.setColor(QPalette::Highlight, QColor(0, 0, 255));
    progressBar_->setPalette(blue);
    progressBar_->hide();

    startButton_ =
        flatButton(this, "startButton", QStringLiteral("Avvia selezione"), QRect(8, 344, 150, 34));
    cancelButton_ =
        flatButton(this, "cancelButton", QStringLiteral("Annulla"), QRect(166, 344, 110, 34));
    setHint(cancelButton_, QStringLiteral("Chiude la scheda senza apportare modifiche."));
    helpButton_ = flatButton(this, "helpButton", QStringLiteral("?"), QRect(330, 344, 38, 34));
    QFont bold = helpButton_->font();
    bold.setBold(true);
    helpButton_->setFont(bold);
    helpButton_->setAccessibleName(QStringLiteral("Spiegazioni"));
    helpButton_->setEnabled(helpAvailable());
    setHint(helpButton_, QStringLiteral("Spiegazioni"));
    filtersButton_ =
        flatButton(this, "filtersButton", QStringLiteral("&Filtri"), QRect(280, 344, 48, 34));
    setHint(filtersButton_,
            QStringLiteral("Filtri|Esclude dalla selezione le colonne che non superano i "
                           "filtri scelti (somma, pari e dispari, decine, ...)."));
    filtersLabel_ = label(this, "filtersLabel", QString(), QRect(10, 300, 356, 20));
    filtersLabel_->setTextFormat(Qt::PlainText);
    stopButton_ =
        flatButton(this, "stopButton", QStringLiteral("Interrompi"), QRect(113, 344, 150, 34));
    stopButton_->hide();

    run_ = new WorkerRun(this);
    run_->setGauge(progressBar_);
    run_->setStopButton(stopButton_);
    connect(startButton_, &QPushButton::clicked, this, &SelectionDialog::onStartClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &SelectionDialog::reject);
    connect(helpButton_, &QPushButton::clicked, this, &SelectionDialog::onHelpClicked);
    attachHelpTopic(this, HelpTopic::Selection);
    connect(filtersButton_, &QPushButton::clicked, this, &SelectionDialog::onFiltersClicked);
    finalCountEdit_->installEventFilter(this);
    precisionSlider_->installEventFilter(this);
    budgetEdit_->installEventFilter(this);
    onModeChanged();
}

bool SelectionDialog::byGuarantee() const {
    return guaranteeModeButton_->isChecked();
}

// Only the fields of the chosen way of selecting take input.
void SelectionDialog::onModeChanged() {
    const bool target = byGuarantee();
    finalCountEdit_->setEnabled(!target);
    finalCountCaption_->setEnabled(!target);
    pointsBox_->setEnabled(target);
    drawnBox_->setEnabled(target);
    budgetEdit_->setEnabled(target);
    // The field of the chosen way takes the focus with its text selected: typing replaces it.
    QLineEdit* field = target ? budgetEdit_ : finalCountEdit_;
    if (isVisible()) {
        field->setFocus();
        field->selectAll();
    }
}

SelectionDialog::~SelectionDialog() {
    // The run reads the draws this window holds.
    run_->cancel();
}

bool SelectionDialog::running() const {
    return run_->running();
}

void SelectionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activated_) {
        activated_ = true;
        fillFromSystem();
    }
}

void SelectionDialog::fillFromSystem() {
    QString fixed;
    if (system_.fixedCount >= 1) {
        fixed = QStringLiteral("Fisse:");
        const int count = std::min<int>(system_.fixedCount, boardSize);
        for (int i = 0; i < count; ++i)
            fixed += QLatin1Char(' ') +
                     QString::number(system_.fixedNumbers[static_cast<std::size_t>(i)]);
    }
    fixedNumbersLabel_->setText(fixed);
    finalCountEdit_->setFocus();
    initialColumns_ = initialColumnCount(system_.markedCount());
    const QString total = QString::fromStdString(initialColumnCountText(system_.markedCount()));
    initialCountLabel_->setText(QStringLiteral("Nº di colonne iniziali: ") + total);
    setHint(finalCountEdit_, QStringLiteral("Da 1 a ") + total + QLatin1Char('|') + countHint);
    runEnded_ = 0;
    showFilters();
}

void SelectionDialog::setFilterDraws(std::shared_ptr<const std::vector<Column>> draws) {
    filterDraws_ = std::move(draws);
}

void SelectionDialog::showFilters() {
    const auto texts = filterTexts(system_.filters);
    QStringList shown;
    for (const auto& text : texts)
        shown << QString::fromStdString(text);
    const QString line = texts.empty()
                             ? QStringLiteral("Filtri: nessuno")
                             : QStringLiteral("Filtri: ") + shown.join(QStringLiteral(" "));
    filtersLabel_->setText(
        filtersLabel_->fontMetrics().elidedText(line, Qt::ElideRight, filtersLabel_->width()));
    filtersLabel_->setToolTip(line);
    filtersLabel_->setAccessibleName(line);
}

void SelectionDialog::onFiltersClicked() {
    if (running() || runEnded_ == 1)
        return;
    const std::vector<int> marked = system_.markedNumbers();
    ColumnFiltersDialog dialog(
        system_.filters, filterDraws_,
        [marked](const FilterCheck& check, const std::function<bool(double)>& progress) {
            return countPassingColumns(check, marked, progress);
        },
        initialColumnCountExact(system_.markedCount()), QStringLiteral("colonne iniziali"), this);
    if (dialog.exec() != QDialog::Accepted || dialog.filters() == system_.filters)
        return;
    system_.filters = dialog.filters();
    system_.modified = true; // the filters are saved with the system
    showFilters();
}

bool SelectionDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            keyPressEvent(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SelectionDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        // A run already going keeps startButton_ enabled though hidden: Enter must not start
        // another.
        if (startButton_->isEnabled() && !running())
            startButton_->click();
        return;
    }
    if (event->key() == Qt::Key_Escape && running()) {
        // Escape cannot close the window in the middle of a run; it asks to stop it instead.
        event->accept();
        run_->askToStop();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SelectionDialog::closeEvent(QCloseEvent* event) {
    // The run ends only by finishing or by a confirmed stop: the close box asks for the stop.
    if (running()) {
        event->ignore();
        run_->askToStop();
        return;
    }
    QDialog::closeEvent(event);
}

void SelectionDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    tileBackground(painter, size(), background_);
}

void SelectionDialog::hideIdleControls() {
    startButton_->hide();
    finalCountEdit_->setEnabled(false);
    precisionSlider_->setEnabled(false);
    modePanel_->setEnabled(false);
    cancelButton_->hide();
    helpButton_->hide();
    filtersButton_->hide();
    filtersLabel_->hide();
    stopButton_->show();
    progressBar_->setValue(0);
    progressBar_->show();
}

void SelectionDialog::onStartClicked() {
    if (running() || runEnded_ == 1)
        return;
    if (byGuarantee()) {
        startGuaranteeRun();
        return;
    }
    const auto count = requestedCount(finalCountEdit_->text().toStdString(), initialColumns_);
    if (!count) {
        showError(this, errorTitle, QString::fromStdString(count.error()));
        finalCountEdit_->setFocus();
        return;
    }
    // A count the memory cannot hold is refused now, naming one it can, not found out by
    // the run when the memory runs out.
    const auto fits = checkSelectionMemory(*count, system_.markedCount());
    if (!fits) {
        showError(this, errorTitle, QString::fromStdString(fits.error()));
        finalCountEdit_->setFocus();
        return;
    }
    std::shared_ptr<const FilterCheck> filter;
    if (!system_.filters.empty()) {
        HourglassGuard hourglass;
        filter = std::make_shared<const FilterCheck>(
            system_.filters, filterDraws_ ? std::span<const Column>(*filterDraws_)
                                          : std::span<const Column>(draws_));
        // Said before the run rather than found after it.
        if (!anyColumnPasses(*filter, system_.markedNumbers())) {
            showError(this, warningTitle, QString::fromUtf8(noColumnPassesMessage));
            return;
        }
    }
    hideIdleControls();

    // The previous final columns go whatever the outcome of the run.
    system_.finalColumns.clear();
    SelectionRequest request = selectionRequest(system_, draws_, *count, precisionSlider_->value());
    request.filter = std::move(filter);
    const double total = initialColumns_;
    auto result = std::make_shared<std::optional<Expected<SelectionResult>>>();
    run_->start(
        [request = std::move(request), total, result](RunControl& control,
                                                      const WorkerRun::Progress& progress) {
            result->emplace(selectColumns(
                request, &control, [&progress, total](std::uint64_t examined, std::uint64_t) {
                    progress(total > 0 ? static_cast<double>(examined) / total : 0.0);
                }));
        },
        [this, result](WorkerRun::Outcome outcome) { onRunFinished(outcome, *result); });
    // The count field is disabled now: Space stops the run from the keyboard.
    stopButton_->setFocus();
    repaint();
}

void SelectionDialog::onRunFinished(WorkerRun::Outcome outcome,
                                    std::optional<Expected<SelectionResult>>& result) {
    runEnded_ = 1;
    if (outcome == WorkerRun::Outcome::Failed || !result) {
        // The failure has been shown; the final columns stay empty.
    } else if (!*result) {
        showError(this, errorTitle, QString::fromStdString(result->error()));
    } else if (outcome == WorkerRun::Outcome::Stopped || (*result)->stopped) {
        system_.finalColumns.clear();
    } else if ((*result)->columns.empty()) {
        Question question;
        question.title = warningTitle;
        question.text = QString::fromUtf8(allRejectedMessage);
        Prompter::current().ask(this, question);
    } else {
        system_.finalColumns = std::move((*result)->columns);
    }
    accept();
}

void SelectionDialog::startGuaranteeRun() {
    const GuaranteeTarget target{pointsBox_->currentData().toInt(),
                                 drawnBox_->currentData().toInt(), 0};
    if (target.t > target.m) {
        showError(this, errorTitle, QString::fromUtf8(guaranteeChoiceMessage));
        pointsBox_->setFocus();
        return;
    }
    const auto budget = repairBudget(budgetEdit_->text().toStdString());
    if (!budget) {
        showError(this, errorTitle, QString::fromStdString(budget.error()));
        budgetEdit_->setFocus();
        return;
    }
    // Said before the run, which would otherwise lose the final columns to a refusal.
    if (!system_.filters.empty()) {
        showError(this, warningTitle, QString::fromUtf8(guaranteeFiltersMessage));
        return;
    }
    hideIdleControls();
    system_.finalColumns.clear();
    const SelectionRequest request =
        selectionRequest(system_, draws_, 0, precisionSlider_->value());
    const GuaranteeTarget asked{target.t, target.m, *budget};
    auto result = std::make_shared<Expected<RepairResult>>(RepairResult{});
    run_->start(
        [request, asked, result](RunControl& control, const WorkerRun::Progress& progress) {
            *result = selectForGuarantee(request, asked, &control,
                                         [&](const RepairResult& sofar) { progress(sofar.done); });
        },
        [this, result, asked, fixed = request.fixed](WorkerRun::Outcome outcome) {
            onGuaranteeRunFinished(outcome, *result, asked, fixed);
        });
    stopButton_->setFocus();
    repaint();
}

void SelectionDialog::onGuaranteeRunFinished(WorkerRun::Outcome outcome,
                                             const Expected<RepairResult>& result,
                                             const GuaranteeTarget& target,
                                             const std::vector<int>& fixed) {
    runEnded_ = 1;
    if (outcome == WorkerRun::Outcome::Failed) {
        // The failure has been shown; the final columns stay empty.
    } else if (!result) {
        showError(this, errorTitle, QString::fromStdString(result.error()));
    } else if (result->stopped || result->added.empty()) {
        // Stopped before the search had a set: nothing is kept, as in the selection by score.
        system_.finalColumns.clear();
    } else {
        // A stop during the search keeps its best set, which is whole and counted.
        system_.finalColumns = result->added;
        std::vector<int> sortedFixed = fixed;
        std::sort(sortedFixed.begin(), sortedFixed.end());
        QString text = result->searchStopped
                           ? QStringLiteral("Ricerca interrotta: tenute le colonne migliori "
                                            "trovate finora.\n")
                           : QString();
        text += QString::fromStdString(guaranteeSelectionSummary(*result, target, sortedFixed));
        Question question;
        question.title = QStringLiteral("Garanzia");
        question.text = text;
        question.icon = QMessageBox::Information;
        Prompter::current().ask(this, question);
    }
    accept();
}

void SelectionDialog::onHelpClicked() {
    showHelpTopic(HelpTopic::Selection);
}

int launchSelection(QWidget* parent, SystemState& system, const Archive& archive) {
    if (archive.size() < minimumDraws) {
        showError(parent, errorTitle, QString::fromUtf8(fewDrawsMessage));
        return -1;
    }
    if (system.markedCount() < 6) {
        showError(parent, errorTitle, QString::fromUtf8(fewMarksMessage));
        return -1;
    }
    SelectionDialog window(system, archive.newestFirst(snapshotLimit), parent);
    window.setFilterDraws(
        std::make_shared<const std::vector<Column>>(archive.newestFirst(archive.size())));
    addSimulatedDrawsNotice(&window, archive);
    window.exec();
    const int ended = window.runEnded();
    if (ended == 1 && !system.finalColumns.empty()) {
        HourglassGuard hourglass;
        system.modified = true;
    }
    return ended;
}

} // namespace quintor
