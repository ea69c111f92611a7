#include "gui/analysis/walk_forward_dialog.h"

#include "core/byte_file.h"
#include "core/combinatorics.h"
#include "core/guarantee.h"
#include "core/money.h"
#include "core/program_folder.h"
#include "core/scoring.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"
#include "gui/common/prompter.h"
#include "gui/common/simulated_draws_notice.h"
#include "gui/common/worker_run.h"

#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <memory>

namespace quintor {

namespace {

QString lire(long double amount) {
    return QString::fromStdString(moneyText(amount)) + QStringLiteral(" £");
}

QString duration(double seconds) {
    // A short time rounded up to whole seconds would say "1 s" for a tenth of one.
    if (seconds < 9.95)
        return QStringLiteral("%1 s").arg(QString::number(std::max(seconds, 0.1), 'f', 1)
                                              .replace(QLatin1Char('.'), QLatin1Char(',')));
    const auto whole = static_cast<long long>(std::ceil(seconds));
    if (whole < 60)
        return QStringLiteral("%1 s").arg(whole);
    return QStringLiteral("%1 min %2 s").arg(whole / 60).arg(whole % 60);
}

// Past this many initial columns each selection takes seconds, not a fraction of one.
constexpr double slowSelection = 10'000'000;

const QColor methodColor(200, 30, 30);
const QColor meanColor(40, 70, 170);
const QColor bandColor(150, 180, 235, 150);

} // namespace

ChanceBandChart::ChanceBandChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("chanceBandChart"));
    setAccessibleName(QStringLiteral("Grafico delle vincite del metodo e dei sistemi casuali"));
    setMinimumSize(600, 220);
}

void ChanceBandChart::setResult(const WalkForwardResult* result, long double columnPrice,
                                QString firstDate, QString lastDate) {
    result_ = result;
    price_ = columnPrice;
    firstDate_ = std::move(firstDate);
    lastDate_ = std::move(lastDate);
    if (result_ && !result_->draws.empty()) {
        const WalkForwardDraw& last = result_->draws.back();
        setAccessibleDescription(
            QStringLiteral("Vinto dal metodo in %1 estrazioni: %2; sistemi casuali: media %3, "
                           "dal 5° al 95° percentile da %4 a %5")
                .arg(result_->draws.size())
                .arg(lire(last.methodWonSoFar), lire(last.randomWonMeanSoFar),
                     lire(last.randomWonLow), lire(last.randomWonHigh)));
    } else {
        setAccessibleDescription(QString());
    }
    update();
}

void ChanceBandChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    const int left = 90, right = width() - 10, top = 10, bottom = height() - 20;
    painter.setPen(Qt::gray);
    painter.drawRect(left, top, right - left, bottom - top);
    if (!result_ || result_->draws.empty()) {
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Nessuna prova ancora."));
        return;
    }
    const auto& draws = result_->draws;
    long double most = 0;
    for (const WalkForwardDraw& d : draws)
        most = std::max({most, d.methodWonSoFar, d.randomWonHigh});
    // The top of the scale: four steps of 1, 2 or 5 times a power of ten, so that every
    // grid line is a round amount.
    long double highest = 4;
    for (long double power = 1; highest < most * 1.02L; power *= 10)
        for (const long double step : {1.0L, 2.0L, 5.0L})
            if (highest < most * 1.02L)
                highest = 4 * step * power;
    const double step =
        draws.size() > 1 ? static_cast<double>(right - left) / static_cast<double>(draws.size() - 1)
                         : 0;
    auto x = [&](std::size_t i) { return left + step * static_cast<double>(i); };
    auto y = [&](long double v) {
        return bottom - static_cast<double>(v / highest) * static_cast<double>(bottom - top);
    };
    for (int tick = 0; tick <= 4; ++tick) {
        const long double value = highest * tick / 4;
        const int at = static_cast<int>(y(value));
        painter.setPen(QColor(225, 225, 225));
        painter.drawLine(left + 1, at, right - 1, at);
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, at - 8, left - 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                         lire(value));
    }
    painter.drawText(QRect(left, bottom + 2, 200, 16), Qt::AlignLeft, firstDate_);
    painter.drawText(QRect(right - 200, bottom + 2, 200, 16), Qt::AlignRight, lastDate_);

    QPolygonF band;
    for (std::size_t i = 0; i < draws.size(); ++i)
        band << QPointF(x(i), y(draws[i].randomWonHigh));
    for (std::size_t i = draws.size(); i-- > 0;)
        band << QPointF(x(i), y(draws[i].randomWonLow));
    painter.setPen(Qt::NoPen);
    painter.setBrush(bandColor);
    painter.drawPolygon(band);
    painter.setBrush(Qt::NoBrush);

    auto line = [&](auto value, const QPen& pen) {
        QPolygonF points;
        for (std::size_t i = 0; i < draws.size(); ++i)
            points << QPointF(x(i), y(value(draws[i])));
        painter.setPen(pen);
        painter.drawPolyline(points);
    };
    line([](const WalkForwardDraw& d) { return d.randomWonMeanSoFar; },
         QPen(meanColor, 1.5, Qt::DashLine));
    line([](const WalkForwardDraw& d) { return d.methodWonSoFar; }, QPen(methodColor, 2.5));

    // The legend, in the top left corner where the lines start low.
    const QString entries[] = {QStringLiteral("Vinto dal metodo"),
                               QStringLiteral("Media dei sistemi casuali"),
                               QStringLiteral("Sistemi casuali dal 5° al 95° percentile")};
    const int lineHeight = fontMetrics().height();
    int legendWidth = 0;
    for (const QString& entry : entries)
        legendWidth = std::max(legendWidth, fontMetrics().horizontalAdvance(entry));
    const QRect box(left + 8, top + 8, legendWidth + 44, 3 * lineHeight + 10);
    painter.setPen(Qt::gray);
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(box);
    for (int i = 0; i < 3; ++i) {
        const int mid = box.top() + 5 + i * lineHeight + lineHeight / 2;
        const QRect swatch(box.left() + 6, mid - 5, 24, 10);
        if (i == 2) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(bandColor);
            painter.drawRect(swatch);
        } else {
            painter.setPen(i == 0 ? QPen(methodColor, 2.5) : QPen(meanColor, 1.5, Qt::DashLine));
            painter.drawLine(swatch.left(), mid, swatch.right(), mid);
        }
        painter.setPen(Qt::black);
        painter.drawText(
            QRect(swatch.right() + 8, mid - lineHeight / 2, legendWidth + 4, lineHeight),
            Qt::AlignLeft | Qt::AlignVCenter, entries[i]);
    }
}

WalkForwardDialog::WalkForwardDialog(const SystemState& state, const Archive& archive,
                                     long double columnPrice, QWidget* parent)
    : AnalysisWindow(parent), state_(state), archive_(archive), price_(columnPrice) {
    setObjectName(QStringLiteral("WalkForwardDialog"));
    setWindowTitle(QStringLiteral("Metodo contro il caso"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Prima di ognuna delle ultime estrazioni dell'archivio ripete la selezione "
                       "con segni, fisse, probabilità e filtri del sistema, usando solo le "
                       "estrazioni precedenti; gioca le colonne scelte su quell'estrazione e le "
                       "confronta con sistemi casuali di altrettante colonne degli stessi segni."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* form = new QFormLayout;
    auto spinBox = [this](const char* name, const QString& accessible, int low, int high, int value,
                          const QString& hint) {
        auto* box = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setAccessibleName(accessible);
        box->setRange(low, std::max(low, high));
        box->setValue(std::clamp(value, low, std::max(low, high)));
        setHint(box, hint);
        return box;
    };
    const int testable = static_cast<int>(std::min<std::size_t>(
        archive.size() > minimumDraws ? archive.size() - minimumDraws : 1, maxArchiveDraws));
    drawsBox_ = spinBox("drawsBox", QStringLiteral("Estrazioni da provare"), 1, testable,
                        static_cast<int>(defaultWalkForwardDraws),
                        QStringLiteral("Estrazioni da provare|Quante delle ultime estrazioni "
                                       "dell'archivio provare; prima di ognuna servono 202 "
                                       "estrazioni."));
    randomSetsBox_ = spinBox("randomSetsBox", QStringLiteral("Sistemi casuali per estrazione"), 1,
                             maxRandomSets, defaultRandomSets,
                             QStringLiteral("Sistemi casuali|Quanti sistemi casuali giocare su "
                                            "ogni estrazione: più sono, più il confronto è "
                                            "preciso."));
    seedBox_ = spinBox("seedBox", QStringLiteral("Seme dei sistemi casuali"), 0, 2147483647, 1,
                       QStringLiteral("Seme|Lo stesso seme dà gli stessi sistemi casuali, e "
                                      "quindi gli stessi risultati."));
    const double initial = initialColumnCount(state.markedCount());
    const int maxCount = static_cast<int>(std::min(initial, 2147483647.0));
    countBox_ =
        spinBox("countBox", QStringLiteral("Colonne da scegliere"), 1, maxCount,
                state.finalColumns.empty() ? 100 : static_cast<int>(state.finalColumns.size()),
                QStringLiteral("Colonne|Quante colonne la selezione sceglie prima di ogni "
                               "estrazione."));
    precisionSlider_ = new QSlider(Qt::Horizontal, this);
    precisionSlider_->setObjectName(QStringLiteral("precisionSlider"));
    precisionSlider_->setAccessibleName(QStringLiteral("Rapporto precisione/velocità"));
    precisionSlider_->setRange(0, precisionSteps);
    precisionSlider_->setPageStep(1);
    setHint(precisionSlider_, QStringLiteral("Rapporto precisione/velocità|A sinistra la "
                                             "selezione più precisa, a destra la più veloce."));
    form->addRow(QStringLiteral("&Estrazioni da provare:"), drawsBox_);
    form->addRow(QStringLiteral("Sistemi &casuali per estrazione:"), randomSetsBox_);
    form->addRow(QStringLiteral("&Seme:"), seedBox_);
    form->addRow(QStringLiteral("C&olonne da scegliere:"), countBox_);
    form->addRow(QStringLiteral("&Precisione/velocità:"), precisionSlider_);
    layout->addLayout(form);

    estimateLabel_ = new QLabel(this);
    estimateLabel_->setObjectName(QStringLiteral("estimateLabel"));
    estimateLabel_->setWordWrap(true);
    layout->addWidget(estimateLabel_);
    for (QSpinBox* box : {drawsBox_, randomSetsBox_, countBox_})
        connect(box, &QSpinBox::valueChanged, this,
                [this] { estimateLabel_->setText(beforeRunText()); });
    estimateLabel_->setText(beforeRunText());

    chart_ = new ChanceBandChart(this);
    layout->addWidget(chart_, 1);
    summaryLabel_ = new QLabel(this);
    summaryLabel_->setObjectName(QStringLiteral("summaryLabel"));
    summaryLabel_->setWordWrap(true);
    summaryLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(summaryLabel_);
    verdictLabel_ = new QLabel(this);
    verdictLabel_->setObjectName(QStringLiteral("verdictLabel"));
    verdictLabel_->setWordWrap(true);
    verdictLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = verdictLabel_->font();
    bold.setBold(true);
    verdictLabel_->setFont(bold);
    layout->addWidget(verdictLabel_);
    addGauge(layout, QStringLiteral("Avanzamento della prova"));

    auto* buttons = new QHBoxLayout;
    runButton_ = new QPushButton(QStringLiteral("&Avvia"), this);
    runButton_->setObjectName(QStringLiteral("runButton"));
    runButton_->setDefault(true);
    setHint(runButton_, QStringLiteral("Avvia|Ripete la selezione prima di ogni estrazione e la "
                                       "confronta con i sistemi casuali."));
    connect(runButton_, &QPushButton::clicked, this, &WalkForwardDialog::onRunClicked);
    exportButton_ = new QPushButton(QStringLiteral("Esporta CS&V"), this);
    exportButton_->setObjectName(QStringLiteral("exportButton"));
    exportButton_->setEnabled(false);
    setHint(exportButton_, QStringLiteral("Esporta CSV|Scrive in un file CSV una riga per ogni "
                                          "estrazione provata."));
    connect(exportButton_, &QPushButton::clicked, this, &WalkForwardDialog::onExportClicked);
    helpButton_ = new QPushButton(QStringLiteral("?"), this);
    helpButton_->setObjectName(QStringLiteral("helpButton"));
    helpButton_->setAccessibleName(QStringLiteral("Spiegazioni"));
    helpButton_->setShortcut(QKeySequence::HelpContents);
    helpButton_->setEnabled(helpAvailable());
    setHint(helpButton_, QStringLiteral("Spiegazioni (F1)|Apre la pagina della guida su questa "
                                        "prova."));
    connect(helpButton_, &QPushButton::clicked, this, &WalkForwardDialog::onHelpClicked);
    buttons->addWidget(runButton_);
    buttons->addWidget(exportButton_);
    buttons->addWidget(helpButton_);
    addStopAndClose(buttons,
                    QStringLiteral("Interrompi|Interrompe la prova; le estrazioni già provate "
                                   "restano."));
    layout->addLayout(buttons);
    // Chance against chance on invented draws proves nothing: the strip says so.
    addSimulatedDrawsNotice(this, archive);
    connect(run_, &WorkerRun::ticked, this, &WalkForwardDialog::showTimeLeft);
    resize(720, 720);
}

WalkForwardDialog::~WalkForwardDialog() {
    run_->cancel();
}

QString WalkForwardDialog::beforeRunText() const {
    const double initial = initialColumnCount(state_.markedCount());
    QString text =
        QStringLiteral("Ogni estrazione ripete la selezione sulle %1 colonne iniziali dei %2 "
                       "segni e gioca %3 sistemi casuali di %4 colonne.")
            .arg(QString::fromStdString(initialColumnCountText(state_.markedCount())))
            .arg(state_.markedCount())
            .arg(randomSetsBox_->value())
            .arg(countBox_->value());
    if (initial > slowSelection)
        text += QStringLiteral(" Con tanti segni ogni selezione richiede alcuni secondi: per %1 "
                               "estrazioni la prova può durare molti minuti: prima di avviarla "
                               "ne misura una e mostra il tempo stimato. Il tempo rimanente "
                               "appare qui durante la prova.")
                    .arg(drawsBox_->value());
    return text;
}

void WalkForwardDialog::showTimeLeft(double share) {
    if (!run_->running() || measuring_ || share < 0.02)
        return;
    const double elapsed = static_cast<double>(clock_.elapsed()) / 1000.0;
    estimateLabel_->setText(QStringLiteral("Provate %1 %2 di %3. Tempo rimanente stimato: %4.")
                                .arg(static_cast<int>(share * drawsBox_->value()))
                                .arg(QStringLiteral("estrazioni"))
                                .arg(drawsBox_->value())
                                .arg(duration(elapsed / share * (1 - share))));
}

void WalkForwardDialog::onRunClicked() {
    if (run_->running())
        return;
    settings_ = WalkForwardSettings{};
    settings_.count = countBox_->value();
    settings_.precision = precisionSlider_->value();
    settings_.draws = static_cast<std::size_t>(drawsBox_->value());
    settings_.randomSets = randomSetsBox_->value();
    settings_.seed = static_cast<std::uint32_t>(seedBox_->value());
    settings_.prizes = PrizeTable::load(programFolder());
    settings_.columnPrice = price_;
    if (initialColumnCount(state_.markedCount()) > slowSelection && settings_.draws > 1) {
        measureThenAsk();
        return;
    }
    startRun();
}

void WalkForwardDialog::measureThenAsk() {
    WalkForwardSettings one = settings_;
    one.draws = 1;
    runButton_->setEnabled(false);
    estimateLabel_->setText(QStringLiteral("Misura del tempo di una estrazione in corso..."));
    measuring_ = true;
    clock_.start();
    auto seconds = std::make_shared<double>(0);
    const SystemState system = state_;
    run_->start(
        [this, system, one, seconds](RunControl& control, const WorkerRun::Progress& progress) {
            QElapsedTimer clock;
            clock.start();
            const auto measured = walkForward(system, archive_, one, &control, progress);
            *seconds = static_cast<double>(clock.elapsed()) / 1000.0;
            if (!measured)
                *seconds = -1;
        },
        [this, seconds](WorkerRun::Outcome outcome) {
            measuring_ = false;
            runButton_->setEnabled(true);
            // The gauge is the whole run's: one draw measured is not the run done.
            progressBar_->setValue(0);
            if (outcome != WorkerRun::Outcome::Completed || *seconds < 0) {
                // A refusal shows itself in the run proper, with its message.
                estimateLabel_->setText(beforeRunText());
                if (outcome == WorkerRun::Outcome::Completed)
                    startRun();
                return;
            }
            const QString total = duration(*seconds * static_cast<double>(settings_.draws));
            estimateLabel_->setText(
                QStringLiteral("Una estrazione ha richiesto %1: per %2 estrazioni la prova "
                               "richiederà circa %3.")
                    .arg(duration(*seconds))
                    .arg(settings_.draws)
                    .arg(total));
            Question question;
            question.title = QStringLiteral("Metodo contro il caso");
            question.text = QStringLiteral("La prova di %1 estrazioni richiederà circa %2.\n"
                                           "Avviarla?")
                                .arg(settings_.draws)
                                .arg(total);
            question.buttons = QMessageBox::Yes | QMessageBox::No;
            question.icon = QMessageBox::Question;
            question.defaultButton = QMessageBox::Yes;
            if (Prompter::current().ask(this, question) == QMessageBox::Yes)
                QTimer::singleShot(0, this, [this] { startRun(); });
        });
}

void WalkForwardDialog::startRun() {
    if (run_->running())
        return;
    result_.reset();
    outcome_.reset();
    chart_->setResult(nullptr, price_, {}, {});
    summaryLabel_->clear();
    verdictLabel_->clear();
    runButton_->setEnabled(false);
    exportButton_->setEnabled(false);
    clock_.start();
    const SystemState system = state_;
    run_->start(
        [this, system](RunControl& control, const WorkerRun::Progress& progress) {
            outcome_ = walkForward(system, archive_, settings_, &control, progress);
        },
        [this](WorkerRun::Outcome outcome) {
            runButton_->setEnabled(true);
            estimateLabel_->setText(beforeRunText());
            if (outcome == WorkerRun::Outcome::Failed || !outcome_)
                return;
            if (!*outcome_) {
                showError(this, QStringLiteral("Errore"),
                          QString::fromStdString(outcome_->error()));
                return;
            }
            result_ = std::move(outcome_->value());
            exportButton_->setEnabled(!result_->draws.empty());
            showResult();
        });
}

void WalkForwardDialog::showResult() {
    const WalkForwardResult& r = *result_;
    if (r.draws.empty()) {
        summaryLabel_->setText(QStringLiteral("Prova interrotta prima della fine della prima "
                                              "estrazione."));
        return;
    }
    const QString first = QString::fromStdString(archive_[r.draws.front().record].date);
    const QString last = QString::fromStdString(archive_[r.draws.back().record].date);
    QString text = r.stopped ? QStringLiteral("Prova interrotta: i risultati valgono per le %1 "
                                              "estrazioni provate (dal %2 al %3).\n")
                                   .arg(r.draws.size())
                                   .arg(first, last)
                             : QStringLiteral("Estrazioni provate: %1 (dal %2 al %3).\n")
                                   .arg(r.draws.size())
                                   .arg(first, last);
    text += QStringLiteral("Sistemi casuali per estrazione: %1, seme %2.\n")
                .arg(r.randomSets)
                .arg(settings_.seed);
    for (const std::string& line : walkForwardSummaryLines(r))
        text += QString::fromStdString(line) + QLatin1Char('\n');
    text += QStringLiteral("Netto del metodo: %1.").arg(lire(r.won.method - r.spent));
    summaryLabel_->setText(text);
    verdictLabel_->setText(QString::fromStdString(walkForwardVerdict(r)));
    chart_->setResult(&*result_, price_, first, last);
}

void WalkForwardDialog::onExportClicked() {
    if (!result_ || result_->draws.empty())
        return;
    const QString file = askCsvFile(QStringLiteral("metodo-contro-caso.csv"));
    if (file.isEmpty())
        return;
    if (!exportWalkForwardCsv(QFile::encodeName(file).toStdString(), *result_, archive_))
        showError(this, QStringLiteral("Errore"), QString::fromUtf8(csvWriteErrorMessage));
}

void WalkForwardDialog::onHelpClicked() {
    showHelpTopic(HelpTopic::WalkForward);
}

} // namespace quintor
