// The list and initial-system commands fired from the system window's menus and buttons.
#include "app/main_frame.h"
#include "core/column.h"
#include "core/column_price.h"
#include "core/random.h"
#include "gui/common/feedback.h"
#include "gui/system/column_edit_dialog.h"
#include "gui/system/column_price_dialog.h"
#include "gui/system/columns_model.h"
#include "gui/system/fixed_numbers_dialog.h"
#include "gui/system/keyboard_entry_dialog.h"
#include "gui/system/random_count_dialog.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/gui_helpers.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

using namespace quintor;
using quintor::test::clickNumber;
using quintor::test::labelText;
using quintor::test::trigger;
using quintor::test::whenShown;

namespace {

using quintor::test::child;

void typeAndPress(QWidget* dialog, const char* edit, const QString& text, const char* button) {
    auto* line = child<QLineEdit>(dialog, edit);
    line->clear();
    QTest::keyClicks(line, text);
    QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray bytesOf(const Real48& value) {
    return QByteArray(reinterpret_cast<const char*>(value.bytes().data()), 6);
}

} // namespace

class EditingWindowTest : public QObject, protected test::SystemWindowFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void commandsAreLive();
    void extractionAndKeyboardEntryFillTheGrid();
    void deleteModifyAndClearFollowTheSelection();
    void deleteLeavesTheRowsBetweenTwoClickedRows();
    void randomMarksAndClearingRedrawTheBoard();
    void fixedNumbersBelongToTheWindow();
    void priceIsSharedStoredAndReloaded();

private:
    // Four final columns 1..4 20 30 40 50 60 in the window's grid, which it returns.
    QTableView* showFourColumns();
};

QTableView* EditingWindowTest::showFourColumns() {
    auto& columns = window_->state().finalColumns;
    for (std::uint8_t i = 1; i <= 4; ++i)
        columns.push_back(Column{i, 20, 30, 40, 50, 60});
    window_->refreshSystemView();
    return test::finalColumnsGrid(window_);
}

void EditingWindowTest::init() {
    openSystemWindow();
    QVERIFY(window_);
    window_->context().random().setSeed(4242);
}

void EditingWindowTest::cleanup() {
    closeSystemWindow();
}

void EditingWindowTest::commandsAreLive() {
    for (const char* name :
         {"importColumnsAction", "clearColumnsAction", "randomColumnsAction", "columnPriceAction",
          "deleteColumnsAction", "editColumnAction", "keyboardColumnsAction", "fixedNumbersAction",
          "clearSystemAction", "addRandomNumberAction", "removeRandomNumberAction"}) {
        QVERIFY2(window_->command(name), name);
        QVERIFY2(window_->command(name)->isEnabled(), name);
    }
    for (const char* name : {"deleteColumnsButton", "editColumnButton", "keyboardColumnsButton",
                             "addRandomNumberButton"})
        if (QToolButton* b = window_->button(name))
            QVERIFY2(b->isEnabled(), name);
}

void EditingWindowTest::extractionAndKeyboardEntryFillTheGrid() {
    for (int n : {4, 18, 27, 33, 51, 66, 80})
        clickNumber(window_, n);
    whenShown<RandomCountDialog>(
        [](RandomCountDialog* d) { typeAndPress(d, "countEdit", "7", "okButton"); });
    QVERIFY(trigger(window_, "randomColumnsAction"));
    QVERIFY(prompter_->lastText().contains("rimangono meno colonne"));
    QCOMPARE(labelText(window_, "finalColumnsLabel"), QString("Colonne finali: 0"));

    whenShown<RandomCountDialog>(
        [](RandomCountDialog* d) { typeAndPress(d, "countEdit", "6", "okButton"); });
    QVERIFY(trigger(window_, "randomColumnsAction"));
    QCOMPARE(labelText(window_, "finalColumnsLabel"), QString("Colonne finali: 6"));
    QCOMPARE(test::finalColumnsGrid(window_)->model()->rowCount(), 6);
    QVERIFY(test::finalColumnsGrid(window_)->horizontalHeader()->isVisible());

    whenShown<KeyboardEntryDialog>([](KeyboardEntryDialog* d) {
        auto* cc = child<QLineEdit>(d, "columnEdit");
        QTest::keyClicks(cc, "5 12 33 41 60 88");
        QTest::keyClick(cc, Qt::Key_Return);
        QTest::mouseClick(child<QPushButton>(d, "okButton"), Qt::LeftButton);
    });
    QVERIFY(trigger(window_, "keyboardColumnsAction"));
    QCOMPARE(labelText(window_, "finalColumnsLabel"), QString("Colonne finali: 7"));
    const QAbstractItemModel* model = test::finalColumnsGrid(window_)->model();
    QCOMPARE(model->data(model->index(6, 1)).toString(), QString(" 5 12 33 41 60 88"));
    QCOMPARE(model->data(model->index(6, 0)).toString(), QString("7"));
    QVERIFY(window_->state().modified);
}

void EditingWindowTest::deleteModifyAndClearFollowTheSelection() {
    QTableView* grid = showFourColumns();

    grid->selectRow(2); // the third column
    whenShown<ColumnEditDialog>(
        [](ColumnEditDialog* d) { typeAndPress(d, "columnEdit", "7 8 9", "okButton"); });
    QVERIFY(trigger(window_, "editColumnAction"));
    QCOMPARE(grid->model()->data(grid->model()->index(2, 1)).toString(),
             QString(" 7  8  9 40 50 60"));

    grid->selectionModel()->select(
        QItemSelection(grid->model()->index(1, 0), grid->model()->index(2, 1)),
        QItemSelectionModel::ClearAndSelect);
    QVERIFY(trigger(window_, "deleteColumnsAction"));
    QCOMPARE(labelText(window_, "finalColumnsLabel"), QString("Colonne finali: 2"));
    QCOMPARE(grid->model()->data(grid->model()->index(1, 0)).toString(), QString("2"));
    QCOMPARE(grid->model()->data(grid->model()->index(1, 1)).toString(),
             QString(" 4 20 30 40 50 60"));

    prompter_->answer(QMessageBox::Yes);
    QVERIFY(trigger(window_, "clearColumnsAction"));
    QCOMPARE(labelText(window_, "finalColumnsLabel"), QString("Colonne finali: 0"));
    QVERIFY(!test::finalColumnsGrid(window_)->horizontalHeader()->isVisible());
    const int beeps = beepCount();
    QVERIFY(trigger(window_, "deleteColumnsAction"));
    QVERIFY(trigger(window_, "editColumnAction"));
    QVERIFY(trigger(window_, "clearColumnsAction"));
    QCOMPARE(beepCount() - beeps, 3);
}

// Ctrl+click on two rows apart: the delete takes exactly the rows the grid shows selected,
// never a row between them that is not highlighted.
void EditingWindowTest::deleteLeavesTheRowsBetweenTwoClickedRows() {
    QTableView* grid = showFourColumns();
    const auto& columns = window_->state().finalColumns;
    auto clickRow = [grid](int row, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers,
                          grid->visualRect(grid->model()->index(row, 1)).center());
    };
    clickRow(0, Qt::NoModifier);
    clickRow(2, Qt::ControlModifier);
    std::vector<Column> kept;
    for (int row = 0; row < static_cast<int>(columns.size()); ++row)
        if (!grid->selectionModel()->isRowSelected(row, QModelIndex()))
            kept.push_back(columns[static_cast<std::size_t>(row)]);
    QVERIFY(trigger(window_, "deleteColumnsAction"));
    QCOMPARE(columns, kept);
}

void EditingWindowTest::randomMarksAndClearingRedrawTheBoard() {
    QVERIFY(trigger(window_, "addRandomNumberAction"));
    QVERIFY(trigger(window_, "addRandomNumberAction"));
    QCOMPARE(labelText(window_, "markedCountLabel"), QString("2"));
    QVERIFY(trigger(window_, "removeRandomNumberAction"));
    QCOMPARE(labelText(window_, "markedCountLabel"), QString("1"));
    prompter_->answer(QMessageBox::Yes);
    QVERIFY(trigger(window_, "clearSystemAction"));
    QCOMPARE(labelText(window_, "markedCountLabel"), QString("0"));
    QCOMPARE(labelText(window_, "markedNumbersLabel"), QString("Nessun numero"));
}

void EditingWindowTest::fixedNumbersBelongToTheWindow() {
    whenShown<FixedNumbersDialog>([](FixedNumbersDialog* d) {
        QTest::mouseClick(child<QCheckBox>(d, "fixedCheck1"), Qt::LeftButton);
        QTest::keyClicks(child<QLineEdit>(d, "fixedEdit1"), "5");
        QTest::mouseClick(child<QCheckBox>(d, "fixedCheck3"), Qt::LeftButton);
        QTest::keyClicks(child<QLineEdit>(d, "fixedEdit3"), "12");
        QTest::mouseClick(child<QPushButton>(d, "okButton"), Qt::LeftButton);
    });
    QVERIFY(trigger(window_, "fixedNumbersAction"));
    QCOMPARE(window_->state().fixedCount, 2);
    QCOMPARE(window_->state().fixedNumbers[0], std::uint8_t(5));
    QCOMPARE(window_->state().fixedNumbers[1], std::uint8_t(12));
    // They are saved with the system: closing must ask about them.
    QVERIFY(window_->state().modified);
}

void EditingWindowTest::priceIsSharedStoredAndReloaded() {
    const QString cfg = home_->file("QUINTOR.CFG");
    QVERIFY(!QFile::exists(cfg));
    window_->state().layout.vertical[3] = Real48::fromValue(0.02L); // this window's own value
    window_->state().finalColumns = {{1, 2, 3, 4, 5, 6}, {2, 3, 4, 5, 6, 7}, {3, 4, 5, 6, 7, 8}};
    window_->refreshSystemView();
    QCOMPARE(labelText(window_, "costLabel"), QString("Costo: 2.400 £"));

    for (const char* bad : {"1000,50", "1000 ", "", "abc", "-", "-35"}) {
        prompter_->clear();
        whenShown<ColumnPriceDialog>([bad](ColumnPriceDialog* d) {
            QCOMPARE(child<QLineEdit>(d, "priceEdit")->text(), QString("800.00"));
            typeAndPress(d, "priceEdit", bad, "okButton");
        });
        QVERIFY(trigger(window_, "columnPriceAction"));
        QCOMPARE(prompter_->lastText(),
                 QString("Il valore inserito non è valido !\rCorreggere e riprovare."));
        QCOMPARE(prompter_->questions().front().title, QString("Errore !"));
        QCOMPARE(labelText(window_, "costLabel"), QString("Costo: 2.400 £"));
        QVERIFY(!QFile::exists(cfg));
    }

    prompter_->clear();
    whenShown<ColumnPriceDialog>([](ColumnPriceDialog* d) {
        QCOMPARE(d->windowTitle(), QString("Cambia costo di una colonna"));
        // A fixed-size dialog: the title bar offers closing only.
        const Qt::WindowFlags flags = d->windowFlags();
        QVERIFY(flags.testFlag(Qt::CustomizeWindowHint) &&
                flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testAnyFlags(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        typeAndPress(d, "priceEdit", "1000", "okButton");
    });
    QVERIFY(trigger(window_, "columnPriceAction"));
    QVERIFY(prompter_->questions().isEmpty());
    QCOMPARE(labelText(window_, "costLabel"), QString("Costo: 3.000 £"));
    QVERIFY(!window_->state().modified);
    const QByteArray bytes = fileBytes(cfg);
    QCOMPARE(bytes.size(), 42);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(bytes.mid(6 * i, 6),
                 bytesOf(window_->state().layout.vertical[static_cast<std::size_t>(i)]));
    QCOMPARE(bytes.mid(36, 6), bytesOf(Real48::fromValue(1000)));

    // A new window reloads the stored price, even after the shared value was changed.
    window_->context().columnPrice() = real48::eightHundred;
    frame_->onNewTriggered();
    SystemWindow* second = frame_->activeSystem();
    QVERIFY(second && second != window_);
    QCOMPARE(&second->context(), &window_->context());
    QCOMPARE(window_->context().columnPrice(), Real48::fromValue(1000));
    whenShown<ColumnPriceDialog>([](ColumnPriceDialog* d) {
        QCOMPARE(child<QLineEdit>(d, "priceEdit")->text(), QString("1000.00"));
        typeAndPress(d, "priceEdit", "  1.25e3", "okButton");
    });
    QVERIFY(trigger(second, "columnPriceAction"));
    const QByteArray after = fileBytes(cfg);
    QCOMPARE(after.size(), 42);
    QCOMPARE(after.left(36), bytes.left(36)); // only the price record is rewritten
    QCOMPARE(after.mid(36, 6), bytesOf(Real48::fromValue(1250)));
    window_->refreshSystemView(); // the other window shows the shared price at its next refresh
    QCOMPARE(labelText(window_, "costLabel"), QString("Costo: 3.750 £"));
}

QTEST_MAIN(EditingWindowTest)
#include "test_editing_window.moc"
