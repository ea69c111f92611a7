#include "gui/common/title_room.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

namespace quintor {

namespace {
// The icon and three buttons of a title bar, with their margins; window managers draw the
// title in a bold face of about the desktop's font.
constexpr int titleBarDecorations = 5 * 24 + 8;
} // namespace

QSize withRoomForTitle(const QWidget* window, QSize size) {
    QFont font = QApplication::font();
    font.setBold(true);
    const int needed =
        QFontMetrics(font).horizontalAdvance(window->windowTitle()) + titleBarDecorations;
    return size.expandedTo(QSize(needed, 0));
}

} // namespace quintor
