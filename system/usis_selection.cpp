// The system window's way into the selection of final columns.
#include "core/archive.h"
#include "selection/uselco.h"
#include "system/column_exchange.h"
#include "system/usis.h"

#include <QTableView>

namespace quintor {

void TSIS::SpeedButton14Click() {
    COL->hide();
    const int ended = launchSelection(this, state(), programArchive());
    COL->show();
    if (ended >= 0)
        NUM_INVIDEO();
}

void TSIS::Filtracolonnefinali1Click() {
    const Archive& archive = programArchive();
    auto draws = std::make_shared<const std::vector<Column>>(archive.newestFirst(archive.size()));
    if (Filtracolonnefinali(this, state(), draws))
        NUM_INVIDEO();
}

void TSIS::Esportacolonne1Click() {
    Esportacolonne(this, state());
}

void TSIS::Importacolonnedacsv1Click() {
    if (Importacolonnedacsv(this, state()))
        NUM_INVIDEO();
}

} // namespace quintor
