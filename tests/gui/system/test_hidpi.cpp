// The windows on a high-density screen: two device pixels to each logical one.
#include "app/main_frame.h"
#include "gui/archive/number_distribution_dialog.h"
#include "gui/common/bevel_panel.h"
#include "gui/system/board.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/gui_helpers.h"

#include <QToolButton>
#include <QtTest>

using namespace quintor;

namespace {

// True when every 2 x 2 block of device pixels has one colour: the picture was doubled, not
// smeared by a smoothing scale.
bool doubledExactly(const QImage& image) {
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb c = image.pixel(x, y);
            if (image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c ||
                image.pixel(x + 1, y + 1) != c)
                return false;
        }
    return true;
}

} // namespace

class HiDpiTest : public QObject, test::SystemWindowFixture {
    Q_OBJECT
private slots:
    void init() { openSystemWindow(); }
    void cleanup() { closeSystemWindow(); }
    void boardClicksHitTheirNumbers();
    void picturesAreDrawnAtDeviceResolution();
};

void HiDpiTest::boardClicksHitTheirNumbers() {
    QCOMPARE(window_->devicePixelRatio(), 2.0);
    // The corners and the middle of the board, then a second click on one of them.
    for (int n : {1, 15, 46, 76, 90})
        test::clickNumber(window_, n);
    QCOMPARE(window_->state().markedNumbers(), (std::vector<int>{1, 15, 46, 76, 90}));
    test::clickNumber(window_, 46);
    QCOMPARE(window_->state().markedNumbers(), (std::vector<int>{1, 15, 76, 90}));
    // The frame round the board marks nothing, however near the last number (board units,
    // each taken at its middle).
    NumberBoard* board = test::board(window_);
    QTest::mouseClick(board, Qt::LeftButton, {}, board->widgetPoint(QPointF(134.5, 243.5)));
    QCOMPARE(window_->state().markedCount(), 4);
    QTest::mouseClick(board, Qt::LeftButton, {}, board->widgetPoint(QPointF(132.5, 241.5)));
    QCOMPARE(window_->state().markedCount(), 3);
}

void HiDpiTest::picturesAreDrawnAtDeviceResolution() {
    test::clickNumber(window_, 33);
    NumberBoard* board = test::board(window_);
    const QImage boardAtTwo = test::boardPicture(board);
    QCOMPARE(boardAtTwo.size(), board->size() * 2);
    // The board drawn at one device pixel to a logical one, then doubled, is not what a
    // high-density screen shows: there the outlines and digits have detail of their own.
    QImage atOne(board->size(), QImage::Format_RGB32);
    board->render(&atOne);
    QVERIFY(atOne.scaled(boardAtTwo.size()) != boardAtTwo);
    QVERIFY(!doubledExactly(boardAtTwo));
    // At both densities the mark is in the cell of 33 and nowhere else.
    QImage unmarkedAtOne(board->size(), QImage::Format_RGB32);
    NumberBoard blank;
    blank.resize(board->size());
    blank.render(&unmarkedAtOne);
    const QImage unmarkedAtTwo = test::unmarkedBoardPicture(board);
    for (const auto& [picture, unmarked] :
         {std::pair{atOne, unmarkedAtOne}, std::pair{boardAtTwo, unmarkedAtTwo}}) {
        const QRectF cell = board->cellOnWidget(33);
        const qreal ratio = picture.devicePixelRatio();
        const QRectF changed = QRectF(test::differenceBounds(picture, unmarked));
        QVERIFY(QRectF(cell.topLeft() * ratio, cell.size() * ratio)
                    .adjusted(-ratio, -ratio, ratio, ratio)
                    .contains(changed));
    }
    // The tiled background of a panel, inside its bevels: doubled, never smoothed.
    BevelPanel panel;
    panel.resize(100, 60);
    QVERIFY(doubledExactly(panel.grab(QRect(8, 8, 84, 44)).toImage()));

    // Outlines and text are drawn for the device: the tool icons and the chart have detail
    // finer than a logical pixel, which a doubled picture cannot have.
    QToolButton* button = window_->findChild<QToolButton*>(QStringLiteral("selectColumnsButton"));
    // An icon drawn at one density only is scaled up smoothly, which blurs it: the program's
    // own must differ from that.
    auto atTwo = [](const QIcon& icon) {
        return icon.pixmap(QSize(24, 24), 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
    };
    const QIcon drawnIcon = button->icon();
    const QIcon scaledIcon(drawnIcon.pixmap(QSize(24, 24), 1.0));
    QCOMPARE(atTwo(drawnIcon).size(), QSize(48, 48));
    QVERIFY(atTwo(drawnIcon) != atTwo(scaledIcon));
    const std::vector<Column> finals{{1, 2, 3, 4, 5, 6}, {1, 7, 8, 9, 10, 11}};
    NumberDistributionDialog chart(finals);
    chart.show();
    const QImage drawn = chart.grab().toImage();
    QCOMPARE(drawn.size(), chart.size() * 2);
    QVERIFY(!doubledExactly(drawn));
}

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    HiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_hidpi.moc"
