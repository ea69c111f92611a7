#include "gui/common/help_link.h"
#include "gui/system/system_window.h"

#include <QStringList>

namespace quintor {

const QStringList& SystemWindow::helpCommands() {
    static const QStringList names{
        QStringLiteral("Sommario1"),
        QStringLiteral("Cercaargomento1"),
        QStringLiteral("Quintorinpochisecondi1"),
        QStringLiteral("COMECREARLE1"),
    };
    return names;
}

void SystemWindow::Sommario1Click() {
    showHelpTopic(HelpTopic::Contents);
}

void SystemWindow::Cercaargomento1Click() {
    showHelpSearch();
}

void SystemWindow::Quintorinpochisecondi1Click() {
    showHelpTopic(HelpTopic::QuickTour);
}

void SystemWindow::COMECREARLE1Click() {
    showHelpTopic(HelpTopic::UserFunctions);
}

} // namespace quintor
