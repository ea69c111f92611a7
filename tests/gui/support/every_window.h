#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace quintor {
class SystemWindow;
} // namespace quintor

namespace quintor::test {

// Shows every window and dialog of the program in turn, built on the system of window (given
// a few marked numbers, a final column and a small archive), and runs look on each while it
// is up: the system's own dialogs, the archive, statistics, selection, print and user-function
// windows, the help, the print windows' preview, the printer set-up with its properties, and
// the file dialog. home is the test's program folder. Returns the windows that did not show.
QStringList visitEveryWindow(SystemWindow* window, const QString& home,
                             const std::function<void(QWidget*)>& look);

} // namespace quintor::test
