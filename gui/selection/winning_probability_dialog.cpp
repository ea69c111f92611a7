#include "gui/selection/winning_probability_dialog.h"

#include "core/combinatorics.h"
#include "gui/common/background.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"

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
    connect(stopButton_, &QPushButton::clicked, this, &WinningProbabilityDialog::onStopClicked);

    closeButton_ = new QPushButton(QStringLiteral("Chiudi"), this);
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    closeButton_->setFlat(true);
    closeButton_->setGeometry(245, 242, 100, 32);
    closeButton_->hide();
    setHint(closeButton_, QStringLiteral("Chiude la scheda."));
    connect(closeButton_, &QPushButton::clicked, this, &WinningProbabilityDialog::onCloseClicked);

    ticker_ = new QTimer(this);
    ticker_->setInterval(100);
    connect(ticker_, &QTimer::timeout, this, &WinningProbabilityDialog::showProgress);
}

WinningProbabilityDialog::~WinningProbabilityDialog() {
    stopWorker();
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
    ticker_->start();
    worker_ = std::thread([this] {
        const BestMatchCounts counts =
            countBestMatches(marked_, finals_, &control_, [this](const BestMatchCounts& now) {
                std::lock_guard lock(snapshotMutex_);
                snapshot_ = now;
            });
        {
            std::lock_guard lock(snapshotMutex_);
            result_ = counts;
        }
        QMetaObject::invokeMethod(
            this, [this] { onCountFinished(); }, Qt::QueuedConnection);
    });
}

void WinningProbabilityDialog::showProgress() {
    BestMatchCounts now;
    {
        std::lock_guard lock(snapshotMutex_);
        now = snapshot_;
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

void WinningProbabilityDialog::onStopClicked() {
    if (finished_ || !worker_.joinable())
        return;
    control_.requestPause();
    const auto answer =
        askQuestion(this, QStringLiteral("Attenzione"),
                    QStringLiteral("Sei sicuro di voler interrompere l'elaborazione ?"),
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        stopped_ = true;
        control_.cancel();
    } else {
        control_.resume();
    }
}

void WinningProbabilityDialog::onCountFinished() {
    if (worker_.joinable())
        worker_.join();
    ticker_->stop();
    BestMatchCounts counts;
    {
        std::lock_guard lock(snapshotMutex_);
        counts = result_;
    }
    if (stopped_) {
        // the projection keeps the last value it showed from the counts examined so far
        projectionValue_->setText(qs(probabilityTexts(counts, initialColumns_).projected));
    } else {
        projectionCaption_->hide();
        projectionValue_->hide();
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

void WinningProbabilityDialog::onCloseClicked() {
    accept();
}

void WinningProbabilityDialog::reject() {
    stopWorker();
    QDialog::reject();
}

void WinningProbabilityDialog::stopWorker() {
    if (worker_.joinable()) {
        control_.cancel();
        worker_.join();
    }
}

void WinningProbabilityDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    tileBackground(painter, size(), background_);
}

} // namespace quintor
