#pragma once

#include <QSize>

class QWidget;

namespace quintor {

// size, widened where needed so that the window's title shows whole in its title bar beside
// the window's icon and buttons: a narrow dialog must not have its title cut to "Specifica...".
QSize withRoomForTitle(const QWidget* window, QSize size);

} // namespace quintor
