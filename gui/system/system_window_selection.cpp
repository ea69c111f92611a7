// The system window's way into the selection of final columns.
#include "core/archive.h"
#include "gui/selection/selection_dialog.h"
#include "gui/system/column_exchange.h"
#include "gui/system/system_window.h"

#include <QTableView>

namespace quintor {

void SystemWindow::onSelectColumnsTriggered() {
    finalColumnsGrid_->hide();
    const int ended = launchSelection(this, state(), loadedArchive());
    finalColumnsGrid_->show();
    if (ended >= 0)
        refreshSystemView();
}

void SystemWindow::onFilterColumnsTriggered() {
    const Archive& archive = loadedArchive();
    auto draws = std::make_shared<const std::vector<Column>>(archive.newestFirst(archive.size()));
    if (filterFinalColumns(this, state(), draws))
        refreshSystemView();
}

void SystemWindow::onExportColumnsTriggered() {
    exportFinalColumns(this, state());
}

void SystemWindow::onImportCsvTriggered() {
    if (importColumnsFromCsv(this, state()))
        refreshSystemView();
}

} // namespace quintor
