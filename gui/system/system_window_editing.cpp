// The system window's commands on the final-column list and on the initial system.
#include "gui/common/program_context.h"
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

void SystemWindow::onRandomColumnsTriggered() {
    if (quintor::extractColumnsAtRandom(this, state_, context_.random()))
        refreshSystemView();
}

void SystemWindow::onImportColumnsTriggered() {
    if (quintor::importColumnsFromSystem(this, state_))
        refreshSystemView();
}

void SystemWindow::onKeyboardColumnsTriggered() {
    if (quintor::enterColumnsFromKeyboard(this, state_))
        refreshSystemView();
}

void SystemWindow::onEditColumnTriggered() {
    const auto [top, bottom] = selectedRows(finalColumnsGrid_);
    Q_UNUSED(bottom);
    if (quintor::editColumnAt(this, state_, top))
        model_->refresh();
}

void SystemWindow::onDeleteColumnsTriggered() {
    const auto [top, bottom] = selectedRows(finalColumnsGrid_);
    if (quintor::deleteColumnsAt(state_, top, bottom)) {
        finalColumnsGrid_->clearSelection();
        refreshSystemView();
    }
}

void SystemWindow::onClearColumnsTriggered() {
    if (quintor::clearFinalColumns(this, state_))
        refreshSystemView();
}

void SystemWindow::onAddRandomNumberTriggered() {
    if (quintor::markNumberAtRandom(state_, context_.random()) != 0) {
        drawBoardMarks();
        refreshSystemView();
    }
}

void SystemWindow::onRemoveRandomNumberTriggered() {
    if (quintor::unmarkNumberAtRandom(state_, context_.random()) != 0) {
        drawBoardMarks();
        refreshSystemView();
    }
}

void SystemWindow::onClearSystemTriggered() {
    if (!quintor::clearMarkedNumbers(this, state_).empty()) {
        drawBoardMarks();
        refreshSystemView();
    }
}

void SystemWindow::onFixedNumbersTriggered() {
    quintor::editFixedNumbers(this, state_);
}

void SystemWindow::onColumnPriceTriggered() {
    if (quintor::changeColumnPrice(this, state_, context_.columnPrice()))
        refreshSystemView();
}

} // namespace quintor
