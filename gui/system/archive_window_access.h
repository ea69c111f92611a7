#pragma once

#include <QDialog>

#include <filesystem>
#include <functional>
#include <memory>

namespace quintor {

class ProgramContext;

// The archive window as the main frame holds it: the frame owns the window and shows it for
// its own menu item and for the system windows (SystemHost), but reaches the window folders
// only through the system layer.

// The archive window of folder over the context's archive: it takes the archive read ahead
// and offers the update file there.
std::unique_ptr<QDialog> createArchiveWindow(const std::filesystem::path& folder,
                                             ProgramContext& context, QWidget* parent);
// A loading still waiting for the reading ahead ends now (asking about the update file, if
// one has come); nothing once the archive is loaded.
void completeArchiveLoading(QDialog& archiveWindow);
// react runs, in receiver's thread, each time the window has loaded or changed the archive.
void watchArchiveChanges(QDialog& archiveWindow, QObject* receiver, std::function<void()> react);
// Shows the window modally with its CSV import asked for at once, as its "Importa CSV" button
// would: the user chooses the file and then sees the draws it brought.
void showArchiveImport(QDialog& archiveWindow);

} // namespace quintor
