#pragma once

#include <QIcon>

namespace quintor {

// The program's picture, the one of its menu entry: title bars, the task list and the
// system windows inside the frame show it.
QIcon programIcon();

// Names the program to the desktop and gives every window its picture. No display name is
// set: under X11 the toolkit would append it to every title ("Errore ! — Quintor"), and the
// message boxes must carry exactly their own titles.
void applyProgramIdentity();

} // namespace quintor
