// The archive window driven through its real buttons and fields.
#include "app/main_frame.h"
#include "gui/archive/archive_window.h"
#include "gui/common/feedback.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/gui_helpers.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

using namespace quintor;
namespace fs = std::filesystem;

namespace {

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// One file record from its three fields as the file keeps them.
std::string record(const char* date, const char* column, const char* jolly2) {
    return std::string(date) + column + jolly2;
}

// Five draws, the newest on Wednesday 3 January 2001.
const std::string fiveRecords = record("10/12/2000", " 5 12 33 45 67 89", " 7") +
                                record("13/12/2000", " 1  2  3  4  5  6", "10") +
                                record("20/12/2000", " 7 17 27 37 47 57", "77") +
                                record("27/12/2000", " 8 18 28 38 48 58", "88") +
                                record("03/01/2001", " 9 19 29 39 49 59", "69");

} // namespace

class ArchiveWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void labelsShowTheNewestDrawAndTheCount();
    void newRecordsGoBeforeTheFirstAndAfterTheLast();
    void aDateAlreadyPresentIsNotAddedButTheFileIsRewritten();
    void badEntriesKeepTheBoxOpenAndTheArchiveUnchanged();
    void deletingTwoOfFiveAndRefusingThree();
    void modifyPrefillsAndKeepsThePlace();
    void updateFileMergesAtStartAndIsRenamed();
    void updateFileRefusedStaysForNextTime();
    void updateFileReplacesSimulatedDraws();
    void emptyArchiveWorksFromTheFirstRecord();
    void failedSaveKeepsTheFileAndTheList();
    void anotherProgramsDrawsAreKeptAndShown();
    void unreadableArchiveIsNeverReplaced();
    void csvImportCountsAndReplacesSimulatedDraws();
    void openedModallyFromTheFrameAndTheSystemWindow();
    void anArchiveStillBeingReadComesWhenReadOrAskedFor();

private:
    std::unique_ptr<ArchiveWindow> open();
    fs::path home() const { return fs::path(dir_->path().toStdString()); }
    fs::path archiveFile() const { return home() / "vincenti.dat"; }
    template <class T> T* child(ArchiveWindow& window, const char* name) {
        T* widget = window.findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("control %s not found", name);
        return widget;
    }
    void click(ArchiveWindow& window, const char* button) {
        QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
    }
    void type(ArchiveWindow& window, const char* edit, const QString& text) {
        auto* field = child<QLineEdit>(window, edit);
        field->clear();
        QTest::keyClicks(field, text);
    }
    void enter(ArchiveWindow& window, const QString& date, const QString& column,
               const QString& jolly) {
        type(window, "dateField", date);
        type(window, "columnField", column);
        type(window, "jollyField", jolly);
        click(window, "entryOkButton");
    }
    void selectRows(ArchiveWindow& window, int first, int last) {
        auto* grid = child<QTableView>(window, "drawsGrid");
        grid->clearSelection();
        grid->selectionModel()->select(
            QItemSelection(grid->model()->index(first, 0), grid->model()->index(last, 2)),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    QString cell(ArchiveWindow& window, int row, int column) {
        auto* grid = child<QTableView>(window, "drawsGrid");
        return grid->model()->index(row, column).data().toString();
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<test::ScriptedPrompter> prompter_;
    ArchiveService archives_;
    Archive& archive_ = archives_.archive();
    RandomGenerator random_;
};

void ArchiveWindowTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    prompter_ = std::make_unique<test::ScriptedPrompter>();
    archive_ = Archive{};
    writeBytes(archiveFile(), fiveRecords);
}

void ArchiveWindowTest::cleanup() {
    prompter_.reset();
    dir_.reset();
}

std::unique_ptr<ArchiveWindow> ArchiveWindowTest::open() {
    auto window = std::make_unique<ArchiveWindow>(home(), archives_, random_);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("archive window not exposed");
    return window;
}

void ArchiveWindowTest::labelsShowTheNewestDrawAndTheCount() {
    auto window = open();
    QCOMPARE(child<QLabel>(*window, "lastUpdateLabel")->text(),
             QStringLiteral("Ultimo aggiornamento: Mercoledì 03/01/2001"));
    QCOMPARE(child<QLabel>(*window, "drawCountLabel")->text(),
             QStringLiteral("Colonne vincenti: 5"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Gestione colonne vincenti"));
    QVERIFY(window->windowFlags().testFlag(Qt::CustomizeWindowHint));
    QVERIFY(!window->windowFlags().testAnyFlags(Qt::WindowMinimizeButtonHint |
                                                Qt::WindowMaximizeButtonHint));
    QVERIFY(child<QGroupBox>(*window, "entryBox")->isHidden());
    auto* grid = child<QTableView>(*window, "drawsGrid");
    QCOMPARE(grid->model()->rowCount(), 5);
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(),
             QStringLiteral(" Colonne vincenti"));
    QCOMPARE(cell(*window, 0, 1), QStringLiteral(" 5 12 33 45 67 89"));
    QCOMPARE(cell(*window, 0, 2), QStringLiteral("  7"));
    QCOMPARE(grid->columnWidth(1), 143);
    QCOMPARE(grid->rowHeight(0), 17);
}

void ArchiveWindowTest::newRecordsGoBeforeTheFirstAndAfterTheLast() {
    auto window = open();
    click(*window, "newButton");
    QCOMPARE(window->entryMode(), ArchiveWindow::newEntry);
    enter(*window, QStringLiteral("1/12/2000"), QStringLiteral("11 22 33 44 55 66"),
          QStringLiteral("9"));
    QVERIFY(child<QGroupBox>(*window, "entryBox")->isHidden());
    QCOMPARE(cell(*window, 0, 0), QStringLiteral("01/12/2000"));
    QCOMPARE(cell(*window, 0, 2), QStringLiteral("  9"));
    QCOMPARE(readBytes(archiveFile()),
             record("01/12/2000", "11 22 33 44 55 66", " 9") + fiveRecords);

    // Entered with Enter in the jolly field; the newest date moves the label.
    click(*window, "newButton");
    type(*window, "dateField", QStringLiteral("04/01/2001"));
    type(*window, "columnField", QStringLiteral("1 2 3 4 5 6"));
    type(*window, "jollyField", QStringLiteral("90"));
    QTest::keyClick(child<QLineEdit>(*window, "jollyField"), Qt::Key_Return);
    QCOMPARE(cell(*window, 6, 0), QStringLiteral("04/01/2001"));
    QCOMPARE(fs::file_size(archiveFile()), 7u * 29u);
    QCOMPARE(child<QLabel>(*window, "lastUpdateLabel")->text(),
             QStringLiteral("Ultimo aggiornamento: Giovedì 04/01/2001"));
    QCOMPARE(child<QLabel>(*window, "drawCountLabel")->text(),
             QStringLiteral("Colonne vincenti: 7"));
    QCOMPARE(archive_.size(), 7u);

    // Nuova while the box is open only beeps.
    click(*window, "newButton");
    const int beeps = beepCount();
    click(*window, "newButton");
    QCOMPARE(beepCount(), beeps + 1);
    click(*window, "entryCancelButton");
    QVERIFY(child<QGroupBox>(*window, "entryBox")->isHidden());
}

void ArchiveWindowTest::aDateAlreadyPresentIsNotAddedButTheFileIsRewritten() {
    // A partial record at the end disappears only if the file is written again.
    writeBytes(archiveFile(), fiveRecords + "04/01/2001 1");
    auto window = open();
    click(*window, "newButton");
    enter(*window, QStringLiteral("20/12/2000"), QStringLiteral("1 2 3 4 5 6"),
          QStringLiteral("7"));
    QVERIFY(prompter_->asked().isEmpty());
    QCOMPARE(archive_.size(), 5u);
    QCOMPARE(readBytes(archiveFile()), fiveRecords);
    QCOMPARE(cell(*window, 2, 1), QStringLiteral(" 7 17 27 37 47 57"));
}

void ArchiveWindowTest::badEntriesKeepTheBoxOpenAndTheArchiveUnchanged() {
    auto window = open();
    const char* columnMessage =
        "La colonna deve contenere sei numeri compresi tra 1 e 90,\rseparati da uno spazio.";
    const struct {
        const char *date, *column, *jolly, *message;
    } cases[] = {
        {"32/12/2000", "1 2 3 4 5 6", "7", "'32/12/2000' is not a valid date"},
        {"05/01/2001", "1 2 3 4 5", "7", columnMessage},
        {"05/01/2001", "1 2 3 4 5 95", "7", columnMessage},
        {"05/01/2001", "5 123 33 45 67 89", "7", columnMessage},
        {"05/01/2001", "1 2 3 4 5 6 8", "9", columnMessage},
        {"05/01/2001", "1 2 3 4 5 6", "x", "'x' is not a valid integer value"},
        {"05/01/2001", "1 2 3 4 5 6", "300", "Il numero Jolly deve essere compreso tra 1 e 90."},
        {"05/01/2001", "1 1 1 1 1 1", "7",
         "La colonna non può contenere due volte lo stesso numero."},
        {"05/01/2001", "1 2 3 4 5 6", "6",
         "Il numero Jolly deve essere diverso dai sei numeri della colonna."},
        // A three-digit year would not fit the ten characters of the file's date.
        {"05/01/999", "1 2 3 4 5 6", "7", "'05/01/999' is not a valid date"},
    };
    click(*window, "newButton");
    for (const auto& c : cases) {
        prompter_->clear();
        enter(*window, QString::fromUtf8(c.date), QString::fromUtf8(c.column),
              QString::fromUtf8(c.jolly));
        QCOMPARE(prompter_->questions().size(), 1);
        QCOMPARE(prompter_->lastText(), QString::fromUtf8(c.message));
        QCOMPARE(prompter_->questions().first().icon, QMessageBox::Critical);
        QVERIFY(!child<QGroupBox>(*window, "entryBox")->isHidden());
        QCOMPARE(child<QLineEdit>(*window, "dateField")->text(), QString::fromUtf8(c.date));
        QCOMPARE(archive_.size(), 5u);
        QCOMPARE(readBytes(archiveFile()), fiveRecords);
    }
}

void ArchiveWindowTest::deletingTwoOfFiveAndRefusingThree() {
    auto window = open();
    selectRows(*window, 1, 3);
    prompter_->answer(QMessageBox::Yes);
    click(*window, "deleteButton");
    QCOMPARE(prompter_->questions().size(), 2);
    const Question confirm = prompter_->questions().at(0);
    QCOMPARE(confirm.title, QStringLiteral("Conferma"));
    QCOMPARE(confirm.text,
             QStringLiteral("Sei sicuro di voler eliminare le colonne evidenziate ?"));
    QCOMPARE(confirm.defaultButton, QMessageBox::No);
    QCOMPARE(prompter_->questions().at(1).title, QStringLiteral("errore"));
    QCOMPARE(prompter_->lastText(),
             QStringLiteral("Impossibile eliminare tutte le colonne.\rDevono esistere almeno tre "
                            "colonne vincenti."));
    QCOMPARE(archive_.size(), 5u);
    QCOMPARE(readBytes(archiveFile()), fiveRecords);

    // No keeps everything.
    prompter_->clear();
    selectRows(*window, 1, 2);
    prompter_->answer(QMessageBox::No);
    click(*window, "deleteButton");
    QCOMPARE(archive_.size(), 5u);

    prompter_->answer(QMessageBox::Yes);
    click(*window, "deleteButton");
    QCOMPARE(archive_.size(), 3u);
    QCOMPARE(readBytes(archiveFile()),
             fiveRecords.substr(0, 29) + fiveRecords.substr(3 * 29, 2 * 29));
    QCOMPARE(child<QLabel>(*window, "drawCountLabel")->text(),
             QStringLiteral("Colonne vincenti: 3"));

    // Without a selection there is nothing to delete.
    child<QTableView>(*window, "drawsGrid")->clearSelection();
    const int beeps = beepCount();
    click(*window, "deleteButton");
    QCOMPARE(beepCount(), beeps + 1);
}

void ArchiveWindowTest::modifyPrefillsAndKeepsThePlace() {
    auto window = open();
    selectRows(*window, 0, 0);
    click(*window, "modifyButton");
    QCOMPARE(window->entryMode(), ArchiveWindow::modifyEntry);
    QCOMPARE(child<QLineEdit>(*window, "dateField")->text(), QStringLiteral("10/12/2000"));
    QCOMPARE(child<QLineEdit>(*window, "columnField")->text(), QStringLiteral("5 12 33 45 67 89"));
    QCOMPARE(child<QLineEdit>(*window, "jollyField")->text(), QStringLiteral("7"));
    const int beeps = beepCount();
    click(*window, "modifyButton");
    QCOMPARE(beepCount(), beeps + 1);

    // A date later than every other leaves the record first and the label as it was.
    type(*window, "dateField", QStringLiteral("01/01/2002"));
    click(*window, "entryOkButton");
    QVERIFY(child<QGroupBox>(*window, "entryBox")->isHidden());
    QCOMPARE(cell(*window, 0, 0), QStringLiteral("01/01/2002"));
    QCOMPARE(child<QLabel>(*window, "lastUpdateLabel")->text(),
             QStringLiteral("Ultimo aggiornamento: Mercoledì 03/01/2001"));
    QCOMPARE(readBytes(archiveFile()), "01/01/2002" + fiveRecords.substr(10));

    // Two-digit jolly and column without a leading blank.
    selectRows(*window, 3, 3);
    click(*window, "modifyButton");
    QCOMPARE(child<QLineEdit>(*window, "columnField")->text(), QStringLiteral("8 18 28 38 48 58"));
    QCOMPARE(child<QLineEdit>(*window, "jollyField")->text(), QStringLiteral("88"));
    click(*window, "closeButton");
    QVERIFY(child<QGroupBox>(*window, "entryBox")->isHidden());
    QVERIFY(!window->isVisible());
}

void ArchiveWindowTest::updateFileMergesAtStartAndIsRenamed() {
    // Two of the five good dates are present, one date is bad; the name is matched whatever
    // its case.
    writeBytes(home() / "AGGIORNA.DAT", record("05/01/2001", " 1  2  3  4  5  6", " 7") +
                                            record("13/12/2000", " 9 19 29 39 49 59", " 1") +
                                            record("01/12/2000", " 4 14 24 34 44 54", "64") +
                                            record("03/01/2001", " 9 19 29 39 49 59", " 1") +
                                            record("15/12/2000", " 6 16 26 36 46 56", "66") +
                                            record("31/02/2001", " 1  2  3  4  5  6", " 7"));
    prompter_->answer(QMessageBox::Yes);
    auto window = open();
    QCOMPARE(prompter_->questions().size(), 2);
    QCOMPARE(prompter_->lastText(),
             QString::fromUtf8("1 colonna del file di aggiornamento non è valida (data o numeri "
                               "errati) e non è stata aggiunta."));
    const Question question = prompter_->questions().first();
    QCOMPARE(question.title, QStringLiteral("File di aggiornamento"));
    QCOMPARE(question.text, QStringLiteral("E' stato trovato il file per l'aggiornamento "
                                           "automatico delle colonne vincenti.\rSi vuole "
                                           "aggiornare l'elenco ?"));
    QCOMPARE(archive_.size(), 8u);
    QCOMPARE(fs::file_size(archiveFile()), 8u * 29u);
    QCOMPARE(cell(*window, 0, 0), QStringLiteral("01/12/2000"));
    QCOMPARE(cell(*window, 3, 0), QStringLiteral("15/12/2000"));
    QCOMPARE(cell(*window, 7, 0), QStringLiteral("05/01/2001"));
    QCOMPARE(cell(*window, 2, 1), QStringLiteral(" 1  2  3  4  5  6"));
    QCOMPARE(child<QLabel>(*window, "drawCountLabel")->text(),
             QStringLiteral("Colonne vincenti: 8"));

    const QStringList left = QDir(dir_->path()).entryList(QDir::Files);
    QVERIFY(!left.contains(QStringLiteral("AGGIORNA.DAT")));
    const QStringList renamed = left.filter(QRegularExpression(QStringLiteral("^AGG")));
    QCOMPARE(renamed.size(), 1);
    QVERIFY2(
        QRegularExpression(QStringLiteral("^AGG[0-8]{5}\\.dat$")).match(renamed.first()).hasMatch(),
        qPrintable(renamed.first()));
}

void ArchiveWindowTest::updateFileRefusedStaysForNextTime() {
    writeBytes(home() / "aggiorna.dat", record("05/01/2001", " 1  2  3  4  5  6", " 7"));
    prompter_->answer(QMessageBox::No);
    {
        auto window = open();
        QCOMPARE(archive_.size(), 5u);
    }
    QVERIFY(fs::exists(home() / "aggiorna.dat"));
    QCOMPARE(readBytes(archiveFile()), fiveRecords);
    prompter_->answer(QMessageBox::Yes);
    auto window = open();
    QCOMPARE(prompter_->questions().size(), 2);
    QCOMPARE(archive_.size(), 6u);
    QVERIFY(!fs::exists(home() / "aggiorna.dat"));
}

void ArchiveWindowTest::updateFileReplacesSimulatedDraws() {
    QVERIFY(simulatedArchive(40, 1).save(archiveFile()).ok());
    writeBytes(home() / "aggiorna.dat", record("05/01/2001", " 1  2  3  4  5  6", " 7") +
                                            record("03/01/2001", " 9 19 29 39 49 59", " 1"));
    prompter_->answer(QMessageBox::Yes);
    auto window = open();
    QCOMPARE(archive_.size(), 2u);
    QCOMPARE(fs::file_size(archiveFile()), 2u * 29u);
    QCOMPARE(prompter_->lastText(), QStringLiteral("Le 40 estrazioni simulate sono state "
                                                   "sostituite con le estrazioni reali del file "
                                                   "di aggiornamento."));
    QCOMPARE(window->windowTitle(), QStringLiteral("Gestione colonne vincenti"));
}

void ArchiveWindowTest::emptyArchiveWorksFromTheFirstRecord() {
    fs::remove(archiveFile());
    auto window = open();
    QCOMPARE(child<QLabel>(*window, "drawCountLabel")->text(),
             QStringLiteral("Colonne vincenti: 0"));
    QVERIFY(child<QLabel>(*window, "lastUpdateLabel")->text().startsWith("Ultimo aggiornamento: "));
    const int beeps = beepCount();
    click(*window, "modifyButton");
    click(*window, "deleteButton");
    QCOMPARE(beepCount(), beeps + 2);
    QVERIFY(prompter_->asked().isEmpty());

    click(*window, "newButton");
    enter(*window, QStringLiteral("03/01/2001"), QStringLiteral("5 12 33 45 67 89"),
          QStringLiteral("7"));
    QCOMPARE(readBytes(archiveFile()), record("03/01/2001", " 5 12 33 45 67 89", " 7"));
    QCOMPARE(child<QLabel>(*window, "lastUpdateLabel")->text(),
             QStringLiteral("Ultimo aggiornamento: Mercoledì 03/01/2001"));
}

void ArchiveWindowTest::failedSaveKeepsTheFileAndTheList() {
    auto window = open();
    // No write permission: refused whoever runs the program.
    fs::permissions(archiveFile(), fs::perms::owner_read | fs::perms::group_read);
    click(*window, "newButton");
    enter(*window, QStringLiteral("04/01/2001"), QStringLiteral("1 2 3 4 5 6"),
          QStringLiteral("7"));
    QCOMPARE(prompter_->lastText(),
             QStringLiteral("Impossibile salvare l'archivio delle colonne vincenti.\rIl file "
                            "vincenti.dat non è stato modificato."));
    QCOMPARE(archive_.size(), 5u);
    QCOMPARE(child<QTableView>(*window, "drawsGrid")->model()->rowCount(), 5);
    QCOMPARE(readBytes(archiveFile()), fiveRecords);
    QCOMPARE(child<QLabel>(*window, "drawCountLabel")->text(),
             QStringLiteral("Colonne vincenti: 5"));
}

void ArchiveWindowTest::anotherProgramsDrawsAreKeptAndShown() {
    auto window = open();
    // Another program adds a draw after the window has read the archive.
    Archive other = *Archive::read(archiveFile());
    QVERIFY(
        other.insert(ArchiveRecord::fromFileFields("20/01/2001", " 2 12 22 32 42 52", "62")).ok());
    QVERIFY(other.save(archiveFile()).ok());
    click(*window, "newButton");
    enter(*window, QStringLiteral("04/01/2001"), QStringLiteral("1 2 3 4 5 6"),
          QStringLiteral("7"));
    QVERIFY(prompter_->lastText().startsWith(QStringLiteral("Un altro programma")));
    QCOMPARE(Archive::load(archiveFile()).size(), 7u);
    QCOMPARE(archive_.size(), 7u);
    QCOMPARE(child<QTableView>(*window, "drawsGrid")->model()->rowCount(), 7);
    QCOMPARE(child<QLabel>(*window, "drawCountLabel")->text(),
             QStringLiteral("Colonne vincenti: 7"));
}

void ArchiveWindowTest::unreadableArchiveIsNeverReplaced() {
    fs::remove(archiveFile());
    fs::create_directory(archiveFile());
    writeBytes(home() / "aggiorna.dat", record("05/01/2001", " 1  2  3  4  5  6", " 7"));
    auto window = open();
    QCOMPARE(prompter_->questions().size(), 1); // the read error; no update offered
    QCOMPARE(prompter_->questions().first().icon, QMessageBox::Critical);
    QCOMPARE(child<QLabel>(*window, "drawCountLabel")->text(),
             QStringLiteral("Colonne vincenti: 0"));
    click(*window, "newButton");
    enter(*window, QStringLiteral("04/01/2001"), QStringLiteral("1 2 3 4 5 6"),
          QStringLiteral("7"));
    QVERIFY(
        prompter_->lastText().startsWith(QStringLiteral("Il file vincenti.dat non è stato letto")));
    QCOMPARE(archive_.size(), 0u);
    QVERIFY(fs::is_directory(archiveFile()));
    QVERIFY(fs::exists(home() / "aggiorna.dat"));
}

void ArchiveWindowTest::csvImportCountsAndReplacesSimulatedDraws() {
    const fs::path csv = home() / "estrazioni.csv";
    writeBytes(csv, "data,n1,n2,n3,n4,n5,n6,jolly\n"
                    "2001-01-03,1,2,3,4,5,6,7\n"
                    "2001-01-06,1,2,3,4,5,6,7\n"
                    "2001-01-09,1,2,3,4,5,6\n"
                    "2001-13-01,1,2,3,4,5,6,7\n");
    const QString refused = QStringLiteral("\r\rRighe scartate:\rriga 4: non contiene data, sei "
                                           "numeri e jolly\rriga 5: data non valida");
    auto window = open();
    prompter_->answerFile(QString::fromStdString(csv.string()));
    click(*window, "importCsvButton");
    QCOMPARE(prompter_->lastText(),
             QStringLiteral("Estrazioni aggiunte: 1\rGià presenti: 1\rScartate: 2") + refused);
    QCOMPARE(archive_.size(), 6u);
    QCOMPARE(fs::file_size(archiveFile()), 6u * 29u);

    // A simulated archive is labelled as such and replaced on request.
    window.reset();
    QVERIFY(simulatedArchive(40, 1).save(archiveFile()).ok());
    window = open();
    QVERIFY(window->windowTitle().contains(QStringLiteral("simulate")));
    prompter_->clear();
    prompter_->answerFile(QString::fromStdString(csv.string()));
    prompter_->answer(QMessageBox::Yes);
    click(*window, "importCsvButton");
    QCOMPARE(archive_.size(), 2u);
    QCOMPARE(window->windowTitle(), QStringLiteral("Gestione colonne vincenti"));
    QCOMPARE(prompter_->lastText(),
             QStringLiteral("Estrazioni aggiunte: 2\rGià presenti: 0\rScartate: 2") + refused);
}

void ArchiveWindowTest::openedModallyFromTheFrameAndTheSystemWindow() {
    test::TestHome frameHome;
    MainFrame frame;
    frame.loadArchive();
    auto* window = qobject_cast<ArchiveWindow*>(frame.archiveWindow());
    QVERIFY(window);
    frame.show();
    frame.onNewTriggered();
    SystemWindow* system = frame.activeSystem();
    QVERIFY(system);

    // Each way in shows the window modally; Chiudi ends the modal loop.
    int shown = 0;
    auto closeWhenShown = [&] {
        QTimer::singleShot(0, window, [&] {
            QTRY_VERIFY(window->isVisible());
            QVERIFY(window->isModal());
            ++shown;
            click(*window, "closeButton");
        });
    };
    closeWhenShown();
    QVERIFY(test::trigger(&frame, QStringLiteral("archiveAction")));
    closeWhenShown();
    QVERIFY(test::trigger(system, QStringLiteral("archiveAction")));
    closeWhenShown();
    QToolButton* button = system->button(QStringLiteral("archiveButton"));
    QVERIFY(button && button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(shown, 3);
    QVERIFY(!window->isVisible());
    system->state().modified = false;
}

QTEST_MAIN(ArchiveWindowTest)

void ArchiveWindowTest::anArchiveStillBeingReadComesWhenReadOrAskedFor() {
    // Holding the folder's lock keeps the reading ahead waiting. A system window command that
    // reads the archive has the frame's archive window finish its loading first: with all 400
    // draws there, the statistics ask for a count instead of refusing.
    {
        test::TestHome frameHome;
        const fs::path folder = frameHome.path().toStdString();
        QVERIFY(simulatedArchive(400, 5).save(folder / archiveFileName).ok());
        MainFrame frame;
        std::optional<FolderLock> hold(std::in_place, folder);
        frame.context().archives().startReading(folder / archiveFileName);
        frame.loadArchive();
        frame.onNewTriggered();
        auto* grid = test::child<QTableView>(frame.archiveWindow(), "drawsGrid");
        QCOMPARE(grid->model()->rowCount(), 0);
        hold.reset();
        QTimer::singleShot(0, [] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            QApplication::activeModalWidget()->close();
        });
        QVERIFY(test::trigger(frame.activeSystem(), QStringLiteral("addMostProbableAction")));
        QCOMPARE(prompter_->questions().size(), 0);
        QCOMPARE(frame.context().archive().size(), std::size_t{400});
        QCOMPARE(grid->model()->rowCount(), 400);
        QCOMPARE(test::child<QLabel>(frame.archiveWindow(), "drawCountLabel")->text(),
                 QStringLiteral("Colonne vincenti: 400"));
        frame.activeSystem()->state().modified = false;
    }

    // Nobody asking, it comes when read.
    std::optional<FolderLock> hold(std::in_place, home());
    archives_.startReading(archiveFile());
    ArchiveWindow window(home(), archives_, random_);
    auto* grid = child<QTableView>(window, "drawsGrid");
    QCOMPARE(grid->model()->rowCount(), 0);
    hold.reset();
    QTRY_COMPARE(grid->model()->rowCount(), 5);
    QCOMPARE(archive_.size(), std::size_t{5});
}

#include "test_archive_window.moc"
