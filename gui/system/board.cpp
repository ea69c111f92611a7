#include "gui/system/board.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace quintor {

namespace {

const QColor borderOrange(255, 128, 64);
const QColor frameOrange(255, 190, 150);
// Darker than the border: thin orange digits on white are hard to read.
const QColor digitOrange(200, 80, 10);
const QColor markFace(192, 192, 192);
const QColor markShade(128, 128, 128);

// In board units: the number frames are 10 x 7, their digits five high as the layout has
// always had them.
constexpr qreal digitHeight = 5.0;
constexpr qreal frameRadius = 1.5;
constexpr qreal columnWidth = NumberBoard::boardWidth / 6.0;
constexpr qreal rowHeight = NumberBoard::boardHeight / 15.0;

// The frame of a cell: the line runs through the middle of the cell's outer units.
QRectF frameOf(const QRect& cell) {
    return QRectF(cell).adjusted(0.5, 0.5, -0.5, -0.5);
}

// A raised key over the number: a grey face with a thin dark outline and a shadow below and to
// the right, leaving the digits clear on the face, so a marked number stands out at a glance
// and still reads.
void paintMark(QPainter& painter, const QRect& cell) {
    const QRectF frame = frameOf(cell);
    painter.setPen(Qt::NoPen);
    painter.setBrush(markShade);
    // Within the cell: the frame leaves half a unit to the cell's edge.
    painter.drawRoundedRect(frame.translated(0.45, 0.45), frameRadius, frameRadius);
    painter.setPen(QPen(Qt::black, 0.6));
    painter.setBrush(markFace);
    painter.drawRoundedRect(frame, frameRadius, frameRadius);
    painter.setBrush(Qt::NoBrush);
}

} // namespace

NumberBoard::NumberBoard(QWidget* parent) : QWidget(parent) {
    setMinimumSize(boardWidth, boardHeight);
    resize(boardWidth, boardHeight);
    setFocusPolicy(Qt::StrongFocus);
    announceFocus();
}

QRect NumberBoard::markCell(int n) {
    const int col = (n - 1) / 15;
    const int row = (n - 1) % 15;
    return {22 * col + 8, 16 * row + 7, 10, 7};
}

QPointF NumberBoard::cellCentre(int n) {
    return QRectF(markCell(n)).center();
}

qreal NumberBoard::scale() const {
    return std::min(width() / qreal(boardWidth), height() / qreal(boardHeight));
}

QTransform NumberBoard::boardToWidget() const {
    const qreal s = scale();
    // Whole pixels of margin, so the board's edges fall on pixel edges.
    const qreal left = std::floor((width() - boardWidth * s) / 2);
    const qreal top = std::floor((height() - boardHeight * s) / 2);
    return QTransform(s, 0, 0, s, left, top);
}

QPoint NumberBoard::widgetPoint(QPointF p) const {
    const QPointF at = boardToWidget().map(p);
    return {int(std::floor(at.x())), int(std::floor(at.y()))};
}

QRectF NumberBoard::cellOnWidget(int n) const {
    return boardToWidget().mapRect(QRectF(markCell(n)));
}

QRectF NumberBoard::numberCell(int n) {
    const int col = (n - 1) / 15;
    const int row = (n - 1) % 15;
    return {col * columnWidth + 1, row * rowHeight + 1, columnWidth - 2, rowHeight - 2};
}

void NumberBoard::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QTransform toWidget = boardToWidget();
    painter.setTransform(toWidget);
    painter.fillRect(QRectF(0, 0, boardWidth, boardHeight), Qt::white);
    // A border two units wide round the whole board.
    painter.setPen(QPen(borderOrange, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(1, 1, boardWidth - 2, boardHeight - 2));
    for (int n = 1; n <= 90; ++n) {
        if (isMarked(n)) {
            paintMark(painter, markCell(n));
        } else {
            painter.setPen(QPen(frameOrange, 1.0));
            painter.drawRoundedRect(frameOf(markCell(n)), frameRadius, frameRadius);
        }
    }
    // The digits are laid out in device pixels, where the font is hinted for the size it is
    // shown at.
    painter.resetTransform();
    for (int n = 1; n <= 90; ++n)
        paintNumber(painter, n);
    if (hasFocus()) {
        const qreal s = scale();
        QPen pen(Qt::blue, std::max(1.0, std::round(s / 1.5)), Qt::DotLine);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawRect(toWidget.mapRect(numberCell(focused_)));
    }
}

void NumberBoard::paintNumber(QPainter& painter, int n) const {
    const qreal s = scale();
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    // The digits' height fixes the font's size; two of them, narrowed a little, fit the frame.
    font.setPixelSize(std::max(1, int(std::lround(digitHeight * s / 0.716))));
    font.setStretch(90);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const QString text = QString::number(n);
    const QRectF cell = cellOnWidget(n);
    const qreal baseline = cell.center().y() + metrics.capHeight() / 2;
    const qreal left = cell.center().x() - metrics.horizontalAdvance(text) / 2;
    painter.setPen(isMarked(n) ? QColor(Qt::black) : digitOrange);
    painter.drawText(QPointF(left, std::round(baseline)), text);
}

void NumberBoard::updateBoardRect(const QRectF& rect) {
    update(boardToWidget().mapRect(rect).toAlignedRect().adjusted(-2, -2, 2, 2));
}

void NumberBoard::setMarked(int n, bool marked) {
    if (n < 1 || n > 90)
        return;
    marked_[std::size_t(n)] = marked;
    updateBoardRect(QRectF(markCell(n)));
    if (n == focused_)
        announceFocus();
}

void NumberBoard::drawMark(int n) {
    setMarked(n, true);
}

void NumberBoard::eraseMark(int n) {
    setMarked(n, false);
}

void NumberBoard::keyPressEvent(QKeyEvent* event) {
    const int row = (focused_ - 1) % 15;
    const int col = (focused_ - 1) / 15;
    int next = focused_;
    switch (event->key()) {
    case Qt::Key_Up:
        next = row > 0 ? focused_ - 1 : focused_;
        break;
    case Qt::Key_Down:
        next = row < 14 ? focused_ + 1 : focused_;
        break;
    case Qt::Key_Left:
        next = col > 0 ? focused_ - 15 : focused_;
        break;
    case Qt::Key_Right:
        next = col < 5 ? focused_ + 15 : focused_;
        break;
    case Qt::Key_Home:
        next = 1;
        break;
    case Qt::Key_End:
        next = 90;
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit toggleRequested(focused_);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (next != focused_) {
        updateBoardRect(numberCell(focused_));
        focused_ = next;
        updateBoardRect(numberCell(focused_));
        announceFocus();
    }
}

void NumberBoard::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    updateBoardRect(numberCell(focused_));
    announceFocus();
}

void NumberBoard::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    updateBoardRect(numberCell(focused_));
}

void NumberBoard::announceFocus() {
    const QString text =
        QStringLiteral("Numero %1, %2")
            .arg(focused_)
            .arg(isMarked(focused_) ? QStringLiteral("segnato") : QStringLiteral("non segnato"));
    if (accessibleDescription() == text)
        return;
    setAccessibleDescription(text);
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void NumberBoard::mousePressEvent(QMouseEvent* event) {
    // The press is taken at the middle of the pixel it falls on, then into board units, whole
    // units down, as the click arithmetic counts them.
    const QPointF at = boardToWidget().inverted().map(event->position() + QPointF(0.5, 0.5));
    emit pressed(event->button(), int(std::floor(at.x())), int(std::floor(at.y())));
}

} // namespace quintor
