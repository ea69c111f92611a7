// The system window's commands on its final columns and number statistics.
#include "core/archive.h"
#include "gui/common/program_context.h"
#include "gui/system/statistics_windows.h"
#include "gui/system/system_window.h"

namespace quintor {

void SystemWindow::onWinningProbabilityTriggered() {
    openProbabilityWindow(this, state());
    refreshSystemView();
}

void SystemWindow::onCompareColumnsTriggered() {
    openComparison(this, state(), context_.columnList());
    refreshSystemView();
}

void SystemWindow::onDistributionTriggered() {
    openDistribution(this, state());
    refreshSystemView();
}

void SystemWindow::onNumberProbabilitiesTriggered() {
    openProbabilitiesEditor(this, state());
    refreshSystemView();
}

void SystemWindow::onAddMostProbableTriggered() {
    if (addMostProbableNumbers(this, state(), loadedArchive())) {
        drawBoardMarks();
        refreshSystemView();
    }
}

void SystemWindow::onRemoveLeastProbableTriggered() {
    if (removeLeastProbableNumbers(this, state(), loadedArchive())) {
        drawBoardMarks();
        refreshSystemView();
    }
}

} // namespace quintor
