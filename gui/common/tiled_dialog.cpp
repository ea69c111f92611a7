#include "gui/common/tiled_dialog.h"

#include "gui/common/bevel_panel.h"
#include "gui/common/feedback.h"
#include "gui/common/title_room.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace quintor {

TiledDialog::TiledDialog(QWidget* parent)
    : QDialog(parent), tile_(BevelPanel::standardBackground()) {
    setModal(true);
    useFixedDialogFrame(this);
}

void TiledDialog::fixSize() {
    adjustSize();
    setFixedSize(withRoomForTitle(this, sizeHint().expandedTo(minimumSizeHint())));
}

void TiledDialog::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const int w = tile_.width();
    const int h = tile_.height();
    if (w <= 0 || h <= 0)
        return;
    for (int x = 0; x < width(); x += w)
        for (int y = 0; y < height(); y += h)
            painter.drawPixmap(x, y, tile_);
}

void TiledDialog::showEvent(QShowEvent* event) {
    // Centred on the screen, not on the window that opened it.
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

} // namespace quintor
