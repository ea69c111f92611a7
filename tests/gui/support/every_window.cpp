#include "tests/gui/support/every_window.h"

#include "core/archive.h"
#include "gui/analysis/archive_backtest_dialog.h"
#include "gui/analysis/guarantee_holes_dialog.h"
#include "gui/analysis/guarantee_repair_dialog.h"
#include "gui/analysis/guarantee_table_dialog.h"
#include "gui/archive/archive_window.h"
#include "gui/archive/number_count_dialog.h"
#include "gui/archive/number_distribution_dialog.h"
#include "gui/archive/winning_column_dialog.h"
#include "gui/common/column_list_window.h"
#include "gui/common/program_context.h"
#include "gui/common/prompter.h"
#include "gui/help/help_window.h"
#include "gui/print/horizontal_slip_window.h"
#include "gui/print/paper_listing_window.h"
#include "gui/print/printer.h"
#include "gui/print/vertical_slip_window.h"
#include "gui/selection/column_filters_dialog.h"
#include "gui/selection/selection_dialog.h"
#include "gui/selection/winning_probability_dialog.h"
#include "gui/system/column_edit_dialog.h"
#include "gui/system/column_price_dialog.h"
#include "gui/system/fixed_numbers_dialog.h"
#include "gui/system/keyboard_entry_dialog.h"
#include "gui/system/number_probability_dialog.h"
#include "gui/system/random_count_dialog.h"
#include "gui/system/system_window.h"
#include "gui/userfunc/function_wait_dialog.h"
#include "gui/userfunc/new_function_dialog.h"
#include "gui/userfunc/remove_function_dialog.h"
#include "tests/gui/support/gui_helpers.h"

#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <optional>
#include <vector>

namespace quintor::test {

QStringList visitEveryWindow(SystemWindow* window, const QString& home,
                             const std::function<void(QWidget*)>& look) {
    for (int n : {3, 8, 15, 22, 40, 41, 77})
        clickNumber(window, n);
    SystemState& state = window->state();
    state.finalColumns.push_back(Column{{3, 8, 15, 22, 40, 41}});
    Archive archive = cyclicArchive(30);
    ProgramContext& context = window->context();
    const std::vector<Column> draws = archive.newestFirst(archive.size());
    const auto noCount = [](const auto&, const auto&) -> std::optional<std::uint64_t> { return 0; };

    std::vector<std::unique_ptr<QWidget>> windows;
    windows.push_back(std::make_unique<RandomCountDialog>());
    windows.push_back(std::make_unique<KeyboardEntryDialog>(state));
    windows.push_back(std::make_unique<ColumnPriceDialog>());
    windows.push_back(std::make_unique<FixedNumbersDialog>(state));
    windows.push_back(std::make_unique<ColumnEditDialog>());
    windows.push_back(std::make_unique<NumberProbabilityDialog>(state.marked, state.probabilities));
    windows.push_back(std::make_unique<GuaranteeHolesDialog>(state, 3, 6));
    windows.push_back(std::make_unique<GuaranteeRepairDialog>(state, archive));
    windows.push_back(std::make_unique<GuaranteeTableDialog>(state));
    windows.push_back(std::make_unique<ArchiveBacktestDialog>(state, archive, 800));
    windows.push_back(
        std::make_unique<WinningColumnDialog>(state.finalColumns, context.columnList()));
    windows.push_back(std::make_unique<NumberDistributionDialog>(state.finalColumns));
    windows.push_back(std::make_unique<ArchiveWindow>(std::filesystem::path(home.toStdString()),
                                                      context.archives(), context.random()));
    windows.push_back(std::make_unique<NumberCountDialog>());
    windows.push_back(std::make_unique<ColumnListWindow>());
    windows.push_back(std::make_unique<HelpWindow>(
        HelpWindow::findCollection(QCoreApplication::applicationDirPath())));
    windows.push_back(std::make_unique<ColumnFiltersDialog>(
        ColumnFilters{}, std::make_shared<const std::vector<Column>>(draws), noCount, 1,
        QStringLiteral("colonne finali")));
    windows.push_back(std::make_unique<WinningProbabilityDialog>(state.finalColumns, state.marked));
    windows.push_back(std::make_unique<SelectionDialog>(state, draws));
    windows.push_back(std::make_unique<VerticalSlipWindow>(state, context.columnList()));
    windows.push_back(std::make_unique<HorizontalSlipWindow>(state, context.columnList()));
    windows.push_back(std::make_unique<PaperListingWindow>(state));
    windows.push_back(std::make_unique<RemoveFunctionDialog>(
        QStringList{QStringLiteral("uno"), QStringLiteral("due")}));
    windows.push_back(std::make_unique<FunctionWaitDialog>(home, QStringLiteral("Funzione")));
    windows.push_back(std::make_unique<NewFunctionDialog>(home));

    QStringList missing;
    // The dialog the next step opens modally, looked at and closed as soon as it shows.
    const auto lookAtNextDialog = [&missing, &look](const QString& what) {
        QTimer::singleShot(0, [&missing, &look, what] {
            QWidget* shown = QApplication::activeModalWidget();
            if (!shown) {
                missing << what;
                return;
            }
            look(shown);
            shown->close();
        });
    };
    for (auto& w : windows) {
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            missing << w->objectName();
        look(w.get());
        // The print windows' preview is a window of its own.
        if (auto* preview = w->findChild<QPushButton*>(QStringLiteral("previewButton"))) {
            lookAtNextDialog(w->objectName() + QStringLiteral(" preview"));
            QTest::mouseClick(preview, Qt::LeftButton);
        }
        w->hide();
    }
    // So are the printer set-up, the properties dialog it opens, and the file dialog.
    QTimer::singleShot(0, [&] {
        QWidget* setup = QApplication::activeModalWidget();
        if (!setup) {
            missing << QStringLiteral("Imposta stampante");
            return;
        }
        look(setup);
        lookAtNextDialog(QStringLiteral("Proprietà della stampante"));
        child<QPushButton>(setup, "properties")->click();
        setup->close();
    });
    setUpPrinter(window);
    lookAtNextDialog(QStringLiteral("file dialog"));
    DialogPrompter().openFileName(
        window, FileRequest{QStringLiteral("Apri"), QStringLiteral("Sistema Quintor (*.qtr)|*.qtr"),
                            QStringLiteral("qtr"), home});
    return missing;
}

} // namespace quintor::test
