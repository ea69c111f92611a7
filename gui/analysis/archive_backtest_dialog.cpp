#include "gui/analysis/archive_backtest_dialog.h"

#include "core/byte_file.h"
#include "core/guarantee.h"
#include "core/money.h"
#include "core/program_folder.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"
#include "gui/common/simulated_draws_notice.h"
#include "gui/common/worker_run.h"

#include <QFile>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quintor {

namespace {

// Chart height of a best result: 5 + jolly sits between 5 and 6.
double chartLevel(int best) {
    if (best == fivePlusJolly)
        return 5.5;
    if (best == sixPoints)
        return 6;
    return best;
}

QString money(long double amount) {
    return QString::fromStdString(moneyText(amount)) + QStringLiteral(" £");
}

} // namespace

BestResultChart::BestResultChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("bestResultChart"));
    setAccessibleName(QStringLiteral("Grafico del miglior risultato per estrazione"));
    setMinimumSize(560, 150);
}

void BestResultChart::setResults(std::vector<int> best, QString firstDate, QString lastDate) {
    best_ = std::move(best);
    firstDate_ = std::move(firstDate);
    lastDate_ = std::move(lastDate);
    int four = 0;
    for (int b : best_)
        four += b >= 4;
    setAccessibleDescription(QStringLiteral("%1 estrazioni dal %2 al %3; %4 con 4 punti o più")
                                 .arg(best_.size())
                                 .arg(firstDate_, lastDate_)
                                 .arg(four));
    update();
}

void BestResultChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const int left = 28, bottom = height() - 18, top = 6, right = width() - 6;
    painter.setPen(Qt::gray);
    for (int level = 0; level <= 6; ++level) {
        const int y = bottom - (bottom - top) * level / 6;
        painter.drawLine(left, y, right, y);
        painter.drawText(QRect(0, y - 8, left - 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(level));
    }
    if (best_.empty())
        return;
    painter.drawText(QRect(left, bottom + 2, 200, 16), Qt::AlignLeft, firstDate_);
    painter.drawText(QRect(right - 200, bottom + 2, 200, 16), Qt::AlignRight, lastDate_);
    const double step = static_cast<double>(right - left) / static_cast<double>(best_.size());
    for (std::size_t i = 0; i < best_.size(); ++i) {
        const double level = chartLevel(best_[i]);
        const int x = left + static_cast<int>(step * static_cast<double>(i));
        const int y = bottom - static_cast<int>((bottom - top) * level / 6);
        painter.setPen(best_[i] >= 4   ? QColor(200, 30, 30)
                       : best_[i] == 3 ? QColor(30, 120, 30)
                                       : QColor(120, 140, 200));
        painter.drawLine(x, bottom, x, y);
    }
}

ArchiveBacktestDialog::ArchiveBacktestDialog(const SystemState& state, const Archive& archive,
                                             long double columnPrice, QWidget* parent)
    : AnalysisWindow(parent), state_(state), archive_(archive), price_(columnPrice),
      prizes_(PrizeTable::load(programFolder())) {
    setObjectName(QStringLiteral("ArchiveBacktestDialog"));
    setWindowTitle(QStringLiteral("Verifica sull'archivio"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* range = new QFormLayout;
    fromDateEdit_ = new QLineEdit(this);
    fromDateEdit_->setObjectName(QStringLiteral("fromDateEdit"));
    fromDateEdit_->setAccessibleName(QStringLiteral("Dalla data"));
    toDateEdit_ = new QLineEdit(this);
    toDateEdit_->setObjectName(QStringLiteral("toDateEdit"));
    toDateEdit_->setAccessibleName(QStringLiteral("Alla data"));
    if (!archive.empty()) {
        fromDateEdit_->setText(QString::fromStdString(archive.records().front().date));
        toDateEdit_->setText(QString::fromStdString(archive.records().back().date));
    }
    setHint(fromDateEdit_,
            QStringLiteral("Dalla data|Prima estrazione da verificare (gg/mm/aaaa); vuota "
                           "per la prima dell'archivio."));
    setHint(toDateEdit_,
            QStringLiteral("Alla data|Ultima estrazione da verificare (gg/mm/aaaa); vuota "
                           "per l'ultima dell'archivio."));
    range->addRow(QStringLiteral("&Dalla data:"), fromDateEdit_);
    range->addRow(QStringLiteral("A&lla data:"), toDateEdit_);
    range->addRow(QStringLiteral("Costo di una colonna:"), new QLabel(money(columnPrice), this));
    top->addLayout(range);

    auto* prizeBox = new QFormLayout;
    const char* prizeNames[winningLevelCount] = {"prize3Edit", "prize4Edit", "prize5Edit",
                                                 "prize5JollyEdit", "prize6Edit"};
    const char* prizeLabels[winningLevelCount] = {
        "Premio &3 punti (£):", "Premio &4 punti (£):", "Premio &5 punti (£):",
        "Premio 5 + &jolly (£):", "Premio &6 punti (£):"};
    for (std::size_t k = 0; k < winningLevelCount; ++k) {
        prizeEdits_[k] =
            new QLineEdit(QString::number(static_cast<long long>(prizes_.lire[k])), this);
        prizeEdits_[k]->setObjectName(QString::fromLatin1(prizeNames[k]));
        prizeEdits_[k]->setAccessibleName(
            QString::fromUtf8(prizeLabels[k]).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
        prizeBox->addRow(QString::fromUtf8(prizeLabels[k]), prizeEdits_[k]);
    }
    top->addLayout(prizeBox);
    layout->addLayout(top);

    summaryLabel_ = new QLabel(this);
    summaryLabel_->setObjectName(QStringLiteral("summaryLabel"));
    summaryLabel_->setWordWrap(true);
    summaryLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summaryLabel_->setMinimumHeight(6 * fontMetrics().lineSpacing());
    summaryLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(summaryLabel_);

    chart_ = new BestResultChart(this);
    layout->addWidget(chart_);
    // The colours of the bars, in words as well, for whoever cannot tell them apart.
    auto* legend = new QLabel(
        QStringLiteral("<span style=\"color:#c81e1e\">&#9632;</span> 4 punti o più &nbsp; "
                       "<span style=\"color:#1e781e\">&#9632;</span> 3 punti &nbsp; "
                       "<span style=\"color:#788cc8\">&#9632;</span> meno di 3 punti &nbsp; "
                       "(una barra per estrazione, alta quanto il miglior risultato)"),
        this);
    legend->setObjectName(QStringLiteral("chartLegend"));
    legend->setWordWrap(true);
    layout->addWidget(legend);

    drawsTable_ = new QTableWidget(0, 7, this);
    drawsTable_->setObjectName(QStringLiteral("drawsTable"));
    drawsTable_->setAccessibleName(QStringLiteral("Estrazioni con 4 punti o più"));
    drawsTable_->setHorizontalHeaderLabels(
        {QStringLiteral("Data"), QStringLiteral("Migliore"), QStringLiteral("3"),
         QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("5+"), QStringLiteral("6")});
    drawsTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    drawsTable_->verticalHeader()->hide();
    drawsTable_->verticalHeader()->setDefaultSectionSize(fontMetrics().lineSpacing() + 6);
    drawsTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    drawsTable_->setMinimumHeight(140);
    layout->addWidget(drawsTable_);

    addGauge(layout, QStringLiteral("Avanzamento della verifica"));

    auto* buttons = new QHBoxLayout;
    runButton_ = new QPushButton(QStringLiteral("&Verifica"), this);
    runButton_->setObjectName(QStringLiteral("runButton"));
    runButton_->setDefault(true);
    setHint(runButton_, QStringLiteral("Verifica|Gioca le colonne finali su ogni estrazione del "
                                       "periodo."));
    connect(runButton_, &QPushButton::clicked, this, &ArchiveBacktestDialog::onRunClicked);
    exportButton_ = new QPushButton(QStringLiteral("&Esporta CSV"), this);
    exportButton_->setObjectName(QStringLiteral("exportButton"));
    exportButton_->setEnabled(false);
    setHint(exportButton_,
            QStringLiteral("Esporta CSV|Scrive il risultato di ogni estrazione in un file "
                           "CSV."));
    connect(exportButton_, &QPushButton::clicked, this, &ArchiveBacktestDialog::onExportClicked);
    buttons->addWidget(runButton_);
    buttons->addWidget(exportButton_);
    addStopAndClose(buttons, QStringLiteral("Interrompi|Interrompe la verifica."));
    addHelpButton(buttons, HelpTopic::ArchiveBacktest);
    layout->addLayout(buttons);
    addSimulatedDrawsNotice(this, archive);
    resize(640, 620);
}

ArchiveBacktestDialog::~ArchiveBacktestDialog() {
    run_->cancel();
}

void ArchiveBacktestDialog::onRunClicked() {
    if (run_->running())
        return;
    const auto draws = drawsInRange(archive_, fromDateEdit_->text().toStdString(),
                                    toDateEdit_->text().toStdString());
    if (!draws) {
        showError(this, QStringLiteral("Errore"), QString::fromStdString(draws.error()));
        return;
    }
    // Amounts may be typed as the window shows them, with "." between thousands (30.000).
    static const QRegularExpression grouped(QStringLiteral("^\\s*\\d{1,3}(\\.\\d{3})+\\s*$"));
    PrizeTable prizes;
    for (std::size_t k = 0; k < winningLevelCount; ++k) {
        QString amount = prizeEdits_[k]->text();
        if (grouped.match(amount).hasMatch())
            amount.remove(QLatin1Char('.'));
        const auto lire = PrizeTable::parseAmount(amount.toStdString());
        if (!lire) {
            // Each prize has a field of its own: name the one to correct.
            showError(this, QStringLiteral("Errore"),
                      QStringLiteral("Il campo \"%1\" deve contenere un importo intero non "
                                     "negativo in lire, ad esempio 30.000.\rCorreggere e "
                                     "riprovare.")
                          .arg(prizeEdits_[k]->accessibleName()));
            prizeEdits_[k]->setFocus();
            prizeEdits_[k]->selectAll();
            return;
        }
        prizes.lire[k] = *lire;
    }
    if (!(prizes == prizes_)) {
        prizes_ = prizes;
        prizes_.save(programFolder());
    }
    draws_ = *draws;
    hasResult_ = false;
    runButton_->setEnabled(false);
    exportButton_->setEnabled(false);
    const std::vector<Column> finals = state_.finalColumns;
    run_->start(
        [this, finals](RunControl& control, const WorkerRun::Progress& progress) {
            result_ = backtest(finals, draws_, &control, progress);
        },
        [this](WorkerRun::Outcome outcome) {
            runButton_->setEnabled(true);
            if (outcome != WorkerRun::Outcome::Completed || result_.stopped) {
                summaryLabel_->setText(QStringLiteral("Verifica interrotta."));
                return;
            }
            hasResult_ = true;
            exportButton_->setEnabled(true);
            showResult();
        });
}

void ArchiveBacktestDialog::showResult() {
    const auto& r = result_;
    QString best;
    for (int level = 0; level < drawLevelCount; ++level)
        best += QStringLiteral("%1%2: %3")
                    .arg(level ? QStringLiteral(", ") : QString())
                    .arg(QString::fromStdString(drawLevelText(level)))
                    .arg(r.byBest[static_cast<std::size_t>(level)]);
    const long double cost = static_cast<long double>(state_.finalColumns.size()) * price_ *
                             static_cast<long double>(r.draws.size());
    const long double won = prizes_.won(r.winners);
    summaryLabel_->setText(
        QStringLiteral("Estrazioni: %1 (dal %2 al %3).\nMiglior risultato per estrazione: %4.\n"
                       "Colonne vincenti: 3 punti %5, 4 punti %6, 5 punti %7, 5 + jolly %8, "
                       "6 punti %9.\n")
            .arg(r.draws.size())
            .arg(QString::fromStdString(draws_.front().date),
                 QString::fromStdString(draws_.back().date), best)
            .arg(r.winners[0])
            .arg(r.winners[1])
            .arg(r.winners[2])
            .arg(r.winners[3])
            .arg(r.winners[4]) +
        QStringLiteral("Estrazioni consecutive senza un 3, al massimo: %1.\nCosto: %2, vinto: %3, "
                       "netto (vinto meno costo): %4.")
            .arg(r.longestWithoutThree)
            .arg(money(cost), money(won), money(won - cost)));

    std::vector<int> bestPerDraw;
    bestPerDraw.reserve(r.draws.size());
    drawsTable_->setRowCount(0);
    for (const BacktestDraw& draw : r.draws) {
        bestPerDraw.push_back(draw.best);
        if (draw.best < 4)
            continue;
        const int row = drawsTable_->rowCount();
        drawsTable_->insertRow(row);
        drawsTable_->setItem(
            row, 0, new QTableWidgetItem(QString::fromStdString(draws_[draw.record].date)));
        drawsTable_->setItem(
            row, 1, new QTableWidgetItem(QString::fromStdString(drawLevelText(draw.best))));
        for (std::size_t k = 0; k < winningLevelCount; ++k)
            drawsTable_->setItem(row, static_cast<int>(k) + 2,
                                 new QTableWidgetItem(QString::number(draw.winners[k])));
    }
    chart_->setResults(std::move(bestPerDraw), QString::fromStdString(draws_.front().date),
                       QString::fromStdString(draws_.back().date));
}

void ArchiveBacktestDialog::onExportClicked() {
    if (!hasResult_)
        return;
    const QString file = askCsvFile(QStringLiteral("verifica.csv"));
    if (file.isEmpty())
        return;
    if (!exportBacktestCsv(QFile::encodeName(file).toStdString(), result_, draws_))
        showError(this, QStringLiteral("Errore"), QString::fromUtf8(csvWriteErrorMessage));
}

} // namespace quintor
