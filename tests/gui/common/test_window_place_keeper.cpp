// Windows come back where and as large as the user left them, the next run too.
#include "core/program_folder.h"
#include "core/window_places.h"
#include "gui/common/window_place_keeper.h"
#include "tests/gui/support/gui_helpers.h"

#include <QDialog>
#include <QScreen>
#include <QtTest>

#include <memory>

using namespace quintor;

class WindowPlaceKeeperTest : public QObject {
    Q_OBJECT
private slots:
    void placesOutliveTheRun();
};

void WindowPlaceKeeperTest::placesOutliveTheRun() {
    test::TestHome home;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect left(screen.topLeft() + QPoint(30, 40), QSize(260, 180));
    QPoint leftFrame; // where the frame the window manager adds went
    {
        WindowPlaceKeeper keeper;
        QDialog resizable;
        resizable.setObjectName(QStringLiteral("resizableDialog"));
        resizable.show();
        resizable.setGeometry(left);
        leftFrame = resizable.pos();
        resizable.hide();
        QDialog fixed;
        fixed.setObjectName(QStringLiteral("fixedDialog"));
        fixed.setFixedSize(150, 100);
        fixed.show();
        fixed.move(screen.topLeft() + QPoint(50, 60));
        fixed.hide();
    }
    // The next run: a keeper reading the file, and new windows of the same kinds.
    WindowPlaceKeeper keeper;
    QDialog resizable;
    resizable.setObjectName(QStringLiteral("resizableDialog"));
    resizable.show();
    QCOMPARE(resizable.size(), left.size());
    QCOMPARE(resizable.pos(), leftFrame);
    QDialog fixed;
    fixed.setObjectName(QStringLiteral("fixedDialog"));
    fixed.setFixedSize(120, 90); // a later version of the dialog is smaller: it keeps its size
    fixed.show();
    QCOMPARE(fixed.size(), QSize(120, 90));
    QCOMPARE(fixed.pos(), screen.topLeft() + QPoint(50, 60));

    // A place the screen no longer has (a second monitor unplugged) is brought onto it.
    WindowPlaces places = loadWindowPlaces(programFolder());
    places["resizableDialog"] = {screen.right() + 500, screen.bottom() + 500, 260, 180, false};
    QVERIFY(saveWindowPlaces(programFolder(), places));
    WindowPlaceKeeper nextRun;
    QDialog lost;
    lost.setObjectName(QStringLiteral("resizableDialog"));
    lost.show();
    QVERIFY(screen.contains(lost.frameGeometry()));
}

QTEST_MAIN(WindowPlaceKeeperTest)
#include "test_window_place_keeper.moc"
