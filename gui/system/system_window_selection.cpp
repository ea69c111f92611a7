// The system window's way into the selection of final columns.
#include "core/archive.h"
#include "gui/selection/selection_dialog.h"
#include "gui/system/column_exchange.h"
#include "gui/system/system_window.h"

#include <QTableView>

namespace quintor {

void SystemWindow::SpeedButton14Click() {
    COL->hide();
    const int ended = launchSelection(this, state(), programArchive());
    COL->show();
    if (ended >= 0)
        refreshSystemView();
}

void SystemWindow::Filtracolonnefinali1Click() {
    const Archive& archive = programArchive();
    auto draws = std::make_shared<const std::vector<Column>>(archive.newestFirst(archive.size()));
    if (Filtracolonnefinali(this, state(), draws))
        refreshSystemView();
}

void SystemWindow::Esportacolonne1Click() {
    Esportacolonne(this, state());
}

void SystemWindow::Importacolonnedacsv1Click() {
    if (Importacolonnedacsv(this, state()))
        refreshSystemView();
}

} // namespace quintor
