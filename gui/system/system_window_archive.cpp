// The system window's way into the archive window.
#include "gui/archive/archive_window.h"
#include "gui/system/system_window.h"

namespace quintor {

void SystemWindow::onArchiveTriggered() {
    ArchiveWindow::showModal();
}

} // namespace quintor
