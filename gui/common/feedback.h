#pragma once

#include <QString>

#include <string>

class QAction;
class QLabel;
class QMenu;
class QWidget;

namespace quintor {

struct RecentFiles;

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
// A label whose text changes as the program runs: screen readers hear the new text as its
// description, under the label's fixed accessible name.
void setReadableText(QLabel* label, const QString& text);
// A dialog of fixed size gets a title bar with the close button only: no minimise or
// maximise button under any window manager.
void useFixedDialogFrame(QWidget* dialog);
// A name or caption shown in a menu as it is: every "&" doubled, so that none becomes an
// accelerator and disappears.
QString literalMenuText(QString text);
// Recent-files item k (0..5) of list: the caption is its number key and the entry's short form,
// the tip the whole path. An entry not in use leaves the item hidden with its number only.
void showRecentEntry(QAction* item, int k, const RecentFiles& list);
QString longHint(const QString& hint);

// A shortcut on a submenu's item only triggers the item, which by itself shows nothing. This
// makes it open the menu that holds it (from the menu bar, when it is there) and pop the
// submenu up, as a mouse would.
void openSubmenuOnShortcut(QMenu* owner, QMenu* submenu);

} // namespace quintor
