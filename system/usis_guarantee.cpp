// The system window's way into the guarantee, its holes and repair, and the back-test.
#include "analysis/ubuchi.h"
#include "analysis/ucompleta.h"
#include "analysis/ugaranzia.h"
#include "analysis/uverifica.h"
#include "core/archive.h"
#include "core/column_price.h"
#include "gui_common/feedback.h"
#include "system/usis.h"

namespace quintor {

void TSIS::Garanziadelsistema1Click() {
    if (state().finalColumns.empty()) {
        beep();
        return;
    }
    TGaranzia window(state(), this);
    window.exec();
    NUM_INVIDEO();
}

void TSIS::Buchidellagaranzia1Click() {
    if (state().finalColumns.empty()) {
        beep();
        return;
    }
    TBuchi window(state(), 3, 6, this);
    window.exec();
    NUM_INVIDEO();
}

void TSIS::Completalagaranzia1Click() {
    if (state().markedCount() < 6) {
        beep();
        return;
    }
    TCompleta window(state(), programArchive(), this);
    window.exec();
    NUM_INVIDEO();
}

void TSIS::Verificasullarchivio1Click() {
    if (state().finalColumns.empty()) {
        beep();
        return;
    }
    TVerifica window(state(), programArchive(), programColumnPrice().value(), this);
    window.exec();
    NUM_INVIDEO();
}

} // namespace quintor
