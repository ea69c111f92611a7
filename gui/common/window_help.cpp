#include "gui/common/window_help.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace quintor {

void attachHelpTopic(QWidget* window, HelpTopic topic, QAbstractButton* button) {
    // Only while the window (or a control in it) has the focus, so that F1 in another window
    // opens that window's own page.
    auto* shortcut = new QShortcut(QKeySequence::HelpContents, window);
    shortcut->setObjectName(QStringLiteral("helpShortcut"));
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, [topic] { showHelpTopic(topic); });
    if (button) {
        button->setEnabled(helpAvailable());
        QObject::connect(button, &QAbstractButton::clicked, window,
                         [topic] { showHelpTopic(topic); });
    }
}

} // namespace quintor
