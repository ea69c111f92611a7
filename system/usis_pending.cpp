// Commands whose windows are not in the program yet. Their menu items and tool buttons stay
// disabled while listed below. To bring one to life: define its slot in your own file,
// delete its stub here and its entry from the list.
#include "system/usis.h"

#include <QStringList>

namespace quintor {

const QStringList& TSIS::pendingCommands() {
    static const QStringList pending{
        QStringLiteral("Verticalesuschedine1"), QStringLiteral("Colonnesucarta1"),
        QStringLiteral("Sucartacomune1"),       QStringLiteral("Impostastampante1"),
        QStringLiteral("COMECREARLE1"),         QStringLiteral("Sommario1"),
        QStringLiteral("Cercaargomento1"),      QStringLiteral("Quintorinpochisecondi1"),
    };
    return pending;
}

void TSIS::SpeedButton15Click() {}
void TSIS::SpeedButton17Click() {}
void TSIS::SpeedButton22Click() {}
void TSIS::Impostastampante1Click() {}
void TSIS::COMECREARLE1Click() {}
void TSIS::Sommario1Click() {}
void TSIS::Cercaargomento1Click() {}
void TSIS::Quintorinpochisecondi1Click() {}

} // namespace quintor
