#include "gui/common/feedback.h"

#include "core/recent_files.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace quintor {

namespace {
int beeps = 0;
}

void beep() {
    ++beeps;
    QApplication::beep();
}

int beepCount() {
    return beeps;
}

HourglassGuard::HourglassGuard() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

HourglassGuard::~HourglassGuard() {
    release();
}

void HourglassGuard::release() {
    if (active_) {
        active_ = false;
        QApplication::restoreOverrideCursor();
    }
}

QString shortHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString longHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void setReadableText(QLabel* label, const QString& text) {
    label->setText(text);
    if (label->accessibleDescription() == text)
        return;
    label->setAccessibleDescription(text);
    QAccessibleEvent changed(label, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void useFixedDialogFrame(QWidget* dialog) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
}

QString literalMenuText(QString text) {
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

void showRecentEntry(QAction* item, int k, const RecentFiles& list) {
    const bool filled = list.entryInUse(k);
    const std::string& entry = list.entries[static_cast<std::size_t>(k)];
    // A file name shows "&" as it is, not as an accelerator.
    const QString name =
        filled ? literalMenuText(QString::fromStdString(recentMenuCaption(entry, list)))
               : QString();
    item->setText(filled ? QStringLiteral("&%1 ").arg(k + 1) + name
                         : QStringLiteral("&%1").arg(k + 1));
    item->setData(filled ? QString::fromStdString(entry) : QString());
    item->setToolTip(filled ? QString::fromStdString(entry) : QString());
    item->setVisible(filled);
}

void setHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(shortHint(hint));
    widget->setStatusTip(longHint(hint));
}

void setHint(QAction* action, const QString& hint) {
    action->setToolTip(shortHint(hint));
    action->setStatusTip(longHint(hint));
}

void openSubmenuOnShortcut(QMenu* owner, QMenu* submenu) {
    QObject::connect(submenu->menuAction(), &QAction::triggered, submenu, [owner, submenu] {
        // After the key has gone through: a menu opened inside its handling can lose it.
        QMetaObject::invokeMethod(
            submenu,
            [owner, submenu] {
                if (!owner->isVisible()) {
                    for (QObject* holder : owner->menuAction()->associatedObjects()) {
                        auto* bar = qobject_cast<QMenuBar*>(holder);
                        if (bar && bar->isVisible() &&
                            bar->actions().contains(owner->menuAction())) {
                            bar->setActiveAction(owner->menuAction());
                            break;
                        }
                    }
                }
                if (!owner->isVisible())
                    owner->popup(QCursor::pos());
                owner->setActiveAction(submenu->menuAction());
            },
            Qt::QueuedConnection);
    });
}

} // namespace quintor
