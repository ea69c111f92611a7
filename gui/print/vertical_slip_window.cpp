#include "gui/print/vertical_slip_window.h"

#include "gui/common/feedback.h"

#include <QCheckBox>

namespace quintor {

VerticalSlipWindow::VerticalSlipWindow(SystemState& state, QWidget* parent)
    : SlipPrintWindow(SlipLayout::vertical, state, parent) {
    setObjectName(QStringLiteral("VerticalSlipWindow"));
    setWindowTitle(QStringLiteral("Stampa verticale"));
    slipNumberBox_ = new QCheckBox(QStringLiteral("Stampa il numero della schedina"), this);
    slipNumberBox_->setObjectName(QStringLiteral("slipNumberBox"));
    setHint(slipNumberBox_, QStringLiteral("Stampa il numero della schedina nell'angolo in alto"));
    addSlipNumberBox(slipNumberBox_);
    fixSize();
}

bool VerticalSlipWindow::printsSlipNumber() const {
    return slipNumberBox_->isChecked();
}

void openVerticalSlipWindow(QWidget* parent, SystemState& state) {
    VerticalSlipWindow window(state, parent);
    window.exec();
}

} // namespace quintor
