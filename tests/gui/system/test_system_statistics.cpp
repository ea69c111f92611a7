// The statistics commands reached from a real system window: tool buttons and menu items open
// their windows on this system's columns and marks.
#include "app/main_frame.h"
#include "core/archive.h"
#include "gui/archive/number_count_dialog.h"
#include "gui/archive/winning_column_dialog.h"
#include "gui/common/feedback.h"
#include "gui/selection/winning_probability_dialog.h"
#include "gui/system/number_probability_dialog.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/gui_helpers.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace quintor;
using quintor::test::cyclicArchive;

namespace {

template <class Dialog, class Check> void whenModal(Check check) {
    QTimer::singleShot(0, [check] {
        QTRY_VERIFY(qobject_cast<Dialog*>(QApplication::activeModalWidget()) != nullptr);
        check(*qobject_cast<Dialog*>(QApplication::activeModalWidget()));
    });
}

} // namespace

class SystemStatisticsTest : public QObject, protected test::SystemWindowFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void probabilityFromTheToolButton();
    void comparisonFromTheToolButton();
    void numberCommandsCheckTheArchive();
    void editedProbabilitiesAreNotLostOnClose();
};

void SystemStatisticsTest::init() {
    openSystemWindow();
    QVERIFY(window_);
}

void SystemStatisticsTest::cleanup() {
    closeSystemWindow();
}

void SystemStatisticsTest::probabilityFromTheToolButton() {
    QToolButton* button = window_->button(QStringLiteral("winningProbabilityButton"));
    QVERIFY(button && button->isEnabled());
    const int beeps = beepCount();
    button->click(); // no final column
    QCOMPARE(beepCount(), beeps + 1);

    for (int n : {4, 8, 15, 16, 23, 42})
        test::clickNumber(window_, n);
    window_->state().finalColumns = {{4, 8, 15, 16, 23, 42}};
    window_->refreshSystemView();
    bool seen = false;
    whenModal<WinningProbabilityDialog>([&seen](WinningProbabilityDialog& window) {
        QTRY_VERIFY(window.finished());
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("sixPointsValue"))->text(),
                 QStringLiteral("100.00 %"));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("totalValue"))->text(),
                 QStringLiteral("100.00 %"));
        seen = true;
        window.findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
    });
    button->click();
    QVERIFY(seen);
    QCOMPARE(window_->state().finalColumns.size(), std::size_t{1});
}

void SystemStatisticsTest::comparisonFromTheToolButton() {
    window_->state().finalColumns = {{5, 12, 33, 45, 67, 89}, {1, 2, 3, 4, 6, 7}};
    window_->refreshSystemView();
    bool seen = false;
    whenModal<WinningColumnDialog>([&seen](WinningColumnDialog& dialog) {
        QTest::keyClicks(test::child<QLineEdit>(&dialog, "winningColumnField"),
                         QStringLiteral("5 12 33 45 67 89"));
        QCOMPARE(dialog.counterLabel(6)->text(), QStringLiteral("1"));
        QCOMPARE(dialog.counterLabel(0)->text(), QStringLiteral("1"));
        QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("jollyWarningLabel"))->isVisible());
        seen = true;
        dialog.findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
    });
    window_->button(QStringLiteral("compareColumnsButton"))->click();
    QVERIFY(seen);
}

void SystemStatisticsTest::numberCommandsCheckTheArchive() {
    test::clickNumber(window_, 40);
    window_->state().modified = false;
    window_->context().archive() = cyclicArchive(300);
    QVERIFY(test::trigger(window_, QStringLiteral("addMostProbableAction")));
    QVERIFY(test::trigger(window_, QStringLiteral("removeLeastProbableAction")));
    QCOMPARE(prompter_->questions().size(), 2);
    QCOMPARE(prompter_->questions()[0].text,
             QStringLiteral("Per questa funzione è neccessario un archivio con\ralmeno 301 colonne "
                            "vincenti."));
    QCOMPARE(window_->state().markedCount(), 1);

    window_->context().archive() = cyclicArchive(301);
    whenModal<NumberCountDialog>([](NumberCountDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("countField"))->setText(QStringLiteral("3"));
        dialog.findChild<QPushButton*>(QStringLiteral("applyButton"))->click();
    });
    QVERIFY(test::trigger(window_, QStringLiteral("addMostProbableAction")));
    QCOMPARE(window_->state().markedCount(), 4);
    QVERIFY(window_->state().modified);
    // the display follows: the count of marked numbers
    QCOMPARE(test::labelText(window_, QStringLiteral("markedCountLabel")), QStringLiteral("4"));
}

void SystemStatisticsTest::editedProbabilitiesAreNotLostOnClose() {
    test::clickNumber(window_, 40);
    window_->state().modified = false;
    whenModal<NumberProbabilityDialog>([](NumberProbabilityDialog& editor) {
        test::child<QTableWidget>(&editor, "probabilityTable")
            ->item(1, 1)
            ->setText(QStringLiteral("75"));
        test::child<QPushButton>(&editor, "applyButton")->click();
    });
    QVERIFY(test::trigger(window_, QStringLiteral("numberProbabilitiesAction")));
    QCOMPARE(window_->state().probabilities[40].value(), 75.0L);
    // otherwise closing the window would drop the new values without asking
    QVERIFY(window_->state().modified);
}

QTEST_MAIN(SystemStatisticsTest)
#include "test_system_statistics.moc"
