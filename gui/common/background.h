#pragma once

#include <QPixmap>
#include <QSize>

class QPainter;

namespace quintor {

// Tiles picture over a client area from the top-left corner, left to right and top to bottom,
// the partly visible tiles at the right and bottom edges included.
void tileBackground(QPainter& painter, const QSize& area, const QPixmap& picture);

// The program's own background pictures of the given size: a quiet weave in the tone of the
// panels, so labels on it stay readable.
QPixmap backgroundPicture(int width, int height);

} // namespace quintor
