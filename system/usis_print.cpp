// The Stampa menu: the print windows work on this window's system.
#include "system/usis.h"

#include "print/printer.h"
#include "print/ustam.h"
#include "print/ustaor.h"
#include "print/usuca.h"

namespace quintor {

void TSIS::SpeedButton15Click() {
    Verticalesuschedine(this, state_);
}

void TSIS::SpeedButton17Click() {
    Orizzontalesuschedine(this, state_);
}

void TSIS::SpeedButton22Click() {
    Sucartacomune(this, state_);
}

void TSIS::Impostastampante1Click() {
    Impostastampante(this);
}

} // namespace quintor
