#pragma once

#include "core/archive_service.h"
#include "core/random.h"
#include "core/real48.h"

#include <QObject>

#include <memory>

namespace quintor {

class ColumnListWindow;

// What the windows of one run of the program share: the archive of winning columns, the price
// of a column, the random generator and the view-columns window. The main frame owns it and
// hands it to each system window, which passes its dialogs the pieces they need; tests build
// their own.
class ProgramContext : public QObject {
    Q_OBJECT
public:
    // The generator is seeded from the clock, once for the whole run.
    ProgramContext();
    ~ProgramContext() override;

    // The archive and the reading of its file started ahead. Whoever reads the archive in a
    // window first asks the frame to finish the archive window's loading (SystemHost).
    ArchiveService& archives() { return archives_; }
    Archive& archive() { return archives_.archive(); }
    // The price of one column: every system window shows its cost with it, and each new window
    // reloads it from the settings.
    Real48& columnPrice() { return columnPrice_; }
    // The one generator the windows and the archive's update draw from.
    RandomGenerator& random() { return random_; }
    // The one view-columns window, built on first use; it keeps its font and last list.
    ColumnListWindow& columnList();

signals:
    // funzioni.ute changed: every system window reloads its menu, so that item k always runs
    // the function whose caption it shows.
    void userFunctionsChanged();

private:
    ArchiveService archives_;
    Real48 columnPrice_;
    RandomGenerator random_;
    std::unique_ptr<ColumnListWindow> columnList_;
};

} // namespace quintor
