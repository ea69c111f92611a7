// The three print windows driven through their controls, printing into PDF files.
#include "app/main_frame.h"
#include "core/print_settings.h"
#include "core/printer_choice.h"
#include "core/program_folder.h"
#include "core/system_file.h"
#include "gui/common/column_list_window.h"
#include "gui/print/horizontal_slip_window.h"
#include "gui/print/paper_listing_window.h"
#include "gui/print/printer.h"
#include "gui/print/vertical_slip_window.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/gui_helpers.h"
#include "tests/gui/support/pdf_marks.h"
#include "tests/gui/support/scripted_prompter.h"
#include "tests/support/cli_runner.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

using namespace quintor;

namespace {

using quintor::test::child;

void click(QWidget* window, const char* name) {
    QTest::mouseClick(child<QPushButton>(window, name), Qt::LeftButton);
}

void type(QWidget* window, const char* name, const QString& text) {
    auto* edit = child<QLineEdit>(window, name);
    edit->clear();
    QTest::keyClicks(edit, text);
}

QString text(QWidget* window, const char* name) {
    return child<QLineEdit>(window, name)->text();
}

// Pages of a PDF file written by the toolkit (0 when there is no file).
int pdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QString content = QString::fromLatin1(file.readAll());
    return int(content.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
}

std::vector<Column> columns(int count) {
    std::vector<Column> list;
    for (int i = 0; i < count; ++i)
        list.push_back(Column{static_cast<std::uint8_t>(1 + i % 80), 81, 82, 83, 84, 85});
    return list;
}

const QString marginsMessage =
    QStringLiteral("Impossibile decifrare alcuni valori dei margini !\rCorreggere e riprovare.");
const QString badNumber = QStringLiteral("Impossibile decifrare il numero della prossima schedina "
                                         "da stampare!\rCorreggere e riprovare.");
const QString outOfRange =
    QStringLiteral("Il nº della schedina da stampare non rientra nell'intervallo consentito "
                   "!\rCorreggere e riprovare.");

} // namespace

class PrintWindowsTest : public QObject, protected test::SystemWindowFixture {
    Q_OBJECT
private slots:
    void init() {
        openSystemWindow();
        pdf_ = home_->file(QStringLiteral("stampa.pdf"));
        programPrinter().setOutputFileName(pdf_);
        // The margins show as millimetres of this sheet.
        programPrinter().setPageSize(QPageSize(QPageSize::A4));
        setPrinterQueueLookup({});
    }
    void cleanup() {
        setPrinterQueueLookup({});
        closeSystemWindow();
    }

    void theStampaMenuOpensTheWindowsOnTheSystem();
    void badInputPrintsNothing();
    void oneSlipAtATimeAdvancesTheNextSlip();
    void aStoppedRunResumesWhereItStopped();
    void savePdfReplacesAFileOnlyWithAWholeDocument();
    void testSlipsAndTheSidewaysWindow();
    void marginsAreRestoredAndRegistered();
    void withoutAPrinterThePdfIsOffered();
    void incompleteColumnsAreNamed();
    void previewShowsTheSlip();
    void everyRoutePutsTheMarksInOnePlace();
    void plainPaperListing();
    void printingFromTheListingPreviewPrintsEveryPage();
    void thePrinterSetUpSpeaksItalianAndIsRemembered();

private:
    QString pdf_;
};

void PrintWindowsTest::theStampaMenuOpensTheWindowsOnTheSystem() {
    window_->state().finalColumns = columns(11);
    const struct {
        const char* item;
        QString caption;
        const char* firstField;
    } cases[] = {
        {"printVerticalAction", QStringLiteral("Stampa verticale di 11 colonne in 3 schedine"),
         "topMarginEdit"},
        {"printHorizontalAction", QStringLiteral("Stampa orizzontale di 11 colonne in 3 schedine"),
         "topMarginEdit"},
        {"printPaperAction", QStringLiteral("Colonne su carta"), "firstColumnEdit"},
    };
    for (const auto& c : cases) {
        QString caption;
        QString firstField;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            caption = dialog->windowTitle();
            firstField = child<QLineEdit>(dialog, c.firstField)->text();
            dialog->reject();
        });
        QVERIFY(test::trigger(window_, QString::fromLatin1(c.item)));
        QCOMPARE(caption, c.caption);
        QVERIFY(!firstField.isEmpty());
    }
    QVERIFY(window_->command(QStringLiteral("printerSetupAction"))->isEnabled());
}

void PrintWindowsTest::badInputPrintsNothing() {
    window_->state().finalColumns = columns(11);
    VerticalSlipWindow window(window_->state(), window_->context().columnList(), window_);
    window.show();
    QCOMPARE(text(&window, "topMarginEdit"), QStringLiteral("26.20")); // 0.0882 x 297 mm
    QCOMPARE(text(&window, "numberSizeEdit"), QStringLiteral("4.75")); // 0.016 x 297 mm
    QVERIFY(!child<QCheckBox>(&window, "slipNumberBox")->isChecked());
    // Tab goes from the margin buttons to the check box under them.
    child<QPushButton>(&window, "testSlipButton")->setFocus();
    QTest::keyClick(&window, Qt::Key_Tab);
    QCOMPARE(window.focusWidget(), child<QCheckBox>(&window, "slipNumberBox"));

    for (const QString& bad :
         {QStringLiteral("0,032"), QStringLiteral("0.03 "), QStringLiteral("-"), QString()}) {
        type(&window, "verticalSpacingEdit", bad);
        click(&window, "printSlipButton");
        QCOMPARE(prompter_->lastText(), marginsMessage);
        QCOMPARE(prompter_->questions().last().title, QStringLiteral("Errore"));
        QCOMPARE(window.focusWidget(), child<QLineEdit>(&window, "verticalSpacingEdit"));
    }
    type(&window, "verticalSpacingEdit", QStringLiteral("2.97")); // 0.01 x 297 mm

    const struct {
        const char* edit;
        const char* button;
        QString typed;
        QString message;
    } cases[] = {
        {"slipNumberEdit", "printSlipButton", QStringLiteral("abc"), badNumber},
        {"slipNumberEdit", "printSlipButton", QStringLiteral("2 "), badNumber},
        {"slipNumberEdit", "printSlipButton", QString(), badNumber},
        {"slipNumberEdit", "viewSlipButton", QStringLiteral("0"), outOfRange},
        {"slipNumberEdit", "printSlipButton", QStringLiteral("4"), outOfRange},
        {"firstSlipEdit", "printAllButton", QStringLiteral("x"), badNumber},
        {"firstSlipEdit", "printAllButton", QStringLiteral("-1"), outOfRange},
    };
    for (const auto& c : cases) {
        type(&window, c.edit, c.typed);
        click(&window, c.button);
        QCOMPARE(prompter_->lastText(), c.message);
        QCOMPARE(window.focusWidget(), child<QLineEdit>(&window, c.edit));
    }
    QVERIFY(!QFile::exists(pdf_));
    QCOMPARE(window_->state().layout.vertical[3], Real48::fromValue(0.01L));

    // No final columns: every slip is out of range, the test slip still prints.
    window_->state().finalColumns.clear();
    VerticalSlipWindow empty(window_->state(), window_->context().columnList(), window_);
    empty.show();
    QCOMPARE(empty.windowTitle(), QStringLiteral("Stampa verticale di 0 colonne in 0 schedine"));
    click(&empty, "printAllButton");
    QCOMPARE(prompter_->lastText(), outOfRange);
    QVERIFY(!QFile::exists(pdf_));
    click(&empty, "testSlipButton");
    QCOMPARE(pdfPages(pdf_), 1);
}

void PrintWindowsTest::oneSlipAtATimeAdvancesTheNextSlip() {
    window_->state().finalColumns = columns(11);
    VerticalSlipWindow window(window_->state(), window_->context().columnList(), window_);
    window.show();
    type(&window, "slipNumberEdit", QStringLiteral(" 2"));
    click(&window, "printSlipButton");
    QCOMPARE(pdfPages(pdf_), 1);
    QCOMPARE(text(&window, "slipNumberEdit"), QStringLiteral("3"));
    QCOMPARE(text(&window, "firstSlipEdit"), QStringLiteral("3"));
    click(&window, "printSlipButton");
    QCOMPARE(text(&window, "slipNumberEdit"), QStringLiteral("1"));
    QCOMPARE(text(&window, "firstSlipEdit"), QStringLiteral("1"));

    // Viewing shows the slip's columns and keeps the number.
    type(&window, "slipNumberEdit", QStringLiteral("2"));
    QStringList shown;
    QString caption;
    QTimer::singleShot(0, [&] {
        ColumnListWindow& view = window_->context().columnList();
        shown = view.lines();
        caption = view.windowTitle();
        view.accept();
    });
    click(&window, "viewSlipButton");
    QCOMPARE(caption, QStringLiteral("Schedina nº: 2"));
    QCOMPARE(shown, (QStringList{
                        QStringLiteral(" 6 81 82 83 84 85"), QStringLiteral(" 7 81 82 83 84 85"),
                        QStringLiteral(" 8 81 82 83 84 85"), QStringLiteral(" 9 81 82 83 84 85")}));
    QCOMPARE(test::child<QListWidget>(&window_->context().columnList(), "columnList")
                 ->font()
                 .pointSize(),
             12);
    QCOMPARE(text(&window, "slipNumberEdit"), QStringLiteral("2"));
    QCOMPARE(prompter_->questions().size(), 0);
}

void PrintWindowsTest::aStoppedRunResumesWhereItStopped() {
    window_->state().finalColumns = columns(25); // 5 slips
    VerticalSlipWindow window(window_->state(), window_->context().columnList(), window_);
    window.show();
    auto* progress = child<QProgressBar>(&window, "progressBar");
    auto* stop = child<QPushButton>(&window, "stopButton");
    QVERIFY(stop->isHidden());
    bool stopShown = false;
    bool labelsChangeable = false;
    // While slip 3 prints, the stop button is pressed: No goes on, and at slip 3 Yes stops.
    connect(progress, &QProgressBar::valueChanged, this, [&](int value) {
        stopShown = stopShown || stop->isVisible();
        labelsChangeable =
            labelsChangeable ||
            (stop->isVisible() && child<QCheckBox>(&window, "slipNumberBox")->isEnabled());
        if (value == 1 || value == 3)
            QTest::mouseClick(stop, Qt::LeftButton);
    });
    prompter_->answer(QMessageBox::No);
    prompter_->answer(QMessageBox::Yes);
    click(&window, "printAllButton");
    QVERIFY(stopShown);
    QVERIFY(!labelsChangeable);
    QVERIFY(stop->isHidden());
    QCOMPARE(prompter_->questions().size(), 2);
    QCOMPARE(prompter_->questions()[0].text,
             QStringLiteral("Sei sicuro di voler interrompere la stampa ?"));
    QCOMPARE(prompter_->questions()[0].defaultButton, QMessageBox::No);
    QCOMPARE(text(&window, "slipNumberEdit"), QStringLiteral("4"));
    QCOMPARE(text(&window, "firstSlipEdit"), QStringLiteral("4"));
    QCOMPARE(pdfPages(pdf_), 3); // one file, a page per slip

    disconnect(progress, nullptr, this, nullptr);
    click(&window, "printAllButton");
    QCOMPARE(pdfPages(pdf_), 2);
    QCOMPARE(text(&window, "firstSlipEdit"), QStringLiteral("1"));

    // Closing the window during a run asks to stop it; once stopped, the window closes.
    connect(progress, &QProgressBar::valueChanged, this, [&](int value) {
        if (value == 2)
            window.close();
    });
    prompter_->answer(QMessageBox::Yes);
    click(&window, "printAllButton");
    QCOMPARE(pdfPages(pdf_), 2);
    QTRY_VERIFY(window.isHidden());
    disconnect(progress, nullptr, this, nullptr);
    window.show();

    // "Salva PDF" writes the same run into the file the user names.
    const QString saved = home_->file(QStringLiteral("tutte.pdf"));
    prompter_->answerFile(saved);
    click(&window, "savePdfButton");
    QCOMPARE(pdfPages(saved), 5);
}

void PrintWindowsTest::savePdfReplacesAFileOnlyWithAWholeDocument() {
    window_->state().finalColumns = columns(25); // 5 slips
    VerticalSlipWindow window(window_->state(), window_->context().columnList(), window_);
    window.show();
    const QString saved = home_->file(QStringLiteral("ieri.pdf"));
    const QByteArray old("%PDF-1.4 la stampa di ieri\n%%EOF\n");
    auto savedBytes = [&] {
        QFile file(saved);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    {
        QFile file(saved);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
    }
    const QString replaceQuestion =
        QStringLiteral("Il file %1 esiste già.\rSostituirlo ?").arg(saved);

    // An existing file is replaced only when the user says so.
    prompter_->answerFile(saved);
    prompter_->answer(QMessageBox::No);
    click(&window, "savePdfButton");
    QCOMPARE(prompter_->lastText(), replaceQuestion);
    QCOMPARE(savedBytes(), old);

    // A run stopped half-way leaves the old file whole, with nothing beside it.
    auto* progress = child<QProgressBar>(&window, "progressBar");
    connect(progress, &QProgressBar::valueChanged, this, [&](int value) {
        if (value == 2)
            QTest::mouseClick(child<QPushButton>(&window, "stopButton"), Qt::LeftButton);
    });
    prompter_->answerFile(saved);
    prompter_->answer(QMessageBox::Yes); // replace it
    prompter_->answer(QMessageBox::Yes); // stop
    click(&window, "savePdfButton");
    disconnect(progress, nullptr, this, nullptr);
    QCOMPARE(savedBytes(), old);
    QCOMPARE(QDir(QFileInfo(saved).path()).entryList({QStringLiteral("ieri.pdf*")}),
             QStringList{QStringLiteral("ieri.pdf")});

    // A file that cannot take the document is a failure the user hears of.
    prompter_->answerFile(QStringLiteral("/dev/full"));
    prompter_->answer(QMessageBox::Yes);
    click(&window, "savePdfButton");
    QCOMPARE(prompter_->lastText(),
             QStringLiteral("Impossibile avviare la stampa !\rControllare la stampante o il file "
                            "di destinazione."));

    // A whole run replaces it.
    type(&window, "firstSlipEdit", QStringLiteral("1"));
    prompter_->answerFile(saved);
    prompter_->answer(QMessageBox::Yes);
    click(&window, "savePdfButton");
    QCOMPARE(pdfPages(saved), 5);
}

void PrintWindowsTest::testSlipsAndTheSidewaysWindow() {
    window_->state().finalColumns = columns(6);
    HorizontalSlipWindow window(window_->state(), window_->context().columnList(), window_);
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Stampa orizzontale di 6 colonne in 2 schedine"));
    QCOMPARE(text(&window, "topMarginEdit"), QStringLiteral("4.87")); // 0.01639 x 297 mm
    // A radius of 0.0037 x 210 mm, shown as the diameter.
    QCOMPARE(text(&window, "markDiameterEdit"), QStringLiteral("1.55"));
    QVERIFY(!window.findChild<QLineEdit*>(QStringLiteral("numberSizeEdit")));
    QVERIFY(!window.findChild<QCheckBox*>(QStringLiteral("slipNumberBox")));
    QVERIFY(!child<QWidget>(&window, "helpButton")->isEnabled());
    click(&window, "testSlipButton");
    QCOMPARE(pdfPages(pdf_), 1);
    type(&window, "leftMarginEdit", QStringLiteral("0,128"));
    QFile::remove(pdf_);
    click(&window, "testSlipButton");
    QCOMPARE(prompter_->lastText(), marginsMessage);
    QVERIFY(!QFile::exists(pdf_));
}

void PrintWindowsTest::marginsAreRestoredAndRegistered() {
    window_->state().layout.horizontal[0] = Real48::fromValue(0.5L);
    HorizontalSlipWindow window(window_->state(), window_->context().columnList(), window_);
    window.show();
    QCOMPARE(text(&window, "leftMarginEdit"), QStringLiteral("105.00"));
    prompter_->answer(QMessageBox::No);
    click(&window, "restoreDefaultsButton");
    QCOMPARE(text(&window, "leftMarginEdit"), QStringLiteral("105.00"));
    prompter_->answer(QMessageBox::Yes);
    click(&window, "restoreDefaultsButton");
    QCOMPARE(prompter_->questions().last().defaultButton, QMessageBox::No);
    QCOMPARE(text(&window, "leftMarginEdit"), QStringLiteral("26.88"));
    QCOMPARE(window_->state().layout.horizontal, defaultHorizontalLayout);

    type(&window, "horizontalSpacingEdit", QStringLiteral("4.2")); // 0.02 x 210 mm
    click(&window, "registerSettingsButton");
    QCOMPARE(loadPrintSettings(programFolder()).layout.horizontal[2], Real48::fromValue(0.02L));
    type(&window, "horizontalSpacingEdit", QStringLiteral("1.2.3"));
    click(&window, "registerSettingsButton");
    QCOMPARE(prompter_->lastText(), marginsMessage);
    QCOMPARE(window.focusWidget(), child<QLineEdit>(&window, "horizontalSpacingEdit"));
}

void PrintWindowsTest::withoutAPrinterThePdfIsOffered() {
    programPrinter().setOutputFileName(QString());
    programPrinter().setOutputFormat(QPrinter::NativeFormat);
    setPrinterQueueLookup([] { return QStringList(); });
    VerticalSlipWindow window(window_->state(), window_->context().columnList(), window_);
    window.show();
    prompter_->answer(QMessageBox::No);
    click(&window, "testSlipButton");
    QCOMPARE(
        prompter_->lastText(),
        QStringLiteral("Non è installata nessuna stampante.\rSalvare la stampa in un file PDF ?"));
    const QString chosen = home_->file(QStringLiteral("prova.pdf"));
    prompter_->answer(QMessageBox::Yes);
    prompter_->answerFile(chosen);
    click(&window, "testSlipButton");
    QCOMPARE(pdfPages(chosen), 1);
    QCOMPARE(prompter_->fileDialogs().last().defaultExtension, QStringLiteral("pdf"));

    // A PDF that cannot be written is a failure the user hears of.
    prompter_->answer(QMessageBox::Yes);
    prompter_->answerFile(home_->file(QStringLiteral("manca/prova.pdf")));
    click(&window, "testSlipButton");
    QCOMPARE(prompter_->lastText(),
             QStringLiteral("Impossibile avviare la stampa !\rControllare la stampante o il file "
                            "di destinazione."));
}

void PrintWindowsTest::incompleteColumnsAreNamed() {
    window_->state().finalColumns = columns(3);
    window_->state().finalColumns[1] = {5, 0, 12, 99, 40, 41};
    VerticalSlipWindow window(window_->state(), window_->context().columnList(), window_);
    window.show();
    click(&window, "printSlipButton");
    QCOMPARE(pdfPages(pdf_), 1);
    QCOMPARE(prompter_->lastText(),
             QStringLiteral("La colonna nº 2 non contiene sei numeri da 1 a 90.\rSono stati "
                            "stampati solo i numeri validi."));
}

void PrintWindowsTest::previewShowsTheSlip() {
    window_->state().finalColumns = columns(7);
    VerticalSlipWindow window(window_->state(), window_->context().columnList(), window_);
    window.show();
    type(&window, "slipNumberEdit", QStringLiteral("2"));
    QString title;
    QTimer::singleShot(0, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        QVERIFY(preview);
        title = preview->windowTitle();
        preview->reject();
    });
    click(&window, "previewButton");
    QCOMPARE(title, QStringLiteral("Anteprima della schedina nº 2"));
    QVERIFY(!QFile::exists(pdf_));
}

void PrintWindowsTest::everyRoutePutsTheMarksInOnePlace() {
    // One slip on A4 from the window, from its preview and from the command line: the marks
    // must land on the same boxes of the sheet whatever margins the printer declares.
    window_->state().finalColumns = {
        {1, 7, 20, 44, 77, 90}, {6, 21, 35, 49, 63, 76}, {2, 13, 28, 51, 69, 88}};
    const QString system = home_->file(QStringLiteral("segni.qtr"));
    QVERIFY(writeSystemFile(system.toStdString(), window_->state()));
    QPrinter& printer = programPrinter();
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(12, 9, 7, 15), QPageLayout::Millimeter);
    VerticalSlipWindow window(window_->state(), window_->context().columnList(), window_);
    window.show();
    click(&window, "printSlipButton");

    const QString previewed = home_->file(QStringLiteral("anteprima.pdf"));
    QTimer::singleShot(0, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        QVERIFY(preview);
        printer.setOutputFileName(previewed);
        emit preview->paintRequested(&printer);
        preview->reject();
    });
    click(&window, "previewButton");

    const QString typed = home_->file(QStringLiteral("riga_di_comando.pdf"));
    const auto run = quintor::testing::runProgram(
        QUINTOR_PRINT_TOOL,
        {system.toStdString(), "--layout", "verticale", "--pdf", typed.toStdString(), "--to", "1"});
    QCOMPARE(run.status, 0);

    const auto expected = test::markCentresMillimetres(typed);
    QCOMPARE(expected.size(), std::size_t{18});
    for (const QString& pdf : {pdf_, previewed}) {
        const double distance =
            test::largestMarkDistance(expected, test::markCentresMillimetres(pdf));
        QVERIFY2(distance < 0.1, qPrintable(QStringLiteral("%1: %2 mm").arg(pdf).arg(distance)));
    }

    // Margins typed in millimetres move every mark by what was typed: 2 mm right and 3 mm
    // down from the stored 0.032 x 210 and 0.0882 x 297 mm.
    const QString moved = home_->file(QStringLiteral("spostata.pdf"));
    const auto shifted = quintor::testing::runProgram(
        QUINTOR_PRINT_TOOL, {system.toStdString(), "--layout", "verticale", "--pdf",
                             moved.toStdString(), "--to", "1", "--margins", "8.72,29.1954"});
    QCOMPARE(shifted.status, 0);
    std::vector<QPointF> movedExpected = expected;
    for (QPointF& centre : movedExpected)
        centre += QPointF(2, 3);
    QVERIFY(test::largestMarkDistance(movedExpected, test::markCentresMillimetres(moved)) < 0.1);
}

void PrintWindowsTest::plainPaperListing() {
    PaperListingWindow empty(window_->state(), window_);
    empty.show();
    QCOMPARE(text(&empty, "firstColumnEdit"), QStringLiteral("0"));
    QCOMPARE(text(&empty, "lastColumnEdit"), QStringLiteral("0"));
    click(&empty, "printButton");
    const QString rangeMessage = QStringLiteral(
        "I numeri delle colonne da stampare non rientrano nell'intervallo consentito!\r"
        "Impossibile stampare.");
    QCOMPARE(prompter_->lastText(), rangeMessage);
    QCOMPARE(prompter_->questions().last().title, QStringLiteral("Errore !"));
    empty.close();

    window_->state().finalColumns = columns(2000);
    PaperListingWindow window(window_->state(), window_);
    window.show();
    QCOMPARE(text(&window, "firstColumnEdit"), QStringLiteral("1"));
    QCOMPARE(text(&window, "lastColumnEdit"), QStringLiteral("2000"));
    for (const char* box : {"markedNumbersBox", "systemNameBox", "columnCountBox"})
        QVERIFY(child<QCheckBox>(&window, box)->isChecked());
    // Tab follows the buttons as they stand, left to right.
    child<QPushButton>(&window, "printerSetupButton")->setFocus();
    for (const char* next : {"previewButton", "savePdfButton", "printButton", "closeButton"}) {
        QTest::keyClick(&window, Qt::Key_Tab);
        QCOMPARE(window.focusWidget(), child<QPushButton>(&window, next));
    }
    for (const auto& range : {std::pair{"9", "3"}, std::pair{"0", "3"}, std::pair{"1", "2001"}}) {
        type(&window, "firstColumnEdit", QString::fromLatin1(range.first));
        type(&window, "lastColumnEdit", QString::fromLatin1(range.second));
        click(&window, "printButton");
        QCOMPARE(prompter_->lastText(), rangeMessage);
    }
    QVERIFY(!QFile::exists(pdf_));

    // Leading digits count: "5a" to "5" lists one column on one page.
    type(&window, "firstColumnEdit", QStringLiteral("5a"));
    type(&window, "lastColumnEdit", QStringLiteral(" 5"));
    click(&window, "printButton");
    QCOMPARE(pdfPages(pdf_), 1);

    // The whole list runs over several pages; a stop confirmed half-way ends it there.
    type(&window, "firstColumnEdit", QStringLiteral("1"));
    type(&window, "lastColumnEdit", QStringLiteral("2000"));
    click(&window, "printButton");
    const int allPages = pdfPages(pdf_);
    QVERIFY(allPages > 2);
    auto* progress = child<QProgressBar>(&window, "progressBar");
    connect(progress, &QProgressBar::valueChanged, this, [&](int value) {
        if (value >= 500)
            QTest::mouseClick(child<QPushButton>(&window, "stopButton"), Qt::LeftButton);
    });
    prompter_->answer(QMessageBox::Yes);
    click(&window, "printButton");
    QVERIFY(pdfPages(pdf_) < allPages);
    QVERIFY(!window.running());
}

void PrintWindowsTest::printingFromTheListingPreviewPrintsEveryPage() {
    // The preview shows only the first pages of a long listing; its print button, which
    // paints on the printer itself, must still print them all.
    window_->state().finalColumns = columns(400);
    PaperListingWindow window(window_->state(), window_);
    window.show();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(home_->file(QStringLiteral("dall_anteprima.pdf")));
    // A wide, low page holds a few lines: 400 columns take far more pages than a preview.
    printer.setPageSize(QPageSize(QSizeF(300, 20), QPageSize::Millimeter));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QTimer::singleShot(0, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        QVERIFY(preview);
        emit preview->paintRequested(&printer);
        preview->reject();
    });
    click(&window, "previewButton");
    QVERIFY(pdfPages(printer.outputFileName()) > 30);
}

void PrintWindowsTest::thePrinterSetUpSpeaksItalianAndIsRemembered() {
    PaperListingWindow window(window_->state(), window_);
    window.show();
    programPrinter().setPageSize(QPageSize(QPageSize::A5));
    QStringList captions;
    QString confirm;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        for (auto* button : dialog->findChildren<QAbstractButton*>())
            captions << button->text();
        for (auto* label : dialog->findChildren<QLabel*>())
            captions << label->text();
        for (auto* group : dialog->findChildren<QGroupBox*>())
            captions << group->title();
        for (auto* tabs : dialog->findChildren<QTabWidget*>())
            for (int i = 0; i < tabs->count(); ++i)
                captions << tabs->tabText(i);
        for (auto* buttons : dialog->findChildren<QDialogButtonBox*>())
            if (buttons->button(QDialogButtonBox::Ok))
                confirm = buttons->button(QDialogButtonBox::Ok)->text();
        qobject_cast<QDialog*>(dialog)->accept();
    });
    click(&window, "printerSetupButton");
    // It sets the printer up and prints nothing, in the program's language.
    QCOMPARE(confirm, QStringLiteral("&Conferma"));
    for (const char* english :
         {"&Print", "Print", "Cancel", "&Options >>", "Pages", "Advanced", "Properties",
          "Double Sided Printing", "Long side binding", "Copies:", "Orientation"})
        QVERIFY2(!captions.contains(QString::fromLatin1(english)), english);
    // The choice is there at the next start.
    QCOMPARE(loadPrinterChoice(programFolder()).paper, std::string("A5"));
}

QTEST_MAIN(PrintWindowsTest)
#include "test_print_windows.moc"
