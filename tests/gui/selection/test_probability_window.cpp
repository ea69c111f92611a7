// The probability window counting on its worker thread: final values, the stop question,
// and the window staying live while it counts.
#include "core/combinatorics.h"
#include "gui/common/prompter.h"
#include "gui/selection/winning_probability_dialog.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

using namespace quintor;

namespace {

std::array<std::uint8_t, boardSize + 1> marksOf(const std::vector<int>& numbers) {
    std::array<std::uint8_t, boardSize + 1> marked{};
    for (int n : numbers)
        marked[static_cast<std::size_t>(n)] = 1;
    return marked;
}

std::vector<int> range(int first, int last) {
    std::vector<int> numbers;
    for (int n = first; n <= last; ++n)
        numbers.push_back(n);
    return numbers;
}

QString text(const QDialog& window, const char* name) {
    auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

bool visible(const QDialog& window, const char* name) {
    auto* widget = window.findChild<QWidget*>(QString::fromLatin1(name));
    return widget && widget->isVisible();
}

// Final columns spread over the numbers 1..spread.
std::vector<Column> spreadFinals(int count, int spread = 60) {
    std::vector<Column> finals;
    for (int i = 0; i < count; ++i) {
        Column column;
        for (std::size_t k = 0; k < 6; ++k)
            column[k] = static_cast<std::uint8_t>(1 + (i * 7 + static_cast<int>(k) * 11) % spread);
        finals.push_back(column);
    }
    return finals;
}

} // namespace

class ProbabilityWindowTest : public QObject {
    Q_OBJECT
private slots:
    void sixNumbersWinAtTheirBestMatch();
    void allInitialColumnsAsFinalColumns();
    void tooFewNumbersShowZero();
    void stopWithYesKeepsTheCountsAndTheProjection();
    void stopWithNoGoesOnToTheEnd();
    void staysLiveWhileCounting();
};

void ProbabilityWindowTest::sixNumbersWinAtTheirBestMatch() {
    const std::vector<Column> finals{{4, 8, 15, 16, 23, 90}};
    WinningProbabilityDialog window(finals, marksOf({4, 8, 15, 16, 23, 42}));
    window.show();
    QTRY_VERIFY(window.finished());
    QCOMPARE(text(window, "fivePointsValue"), QStringLiteral("100.00 %")); // 5 matches
    QCOMPARE(text(window, "sixPointsValue"), QStringLiteral("0.00 %"));
    QCOMPARE(text(window, "threePointsValue"), QStringLiteral("0.00 %"));
    QCOMPARE(text(window, "totalValue"), QStringLiteral("100.00 %"));
    QVERIFY(!visible(window, "projectionCaption"));
    QVERIFY(!visible(window, "projectionValue"));
    QVERIFY(!visible(window, "stopButton"));
    QVERIFY(visible(window, "closeButton"));
    QCOMPARE(window.findChild<QProgressBar*>(QStringLiteral("progressBar"))->value(), 100);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("closeButton")),
                      Qt::LeftButton);
    QVERIFY(!window.isVisible());
}

void ProbabilityWindowTest::allInitialColumnsAsFinalColumns() {
    const std::vector<int> numbers{2, 9, 17, 33, 41, 58, 77, 86};
    std::vector<Column> finals;
    std::array<int, 6> idx{0, 1, 2, 3, 4, 5};
    for (;;) {
        Column column;
        for (std::size_t k = 0; k < 6; ++k)
            column[k] = static_cast<std::uint8_t>(numbers[static_cast<std::size_t>(idx[k])]);
        finals.push_back(column);
        int k = 5;
        while (k >= 0 && idx[static_cast<std::size_t>(k)] == 2 + k)
            --k;
        if (k < 0)
            break;
        ++idx[static_cast<std::size_t>(k)];
        for (int i = k + 1; i < 6; ++i)
            idx[static_cast<std::size_t>(i)] = idx[static_cast<std::size_t>(i) - 1] + 1;
    }
    QCOMPARE(finals.size(), std::size_t{28});
    WinningProbabilityDialog window(finals, marksOf(numbers));
    window.show();
    QTRY_VERIFY(window.finished());
    QCOMPARE(text(window, "sixPointsValue"), QStringLiteral("100.00 %"));
    QCOMPARE(text(window, "totalValue"), QStringLiteral("100.00 %"));
    QCOMPARE(text(window, "fivePointsValue"), QStringLiteral("0.00 %"));
}

void ProbabilityWindowTest::tooFewNumbersShowZero() {
    const std::vector<Column> finals{{1, 2, 3, 4, 5, 6}};
    WinningProbabilityDialog window(finals, marksOf({1, 2, 3}));
    window.show();
    QTRY_VERIFY(window.finished());
    for (const char* name :
         {"threePointsValue", "fourPointsValue", "fivePointsValue", "sixPointsValue", "totalValue"})
        QCOMPARE(text(window, name), QStringLiteral("0.00 %"));
    QVERIFY(visible(window, "closeButton"));
}

void ProbabilityWindowTest::stopWithYesKeepsTheCountsAndTheProjection() {
    test::ScriptedPrompter prompter;
    prompter.answer(QMessageBox::Yes);
    // 622 million initial columns: seconds of counting even on an idle machine
    const auto finals = spreadFinals(300);
    WinningProbabilityDialog window(finals, marksOf(range(1, 90)));
    window.show();
    QTest::qWait(300);
    QVERIFY(!window.finished());
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("stopButton")), Qt::LeftButton);
    QTRY_VERIFY(window.finished());
    QVERIFY(window.stoppedByUser());

    const auto questions = prompter.questions();
    QCOMPARE(questions.size(), 1);
    QCOMPARE(questions[0].title, QStringLiteral("Attenzione"));
    QCOMPARE(questions[0].text,
             QStringLiteral("Sei sicuro di voler interrompere l'elaborazione ?"));
    QCOMPARE(questions[0].defaultButton, QMessageBox::No);

    QVERIFY(visible(window, "projectionCaption"));
    QVERIFY(visible(window, "projectionValue"));
    QVERIFY(text(window, "projectionValue").endsWith(QStringLiteral(" %")));
    QCOMPARE(window.findChild<QProgressBar*>(QStringLiteral("progressBar"))->value(), 100);
    // partial counts over all T: well below the whole run's total, which is 100 % here
    const double total = text(window, "totalValue").section(QLatin1Char(' '), 0, 0).toDouble();
    QVERIFY2(total < 50.0, qPrintable(text(window, "totalValue")));
}

void ProbabilityWindowTest::stopWithNoGoesOnToTheEnd() {
    test::ScriptedPrompter prompter;
    prompter.answer(QMessageBox::No);
    const std::vector<int> numbers = range(1, 30);
    const auto finals = spreadFinals(300);
    WinningProbabilityDialog window(finals, marksOf(numbers));
    window.show();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("stopButton")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(window.finished(), 20000);
    QVERIFY(!window.stoppedByUser());
    QVERIFY(!visible(window, "projectionValue"));
    const auto whole = countBestMatches(numbers, finals);
    const auto expected = probabilityTexts(whole, initialColumnCount(30));
    QCOMPARE(text(window, "totalValue"), QString::fromStdString(expected.total));
}

void ProbabilityWindowTest::staysLiveWhileCounting() {
    test::ScriptedPrompter prompter;
    prompter.answer(QMessageBox::Yes);
    // 622 million initial columns: several seconds of counting (how live it stays, in time, is
    // bench/bench_gui_probability_window)
    const auto finals = spreadFinals(1000, 90);
    WinningProbabilityDialog window(finals, marksOf(range(1, 90)));
    window.show();
    auto* gauge = window.findChild<QProgressBar*>(QStringLiteral("progressBar"));
    auto* projection = window.findChild<QLabel*>(QStringLiteral("projectionValue"));
    // the counts so far reach the window while the worker counts
    QTRY_VERIFY(projection->isVisible() && !projection->text().isEmpty());
    const QString first = projection->text();
    QTRY_VERIFY(projection->text() != first);
    // the gauge moves by whole hundredths: on a slow build the projection changes first
    QTRY_VERIFY_WITH_TIMEOUT(gauge->value() > 0, 20000);
    QVERIFY(!window.finished());
    QVERIFY(gauge->value() < 100);

    // a click goes through the event loop to the question while the count runs
    QTimer::singleShot(0, window.findChild<QPushButton*>(QStringLiteral("stopButton")),
                       &QPushButton::click);
    QTRY_COMPARE(prompter.questions().size(), 1);
    QTRY_VERIFY(window.finished());
    QVERIFY(window.stoppedByUser());
}

QTEST_MAIN(ProbabilityWindowTest)
#include "test_probability_window.moc"
