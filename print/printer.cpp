#include "print/printer.h"

#include "gui_common/prompter.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGraphicsView>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

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

} // namespace

QPrinter& programPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

bool Impostastampante(QWidget* parent) {
    QPrintDialog dialog(&programPrinter(), parent);
    dialog.setWindowTitle(QStringLiteral("Imposta stampante"));
    // The page range fields of the platform's dialog come without a name of their own.
    static const std::pair<const char*, const char*> rangeNames[] = {
        {"from", "Dalla pagina"},
        {"to", "Alla pagina"},
        {"pagesLineEdit", "Pagine da stampare"},
        {"pageSetCombo", "Pagine pari o dispari"}};
    for (const auto& [objectName, name] : rangeNames)
        if (auto* field = dialog.findChild<QWidget*>(QString::fromLatin1(objectName)))
            if (field->accessibleName().isEmpty())
                field->setAccessibleName(QString::fromUtf8(name));
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
