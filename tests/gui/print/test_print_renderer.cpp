// The page renderer on an image: marks where the geometry puts them, the label only when
// asked, and the faces measured are the faces drawn.
#include "core/slip_layout.h"
#include "render/pdf_file.h"
#include "render/print_renderer.h"
#include "tests/gui/support/pdf_marks.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace quintor;

namespace {

QImage paintedPage(const SlipPicture& picture, QSize size) {
    QImage image(size, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintSlip(painter, picture);
    return image;
}

bool dark(const QImage& image, long long x, long long y) {
    return qGray(image.pixel(int(x), int(y))) < 100;
}

int darkPixels(const QImage& image, QRect area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += dark(image, x, y);
    return count;
}

} // namespace

class PrintRendererTest : public QObject {
    Q_OBJECT
private slots:
    void marksFallOnTheirSquares();
    void theLabelOnlyWhenAsked();
    void facesMeasuredAreFacesDrawn();
    void previewBoxesAreFaintAndBeneathTheMarks();
    void calibrationCrossesStandWhereTheirLabelsSay();
};

void PrintRendererTest::marksFallOnTheirSquares() {
    const QSize size(1200, 1650);
    const PageSize page{1200, 1650};
    const LayoutValues values = LayoutValues::defaults();
    const std::vector<Column> columns{{1, 7, 20, 44, 77, 90}, {6, 21, 35, 49, 63, 76}};
    for (SlipLayout layout : {SlipLayout::vertical, SlipLayout::horizontal}) {
        const SlipPicture picture = slipPicture(layout, values, page, columns, 1, false);
        const QImage image = paintedPage(picture, size);
        QCOMPARE(picture.plan.marks.size(), std::size_t{12});
        int inside = 0;
        for (const SlipMark& mark : picture.plan.marks) {
            const MarkRect& r = mark.rect;
            const long long cx = (r.x1 + r.x2) / 2;
            const long long cy = (r.y1 + r.y2) / 2;
            QVERIFY2(dark(image, cx, cy), qPrintable(QStringLiteral("number %1").arg(mark.number)));
            // Nothing dark just outside the square.
            QVERIFY(!dark(image, r.x1 - 2, cy) && !dark(image, r.x2 + 2, cy));
            QVERIFY(!dark(image, cx, r.y1 - 2) && !dark(image, cx, r.y2 + 2));
            inside += darkPixels(image,
                                 QRect(QPoint(int(r.x1), int(r.y1)), QPoint(int(r.x2), int(r.y2))));
        }
        // Every dark pixel of the page belongs to a mark.
        QCOMPARE(darkPixels(image, image.rect()), inside);
    }
}

void PrintRendererTest::theLabelOnlyWhenAsked() {
    const QSize size(1200, 1650);
    const PageSize page{1200, 1650};
    const LayoutValues values = LayoutValues::defaults();
    const std::vector<Column> columns{{1, 2, 3, 4, 5, 6}};
    const QRect corner(0, 0, 100, 100); // above the first row of marks
    QCOMPARE(
        darkPixels(
            paintedPage(slipPicture(SlipLayout::vertical, values, page, columns, 1, false), size),
            corner),
        0);
    const QImage labelled =
        paintedPage(slipPicture(SlipLayout::vertical, values, page, columns, 1, true), size);
    QVERIFY(darkPixels(labelled, corner) > 20);
    // The label stands about number size x page height (0.016 x 1650 = 26 units) high.
    int lowest = 0;
    for (int y = 0; y < 100; ++y)
        if (darkPixels(labelled, QRect(0, y, 100, 1)) > 0)
            lowest = y;
    QVERIFY2(lowest > 10 && lowest < 30, qPrintable(QString::number(lowest)));

    const SlipPicture test = testSlipPicture(SlipLayout::vertical, values, page);
    QCOMPARE(test.label, std::string("1ª"));
    QVERIFY(darkPixels(paintedPage(test, size), corner) > 20);
    QVERIFY(testSlipPicture(SlipLayout::horizontal, values, page).label.empty());
}

void PrintRendererTest::facesMeasuredAreFacesDrawn() {
    QTemporaryDir dir;
    QPdfWriter writer(dir.filePath(QStringLiteral("facce.pdf")));
    writer.setResolution(600);
    QPainter painter(&writer);
    painter.setFont(slipLabelFont());
    QCOMPARE(painter.fontInfo().family(), QStringLiteral("Liberation Sans"));
    QVERIFY(!painter.fontInfo().fixedPitch());
    painter.setFont(listingFont());
    QCOMPARE(painter.fontInfo().family(), QStringLiteral("Liberation Mono"));
    QVERIFY(painter.fontInfo().fixedPitch());

    // The measure used for the layout agrees with the painter's own metrics on the device.
    DeviceTextMeasure measure(listingFont(), &writer);
    measure.setPointSize(16);
    QFont drawn = listingFont();
    drawn.setPointSize(16);
    painter.setFont(drawn);
    const std::string reference = listingReferenceLine();
    QCOMPARE(measure.textWidth(reference),
             (long long)painter.fontMetrics().horizontalAdvance(QString::fromStdString(reference)));
    QCOMPARE(measure.textHeight("Hg"), (long long)painter.fontMetrics().height());
}

void PrintRendererTest::previewBoxesAreFaintAndBeneathTheMarks() {
    const QSize size(1200, 1650);
    const PageSize page{1200, 1650};
    const LayoutValues values = LayoutValues::defaults();
    const std::vector<Column> columns{{1, 7, 20, 44, 77, 90}};
    SlipPicture picture = slipPicture(SlipLayout::vertical, values, page, columns, 1, false);
    picture.boxes = slipBoxes(SlipLayout::vertical, values, page);
    QCOMPARE(picture.boxes.size(), std::size_t{450});
    const QImage image = paintedPage(picture, size);
    // The marks stay whole and black over their boxes; an unmarked box shows faintly, and
    // nothing of the boxes is dark enough to pass for a mark.
    int inside = 0;
    for (const SlipMark& mark : picture.plan.marks) {
        const MarkRect& r = mark.rect;
        QVERIFY(dark(image, (r.x1 + r.x2) / 2, (r.y1 + r.y2) / 2));
        inside +=
            darkPixels(image, QRect(QPoint(int(r.x1), int(r.y1)), QPoint(int(r.x2), int(r.y2))));
    }
    QCOMPARE(darkPixels(image, image.rect()), inside);
    const MarkRect& unmarked = picture.boxes[1].rect; // number 2 of slip column 1
    int faint = 0;
    for (int x = int(unmarked.x1) - 1; x <= int(unmarked.x2) + 1; ++x)
        faint += qGray(image.pixel(x, int((unmarked.y1 + unmarked.y2) / 2))) < 250;
    QVERIFY(faint > 0);
}

void PrintRendererTest::calibrationCrossesStandWhereTheirLabelsSay() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("taratura.pdf"));
    const QSizeF a4(210, 297);
    QVERIFY(writePdfFile(file.toStdString(),
                         QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()),
                         600, [&](QPainter& painter, QPdfWriter&) {
                             paintCalibrationPage(painter, a4);
                             return true;
                         }) == PdfOutcome::written);
    const auto found = test::markCentresMillimetres(file);
    for (const QPointF& cross : calibrationCrossesMillimetres(a4)) {
        double nearest = 1e9;
        for (const QPointF& centre : found)
            nearest = std::min(nearest, std::hypot(centre.x() - cross.x(), centre.y() - cross.y()));
        QVERIFY2(
            nearest < 0.1,
            qPrintable(QStringLiteral("%1, %2: %3 mm").arg(cross.x()).arg(cross.y()).arg(nearest)));
    }
}

QTEST_MAIN(PrintRendererTest)
#include "test_print_renderer.moc"
