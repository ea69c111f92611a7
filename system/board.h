#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

namespace quintor {

// The number board TAV: a 136 x 245 picture of the numbers 1..90 in six columns of fifteen,
// numbered down the columns. Marks are drawn into the picture itself (the glyph SEGSI) and
// taken away by copying the cell back from the untouched copy TAV2.
class NumberBoard : public QWidget {
    Q_OBJECT
public:
    static constexpr int boardWidth = 136;
    static constexpr int boardHeight = 245;

    explicit NumberBoard(QWidget* parent = nullptr);

    // The 10 x 7 cell of number n (1..90) that a mark covers.
    static QRect markCell(int n);
    // A point inside the cell of n, where a click toggles n.
    static QPoint cellCentre(int n);

    void drawMark(int n);  // SEGSI onto the cell
    void eraseMark(int n); // the cell copied back from TAV2

    const QImage& picture() const { return tav_; }
    const QImage& cleanCopy() const { return tav2_; }
    static const QImage& SEGSI();
    static QImage blankBoard();

    QSize sizeHint() const override { return {boardWidth, boardHeight}; }

signals:
    // A press of any mouse button at x, y in board coordinates.
    void pressed(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage tav_;
    QImage tav2_;
};

} // namespace quintor
