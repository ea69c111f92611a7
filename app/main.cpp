#include "app/upri.h"
#include "core/program_folder.h"

#include <QApplication>
#include <QScreen>

#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quintor"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quintor"));
    const char* home = std::getenv("QUINTOR_HOME");
    if (!home || !*home)
        quintor::setExecutablePath(QApplication::applicationFilePath().toStdString());

    QStringList parameters = QApplication::arguments();
    parameters.removeFirst();
    quintor::TPRI frame(parameters);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        frame.setGeometry(screen->availableGeometry());
    frame.showMaximized();
    return QApplication::exec();
}
