// The system window's commands on the final-column list and on the initial system.
#include "gui/system/columns_model.h"
#include "gui/system/editing_commands.h"
#include "gui/system/system_window.h"

#include <QItemSelectionModel>
#include <QTableView>

#include <algorithm>
#include <climits>

namespace quintor {

namespace {

// The selected grid rows as the list numbers them (1 = first column), from the top of the
// selection to its bottom; 0, 0 when nothing is selected or current.
std::pair<int, int> selectedRows(const QTableView* grid) {
    const QItemSelectionModel* selection = grid->selectionModel();
    int top = INT_MAX;
    int bottom = -1;
    if (selection) {
        for (const QItemSelectionRange& range : selection->selection()) {
            top = std::min(top, range.top());
            bottom = std::max(bottom, range.bottom());
        }
        if (bottom < 0 && selection->currentIndex().isValid())
            top = bottom = selection->currentIndex().row();
    }
    if (bottom < 0)
        return {0, 0};
    return {top + 1, bottom + 1};
}

} // namespace

void SystemWindow::Estraicolonnecasualmente1Click() {
    if (quintor::Estraicolonnecasualmente(this, state_))
        refreshSystemView();
}

void SystemWindow::Importacolonne1Click() {
    if (quintor::Importacolonne(this, state_))
        refreshSystemView();
}

void SystemWindow::SpeedButton21Click() {
    if (quintor::Colonnedatastiera(this, state_))
        refreshSystemView();
}

void SystemWindow::SpeedButton7Click() {
    const auto [top, bottom] = selectedRows(COL);
    Q_UNUSED(bottom);
    if (quintor::Modificacolonna(this, state_, top))
        model_->refresh();
}

void SystemWindow::SpeedButton19Click() {
    const auto [top, bottom] = selectedRows(COL);
    if (quintor::Tagliacolonne(state_, top, bottom)) {
        COL->clearSelection();
        refreshSystemView();
    }
}

void SystemWindow::Azzeracolonne1Click() {
    if (quintor::Azzeracolonne(this, state_))
        refreshSystemView();
}

void SystemWindow::SpeedButton23Click() {
    if (quintor::Aggiungisegnocasualmente(state_) != 0) {
        drawBoardMarks();
        refreshSystemView();
    }
}

void SystemWindow::Togliunsegnocasualmente1Click() {
    if (quintor::Togliunsegnocasualmente(state_) != 0) {
        drawBoardMarks();
        refreshSystemView();
    }
}

void SystemWindow::Azzerasistema1Click() {
    if (!quintor::Azzerasistema(this, state_).empty()) {
        drawBoardMarks();
        refreshSystemView();
    }
}

void SystemWindow::Fisse1Click() {
    quintor::Fisse(this, state_);
}

void SystemWindow::Costocolonne1Click() {
    if (quintor::Costocolonne(this, state_))
        refreshSystemView();
}

} // namespace quintor
