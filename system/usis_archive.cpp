// The system window's way into the archive window.
#include "archive/ugestra.h"
#include "system/usis.h"

namespace quintor {

void TSIS::SpeedButton4Click() {
    TGestra::showModal();
}

} // namespace quintor
