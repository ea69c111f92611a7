// The system window's commands on the final-column list and on the initial system.
#include "system/columns_model.h"
#include "system/editing_commands.h"
#include "system/usis.h"

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

void TSIS::Estraicolonnecasualmente1Click() {
    if (quintor::Estraicolonnecasualmente(this, state_))
        NUM_INVIDEO();
}

void TSIS::Importacolonne1Click() {
    if (quintor::Importacolonne(this, state_))
        NUM_INVIDEO();
}

void TSIS::SpeedButton21Click() {
    if (quintor::Colonnedatastiera(this, state_))
        NUM_INVIDEO();
}

void TSIS::SpeedButton7Click() {
    const auto [top, bottom] = selectedRows(COL);
    Q_UNUSED(bottom);
    if (quintor::Modificacolonna(this, state_, top))
        model_->refresh();
}

void TSIS::SpeedButton19Click() {
    const auto [top, bottom] = selectedRows(COL);
    if (quintor::Tagliacolonne(state_, top, bottom)) {
        COL->clearSelection();
        NUM_INVIDEO();
    }
}

void TSIS::Azzeracolonne1Click() {
    if (quintor::Azzeracolonne(this, state_))
        NUM_INVIDEO();
}

void TSIS::SpeedButton23Click() {
    if (quintor::Aggiungisegnocasualmente(state_) != 0) {
        DISEGNA_SEGNI();
        NUM_INVIDEO();
    }
}

void TSIS::Togliunsegnocasualmente1Click() {
    if (quintor::Togliunsegnocasualmente(state_) != 0) {
        DISEGNA_SEGNI();
        NUM_INVIDEO();
    }
}

void TSIS::Azzerasistema1Click() {
    if (!quintor::Azzerasistema(this, state_).empty()) {
        DISEGNA_SEGNI();
        NUM_INVIDEO();
    }
}

void TSIS::Fisse1Click() {
    quintor::Fisse(this, state_);
}

void TSIS::Costocolonne1Click() {
    if (quintor::Costocolonne(this, state_))
        NUM_INVIDEO();
}

} // namespace quintor
