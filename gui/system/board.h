#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include <bitset>

namespace quintor {

// The number board: a 136 x 245 picture of the numbers 1..90 in six columns of fifteen,
// numbered down the columns. Marks are drawn into the picture itself (markGlyph()) and taken
// away by copying the cell back from the untouched copy of the picture.
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

    void drawMark(int n);  // the mark glyph onto the cell
    void eraseMark(int n); // the cell copied back from the clean copy

    const QImage& picture() const { return picture_; }
    const QImage& cleanCopy() const { return cleanPicture_; }
    static const QImage& markGlyph();
    static QImage blankBoard();

    QSize sizeHint() const override { return {boardWidth, boardHeight}; }

    // The number under the keyboard focus frame; arrows move it, Space or Enter toggles it.
    int focusedNumber() const { return focused_; }
    bool isMarked(int n) const { return n >= 1 && n <= 90 && marked_[std::size_t(n)]; }

signals:
    // A press of any mouse button at x, y in board coordinates.
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
    // The whole cell of n, number and mark, where the focus frame goes.
    static QRect numberCell(int n);
    // Screen readers hear the focused number and whether it is marked.
    void announceFocus();

    QImage picture_;
    QImage cleanPicture_;
    int focused_ = 1;
    std::bitset<91> marked_;
};

} // namespace quintor
