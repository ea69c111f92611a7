// The system window's board, labels and final-column grid, driven through real clicks.
#include "app/main_frame.h"
#include "core/column_price.h"
#include "core/real48.h"
#include "gui/common/bevel_panel.h"
#include "gui/common/feedback.h"
#include "gui/system/board.h"
#include "gui/system/columns_model.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/gui_helpers.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QAccessible>
#include <QDir>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace quintor;
using quintor::test::clickNumber;
using quintor::test::labelText;

class SystemWindowTest : public QObject, protected test::SystemWindowFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void initialColumnsFollowTheClicks();
    void markedNumberList();
    void boardArithmeticAndBorder();
    void marksAreDrawnAndErasedExactly();
    void costAndFinalColumnLabels();
    void captionsAreOneObjectOverAWhiteCopy_data();
    void captionsAreOneObjectOverAWhiteCopy();
    void gridHeaderOnlyWithColumns();
    void aMillionColumnsShowAtOnce();
    void hintsReachTheStatusPanel();
    void menusAndButtonsAreComplete();
    void ctrlROpensTheRecentList();
    void boardAndGridFromTheKeyboard();
    void menuKeysAreUnique();

private:
};

void SystemWindowTest::init() {
    openSystemWindow();
    QVERIFY(window_);
}

void SystemWindowTest::cleanup() {
    closeSystemWindow();
}

void SystemWindowTest::initialColumnsFollowTheClicks() {
    QCOMPARE(labelText(window_, "initialColumnsLabel"), QStringLiteral("0"));
    for (int n = 1; n <= 6; ++n)
        clickNumber(window_, n * 11);
    QCOMPARE(labelText(window_, "markedCountLabel"), QStringLiteral("6"));
    QCOMPARE(labelText(window_, "initialColumnsLabel"), QStringLiteral("1"));
    clickNumber(window_, 90);
    QCOMPARE(labelText(window_, "initialColumnsLabel"), QStringLiteral("7"));
    QCOMPARE(window_->findChild<QLabel*>("initialColumnsLabel")->toolTip(), QStringLiteral("7"));
    for (int n = 1; n <= 90; ++n)
        if (!window_->state().marked[static_cast<std::size_t>(n)])
            clickNumber(window_, n);
    QCOMPARE(window_->state().markedCount(), 90);
    QCOMPARE(labelText(window_, "initialColumnsLabel"), QStringLiteral("622614630"));
    QVERIFY(window_->state().modified);
}

void SystemWindowTest::markedNumberList() {
    QCOMPARE(labelText(window_, "markedNumbersLabel"), QStringLiteral("Nessun numero"));
    clickNumber(window_, 45);
    clickNumber(window_, 3);
    clickNumber(window_, 81);
    QCOMPARE(labelText(window_, "markedNumbersLabel"), QStringLiteral(" 3 45 81"));
    for (int n = 1; n <= 84; ++n)
        if (!window_->state().marked[static_cast<std::size_t>(n)])
            clickNumber(window_, n);
    clickNumber(window_, 81); // 81 was already marked: now off, 83 numbers
    clickNumber(window_, 81);
    QCOMPARE(window_->state().markedCount(), 84);
    const QString list84 = labelText(window_, "markedNumbersLabel");
    QVERIFY(list84.startsWith(QStringLiteral(" 1 2 3 4 5 6 7 8 9 10 11")));
    QVERIFY(list84.endsWith(QStringLiteral(" 83 84")));
    QCOMPARE(list84.count(QLatin1Char(' ')), 84);
    clickNumber(window_, 85);
    QCOMPARE(labelText(window_, "markedNumbersLabel"), QStringLiteral("85 numeri"));
}

void SystemWindowTest::boardArithmeticAndBorder() {
    NumberBoard* board = test::board(window_);
    QCOMPARE(board->objectName(), QStringLiteral("boardWidget"));
    // Points in board units, each taken at the middle of its unit.
    auto at = [board](int x, int y) { return board->widgetPoint(QPointF(x + 0.5, y + 0.5)); };
    QTest::mouseClick(board, Qt::LeftButton, {}, at(23, 17));
    QCOMPARE(window_->state().markedNumbers(), std::vector<int>{17});
    // The right mouse button toggles as well.
    QTest::mouseClick(board, Qt::RightButton, {}, at(23, 17));
    QCOMPARE(window_->state().markedCount(), 0);

    window_->state().modified = false;
    for (const QPoint p : {at(135, 100), at(2, 100), at(50, 2), at(50, 243)})
        QTest::mouseClick(board, Qt::LeftButton, {}, p);
    QCOMPARE(window_->state().markedCount(), 0);
    QVERIFY(window_->state().modified); // every press counts as a change
    // The last units inside the border still toggle: 133 is column 5, 242 row 14 -> 90.
    QTest::mouseClick(board, Qt::LeftButton, {}, at(133, 242));
    QCOMPARE(window_->state().markedNumbers(), std::vector<int>{90});
    QTest::mouseClick(board, Qt::LeftButton, {}, at(3, 3));
    QCOMPARE(window_->state().markedNumbers(), (std::vector<int>{1, 90}));

    // Toggling sets the weight back to 50 in both directions.
    window_->state().probabilities[17] = Real48::fromValue(80);
    window_->state().probabilities[18] = Real48::fromValue(10);
    clickNumber(window_, 17);
    clickNumber(window_, 18);
    clickNumber(window_, 18);
    QCOMPARE(window_->state().probabilities[17], real48::fifty);
    QCOMPARE(window_->state().probabilities[18], real48::fifty);
}

void SystemWindowTest::marksAreDrawnAndErasedExactly() {
    NumberBoard* board = test::board(window_);
    const QImage clean = test::boardPicture(board);
    QCOMPARE(clean, test::unmarkedBoardPicture(board));
    QCOMPARE(NumberBoard::markCell(17), QRect(30, 23, 10, 7));

    clickNumber(window_, 17);
    // Only the cell changed, and an unmark gives the clean board back exactly.
    const QRect changed = test::differenceBounds(test::boardPicture(board), clean);
    QVERIFY(!changed.isEmpty());
    QVERIFY2(board->cellOnWidget(17).adjusted(-1, -1, 1, 1).contains(QRectF(changed)),
             "the mark of 17 reaches outside its cell");
    clickNumber(window_, 17);
    QCOMPARE(test::boardPicture(board), clean);

    // A loaded state is drawn whole by drawBoardMarks.
    window_->state().marked.fill(0);
    window_->state().marked[1] = window_->state().marked[90] = 1;
    window_->drawBoardMarks();
    const QImage loaded = test::boardPicture(board);
    QVERIFY(test::cellDiffers(loaded, clean, board, 1));
    QVERIFY(test::cellDiffers(loaded, clean, board, 90));
    QVERIFY(!test::cellDiffers(loaded, clean, board, 17));
}

void SystemWindowTest::costAndFinalColumnLabels() {
    Real48& price = window_->context().columnPrice();
    price = real48::eightHundred;
    struct Case {
        std::size_t columns;
        const char* cost;
    };
    for (const Case c :
         {Case{10, "Costo: 8.000 £"}, Case{0, "Costo: 0 £"}, Case{1250, "Costo: 1.000.000 £"}}) {
        window_->state().finalColumns.assign(c.columns, Column{1, 2, 3, 4, 5, 6});
        window_->refreshSystemView();
        QCOMPARE(labelText(window_, "costLabel"), QString::fromUtf8(c.cost));
        const QString finals = QStringLiteral("Colonne finali: %1").arg(c.columns);
        QCOMPARE(labelText(window_, "finalColumnsLabel"), finals);
        // The text centred in the panel with integer division.
        auto* panel = window_->findChild<BevelPanel*>("finalColumnsPanel");
        for (const char* name : {"finalColumnsLabel", "costLabel"}) {
            auto* label = window_->findChild<QLabel*>(name);
            QCOMPARE(label->x(),
                     (panel->contentsRect().width() - label->contentsRect().width()) / 2);
        }
    }
    // The price is shared: another value shows at the next refresh.
    price = Real48::fromValue(1234.5);
    window_->state().finalColumns.assign(2, Column{1, 2, 3, 4, 5, 6});
    window_->refreshSystemView();
    QCOMPARE(labelText(window_, "costLabel"), QString::fromUtf8("Costo: 2.469 £"));
}

void SystemWindowTest::captionsAreOneObjectOverAWhiteCopy_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("accessibleName");
    QTest::addColumn<QColor>("colour");
    const QColor darkRed(128, 0, 0);
    QTest::newRow("title") << "initialSystemTitle"
                           << "Sistema iniziale"
                           << "Sistema iniziale" << darkRed;
    QTest::newRow("marked caption") << "markedCountCaption"
                                    << "Numero di segni:"
                                    << "Numero di segni:" << QColor(Qt::black);
    QTest::newRow("marked count") << "markedCountLabel"
                                  << "8"
                                  << "Numero di segni" << QColor(Qt::black);
    QTest::newRow("initial columns") << "initialColumnsLabel"
                                     << "28"
                                     << "Colonne iniziali" << QColor(Qt::black);
    QTest::newRow("marked list") << "markedNumbersLabel"
                                 << " 1 2 3 4 5 6 7 8"
                                 << "Numeri segnati" << QColor(Qt::black);
    QTest::newRow("final columns") << "finalColumnsLabel"
                                   << "Colonne finali: 3"
                                   << "Colonne finali: 3" << darkRed;
    QTest::newRow("cost") << "costLabel"
                          << "Costo: 2.400 £"
                          << "Costo: 2.400 £" << QColor(Qt::black);
}

void SystemWindowTest::captionsAreOneObjectOverAWhiteCopy() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, accessibleName);
    QFETCH(QColor, colour);
    window_->context().columnPrice() = real48::eightHundred;
    for (int n = 1; n <= 8; ++n)
        clickNumber(window_, n);
    window_->state().finalColumns.assign(3, Column{1, 2, 3, 4, 5, 6});
    window_->refreshSystemView();

    // One object for the caption, so a screen reader hears it once.
    auto* label = window_->findChild<QLabel*>(name);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    int sameText = 0;
    for (const QLabel* other : window_->findChildren<QLabel*>())
        sameText += other->text() == text;
    QCOMPARE(sameText, 1);
    QAccessibleInterface* readable = QAccessible::queryAccessibleInterface(label);
    QVERIFY(readable);
    QCOMPARE(readable->text(QAccessible::Name), accessibleName);

    // The coloured text over a white copy one pixel right and one down: on a blue ground, the
    // pixel below and right of each pixel the text covers whole is never bare ground.
    QImage picture(label->size(), QImage::Format_RGB32);
    const QRgb ground = qRgb(0, 0, 255);
    picture.fill(ground);
    label->render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
    int inked = 0;
    int white = 0;
    for (int y = 0; y + 1 < picture.height(); ++y)
        for (int x = 0; x + 1 < picture.width(); ++x) {
            white += picture.pixel(x, y) == qRgb(255, 255, 255);
            if (picture.pixel(x, y) != colour.rgb())
                continue;
            ++inked;
            QVERIFY2(picture.pixel(x + 1, y + 1) != ground,
                     qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
        }
    QVERIFY(inked > 0);
    QVERIFY(white > 0);
}

void SystemWindowTest::gridHeaderOnlyWithColumns() {
    QTableView* grid = test::finalColumnsGrid(window_);
    QCOMPARE(grid->objectName(), QStringLiteral("finalColumnsGrid"));
    QVERIFY(grid->horizontalHeader()->isHidden());
    QCOMPARE(grid->model()->rowCount(), 1);
    QCOMPARE(grid->model()->index(0, 1).data().toString(), QString());
    QCOMPARE(grid->model()->flags(grid->model()->index(0, 0)), Qt::NoItemFlags);

    window_->state().finalColumns = {Column{3, 14, 25, 36, 47, 58}, Column{90, 1, 2, 77, 8, 9}};
    window_->refreshSystemView();
    QVERIFY(!grid->horizontalHeader()->isHidden());
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral(" Numero"));
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(),
             QStringLiteral("     Colonne"));
    QCOMPARE(grid->model()->rowCount(), 2);
    QCOMPARE(grid->model()->index(1, 0).data().toString(), QStringLiteral("2"));
    QCOMPARE(grid->model()->index(0, 1).data().toString(), QStringLiteral(" 3 14 25 36 47 58"));
    QCOMPARE(grid->model()->index(1, 1).data().toString(), QStringLiteral("90  1  2 77  8  9"));
    QCOMPARE(grid->columnWidth(0), 70);
    // The columns' column takes what the panel has beyond the grid's own width.
    QVERIFY(grid->columnWidth(1) >= 148);
    auto* panel = window_->findChild<BevelPanel*>("finalColumnsPanel");
    QVERIFY(grid->x() + grid->width() >= panel->contentsRect().width() - 8);
    QCOMPARE(grid->rowHeight(0), 17);

    // An edit in place with the same count shows without losing the selection.
    grid->selectRow(1);
    window_->state().finalColumns[1] = Column{1, 2, 3, 4, 5, 6};
    window_->refreshSystemView();
    QCOMPARE(grid->model()->index(1, 1).data().toString(), QStringLiteral(" 1  2  3  4  5  6"));
    QCOMPARE(grid->selectionModel()->selectedRows().size(), 1);

    window_->state().finalColumns.clear();
    window_->refreshSystemView();
    QVERIFY(grid->horizontalHeader()->isHidden());
    QCOMPARE(grid->model()->rowCount(), 1);

    // The grid reaches down to four pixels above the panel's bottom.
    auto* mp2 = window_->findChild<BevelPanel*>("finalColumnsPanel");
    QCOMPARE(grid->y() + grid->height(), mp2->contentsRect().height() - 4);
}

void SystemWindowTest::aMillionColumnsShowAtOnce() {
    auto& columns = window_->state().finalColumns;
    columns.resize(1'000'000);
    for (std::size_t i = 0; i < columns.size(); ++i)
        columns[i] = Column{1, 2, 3, 4, 5, static_cast<std::uint8_t>(6 + i % 80)};
    // How fast this goes is measured by bench/bench_gui_system_window.
    window_->refreshSystemView();
    test::finalColumnsGrid(window_)->scrollToBottom();
    test::finalColumnsGrid(window_)->viewport()->repaint();
    QApplication::processEvents();
    QCOMPARE(test::finalColumnsGrid(window_)->model()->rowCount(), 1'000'000);
    QCOMPARE(test::finalColumnsGrid(window_)->model()->index(999'999, 0).data().toString(),
             QStringLiteral("1000000"));
    QCOMPARE(labelText(window_, "finalColumnsLabel"), QStringLiteral("Colonne finali: 1000000"));
}

void SystemWindowTest::hintsReachTheStatusPanel() {
    QWidget* button = window_->button("newButton");
    QCOMPARE(button->toolTip(), QStringLiteral("Nuovo sistema"));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(button, &enter);
    QCOMPARE(test::hintLabel(frame_.get())->text(),
             QStringLiteral(" Per lavorare su un nuovo sistema."));

    QApplication::sendEvent(test::board(window_), &enter);
    QCOMPARE(test::hintLabel(frame_.get())->text(),
             QStringLiteral(" Usa il tasto sinistro del mouse per selezionare/annullare un segno "
                            "del sistema."));
    QApplication::sendEvent(test::finalColumnsGrid(window_), &enter);
    QCOMPARE(test::hintLabel(frame_.get())->text(),
             QStringLiteral(" Elenco delle colonne giocabili."));
    // A hint without a bar is the same text in both places.
    QAction* close = window_->command("closeAction");
    QCOMPARE(close->toolTip(), QStringLiteral("Chiude il sistema attivo."));
    close->showStatusText(window_);
    QCOMPARE(test::hintLabel(frame_.get())->text(), QStringLiteral(" Chiude il sistema attivo."));
}

void SystemWindowTest::menusAndButtonsAreComplete() {
    QStringList titles;
    for (QMenu* m : window_->menus())
        titles << m->title();
    QCOMPARE(titles, (QStringList{"&File", "&Colonne", "&Sistema", "Stam&pa", "Funzioni &Utente",
                                  "&Visualizza", "&Guida in linea"}));
    struct Item {
        const char* name;
        const char* caption;
        const char* keys;
    };
    for (const Item i :
         {Item{"newAction", "&Nuovo", "Ctrl+N"}, Item{"openAction", "&Apri", "Ctrl+A"},
          Item{"reopenAction", "&Riapri", "Ctrl+R"}, Item{"closeAction", "&Chiudi", "Ctrl+F4"},
          Item{"saveAsAction", "Sal&va con altro nome", "Ctrl+V"},
          Item{"quitAction", "F&ine", "Alt+F4"}, Item{"helpContentsAction", "&Sommario", "F1"},
          Item{"winningProbabilityAction", "Calcola probabilità di &vincita", ""},
          Item{"removeLeastProbableAction", "T&ogli numeri meno probabili", ""}}) {
        QAction* a = window_->command(i.name);
        QVERIFY2(a, i.name);
        QCOMPARE(a->text(), QString::fromUtf8(i.caption));
        QCOMPARE(a->shortcut(), QKeySequence(QString::fromLatin1(i.keys)));
    }
    QCOMPARE(window_->command("saveAction")->text(), QStringLiteral("&Salva Sistem1.Qtr"));
    QCOMPARE(window_->command("saveAction")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(window_->button("saveButton")->toolTip(), QStringLiteral("Salva Sistem1.Qtr"));
    // Commands of windows still to come are there but disabled, with their buttons.
    for (const QString& name : SystemWindow::pendingCommands()) {
        QAction* a = window_->command(name);
        QVERIFY2(a, qPrintable(name));
        QVERIFY2(!a->isEnabled(), qPrintable(name));
    }
    // Each button has a picture of its own, drawn at any size, and keeps its hint.
    QList<QImage> pictures;
    for (const char* name :
         {"newButton", "openButton", "saveButton", "archiveButton", "editColumnButton",
          "numberProbabilitiesButton", "selectColumnsButton", "printVerticalButton",
          "compareColumnsButton", "printHorizontalButton", "distributionButton",
          "deleteColumnsButton", "winningProbabilityButton", "keyboardColumnsButton",
          "printPaperButton", "addRandomNumberButton"}) {
        QToolButton* button = window_->button(QString::fromLatin1(name));
        QVERIFY2(button, name);
        QVERIFY(!button->accessibleName().isEmpty());
        QVERIFY(!button->toolTip().isEmpty());
        const QImage picture = button->icon().pixmap(24, 24).toImage();
        QVERIFY2(!picture.isNull() && !pictures.contains(picture), name);
        pictures << picture;
    }
    // The program's own drawings (used where the desktop has no icon) render at any size.
    const QStringList drawings = QDir(QStringLiteral(":/icons")).entryList();
    QCOMPARE(drawings.size(), 16);
    for (const QString& name : drawings) {
        for (int size : {24, 96}) {
            const QImage image =
                QIcon(QStringLiteral(":/icons/") + name).pixmap(size, size).toImage();
            QCOMPARE(image.width(), size);
            int inked = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    inked += qAlpha(image.pixel(x, y)) > 128;
            QVERIFY2(inked > size * size / 10, qPrintable(name));
        }
    }
    QVERIFY(window_->button("selectColumnsButton")->isEnabled());
    QVERIFY(window_->button("saveButton")->isEnabled());
    for (int k = 1; k <= 15; ++k)
        QVERIFY(!window_->command(QStringLiteral("userFunctionAction%1").arg(k))->isVisible());
    // The frame's bar shows the active window's menus.
    QCOMPARE(frame_->menuBar()->actions().size(), 7);
}

void SystemWindowTest::ctrlROpensTheRecentList() {
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    QMenu* file = window_->menus().first();
    QMenu* recent = window_->command("reopenAction")->menu();
    QVERIFY(recent);
    QVERIFY(!file->isVisible());
    QVERIFY(!recent->isVisible());
    QTest::keyClick(frame_.get(), Qt::Key_R, Qt::ControlModifier);
    // The list opens where the mouse would find it: under File, from the menu bar.
    QTRY_VERIFY(recent->isVisible());
    QVERIFY(file->isVisible());
    QCOMPARE(frame_->menuBar()->activeAction(), file->menuAction());
    QCOMPARE(file->activeAction(), recent->menuAction());
}

namespace {
QString description(QObject* object) {
    QAccessibleInterface* ai = QAccessible::queryAccessibleInterface(object);
    return ai ? ai->text(QAccessible::Description) : QString();
}
} // namespace

void SystemWindowTest::boardAndGridFromTheKeyboard() {
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    NumberBoard* board = test::board(window_);
    board->setFocus();
    QTRY_VERIFY(board->hasFocus());
    QCOMPARE(description(board), QStringLiteral("Numero 1, non segnato"));
    // Arrows move down a column and across the columns, never off the board.
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Down, Qt::Key_Right})
        QTest::keyClick(board, key);
    QCOMPARE(board->focusedNumber(), 17);
    QTest::keyClick(board, Qt::Key_Space);
    QTest::keyClick(board, Qt::Key_Left);
    QTest::keyClick(board, Qt::Key_Return);
    QTest::keyClick(board, Qt::Key_End);
    QTest::keyClick(board, Qt::Key_Right);
    QTest::keyClick(board, Qt::Key_Down);
    QTest::keyClick(board, Qt::Key_Enter);
    QCOMPARE(window_->state().markedNumbers(), (std::vector<int>{2, 17, 90}));
    QCOMPARE(labelText(window_, "markedCountLabel"), QStringLiteral("3"));
    QVERIFY(window_->state().modified);
    QCOMPARE(description(board), QStringLiteral("Numero 90, segnato"));
    const QImage unmarked = test::unmarkedBoardPicture(board);
    QVERIFY(test::cellDiffers(test::boardPicture(board), unmarked, board, 90));
    QTest::keyClick(board, Qt::Key_Space);
    QCOMPARE(description(board), QStringLiteral("Numero 90, non segnato"));
    QVERIFY(!test::cellDiffers(test::boardPicture(board), unmarked, board, 90));

    // Tab leaves the grid instead of walking its cells.
    test::finalColumnsGrid(window_)->setFocus();
    QTRY_VERIFY(test::finalColumnsGrid(window_)->hasFocus());
    QTest::keyClick(test::finalColumnsGrid(window_), Qt::Key_Tab);
    QVERIFY(!test::finalColumnsGrid(window_)->hasFocus());

    // The status panel's text reaches screen readers as it changes.
    frame_->showHint(QStringLiteral("Prova."));
    QCOMPARE(description(test::hintLabel(frame_.get())), QStringLiteral(" Prova."));
}

void SystemWindowTest::menuKeysAreUnique() {
    QList<QMenu*> menus = window_->menus();
    for (QAction* a : frame_->menuBar()->actions())
        if (a->menu() && !menus.contains(a->menu()))
            menus << a->menu();
    for (QMenu* menu : menus) {
        QStringList keys;
        for (QAction* a : menu->actions()) {
            const qsizetype amp = a->text().indexOf(QLatin1Char('&'));
            if (!a->isVisible() || amp < 0 || amp + 1 >= a->text().size())
                continue;
            const QString key = a->text().mid(amp + 1, 1).toLower();
            QVERIFY2(!keys.contains(key), qPrintable(menu->title() + ": " + a->text()));
            keys << key;
        }
    }
    // Alt+C, A reaches "Azzera colonne" at once.
    QMenu* columns = window_->command("clearColumnsAction")->associatedObjects().value(0)
                         ? qobject_cast<QMenu*>(
                               window_->command("clearColumnsAction")->associatedObjects().value(0))
                         : nullptr;
    QVERIFY(columns);
    QSignalSpy cleared(window_->command("clearColumnsAction"), &QAction::triggered);
    columns->popup(QPoint(0, 0));
    QTRY_VERIFY(columns->isVisible());
    QTest::keyClick(columns, Qt::Key_A);
    QTRY_COMPARE(cleared.count(), 1);
}

QTEST_MAIN(SystemWindowTest)
#include "test_system_window.moc"
