// The guarantee, holes, repair and back-test windows, driven through their controls with the
// engines' own results as the yardstick, and their menu commands in the system window.
#include "app/main_frame.h"
#include "core/combinatorics.h"
#include "core/guarantee.h"
#include "core/money.h"
#include "core/probability.h"
#include "core/program_folder.h"
#include "core/repair.h"
#include "core/scoring.h"
#include "core/selection.h"
#include "gui/analysis/archive_backtest_dialog.h"
#include "gui/analysis/guarantee_holes_dialog.h"
#include "gui/analysis/guarantee_repair_dialog.h"
#include "gui/analysis/guarantee_table_dialog.h"
#include "gui/common/feedback.h"
#include "gui/common/worker_run.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/gui_helpers.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMultiMap>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <algorithm>
#include <chrono>
#include <thread>

using namespace quintor;

namespace {

SystemState tenNumberSystem(std::vector<Column> finals) {
    SystemState state;
    for (int n : {3, 9, 14, 22, 31, 40, 48, 57, 66, 75})
        state.marked[static_cast<std::size_t>(n)] = 1;
    state.finalColumns = std::move(finals);
    return state;
}

const std::vector<Column> twoColumns{{3, 9, 14, 22, 31, 40}, {40, 48, 57, 66, 75, 3}};

void click(QDialog& window, const char* name) {
    auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

void type(QDialog& window, const char* name, const QString& text) {
    auto* edit = window.findChild<QLineEdit*>(QString::fromLatin1(name));
    QVERIFY(edit);
    edit->setText(text);
}

// With QUINTOR_SCREENSHOTS set, each window is saved there as it looks under test.
void keepPicture(QWidget& window, const QString& name) {
    const QString folder = qEnvironmentVariable("QUINTOR_SCREENSHOTS");
    if (!folder.isEmpty())
        window.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

// The Alt+letter keys of a window's labels and buttons, with the controls that claim each.
QMultiMap<QChar, QString> altKeys(const QWidget& window) {
    QMultiMap<QChar, QString> keys;
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts << label->text();
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        texts << button->text();
    for (const QString& text : texts) {
        const int at = QString(text)
                           .replace(QStringLiteral("&&"), QStringLiteral("__"))
                           .indexOf(QLatin1Char('&'));
        if (at >= 0 && at + 1 < text.size())
            keys.insert(text[at + 1].toUpper(), text);
    }
    return keys;
}

} // namespace

class GuaranteeWindowsTest : public QObject, private test::SystemWindowFixture {
    Q_OBJECT
private slots:
    void init() { openSystemWindow(); }
    void cleanup() { closeSystemWindow(); }
    void commandsBeepWithoutFinalColumns();
    void tableMarksTheGuaranteesTheEngineFinds();
    void holesListTheirFirstRowsAndExportThemAll();
    void holesExportMovesItsBarAndAStopIsNoError();
    void holesReadFurtherOnTheWorkerAndAStopKeepsThoseFound();
    void repairRefusesABadBudgetThenAddsTheEngineColumns();
    void repairKeepsTheTypedFixedNumbersInEveryColumnAndSaysWhichShareItShows();
    void backtestRefusesBadRangesAndListsTheDrawsWithFour();
    void stopQuestionPausesTheRunAndOnlyYesEndsIt();
    void everyAltKeyOfAWindowReachesOneControl();
};

void GuaranteeWindowsTest::commandsBeepWithoutFinalColumns() {
    // A window opened by mistake would block the test: close whatever becomes modal.
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    guard.start(200);
    const int before = beepCount();
    for (const char* item :
         {"guaranteeAction", "guaranteeHolesAction", "completeGuaranteeAction", "backtestAction"})
        QVERIFY(test::trigger(window_, QString::fromLatin1(item)));
    QCOMPARE(beepCount(), before + 4);
}

void GuaranteeWindowsTest::tableMarksTheGuaranteesTheEngineFinds() {
    const SystemState state = tenNumberSystem(twoColumns);
    const GuaranteeTable expected = guaranteeTable(state.markedNumbers(), state.finalColumns);
    GuaranteeTableDialog window(state);
    window.show();
    QTRY_VERIFY(window.finished());
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("guaranteeGrid"));
    QVERIFY(table);
    for (int m = 3; m <= 6; ++m)
        for (int t = 2; t <= m; ++t) {
            const QString cell = table->item(m - 3, t - 2)->text();
            QCOMPARE(cell.contains(QStringLiteral("\u2714")), expected.guarantees(m, t));
            if (!expected.guarantees(m, t))
                QCOMPARE(cell, QString::fromStdString(percentText(expected.percent(m, t))));
        }
    QVERIFY(!(table->item(0, 4)->flags() & Qt::ItemIsEnabled)); // "6 se 3" does not exist
    keepPicture(window, QStringLiteral("garanzia"));

    // One hole among 27132 sets is 99.996 %: it must not read as the guarantee's 100 %.
    SystemState nearly;
    for (int n = 1; n <= 19; ++n)
        nearly.marked[static_cast<std::size_t>(n)] = 1;
    const std::vector<Column> first{{1, 2, 3, 4, 5, 6}};
    HoleCursor(nearly.markedNumbers(), first, 6, 6).next(nearly.finalColumns, 30000);
    GuaranteeTableDialog almost(nearly);
    almost.show();
    QTRY_VERIFY(almost.finished());
    QCOMPARE(test::child<QTableWidget>(&almost, "guaranteeGrid")->item(3, 4)->text(),
             QStringLiteral("99.99 %"));
}

void GuaranteeWindowsTest::holesListTheirFirstRowsAndExportThemAll() {
    // Every initial column but the last ones as finals: thousands of holes of "6 se 6".
    SystemState state;
    for (int n = 1; n <= 14; ++n)
        state.marked[static_cast<std::size_t>(n)] = 1;
    state.finalColumns = {{1, 2, 3, 4, 5, 6}};
    const auto marked = state.markedNumbers();
    GuaranteeHolesDialog window(state, 6, 6);
    window.show();
    // Nothing is counted before the user has chosen t and m and pressed "Calcola".
    QTest::qWait(200);
    QVERIFY(!window.findChild<WorkerRun*>()->running() && !window.counted());
    click(window, "countButton");
    QTRY_VERIFY(window.counted());
    const std::uint64_t total = binomial(14, 6) - 1;
    QCOMPARE(window.holeCount(), total);
    auto* list = window.findChild<QListView*>(QStringLiteral("holesList"));
    QVERIFY(list && list->model());
    QCOMPARE(list->model()->rowCount(), 1000);
    QCOMPARE(list->model()->index(0, 0).data().toString(), QStringLiteral("1 2 3 4 5 7"));
    // A list that holds only part of the holes says so, and where all of them are.
    auto* count = test::child<QLabel>(&window, "countLabel");
    QVERIFY2(count->text().contains(QStringLiteral("primi 1.000 buchi su 3.002")) &&
                 count->text().contains(QStringLiteral("Esporta CSV")),
             qPrintable(count->text()));
    keepPicture(window, QStringLiteral("buchi"));
    list->scrollToBottom();
    QTRY_VERIFY(list->model()->rowCount() > 1000);
    QTRY_VERIFY(!window.findChild<WorkerRun*>()->running());
    QVERIFY2(count->text().contains(
                 QStringLiteral("primi %1 buchi")
                     .arg(QLocale(QLocale::Italian).toString(list->model()->rowCount()))),
             qPrintable(count->text()));

    const QString file = home_->file(QStringLiteral("buchi.csv"));
    prompter_->answerFile(file);
    click(window, "exportButton");
    QTRY_VERIFY(prompter_->lastText().contains(QString::number(total)));
    QFile csv(file);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(csv.readLine()).trimmed(), QStringLiteral("n1;n2;n3;n4;n5;n6"));
    qint64 lines = 0;
    while (!csv.atEnd()) {
        csv.readLine();
        ++lines;
    }
    QCOMPARE(lines, qint64(total));

    // "6 se 3" makes no sense: exporting refuses it as counting does, before asking for a file.
    test::child<QComboBox>(&window, "drawnBox")->setCurrentIndex(0);
    const int dialogs = int(prompter_->fileDialogs().size());
    click(window, "exportButton");
    QCOMPARE(prompter_->lastText(),
             QStringLiteral("La garanzia deve essere \"t se m\" con m compreso "
                            "tra 3 e 6 e t compreso tra 2 e m."));
    QCOMPARE(int(prompter_->fileDialogs().size()), dialogs);
}

void GuaranteeWindowsTest::holesExportMovesItsBarAndAStopIsNoError() {
    // 40 numbers and one column: millions of holes of "6 se 6", far more than a test waits for.
    SystemState state;
    for (int n = 1; n <= 40; ++n)
        state.marked[static_cast<std::size_t>(n)] = 1;
    state.finalColumns = {{1, 2, 3, 4, 5, 6}};
    GuaranteeHolesDialog window(state, 6, 6);
    window.show();
    const QString file = home_->file(QStringLiteral("tutti.csv"));
    prompter_->answerFile(file);
    click(window, "exportButton");
    auto* run = window.findChild<WorkerRun*>();
    auto* bar = test::child<QProgressBar>(&window, "progressBar");
    QTRY_VERIFY(bar->value() > 0);
    QVERIFY(run->running());
    prompter_->answer(QMessageBox::Yes);
    click(window, "stopButton");
    QTRY_VERIFY(!run->running());
    // Asked for, so no error; and nothing half-written is left, under its name or another.
    const Question told = prompter_->questions().last();
    QVERIFY2(told.title != QStringLiteral("Errore") &&
                 told.text.startsWith(QStringLiteral("Esportazione interrotta")),
             qPrintable(told.title + QStringLiteral(": ") + told.text));
    QCOMPARE(QDir(home_->file(QString())).entryList({QStringLiteral("tutti.csv*")}), QStringList());
}

void GuaranteeWindowsTest::holesReadFurtherOnTheWorkerAndAStopKeepsThoseFound() {
    // Every 6-set of 23 numbers is a final column but the first 1001 and the last: the first
    // thousand holes and the next one come at once, the last only at the end of the whole
    // enumeration, far later.
    SystemState state;
    for (int n = 1; n <= 23; ++n)
        state.marked[static_cast<std::size_t>(n)] = 1;
    std::vector<Column> every;
    HoleCursor(state.markedNumbers(), {}, 6, 6).next(every, binomial(23, 6));
    state.finalColumns.assign(every.begin() + 1001, every.end() - 1);
    GuaranteeHolesDialog window(state, 6, 6);
    window.show();
    click(window, "countButton");
    auto* list = test::child<QListView>(&window, "holesList");
    auto* count = test::child<QLabel>(&window, "countLabel");
    auto* run = window.findChild<WorkerRun*>();
    QTRY_VERIFY(list->model() && list->model()->rowCount() == 1000);

    // Scrolled to the end while the holes are still counted, the list asks for more rows, which
    // are then looked for on the worker: the window keeps turning its event loop, and shows
    // each row as it is found.
    int ticks = 0;
    QTimer clock;
    QObject::connect(&clock, &QTimer::timeout, [&ticks] { ++ticks; });
    clock.start(10);
    list->scrollToBottom();
    const int ticksAtScroll = ticks;
    QTRY_VERIFY(list->model()->rowCount() == 1001);
    QVERIFY(window.counted() && run->running());
    QCOMPARE(window.holeCount(), std::uint64_t{1002});
    QVERIFY(ticks - ticksAtScroll >= 3);
    QVERIFY2(count->text().contains(QStringLiteral("primi 1.001 buchi su 1.002")) &&
                 count->text().contains(QStringLiteral("Ricerca di altri buchi in corso")),
             qPrintable(count->text()));
    keepPicture(window, QStringLiteral("buchi-ricerca"));

    // "Interrompi" ends the search and leaves the rows found in the list.
    prompter_->answer(QMessageBox::Yes);
    click(window, "stopButton");
    QTRY_VERIFY(!run->running());
    QCOMPARE(list->model()->rowCount(), 1001);
    QVERIFY2(count->text().contains(QStringLiteral("primi 1.001 buchi su 1.002")) &&
                 count->text().contains(QStringLiteral("Ricerca interrotta")),
             qPrintable(count->text()));

    // Scrolling to the end again goes on with the search; closing the window ends it.
    list->scrollToBottom();
    QTRY_VERIFY(run->running());
    click(window, "closeButton");
    QVERIFY(!run->running() && !window.isVisible());

    // A count stopped after the first rows stays told as stopped while further rows come.
    SystemState all;
    for (int n = 1; n <= 90; ++n)
        all.marked[static_cast<std::size_t>(n)] = 1;
    all.finalColumns = {{1, 2, 3, 4, 5, 6}};
    GuaranteeHolesDialog stopped(all, 6, 6);
    stopped.show();
    click(stopped, "countButton");
    auto* rows = test::child<QListView>(&stopped, "holesList");
    QTRY_VERIFY(rows->model() && rows->model()->rowCount() == 1000);
    prompter_->answer(QMessageBox::Yes);
    click(stopped, "stopButton");
    auto* stoppedRun = stopped.findChild<WorkerRun*>();
    QTRY_VERIFY(!stoppedRun->running());
    QVERIFY(!stopped.counted());
    rows->scrollToBottom();
    QTRY_VERIFY(rows->model()->rowCount() == 2000 && !stoppedRun->running());
    const QString told = test::child<QLabel>(&stopped, "countLabel")->text();
    QVERIFY2(told.startsWith(QStringLiteral("Conteggio interrotto. Mostrati i primi 2.000 buchi.")),
             qPrintable(told));
}

void GuaranteeWindowsTest::repairRefusesABadBudgetThenAddsTheEngineColumns() {
    SystemState state = tenNumberSystem(twoColumns);
    const SystemState before = state;
    const Archive archive = test::cyclicArchive(300);
    GuaranteeRepairDialog window(state, archive);
    window.show();
    type(window, "budgetEdit", QStringLiteral("tante"));
    click(window, "startButton");
    QCOMPARE(prompter_->lastText(), QStringLiteral("'tante' is not a valid integer value"));
    QCOMPARE(state.finalColumns, before.finalColumns);

    auto* points = window.findChild<QComboBox*>(QStringLiteral("pointsBox"));
    QVERIFY(points);
    points->setCurrentIndex(points->findData(5)); // "5 se 6": the two columns leave many holes
    type(window, "budgetEdit", QStringLiteral("4"));
    click(window, "startButton");
    QTRY_VERIFY(window.addedCount() > 0);
    const auto expected =
        repairGuarantee(repairRequest(before, archive.newestFirst(snapshotLimit), 5, 6, 4));
    QCOMPARE(expected->added.size(), std::size_t(4)); // the budget ends it
    QVERIFY(expected);
    std::vector<Column> wanted = before.finalColumns;
    wanted.insert(wanted.end(), expected->added.begin(), expected->added.end());
    QCOMPARE(state.finalColumns, wanted);
    QVERIFY(state.modified);
    keepPicture(window, QStringLiteral("completa"));
}

void GuaranteeWindowsTest::repairKeepsTheTypedFixedNumbersInEveryColumnAndSaysWhichShareItShows() {
    SystemState state = tenNumberSystem({});
    const Archive noDraws;
    GuaranteeRepairDialog window(state, noDraws);
    window.show();
    type(window, "fixedEdit", QStringLiteral("9, 10"));
    click(window, "startButton");
    QCOMPARE(prompter_->lastText(), QStringLiteral("Il numero fisso 10 non è tra i segni del "
                                                   "sistema.\rCorreggere e riprovare."));
    QVERIFY(state.finalColumns.empty());

    type(window, "fixedEdit", QStringLiteral("40, 9"));
    type(window, "budgetEdit", QStringLiteral("3"));
    click(window, "startButton");
    QTRY_VERIFY(window.addedCount() > 0);
    QTRY_VERIFY(!window.findChild<WorkerRun*>()->running());
    QVERIFY(state.finalColumns.size() <= 3u);
    for (const Column& column : state.finalColumns)
        for (int number : {9, 40})
            QVERIFY(std::find(column.begin(), column.end(), number) != column.end());
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("resultTable"));
    QVERIFY(table);
    QCOMPARE(std::size_t(table->rowCount()), state.finalColumns.size());
    const QString outcome = window.findChild<QLabel*>(QStringLiteral("outcomeLabel"))->text();
    QVERIFY2(outcome.contains(QStringLiteral("Con tutte le fisse (9, 40) tra gli estratti")) &&
                 outcome.contains(QStringLiteral("La barra mostra questa quota")),
             qPrintable(outcome));
    keepPicture(window, QStringLiteral("completa-fisse"));
}

void GuaranteeWindowsTest::backtestRefusesBadRangesAndListsTheDrawsWithFour() {
    const Archive archive = simulatedArchive(500, 8);
    // Columns with 6 and with 4 of two draws.
    Column four = archive[200].numbers;
    four[0] = four[0] == 90 ? 89 : 90;
    four[1] = four[1] == 1 ? 2 : 1;
    SystemState state = tenNumberSystem({archive[100].numbers, four});
    ArchiveBacktestDialog window(state, archive, 800);
    window.show();
    type(window, "fromDateEdit", QStringLiteral("31/12/2030"));
    type(window, "toDateEdit", QString());
    click(window, "runButton");
    QCOMPARE(prompter_->lastText(),
             QStringLiteral("L'archivio non contiene estrazioni nel periodo indicato."));
    type(window, "fromDateEdit", QString());
    type(window, "prize4Edit", QStringLiteral("-1"));
    click(window, "runButton");
    // The window has a field for each prize: the message names the wrong one.
    QCOMPARE(prompter_->lastText(),
             QStringLiteral("Il campo \"Premio 4 punti (£)\" deve contenere un importo intero "
                            "non negativo in lire, ad esempio 30.000.\rCorreggere e riprovare."));

    type(window, "prize4Edit", QStringLiteral("1.000")); // as the window writes amounts
    click(window, "runButton");
    QTRY_VERIFY(window.hasResult());
    const BacktestResult expected = backtest(state.finalColumns, archive.records());
    QCOMPARE(window.result().byBest, expected.byBest);
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("drawsTable"));
    QVERIFY(table);
    QCOMPARE(std::uint64_t(table->rowCount()),
             expected.byBest[4] + expected.byBest[5] + expected.byBest[6] + expected.byBest[7]);
    QVERIFY(table->rowCount() >= 2);
    const PrizeTable prizes = PrizeTable::load(programFolder());
    QCOMPARE(prizes.lire[1], 1000.0L);
    // Winnings beside the cost, and what is left of them.
    const long double cost = 2.0L * 800 * static_cast<long double>(archive.records().size());
    const long double won = prizes.won(expected.winners);
    const QString summary = test::child<QLabel>(&window, "summaryLabel")->text();
    QVERIFY2(summary.contains(QStringLiteral("netto (vinto meno costo): %1 £")
                                  .arg(QString::fromStdString(moneyText(won - cost)))),
             qPrintable(summary));
    const QString legend = test::child<QLabel>(&window, "chartLegend")->text();
    for (const char* level : {"4 punti o più", "3 punti", "meno di 3 punti"})
        QVERIFY2(legend.contains(QString::fromUtf8(level)), level);
    // Rows of one line of text: at the window's own size the table shows many draws, not four.
    QCOMPARE(table->rowHeight(0), table->fontMetrics().lineSpacing() + 6);
    QVERIFY(table->viewport()->height() >= 6 * table->rowHeight(0));
    keepPicture(window, QStringLiteral("verifica"));
}

void GuaranteeWindowsTest::stopQuestionPausesTheRunAndOnlyYesEndsIt() {
    // Presses "Interrompi" of a running window and answers; true when the worker sat paused
    // while the question was up.
    auto stop = [this](QDialog& window, QMessageBox::StandardButton answer) {
        auto* run = window.findChild<WorkerRun*>();
        bool paused = false;
        prompter_->onQuestion = [&](const Question&) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!run->paused() && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            paused = run->paused();
        };
        prompter_->answer(answer);
        click(window, "stopButton");
        prompter_->onQuestion = nullptr;
        return paused && prompter_->lastText() ==
                             QStringLiteral("Sei sicuro di voler interrompere l'elaborazione ?");
    };

    SystemState state;
    for (int n = 1; n <= 14; ++n)
        state.marked[static_cast<std::size_t>(n)] = 1;
    state.finalColumns = {{1, 2, 3, 4, 5, 6}};
    const SystemState before = state;
    const Archive noDraws;
    const auto repaired = repairGuarantee(repairRequest(before, {}, 3, 6, 1000));
    QVERIFY(repaired && !repaired->added.empty());
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        state = before;
        GuaranteeRepairDialog window(state, noDraws);
        window.show();
        click(window, "startButton");
        QVERIFY(stop(window, answer));
        QTRY_VERIFY(!window.findChild<WorkerRun*>()->running());
        if (answer == QMessageBox::No) {
            std::vector<Column> wanted = before.finalColumns;
            wanted.insert(wanted.end(), repaired->added.begin(), repaired->added.end());
            QCOMPARE(state.finalColumns, wanted);
            QVERIFY(state.modified);
        } else if (state.modified) { // stopped during the search: its best so far
            QVERIFY(guaranteeTable(state.markedNumbers(), state.finalColumns).guarantees(6, 3));
        } else {
            QCOMPARE(state.finalColumns, before.finalColumns);
        }
    }
    {
        // Stopped once the search shows its best so far, the window keeps that covering.
        SystemState covering;
        for (int n = 1; n <= 18; ++n)
            covering.marked[static_cast<std::size_t>(n)] = 1;
        GuaranteeRepairDialog window(covering, noDraws);
        window.show();
        window.findChild<QComboBox*>(QStringLiteral("pointsBox"))->setCurrentIndex(2); // 4
        window.findChild<QComboBox*>(QStringLiteral("drawnBox"))->setCurrentIndex(1);  // 4
        type(window, "budgetEdit", QStringLiteral("1000"));
        click(window, "startButton");
        auto* outcome = window.findChild<QLabel*>(QStringLiteral("outcomeLabel"));
        QTRY_VERIFY_WITH_TIMEOUT(outcome->text().contains(QStringLiteral("Migliore finora")),
                                 60000);
        QVERIFY(stop(window, QMessageBox::Yes));
        QTRY_VERIFY(!window.findChild<WorkerRun*>()->running());
        QVERIFY(!covering.finalColumns.empty());
        QVERIFY(guaranteeTable(covering.markedNumbers(), covering.finalColumns).guarantees(4, 4));
        QVERIFY2(outcome->text().startsWith(QStringLiteral("Ricerca interrotta: aggiunta la "
                                                           "migliore")),
                 qPrintable(outcome->text()));
    }

    // The guarantee table stops the same way and keeps the rows counted before the stop.
    SystemState large;
    for (int n = 1; n <= 60; ++n)
        large.marked[static_cast<std::size_t>(n)] = 1;
    for (int i = 0; i < 300; ++i) {
        Column column{};
        for (std::size_t k = 0; k < 6; ++k)
            column[k] = static_cast<std::uint8_t>((i * 7 + 10 * int(k)) % 60 + 1);
        std::sort(column.begin(), column.end());
        large.finalColumns.push_back(column);
    }
    GuaranteeTableDialog table(large);
    table.show();
    auto* tableRun = table.findChild<WorkerRun*>();
    // Past the rows of 3, 4 and 5 numbers, which weigh a tenth of the whole.
    QTRY_VERIFY(tableRun->progress() > 0.11);
    QVERIFY(stop(table, QMessageBox::Yes));
    QTRY_VERIFY(table.finished());
    QVERIFY(table.table().stopped);
    auto* grid = test::child<QTableWidget>(&table, "guaranteeGrid");
    for (int m = 3; m <= 5; ++m) {
        std::array<std::uint64_t, 7> best{};
        countBestMatchesOfSize(large.markedNumbers(), large.finalColumns, m, best);
        GuaranteeTable row;
        row.markedCount = 60;
        row.best[static_cast<std::size_t>(m)] = best;
        for (int t = 2; t <= m; ++t)
            QCOMPARE(grid->item(m - 3, t - 2) ? grid->item(m - 3, t - 2)->text() : QString(),
                     row.guarantees(m, t)
                         ? QStringLiteral("100 % \u2714")
                         : QString::fromStdString(percentText(std::min(row.percent(m, t), 99.99))));
    }
    QVERIFY(grid->item(3, 0));
    QCOMPARE(grid->item(3, 0)->text(), QStringLiteral("interrotto"));
    keepPicture(table, QStringLiteral("garanzia-parziale"));
    QVERIFY(test::child<QLabel>(&table, "statusLabel")
                ->text()
                .startsWith(QStringLiteral("Calcolo interrotto: tabella parziale, senza le righe "
                                           "di 6 estratti.")));
}

void GuaranteeWindowsTest::everyAltKeyOfAWindowReachesOneControl() {
    // Two controls on one key make Alt+key only move the focus between them.
    SystemState state = tenNumberSystem(twoColumns);
    const Archive archive = test::cyclicArchive(300);
    GuaranteeHolesDialog holes(state, 3, 6);
    GuaranteeRepairDialog repair(state, archive);
    ArchiveBacktestDialog backtest(state, archive, 800);
    for (const QWidget* window :
         std::initializer_list<const QWidget*>{&holes, &repair, &backtest}) {
        const QMultiMap<QChar, QString> keys = altKeys(*window);
        for (const QChar key : keys.uniqueKeys())
            QVERIFY2(keys.count(key) == 1, qPrintable(QStringList(keys.values(key)).join(" / ")));
    }
}

QTEST_MAIN(GuaranteeWindowsTest)
#include "test_guarantee_windows.moc"
