#pragma once

#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace quintor {

// The system beep of a command that cannot apply now. Every beep of the program goes
// through here so that tests can count them.
void beep();
int beepCount();

// The hourglass for the length of a long operation; the normal cursor comes back when the
// guard ends, also on an early return. release() brings it back sooner (before a message).
class HourglassGuard {
public:
    HourglassGuard();
    ~HourglassGuard();
    HourglassGuard(const HourglassGuard&) = delete;
    HourglassGuard& operator=(const HourglassGuard&) = delete;

    void release();

private:
    bool active_ = true;
};

// A hint "short|long": the short text becomes the tooltip, the long one the status text
// (which the main frame shows in its status panel). A hint without "|" is used whole for both.
void setHint(QWidget* widget, const QString& hint);
void setHint(QAction* action, const QString& hint);
QString shortHint(const QString& hint);
QString longHint(const QString& hint);

// A shortcut on a submenu's item only triggers the item, which by itself shows nothing. This
// makes it open the menu that holds it (from the menu bar, when it is there) and pop the
// submenu up, as a mouse would.
void openSubmenuOnShortcut(QMenu* owner, QMenu* submenu);

} // namespace quintor
