// The window of the method against chance: a run through its controls gives the engine's
// figures, a stop keeps the draws done, the export writes the rows, and the system window's
// command opens it only for a system of six marks or more.
#include "app/main_frame.h"
#include "core/archive.h"
#include "core/program_folder.h"
#include "core/walk_forward.h"
#include "gui/analysis/walk_forward_dialog.h"
#include "gui/common/feedback.h"
#include "gui/common/worker_run.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/gui_helpers.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

using namespace quintor;

namespace {

SystemState twelveMarks() {
    SystemState state;
    for (int n : {2, 7, 11, 18, 23, 35, 41, 52, 60, 67, 74, 88})
        state.marked[static_cast<std::size_t>(n)] = 1;
    return state;
}

void setBox(QWidget& window, const char* name, int value) {
    test::child<QSpinBox>(&window, name)->setValue(value);
}

} // namespace

class WalkForwardWindowTest : public QObject, private test::SystemWindowFixture {
    Q_OBJECT
private slots:
    void init() { openSystemWindow(); }
    void cleanup() { closeSystemWindow(); }
    void runShowsTheEngineFiguresAndExportsTheRows();
    void stopKeepsTheDrawsDone();
    void commandNeedsSixMarks();
    void aLargeSystemShowsTheTimeOfTheWholeRunBeforeItStarts();
};

void WalkForwardWindowTest::runShowsTheEngineFiguresAndExportsTheRows() {
    const Archive archive = simulatedArchive(minimumDraws + 6, 3);
    const SystemState state = twelveMarks();
    WalkForwardDialog window(state, archive, 800);
    window.show();
    setBox(window, "drawsBox", 6);
    setBox(window, "randomSetsBox", 50);
    setBox(window, "seedBox", 9);
    setBox(window, "countBox", 12);
    test::child<QSlider>(&window, "precisionSlider")->setValue(26);
    QTest::mouseClick(test::child<QPushButton>(&window, "runButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(window.hasResult(), 30000);

    WalkForwardSettings settings;
    settings.draws = 6;
    settings.randomSets = 50;
    settings.seed = 9;
    settings.count = 12;
    settings.precision = 26;
    settings.prizes = PrizeTable::load(programFolder());
    settings.columnPrice = 800;
    const auto expected = walkForward(state, archive, settings);
    QVERIFY(expected.ok());
    QCOMPARE(window.result().draws.size(), expected->draws.size());
    for (std::size_t i = 0; i < expected->draws.size(); ++i) {
        QCOMPARE(window.result().draws[i].method, expected->draws[i].method);
        QCOMPARE(window.result().draws[i].randomMean, expected->draws[i].randomMean);
    }
    const QString summary = test::child<QLabel>(&window, "summaryLabel")->text();
    for (const std::string& line : walkForwardSummaryLines(*expected))
        QVERIFY2(summary.contains(QString::fromStdString(line)), qPrintable(summary));
    QCOMPARE(test::child<QLabel>(&window, "verdictLabel")->text(),
             QString::fromStdString(walkForwardVerdict(*expected)));
    QVERIFY(!test::child<QWidget>(&window, "chanceBandChart")->accessibleDescription().isEmpty());

    const QString file = home_->file(QStringLiteral("prova.csv"));
    prompter_->answerFile(file);
    QTest::mouseClick(test::child<QPushButton>(&window, "exportButton"), Qt::LeftButton);
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll().toStdString(), walkForwardCsv(*expected, archive));
    if (const QString shots = qEnvironmentVariable("QUINTOR_SHOTS"); !shots.isEmpty())
        window.grab().save(shots + QStringLiteral("/metodo-contro-caso.png"));
}

void WalkForwardWindowTest::stopKeepsTheDrawsDone() {
    const Archive archive = simulatedArchive(minimumDraws + 40, 4);
    const SystemState state = twelveMarks();
    WalkForwardDialog window(state, archive, 800);
    window.show();
    setBox(window, "drawsBox", 40);
    setBox(window, "randomSetsBox", maxRandomSets);
    setBox(window, "countBox", 12);
    QTest::mouseClick(test::child<QPushButton>(&window, "runButton"), Qt::LeftButton);
    auto* run = window.findChild<WorkerRun*>();
    QTRY_VERIFY_WITH_TIMEOUT(run->progress() >= 2.0 / 40, 60000);
    prompter_->answer(QMessageBox::Yes);
    QTest::mouseClick(test::child<QPushButton>(&window, "stopButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!run->running(), 30000);
    QVERIFY(window.hasResult());
    QVERIFY(window.result().stopped);
    QVERIFY(window.result().draws.size() >= 2);
    QVERIFY(window.result().draws.size() < 40);
    QVERIFY(test::child<QLabel>(&window, "summaryLabel")
                ->text()
                .startsWith(QStringLiteral("Prova interrotta: i risultati valgono per le %1 ")
                                .arg(window.result().draws.size())));
    QVERIFY(test::child<QPushButton>(&window, "exportButton")->isEnabled());
}

void WalkForwardWindowTest::aLargeSystemShowsTheTimeOfTheWholeRunBeforeItStarts() {
    const Archive archive = simulatedArchive(minimumDraws + 5, 6);
    SystemState state;
    for (int n = 1; n <= 50; ++n) // 15,890,700 columns a selection
        state.marked[static_cast<std::size_t>(n)] = 1;
    WalkForwardDialog window(state, archive, 800);
    window.show();
    setBox(window, "drawsBox", 5);
    setBox(window, "randomSetsBox", 1);
    setBox(window, "countBox", 1);
    test::child<QSlider>(&window, "precisionSlider")->setValue(26);
    prompter_->answer(QMessageBox::No);
    QTest::mouseClick(test::child<QPushButton>(&window, "runButton"), Qt::LeftButton);
    auto* run = window.findChild<WorkerRun*>();
    QTRY_VERIFY_WITH_TIMEOUT(!run->running(), 60000);
    QCOMPARE(prompter_->questions().size(), 1);
    QVERIFY2(prompter_->questions().front().text.startsWith(
                 QStringLiteral("La prova di 5 estrazioni richiederà circa ")),
             qPrintable(prompter_->questions().front().text));
    QVERIFY(test::child<QLabel>(&window, "estimateLabel")
                ->text()
                .startsWith(QStringLiteral("Una estrazione ha richiesto ")));
    if (const QString shots = qEnvironmentVariable("QUINTOR_SHOTS"); !shots.isEmpty())
        window.grab().save(shots + QStringLiteral("/metodo-stima.png"));
    // Declined: nothing runs and no result appears.
    QTest::qWait(200);
    QVERIFY(!run->running());
    QVERIFY(!window.hasResult());
}

void WalkForwardWindowTest::commandNeedsSixMarks() {
    const int before = beepCount();
    QVERIFY(test::trigger(window_, QStringLiteral("walkForwardAction")));
    QCOMPARE(beepCount(), before + 1);
    for (int n = 1; n <= 6; ++n)
        test::clickNumber(window_, n);
    QString opened;
    test::whenShown<QDialog>([&](QDialog& dialog) {
        opened = dialog.objectName();
        dialog.reject();
    });
    QVERIFY(test::trigger(window_, QStringLiteral("walkForwardAction")));
    QCOMPARE(opened, QStringLiteral("WalkForwardDialog"));
}

QTEST_MAIN(WalkForwardWindowTest)
#include "test_walk_forward_window.moc"
