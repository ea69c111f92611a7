#pragma once

#include "core/archive.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QApplication>
#include <QDialog>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <type_traits>

class QImage;
class QLabel;
class QTableView;

namespace quintor {
class NumberBoard;
class MainFrame;
class SystemWindow;
} // namespace quintor

namespace quintor::test {

// A fresh program folder and current folder for one test: settings, the recent-files list
// and new systems all land in a temporary folder that disappears afterwards.
class TestHome {
public:
    TestHome();
    ~TestHome();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString previousCurrent_;
};

// A shown main frame holding one new system window, in a fresh program folder, with every
// question answered by a scripted prompter. Test classes derive from it and call
// openSystemWindow() in init() and closeSystemWindow() in cleanup().
class SystemWindowFixture {
protected:
    void openSystemWindow();
    // Unsaved changes are dropped first, so closing asks nothing.
    void closeSystemWindow();

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<MainFrame> frame_;
    SystemWindow* window_ = nullptr;
};

// The control of that type and objectName inside parent. A missing one stops the run with its
// name, so a renamed control is reported instead of dereferenced.
template <class Control> Control* child(const QObject* parent, const char* objectName) {
    auto* found = parent->findChild<Control*>(QString::fromLatin1(objectName));
    if (!found)
        qFatal("no control %s", objectName);
    return found;
}

// Runs act on the modal dialog of type D once it is up (act takes D* or D&): call it just
// before the code that opens the dialog and waits in its exec(). The dialog may open from
// inside another one's act. Nothing hangs in exec(): a dialog that never shows up fails the
// test (whatever modal dialog is up instead is rejected); after a failed check the dialog is
// rejected at once; a dialog act leaves busy (a selection running) has 30 s to close by itself
// before it is rejected and the test fails. QUINTOR_SHOTS=folder keeps a picture of each
// dialog as act left it.
template <class D, class Act> void whenShown(Act act) {
    QTimer::singleShot(0, [act] {
        D* dialog = nullptr;
        const bool shown = QTest::qWaitFor(
            [&] { return (dialog = qobject_cast<D*>(QApplication::activeModalWidget())); });
        if (!shown) {
            if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                other->reject();
            QFAIL("the expected dialog is not showing");
        }
        if constexpr (std::is_invocable_v<Act, D*>)
            act(dialog);
        else
            act(*dialog);
        if (const QString shots = qEnvironmentVariable("QUINTOR_SHOTS"); !shots.isEmpty())
            dialog->grab().save(shots + "/" + dialog->objectName() + ".png");
        if (QTest::currentTestFailed()) {
            if (dialog->isVisible())
                dialog->reject();
            return;
        }
        if (!QTest::qWaitFor([dialog] { return !dialog->isVisible(); }, 30000)) {
            dialog->reject();
            QFAIL("the dialog stayed open");
        }
    });
}

// The system window's number board and final-column grid.
NumberBoard* board(const SystemWindow* window);
QTableView* finalColumnsGrid(const SystemWindow* window);
// The main frame's hint bar.
QLabel* hintLabel(const MainFrame* frame);

// count draws, oldest first, cycling through 15 groups of six numbers.
Archive cyclicArchive(int count);

// The text of the label with that objectName in the window.
QString labelText(const SystemWindow* window, const QString& objectName);
// A real mouse press on the board, in the middle of n's cell.
void clickNumber(SystemWindow* window, int n);
// The board as the screen shows it (device pixels), and a board of the same size with no mark.
QImage boardPicture(NumberBoard* board);
QImage unmarkedBoardPicture(const NumberBoard* board);
// Whether two pictures of the board differ inside the cell of n.
bool cellDiffers(const QImage& a, const QImage& b, const NumberBoard* board, int n);
// The smallest rectangle holding every pixel where two pictures of one size differ.
QRect differenceBounds(const QImage& a, const QImage& b);
// Triggers a menu item of the window (or of the frame) by objectName; fails the test when the
// item is missing or disabled.
bool trigger(SystemWindow* window, const QString& objectName);
bool trigger(MainFrame* frame, const QString& objectName);

} // namespace quintor::test
