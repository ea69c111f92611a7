#include "gui/analysis/guarantee_holes_dialog.h"

#include "core/repair.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"
#include "gui/common/worker_run.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QVBoxLayout>

#include <mutex>
#include <utility>

namespace quintor {

struct GuaranteeHolesDialog::FoundHoles {
    std::mutex mutex;
    std::vector<Column> holes;

    void add(const Column& hole) {
        const std::lock_guard lock(mutex);
        holes.push_back(hole);
    }
    std::vector<Column> take() {
        const std::lock_guard lock(mutex);
        return std::exchange(holes, {});
    }
};

HolesModel::HolesModel(std::vector<int> marked, std::vector<Column> finals, int t, int m,
                       QObject* parent)
    : QAbstractListModel(parent), marked_(std::move(marked)), finals_(std::move(finals)), m_(m),
      cursor_(std::make_unique<HoleCursor>(marked_, finals_, t, m)) {}

int HolesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant HolesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size()))
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return QString::fromStdString(holeText(rows_[static_cast<std::size_t>(index.row())], m_));
    return {};
}

bool HolesModel::canFetchMore(const QModelIndex& parent) const {
    // While a read goes the worker owns the cursor: it is not even asked whether it is done.
    return !parent.isValid() && started_ && !fetching_ && !held_ && !cursor_->finished();
}

void HolesModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    fetching_ = true;
    emit moreRowsWanted();
}

void HolesModel::showFirstRows(std::vector<Column> rows) {
    started_ = true;
    append(std::move(rows));
}

void HolesModel::addRows(std::vector<Column> rows) {
    append(std::move(rows));
}

void HolesModel::endFetch(bool held) {
    fetching_ = false;
    held_ = held;
}

void HolesModel::append(std::vector<Column> more) {
    if (more.empty())
        return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(more.size()) - 1);
    rows_.insert(rows_.end(), std::make_move_iterator(more.begin()),
                 std::make_move_iterator(more.end()));
    endInsertRows();
}

GuaranteeHolesDialog::GuaranteeHolesDialog(const SystemState& state, int t, int m, QWidget* parent)
    : AnalysisWindow(parent), state_(state), marked_(state.markedNumbers()) {
    setObjectName(QStringLiteral("GuaranteeHolesDialog"));
    setWindowTitle(QStringLiteral("Buchi della garanzia"));
    auto* layout = new QVBoxLayout(this);

    auto* choice = new QHBoxLayout;
    auto* labelT = new QLabel(QStringLiteral("&Punti:"), this);
    pointsBox_ = new QComboBox(this);
    pointsBox_->setObjectName(QStringLiteral("pointsBox"));
    pointsBox_->setAccessibleName(QStringLiteral("Punti garantiti"));
    for (int k = smallestGuaranteedPoints; k <= largestDrawnCount; ++k)
        pointsBox_->addItem(QString::number(k), k);
    labelT->setBuddy(pointsBox_);
    auto* labelM = new QLabel(QStringLiteral("se es&tratti tra i segni:"), this);
    drawnBox_ = new QComboBox(this);
    drawnBox_->setObjectName(QStringLiteral("drawnBox"));
    drawnBox_->setAccessibleName(QStringLiteral("Numeri estratti tra i segni"));
    for (int k = smallestDrawnCount; k <= largestDrawnCount; ++k)
        drawnBox_->addItem(QString::number(k), k);
    labelM->setBuddy(drawnBox_);
    pointsBox_->setCurrentIndex(
        std::clamp(t - smallestGuaranteedPoints, 0, pointsBox_->count() - 1));
    drawnBox_->setCurrentIndex(std::clamp(m - smallestDrawnCount, 0, drawnBox_->count() - 1));
    countButton_ = new QPushButton(QStringLiteral("C&alcola"), this);
    countButton_->setObjectName(QStringLiteral("countButton"));
    countButton_->setDefault(true);
    setHint(countButton_, QStringLiteral("Calcola|Conta ed elenca le combinazioni non coperte."));
    connect(countButton_, &QPushButton::clicked, this, &GuaranteeHolesDialog::onCountClicked);
    choice->addWidget(labelT);
    choice->addWidget(pointsBox_);
    choice->addWidget(labelM);
    choice->addWidget(drawnBox_);
    choice->addWidget(countButton_);
    choice->addStretch();
    layout->addLayout(choice);

    countLabel_ = new QLabel(
        QStringLiteral("Scegliere i punti (t) e gli estratti tra i segni (m), poi premere "
                       "Calcola."),
        this);
    countLabel_->setObjectName(QStringLiteral("countLabel"));
    countLabel_->setWordWrap(true);
    layout->addWidget(countLabel_);
    holesList_ = new QListView(this);
    holesList_->setObjectName(QStringLiteral("holesList"));
    holesList_->setAccessibleName(QStringLiteral("Combinazioni non coperte"));
    holesList_->setUniformItemSizes(true);
    holesList_->setMinimumSize(380, 300);
    layout->addWidget(holesList_);
    // A stopped read starts again only when the user scrolls to the end of the list, not when
    // the list is laid out anew with its end in sight.
    connect(holesList_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!model_)
            return;
        model_->releaseFetching();
        if (value == holesList_->verticalScrollBar()->maximum())
            model_->fetchMore({});
    });
    addGauge(layout, QStringLiteral("Avanzamento del calcolo"));

    auto* buttons = new QHBoxLayout;
    exportButton_ = new QPushButton(QStringLiteral("&Esporta CSV"), this);
    exportButton_->setObjectName(QStringLiteral("exportButton"));
    setHint(exportButton_,
            QStringLiteral("Esporta CSV|Scrive tutte le combinazioni non coperte in un file "
                           "CSV."));
    connect(exportButton_, &QPushButton::clicked, this, &GuaranteeHolesDialog::onExportClicked);
    buttons->addWidget(exportButton_);
    addStopAndClose(buttons, QStringLiteral("Interrompi|Interrompe il calcolo, la ricerca di altri "
                                            "buchi o l'esportazione."));
    addHelpButton(buttons, HelpTopic::GuaranteeHoles);
    layout->addLayout(buttons);
    connect(run_, &WorkerRun::ticked, this, &GuaranteeHolesDialog::takeFoundHoles);
}

GuaranteeHolesDialog::~GuaranteeHolesDialog() {
    run_->cancel();
}

int GuaranteeHolesDialog::t() const {
    return pointsBox_->currentData().toInt();
}
int GuaranteeHolesDialog::m() const {
    return drawnBox_->currentData().toInt();
}

QString GuaranteeHolesDialog::countText() const {
    const int shown = model_ ? model_->rowCount() : 0;
    const QLocale italian(QLocale::Italian);
    const QString first = italian.toString(shown);
    QString text;
    if (countStopped_ || !counted_) {
        text = countStopped_ ? QStringLiteral("Conteggio interrotto.")
                             : QStringLiteral("Conteggio in corso...");
        if (shown > 0)
            text += QStringLiteral(" Mostrati i primi %1 buchi.").arg(first);
    } else if (count_ == 0) {
        return QStringLiteral("Nessun buco: il sistema garantisce %1 se %2.")
            .arg(countedPoints_)
            .arg(countedDrawn_);
    } else if (static_cast<std::uint64_t>(shown) >= count_) {
        return QStringLiteral("Buchi di %1 se %2: %3, tutti nell'elenco.")
            .arg(countedPoints_)
            .arg(countedDrawn_)
            .arg(italian.toString(static_cast<qulonglong>(count_)));
    } else {
        text = QStringLiteral("Buchi di %1 se %2: mostrati i primi %3 buchi su %4.")
                   .arg(countedPoints_)
                   .arg(countedDrawn_)
                   .arg(first, italian.toString(static_cast<qulonglong>(count_)));
    }
    if (shown == 0)
        return text;
    // The list holds only the rows read so far: say what its end does now, and where all of
    // them are.
    if (readWaiting_)
        return text + QStringLiteral(" Altri buchi saranno cercati al termine dell'elaborazione "
                                     "in corso.");
    if (model_->fetching())
        return text + QStringLiteral(" Ricerca di altri buchi in corso: \"Interrompi\" la ferma "
                                     "e lascia nell'elenco quelli già trovati.");
    text += readStopped_ ? QStringLiteral(" Ricerca interrotta: scorrendo di nuovo in fondo "
                                          "all'elenco riprende.")
                         : QStringLiteral(" Scorrendo in fondo all'elenco se ne aggiungono altri.");
    if (counted_)
        text += QStringLiteral(" \"Esporta CSV\" li scrive tutti in un file.");
    return text;
}

void GuaranteeHolesDialog::refreshCountLabel() {
    countLabel_->setText(countText());
}

void GuaranteeHolesDialog::onCountClicked() {
    if (run_->running())
        return;
    const int t = this->t(), m = this->m();
    if (t > m) {
        showError(this, QStringLiteral("Errore"), QString::fromUtf8(guaranteeChoiceMessage));
        return;
    }
    // The worker looks for the first rows and hands them over as soon as it has them, then
    // counts the holes; the list fetches the following rows as it is scrolled.
    auto* old = model_;
    model_ = new HolesModel(marked_, state_.finalColumns, t, m, this);
    holesList_->setModel(model_);
    delete old;
    connect(model_, &QAbstractItemModel::rowsInserted, this,
            &GuaranteeHolesDialog::refreshCountLabel);
    connect(model_, &HolesModel::moreRowsWanted, this, &GuaranteeHolesDialog::onMoreRowsWanted);
    counted_ = false;
    countStopped_ = false;
    readWaiting_ = false;
    readStopped_ = false;
    countedPoints_ = t;
    countedDrawn_ = m;
    refreshCountLabel();
    countButton_->setEnabled(false);
    exportButton_->setEnabled(false);
    const std::vector<Column> finals = state_.finalColumns;
    auto best = std::make_shared<std::array<std::uint64_t, 7>>();
    HolesModel* model = model_;
    HoleCursor* cursor = &model_->cursor();
    run_->start(
        [this, finals, m, best, model, cursor](RunControl& control,
                                               const WorkerRun::Progress& progress) {
            std::vector<Column> first;
            cursor->next(first, HolesModel::batch, &control);
            if (control.cancelRequested())
                return;
            // The window joins this thread before the model goes, and a call queued for a
            // model that has gone is dropped.
            QMetaObject::invokeMethod(
                model,
                [model, first = std::move(first)]() mutable {
                    model->showFirstRows(std::move(first));
                },
                Qt::QueuedConnection);
            countBestMatchesOfSize(marked_, finals, m, *best, &control, progress);
        },
        [this, t, best](WorkerRun::Outcome outcome) {
            countButton_->setEnabled(true);
            exportButton_->setEnabled(true);
            if (outcome == WorkerRun::Outcome::Completed) {
                count_ = 0;
                for (int b = 0; b < t; ++b)
                    count_ += (*best)[static_cast<std::size_t>(b)];
                counted_ = true;
            } else {
                countStopped_ = true;
            }
            refreshCountLabel();
            readWaitingRows(outcome);
        });
}

void GuaranteeHolesDialog::onMoreRowsWanted() {
    if (run_->running()) {
        // The count or an export goes on, on the one worker of the window: the rows follow it.
        readWaiting_ = true;
        refreshCountLabel();
        return;
    }
    readMoreRows();
}

void GuaranteeHolesDialog::readWaitingRows(WorkerRun::Outcome outcomeBefore) {
    if (!readWaiting_)
        return;
    readWaiting_ = false;
    if (outcomeBefore == WorkerRun::Outcome::Completed) {
        readMoreRows();
        return;
    }
    // A stop ends the wait for more rows as well; scrolling to the end asks for them again.
    model_->endFetch(true);
    refreshCountLabel();
}

void GuaranteeHolesDialog::readMoreRows() {
    readWaiting_ = false;
    readStopped_ = false;
    countButton_->setEnabled(false);
    exportButton_->setEnabled(false);
    // Rare holes may take long to find: the worker hands each one over as it comes, and the
    // list takes them every tick, so that they show while the search goes on.
    found_ = std::make_shared<FoundHoles>();
    HoleCursor* cursor = &model_->cursor();
    run_->start(
        [found = found_, cursor](RunControl& control, const WorkerRun::Progress& progress) {
            std::vector<Column> hole;
            for (std::size_t read = 0; read < HolesModel::batch && !control.cancelRequested();) {
                hole.clear();
                const bool more = cursor->next(hole, 1, &control, progress);
                if (!hole.empty()) {
                    found->add(hole.front());
                    ++read;
                }
                if (!more)
                    break;
            }
        },
        [this](WorkerRun::Outcome outcome) {
            takeFoundHoles();
            found_.reset();
            countButton_->setEnabled(true);
            exportButton_->setEnabled(true);
            // The rows found before a stop stay; the search does not start again by itself.
            readStopped_ = outcome != WorkerRun::Outcome::Completed;
            model_->endFetch(readStopped_);
            refreshCountLabel();
        });
    refreshCountLabel();
}

void GuaranteeHolesDialog::takeFoundHoles() {
    if (found_ && model_)
        model_->addRows(found_->take());
}

void GuaranteeHolesDialog::onExportClicked() {
    if (run_->running())
        return;
    const int t = this->t(), m = this->m();
    if (t > m) {
        showError(this, QStringLiteral("Errore"), QString::fromUtf8(guaranteeChoiceMessage));
        return;
    }
    const QString file = askCsvFile(QStringLiteral("buchi.csv"));
    if (file.isEmpty())
        return;
    const std::vector<Column> finals = state_.finalColumns;
    auto result = std::make_shared<Expected<std::uint64_t>>(std::uint64_t{0});
    countButton_->setEnabled(false);
    exportButton_->setEnabled(false);
    run_->start(
        [this, finals, t, m, file, result](RunControl& control,
                                           const WorkerRun::Progress& progress) {
            *result = exportHolesCsv(file.toStdString(), marked_, finals, t, m, &control, progress);
        },
        [this, file, result](WorkerRun::Outcome outcome) {
            countButton_->setEnabled(true);
            exportButton_->setEnabled(true);
            // Rows asked for during the export are looked for once its message is answered.
            const auto readAfterwards = qScopeGuard([this, outcome] { readWaitingRows(outcome); });
            if (outcome == WorkerRun::Outcome::Failed)
                return;
            if (outcome == WorkerRun::Outcome::Stopped && !*result) {
                // The user asked for it: no error. The file is replaced only once whole, so
                // nothing half-written is left behind.
                showInformation(this, QStringLiteral("Esporta CSV"),
                                QStringLiteral("Esportazione interrotta: il file %1 non è stato "
                                               "scritto né modificato.")
                                    .arg(QDir::toNativeSeparators(file)));
                return;
            }
            if (!*result) {
                showError(this, QStringLiteral("Errore"), QString::fromStdString(result->error()));
                return;
            }
            showInformation(this, QStringLiteral("Esporta CSV"),
                            QStringLiteral("Combinazioni esportate: %1.").arg(**result));
        });
}

} // namespace quintor
