// The system window's way into the archive window and the archive.
#include "gui/common/program_context.h"
#include "gui/system/system_window.h"

namespace quintor {

void SystemWindow::onArchiveTriggered() {
    if (host_)
        host_->showArchiveWindow();
}

const Archive& SystemWindow::loadedArchive() {
    if (host_)
        host_->finishArchiveLoading();
    return context_.archive();
}

} // namespace quintor
