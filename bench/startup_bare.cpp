// The yardstick of the start-up benchmark: a bare main window with an MDI area, started and
// shown the way the program shows its main frame. With --menu it also has a menu bar and a
// status line, so that it draws text as the program's frame does.
#include "gui/common/start_probe.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow frame;
    frame.setCentralWidget(new QMdiArea(&frame));
    if (QApplication::arguments().contains(QStringLiteral("--menu"))) {
        QMenu* file = frame.menuBar()->addMenu(QStringLiteral("&File"));
        for (const char* item :
             {"&Nuovo", "&Apri", "&Riapri", "&Gestione colonne vincenti", "F&ine"})
            file->addAction(QString::fromLatin1(item));
        frame.menuBar()
            ->addMenu(QStringLiteral("&Guida in linea"))
            ->addAction(QStringLiteral("&Sommario"));
        frame.statusBar()->addWidget(new QLabel(QStringLiteral("Pronto")));
    }
    quintor::quitOnceShownIfProbed(&frame);
    frame.showMaximized();
    return QApplication::exec();
}
