#include "gui/print/printer.h"

#include "gui/common/prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGraphicsView>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <initializer_list>
#include <utility>

namespace quintor {

namespace {

std::function<QStringList()>& queueLookup() {
    static std::function<QStringList()> lookup;
    return lookup;
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
    return printer;
}

bool setUpPrinter(QWidget* parent) {
    QPrintDialog dialog(&programPrinter(), parent);
    dialog.setWindowTitle(QStringLiteral("Imposta stampante"));
    nameFields(dialog, setupFieldNames);
    PropertiesNamer properties(&dialog);
    qApp->installEventFilter(&properties);
    return dialog.exec() == QDialog::Accepted;
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

PageSequence::PageSequence(const QString& pdfFile) : pdf_(std::make_unique<QPdfWriter>(pdfFile)) {
    const QPrinter& printer = programPrinter();
    pdf_->setCreator(QStringLiteral("Quintor"));
    pdf_->setPageLayout(printer.pageLayout());
    pdf_->setResolution(printer.resolution());
    device_ = pdf_.get();
}

PageSequence::~PageSequence() {
    if (painter_.isActive())
        painter_.end();
}

bool PageSequence::startPage() {
    if (painter_.isActive() && !jobPerPage_) {
        if (!device_->newPage())
            return false;
    } else {
        if (painter_.isActive() && !painter_.end())
            return false;
        if (!painter_.begin(device_))
            return false;
    }
    ++pages_;
    return true;
}

bool PageSequence::finish() {
    return !painter_.isActive() || painter_.end();
}

QString askPdfFileName(QWidget* parent) {
    FileRequest request;
    request.title = QStringLiteral("Salva PDF");
    request.filter = QString::fromUtf8(pdfFilter);
    request.defaultExtension = QStringLiteral("pdf");
    return Prompter::current().saveFileName(parent, request);
}

std::unique_ptr<PageSequence> openPrintTarget(QWidget* parent, const QString& pdfFile) {
    if (!pdfFile.isEmpty())
        return std::make_unique<PageSequence>(pdfFile);
    if (printerCanPrint(programPrinter()))
        return std::make_unique<PageSequence>();
    if (askQuestion(parent, QString::fromUtf8(noPrinterTitle), QString::fromUtf8(noPrinterQuestion),
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) != QMessageBox::Yes)
        return nullptr;
    const QString name = askPdfFileName(parent);
    if (name.isEmpty())
        return nullptr;
    return std::make_unique<PageSequence>(name);
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
