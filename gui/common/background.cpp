#include "gui/common/background.h"

#include <QImage>
#include <QPainter>

namespace quintor {

void tileBackground(QPainter& painter, const QSize& area, const QPixmap& picture) {
    if (picture.isNull())
        return;
    const int w = picture.width();
    const int h = picture.height();
    for (int i = 0; i <= area.height() / h; ++i)
        for (int j = 0; j <= area.width() / w; ++j)
            painter.drawPixmap(j * w, i * h, picture);
}

QPixmap backgroundPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int weave = ((x / 4 + y / 4) % 2) ? 6 : 0;
            const int grain = (x * 7 + y * 13) % 5;
            image.setPixel(x, y, qRgb(214 - weave - grain, 224 - weave - grain, 236 - grain));
        }
    return QPixmap::fromImage(image);
}

} // namespace quintor
