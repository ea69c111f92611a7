#include "print/ustaor.h"

namespace quintor {

TSTAOR::TSTAOR(SystemState& state, QWidget* parent)
    : SlipPrintWindow(SlipLayout::horizontal, state, parent) {
    setObjectName(QStringLiteral("TSTAOR"));
    setWindowTitle(QStringLiteral("Stampa orizzontale"));
    fixSize();
}

void Orizzontalesuschedine(QWidget* parent, SystemState& state) {
    TSTAOR window(state, parent);
    window.exec();
}

} // namespace quintor
