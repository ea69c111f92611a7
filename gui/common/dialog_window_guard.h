#pragma once

#include <QObject>

class QWidget;

namespace quintor {

// Keeps the program's dialogs and message boxes part of the window they belong to, under any
// window manager. A dialog shown without a parent is made transient for the program's active
// window, so the window manager keeps it above that window and treats the two as one. Some
// window managers still offer to minimise a dialog and then iconify its whole family with
// it: with no task bar that leaves an empty screen and the program waiting for an answer
// nobody can give. A dialog that gets minimised is therefore restored at once, with the
// windows it belongs to. Installed once on the application by main().
class DialogWindowGuard : public QObject {
    Q_OBJECT
public:
    explicit DialogWindowGuard(QObject* parent = nullptr);

    // Installs a guard on the running application, owned by it.
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void adoptParentlessDialog(QWidget* dialog);
    static void restore(QWidget* dialog);
};

} // namespace quintor
