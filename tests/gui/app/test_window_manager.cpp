// Dialogs under a real window manager: every dialog belongs to the window it was opened from,
// and minimising a question never leaves the program iconified behind it. The transient test
// runs everywhere; the minimising test needs X11 with a window manager, and
// tests/scripts/under_openbox.sh runs this program again under Xvfb and openbox for it.
#include "app/main_frame.h"
#include "gui/common/dialog_window_guard.h"
#include "gui/common/prompter.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/gui_helpers.h"

#include <QAbstractButton>
#include <QDialog>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QWindow>
#include <QtTest>

#include <memory>

using namespace quintor;

class WindowManagerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void aParentlessDialogBelongsToTheActiveWindow();
    void minimisingTheCloseQuestionKeepsTheProgramOnScreen();

private:
    std::unique_ptr<test::TestHome> home_;
    std::unique_ptr<MainFrame> frame_;
};

void WindowManagerTest::initTestCase() {
    DialogWindowGuard::install();
}

void WindowManagerTest::init() {
    home_ = std::make_unique<test::TestHome>();
    frame_ = std::make_unique<MainFrame>(QStringList{QStringLiteral("--none--"), QString()});
    frame_->resize(900, 600);
    frame_->show();
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
}

void WindowManagerTest::cleanup() {
    for (SystemWindow* w : frame_->systems())
        w->state().modified = false;
    frame_.reset();
    home_.reset();
}

void WindowManagerTest::aParentlessDialogBelongsToTheActiveWindow() {
    QDialog orphan;
    orphan.setWindowTitle(QStringLiteral("Senza genitore"));
    orphan.show();
    QVERIFY(orphan.windowHandle());
    QCOMPARE(orphan.windowHandle()->transientParent(), frame_->windowHandle());
    QCOMPARE(orphan.windowType(), Qt::Dialog);
}

void WindowManagerTest::minimisingTheCloseQuestionKeepsTheProgramOnScreen() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs X11 and a window manager (tests/scripts/under_openbox.sh)");
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xdotool.isEmpty())
        QSKIP("xdotool is not installed");
    frame_->onNewTriggered();
    SystemWindow* system = frame_->activeSystem();
    QVERIFY(system);
    system->state().modified = true;

    // The real "Fine" question, as the user sees it; the window manager is asked to minimise
    // it as its title-bar button would.
    bool boxShown = false;
    bool boxMinimised = false;
    bool frameBack = false;
    bool boxBack = false;
    QTimer::singleShot(0, [&] {
        QMessageBox* box = nullptr;
        boxShown = QTest::qWaitFor([&] {
            box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            return box && box->windowHandle() && box->windowHandle()->isExposed();
        });
        if (!boxShown)
            return;
        QCOMPARE(box->windowHandle()->transientParent(), frame_->windowHandle());
        // The window manager minimises only a window it has taken on.
        QVERIFY(QTest::qWaitForWindowActive(box));
        // The window manager's answer is seen as a state change of the box's window.
        QObject::connect(box->windowHandle(), &QWindow::windowStateChanged, box,
                         [&](Qt::WindowState state) {
                             boxMinimised = boxMinimised || state == Qt::WindowMinimized;
                         });
        // Asked again when the request is lost: on a loaded machine a request that arrives
        // while the window manager is still taking the box on is dropped.
        for (int attempt = 0; attempt < 3 && !boxMinimised; ++attempt) {
            QProcess::execute(xdotool,
                              {QStringLiteral("windowminimize"), QString::number(box->winId())});
            (void)QTest::qWaitFor([&] { return boxMinimised; }, 3000);
        }
        if (boxMinimised) {
            // The family goes one window after the other: the frame's turn comes too.
            QTest::qWait(500);
            auto onScreen = [](QWidget* w) {
                return !w->isMinimized() && w->windowHandle()->isExposed();
            };
            frameBack = QTest::qWaitFor([&] { return onScreen(frame_.get()); }, 5000);
            boxBack = QTest::qWaitFor([&] { return onScreen(box); }, 5000);
        }
        box->button(QMessageBox::Cancel)->click();
    });
    QVERIFY(!frame_->close()); // Cancel: nothing closes
    QVERIFY(boxShown);
    QVERIFY2(boxMinimised, "the window manager did not minimise the question");
    QVERIFY2(frameBack, "the program went off the screen with the question");
    QVERIFY2(boxBack, "the question stayed minimised");
}

QTEST_MAIN(WindowManagerTest)
#include "test_window_manager.moc"
