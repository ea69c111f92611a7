// Every control a keyboard or screen-reader user can reach says what it is: by its own text,
// by a label that names it as its buddy, or by an accessible name.
#include "app/main_frame.h"
#include "tests/gui/support/every_window.h"
#include "tests/gui/support/gui_helpers.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTabBar>
#include <QtTest>

using namespace quintor;

namespace {

bool showsText(QString text) {
    return !text.remove(QLatin1Char('&')).trimmed().isEmpty();
}

// A tab bar reads out the caption of each tab.
bool everyTabCaptioned(const QTabBar* tabs) {
    for (int i = 0; i < tabs->count(); ++i)
        if (!showsText(tabs->tabText(i)))
            return false;
    return tabs->count() > 0;
}

// The controls of window a user can reach that carry no name at all, as
// "window: objectName (class)". Controls on pages not shown yet count: they are reached by
// turning the page.
QStringList unnamedControls(QWidget* window) {
    const QList<QWidget*> all = window->findChildren<QWidget*>();
    QSet<const QWidget*> labelled;
    for (QWidget* w : all)
        if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy())
            labelled.insert(label->buddy());
    QStringList found;
    for (QWidget* w : all) {
        // A combo box's drop-down list is a window of its own, reached through the box.
        if (w->window() != window || w->focusPolicy() == Qt::NoFocus || w->isHidden())
            continue;
        // The editor inside a spin box or combo box, and a widget that hands its focus on, are
        // reached through their owner.
        QWidget* parent = w->parentWidget();
        if (qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent) ||
            w->focusProxy())
            continue;
        // Labels read out their own text; an inner window its title.
        if (qobject_cast<QLabel*>(w) || !w->windowTitle().isEmpty() ||
            !w->accessibleName().isEmpty() || labelled.contains(w))
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && showsText(button->text()))
            continue;
        if (auto* tabs = qobject_cast<QTabBar*>(w); tabs && everyTabCaptioned(tabs))
            continue;
        found << QStringLiteral("%1: %2 (%3)")
                     .arg(window->objectName().isEmpty() ? window->windowTitle()
                                                         : window->objectName(),
                          w->objectName(), QString::fromLatin1(w->metaObject()->className()));
    }
    return found;
}

} // namespace

class AccessibleNamesTest : public QObject, protected test::SystemWindowFixture {
    Q_OBJECT
private slots:
    void init() { openSystemWindow(); }
    void cleanup() { closeSystemWindow(); }

    void everyReachableControlIsNamed();
};

void AccessibleNamesTest::everyReachableControlIsNamed() {
    QStringList offenders = unnamedControls(frame_.get());
    const QStringList missing =
        test::visitEveryWindow(window_, home_->path(), [&offenders](QWidget* shown) {
            offenders << unnamedControls(shown);
        });
    for (const QString& name : missing)
        offenders << name + QStringLiteral(": not shown");
    QVERIFY2(offenders.isEmpty(),
             qPrintable(QLatin1Char('\n') + offenders.join(QLatin1Char('\n'))));
}

QTEST_MAIN(AccessibleNamesTest)
#include "test_accessible_names.moc"
