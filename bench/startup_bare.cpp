// The yardstick of the start-up benchmark: a bare main window with an MDI area, started and
// shown the way the program shows its main frame.
#include "gui_common/start_probe.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow frame;
    frame.setCentralWidget(new QMdiArea(&frame));
    quintor::quitOnceShownIfProbed(&frame);
    frame.showMaximized();
    return QApplication::exec();
}
