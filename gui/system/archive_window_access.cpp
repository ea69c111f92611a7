#include "gui/system/archive_window_access.h"

#include "gui/archive/archive_window.h"
#include "gui/common/program_context.h"

namespace quintor {

std::unique_ptr<QDialog> createArchiveWindow(const std::filesystem::path& folder,
                                             ProgramContext& context, QWidget* parent) {
    return std::make_unique<ArchiveWindow>(folder, context.archives(), context.random(), parent);
}

void completeArchiveLoading(QDialog& archiveWindow) {
    if (auto* window = qobject_cast<ArchiveWindow*>(&archiveWindow))
        window->completeLoading();
}

} // namespace quintor
