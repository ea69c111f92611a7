#include "gui/print/printer.h"

#include "core/printer_choice.h"
#include "core/program_folder.h"
#include "gui/common/prompter.h"
#include "render/pdf_file.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileInfo>
#include <QGraphicsView>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QTranslator>
#include <QTreeView>

#include <initializer_list>
#include <utility>

#include <dlfcn.h>

namespace quintor {

namespace {

std::function<QStringList()>& queueLookup() {
    static std::function<QStringList()> lookup;
    return lookup;
}

// Whether the print server took the last job this thread sent. The toolkit hands a job to
// the server's library and keeps its answer to itself; the library keeps it for the thread,
// so it is read there. True when no print server library is loaded.
bool lastJobAccepted() {
    void* cups = ::dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (!cups)
        return true;
    using LastError = int (*)();
    const auto lastError = reinterpret_cast<LastError>(::dlsym(cups, "cupsLastError"));
    // Status codes up to 0xff are the successful ones.
    constexpr int lastSuccess = 0xff;
    const bool accepted = !lastError || lastError() <= lastSuccess;
    ::dlclose(cups);
    return accepted;
}

bool printerCanPrint(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return !printer.outputFileName().isEmpty();
    return !printerQueues().isEmpty();
}

using FieldNames = std::initializer_list<std::pair<const char*, const char*>>;

// The platform's printer set-up leaves these fields without a name of their own.
constexpr FieldNames setupFieldNames = {{"from", "Dalla pagina"},
                                        {"to", "Alla pagina"},
                                        {"pagesLineEdit", "Pagine da stampare"},
                                        {"pageSetCombo", "Pagine pari o dispari"}};
constexpr FieldNames propertyFieldNames = {
    {"jobHoldComboBox", "Stampa programmata"},
    {"jobHoldTimeEdit", "Ora della stampa programmata"},
    {"jobBillingLineEdit", "Informazioni di addebito"},
    {"jobPrioritySpinBox", "Priorità del lavoro"},
    {"startBannerPageCombo", "Pagina di copertina iniziale"},
    {"endBannerPageCombo", "Pagina di copertina finale"},
    {"scrollArea", "Opzioni avanzate"},
    {"unitCombo", "Unità di misura"},
    {"pagesPerSheetCombo", "Pagine per foglio"},
    {"pagesPerSheetLayoutCombo", "Ordine delle pagine sul foglio"}};

// Captions of the toolkit's print dialogs that its Italian catalogue leaves in English (some
// come from the print server's option names).
constexpr FieldNames englishCaptions = {{"Pages", "Pagine"},
                                        {"Page", "Pagina"},
                                        {"Advanced", "Avanzate"},
                                        {"Job", "Lavoro"},
                                        {"Job Options", "Opzioni del lavoro"},
                                        {"Double Sided Printing", "Stampa fronte e retro"},
                                        {"Long side binding", "Rilegatura sul lato lungo"},
                                        {"Short side binding", "Rilegatura sul lato corto"},
                                        {"Long side", "Lato lungo"},
                                        {"Short side", "Lato corto"},
                                        {"None", "Nessuna"},
                                        {"Off", "No"},
                                        {"On", "Sì"}};

QString italianCaption(const QString& caption) {
    QString bare = caption;
    bare.remove(QLatin1Char('&'));
    for (const auto& [english, italian] : englishCaptions)
        if (bare == QLatin1String(english))
            return QString::fromUtf8(italian);
    return caption;
}

// Puts the captions the catalogue missed into Italian, in every control of the dialog.
void italianCaptions(QWidget& dialog) {
    for (auto* button : dialog.findChildren<QAbstractButton*>())
        button->setText(italianCaption(button->text()));
    for (auto* label : dialog.findChildren<QLabel*>())
        label->setText(italianCaption(label->text()));
    for (auto* group : dialog.findChildren<QGroupBox*>())
        group->setTitle(italianCaption(group->title()));
    for (auto* tabs : dialog.findChildren<QTabWidget*>())
        for (int i = 0; i < tabs->count(); ++i)
            tabs->setTabText(i, italianCaption(tabs->tabText(i)));
    for (auto* box : dialog.findChildren<QComboBox*>())
        for (int i = 0; i < box->count(); ++i)
            box->setItemText(i, italianCaption(box->itemText(i)));
    for (auto* tree : dialog.findChildren<QTreeView*>()) {
        QAbstractItemModel* model = tree->model();
        if (!model)
            continue;
        for (int row = 0; row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex index = model->index(row, column);
                const QString text = model->data(index).toString();
                if (italianCaption(text) != text)
                    model->setData(index, italianCaption(text));
            }
    }
}

// The toolkit's own texts in Italian, for its print dialogs: loaded once, unless the
// program has already given the toolkit its Italian catalogue.
void loadToolkitItalian() {
    static QTranslator toolkitTexts;
    static bool tried = false;
    if (tried || QCoreApplication::translate("QPrintDialog", "Print") != QLatin1String("Print"))
        return;
    tried = true;
    if (toolkitTexts.load(QStringLiteral("qtbase_it"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&toolkitTexts);
}

// The printer and paper chosen at the last set-up, when that printer is still there.
void applyRememberedChoice(QPrinter& printer) {
    const PrinterChoice choice = loadPrinterChoice(programFolder());
    const QString name = QString::fromStdString(choice.printer);
    if (!name.isEmpty() && printerQueues().contains(name))
        printer.setPrinterName(name);
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const auto paper = static_cast<QPageSize::PageSizeId>(id);
        if (!choice.paper.empty() && QPageSize::key(paper).toStdString() == choice.paper) {
            printer.setPageSize(QPageSize(paper));
            break;
        }
    }
}

void rememberChoice(const QPrinter& printer) {
    // Not being able to remember it is no reason to trouble the user: the choice holds for
    // this run anyway.
    (void)savePrinterChoice(programFolder(), {printer.outputFormat() == QPrinter::NativeFormat
                                                  ? printer.printerName().toStdString()
                                                  : std::string(),
                                              printer.pageLayout().pageSize().key().toStdString()});
}

void nameFields(QWidget& dialog, FieldNames names) {
    for (const auto& [objectName, name] : names)
        if (auto* field = dialog.findChild<QWidget*>(QString::fromLatin1(objectName)))
            if (field->accessibleName().isEmpty())
                field->setAccessibleName(QString::fromUtf8(name));
}

// The set-up makes its properties dialog only when its button is pressed: the fields of any
// dialog that comes up from inside the set-up are named as it shows.
class PropertiesNamer : public QObject {
public:
    explicit PropertiesNamer(QWidget* setup) : setup_(setup) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (event->type() == QEvent::Show && dialog && dialog != setup_) {
            for (QObject* up = dialog->parent(); up; up = up->parent())
                if (up == setup_) {
                    nameFields(*dialog, propertyFieldNames);
                    italianCaptions(*dialog);
                    break;
                }
        }
        return false;
    }

private:
    QWidget* setup_;
};

} // namespace

QPrinter& programPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    // Marks are placed from the sheet's corner, as in a PDF of the command line: the device's
    // origin must not move with the margins a queue or the toolkit declares.
    static const bool wholeSheet = [] {
        printer.setFullPage(true);
        applyRememberedChoice(printer);
        return true;
    }();
    (void)wholeSheet;
    return printer;
}

bool setUpPrinter(QWidget* parent) {
    loadToolkitItalian();
    QPrintDialog dialog(&programPrinter(), parent);
    dialog.setWindowTitle(QStringLiteral("Imposta stampante"));
    nameFields(dialog, setupFieldNames);
    italianCaptions(dialog);
    // The dialog only chooses the printer and its paper: it prints nothing.
    for (auto* buttons : dialog.findChildren<QDialogButtonBox*>())
        if (QPushButton* confirm = buttons->button(QDialogButtonBox::Ok))
            confirm->setText(QStringLiteral("&Conferma"));
    PropertiesNamer properties(&dialog);
    qApp->installEventFilter(&properties);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    rememberChoice(programPrinter());
    return true;
}

QStringList printerQueues() {
    if (queueLookup())
        return queueLookup()();
    return QPrinterInfo::availablePrinterNames();
}

void setPrinterQueueLookup(std::function<QStringList()> lookup) {
    queueLookup() = std::move(lookup);
}

PageSequence::PageSequence() : device_(&programPrinter()) {
    jobPerPage_ = programPrinter().outputFormat() == QPrinter::NativeFormat;
}

PageSequence::PageSequence(QPainter& painter, QPagedPaintDevice& pdf)
    : device_(&pdf), painter_(&painter) {}

PageSequence::~PageSequence() {
    if (ownPainter_.isActive())
        ownPainter_.end();
}

bool PageSequence::startPage(const QString& jobTitle) {
    if (painter_ != &ownPainter_) {
        // The writer's first page is begun with its painter.
        if (pages_ > 0 && !device_->newPage())
            return false;
    } else if (ownPainter_.isActive() && !jobPerPage_) {
        if (!device_->newPage())
            return false;
    } else {
        if (ownPainter_.isActive() && !endJob())
            return false;
        if (!jobTitle.isEmpty())
            programPrinter().setDocName(jobTitle);
        if (!ownPainter_.begin(device_))
            return false;
    }
    ++pages_;
    return true;
}

bool PageSequence::endPage() {
    return !jobPerPage_ || !ownPainter_.isActive() || endJob();
}

bool PageSequence::finish() {
    return !ownPainter_.isActive() || endJob();
}

bool PageSequence::endJob() {
    return ownPainter_.end() && (!jobPerPage_ || lastJobAccepted());
}

QString askPdfFileName(QWidget* parent) {
    FileRequest request;
    request.title = QStringLiteral("Salva PDF");
    request.filter = QString::fromUtf8(pdfFilter);
    request.defaultExtension = QStringLiteral("pdf");
    const QString file = Prompter::current().saveFileName(parent, request);
    if (!file.isEmpty() && QFileInfo::exists(file) &&
        askQuestion(parent, QStringLiteral("Conferma"),
                    QStringLiteral("Il file %1 esiste già.\rSostituirlo ?").arg(file),
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return {};
    return file;
}

namespace {

// The work into a PDF file, on the program's paper and resolution, the whole sheet its page.
PrintOutcome printIntoPdf(const QString& file, const PrintWork& work, bool keepStoppedPages) {
    const QPrinter& printer = programPrinter();
    const QPageLayout sheet(printer.pageLayout().pageSize(), printer.pageLayout().orientation(),
                            QMarginsF());
    PrintOutcome outcome = PrintOutcome::done;
    const PdfOutcome written = writePdfFile(
        file.toStdString(), sheet, printer.resolution(), [&](QPainter& painter, QPdfWriter& pdf) {
            PageSequence pages(painter, pdf);
            outcome = work(pages);
            return outcome == PrintOutcome::done ||
                   (outcome == PrintOutcome::stopped && keepStoppedPages);
        });
    if (written == PdfOutcome::failed)
        return PrintOutcome::failed;
    return outcome;
}

PrintOutcome printOnPrinter(const PrintWork& work) {
    QPrinter& printer = programPrinter();
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return printIntoPdf(printer.outputFileName(), work, true);
    PageSequence pages;
    PrintOutcome outcome = work(pages);
    if (!pages.finish())
        outcome = PrintOutcome::failed;
    return outcome;
}

} // namespace

std::optional<PrintOutcome> runPrint(QWidget* parent, const QString& pdfFile,
                                     const PrintWork& work) {
    if (!pdfFile.isEmpty())
        return printIntoPdf(pdfFile, work, false);
    if (printerCanPrint(programPrinter()))
        return printOnPrinter(work);
    if (askQuestion(parent, QString::fromUtf8(noPrinterTitle), QString::fromUtf8(noPrinterQuestion),
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes)
        return std::nullopt;
    const QString name = askPdfFileName(parent);
    if (name.isEmpty())
        return std::nullopt;
    return printIntoPdf(name, work, false);
}

void namePreviewControls(QPrintPreviewDialog& preview) {
    for (auto* zoom : preview.findChildren<QComboBox*>())
        zoom->setAccessibleName(QStringLiteral("Ingrandimento"));
    for (auto* field : preview.findChildren<QLineEdit*>())
        if (!qobject_cast<QComboBox*>(field->parentWidget()))
            field->setAccessibleName(QStringLiteral("Numero della pagina"));
    for (auto* pages : preview.findChildren<QGraphicsView*>())
        pages->setAccessibleName(QStringLiteral("Pagine in anteprima"));
}

} // namespace quintor
