// The system window's commands on final columns and marks: beeps when they cannot apply and
// the marks the number commands change within their limits.
#include "core/column.h"
#include "gui/archive/number_count_dialog.h"
#include "gui/common/column_list_window.h"
#include "gui/common/feedback.h"
#include "gui/system/statistics_windows.h"
#include "tests/gui/support/gui_helpers.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace quintor;
using quintor::test::cyclicArchive;

namespace {

// Answers the next count dialog with text, or cancels it.
void answerCountDialog(const QString& count, bool cancel = false) {
    QTimer::singleShot(0, [count, cancel] {
        QTRY_VERIFY(qobject_cast<NumberCountDialog*>(QApplication::activeModalWidget()) != nullptr);
        auto* dialog = qobject_cast<NumberCountDialog*>(QApplication::activeModalWidget());
        dialog->findChild<QLineEdit*>(QStringLiteral("countField"))->setText(count);
        const char* button = cancel ? "cancelButton" : "applyButton";
        dialog->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    });
}

} // namespace

class StatisticsCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void commandsThatCannotApplyBeep();
    void addingAndRemovingWithinTheLimits();
};

void StatisticsCommandsTest::commandsThatCannotApplyBeep() {
    test::ScriptedPrompter prompter;
    SystemState state;
    ColumnListWindow columnList;
    const int before = beepCount();
    openProbabilityWindow(nullptr, state);
    openComparison(nullptr, state, columnList);
    openDistribution(nullptr, state);
    openProbabilitiesEditor(nullptr, state);
    QVERIFY(!removeLeastProbableNumbers(nullptr, state, cyclicArchive(301)));
    QCOMPARE(beepCount(), before + 5);
    QVERIFY(prompter.asked().isEmpty());
}

void StatisticsCommandsTest::addingAndRemovingWithinTheLimits() {
    test::ScriptedPrompter prompter;
    const Archive archive = cyclicArchive(301); // every number scores alike
    SystemState state;
    for (int n = 1; n <= 88; ++n)
        state.marked[static_cast<std::size_t>(n)] = 1;
    state.probabilities[89] = Real48::fromValue(12);
    answerCountDialog(QStringLiteral("5"));
    QVERIFY(addMostProbableNumbers(nullptr, state, archive));
    QCOMPARE(state.markedCount(), 90);
    QCOMPARE(state.probabilities[89].value(), 12.0L); // marks change, weights stay

    // equal scores: the lowest-numbered marked numbers go first
    answerCountDialog(QStringLiteral("40"));
    QVERIFY(removeLeastProbableNumbers(nullptr, state, archive));
    QCOMPARE(state.markedCount(), 50);
    QCOMPARE(state.marked[40], std::uint8_t{0});
    QCOMPARE(state.marked[41], std::uint8_t{1});

    // a cancelled dialog or a count of 0 changes nothing
    state.modified = false;
    answerCountDialog(QStringLiteral("3"), true);
    QVERIFY(!removeLeastProbableNumbers(nullptr, state, archive));
    answerCountDialog(QStringLiteral("0"));
    QVERIFY(!addMostProbableNumbers(nullptr, state, archive));
    QCOMPARE(state.markedCount(), 50);
    QVERIFY(!state.modified);
}

QTEST_MAIN(StatisticsCommandsTest)
#include "test_statistics_commands.moc"
