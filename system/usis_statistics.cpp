// The system window's commands on its final columns and number statistics.
#include "core/archive.h"
#include "system/statistics_windows.h"
#include "system/usis.h"

namespace quintor {

void TSIS::SpeedButton20Click() {
    openProbabilityWindow(this, state());
    NUM_INVIDEO();
}

void TSIS::SpeedButton16Click() {
    openComparison(this, state());
    NUM_INVIDEO();
}

void TSIS::SpeedButton18Click() {
    openDistribution(this, state());
    NUM_INVIDEO();
}

void TSIS::SpeedButton8Click() {
    openProbabilitiesEditor(this, state());
    NUM_INVIDEO();
}

void TSIS::Aggiungisegnipiprobabili1Click() {
    if (addMostProbableNumbers(this, state(), programArchive())) {
        DISEGNA_SEGNI();
        NUM_INVIDEO();
    }
}

void TSIS::Toglisegnimenoprobabili1Click() {
    if (removeLeastProbableNumbers(this, state(), programArchive())) {
        DISEGNA_SEGNI();
        NUM_INVIDEO();
    }
}

} // namespace quintor
