#pragma once

#include <QString>
#include <QTemporaryDir>

namespace quintor {
class TPRI;
class TSIS;
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

// The text of the label with that objectName in the window.
QString labelText(const TSIS* window, const QString& objectName);
// A real mouse press on the board, in the middle of n's cell.
void clickNumber(TSIS* window, int n);
// Triggers a menu item of the window (or of the frame) by objectName; fails the test when the
// item is missing or disabled.
bool trigger(TSIS* window, const QString& objectName);
bool trigger(TPRI* frame, const QString& objectName);

} // namespace quintor::test
