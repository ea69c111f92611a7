#include "gui/print/vertical_slip_window.h"

#include "gui/common/feedback.h"

#include <QCheckBox>

namespace quintor {

VerticalSlipWindow::VerticalSlipWindow(SystemState& state, ColumnListWindow& columnList,
                                       QWidget* parent)
    : SlipPrintWindow(SlipLayout::vertical, state, columnList, parent) {
    setObjectName(QStringLiteral("VerticalSlipWindow"));
    setWindowTitle(QStringLiteral("Stampa verticale"));
    slipNumberBox_ = new QCheckBox(QStringLiteral("Stampa il numero della schedina"), this);
    slipNumberBox_->setObjectName(QStringLiteral("slipNumberBox"));
    setHint(slipNumberBox_, QStringLiteral("Stampa il numero della schedina nell'angolo in alto"));
    addSlipNumberBox(slipNumberBox_);
    // Changed during a run it would change the labels of the slips still to come.
    addIdleControl(slipNumberBox_);
    fixSize();
}

bool VerticalSlipWindow::printsSlipNumber() const {
    return slipNumberBox_->isChecked();
}

void openVerticalSlipWindow(QWidget* parent, SystemState& state, ColumnListWindow& columnList) {
    VerticalSlipWindow window(state, columnList, parent);
    window.exec();
}

} // namespace quintor
