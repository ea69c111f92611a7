// Commands whose windows are not in the program yet. Their menu items and tool buttons stay
// disabled while listed below. To bring one to life: define its slot in your own file,
// delete its stub here and its entry from the list.
#include "gui/system/system_window.h"

#include <QStringList>

namespace quintor {

const QStringList& SystemWindow::pendingCommands() {
    static const QStringList pending{};
    return pending;
}

} // namespace quintor
