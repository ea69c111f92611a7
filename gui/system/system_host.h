#pragma once

#include <QString>

namespace quintor {

// What a system window asks of the frame that holds it. The main frame implements it; the
// system window never sees the frame itself, so system/ stays below app/.
class SystemHost {
public:
    virtual ~SystemHost() = default;

    virtual void newSystem() = 0;             // "Nuovo"
    virtual void openSystem() = 0;            // "Apri"
    virtual void quitProgram() = 0;           // "Fine"
    virtual void openRecentSystem(int k) = 0; // recent-files item k, 0..5
    // The window's recent-files item k (0..5) as the frame shows it.
    virtual void showRecentItem(int k, const QString& caption, const QString& entry,
                                bool visible) = 0;
    // "Gestione colonne vincenti": the archive window, shown modally.
    virtual void showArchiveWindow() = 0;
    // Called before a command reads the program's archive: when the archive window is still
    // taking the archive read at start-up, it finishes now (and may ask the user first).
    virtual void finishArchiveLoading() = 0;

protected:
    SystemHost() = default;
    SystemHost(const SystemHost&) = default;
    SystemHost& operator=(const SystemHost&) = default;
};

} // namespace quintor
