// The number board at the scale factor the run was started with: ctest runs this program at
// 100 %, 150 % and 200 % (QT_SCALE_FACTOR).
#include "app/main_frame.h"
#include "gui/system/board.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/gui_helpers.h"

#include <QMdiArea>
#include <QtTest>

using namespace quintor;

class BoardScalesTest : public QObject, test::SystemWindowFixture {
    Q_OBJECT
private slots:
    void init() { openSystemWindow(); }
    void cleanup() { closeSystemWindow(); }
    void cellCentresToggleTheirNumbers_data();
    void cellCentresToggleTheirNumbers();
    void digitsAreReadableOnAFullHdScreen();
};

void BoardScalesTest::cellCentresToggleTheirNumbers_data() {
    QTest::addColumn<QString>("zoom");
    QTest::addColumn<int>("steps");
    QTest::newRow("new window") << QString() << 0;
    QTest::newRow("zoomed in") << QStringLiteral("zoomInAction") << 1;
    QTest::newRow("zoomed in twice") << QStringLiteral("zoomInAction") << 2;
    QTest::newRow("zoomed out") << QStringLiteral("zoomOutAction") << 1;
}

void BoardScalesTest::cellCentresToggleTheirNumbers() {
    QFETCH(QString, zoom);
    QFETCH(int, steps);
    frame_->resize(1600, 1000);
    window_->onZoomResetTriggered();
    NumberBoard* board = test::board(window_);
    const QSize before = board->size();
    for (int k = 0; k < steps; ++k)
        QVERIFY(test::trigger(window_, zoom));
    if (steps > 0)
        QVERIFY(board->size() != before);
    QCOMPARE(board->size(), QSize(qRound(NumberBoard::boardWidth * window_->boardScale()),
                                  qRound(NumberBoard::boardHeight * window_->boardScale())));
    // A click that hit a neighbour would toggle it twice and leave it unmarked.
    for (int n = 1; n <= 90; ++n)
        test::clickNumber(window_, n);
    QCOMPARE(window_->state().markedCount(), 90);
    for (int n = 1; n <= 90; n += 2)
        test::clickNumber(window_, n);
    std::vector<int> even;
    for (int n = 2; n <= 90; n += 2)
        even.push_back(n);
    QCOMPARE(window_->state().markedNumbers(), even);
}

void BoardScalesTest::digitsAreReadableOnAFullHdScreen() {
    // The frame fills a 1920 x 1080 screen; the system window opens at its default size.
    const qreal ratio = frame_->devicePixelRatio();
    frame_->resize(QSize(qRound(1920 / ratio), qRound(1040 / ratio)));
    QVERIFY(test::trigger(frame_.get(), QStringLiteral("newAction")));
    NumberBoard* board = test::board(frame_->activeSystem());
    const QImage picture = test::boardPicture(board);
    const QRectF cell = board->cellOnWidget(8);
    const QRect pixels = QRectF(cell.topLeft() * ratio, cell.size() * ratio).toAlignedRect();
    // The rows of the cell of 8 that hold the digit's ink, mostly covered orange pixels.
    int top = pixels.bottom(), bottom = pixels.top();
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c.green() < 150 && c.red() > c.green() + 60) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    QVERIFY2(bottom - top + 1 >= 9,
             qPrintable(QStringLiteral("digits %1 pixels high").arg(bottom - top + 1)));
}

QTEST_MAIN(BoardScalesTest)
#include "test_board_scales.moc"
