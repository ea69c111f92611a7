// The system window's way into the guarantee, its holes and repair, and the back-test.
#include "core/archive.h"
#include "gui/analysis/archive_backtest_dialog.h"
#include "gui/analysis/guarantee_holes_dialog.h"
#include "gui/analysis/guarantee_repair_dialog.h"
#include "gui/analysis/guarantee_table_dialog.h"
#include "gui/common/feedback.h"
#include "gui/common/program_context.h"
#include "gui/system/system_window.h"

namespace quintor {

void SystemWindow::onGuaranteeTriggered() {
    if (state().finalColumns.empty()) {
        beep();
        return;
    }
    GuaranteeTableDialog window(state(), this);
    window.exec();
    refreshSystemView();
}

void SystemWindow::onGuaranteeHolesTriggered() {
    if (state().finalColumns.empty()) {
        beep();
        return;
    }
    GuaranteeHolesDialog window(state(), 3, 6, this);
    window.exec();
    refreshSystemView();
}

void SystemWindow::onCompleteGuaranteeTriggered() {
    if (state().markedCount() < 6) {
        beep();
        return;
    }
    GuaranteeRepairDialog window(state(), loadedArchive(), this);
    window.exec();
    refreshSystemView();
}

void SystemWindow::onBacktestTriggered() {
    if (state().finalColumns.empty()) {
        beep();
        return;
    }
    ArchiveBacktestDialog window(state(), loadedArchive(), context_.columnPrice().value(), this);
    window.exec();
    refreshSystemView();
}

} // namespace quintor
