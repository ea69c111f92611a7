// The system window's way into the selection of final columns.
#include "core/archive.h"
#include "selection/uselco.h"
#include "system/usis.h"

#include <QTableView>

namespace quintor {

void TSIS::SpeedButton14Click() {
    COL()->hide();
    const int ended = launchSelection(this, state(), programArchive());
    COL()->show();
    if (ended >= 0)
        NUM_INVIDEO();
}

} // namespace quintor
