// Commands whose windows are not in the program yet. Their menu items and tool buttons stay
// disabled while listed below. To bring one to life: define its slot in your own file,
// delete its stub here and its entry from the list.
#include "system/usis.h"

#include <QStringList>

namespace quintor {

const QStringList& TSIS::pendingCommands() {
    static const QStringList pending{
        QStringLiteral("Importacolonne1"),
        QStringLiteral("Azzeracolonne1"),
        QStringLiteral("Estraicolonnecasualmente1"),
        QStringLiteral("Costocolonne1"),
        QStringLiteral("Taglia1"),
        QStringLiteral("Modifica1"),
        QStringLiteral("Colonnedatastiera1"),
        QStringLiteral("Fisse1"),
        QStringLiteral("Azzerasistema1"),
        QStringLiteral("Aggiungisegnocasualmente1"),
        QStringLiteral("Togliunsegnocasualmente1"),
        QStringLiteral("Verticalesuschedine1"),
        QStringLiteral("Colonnesucarta1"),
        QStringLiteral("Sucartacomune1"),
        QStringLiteral("Impostastampante1"),
        QStringLiteral("Aggiunginuovafunzione1"),
        QStringLiteral("EliminaFunzioneUtente1"),
        QStringLiteral("COMECREARLE1"),
        QStringLiteral("Sommario1"),
        QStringLiteral("Cercaargomento1"),
        QStringLiteral("Quintorinpochisecondi1"),
    };
    return pending;
}

void TSIS::Importacolonne1Click() {}
void TSIS::Azzeracolonne1Click() {}
void TSIS::Estraicolonnecasualmente1Click() {}
void TSIS::Costocolonne1Click() {}
void TSIS::SpeedButton19Click() {}
void TSIS::SpeedButton7Click() {}
void TSIS::SpeedButton21Click() {}
void TSIS::Fisse1Click() {}
void TSIS::Azzerasistema1Click() {}
void TSIS::SpeedButton23Click() {}
void TSIS::Togliunsegnocasualmente1Click() {}
void TSIS::SpeedButton15Click() {}
void TSIS::SpeedButton17Click() {}
void TSIS::SpeedButton22Click() {}
void TSIS::Impostastampante1Click() {}
void TSIS::Aggiunginuovafunzione1Click() {}
void TSIS::EliminaFunzioneUtente1Click() {}
void TSIS::COMECREARLE1Click() {}
void TSIS::Sommario1Click() {}
void TSIS::Cercaargomento1Click() {}
void TSIS::Quintorinpochisecondi1Click() {}

} // namespace quintor
