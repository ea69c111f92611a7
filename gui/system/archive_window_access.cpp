#include "gui/system/archive_window_access.h"

#include "gui/archive/archive_window.h"
#include "gui/common/program_context.h"

#include <QTimer>

namespace quintor {

std::unique_ptr<QDialog> createArchiveWindow(const std::filesystem::path& folder,
                                             ProgramContext& context, QWidget* parent) {
    return std::make_unique<ArchiveWindow>(folder, context.archives(), context.random(), parent);
}

void completeArchiveLoading(QDialog& archiveWindow) {
    if (auto* window = qobject_cast<ArchiveWindow*>(&archiveWindow))
        window->completeLoading();
}

void watchArchiveChanges(QDialog& archiveWindow, QObject* receiver, std::function<void()> react) {
    if (auto* window = qobject_cast<ArchiveWindow*>(&archiveWindow))
        QObject::connect(window, &ArchiveWindow::archiveChanged, receiver, std::move(react));
}

void showArchiveImport(QDialog& archiveWindow) {
    auto* window = qobject_cast<ArchiveWindow*>(&archiveWindow);
    if (!window)
        return;
    window->completeLoading();
    // Once the window is up, so that the file dialog opens in front of it.
    QTimer::singleShot(0, window, &ArchiveWindow::onImportCsvClicked);
    window->exec();
}

} // namespace quintor
