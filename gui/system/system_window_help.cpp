#include "gui/common/help_link.h"
#include "gui/system/system_window.h"

#include <QStringList>

namespace quintor {

const QStringList& SystemWindow::helpCommands() {
    static const QStringList names{
        QStringLiteral("helpContentsAction"),
        QStringLiteral("helpSearchAction"),
        QStringLiteral("quickTourAction"),
        QStringLiteral("userFunctionHelpAction"),
    };
    return names;
}

void SystemWindow::onHelpContentsTriggered() {
    showHelpTopic(HelpTopic::Contents);
}

void SystemWindow::onHelpSearchTriggered() {
    showHelpSearch();
}

void SystemWindow::onQuickTourTriggered() {
    showHelpTopic(HelpTopic::QuickTour);
}

void SystemWindow::onUserFunctionHelpTriggered() {
    showHelpTopic(HelpTopic::UserFunctions);
}

} // namespace quintor
