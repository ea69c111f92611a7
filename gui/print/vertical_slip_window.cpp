#include "gui/print/vertical_slip_window.h"

#include "gui/common/feedback.h"

#include <QCheckBox>

namespace quintor {

VerticalSlipWindow::VerticalSlipWindow(SystemState& state, QWidget* parent)
    : SlipPrintWindow(SlipLayout::vertical, state, parent) {
    setObjectName(QStringLiteral("VerticalSlipWindow"));
    setWindowTitle(QStringLiteral("Stampa verticale"));
    CBOX1 = new QCheckBox(QStringLiteral("Stampa il numero della schedina"), this);
    CBOX1->setObjectName(QStringLiteral("CBOX1"));
    setHint(CBOX1, QStringLiteral("Stampa il numero della schedina nell'angolo in alto"));
    addSlipNumberBox(CBOX1);
    fixSize();
}

bool VerticalSlipWindow::printsSlipNumber() const {
    return CBOX1->isChecked();
}

void Verticalesuschedine(QWidget* parent, SystemState& state) {
    VerticalSlipWindow window(state, parent);
    window.exec();
}

} // namespace quintor
