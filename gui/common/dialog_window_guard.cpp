#include "gui/common/dialog_window_guard.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace quintor {

namespace {

bool isDialogWindow(const QWidget* widget) {
    return widget->isWindow() && widget->windowType() == Qt::Dialog;
}

// The window a parentless dialog belongs to: the active one, else the first visible window
// of the program that is not itself a dialog.
QWidget* owningWindow(const QWidget* dialog) {
    QWidget* active = QApplication::activeWindow();
    if (active && active != dialog && active->isVisible())
        return active;
    for (QWidget* candidate : QApplication::topLevelWidgets())
        if (candidate != dialog && candidate->isVisible() && !isDialogWindow(candidate) &&
            candidate->windowType() == Qt::Window)
            return candidate;
    return nullptr;
}

void unminimise(QWidget* window) {
    if (window->windowState() & Qt::WindowMinimized)
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
}

} // namespace

DialogWindowGuard::DialogWindowGuard(QObject* parent) : QObject(parent) {}

void DialogWindowGuard::install() {
    qApp->installEventFilter(new DialogWindowGuard(qApp));
}

bool DialogWindowGuard::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!isDialogWindow(widget))
        return false;
    if (event->type() == QEvent::Show) {
        adoptParentlessDialog(widget);
    } else if (event->type() == QEvent::WindowStateChange &&
               (widget->windowState() & Qt::WindowMinimized)) {
        // After the window manager has finished iconifying, or it would undo the restoring.
        QPointer<QWidget> dialog(widget);
        QTimer::singleShot(0, widget, [dialog] {
            if (dialog)
                restore(dialog);
        });
    }
    return false;
}

void DialogWindowGuard::adoptParentlessDialog(QWidget* dialog) {
    QWindow* handle = dialog->windowHandle();
    if (!handle || handle->transientParent() || dialog->parentWidget())
        return;
    if (QWidget* owner = owningWindow(dialog); owner && owner->windowHandle())
        handle->setTransientParent(owner->windowHandle());
}

void DialogWindowGuard::restore(QWidget* dialog) {
    // The windows it belongs to first, then the dialog itself on top of them.
    QList<QWidget*> family;
    for (QWidget* w = dialog->parentWidget(); w; w = w->parentWidget())
        if (w->isWindow())
            family.prepend(w);
    if (family.isEmpty()) {
        if (const QWindow* owner =
                dialog->windowHandle() ? dialog->windowHandle()->transientParent() : nullptr)
            for (QWidget* candidate : QApplication::topLevelWidgets())
                if (candidate->windowHandle() == owner)
                    family << candidate;
    }
    for (QWidget* window : family)
        unminimise(window);
    unminimise(dialog);
    dialog->raise();
    dialog->activateWindow();
}

} // namespace quintor
