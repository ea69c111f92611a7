// The system window's commands on its final columns and number statistics.
#include "core/archive.h"
#include "gui/system/statistics_windows.h"
#include "gui/system/system_window.h"

namespace quintor {

void SystemWindow::SpeedButton20Click() {
    openProbabilityWindow(this, state());
    refreshSystemView();
}

void SystemWindow::SpeedButton16Click() {
    openComparison(this, state());
    refreshSystemView();
}

void SystemWindow::SpeedButton18Click() {
    openDistribution(this, state());
    refreshSystemView();
}

void SystemWindow::SpeedButton8Click() {
    openProbabilitiesEditor(this, state());
    refreshSystemView();
}

void SystemWindow::Aggiungisegnipiprobabili1Click() {
    if (addMostProbableNumbers(this, state(), programArchive())) {
        drawBoardMarks();
        refreshSystemView();
    }
}

void SystemWindow::Toglisegnimenoprobabili1Click() {
    if (removeLeastProbableNumbers(this, state(), programArchive())) {
        drawBoardMarks();
        refreshSystemView();
    }
}

} // namespace quintor
