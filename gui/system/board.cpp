#include "gui/system/board.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <array>

namespace quintor {

namespace {

const QColor orange(255, 128, 64);
const QColor frameOrange(255, 190, 150);

// Digits three pixels wide and five high: the number frames are only 10 x 7, and a drawn
// font of that size stays sharp where a scaled outline font would smear.
constexpr std::array<std::array<const char*, 5>, 10> digitRows{{
    {"###", "#.#", "#.#", "#.#", "###"},
    {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"},
    {"###", "..#", ".##", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"},
    {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"},
    {"###", "..#", ".#.", ".#.", ".#."},
    {"###", "#.#", "###", "#.#", "###"},
    {"###", "#.#", "###", "..#", "###"},
}};

void drawDigit(QImage& image, int digit, int left, int top, QRgb colour) {
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x)
            if (digitRows[static_cast<std::size_t>(digit)][static_cast<std::size_t>(y)]
                         [static_cast<std::size_t>(x)] == '#')
                image.setPixel(left + x, top + y, colour);
}

} // namespace

NumberBoard::NumberBoard(QWidget* parent)
    : QWidget(parent), picture_(blankBoard()), cleanPicture_(blankBoard()) {
    setFixedSize(boardWidth, boardHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    announceFocus();
}

QRect NumberBoard::markCell(int n) {
    const int col = (n - 1) / 15;
    const int row = (n - 1) % 15;
    return {22 * col + 8, 16 * row + 7, 10, 7};
}

QPoint NumberBoard::cellCentre(int n) {
    return markCell(n).center();
}

QImage NumberBoard::blankBoard() {
    QImage image(boardWidth, boardHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QRgb o = orange.rgb();
    // Two-pixel orange border round the whole picture.
    for (int x = 0; x < boardWidth; ++x)
        for (int t = 0; t < 2; ++t) {
            image.setPixel(x, t, o);
            image.setPixel(x, boardHeight - 1 - t, o);
        }
    for (int y = 0; y < boardHeight; ++y)
        for (int t = 0; t < 2; ++t) {
            image.setPixel(t, y, o);
            image.setPixel(boardWidth - 1 - t, y, o);
        }
    for (int n = 1; n <= 90; ++n) {
        const QRect cell = markCell(n);
        const int l = cell.left(), t = cell.top(), r = cell.right(), b = cell.bottom();
        // Rounded frame, a paler orange so the digits it touches stay readable; the corner
        // pixels stay white.
        const QRgb f = frameOrange.rgb();
        for (int x = l + 1; x < r; ++x) {
            image.setPixel(x, t, f);
            image.setPixel(x, b, f);
        }
        for (int y = t + 1; y < b; ++y) {
            image.setPixel(l, y, f);
            image.setPixel(r, y, f);
        }
        if (n < 10) {
            drawDigit(image, n, l + 3, t + 1, o);
        } else {
            drawDigit(image, n / 10, l + 1, t + 1, o);
            drawDigit(image, n % 10, l + 5, t + 1, o);
        }
    }
    return image;
}

const QImage& NumberBoard::markGlyph() {
    static const QImage glyph = [] {
        const QRgb black = qRgb(0, 0, 0), silver = qRgb(192, 192, 192), grey = qRgb(128, 128, 128),
                   white = qRgb(255, 255, 255);
        QImage g(10, 7, QImage::Format_RGB32);
        g.fill(silver);
        for (int x = 1; x <= 8; ++x) {
            g.setPixel(x, 0, black);
            g.setPixel(x, 6, black);
            g.setPixel(x, 1, grey); // inner top
            g.setPixel(x, 5, grey); // inner bottom
        }
        for (int y = 1; y <= 5; ++y) {
            g.setPixel(0, y, black);
            g.setPixel(9, y, black);
            g.setPixel(8, y, grey); // inner right
        }
        for (const QPoint p : {QPoint(0, 0), QPoint(9, 0), QPoint(0, 6), QPoint(9, 6), QPoint(1, 1),
                               QPoint(2, 1), QPoint(1, 2)})
            g.setPixel(p, white);
        return g;
    }();
    return glyph;
}

void NumberBoard::drawMark(int n) {
    QPainter painter(&picture_);
    painter.drawImage(markCell(n).topLeft(), markGlyph());
    painter.end();
    update(markCell(n));
    if (n >= 1 && n <= 90)
        marked_[std::size_t(n)] = true;
    if (n == focused_)
        announceFocus();
}

void NumberBoard::eraseMark(int n) {
    const QRect cell = markCell(n);
    QPainter painter(&picture_);
    painter.drawImage(cell.topLeft(), cleanPicture_, cell);
    painter.end();
    update(cell);
    if (n >= 1 && n <= 90)
        marked_[std::size_t(n)] = false;
    if (n == focused_)
        announceFocus();
}

void NumberBoard::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect().topLeft(), picture_, event->rect());
    if (hasFocus()) {
        QPen pen(Qt::blue, 1, Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(numberCell(focused_).adjusted(0, 0, -1, -1));
    }
}

QRect NumberBoard::numberCell(int n) {
    const int col = (n - 1) / 15;
    const int row = (n - 1) % 15;
    const int left = col * boardWidth / 6;
    const int top = row * boardHeight / 15;
    return QRect(QPoint(left + 1, top + 1),
                 QPoint((col + 1) * boardWidth / 6 - 1, (row + 1) * boardHeight / 15 - 1));
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
        update(numberCell(focused_));
        focused_ = next;
        update(numberCell(focused_));
        announceFocus();
    }
}

void NumberBoard::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update(numberCell(focused_));
    announceFocus();
}

void NumberBoard::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update(numberCell(focused_));
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
    const QPoint at = event->position().toPoint();
    emit pressed(event->button(), at.x(), at.y());
}

} // namespace quintor
