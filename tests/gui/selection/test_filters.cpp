// Column filters and the columns' text exchange, driven through the real windows: the filters
// dialog from the selection window and from the system window, export and import of columns,
// and the archive's CSV export read back by its import.
#include "app/main_frame.h"
#include "core/archive.h"
#include "core/column_csv.h"
#include "gui/archive/archive_window.h"
#include "gui/selection/column_filters_dialog.h"
#include "gui/selection/selection_dialog.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/gui_helpers.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace quintor;

using quintor::test::whenShown;

namespace {

void setField(QWidget& window, const char* name, const QString& text) {
    auto* field = window.findChild<QLineEdit*>(QString::fromLatin1(name));
    QVERIFY2(field, name);
    field->clear();
    QTest::keyClicks(field, text);
}

void click(QWidget& window, const char* name) {
    auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY2(button, name);
    button->click();
}

QString countText(const ColumnFiltersDialog& dialog) {
    return dialog.findChild<QLabel*>(QStringLiteral("countLabel"))->text();
}

} // namespace

class FiltersTest : public QObject, public test::SystemWindowFixture {
    Q_OBJECT
private slots:
    void init() { openSystemWindow(); }
    void cleanup() { closeSystemWindow(); }
    void theSelectionKeepsOnlyColumnsThatPass();
    void badFieldsAndFiltersNoColumnPasses();
    void filteringTheFinalColumnsAsksFirst();
    void columnsLeaveAndComeBackAsText();
    void archiveDrawsExportToTheCsvItsImportReads();
};

void FiltersTest::theSelectionKeepsOnlyColumnsThatPass() {
    const Archive archive = simulatedArchive(400, 3);
    SystemState& system = window_->state();
    for (int n = 30; n <= 43; ++n) // 14 numbers, 3003 initial columns
        system.marked[static_cast<std::size_t>(n)] = 1;
    ColumnFilters expectedFilters;
    QVERIFY(addFilter(expectedFilters, "somma=200..220"));
    QVERIFY(addFilter(expectedFilters, "consecutivi<=2"));
    QVERIFY(addFilter(expectedFilters, "archivio<=2@100"));
    const auto draws = archive.newestFirst(archive.size());
    std::uint64_t expectedCount = 0;
    forEachPassingColumn(FilterCheck(expectedFilters, draws), system.markedNumbers(),
                         [&](const Column&) { return ++expectedCount, true; });
    QVERIFY(expectedCount > 0 && expectedCount < 3003);

    whenShown<SelectionDialog>([&](SelectionDialog& selection) {
        whenShown<ColumnFiltersDialog>([&](ColumnFiltersDialog& dialog) {
            setField(dialog, "sumFrom", QStringLiteral("200"));
            setField(dialog, "sumTo", QStringLiteral("220"));
            setField(dialog, "runLimit", QStringLiteral("2"));
            setField(dialog, "archiveLimit", QStringLiteral("2"));
            setField(dialog, "archiveDraws", QStringLiteral("100"));
            // The live count settles on the exact number of passing initial columns.
            QTRY_COMPARE(dialog.passing(), std::optional<std::uint64_t>(expectedCount));
            QVERIFY(countText(dialog).contains(QStringLiteral("su 3.003")));
            click(dialog, "okButton");
        });
        click(selection, "filtersButton");
        QVERIFY(selection.findChild<QLabel*>(QStringLiteral("filtersLabel"))
                    ->toolTip()
                    .contains(QStringLiteral("somma=200..220")));
        auto* countEdit = selection.findChild<QLineEdit*>(QStringLiteral("finalCountEdit"));
        QTest::keyClicks(countEdit, QStringLiteral("20"));
        QTest::keyClick(countEdit, Qt::Key_Return);
    });
    QCOMPARE(launchSelection(window_, system, archive), 1);
    QCOMPARE(system.filters, expectedFilters);
    QVERIFY(system.modified);
    QCOMPARE(int(system.finalColumns.size()), int(std::min<std::uint64_t>(20, expectedCount)));
    const FilterCheck check(expectedFilters, draws);
    for (const Column& column : system.finalColumns)
        QVERIFY(check.passes(column));
}

void FiltersTest::badFieldsAndFiltersNoColumnPasses() {
    const Archive archive = simulatedArchive(400, 5);
    SystemState& system = window_->state();
    for (int n = 1; n <= 10; ++n)
        system.marked[static_cast<std::size_t>(n)] = 1;
    whenShown<SelectionDialog>([&](SelectionDialog& selection) {
        whenShown<ColumnFiltersDialog>([&](ColumnFiltersDialog& dialog) {
            setField(dialog, "sumFrom", QStringLiteral("200"));
            setField(dialog, "sumTo", QStringLiteral("100"));
            click(dialog, "okButton");
            QVERIFY(prompter_->lastText().contains(QStringLiteral("\"somma\"")));
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.focusWidget()->objectName(), QStringLiteral("sumFrom"));
            setField(dialog, "sumTo", QString());
            setField(dialog, "sumFrom", QString());
            setField(dialog, "withNumbers", QStringLiteral("5 95"));
            click(dialog, "okButton");
            QVERIFY(prompter_->lastText().contains(QStringLiteral("\"con\"")));
            // Ten numbers from 1 to 10 never sum above 55: no column passes.
            setField(dialog, "withNumbers", QString());
            setField(dialog, "sumFrom", QStringLiteral("100"));
            setField(dialog, "sumTo", QStringLiteral("200"));
            QTRY_COMPARE(dialog.passing(), std::optional<std::uint64_t>(0));
            QCOMPARE(countText(dialog), QStringLiteral("Nessuna colonna supera i filtri"));
            click(dialog, "okButton");
        });
        click(selection, "filtersButton");
        prompter_->clear();
        auto* countEdit = selection.findChild<QLineEdit*>(QStringLiteral("finalCountEdit"));
        QTest::keyClicks(countEdit, QStringLiteral("5"));
        QTest::keyClick(countEdit, Qt::Key_Return);
        // Said before any run: the window stays, with nothing started.
        QCOMPARE(prompter_->lastText(), QStringLiteral("Nessuna colonna supera i filtri"));
        QVERIFY(!selection.running());
        selection.reject();
    });
    QCOMPARE(launchSelection(window_, system, archive), 0);
}

void FiltersTest::filteringTheFinalColumnsAsksFirst() {
    SystemState& system = window_->state();
    system.finalColumns = {{1, 2, 3, 4, 5, 6},
                           {10, 20, 30, 40, 50, 60},
                           {7, 8, 9, 10, 11, 12},
                           {90, 80, 70, 60, 50, 41}};
    auto fill = [&] {
        whenShown<ColumnFiltersDialog>([&](ColumnFiltersDialog& dialog) {
            setField(dialog, "runLimit", QStringLiteral("3"));
            QTRY_COMPARE(dialog.passing(), std::optional<std::uint64_t>(2));
            click(dialog, "okButton");
        });
    };
    fill();
    prompter_->answer(QMessageBox::No);
    QVERIFY(test::trigger(window_, QStringLiteral("filterColumnsAction")));
    QCOMPARE(prompter_->questions().last().defaultButton, QMessageBox::No);
    QVERIFY(prompter_->lastText().startsWith(QStringLiteral("2 colonne finali su 4")));
    QCOMPARE(system.finalColumns.size(), std::size_t{4});

    fill();
    prompter_->answer(QMessageBox::Yes);
    QVERIFY(test::trigger(window_, QStringLiteral("filterColumnsAction")));
    const std::vector<Column> kept{{10, 20, 30, 40, 50, 60}, {90, 80, 70, 60, 50, 41}};
    QCOMPARE(system.finalColumns, kept);
    QVERIFY(system.modified);
    QCOMPARE(test::labelText(window_, QStringLiteral("finalColumnsLabel")),
             QStringLiteral("Colonne finali: 2"));
}

void FiltersTest::columnsLeaveAndComeBackAsText() {
    SystemState& system = window_->state();
    system.finalColumns = {{5, 1, 9, 33, 90, 12}, {2, 4, 6, 8, 10, 12}};
    const QString csv = home_->file(QStringLiteral("colonne.csv"));
    prompter_->answerFile(csv);
    QVERIFY(test::trigger(window_, QStringLiteral("exportColumnsAction")));
    QFile written(csv);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("n1;n2;n3;n4;n5;n6\n5;1;9;33;90;12\n2;4;6;8;10;12\n"));

    QFile more(home_->file(QStringLiteral("altre.txt")));
    QVERIFY(more.open(QIODevice::WriteOnly));
    more.write("2 4 6 8 10 12\n11,22,33,44,55,66\n1 2 3\n");
    more.close();
    prompter_->answerFile(more.fileName());
    QVERIFY(test::trigger(window_, QStringLiteral("importCsvAction")));
    QCOMPARE(system.finalColumns.size(), std::size_t{3});
    QCOMPARE(system.finalColumns.back(), (Column{11, 22, 33, 44, 55, 66}));
    const QString report = prompter_->lastText();
    QVERIFY2(report.contains(QStringLiteral("Colonne aggiunte: 1")) &&
                 report.contains(QStringLiteral("Già presenti: 1")) &&
                 report.contains(QStringLiteral("Riga 3: meno di sei numeri")),
             qPrintable(report));
}

void FiltersTest::archiveDrawsExportToTheCsvItsImportReads() {
    ProgramContext& context = window_->context();
    Archive& archive = context.archive();
    archive = simulatedArchive(250, 9);
    const QString csv = home_->file(QStringLiteral("estrazioni.csv"));
    ArchiveWindow window(home_->path().toStdString(), context.archives(), context.random());
    window.show();
    prompter_->answerFile(csv);
    click(window, "exportCsvButton");
    const auto file = readDrawFile(csv.toStdString());
    QVERIFY(file);
    QCOMPARE(file->rejected, std::size_t{0});
    QCOMPARE(file->draws.size(), archive.size());
    for (std::size_t i = 0; i < archive.size(); ++i)
        QCOMPARE(file->draws[i].column, archive.records()[i].column);
}

QTEST_MAIN(FiltersTest)
#include "test_filters.moc"
