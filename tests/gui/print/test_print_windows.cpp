// The three print windows driven through their controls, printing into PDF files.
#include "app/main_frame.h"
#include "core/print_settings.h"
#include "core/program_folder.h"
#include "gui/common/column_list_window.h"
#include "gui/print/horizontal_slip_window.h"
#include "gui/print/paper_listing_window.h"
#include "gui/print/printer.h"
#include "gui/print/vertical_slip_window.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/gui_helpers.h"
#include "tests/gui/support/scripted_prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
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
    void testSlipsAndTheSidewaysWindow();
    void marginsAreRestoredAndRegistered();
    void withoutAPrinterThePdfIsOffered();
    void incompleteColumnsAreNamed();
    void previewShowsTheSlip();
    void plainPaperListing();
    void printingFromTheListingPreviewPrintsEveryPage();

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
    QCOMPARE(text(&window, "topMarginEdit"), QStringLiteral("0.08820000"));
    QCOMPARE(text(&window, "numberSizeEdit"), QStringLiteral("0.01600000"));
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
    type(&window, "verticalSpacingEdit", QStringLiteral("1E-2"));

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
    // While slip 3 prints, the stop button is pressed: No goes on, and at slip 3 Yes stops.
    connect(progress, &QProgressBar::valueChanged, this, [&](int value) {
        stopShown = stopShown || stop->isVisible();
        if (value == 1 || value == 3)
            QTest::mouseClick(stop, Qt::LeftButton);
    });
    prompter_->answer(QMessageBox::No);
    prompter_->answer(QMessageBox::Yes);
    click(&window, "printAllButton");
    QVERIFY(stopShown);
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

void PrintWindowsTest::testSlipsAndTheSidewaysWindow() {
    window_->state().finalColumns = columns(6);
    HorizontalSlipWindow window(window_->state(), window_->context().columnList(), window_);
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Stampa orizzontale di 6 colonne in 2 schedine"));
    QCOMPARE(text(&window, "topMarginEdit"), QStringLiteral("0.01639000"));
    QCOMPARE(text(&window, "markDiameterEdit"), QStringLiteral("0.00370000"));
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
    QCOMPARE(text(&window, "leftMarginEdit"), QStringLiteral("0.50000000"));
    prompter_->answer(QMessageBox::No);
    click(&window, "restoreDefaultsButton");
    QCOMPARE(text(&window, "leftMarginEdit"), QStringLiteral("0.50000000"));
    prompter_->answer(QMessageBox::Yes);
    click(&window, "restoreDefaultsButton");
    QCOMPARE(prompter_->questions().last().defaultButton, QMessageBox::No);
    QCOMPARE(text(&window, "leftMarginEdit"), QStringLiteral("0.12800000"));
    QCOMPARE(window_->state().layout.horizontal, defaultHorizontalLayout);

    type(&window, "horizontalSpacingEdit", QStringLiteral("0.02"));
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

QTEST_MAIN(PrintWindowsTest)
#include "test_print_windows.moc"
