// The main frame and the system window's file commands: new, open, save, save as, the
// recent-files menus, the close questions and the command line.
#include "app/main_frame.h"
#include "core/recent_files.h"
#include "core/system_file.h"
#include "gui/system/board.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/gui_helpers.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

#include <memory>

using namespace quintor;
using quintor::test::clickNumber;
using quintor::test::labelText;
using quintor::test::trigger;

namespace {

const QString missingMessage =
    QStringLiteral("Il file specificato non esiste !\rCorreggere e riprovare.");
const QString unreadableMessage =
    QStringLiteral("Impossibile leggere dal file specificato!\rCorreggere e riprovare.");
const QString closeQuestion =
    QStringLiteral("Il sistema attuale è stato modificato !\rVuoi registrare le modifiche ?");

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Notes whether a widget has been painted.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* widget) { widget->installEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void nuovoNamesSystemsInTheCurrentFolder();
    void saveAndOpenRoundTripThroughTheMenus();
    void saveAsAsksBeforeOverwriting();
    void fileNamesIgnoreLetterCase();
    void anotherProgramsChangeIsNotOverwrittenUnasked();
    void openingAMissingFileAsksAgain();
    void aPartialColumnFailsTheLoad();
    void closeQuestionAnswers();
    void closingTheFrameAsksEveryWindow();
    void recentMenusAfterSaves();
    void pathsWithBlanksAndAccents();
    void recentItemsTellSameNamesApart();
    void commandLineRules();
    void theFrameIsPaintedBeforeTheRestOfTheStart();
    void frameShowsItsOwnMenusWithoutWindows();
    void windowsCascadeInsideTheVisibleArea();

private:
    SystemWindow* newWindow();

    std::unique_ptr<test::TestHome> home_;
    std::unique_ptr<test::ScriptedPrompter> prompter_;
    std::unique_ptr<MainFrame> frame_;
};

void MainFrameTest::init() {
    home_ = std::make_unique<test::TestHome>();
    prompter_ = std::make_unique<test::ScriptedPrompter>();
    frame_ =
        std::make_unique<MainFrame>(QStringList{QStringLiteral("--none--"), QStringLiteral("x")});
    frame_->resize(1200, 760);
    frame_->show();
}

void MainFrameTest::cleanup() {
    for (SystemWindow* w : frame_->systems())
        w->state().modified = false;
    frame_.reset();
    prompter_.reset();
    home_.reset();
}

SystemWindow* MainFrameTest::newWindow() {
    frame_->onNewTriggered();
    return frame_->activeSystem();
}

void MainFrameTest::nuovoNamesSystemsInTheCurrentFolder() {
    SystemWindow* first = newWindow();
    QCOMPARE(first->fileName(), QDir(home_->path()).filePath("Sistem1.Qtr"));
    QCOMPARE(first->windowTitle(), QStringLiteral("Sistem1.Qtr"));
    QVERIFY(trigger(first, "newAction"));
    SystemWindow* second = frame_->activeSystem();
    QVERIFY(second != first);
    QCOMPARE(second->fileName(), QDir(home_->path()).filePath("Sistem2.Qtr"));
    QCOMPARE(frame_->newSystemCounter(), 2);
    QCOMPARE(frame_->systems().size(), 2);
    // The plain save of a new system writes its default name without asking.
    clickNumber(second, 5);
    QVERIFY(trigger(second, "saveAction"));
    QVERIFY(prompter_->asked().isEmpty());
    QCOMPARE(QFileInfo(home_->file("Sistem2.Qtr")).size(), qint64(791));
    QVERIFY(!second->state().modified);
}

void MainFrameTest::saveAndOpenRoundTripThroughTheMenus() {
    SystemWindow* window = newWindow();
    for (int n : {4, 17, 33, 60, 88, 90, 1})
        clickNumber(window, n);
    window->state().finalColumns = {Column{4, 17, 33, 60, 88, 90}, Column{90, 1, 4, 17, 33, 7}};
    window->state().fixedCount = 2;
    window->state().fixedNumbers[0] = 17;
    window->state().fixedNumbers[1] = 33;
    window->refreshSystemView();
    const QString path = home_->file("giro.qtr");
    prompter_->answerFile(path);
    QVERIFY(trigger(window, "saveAsAction"));
    QCOMPARE(QFileInfo(path).size(), qint64(791 + 6 * 2));
    QVERIFY(!window->state().modified);
    QCOMPARE(window->windowTitle(), QStringLiteral("giro.qtr"));
    QCOMPARE(window->command("saveAction")->text(), QStringLiteral("&Salva giro.qtr"));
    const auto dialogs = prompter_->fileDialogs();
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs[0].title, QStringLiteral("Salva sistema con nome"));
    QCOMPARE(dialogs[0].defaultExtension, QStringLiteral("qtr"));
    QCOMPARE(dialogs[0].startName, QDir(home_->path()).filePath("Sistem1.Qtr"));

    prompter_->clear();
    prompter_->answerFile(path);
    QVERIFY(trigger(window, "openAction"));
    const auto open = prompter_->fileDialogs();
    QCOMPARE(open.size(), 1);
    QCOMPARE(open[0].title, QStringLiteral("Apri sistema Quintor"));
    QCOMPARE(open[0].filter,
             QStringLiteral("Sistema Quintor (*.qtr)|*.qtr|Tutti i file (*.*)|*.*"));
    QCOMPARE(open[0].defaultExtension, QStringLiteral("qtr"));
    SystemWindow* loaded = frame_->activeSystem();
    QVERIFY(loaded != window);
    QCOMPARE(loaded->fileName(), path);
    QCOMPARE(loaded->state().marked, window->state().marked);
    QCOMPARE(loaded->state().finalColumns, window->state().finalColumns);
    QCOMPARE(loaded->state().fixedCount, 2);
    QCOMPARE(loaded->state().layout, window->state().layout);
    QVERIFY(!loaded->state().modified);
    QCOMPARE(labelText(loaded, "markedNumbersLabel"), QStringLiteral(" 1 4 17 33 60 88 90"));
    QCOMPARE(labelText(loaded, "initialColumnsLabel"), QStringLiteral("7"));
    QCOMPARE(labelText(loaded, "finalColumnsLabel"), QStringLiteral("Colonne finali: 2"));
    QCOMPARE(test::finalColumnsGrid(loaded)->model()->index(1, 1).data().toString(),
             QStringLiteral("90  1  4 17 33  7"));
    // The marks are on the board picture too.
    QCOMPARE(test::board(loaded)->size(), test::board(window)->size());
    QCOMPARE(test::boardPicture(test::board(loaded)), test::boardPicture(test::board(window)));
    // Opening never counts as a new system.
    QCOMPARE(frame_->newSystemCounter(), 1);
}

void MainFrameTest::saveAsAsksBeforeOverwriting() {
    SystemWindow* window = newWindow();
    const QString path = home_->file("esiste.qtr");
    writeBytes(path, "vecchio");
    clickNumber(window, 9);
    prompter_->answerFile(path);
    prompter_->answer(QMessageBox::No);
    QVERIFY(trigger(window, "saveAsAction"));
    QCOMPARE(QFileInfo(path).size(), qint64(7));
    QVERIFY(window->state().modified);
    const Question q = prompter_->questions().value(0);
    QCOMPARE(q.title, QStringLiteral("Attenzione"));
    QCOMPARE(q.text,
             QStringLiteral("Il nome specificato è già presente sul disco !\rSovrascrivo ?"));
    QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(q.defaultButton, QMessageBox::No);
    QCOMPARE(q.icon, QMessageBox::Question);

    prompter_->answerFile(path);
    prompter_->answer(QMessageBox::Yes);
    QVERIFY(trigger(window, "saveAsAction"));
    QCOMPARE(QFileInfo(path).size(), qint64(791));
    QVERIFY(!window->state().modified);

    // A folder that cannot be written: the message, and the flag stays set.
    clickNumber(window, 10);
    prompter_->clear();
    prompter_->answerFile(home_->file("manca/dentro.qtr"));
    QVERIFY(trigger(window, "saveAsAction"));
    QCOMPARE(prompter_->questions().size(), 1);
    QCOMPARE(prompter_->lastText(),
             QStringLiteral("Si è verificato un errore durante il salvataggio del sistema "
                            "!\rImpossibile scrivere sul disco."));
    QCOMPARE(prompter_->questions()[0].title, QStringLiteral("Errore !"));
    QCOMPARE(prompter_->questions()[0].icon, QMessageBox::Critical);
    QVERIFY(window->state().modified);
    QCOMPARE(window->fileName(), home_->file("manca/dentro.qtr")); // the new name stays
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void MainFrameTest::fileNamesIgnoreLetterCase() {
    const QString overwrite =
        QStringLiteral("Il nome specificato è già presente sul disco !\rSovrascrivo ?");
    // New names skip files of an earlier run, whatever their letter case.
    writeBytes(home_->file("SISTEM1.QTR"), "vecchio");
    writeBytes(home_->file("sistem2.qtr"), "vecchio");
    SystemWindow* window = newWindow();
    QCOMPARE(window->fileName(), home_->file("Sistem3.Qtr"));
    QVERIFY(trigger(window, "newAction"));
    QCOMPARE(frame_->activeSystem()->fileName(), home_->file("Sistem4.Qtr"));

    // A file that turned up under the name the program chose is not replaced unasked.
    writeBytes(home_->file("Sistem3.Qtr"), "vecchio");
    clickNumber(window, 9);
    prompter_->answer(QMessageBox::No);
    QVERIFY(trigger(window, "saveAction"));
    QCOMPARE(prompter_->lastText(), overwrite);
    QCOMPARE(QFileInfo(home_->file("Sistem3.Qtr")).size(), qint64(7));
    QVERIFY(window->state().modified);
    // The same under a spelling that differs only in letter case; Yes replaces that file
    // instead of making a twin of it.
    SystemWindow* fourth = frame_->activeSystem();
    writeBytes(home_->file("sistem4.qtr"), "vecchio");
    clickNumber(fourth, 9);
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        prompter_->clear();
        prompter_->answer(answer);
        QVERIFY(trigger(fourth, "saveAction"));
        QCOMPARE(prompter_->lastText(), overwrite);
        QCOMPARE(QDir(home_->path()).entryList({"sistem4*"}, QDir::Files),
                 QStringList{"sistem4.qtr"});
    }
    QCOMPARE(QFileInfo(home_->file("sistem4.qtr")).size(), qint64(791));
    QCOMPARE(fourth->fileName(), home_->file("sistem4.qtr"));
    QVERIFY(!fourth->state().modified);

    // "dopo" is saved as dopo.qtr; "Apri" finds it typed bare or in capitals.
    prompter_->clear();
    prompter_->answerFile(home_->file("dopo"));
    QVERIFY(trigger(window, "saveAsAction"));
    QVERIFY(prompter_->questions().isEmpty());
    QCOMPARE(window->fileName(), home_->file("dopo.qtr"));
    QCOMPARE(QFileInfo(home_->file("dopo.qtr")).size(), qint64(791));
    for (const char* typed : {"dopo", "DOPO.QTR"}) {
        prompter_->answerFile(home_->file(typed));
        QVERIFY(trigger(window, "openAction"));
        QVERIFY(prompter_->questions().isEmpty());
        QCOMPARE(frame_->activeSystem()->fileName(), home_->file("dopo.qtr"));
        QCOMPARE(frame_->activeSystem()->state().markedNumbers(), std::vector<int>{9});
    }

    // Saving as "sistem1" beside SISTEM1.QTR asks, and No leaves no twin.
    prompter_->clear();
    prompter_->answerFile(home_->file("sistem1"));
    prompter_->answer(QMessageBox::No);
    QVERIFY(trigger(window, "saveAsAction"));
    QCOMPARE(prompter_->lastText(), overwrite);
    QCOMPARE(QDir(home_->path()).entryList({"sistem1*"}, QDir::Files), QStringList{"SISTEM1.QTR"});
    QCOMPARE(window->fileName(), home_->file("dopo.qtr"));
}

void MainFrameTest::anotherProgramsChangeIsNotOverwrittenUnasked() {
    const QString path = home_->file("condiviso.qtr");
    SystemState first;
    first.marked[1] = 1;
    first.finalColumns = {Column{1, 2, 3, 4, 5, 6}};
    QVERIFY(writeSystemFile(path.toStdString(), first));
    QVERIFY(frame_->openSystemFile(path));
    SystemWindow* window = frame_->activeSystem();
    clickNumber(window, 9);
    // Another program adds a column to the file meanwhile.
    SystemState theirs = first;
    theirs.finalColumns.push_back(Column{7, 8, 9, 10, 11, 12});
    QVERIFY(writeSystemFile(path.toStdString(), theirs));

    prompter_->clear();
    prompter_->answer(QMessageBox::No);
    QVERIFY(trigger(window, "saveAction"));
    QCOMPARE(prompter_->questions().size(), 1);
    QCOMPARE(prompter_->lastText(),
             QStringLiteral("Il file condiviso.qtr è stato modificato da un altro programma dopo "
                            "l'ultima apertura o registrazione !\rSovrascrivo le sue modifiche "
                            "con il sistema di questa finestra ?"));
    QCOMPARE(prompter_->questions()[0].defaultButton, QMessageBox::No);
    SystemState onDisk;
    QVERIFY(readSystemFile(path.toStdString(), onDisk));
    QCOMPARE(onDisk.finalColumns, theirs.finalColumns);
    QVERIFY(window->state().modified);

    prompter_->answer(QMessageBox::Yes);
    QVERIFY(trigger(window, "saveAction"));
    QVERIFY(readSystemFile(path.toStdString(), onDisk));
    QCOMPARE(onDisk.marked, window->state().marked);
    QVERIFY(!window->state().modified);
    // The window's own saves since are not another program's.
    prompter_->clear();
    clickNumber(window, 10);
    QVERIFY(trigger(window, "saveAction"));
    QVERIFY(prompter_->questions().isEmpty());
    QVERIFY(!window->state().modified);
}

void MainFrameTest::openingAMissingFileAsksAgain() {
    prompter_->answerFile(home_->file("nessuno.qtr"));
    prompter_->cancelFile();
    QVERIFY(trigger(frame_.get(), "openAction"));
    QCOMPARE(prompter_->fileDialogs().size(), 2);
    const auto questions = prompter_->questions();
    QCOMPARE(questions.size(), 1);
    QCOMPARE(questions[0].text, missingMessage);
    QCOMPARE(questions[0].title, QStringLiteral("Errore !"));
    QCOMPARE(questions[0].icon, QMessageBox::Critical);
    QVERIFY(frame_->systems().isEmpty());

    // From the recent list there is no second dialog.
    prompter_->clear();
    QVERIFY(!frame_->openSystemFile(home_->file("nessuno.qtr")));
    QCOMPARE(prompter_->asked().size(), 1);
    QCOMPARE(prompter_->lastText(), missingMessage);
    QVERIFY(frame_->systems().isEmpty());
}

void MainFrameTest::aPartialColumnFailsTheLoad() {
    SystemState good;
    good.marked[5] = good.marked[6] = 1;
    good.finalColumns = {Column{1, 2, 3, 4, 5, 6}};
    const QString path = home_->file("rotto.qtr");
    QVERIFY(writeSystemFile(path.toStdString(), good));
    QFile f(path);
    QVERIFY(f.resize(794));
    QVERIFY(frame_->openSystemFile(path));
    QCOMPARE(prompter_->lastText(), unreadableMessage);
    QCOMPARE(prompter_->questions().value(0).title, QStringLiteral("Errore !"));
    SystemWindow* window = frame_->activeSystem();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("rotto.qtr"));
    QCOMPARE(window->state().markedCount(), 0);
    QVERIFY(window->state().finalColumns.empty());
    QCOMPARE(test::finalColumnsGrid(window)->model()->rowCount(), 1);
    QVERIFY(test::finalColumnsGrid(window)->horizontalHeader()->isHidden());
    QVERIFY(!window->state().modified);
    QCOMPARE(test::boardPicture(test::board(window)),
             test::unmarkedBoardPicture(test::board(window)));
    QVERIFY(QApplication::overrideCursor() == nullptr);
    // The file could not be read as a system: a plain save asks before replacing it.
    prompter_->clear();
    prompter_->answer(QMessageBox::No);
    QVERIFY(trigger(window, "saveAction"));
    QCOMPARE(prompter_->lastText(),
             QStringLiteral("Il nome specificato è già presente sul disco !\rSovrascrivo ?"));
    QCOMPARE(QFileInfo(path).size(), qint64(794));

    // Shorter than the header: the same message.
    writeBytes(home_->file("corto.qtr"), QByteArray(100, '\1'));
    prompter_->clear();
    QVERIFY(frame_->openSystemFile(home_->file("corto.qtr")));
    QCOMPARE(prompter_->lastText(), unreadableMessage);

    // Odd bytes load and show as they are.
    QByteArray odd(791, '\0');
    odd[1] = 2;   // number 1 with a mark byte other than 1
    odd[697] = 9; // more fixed numbers than there can be
    odd.append(QByteArray::fromHex("00ff5a5a0763"));
    writeBytes(home_->file("strano.qtr"), odd);
    prompter_->clear();
    QVERIFY(frame_->openSystemFile(home_->file("strano.qtr")));
    QVERIFY(prompter_->questions().isEmpty());
    SystemWindow* oddWindow = frame_->activeSystem();
    QCOMPARE(test::finalColumnsGrid(oddWindow)->model()->index(0, 1).data().toString(),
             QStringLiteral(" 0 255 90 90  7 99"));
    // Only a byte 1 is a mark: number 1 is neither counted nor drawn, and a click marks it.
    QCOMPARE(labelText(oddWindow, "markedNumbersLabel"), QStringLiteral("Nessun numero"));
    NumberBoard* oddBoard = test::board(oddWindow);
    const QImage unmarked = test::unmarkedBoardPicture(oddBoard);
    QCOMPARE(test::boardPicture(oddBoard), unmarked);
    clickNumber(oddWindow, 1);
    QCOMPARE(oddWindow->state().markedNumbers(), std::vector<int>{1});
    QVERIFY(test::cellDiffers(test::boardPicture(oddBoard), unmarked, oddBoard, 1));
}

void MainFrameTest::closeQuestionAnswers() {
    SystemWindow* window = newWindow();
    QPointer<SystemWindow> watch(window);
    clickNumber(window, 12);

    prompter_->answer(QMessageBox::Cancel);
    QVERIFY(trigger(window, "closeAction"));
    QVERIFY(watch);
    const Question q = prompter_->questions().value(0);
    QCOMPARE(q.text, closeQuestion + "\rSistem1.Qtr");
    QCOMPARE(q.title, QStringLiteral("Attenzione"));
    QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(q.defaultButton, QMessageBox::Yes);

    // Yes, then the save dialog cancelled: still open and still modified.
    prompter_->answer(QMessageBox::Yes);
    prompter_->cancelFile();
    QVERIFY(trigger(window, "closeAction"));
    QVERIFY(watch);
    QVERIFY(window->state().modified);

    // Yes and a name: saved, then closed.
    prompter_->answer(QMessageBox::Yes);
    prompter_->answerFile(home_->file("chiuso.qtr"));
    QVERIFY(trigger(window, "closeAction"));
    QTRY_VERIFY(!watch);
    QCOMPARE(QFileInfo(home_->file("chiuso.qtr")).size(), qint64(791));

    // No: closed without writing anything.
    SystemWindow* other = newWindow();
    QPointer<SystemWindow> watchOther(other);
    clickNumber(other, 13);
    prompter_->answer(QMessageBox::No);
    QVERIFY(trigger(other, "closeAction"));
    QTRY_VERIFY(!watchOther);
    QVERIFY(!QFileInfo::exists(home_->file("Sistem2.Qtr")));

    // Unchanged: no question at all.
    prompter_->clear();
    SystemWindow* clean = newWindow();
    QPointer<SystemWindow> watchClean(clean);
    QVERIFY(trigger(clean, "closeAction"));
    QTRY_VERIFY(!watchClean);
    QVERIFY(prompter_->asked().isEmpty());
    QCOMPARE(prompter_->pendingAnswers(), 0);
}

void MainFrameTest::closingTheFrameAsksEveryWindow() {
    SystemWindow* a = newWindow();
    SystemWindow* b = newWindow();
    clickNumber(a, 1);
    clickNumber(b, 2);
    // Each question names its system, whose window is in front while it is asked.
    QStringList inFront;
    prompter_->onQuestion = [&](const Question&) {
        inFront << frame_->mdiArea()->activeSubWindow()->windowTitle();
    };
    // The first says No, the second Cancel: nothing closes.
    prompter_->answer(QMessageBox::No);
    prompter_->answer(QMessageBox::Cancel);
    QVERIFY(!frame_->close());
    QCOMPARE(frame_->systems().size(), 2);
    QCOMPARE(prompter_->questions().size(), 2);
    QCOMPARE(prompter_->questions()[0].text, closeQuestion + "\rSistem1.Qtr");
    QCOMPARE(prompter_->questions()[1].text, closeQuestion + "\rSistem2.Qtr");
    QCOMPARE(inFront, (QStringList{"Sistem1.Qtr", "Sistem2.Qtr"}));
    prompter_->onQuestion = nullptr;
    // Nothing closed, so the first still holds its changes: both are asked again.
    QVERIFY(a->state().modified);
    prompter_->clear();
    prompter_->answer(QMessageBox::No);
    prompter_->answer(QMessageBox::No);
    QVERIFY(frame_->close());
    QCOMPARE(prompter_->questions().size(), 2);
    QTRY_VERIFY(frame_->systems().isEmpty());
}

void MainFrameTest::recentMenusAfterSaves() {
    SystemWindow* a = newWindow();
    prompter_->answerFile(home_->file("A.qtr"));
    QVERIFY(trigger(a, "saveAsAction"));
    SystemWindow* b = newWindow();
    prompter_->answerFile(home_->file("B.qtr"));
    QVERIFY(trigger(b, "saveAsAction"));
    QVERIFY(trigger(b, "saveAction")); // saving again adds nothing

    const RecentFiles list = RecentFiles::load((home_->path() + "/QUIN_LST.CFG").toStdString());
    QCOMPARE(list.count, 2);
    QCOMPARE(QString::fromStdString(list.entries[0]), home_->file("A.qtr"));
    QCOMPARE(QString::fromStdString(list.entries[1]), home_->file("B.qtr"));

    QVERIFY(frame_->recentAction(1)->text().startsWith(QStringLiteral("&1 /../")));
    QVERIFY(frame_->recentAction(1)->text().endsWith(QStringLiteral("/A.qtr")));
    QVERIFY(frame_->recentAction(2)->text().endsWith(QStringLiteral("/B.qtr")));
    QVERIFY(frame_->recentAction(1)->isVisible());
    QVERIFY(frame_->recentAction(2)->isVisible());
    QVERIFY(!frame_->recentAction(3)->isVisible());
    // In B's window its own entry is hidden, A's is shown.
    QVERIFY(b->command("recentAction1")->isVisible());
    QVERIFY(!b->command("recentAction2")->isVisible());
    QVERIFY(!b->command("recentAction3")->isVisible());
    // A's list is read again as it opens, so it shows B, which was saved in another window.
    emit a->command("reopenAction")->menu()->aboutToShow();
    QVERIFY(!a->command("recentAction1")->isVisible());
    QVERIFY(a->command("recentAction2")->isVisible());
    // A's window learns of B at its next refresh.
    a->showFileName();
    QVERIFY(!a->command("recentAction1")->isVisible());
    QVERIFY(a->command("recentAction2")->isVisible());
    QVERIFY(frame_->recentAction(1)->isVisible()); // the frame's item stays

    // Reopening from A's window opens B.
    QVERIFY(trigger(a, "recentAction2"));
    QCOMPARE(frame_->activeSystem()->fileName(), home_->file("B.qtr"));
    QCOMPARE(frame_->systems().size(), 3);

    // A frame started with a missing file has no system window; its own menu lists them.
    MainFrame bare(QStringList{home_->file("manca.qtr")});
    bare.openStartingSystem();
    QVERIFY(bare.systems().isEmpty());
    QCOMPARE(bare.recentAction(2)->text(), frame_->recentAction(2)->text());
    QVERIFY(bare.recentAction(2)->isVisible());
    QVERIFY(trigger(&bare, "recentAction2"));
    QCOMPARE(bare.activeSystem()->fileName(), home_->file("B.qtr"));
}

void MainFrameTest::pathsWithBlanksAndAccents() {
    QVERIFY(QDir(home_->path()).mkpath(QStringLiteral("cartella con spazi/Però")));
    const QString path = home_->file(QStringLiteral("cartella con spazi/Però/Sistema è più.qtr"));
    SystemWindow* window = newWindow();
    for (int n : {2, 3, 5, 7, 11, 13})
        clickNumber(window, n);
    prompter_->answerFile(path);
    QVERIFY(trigger(window, "saveAsAction"));
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(window->windowTitle(), QStringLiteral("Sistema è più.qtr"));
    QCOMPARE(frame_->recentAction(1)->text(), QStringLiteral("&1 /../Però/Sistema è più.qtr"));
    QVERIFY(trigger(frame_.get(), "recentAction1"));
    SystemWindow* reopened = frame_->activeSystem();
    QVERIFY(reopened != window);
    QCOMPARE(reopened->fileName(), path);
    QCOMPARE(reopened->state().markedNumbers(), (std::vector<int>{2, 3, 5, 7, 11, 13}));
    QVERIFY(prompter_->questions().isEmpty());
    // And it saves again under the same name.
    clickNumber(reopened, 17);
    QVERIFY(trigger(reopened, "saveAction"));
    QCOMPARE(QFileInfo(path).size(), qint64(791));
    QVERIFY(!reopened->state().modified);
}

void MainFrameTest::recentItemsTellSameNamesApart() {
    QStringList paths;
    for (const char* folder : {"casa", "ufficio"}) {
        QVERIFY(QDir(home_->path()).mkpath(QString::fromLatin1(folder)));
        paths << home_->file(QString::fromLatin1(folder) + QStringLiteral("/Sistem1.Qtr"));
        prompter_->answerFile(paths.constLast());
        QVERIFY(trigger(newWindow(), "saveAsAction"));
    }
    QMenu* reopen = frame_->command(QStringLiteral("reopenAction"))->menu();
    frame_->refreshRecentItems();
    QVERIFY(reopen->toolTipsVisible());
    QCOMPARE(frame_->recentAction(1)->text(), QStringLiteral("&1 /../casa/Sistem1.Qtr"));
    QCOMPARE(frame_->recentAction(2)->text(), QStringLiteral("&2 /../ufficio/Sistem1.Qtr"));
    QCOMPARE(frame_->recentAction(1)->toolTip(), paths[0]);
    QCOMPARE(frame_->recentAction(2)->toolTip(), paths[1]);
    // A system window's own items read the same, tips included.
    SystemWindow* other = newWindow();
    emit other->command(QStringLiteral("reopenAction"))->menu()->aboutToShow();
    QCOMPARE(other->command(QStringLiteral("recentAction2"))->text(),
             frame_->recentAction(2)->text());
    QCOMPARE(other->command(QStringLiteral("recentAction2"))->toolTip(), paths[1]);
}

void MainFrameTest::commandLineRules() {
    // A file named on the command line opens, and no empty system.
    SystemState saved;
    saved.marked[44] = 1;
    const QString path = home_->file("avvio.qtr");
    QVERIFY(writeSystemFile(path.toStdString(), saved));
    {
        MainFrame frame(QStringList{path});
        frame.openStartingSystem();
        frame.openStartingSystem(); // later activations change nothing
        QCOMPARE(frame.systems().size(), 1);
        QCOMPARE(frame.systems()[0]->fileName(), path);
        QCOMPARE(frame.systems()[0]->state().markedNumbers(), std::vector<int>{44});
        frame.onNewTriggered();
        QCOMPARE(frame.activeSystem()->fileName(), home_->file("Sistem2.Qtr"));
    }
    {
        MainFrame frame(QStringList{home_->file("non_esiste.qtr")});
        frame.openStartingSystem();
        frame.openStartingSystem(); // told once, not at every activation
        QVERIFY(frame.systems().isEmpty());
        QCOMPARE(prompter_->asked().size(), 1);
        QCOMPARE(prompter_->lastText(), missingMessage);
        prompter_->clear();
        frame.onNewTriggered();
        QCOMPARE(frame.activeSystem()->fileName(), home_->file("Sistem1.Qtr"));
    }
    {
        MainFrame frame(QStringList{path, path});
        frame.openStartingSystem();
        QVERIFY(frame.systems().isEmpty());
    }
    {
        MainFrame frame;
        frame.openStartingSystem();
        QCOMPARE(frame.systems().size(), 1);
        QCOMPARE(frame.systems()[0]->fileName(), home_->file("Sistem1.Qtr"));
        frame.openStartingSystem();
        QCOMPARE(frame.systems().size(), 1);
    }
    QVERIFY(prompter_->asked().isEmpty());
}

void MainFrameTest::theFrameIsPaintedBeforeTheRestOfTheStart() {
    MainFrame frame;
    PaintWatch watch(&frame);
    int starts = 0;
    connect(&frame, &MainFrame::firstPainted, this, [&] {
        ++starts;
        QVERIFY(watch.painted);
        QVERIFY(frame.systems().isEmpty());
        // The start-up work may ask the user: an activation meanwhile opens no system.
        QApplication::postEvent(&frame, new QEvent(QEvent::WindowActivate));
        QCoreApplication::processEvents();
        QVERIFY(frame.systems().isEmpty());
    });
    frame.show();
    QVERIFY(frame.systems().isEmpty());
    QTRY_COMPARE(frame.systems().size(), 1);
    QCOMPARE(starts, 1);
    // Showing again starts nothing again.
    frame.hide();
    frame.show();
    QTest::qWait(300);
    QCOMPARE(starts, 1);
    QCOMPARE(frame.systems().size(), 1);

    // A frame never painted still finishes its start, a moment later.
    MainFrame hidden;
    hidden.setUpdatesEnabled(false);
    PaintWatch hiddenWatch(&hidden);
    hidden.show();
    QTRY_COMPARE(hidden.systems().size(), 1);
    QVERIFY(!hiddenWatch.painted);
}

void MainFrameTest::frameShowsItsOwnMenusWithoutWindows() {
    QStringList titles;
    for (QAction* a : frame_->menuBar()->actions())
        titles << a->text();
    QCOMPARE(titles, (QStringList{"&File", "&Guida in linea"}));
    QCOMPARE(frame_->command("quitAction")->statusTip(), QStringLiteral("Chiude il programma"));
    QCOMPARE(frame_->command("newAction")->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    QCOMPARE(frame_->command("openAction")->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
    QCOMPARE(frame_->windowTitle(), QStringLiteral("Quintor"));
    QCOMPARE(frame_->mdiArea()->background().color(), QColor(0, 128, 128));
    SystemWindow* window = newWindow();
    QCOMPARE(frame_->menuBar()->actions().size(), 7);
    window->state().modified = false;
    QVERIFY(trigger(window, "closeAction"));
    QTRY_COMPARE(frame_->menuBar()->actions().size(), 2);
    // The hint bar: one blank before the long hint.
    frame_->showHint(QStringLiteral("Prova."));
    QCOMPARE(test::hintLabel(frame_.get())->text(), QStringLiteral(" Prova."));
    // A long hint is cut at the frame's edge; it never makes the frame wider.
    const int narrowest = frame_->minimumSizeHint().width();
    frame_->showHint(QString(400, QLatin1Char('m')));
    QCoreApplication::processEvents();
    QCOMPARE(frame_->minimumSizeHint().width(), narrowest);
}

void MainFrameTest::windowsCascadeInsideTheVisibleArea() {
    QWidget* visible = frame_->mdiArea()->viewport();
    QList<QPoint> corners;
    for (int k = 0; k < 4; ++k) {
        newWindow();
        const QMdiSubWindow* sub = frame_->mdiArea()->activeSubWindow();
        QVERIFY2(visible->rect().contains(sub->geometry()), qPrintable(QString::number(k)));
        QVERIFY(!corners.contains(sub->pos()));
        corners << sub->pos();
    }
    QVERIFY(corners[1].x() > corners[0].x() && corners[1].y() > corners[0].y());
    // A frame too small for its windows scrolls to them.
    frame_->resize(500, 400);
    QTRY_VERIFY(frame_->mdiArea()->horizontalScrollBar()->isVisible());
    QVERIFY(frame_->mdiArea()->verticalScrollBar()->isVisible());
}

QTEST_MAIN(MainFrameTest)
#include "test_main_frame.moc"
