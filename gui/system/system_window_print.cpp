// The Stampa menu: the print windows work on this window's system.
#include "gui/system/system_window.h"

#include "gui/common/program_context.h"
#include "gui/print/horizontal_slip_window.h"
#include "gui/print/paper_listing_window.h"
#include "gui/print/printer.h"
#include "gui/print/vertical_slip_window.h"

namespace quintor {

void SystemWindow::onPrintVerticalTriggered() {
    openVerticalSlipWindow(this, state_, context_.columnList());
}

void SystemWindow::onPrintHorizontalTriggered() {
    openHorizontalSlipWindow(this, state_, context_.columnList());
}

void SystemWindow::onPrintPaperTriggered() {
    openPaperListingWindow(this, state_);
}

void SystemWindow::onPrinterSetupTriggered() {
    setUpPrinter(this);
}

} // namespace quintor
