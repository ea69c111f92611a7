// The system window's way into the test of its selection against chance.
#include "core/archive.h"
#include "gui/analysis/walk_forward_dialog.h"
#include "gui/common/feedback.h"
#include "gui/common/program_context.h"
#include "gui/system/system_window.h"

namespace quintor {

void SystemWindow::onWalkForwardTriggered() {
    // The selection needs six marks; the window then asks for the rest.
    if (state().markedCount() < 6) {
        beep();
        return;
    }
    WalkForwardDialog window(state(), loadedArchive(), context_.columnPrice().value(), this);
    window.exec();
}

} // namespace quintor
