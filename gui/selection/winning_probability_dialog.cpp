#include "gui/selection/winning_probability_dialog.h"

#include "core/combinatorics.h"
#include "gui/common/background.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"
#include "gui/common/worker_run.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace quintor {

namespace {

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& where) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(where);
    return label;
}

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

WinningProbabilityDialog::WinningProbabilityDialog(
    const std::vector<Column>& finalColumns, const std::array<std::uint8_t, boardSize + 1>& marked,
    QWidget* parent)
    : QDialog(parent), finals_(finalColumns), background_(backgroundPicture(68, 21)) {
    for (int n = 1; n <= boardSize; ++n)
        if (marked[static_cast<std::size_t>(n)] == 1)
            marked_.push_back(n);

    setObjectName(QStringLiteral("WinningProbabilityDialog"));
    setWindowTitle(QStringLiteral("Probabilità di vincita"));
    setFixedSize(353, 286);
    useFixedDialogFrame(this);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    setFont(font);

    introLabel_ = makeLabel(this, QStringLiteral("introLabel"),
                            QStringLiteral("Probabilità di vincita delle colonne se nel sistema "
                                           "iniziale sono presenti SEI punti:"),
                            QRect(10, 8, 333, 36));
    introLabel_->setWordWrap(true);

    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("valuesFrame"));
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(8, 50, 337, 150);

    const char* levelNames[4] = {"three", "four", "five", "six"};
    for (int i = 0; i < 4; ++i) {
        const int y = 58 + 28 * i;
        const QString name = QString::fromLatin1(levelNames[i]) + QStringLiteral("Points");
        makeLabel(this, name + QStringLiteral("Caption"),
                  QStringLiteral("Probabilità di realizzare %1 punti:").arg(i + 3),
                  QRect(16, y, 236, 22));
        levelValues_[i] = makeLabel(this, name + QStringLiteral("Value"), QStringLiteral("0 %"),
                                    QRect(252, y, 86, 22));
        levelValues_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    auto* totalCaption =
        makeLabel(this, QStringLiteral("totalCaption"),
                  QStringLiteral("Probabilità totale di vincita:"), QRect(16, 170, 236, 22));
    totalValue_ = makeLabel(this, QStringLiteral("totalValue"), QStringLiteral("0 %"),
                            QRect(252, 170, 86, 22));
    totalValue_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel* navy : {totalCaption, totalValue_})
        navy->setStyleSheet(QStringLiteral("color: navy;"));

    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("progressBar"));
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    progressBar_->setGeometry(8, 210, 337, 18);
    progressBar_->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: blue; }"));
    progressBar_->setAccessibleName(QStringLiteral("Avanzamento del calcolo"));

    QFont small = font;
    small.setPixelSize(11);
    projectionCaption_ = makeLabel(this, QStringLiteral("projectionCaption"),
                                   QStringLiteral("Probabilità prevista:"), QRect(8, 250, 130, 20));
    projectionValue_ = makeLabel(this, QStringLiteral("projectionValue"), QStringLiteral("0"),
                                 QRect(140, 250, 90, 20));
    projectionCaption_->setFont(small);
    projectionValue_->setFont(small);

    stopButton_ = new QPushButton(QStringLiteral("Interrompi"), this);
    stopButton_->setObjectName(QStringLiteral("stopButton"));
    stopButton_->setFlat(true);
    stopButton_->setGeometry(245, 242, 100, 32);
    setHint(stopButton_, QStringLiteral("Chiude la scheda."));

    closeButton_ = new QPushButton(QStringLiteral("Chiudi"), this);
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    closeButton_->setFlat(true);
    closeButton_->setGeometry(245, 242, 100, 32);
    closeButton_->hide();
    setHint(closeButton_, QStringLiteral("Chiude la scheda."));
    connect(closeButton_, &QPushButton::clicked, this, &WinningProbabilityDialog::accept);

    // The gauge moves by whole hundredths of the columns examined, rounded as the counts are.
    run_ = new WorkerRun(this);
    run_->setStopButton(stopButton_);
    connect(run_, &WorkerRun::ticked, this, &WinningProbabilityDialog::showProgress);
}

WinningProbabilityDialog::~WinningProbabilityDialog() {
    // The count reads the columns and writes the counts this window holds.
    run_->cancel();
}

void WinningProbabilityDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        // let the window appear before the work starts
        QTimer::singleShot(0, this, &WinningProbabilityDialog::startCount);
    }
}

void WinningProbabilityDialog::startCount() {
    for (QLabel* value : levelValues_)
        value->setText(QStringLiteral("0 %"));
    if (marked_.size() < 6) {
        showFinalValues(BestMatchCounts{});
        return;
    }
    initialColumns_ = initialColumnCount(static_cast<int>(marked_.size()));
    run_->start(
        [this](RunControl& control, const WorkerRun::Progress&) {
            const BestMatchCounts counts =
                countBestMatches(marked_, finals_, &control, [this](const BestMatchCounts& now) {
                    std::lock_guard lock(countsMutex_);
                    sofar_ = now;
                });
            std::lock_guard lock(countsMutex_);
            sofar_ = counts;
        },
        [this](WorkerRun::Outcome outcome) { onCountFinished(outcome); });
}

void WinningProbabilityDialog::showProgress() {
    BestMatchCounts now;
    {
        std::lock_guard lock(countsMutex_);
        now = sofar_;
    }
    progressBar_->setValue(probabilityGauge(now.examined, initialColumns_));
    showValues(now, true);
}

void WinningProbabilityDialog::showValues(const BestMatchCounts& counts, bool withProjection) {
    const ProbabilityTexts texts = probabilityTexts(counts, initialColumns_);
    for (std::size_t i = 0; i < levelValues_.size(); ++i)
        levelValues_[i]->setText(qs(texts.levels[i]));
    totalValue_->setText(qs(texts.total));
    if (withProjection)
        projectionValue_->setText(qs(texts.projected));
}

void WinningProbabilityDialog::onCountFinished(WorkerRun::Outcome outcome) {
    // Joined: the counts are the whole run's, or those examined before it stopped or failed.
    const BestMatchCounts counts = sofar_;
    stopped_ = outcome == WorkerRun::Outcome::Stopped;
    if (outcome == WorkerRun::Outcome::Completed) {
        projectionCaption_->hide();
        projectionValue_->hide();
    } else {
        // the projection keeps the last value it showed from the counts examined so far
        projectionValue_->setText(qs(probabilityTexts(counts, initialColumns_).projected));
    }
    showFinalValues(counts);
}

void WinningProbabilityDialog::showFinalValues(const BestMatchCounts& counts) {
    showValues(counts, false);
    stopButton_->hide();
    closeButton_->show();
    progressBar_->setValue(100);
    finished_ = true;
    update();
}

void WinningProbabilityDialog::reject() {
    run_->cancel();
    QDialog::reject();
}

void WinningProbabilityDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    tileBackground(painter, size(), background_);
}

} // namespace quintor
