#include "gui_common/help_link.h"
#include "system/usis.h"

#include <QStringList>

namespace quintor {

const QStringList& TSIS::helpCommands() {
    static const QStringList names{
        QStringLiteral("Sommario1"),
        QStringLiteral("Cercaargomento1"),
        QStringLiteral("Quintorinpochisecondi1"),
        QStringLiteral("COMECREARLE1"),
    };
    return names;
}

void TSIS::Sommario1Click() {
    showHelpTopic(HelpTopic::Contents);
}

void TSIS::Cercaargomento1Click() {
    showHelpSearch();
}

void TSIS::Quintorinpochisecondi1Click() {
    showHelpTopic(HelpTopic::QuickTour);
}

void TSIS::COMECREARLE1Click() {
    showHelpTopic(HelpTopic::UserFunctions);
}

} // namespace quintor
