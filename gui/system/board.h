#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QTransform>
#include <QWidget>

#include <bitset>

namespace quintor {

// The number board: the numbers 1..90 in six columns of fifteen, numbered down the columns.
//
// Its geometry lives in board units, a 136 x 245 layout: the cells, the marks and the click
// arithmetic are all computed there, and one transform (boardToWidget()) maps that layout onto
// the widget at whatever size the window gives it. Everything is drawn as shapes and text for
// the device, so the board stays sharp at any size and any device-pixel ratio.
class NumberBoard : public QWidget {
    Q_OBJECT
public:
    static constexpr int boardWidth = 136;
    static constexpr int boardHeight = 245;

    explicit NumberBoard(QWidget* parent = nullptr);

    // The 10 x 7 cell of number n (1..90), in board units, that a mark covers.
    static QRect markCell(int n);
    // The middle of n's cell in board units, where a click toggles n.
    static QPointF cellCentre(int n);

    // Board units to widget coordinates: one scale for both axes, the board centred.
    QTransform boardToWidget() const;
    // The widget point where a click lands on board point p.
    QPoint widgetPoint(QPointF p) const;
    // The cell of n as the widget shows it.
    QRectF cellOnWidget(int n) const;
    // Widget pixels per board unit.
    qreal scale() const;

    void drawMark(int n);
    void eraseMark(int n);

    QSize sizeHint() const override { return {boardWidth, boardHeight}; }
    QSize minimumSizeHint() const override { return {boardWidth, boardHeight}; }

    // The number under the keyboard focus frame; arrows move it, Space or Enter toggles it.
    int focusedNumber() const { return focused_; }
    bool isMarked(int n) const { return n >= 1 && n <= 90 && marked_[std::size_t(n)]; }

signals:
    // A press of any mouse button at x, y in board units.
    void pressed(Qt::MouseButton button, int x, int y);
    // Space or Enter on the focused number.
    void toggleRequested(int n);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The whole cell of n in board units, number and mark, where the focus frame goes.
    static QRectF numberCell(int n);
    void paintNumber(QPainter& painter, int n) const;
    // Repaints the widget area of a rectangle in board units.
    void updateBoardRect(const QRectF& rect);
    void setMarked(int n, bool marked);
    // Screen readers hear the focused number and whether it is marked.
    void announceFocus();

    int focused_ = 1;
    std::bitset<91> marked_;
};

} // namespace quintor
