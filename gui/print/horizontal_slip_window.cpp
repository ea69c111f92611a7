#include "gui/print/horizontal_slip_window.h"

namespace quintor {

HorizontalSlipWindow::HorizontalSlipWindow(SystemState& state, QWidget* parent)
    : SlipPrintWindow(SlipLayout::horizontal, state, parent) {
    setObjectName(QStringLiteral("HorizontalSlipWindow"));
    setWindowTitle(QStringLiteral("Stampa orizzontale"));
    fixSize();
}

void openHorizontalSlipWindow(QWidget* parent, SystemState& state) {
    HorizontalSlipWindow window(state, parent);
    window.exec();
}

} // namespace quintor
