// Every control a keyboard or screen-reader user can reach says what it is: by its own text,
// by a label that names it as its buddy, or by an accessible name.
#include "app/main_frame.h"
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

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <optional>
#include <vector>

using namespace quintor;

namespace {

bool showsText(QString text) {
    return !text.remove(QLatin1Char('&')).trimmed().isEmpty();
}

// A tab bar reads out the caption of each tab.
bool everyTabCaptioned(const QTabBar* tabs) {
    for (int i = 0; i < tabs->count(); ++i)
        if (!showsText(tabs->tabText(i)))
            return false;
    return tabs->count() > 0;
}

// The controls of window a user can reach that carry no name at all, as
// "window: objectName (class)". Controls on pages not shown yet count: they are reached by
// turning the page.
QStringList unnamedControls(QWidget* window) {
    const QList<QWidget*> all = window->findChildren<QWidget*>();
    QSet<const QWidget*> labelled;
    for (QWidget* w : all)
        if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy())
            labelled.insert(label->buddy());
    QStringList found;
    for (QWidget* w : all) {
        // A combo box's drop-down list is a window of its own, reached through the box.
        if (w->window() != window || w->focusPolicy() == Qt::NoFocus || w->isHidden())
            continue;
        // The editor inside a spin box or combo box, and a widget that hands its focus on, are
        // reached through their owner.
        QWidget* parent = w->parentWidget();
        if (qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent) ||
            w->focusProxy())
            continue;
        // Labels read out their own text; an inner window its title.
        if (qobject_cast<QLabel*>(w) || !w->windowTitle().isEmpty() ||
            !w->accessibleName().isEmpty() || labelled.contains(w))
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && showsText(button->text()))
            continue;
        if (auto* tabs = qobject_cast<QTabBar*>(w); tabs && everyTabCaptioned(tabs))
            continue;
        found << QStringLiteral("%1: %2 (%3)")
                     .arg(window->objectName().isEmpty() ? window->windowTitle()
                                                         : window->objectName(),
                          w->objectName(), QString::fromLatin1(w->metaObject()->className()));
    }
    return found;
}

} // namespace

class AccessibleNamesTest : public QObject, protected test::SystemWindowFixture {
    Q_OBJECT
private slots:
    void init() { openSystemWindow(); }
    void cleanup() { closeSystemWindow(); }

    void everyReachableControlIsNamed();
};

void AccessibleNamesTest::everyReachableControlIsNamed() {
    for (int n : {3, 8, 15, 22, 40, 41, 77})
        test::clickNumber(window_, n);
    SystemState& state = window_->state();
    state.finalColumns.push_back(Column{{3, 8, 15, 22, 40, 41}});
    Archive archive = test::cyclicArchive(30);
    ProgramContext& context = window_->context();
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
    windows.push_back(std::make_unique<ArchiveWindow>(
        std::filesystem::path(home_->path().toStdString()), context.archives(), context.random()));
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
    windows.push_back(
        std::make_unique<FunctionWaitDialog>(home_->path(), QStringLiteral("Funzione")));
    windows.push_back(std::make_unique<NewFunctionDialog>(home_->path()));

    QStringList offenders = unnamedControls(frame_.get());
    // The dialog the next step opens modally, looked at and closed as soon as it shows.
    const auto checkNextDialog = [&offenders](const QString& what) {
        QTimer::singleShot(0, [&offenders, what] {
            QWidget* shown = QApplication::activeModalWidget();
            if (!shown) {
                offenders << what + QStringLiteral(": not shown");
                return;
            }
            offenders << unnamedControls(shown);
            shown->close();
        });
    };
    for (auto& w : windows) {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        offenders << unnamedControls(w.get());
        // The print windows' preview is a window of its own.
        if (auto* preview = w->findChild<QPushButton*>(QStringLiteral("previewButton"))) {
            checkNextDialog(w->objectName() + QStringLiteral(" preview"));
            QTest::mouseClick(preview, Qt::LeftButton);
        }
        w->hide();
    }
    // So are the printer set-up, the properties dialog it opens, and the file dialog.
    QTimer::singleShot(0, [&] {
        QWidget* setup = QApplication::activeModalWidget();
        if (!setup) {
            offenders << QStringLiteral("Imposta stampante: not shown");
            return;
        }
        offenders << unnamedControls(setup);
        checkNextDialog(QStringLiteral("Proprietà della stampante"));
        test::child<QPushButton>(setup, "properties")->click();
        setup->close();
    });
    setUpPrinter(window_);
    checkNextDialog(QStringLiteral("file dialog"));
    DialogPrompter().openFileName(window_,
                                  FileRequest{QStringLiteral("Apri"),
                                              QStringLiteral("Sistema Quintor (*.qtr)|*.qtr"),
                                              QStringLiteral("qtr"), home_->path()});
    QVERIFY2(offenders.isEmpty(),
             qPrintable(QLatin1Char('\n') + offenders.join(QLatin1Char('\n'))));
}

QTEST_MAIN(AccessibleNamesTest)
#include "test_accessible_names.moc"
