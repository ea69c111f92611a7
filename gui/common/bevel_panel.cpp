#include "gui/common/bevel_panel.h"

#include <QPainter>

namespace quintor {

namespace {

// One-pixel line from `from` up to, but not including, `to` (lines are horizontal or vertical),
// so a corner shared by two segments is painted once, by the segment that starts there.
void lineTo(QPainter& painter, QPoint from, QPoint to) {
    if (from == to)
        return;
    const int dx = (to.x() > from.x()) - (to.x() < from.x());
    const int dy = (to.y() > from.y()) - (to.y() < from.y());
    painter.drawLine(from, to - QPoint(dx, dy));
}

void drawBevel(QPainter& painter, BevelPanel::Bevel bevel, int a, int b, int w, int h) {
    if (bevel == BevelPanel::Bevel::None)
        return;
    const QColor white(255, 255, 255);
    const QColor grey(128, 128, 128);
    const bool raised = bevel == BevelPanel::Bevel::Raised;
    painter.setPen(raised ? white : grey);
    lineTo(painter, {w - a, b}, {b, b});
    lineTo(painter, {b, b}, {b, h - a});
    painter.setPen(raised ? grey : white);
    lineTo(painter, {a, h - a}, {w - a, h - a});
    lineTo(painter, {w - a, h - a}, {w - a, a});
}

} // namespace

BevelPanel::BevelPanel(QWidget* parent) : QFrame(parent) {
    setAutoFillBackground(true);
}

void BevelPanel::setBackgroundTile(const QPixmap& picture) {
    tile_ = picture;
    update();
}

void BevelPanel::setBevelOuter(Bevel bevel) {
    outer_ = bevel;
    update();
}

void BevelPanel::setBevelInner(Bevel bevel) {
    inner_ = bevel;
    update();
}

void BevelPanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.fillRect(rect(), palette().color(backgroundRole()));
    if (!tile_.isNull()) {
        const int pw = tile_.width();
        const int ph = tile_.height();
        for (int i = 0; i <= w / pw; ++i)
            for (int j = 0; j <= h / ph; ++j)
                painter.drawPixmap(i * pw, j * ph, tile_);
    }
    drawBevel(painter, outer_, 1, 0, w, h);
    drawBevel(painter, inner_, 2, 1, w, h);
}

const QPixmap& BevelPanel::standardBackground() {
    // A quiet pale-blue weave: light enough for black and coloured labels to stay readable.
    static const QPixmap picture = [] {
        QImage image(32, 32, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const int weave = ((x / 4 + y / 4) % 2) ? 6 : 0;
                const int grain = ((x * 7 + y * 13) % 5);
                image.setPixel(x, y, qRgb(214 - weave - grain, 224 - weave - grain, 236 - grain));
            }
        return QPixmap::fromImage(image);
    }();
    return picture;
}

} // namespace quintor
