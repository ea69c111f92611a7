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
    QCOMPARE(labelText(window_, "Label12"), QStringLiteral("0"));
    for (int n = 1; n <= 6; ++n)
        clickNumber(window_, n * 11);
    QCOMPARE(labelText(window_, "Label8"), QStringLiteral("6"));
    QCOMPARE(labelText(window_, "Label7"), QStringLiteral("6"));
    QCOMPARE(labelText(window_, "Label12"), QStringLiteral("1"));
    QCOMPARE(labelText(window_, "Label11"), QStringLiteral("1"));
    clickNumber(window_, 90);
    QCOMPARE(labelText(window_, "Label12"), QStringLiteral("7"));
    QCOMPARE(window_->findChild<QLabel*>("Label12")->toolTip(), QStringLiteral("7"));
    for (int n = 1; n <= 90; ++n)
        if (!window_->state().marked[static_cast<std::size_t>(n)])
            clickNumber(window_, n);
    QCOMPARE(window_->state().markedCount(), 90);
    QCOMPARE(labelText(window_, "Label12"), QStringLiteral("622614630"));
    QVERIFY(window_->state().modified);
}

void SystemWindowTest::markedNumberList() {
    QCOMPARE(labelText(window_, "Label14"), QStringLiteral("Nessun numero"));
    clickNumber(window_, 45);
    clickNumber(window_, 3);
    clickNumber(window_, 81);
    QCOMPARE(labelText(window_, "Label14"), QStringLiteral(" 3 45 81"));
    QCOMPARE(labelText(window_, "Label13"), QStringLiteral(" 3 45 81"));
    for (int n = 1; n <= 84; ++n)
        if (!window_->state().marked[static_cast<std::size_t>(n)])
            clickNumber(window_, n);
    clickNumber(window_, 81); // 81 was already marked: now off, 83 numbers
    clickNumber(window_, 81);
    QCOMPARE(window_->state().markedCount(), 84);
    const QString list84 = labelText(window_, "Label14");
    QVERIFY(list84.startsWith(QStringLiteral(" 1 2 3 4 5 6 7 8 9 10 11")));
    QVERIFY(list84.endsWith(QStringLiteral(" 83 84")));
    QCOMPARE(list84.count(QLatin1Char(' ')), 84);
    clickNumber(window_, 85);
    QCOMPARE(labelText(window_, "Label14"), QStringLiteral("85 numeri"));
    QCOMPARE(labelText(window_, "Label13"), QStringLiteral("85 numeri"));
}

void SystemWindowTest::boardArithmeticAndBorder() {
    NumberBoard* board = test::TAV(window_);
    QCOMPARE(board->size(), QSize(136, 245));
    QCOMPARE(board->objectName(), QStringLiteral("TAV"));
    QTest::mouseClick(board, Qt::LeftButton, {}, QPoint(23, 17));
    QCOMPARE(window_->state().markedNumbers(), std::vector<int>{17});
    // The right mouse button toggles as well.
    QTest::mouseClick(board, Qt::RightButton, {}, QPoint(23, 17));
    QCOMPARE(window_->state().markedCount(), 0);

    window_->state().modified = false;
    for (const QPoint p : {QPoint(135, 100), QPoint(2, 100), QPoint(50, 2), QPoint(50, 243)})
        QTest::mouseClick(board, Qt::LeftButton, {}, p);
    QCOMPARE(window_->state().markedCount(), 0);
    QVERIFY(window_->state().modified); // every press counts as a change
    // The last pixels inside the border still toggle: 133 is column 5, 242 row 14 -> 90.
    QTest::mouseClick(board, Qt::LeftButton, {}, QPoint(133, 242));
    QCOMPARE(window_->state().markedNumbers(), std::vector<int>{90});
    QTest::mouseClick(board, Qt::LeftButton, {}, QPoint(3, 3));
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
    NumberBoard* board = test::TAV(window_);
    const QImage clean = board->picture();
    QCOMPARE(clean, board->cleanCopy());
    QCOMPARE(board->picture().pixel(0, 0), qRgb(255, 128, 64));
    QCOMPARE(board->picture().pixel(60, 60), qRgb(255, 255, 255));

    clickNumber(window_, 17);
    const QRect cell = NumberBoard::markCell(17);
    QCOMPARE(cell, QRect(30, 23, 10, 7));
    QCOMPARE(board->picture().copy(cell), NumberBoard::SEGSI());
    // Only the cell changed.
    QImage outside = board->picture();
    QPainter(&outside).drawImage(cell.topLeft(), clean.copy(cell));
    QCOMPARE(outside, clean);
    clickNumber(window_, 17);
    QCOMPARE(board->picture(), clean);

    // A loaded state is drawn whole by drawBoardMarks.
    window_->state().marked.fill(0);
    window_->state().marked[1] = window_->state().marked[90] = 1;
    window_->drawBoardMarks();
    QCOMPARE(board->picture().copy(NumberBoard::markCell(1)), NumberBoard::SEGSI());
    QCOMPARE(board->picture().copy(NumberBoard::markCell(90)), NumberBoard::SEGSI());
    QCOMPARE(board->picture().copy(NumberBoard::markCell(17)),
             clean.copy(NumberBoard::markCell(17)));
    // And the grab of the widget shows the picture.
    QCOMPARE(board->grab()
                 .toImage()
                 .convertToFormat(QImage::Format_RGB32)
                 .copy(NumberBoard::markCell(90)),
             NumberBoard::SEGSI());
}

void SystemWindowTest::costAndFinalColumnLabels() {
    programColumnPrice() = real48::eightHundred;
    struct Case {
        std::size_t columns;
        const char* cost;
    };
    for (const Case c :
         {Case{10, "Costo: 8.000 £"}, Case{0, "Costo: 0 £"}, Case{1250, "Costo: 1.000.000 £"}}) {
        window_->state().finalColumns.assign(c.columns, Column{1, 2, 3, 4, 5, 6});
        window_->refreshSystemView();
        QCOMPARE(labelText(window_, "Label16"), QString::fromUtf8(c.cost));
        QCOMPARE(labelText(window_, "Label15"), QString::fromUtf8(c.cost));
        const QString finals = QStringLiteral("Colonne finali: %1").arg(c.columns);
        QCOMPARE(labelText(window_, "Label3"), finals);
        QCOMPARE(labelText(window_, "Label4"), finals);
        // Centred in the panel with integer division; the white copy one pixel further.
        auto* mp2 = window_->findChild<BevelPanel*>("MP2");
        for (const auto& [coloured, white] :
             {std::pair{"Label3", "Label4"}, std::pair{"Label16", "Label15"}}) {
            auto* top = window_->findChild<QLabel*>(coloured);
            auto* shadow = window_->findChild<QLabel*>(white);
            QCOMPARE(top->x(), (mp2->contentsRect().width() - top->width()) / 2);
            QCOMPARE(shadow->x(), top->x() + 1);
            QCOMPARE(shadow->y(), top->y() + 1);
        }
    }
    // The price is shared: another value shows at the next refresh.
    programColumnPrice() = Real48::fromValue(1234.5);
    window_->state().finalColumns.assign(2, Column{1, 2, 3, 4, 5, 6});
    window_->refreshSystemView();
    QCOMPARE(labelText(window_, "Label16"), QString::fromUtf8("Costo: 2.469 £"));
    programColumnPrice() = real48::eightHundred;
}

void SystemWindowTest::gridHeaderOnlyWithColumns() {
    QTableView* grid = test::COL(window_);
    QCOMPARE(grid->objectName(), QStringLiteral("COL"));
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
    QCOMPARE(grid->columnWidth(1), 148);
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
    auto* mp2 = window_->findChild<BevelPanel*>("MP2");
    QCOMPARE(grid->y() + grid->height(), mp2->contentsRect().height() - 4);
}

void SystemWindowTest::aMillionColumnsShowAtOnce() {
    auto& columns = window_->state().finalColumns;
    columns.resize(1'000'000);
    for (std::size_t i = 0; i < columns.size(); ++i)
        columns[i] = Column{1, 2, 3, 4, 5, static_cast<std::uint8_t>(6 + i % 80)};
    // How fast this goes is measured by bench/bench_gui_system_window.
    window_->refreshSystemView();
    test::COL(window_)->scrollToBottom();
    test::COL(window_)->viewport()->repaint();
    QApplication::processEvents();
    QCOMPARE(test::COL(window_)->model()->rowCount(), 1'000'000);
    QCOMPARE(test::COL(window_)->model()->index(999'999, 0).data().toString(),
             QStringLiteral("1000000"));
    QCOMPARE(labelText(window_, "Label3"), QStringLiteral("Colonne finali: 1000000"));
}

void SystemWindowTest::hintsReachTheStatusPanel() {
    QWidget* button = window_->button("SpeedButton1");
    QCOMPARE(button->toolTip(), QStringLiteral("Nuovo sistema"));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(button, &enter);
    QCOMPARE(test::SPI(frame_.get())->text(), QStringLiteral(" Per lavorare su un nuovo sistema."));

    QApplication::sendEvent(test::TAV(window_), &enter);
    QCOMPARE(test::SPI(frame_.get())->text(),
             QStringLiteral(" Usa il tasto sinistro del mouse per selezionare/annullare un segno "
                            "del sistema."));
    QApplication::sendEvent(test::COL(window_), &enter);
    QCOMPARE(test::SPI(frame_.get())->text(), QStringLiteral(" Elenco delle colonne giocabili."));
    // A hint without a bar is the same text in both places.
    QAction* close = window_->command("Chiudi1");
    QCOMPARE(close->toolTip(), QStringLiteral("Chiude il sistema attivo."));
    close->showStatusText(window_);
    QCOMPARE(test::SPI(frame_.get())->text(), QStringLiteral(" Chiude il sistema attivo."));
}

void SystemWindowTest::menusAndButtonsAreComplete() {
    QStringList titles;
    for (QMenu* m : window_->menus())
        titles << m->title();
    QCOMPARE(titles, (QStringList{"&File", "&Colonne", "&Sistema", "Stam&pa", "Funzioni &Utente",
                                  "&Guida in linea"}));
    struct Item {
        const char* name;
        const char* caption;
        const char* keys;
    };
    for (const Item i :
         {Item{"Nuovo1", "&Nuovo", "Ctrl+N"}, Item{"Apri1", "&Apri", "Ctrl+A"},
          Item{"Riapri1", "&Riapri", "Ctrl+R"}, Item{"Chiudi1", "&Chiudi", "Ctrl+F4"},
          Item{"Salvaconnome1", "Sal&va con altro nome", "Ctrl+V"},
          Item{"Fine1", "F&ine", "Alt+F4"}, Item{"Sommario1", "&Sommario", "F1"},
          Item{"Calcolaprobabilitdivincita1", "Calcola probabilità di &vincita", ""},
          Item{"Toglisegnimenoprobabili1", "T&ogli numeri meno probabili", ""}}) {
        QAction* a = window_->command(i.name);
        QVERIFY2(a, i.name);
        QCOMPARE(a->text(), QString::fromUtf8(i.caption));
        QCOMPARE(a->shortcut(), QKeySequence(QString::fromLatin1(i.keys)));
    }
    QCOMPARE(window_->command("Salva1")->text(), QStringLiteral("&Salva Sistem1.Qtr"));
    QCOMPARE(window_->command("Salva1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(window_->button("SpeedButton3")->toolTip(), QStringLiteral("Salva Sistem1.Qtr"));
    // Commands of windows still to come are there but disabled, with their buttons.
    for (const QString& name : SystemWindow::pendingCommands()) {
        QAction* a = window_->command(name);
        QVERIFY2(a, qPrintable(name));
        QVERIFY2(!a->isEnabled(), qPrintable(name));
    }
    // Each button has a picture of its own, drawn at any size, and keeps its hint.
    QList<QImage> pictures;
    for (int b : {1, 2, 3, 4, 7, 8, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}) {
        QToolButton* button = window_->button(QStringLiteral("SpeedButton%1").arg(b));
        QVERIFY2(button, qPrintable(QString::number(b)));
        QVERIFY(!button->accessibleName().isEmpty());
        QVERIFY(!button->toolTip().isEmpty());
        const QImage picture = button->icon().pixmap(24, 24).toImage();
        QVERIFY2(!picture.isNull() && !pictures.contains(picture), qPrintable(QString::number(b)));
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
    QVERIFY(window_->button("SpeedButton14")->isEnabled());
    QVERIFY(window_->button("SpeedButton3")->isEnabled());
    for (int k = 1; k <= 15; ++k)
        QVERIFY(!window_->command(QStringLiteral("fu%1").arg(k))->isVisible());
    // The frame's bar shows the active window's menus.
    QCOMPARE(frame_->menuBar()->actions().size(), 6);
}

void SystemWindowTest::ctrlROpensTheRecentList() {
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    QMenu* file = window_->menus().first();
    QMenu* recent = window_->command("Riapri1")->menu();
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
    NumberBoard* board = test::TAV(window_);
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
    QCOMPARE(labelText(window_, "Label8"), QStringLiteral("3"));
    QVERIFY(window_->state().modified);
    QCOMPARE(description(board), QStringLiteral("Numero 90, segnato"));
    const QRect cell = NumberBoard::markCell(90);
    QCOMPARE(board->picture().copy(cell), NumberBoard::SEGSI());
    QTest::keyClick(board, Qt::Key_Space);
    QCOMPARE(description(board), QStringLiteral("Numero 90, non segnato"));
    QCOMPARE(board->picture().copy(cell), board->cleanCopy().copy(cell));

    // Tab leaves the grid instead of walking its cells.
    test::COL(window_)->setFocus();
    QTRY_VERIFY(test::COL(window_)->hasFocus());
    QTest::keyClick(test::COL(window_), Qt::Key_Tab);
    QVERIFY(!test::COL(window_)->hasFocus());

    // The status panel's text reaches screen readers as it changes.
    frame_->METTIHINT(QStringLiteral("Prova."));
    QCOMPARE(description(test::SPI(frame_.get())), QStringLiteral(" Prova."));
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
    QMenu* columns =
        window_->command("Azzeracolonne1")->associatedObjects().value(0)
            ? qobject_cast<QMenu*>(window_->command("Azzeracolonne1")->associatedObjects().value(0))
            : nullptr;
    QVERIFY(columns);
    QSignalSpy cleared(window_->command("Azzeracolonne1"), &QAction::triggered);
    columns->popup(QPoint(0, 0));
    QTRY_VERIFY(columns->isVisible());
    QTest::keyClick(columns, Qt::Key_A);
    QTRY_COMPARE(cleared.count(), 1);
}

QTEST_MAIN(SystemWindowTest)
#include "test_system_window.moc"
