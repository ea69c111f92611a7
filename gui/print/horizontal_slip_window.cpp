#include "gui/print/horizontal_slip_window.h"

namespace quintor {

HorizontalSlipWindow::HorizontalSlipWindow(SystemState& state, ColumnListWindow& columnList,
                                           QWidget* parent)
    : SlipPrintWindow(SlipLayout::horizontal, state, columnList, parent) {
    setObjectName(QStringLiteral("HorizontalSlipWindow"));
    setWindowTitle(QStringLiteral("Stampa orizzontale"));
    fixSize();
}

void openHorizontalSlipWindow(QWidget* parent, SystemState& state, ColumnListWindow& columnList) {
    HorizontalSlipWindow window(state, columnList, parent);
    window.exec();
}

} // namespace quintor
