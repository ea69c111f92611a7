#include "gui/common/program_identity.h"

#include <QApplication>

// The picture is compiled into a static library, whose resources are not registered on
// their own.
static void registerProgramPicture() {
    Q_INIT_RESOURCE(program);
}

namespace quintor {

QIcon programIcon() {
    registerProgramPicture();
    return QIcon(QStringLiteral(":/program/quintor.svg"));
}

void applyProgramIdentity() {
    QApplication::setApplicationName(QStringLiteral("Quintor"));
    // Lets the desktop match the windows with the menu entry (and its icon) on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("it.quintor.Quintor"));
    QApplication::setWindowIcon(programIcon());
}

} // namespace quintor
