// The comparison dialog with the view-columns window, the distribution chart, the number
// probabilities editor and the count dialog, driven through their controls.
#include "gui/archive/number_count_dialog.h"
#include "gui/archive/number_distribution_dialog.h"
#include "gui/archive/winning_column_dialog.h"
#include "gui/common/column_list_window.h"
#include "gui/common/feedback.h"
#include "gui/system/number_probability_dialog.h"
#include "tests/gui/support/gui_helpers.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace quintor;

class StatisticsDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void comparisonOfATypedFinalColumn();
    void comparisonOfPartialAndRejectedTexts();
    void distributionBarsOnTheGrabbedImage();
    void probabilitiesEditorGrammarAndPartialApply();
    void countDialogCriteriaAndCount();
};

namespace {

QString counters(const WinningColumnDialog& dialog) {
    QStringList values;
    for (int m = 0; m <= 6; ++m)
        values << dialog.counterLabel(m)->text();
    return values.join(QLatin1Char(' '));
}

bool shown(const QWidget& window, const char* name) {
    auto* widget = window.findChild<QWidget*>(QString::fromLatin1(name));
    return widget && widget->isVisible();
}

} // namespace

void StatisticsDialogsTest::comparisonOfATypedFinalColumn() {
    const std::vector<Column> finals{
        {5, 12, 33, 45, 67, 89}, {1, 2, 3, 4, 6, 7}, {5, 12, 33, 1, 2, 3}};
    ColumnListWindow columnList;
    columnList.addLine(QStringLiteral("left over from a previous caller"));
    WinningColumnDialog dialog(finals, columnList);
    dialog.show();
    QCOMPARE(columnList.windowTitle(), QStringLiteral("Colonne vincenti"));
    QVERIFY(!shown(dialog, "jollyWarningLabel"));
    QVERIFY(!shown(dialog, "showColumnsButton"));
    QCOMPARE(counters(dialog), QStringLiteral("0 0 0 0 0 0 0"));

    const int beeps = beepCount();
    QTest::keyClicks(test::child<QLineEdit>(&dialog, "winningColumnField"),
                     QStringLiteral("5 12 33 45 67 89"));
    QCOMPARE(beepCount(), beeps);
    QCOMPARE(counters(dialog), QStringLiteral("1 0 0 1 0 0 1"));
    QCOMPARE(dialog.counterLabel(6)->toolTip(), QStringLiteral("1"));
    QVERIFY(shown(dialog, "jollyWarningLabel"));
    QVERIFY(shown(dialog, "showColumnsButton"));
    QCOMPARE(columnList.lines(), (QStringList{QStringLiteral("6)  5 12 33 45 67 89"),
                                              QStringLiteral("3)  5 12 33  1  2  3")}));

    // the view-columns window opens modally with those lines
    QTimer::singleShot(0, [&columnList] {
        QTRY_VERIFY(columnList.isVisible());
        QTest::keyClick(&columnList, Qt::Key_Escape);
    });
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("showColumnsButton")),
                      Qt::LeftButton);
    QVERIFY(!columnList.isVisible());
    QCOMPARE(test::child<QListWidget>(&columnList, "columnList")->count(), 2);
}

void StatisticsDialogsTest::comparisonOfPartialAndRejectedTexts() {
    const std::vector<Column> finals{{5, 12, 33, 45, 67, 89}, {12, 3, 40, 50, 60, 70}};
    ColumnListWindow list;
    WinningColumnDialog dialog(finals, list);
    dialog.show();

    test::child<QLineEdit>(&dialog, "winningColumnField")->setText(QStringLiteral("5 12 33"));
    QCOMPARE(counters(dialog), QStringLiteral("0 1 0 1 0 0 0"));
    QVERIFY(!shown(dialog, "jollyWarningLabel"));
    QVERIFY(shown(dialog, "showColumnsButton"));

    // 91 and 0 beep and end the reading; what came before still counts
    int beeps = beepCount();
    test::child<QLineEdit>(&dialog, "winningColumnField")->setText(QStringLiteral("5 12 91 33"));
    QCOMPARE(beepCount(), beeps + 1);
    QCOMPARE(counters(dialog), QStringLiteral("0 1 1 0 0 0 0"));
    beeps = beepCount();
    test::child<QLineEdit>(&dialog, "winningColumnField")->setText(QStringLiteral("0 5"));
    QCOMPARE(beepCount(), beeps + 1);
    QCOMPARE(counters(dialog), QStringLiteral("2 0 0 0 0 0 0"));
    QVERIFY(!shown(dialog, "showColumnsButton"));
    QVERIFY(list.lines().isEmpty());

    // "123" is 12 and 3
    test::child<QLineEdit>(&dialog, "winningColumnField")->setText(QStringLiteral("123"));
    QCOMPARE(counters(dialog), QStringLiteral("0 1 1 0 0 0 0"));

    // five of six: the jolly warning
    test::child<QLineEdit>(&dialog, "winningColumnField")
        ->setText(QStringLiteral("5 12 33 45 67 1"));
    QVERIFY(shown(dialog, "jollyWarningLabel"));
    // On one line, clear of the close button.
    const auto* warning = dialog.findChild<QLabel*>(QStringLiteral("jollyWarningLabel"));
    QVERIFY(!warning->wordWrap());
    QVERIFY(warning->fontMetrics().horizontalAdvance(warning->text()) <=
            warning->contentsRect().width() - warning->indent());
    QVERIFY(!warning->geometry().intersects(
        dialog.findChild<QPushButton*>(QStringLiteral("closeButton"))->geometry()));
    QCOMPARE(list.lines(), QStringList{QStringLiteral("5)  5 12 33 45 67 89")});

    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("closeButton")),
                      Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

void StatisticsDialogsTest::distributionBarsOnTheGrabbedImage() {
    std::vector<Column> finals;
    int next = 8;
    for (int c = 0; c < 10; ++c) {
        Column column{7};
        for (std::size_t k = 1; k < 6; ++k)
            column[k] = static_cast<std::uint8_t>(next++);
        finals.push_back(column);
    }
    NumberDistributionDialog window(finals);
    window.show();
    QVERIFY(window.countsReady());
    const QImage image = window.grab().toImage();
    const QColor outline(0, 128, 0);
    const QColor inside(0, 255, 0);
    auto barHeight = [&](int number) {
        const int x = 5 * number + 11;
        int height = 0;
        for (int y = 256; y >= 0 && QColor(image.pixel(x, y)) == outline; --y)
            ++height;
        return height;
    };
    QCOMPARE(barHeight(7), 245);
    QCOMPARE(barHeight(8), 24);
    QCOMPARE(barHeight(57), 24);
    QCOMPARE(barHeight(58), 0); // held by no column
    // three pixels wide, filled inside, nothing at the fourth column or on the axis line
    QCOMPARE(QColor(image.pixel(5 * 7 + 12, 200)), inside);
    QCOMPARE(QColor(image.pixel(5 * 7 + 13, 200)), outline);
    QVERIFY(QColor(image.pixel(5 * 7 + 14, 200)) != outline);
    QCOMPARE(QColor(image.pixel(100, 257)), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(10, 100)), QColor(Qt::black));
    // long tick under 1 (its label, drawn on silver, covers the tick's lowest pixels), one
    // pixel under 2
    QCOMPARE(QColor(image.pixel(17, 259)), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(22, 258)), QColor(Qt::black));
    QVERIFY(QColor(image.pixel(22, 259)) != QColor(Qt::black));
    // The same figures reach assistive tools as text: 7 in all ten columns, 8 to 57 once each.
    QStringList expected{QStringLiteral("7: 10")};
    for (int n = 8; n <= 57; ++n)
        expected << QStringLiteral("%1: 1").arg(n);
    QCOMPARE(window.accessibleDescription(),
             QStringLiteral("Colonne finali che contengono ciascun numero: %1.")
                 .arg(expected.join(QStringLiteral(", "))));
}

void StatisticsDialogsTest::probabilitiesEditorGrammarAndPartialApply() {
    test::ScriptedPrompter prompter;
    std::array<std::uint8_t, boardSize + 1> marked{};
    for (int n : {3, 10, 20})
        marked[static_cast<std::size_t>(n)] = 1;
    auto probabilities = SystemState::allFifty();
    probabilities[10] = Real48::fromValue(100);

    NumberProbabilityDialog editor(marked, probabilities);
    QTableWidget* grid = test::child<QTableWidget>(&editor, "probabilityTable");
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Numero"));
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Probabilità"));
    QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("3"));
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("50.00000"));
    QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("100.00000"));

    const QString message = QStringLiteral(
        "Errore leggendo le probabilità !\rAlcuni valori inseriti non sono numerici.\rCorreggere "
        "e riprovare.");
    for (const QString& bad : {QStringLiteral("100.5"), QStringLiteral("-1"),
                               QStringLiteral("50,5"), QStringLiteral("50 "), QString()}) {
        editor.show();
        prompter.clear();
        grid->item(1, 1)->setText(QStringLiteral("75"));
        grid->item(2, 1)->setText(QStringLiteral("0"));
        grid->item(3, 1)->setText(bad);
        QTest::mouseClick(editor.findChild<QPushButton*>(QStringLiteral("applyButton")),
                          Qt::LeftButton);
        QCOMPARE(prompter.questions().size(), 1);
        QCOMPARE(prompter.questions()[0].title, QStringLiteral("Errore !"));
        QCOMPARE(prompter.lastText(), message);
        QVERIFY2(editor.isVisible(), qPrintable(bad));
        // the rows before the bad one are already stored
        QCOMPARE(probabilities[3].value(), 75.0L);
        QCOMPARE(probabilities[10].value(), 0.0L);
        QCOMPARE(probabilities[20].value(), 50.0L);
    }
    grid->item(3, 1)->setText(QStringLiteral("100"));
    prompter.clear();
    QTest::mouseClick(editor.findChild<QPushButton*>(QStringLiteral("applyButton")),
                      Qt::LeftButton);
    QVERIFY(prompter.questions().isEmpty());
    QVERIFY(!editor.isVisible());
    QCOMPARE(probabilities[20].value(), 100.0L);
}

void StatisticsDialogsTest::countDialogCriteriaAndCount() {
    {
        NumberCountDialog dialog;
        dialog.show();
        auto* delays = dialog.findChild<QCheckBox*>(QStringLiteral("delaysCheck"));
        auto* frequencies = dialog.findChild<QCheckBox*>(QStringLiteral("frequenciesCheck"));
        QVERIFY(delays->isChecked());
        QVERIFY(!frequencies->isChecked());
        QTest::mouseClick(delays, Qt::LeftButton);
        QVERIFY(!delays->isChecked());
        QVERIFY(frequencies->isChecked()); // one criterion always stays
        QTest::mouseClick(frequencies, Qt::LeftButton);
        QVERIFY(delays->isChecked());
        QVERIFY(!frequencies->isChecked());

        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("countField"));
        edit->setText(QStringLiteral("  12abc"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("applyButton")),
                          Qt::LeftButton);
        QCOMPARE(dialog.count(), 12);
        QVERIFY(dialog.criteria().delays);
    }
    {
        NumberCountDialog dialog;
        dialog.setForRemoving();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Togli numeri meno probabili"));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("promptLabel"))->text(),
                 QStringLiteral("Nº di segni da eliminare:"));
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("applyButton"))->text(),
                 QStringLiteral("Elimina"));
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cancelButton")),
                          Qt::LeftButton);
        QCOMPARE(dialog.count(), 0);
    }
    QCOMPARE(NumberCountDialog::leadingInteger(QStringLiteral("abc")), 0);
    QCOMPARE(NumberCountDialog::leadingInteger(QStringLiteral(" -3x")), -3);
    QCOMPARE(NumberCountDialog::leadingInteger(QStringLiteral("+7 8")), 7);
}

QTEST_MAIN(StatisticsDialogsTest)
#include "test_statistics_dialogs.moc"
