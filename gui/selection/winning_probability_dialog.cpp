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

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& where) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
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
    : QDialog(parent), finals_(finalColumns), Image1(backgroundPicture(68, 21)) {
    for (int n = 1; n <= boardSize; ++n)
        if (marked[static_cast<std::size_t>(n)] == 1)
            marked_.push_back(n);

    setObjectName(QStringLiteral("PROVI"));
    setWindowTitle(QStringLiteral("Probabilità di vincita"));
    setFixedSize(353, 286);
    useFixedDialogFrame(this);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    setFont(font);

    Label4 = makeLabel(this, "Label4",
                       QStringLiteral("Probabilità di vincita delle colonne se nel sistema "
                                      "iniziale sono presenti SEI punti:"),
                       QRect(10, 8, 333, 36));
    Label4->setWordWrap(true);

    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(8, 50, 337, 150);

    const char* names[4][2] = {
        {"Label12", "Label13"}, {"Label1", "Label5"}, {"Label2", "Label6"}, {"Label3", "Label7"}};
    QLabel** values[4] = {&Label13, &Label5, &Label6, &Label7};
    for (int i = 0; i < 4; ++i) {
        const int y = 58 + 28 * i;
        makeLabel(this, names[i][0],
                  QStringLiteral("Probabilità di realizzare %1 punti:").arg(i + 3),
                  QRect(16, y, 236, 22));
        *values[i] = makeLabel(this, names[i][1], QStringLiteral("0 %"), QRect(252, y, 86, 22));
        (*values[i])->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    auto* label9 = makeLabel(this, "Label9", QStringLiteral("Probabilità totale di vincita:"),
                             QRect(16, 170, 236, 22));
    Label8 = makeLabel(this, "Label8", QStringLiteral("0 %"), QRect(252, 170, 86, 22));
    Label8->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel* navy : {label9, Label8})
        navy->setStyleSheet(QStringLiteral("color: navy;"));

    STS = new QProgressBar(this);
    STS->setObjectName(QStringLiteral("STS"));
    STS->setRange(0, 100);
    STS->setValue(0);
    STS->setTextVisible(false);
    STS->setGeometry(8, 210, 337, 18);
    STS->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: blue; }"));
    STS->setAccessibleName(QStringLiteral("Avanzamento del calcolo"));

    QFont small = font;
    small.setPixelSize(11);
    Label10 =
        makeLabel(this, "Label10", QStringLiteral("Probabilità prevista:"), QRect(8, 250, 130, 20));
    Label11 = makeLabel(this, "Label11", QStringLiteral("0"), QRect(140, 250, 90, 20));
    Label10->setFont(small);
    Label11->setFont(small);

    SPB2 = new QPushButton(QStringLiteral("Interrompi"), this);
    SPB2->setObjectName(QStringLiteral("SPB2"));
    SPB2->setFlat(true);
    SPB2->setGeometry(245, 242, 100, 32);
    setHint(SPB2, QStringLiteral("Chiude la scheda."));
    connect(SPB2, &QPushButton::clicked, this, &WinningProbabilityDialog::SPB2Click);

    SPB1 = new QPushButton(QStringLiteral("Chiudi"), this);
    SPB1->setObjectName(QStringLiteral("SPB1"));
    SPB1->setFlat(true);
    SPB1->setGeometry(245, 242, 100, 32);
    SPB1->hide();
    setHint(SPB1, QStringLiteral("Chiude la scheda."));
    connect(SPB1, &QPushButton::clicked, this, &WinningProbabilityDialog::C);

    ticker_ = new QTimer(this);
    ticker_->setInterval(100);
    connect(ticker_, &QTimer::timeout, this, &WinningProbabilityDialog::refreshProgress);
}

WinningProbabilityDialog::~WinningProbabilityDialog() {
    stopWorker();
}

void WinningProbabilityDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        // let the window appear before the work starts
        QTimer::singleShot(0, this, &WinningProbabilityDialog::FormActivate);
    }
}

void WinningProbabilityDialog::FormActivate() {
    for (QLabel* value : {Label13, Label5, Label6, Label7})
        value->setText(QStringLiteral("0 %"));
    if (marked_.size() < 6) {
        finalDisplay(BestMatchCounts{});
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
            this, [this] { workerDone(); }, Qt::QueuedConnection);
    });
}

void WinningProbabilityDialog::refreshProgress() {
    BestMatchCounts now;
    {
        std::lock_guard lock(snapshotMutex_);
        now = snapshot_;
    }
    STS->setValue(probabilityGauge(now.examined, initialColumns_));
    showValues(now, true);
}

void WinningProbabilityDialog::showValues(const BestMatchCounts& counts, bool withProjection) {
    const ProbabilityTexts texts = probabilityTexts(counts, initialColumns_);
    Label13->setText(qs(texts.levels[0]));
    Label5->setText(qs(texts.levels[1]));
    Label6->setText(qs(texts.levels[2]));
    Label7->setText(qs(texts.levels[3]));
    Label8->setText(qs(texts.total));
    if (withProjection)
        Label11->setText(qs(texts.projected));
}

void WinningProbabilityDialog::SPB2Click() {
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

void WinningProbabilityDialog::workerDone() {
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
        Label11->setText(qs(probabilityTexts(counts, initialColumns_).projected));
    } else {
        Label10->hide();
        Label11->hide();
    }
    finalDisplay(counts);
}

void WinningProbabilityDialog::finalDisplay(const BestMatchCounts& counts) {
    showValues(counts, false);
    SPB2->hide();
    SPB1->show();
    STS->setValue(100);
    finished_ = true;
    update();
}

void WinningProbabilityDialog::C() {
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
    tileBackground(painter, size(), Image1);
}

} // namespace quintor
