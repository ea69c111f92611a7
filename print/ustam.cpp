#include "print/ustam.h"

#include "gui_common/feedback.h"

#include <QCheckBox>

namespace quintor {

TSTAM::TSTAM(SystemState& state, QWidget* parent)
    : SlipPrintWindow(SlipLayout::vertical, state, parent) {
    setObjectName(QStringLiteral("TSTAM"));
    setWindowTitle(QStringLiteral("Stampa verticale"));
    CBOX1 = new QCheckBox(QStringLiteral("Stampa il numero della schedina"), this);
    CBOX1->setObjectName(QStringLiteral("CBOX1"));
    setHint(CBOX1, QStringLiteral("Stampa il numero della schedina nell'angolo in alto"));
    addSlipNumberBox(CBOX1);
    fixSize();
}

bool TSTAM::printsSlipNumber() const {
    return CBOX1->isChecked();
}

void Verticalesuschedine(QWidget* parent, SystemState& state) {
    TSTAM window(state, parent);
    window.exec();
}

} // namespace quintor
