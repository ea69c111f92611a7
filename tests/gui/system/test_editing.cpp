// The list and initial-system commands driven through their real dialogs.
#include "core/column.h"
#include "core/column_price.h"
#include "core/money.h"
#include "core/print_settings.h"
#include "core/program_folder.h"
#include "core/random.h"
#include "gui/common/feedback.h"
#include "gui/system/column_edit_dialog.h"
#include "gui/system/column_price_dialog.h"
#include "gui/system/editing_commands.h"
#include "gui/system/fixed_numbers_dialog.h"
#include "gui/system/keyboard_entry_dialog.h"
#include "gui/system/random_count_dialog.h"
#include "tests/gui/support/gui_helpers.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <fstream>
#include <functional>

using namespace quintor;

using quintor::test::whenShown;

namespace {

using quintor::test::child;

void typeInto(QWidget* dialog, const char* edit, const QString& text) {
    auto* line = child<QLineEdit>(dialog, edit);
    line->clear();
    QTest::keyClicks(line, text);
}

void click(QWidget* dialog, const char* button) {
    QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
}

SystemState withMarked(int count) {
    SystemState state;
    for (int n = 1; n <= count; ++n)
        state.marked[static_cast<std::size_t>(n * 3)] = 1;
    return state;
}

void writeSystemFile(const QString& path, const std::vector<Column>& columns) {
    std::ofstream out(path.toStdString(), std::ios::binary);
    const std::string header(791, '\0');
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    for (const Column& c : columns)
        out.write(reinterpret_cast<const char*>(c.data()), 6);
}

} // namespace

class EditingTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void extractionTakesItsCountFromTheDialog();
    void extractionRefusesBadCountsAndSmallSystems();
    void aLongExtractionCanBeStopped();
    void importAddsTheMissingColumnsAfterTheQuestion();
    void keyboardEntryAddsTypedColumnsInOrder();
    void keyboardEntryRefusesBadColumnsAndAsksAboutDuplicates();
    void modifyRewritesTheTopSelectedRow();
    void fixedNumbersKeepTheValidCheckedRows();

private:
    std::unique_ptr<test::ScriptedPrompter> prompter_;
    std::unique_ptr<QTemporaryDir> home_;
    QWidget window_;
    RandomGenerator random_;
};

void EditingTest::init() {
    prompter_ = std::make_unique<test::ScriptedPrompter>();
    home_ = std::make_unique<QTemporaryDir>();
    QVERIFY(home_->isValid());
    random_.setSeed(20240607);
}

void EditingTest::cleanup() {
    prompter_.reset();
    home_.reset();
}

void EditingTest::extractionTakesItsCountFromTheDialog() {
    SystemState state = withMarked(7); // seven initial columns
    whenShown<RandomCountDialog>([](RandomCountDialog* d) {
        QCOMPARE(d->windowTitle(), QString("Inserire il numero di colonne da aggiungere"));
        QVERIFY(d->isModal());
        QCOMPARE(child<QLineEdit>(d, "countEdit")->text(), QString());
        typeInto(d, "countEdit", "7");
        click(d, "okButton");
    });
    QVERIFY(extractColumnsAtRandom(&window_, state, random_));
    QCOMPARE(prompter_->questions().size(), 1);
    QCOMPARE(prompter_->questions().front().title, QString("Errore !"));
    QCOMPARE(prompter_->lastText(),
             QString("Impossibile aggiungere il numero di colonne specificato!\rCausa: al sistema "
                     "rimangono meno colonne.\rDiminuire il numero e riprovare."));
    QVERIFY(state.finalColumns.empty());
    QVERIFY(!state.modified);

    whenShown<RandomCountDialog>([](RandomCountDialog* d) {
        typeInto(d, "countEdit", " 6");
        QTest::keyClick(child<QLineEdit>(d, "countEdit"), Qt::Key_Return); // OK is the default
    });
    QVERIFY(extractColumnsAtRandom(&window_, state, random_));
    QCOMPARE(state.finalColumns.size(), std::size_t(6));
    QVERIFY(state.modified);
    for (const Column& c : state.finalColumns) {
        QVERIFY(std::is_sorted(c.begin(), c.end()));
        for (std::uint8_t n : c)
            QCOMPARE(state.marked[n], std::uint8_t(1));
    }
    QCOMPARE(prompter_->questions().size(), 1);

    // Zero columns: nothing added, nothing said. The dialog starts empty again.
    whenShown<RandomCountDialog>([](RandomCountDialog* d) {
        QCOMPARE(child<QLineEdit>(d, "countEdit")->text(), QString());
        typeInto(d, "countEdit", "0");
        click(d, "okButton");
    });
    QVERIFY(extractColumnsAtRandom(&window_, state, random_));
    QCOMPARE(state.finalColumns.size(), std::size_t(6));
    QCOMPARE(prompter_->questions().size(), 1);
}

void EditingTest::extractionRefusesBadCountsAndSmallSystems() {
    SystemState state = withMarked(10);
    for (const char* bad : {"", "a", "3 ", "1.5", "1,5", "+"}) {
        prompter_->clear();
        whenShown<RandomCountDialog>([bad](RandomCountDialog* d) {
            typeInto(d, "countEdit", bad);
            click(d, "okButton");
        });
        QVERIFY(extractColumnsAtRandom(&window_, state, random_));
        QCOMPARE(prompter_->questions().size(), 1);
        QCOMPARE(
            prompter_->lastText(),
            QString("Il numero di colonne specificato non è valido !\rCorreggere e riprovare."));
        QVERIFY(state.finalColumns.empty());
    }
    prompter_->clear();
    whenShown<RandomCountDialog>([](RandomCountDialog* d) {
        typeInto(d, "countEdit", "5");
        click(d, "cancelButton");
    });
    QVERIFY(extractColumnsAtRandom(&window_, state, random_));
    QVERIFY(state.finalColumns.empty());
    QVERIFY(prompter_->questions().isEmpty());

    SystemState small = withMarked(5);
    QVERIFY(!extractColumnsAtRandom(&window_, small, random_)); // no dialog at all
    QCOMPARE(prompter_->questions().size(), 1);
    QCOMPARE(prompter_->lastText(),
             QString("Il sistema constiene meno di 6 numeri !\rImpossibile estrarre colonne !"));
    QCOMPARE(prompter_->questions().front().icon, QMessageBox::Critical);
}

// Twenty million columns take seconds: the progress window's Interrompi stops the extraction
// and takes back what it had drawn.
void EditingTest::aLongExtractionCanBeStopped() {
    SystemState state;
    state.marked.fill(1);
    state.marked[0] = 0;
    state.finalColumns = {Column{1, 2, 3, 4, 5, 6}};
    const std::vector<Column> before = state.finalColumns;
    QTimer stopper;
    connect(&stopper, &QTimer::timeout, [this] {
        auto* progress = window_.findChild<QProgressDialog*>(QStringLiteral("extractionProgress"));
        if (progress && progress->isVisible())
            QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
    });
    stopper.start(20);
    whenShown<RandomCountDialog>([](RandomCountDialog* d) {
        typeInto(d, "countEdit", "20000000");
        click(d, "okButton");
    });
    QVERIFY(extractColumnsAtRandom(&window_, state, random_));
    QCOMPARE(state.finalColumns, before);
    QVERIFY(!state.modified);
}

void EditingTest::importAddsTheMissingColumnsAfterTheQuestion() {
    const QString file = home_->filePath("altro.qtr");
    writeSystemFile(file, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}, {13, 14, 15, 16, 17, 18}});
    SystemState state;
    state.finalColumns = {{7, 8, 9, 10, 11, 12}};

    prompter_->answerFile(file);
    prompter_->answer(QMessageBox::No);
    QVERIFY(!importColumnsFromSystem(&window_, state));
    QCOMPARE(state.finalColumns.size(), std::size_t(1));
    QVERIFY(!state.modified);

    prompter_->clear();
    prompter_->answerFile(file);
    prompter_->answer(QMessageBox::Yes);
    QVERIFY(importColumnsFromSystem(&window_, state));
    QCOMPARE(prompter_->fileDialogs().front().title, QString("Importa colonne"));
    const Question asked = prompter_->questions().front();
    QCOMPARE(asked.title, QString("Attenzione"));
    QCOMPARE(
        asked.text,
        QString("Il sistema specificato contiene 3 colonne.\rSei sicuro di volerle aggiungere ?"));
    const std::vector<Column> expected = {
        {7, 8, 9, 10, 11, 12}, {1, 2, 3, 4, 5, 6}, {13, 14, 15, 16, 17, 18}};
    QVERIFY(state.finalColumns == expected);
    QVERIFY(state.modified);

    // Cancelled, missing or shorter than a header: nothing added.
    prompter_->clear();
    prompter_->cancelFile();
    QVERIFY(importColumnsFromSystem(&window_, state));
    prompter_->answerFile(home_->filePath("manca.qtr"));
    QVERIFY(importColumnsFromSystem(&window_, state));
    QVERIFY(prompter_->questions().isEmpty());
    const QString tiny = home_->filePath("corto.qtr");
    QFile(tiny).open(QIODevice::WriteOnly);
    prompter_->answerFile(tiny);
    prompter_->answer(QMessageBox::Yes);
    QVERIFY(importColumnsFromSystem(&window_, state));
    QVERIFY(prompter_->lastText().startsWith("Il sistema specificato contiene 0 colonne."));
    QCOMPARE(state.finalColumns.size(), std::size_t(3));
}

void EditingTest::keyboardEntryAddsTypedColumnsInOrder() {
    SystemState state;
    state.finalColumns = {{1, 2, 3, 4, 5, 6}};
    const int beepsBefore = beepCount();
    whenShown<KeyboardEntryDialog>([&state](KeyboardEntryDialog* d) {
        QCOMPARE(d->windowTitle(), QString("Colonne da tastiera"));
        auto* cc = child<QLineEdit>(d, "columnEdit");
        auto* ncc = child<QLabel>(d, "columnCountLabel");
        QCOMPARE(ncc->text(), QString("1"));
        QCOMPARE(d->focusWidget(), cc);
        for (const char* text : {"5 12 33 41 60 88", "88 60 41 33 12 5", "1234 5 6 7 8"}) {
            QTest::keyClicks(cc, text);
            QTest::keyClick(cc, Qt::Key_Return);
            QVERIFY(d->isVisible()); // Enter adds a column; it does not close the dialog
            QCOMPARE(cc->text(), QString());
        }
        QCOMPARE(ncc->text(), QString("4"));
        QTest::keyClicks(cc, "10 20 30 40 50 60 70");
        QTest::keyClick(cc, Qt::Key_Enter);
        QCOMPARE(ncc->text(), QString::number(state.finalColumns.size()));
        click(d, "okButton");
    });
    QVERIFY(enterColumnsFromKeyboard(&window_, state));
    QCOMPARE(state.finalColumns.size(), std::size_t(5));
    QCOMPARE(formatColumn(state.finalColumns[1]), std::string(" 5 12 33 41 60 88"));
    QCOMPARE(formatColumn(state.finalColumns[2]), std::string("88 60 41 33 12  5"));
    QCOMPARE(formatColumn(state.finalColumns[3]), std::string("12 34  5  6  7  8"));
    QCOMPARE(formatColumn(state.finalColumns[4]), std::string("10 20 30 40 50 60"));
    QCOMPARE(beepCount() - beepsBefore, 1); // only the seventh number beeped
    QVERIFY(prompter_->questions().isEmpty());
    QVERIFY(state.modified);
}

void EditingTest::keyboardEntryRefusesBadColumnsAndAsksAboutDuplicates() {
    SystemState state;
    state.finalColumns = {{5, 12, 33, 41, 60, 88}};
    whenShown<KeyboardEntryDialog>([this](KeyboardEntryDialog* d) {
        auto* cc = child<QLineEdit>(d, "columnEdit");
        const char* bad[] = {"1 2 3 4 5",   "1 2 3 4 5 0", "1 2 3 4 5 91",
                             "1 2 3 4 5 5", "a 2 3 4 5 6", "",
                             "1,2 3 4 5 6"};
        for (const char* text : bad) {
            prompter_->clear();
            cc->setText(text);
            QTest::keyClick(cc, Qt::Key_Return);
            QCOMPARE(
                prompter_->lastText(),
                QString("La colonna inserita contiene numeri non validi !\rInserire i SEI numeri "
                        "separati da uno spazio."));
            QCOMPARE(prompter_->questions().front().title, QString("Errore !"));
            QCOMPARE(cc->text(), QString(text)); // left for correcting
        }
        prompter_->clear();
        prompter_->answer(QMessageBox::No);
        prompter_->answer(QMessageBox::Yes);
        cc->setText("5 12 33 41 60 88");
        QTest::keyClick(cc, Qt::Key_Return); // answered No
        QCOMPARE(cc->text(), QString("5 12 33 41 60 88"));
        QTest::keyClick(cc, Qt::Key_Return); // answered Yes
        QCOMPARE(cc->text(), QString());
        click(d, "okButton");
    });
    enterColumnsFromKeyboard(&window_, state);
    const QList<Question> asked = prompter_->questions();
    QCOMPARE(asked.size(), 2);
    QCOMPARE(
        asked[0].text,
        QString("La colonna specificata è gia presente nella lista.\rAggiungerla ugualmente ?"));
    QCOMPARE(asked[0].title, QString("Attenzione"));
    QCOMPARE(asked[0].defaultButton, QMessageBox::No);
    QCOMPARE(state.finalColumns.size(), std::size_t(2));
}

void EditingTest::modifyRewritesTheTopSelectedRow() {
    SystemState state;
    state.finalColumns = {{1, 2, 3, 4, 5, 6}, {10, 20, 30, 40, 50, 60}};
    whenShown<ColumnEditDialog>([](ColumnEditDialog* d) {
        QCOMPARE(d->windowTitle(), QString("Modifica colonna"));
        QCOMPARE(child<QLabel>(d, "rowLabel")->text(), QString("Colonna nº: 2"));
        QCOMPARE(child<QLineEdit>(d, "columnEdit")->text(), QString("10 20 30 40 50 60"));
        typeInto(d, "columnEdit", "3 2 1");
        click(d, "okButton");
    });
    QVERIFY(editColumnAt(&window_, state, 2));
    QCOMPARE(state.finalColumns[1], (Column{3, 2, 1, 40, 50, 60}));
    QVERIFY(state.modified);

    state.modified = false;
    whenShown<ColumnEditDialog>([](ColumnEditDialog* d) {
        typeInto(d, "columnEdit", "1 2 x3");
        click(d, "okButton");
    });
    QVERIFY(!editColumnAt(&window_, state, 1));
    QCOMPARE(prompter_->lastText(), QString("'x3' is not a valid integer value"));
    QCOMPARE(state.finalColumns[0], (Column{1, 2, 3, 4, 5, 6}));
    QVERIFY(!state.modified);

    whenShown<ColumnEditDialog>([](ColumnEditDialog* d) {
        typeInto(d, "columnEdit", "9 9 9 9 9 9");
        click(d, "cancelButton");
    });
    QVERIFY(!editColumnAt(&window_, state, 1));
    QCOMPARE(state.finalColumns[0], (Column{1, 2, 3, 4, 5, 6}));

    const int beeps = beepCount();
    QVERIFY(!editColumnAt(&window_, state, 0)); // the header row
    SystemState empty;
    QVERIFY(!editColumnAt(&window_, empty, 1));
    QCOMPARE(beepCount() - beeps, 2);
}

void EditingTest::fixedNumbersKeepTheValidCheckedRows() {
    SystemState state;
    whenShown<FixedNumbersDialog>([](FixedNumbersDialog* d) {
        QCOMPARE(d->windowTitle(), QString("Specifica numeri sempre presenti"));
        for (const char* edit :
             {"fixedEdit1", "fixedEdit2", "fixedEdit3", "fixedEdit4", "fixedEdit5", "fixedEdit6"})
            QVERIFY(!child<QLineEdit>(d, edit)->isEnabled());
        QTest::mouseClick(child<QCheckBox>(d, "fixedCheck1"), Qt::LeftButton);
        QVERIFY(child<QLineEdit>(d, "fixedEdit1")->isEnabled());
        QTest::keyClicks(child<QLineEdit>(d, "fixedEdit1"), "5");
        QTest::mouseClick(child<QCheckBox>(d, "fixedCheck3"), Qt::LeftButton);
        QTest::keyClicks(child<QLineEdit>(d, "fixedEdit3"), "12");
        for (auto [row, text] : {std::pair{"4", "0"}, {"5", "91"}, {"6", "a"}}) {
            QTest::mouseClick(child<QCheckBox>(d, qPrintable(QString("fixedCheck") + row)),
                              Qt::LeftButton);
            QTest::keyClicks(child<QLineEdit>(d, qPrintable(QString("fixedEdit") + row)), text);
        }
        click(d, "okButton");
    });
    editFixedNumbers(&window_, state);
    QCOMPARE(state.fixedCount, 2);
    QCOMPARE(state.fixedNumbers[0], std::uint8_t(5));
    QCOMPARE(state.fixedNumbers[1], std::uint8_t(12));
    QVERIFY(state.modified);
    QVERIFY(prompter_->questions().isEmpty());
    state.modified = false;

    // Shown again in rows 1 and 2; unchecking row 1 and cancelling changes nothing.
    whenShown<FixedNumbersDialog>([](FixedNumbersDialog* d) {
        QVERIFY(child<QCheckBox>(d, "fixedCheck1")->isChecked());
        QCOMPARE(child<QLineEdit>(d, "fixedEdit2")->text(), QString("12"));
        QVERIFY(child<QLineEdit>(d, "fixedEdit2")->isEnabled());
        QVERIFY(!child<QCheckBox>(d, "fixedCheck3")->isChecked());
        QCOMPARE(child<QLineEdit>(d, "fixedEdit3")->text(), QString());
        QTest::mouseClick(child<QCheckBox>(d, "fixedCheck1"), Qt::LeftButton);
        QVERIFY(!child<QLineEdit>(d, "fixedEdit1")->isEnabled());
        click(d, "cancelButton");
    });
    editFixedNumbers(&window_, state);
    QCOMPARE(state.fixedCount, 2);
    QVERIFY(!state.modified);
}

QTEST_MAIN(EditingTest)
#include "test_editing.moc"
