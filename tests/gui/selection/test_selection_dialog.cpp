// The selection window driven as a person would: type the count, press Enter, stop the run.
#include "app/main_frame.h"
#include "core/archive.h"
#include "core/memory_budget.h"
#include "core/selection.h"
#include "core/selection_guarantee.h"
#include "gui/selection/selection_dialog.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/gui_helpers.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableView>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace quintor;

namespace {

// A system with first..last marked, fixed as its fixed numbers in that order, and two final
// columns.
SystemState systemWith(int first, int last, const std::vector<int>& fixed = {}) {
    SystemState system;
    for (int x = first; x <= last; ++x)
        system.marked[static_cast<std::size_t>(x)] = 1;
    system.fixedCount = static_cast<int>(fixed.size());
    for (std::size_t k = 0; k < fixed.size(); ++k)
        system.fixedNumbers[k] = static_cast<std::uint8_t>(fixed[k]);
    system.finalColumns = {Column{1, 2, 3, 4, 5, 6}, Column{7, 8, 9, 10, 11, 12}};
    return system;
}

// Runs `drive` on the selection window once it is shown, while the launcher waits in exec().
// A failed check inside `drive` returns early: the window is then closed (stopping its run)
// so that the launcher comes back and the test reports the failure.
int launchAndDrive(test::ScriptedPrompter& prompter, SystemState& system, const Archive& archive,
                   std::function<void(SelectionDialog&)> drive) {
    QTimer::singleShot(0, [&] {
        SelectionDialog* window = nullptr;
        QTRY_VERIFY((window = qobject_cast<SelectionDialog*>(QApplication::activeModalWidget())));
        drive(*window);
        if (QTest::currentTestFailed() && window->isVisible()) {
            if (window->running()) {
                prompter.answer(QMessageBox::Yes);
                test::child<QPushButton>(window, "stopButton")->click();
            } else {
                window->reject();
            }
        }
    });
    return launchSelection(nullptr, system, archive);
}

void typeCountAndEnter(SelectionDialog& window, const QString& count) {
    auto* countEdit = test::child<QLineEdit>(&window, "finalCountEdit");
    countEdit->clear();
    QTest::keyClicks(countEdit, count);
    QTest::keyClick(countEdit, Qt::Key_Return);
}

} // namespace

class SelectionWindowTest : public QObject {
    Q_OBJECT
private slots:
    void aRunThroughTheWindowFillsTheFinalColumns();
    void everyInvalidCountKeepsTheWindowOpen();
    void aCountTheMemoryCannotHoldIsRefusedAtOnce();
    void stopWithYesKeepsNothingAndNoGoesOn();
    void launcherChecksAndAllRejected();
    void theSystemWindowsMenuItemRunsIt();
    void aGuaranteeWithinABudgetFillsTheColumnsAndSaysWhichShareCounts();
};

void SelectionWindowTest::aRunThroughTheWindowFillsTheFinalColumns() {
    test::ScriptedPrompter prompter;
    const Archive archive = simulatedArchive(400, 7);
    SystemState system = systemWith(20, 29, {25, 21}); // 210 columns
    system.probabilities[22] = Real48::fromValue(80.0L);
    const SystemState before = system;

    QString initialCount, fixedNumbers, hint;
    const int ended = launchAndDrive(prompter, system, archive, [&](SelectionDialog& window) {
        QCOMPARE(window.windowTitle(), QStringLiteral("Colonne finali"));
        QCOMPARE(window.focusWidget(), test::child<QLineEdit>(&window, "finalCountEdit"));
        initialCount = test::child<QLabel>(&window, "initialCountLabel")->text();
        fixedNumbers = test::child<QLabel>(&window, "fixedNumbersLabel")->text();
        hint = test::child<QLineEdit>(&window, "finalCountEdit")->toolTip();
        test::child<QSlider>(&window, "precisionSlider")->setValue(13);
        typeCountAndEnter(window, QStringLiteral("7"));
        // Enter again while running, or after: never a second run.
        QTest::keyClick(test::child<QLineEdit>(&window, "finalCountEdit"), Qt::Key_Return);
    });
    QCOMPARE(ended, 1);
    QCOMPARE(initialCount, QStringLiteral("Nº di colonne iniziali: 210"));
    QCOMPARE(fixedNumbers, QStringLiteral("Fisse: 25 21"));
    QCOMPARE(hint, QStringLiteral("Da 1 a 210"));
    QVERIFY(prompter.questions().isEmpty());
    QVERIFY(system.modified);

    const auto draws = archive.newestFirst(snapshotLimit);
    const auto expected = selectColumns(selectionRequest(before, draws, 7, 13));
    QVERIFY(expected.ok());
    QCOMPARE(system.finalColumns, expected->columns);
    for (const auto& column : system.finalColumns)
        QVERIFY(std::ranges::count(column, 25) == 1 && std::ranges::count(column, 21) == 1);
}

void SelectionWindowTest::everyInvalidCountKeepsTheWindowOpen() {
    test::ScriptedPrompter prompter;
    const Archive archive = simulatedArchive(202, 3);
    SystemState system = systemWith(1, 8); // 28 columns
    const auto columnsBefore = system.finalColumns;
    const QStringList bad = {QStringLiteral("0"),         QStringLiteral("-3"),
                             QStringLiteral("abc"),       QStringLiteral(""),
                             QStringLiteral("29"),        QStringLiteral("12a"),
                             QStringLiteral("4294967296")};
    const int ended = launchAndDrive(prompter, system, archive, [&](SelectionDialog& window) {
        auto* countEdit = test::child<QLineEdit>(&window, "finalCountEdit");
        for (const QString& text : bad) {
            typeCountAndEnter(window, text);
            QVERIFY2(window.isVisible(), qPrintable(text));
            QVERIFY(!window.running());
            QCOMPARE(window.focusWidget(), countEdit);
            QVERIFY(test::child<QPushButton>(&window, "startButton")->isVisible());
        }
        test::child<QPushButton>(&window, "cancelButton")->click();
    });
    QCOMPARE(ended, 0);
    const auto questions = prompter.questions();
    QCOMPARE(questions.size(), bad.size());
    for (const auto& q : questions) {
        QCOMPARE(q.title, QStringLiteral("Errore !"));
        QCOMPARE(q.text, QStringLiteral("Il numero di colonne specificato non é "
                                        "VALIDO!\rCorreggere e riprovare."));
        QCOMPARE(q.icon, QMessageBox::Critical);
    }
    QCOMPARE(system.finalColumns, columnsBefore);
    QVERIFY(!system.modified);
}

void SelectionWindowTest::aCountTheMemoryCannotHoldIsRefusedAtOnce() {
    // Every initial column of all 90 numbers: more than any machine this runs on can hold.
    if (selectionMemoryNeed(622614630, 90) <= availableMemory())
        QSKIP("this machine could hold every column of 90 numbers");
    test::ScriptedPrompter prompter;
    const Archive archive = simulatedArchive(300, 3);
    SystemState system = systemWith(1, 90);
    QElapsedTimer clock;
    qint64 answeredAfter = -1;
    const int ended = launchAndDrive(prompter, system, archive, [&](SelectionDialog& window) {
        clock.start();
        typeCountAndEnter(window, QStringLiteral("622614630"));
        answeredAfter = clock.elapsed();
        QVERIFY(window.isVisible());
        QVERIFY(!window.running());
        test::child<QPushButton>(&window, "cancelButton")->click();
    });
    QCOMPARE(ended, 0);
    QVERIFY2(answeredAfter >= 0 && answeredAfter < 1000,
             qPrintable(QString::number(answeredAfter)));
    const auto questions = prompter.questions();
    QCOMPARE(questions.size(), 1);
    QVERIFY2(questions[0].text.startsWith(QStringLiteral(
                 "La memoria disponibile non basta per selezionare 622614630 colonne.")),
             qPrintable(questions[0].text));
    QVERIFY2(questions[0].text.contains(QStringLiteral("può selezionare ora è")),
             qPrintable(questions[0].text));
}

void SelectionWindowTest::stopWithYesKeepsNothingAndNoGoesOn() {
    test::ScriptedPrompter prompter;
    const Archive archive = simulatedArchive(300, 9);
    // 622 million columns and 5,000 kept at full precision: over a second of work on two
    // cores, so the gauge moves a few times before the run could end by itself.
    SystemState system = systemWith(1, 90);
    prompter.answer(QMessageBox::No);
    prompter.answer(QMessageBox::No);
    prompter.answer(QMessageBox::Yes);
    int gaugeMoves = 0;
    const int ended = launchAndDrive(prompter, system, archive, [&](SelectionDialog& window) {
        test::child<QSlider>(&window, "precisionSlider")->setValue(0);
        typeCountAndEnter(window, QStringLiteral("5000"));
        QVERIFY(window.running());
        auto* stop = test::child<QPushButton>(&window, "stopButton");
        auto* gauge = test::child<QProgressBar>(&window, "progressBar");
        QVERIFY(stop->isVisible());
        QVERIFY(gauge->isVisible());
        QVERIFY(!test::child<QPushButton>(&window, "startButton")->isVisible());
        QVERIFY(!test::child<QLineEdit>(&window, "finalCountEdit")->isEnabled());
        const int start = gauge->value();
        QTRY_VERIFY_WITH_TIMEOUT(gauge->value() > start, 20000);
        ++gaugeMoves;
        // Escape from the control holding the focus asks to stop; No: the run goes on.
        QCOMPARE(window.focusWidget(), stop);
        QTest::keyClick(window.focusWidget(), Qt::Key_Escape);
        QCOMPARE(prompter.questions().size(), 1);
        QVERIFY(window.running());
        window.close(); // the close box asks too; No again
        QCOMPARE(prompter.questions().size(), 2);
        QVERIFY(window.running());
        const int after = gauge->value();
        QTRY_VERIFY_WITH_TIMEOUT(gauge->value() > after, 20000);
        ++gaugeMoves;
        // A gauge at its end would mean the run finished by itself before the stop.
        QVERIFY(window.running());
        QVERIFY(gauge->value() < gauge->maximum());
        stop->click(); // Yes: nothing kept, the window closes
        // Until the run has wound down the stop is greyed and not asked again.
        QVERIFY(!stop->isEnabled());
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(prompter.questions().size(), 3);
    });
    QCOMPARE(ended, 1);
    QCOMPARE(gaugeMoves, 2);
    const auto questions = prompter.questions();
    QCOMPARE(questions.size(), 3);
    for (const auto& q : questions) {
        QCOMPARE(q.title, QStringLiteral("Attenzione"));
        QCOMPARE(q.text, QStringLiteral("Sei sicuro di voler interrompere l'elaborazione ?"));
        QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(q.defaultButton, QMessageBox::No);
        QCOMPARE(q.icon, QMessageBox::Question);
    }
    QVERIFY(system.finalColumns.empty());
    QVERIFY(!system.modified);
}

void SelectionWindowTest::launcherChecksAndAllRejected() {
    test::ScriptedPrompter prompter;
    SystemState system = systemWith(1, 8);
    const auto columns = system.finalColumns;
    QCOMPARE(launchSelection(nullptr, system, simulatedArchive(201, 1)), -1);
    QCOMPARE(prompter.lastText(),
             QStringLiteral("L'archivio delle colonne vincenti contiene meno di 202 "
                            "colonne.\rImpossibile elaborare statistiche con meno di 202 "
                            "colonne vincenti !"));
    SystemState five = systemWith(1, 5);
    QCOMPARE(launchSelection(nullptr, five, simulatedArchive(202, 1)), -1);
    QCOMPARE(prompter.lastText(),
             QStringLiteral("Il sistema contiene meno di SEI segni !\rCorreggere e riprovare."));
    QCOMPARE(system.finalColumns, columns);

    system.fixedCount = 1;
    system.fixedNumbers[0] = 40; // not marked
    prompter.clear();
    const int ended =
        launchAndDrive(prompter, system, simulatedArchive(202, 1), [&](SelectionDialog& window) {
            typeCountAndEnter(window, QStringLiteral("3"));
        });
    QCOMPARE(ended, 1);
    QCOMPARE(prompter.questions().size(), 1);
    QCOMPARE(prompter.questions()[0].title, QStringLiteral("Attenzione"));
    QCOMPARE(prompter.questions()[0].icon, QMessageBox::NoIcon);
    QCOMPARE(prompter.lastText(),
             QStringLiteral("Sono state scartate tutte le colonne.\rProbabilmente è stata "
                            "specificata una FISSA che non è presente nel sistema !"));
    QVERIFY(system.finalColumns.empty());
    QVERIFY(!system.modified);
}

void SelectionWindowTest::theSystemWindowsMenuItemRunsIt() {
    test::TestHome home;
    test::ScriptedPrompter prompter;
    MainFrame frame;
    frame.show();
    frame.onNewTriggered();
    SystemWindow* window = frame.activeSystem();
    QVERIFY(window);
    frame.context().archive() = simulatedArchive(150, 4);
    for (int n : {3, 17, 28, 44, 59, 61, 80})
        test::clickNumber(window, n);
    window->state().modified = false;

    // Too few draws: the message, and no window.
    QVERIFY(test::trigger(window, QStringLiteral("selectColumnsAction")));
    QCOMPARE(prompter.questions().size(), 1);
    QCOMPARE(prompter.questions()[0].title, QStringLiteral("Errore !"));

    frame.context().archive() = simulatedArchive(260, 4);
    QTimer::singleShot(0, [&] {
        SelectionDialog* selection = nullptr;
        QTRY_VERIFY(
            (selection = qobject_cast<SelectionDialog*>(QApplication::activeModalWidget())));
        QVERIFY(!test::finalColumnsGrid(window)->isVisible());
        typeCountAndEnter(*selection, QStringLiteral("4"));
    });
    QVERIFY(test::trigger(window, QStringLiteral("selectColumnsAction")));
    QTRY_COMPARE(window->state().finalColumns.size(), std::size_t{4});
    QVERIFY(test::finalColumnsGrid(window)->isVisible());
    QVERIFY(window->state().modified);
    QCOMPARE(test::labelText(window, QStringLiteral("finalColumnsLabel")),
             QStringLiteral("Colonne finali: 4"));
    const QAbstractItemModel* grid = test::finalColumnsGrid(window)->model();
    QCOMPARE(grid->rowCount(), 4);
    for (int r = 0; r < 4; ++r)
        QCOMPARE(grid->data(grid->index(r, 1)).toString(),
                 QString::fromStdString(
                     formatColumn(window->state().finalColumns[static_cast<std::size_t>(r)])));
    window->state().modified = false;
}

void SelectionWindowTest::aGuaranteeWithinABudgetFillsTheColumnsAndSaysWhichShareCounts() {
    test::ScriptedPrompter prompter;
    const Archive archive = simulatedArchive(400, 7);
    SystemState system = systemWith(20, 33, {27}); // 14 numbers
    const SystemState before = system;
    prompter.answer(QMessageBox::Ok);
    const int ended = launchAndDrive(prompter, system, archive, [&](SelectionDialog& window) {
        auto* budget = test::child<QLineEdit>(&window, "budgetEdit");
        QVERIFY(!budget->isEnabled());
        QTest::mouseClick(test::child<QRadioButton>(&window, "guaranteeModeButton"),
                          Qt::LeftButton);
        QVERIFY(budget->isEnabled());
        QVERIFY(!test::child<QLineEdit>(&window, "finalCountEdit")->isEnabled());
        test::child<QComboBox>(&window, "pointsBox")->setCurrentText("4");
        test::child<QComboBox>(&window, "drawnBox")->setCurrentText("5");
        // The mode's field takes the focus with its text selected: typing replaces it.
        QTest::keyClicks(window.focusWidget(), QStringLiteral("9"));
        QCOMPARE(budget->text(), QStringLiteral("9"));
        if (const QString shots = qEnvironmentVariable("QUINTOR_SHOTS"); !shots.isEmpty())
            window.grab().save(shots + QStringLiteral("/selezione-per-garanzia.png"));
        QTest::keyClick(budget, Qt::Key_Return);
    });
    QCOMPARE(ended, 1);
    QVERIFY(system.modified);
    const auto draws = archive.newestFirst(snapshotLimit);
    const GuaranteeTarget target{4, 5, 9};
    const auto expected = selectForGuarantee(selectionRequest(before, draws, 0, 0), target);
    QVERIFY(expected.ok());
    QCOMPARE(system.finalColumns, expected->added);
    QCOMPARE(prompter.questions().size(), 1);
    QCOMPARE(prompter.questions().front().text,
             QString::fromStdString(guaranteeSelectionSummary(*expected, target, {27})));
}

QTEST_MAIN(SelectionWindowTest)
#include "test_selection_dialog.moc"
