#include "gui/print/paper_listing_window.h"

#include "core/paper_listing.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"
#include "gui/print/printer.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace quintor {

namespace {

QCheckBox* option(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(true);
    return box;
}

// A column number field, named by the label before it.
QLineEdit* columnField(QWidget* parent, const char* name, QLabel* label) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAccessibleName(label->text());
    edit->setFixedWidth(90);
    label->setBuddy(edit);
    return edit;
}

// A preview shows the first pages only: a million columns make thousands of them.
constexpr std::size_t previewPages = 20;

} // namespace

PaperListingWindow::PaperListingWindow(SystemState& state, QWidget* parent)
    : PrintWindow(parent), state_(state) {
    setObjectName(QStringLiteral("PaperListingWindow"));
    setWindowTitle(QStringLiteral("Colonne su carta"));
    auto* column = new QVBoxLayout(this);
    column->addWidget(createOptionsGroup());
    column->addLayout(createRangeRow());
    column->addLayout(createRunRow());
    column->addLayout(createCommandRow());
    column->setSpacing(10);
    setMinimumWidth(520);
    setIdleControls({optionsGroup_, firstColumnEdit_, lastColumnEdit_, printerSetupButton_,
                     printButton_, previewButton_, savePdfButton_, closeButton_});
    fixSize();
}

QWidget* PaperListingWindow::createOptionsGroup() {
    auto* options = new QGroupBox(QStringLiteral("Opzioni"), this);
    options->setObjectName(QStringLiteral("optionsGroup"));
    optionsGroup_ = options;
    markedNumbersBox_ = option(options, "markedNumbersBox", QStringLiteral("Stampa sistema"));
    systemNameBox_ = option(options, "systemNameBox", QStringLiteral("Stampa nome sistema"));
    columnCountBox_ =
        option(options, "columnCountBox", QStringLiteral("Stampa il numero di colonne"));
    auto* boxes = new QVBoxLayout(options);
    boxes->addWidget(markedNumbersBox_);
    boxes->addWidget(systemNameBox_);
    boxes->addWidget(columnCountBox_);
    return options;
}

QLayout* PaperListingWindow::createRangeRow() {
    auto* fromLabel = new QLabel(QStringLiteral("Stampa dalla colonna nº"), this);
    firstColumnEdit_ = columnField(this, "firstColumnEdit", fromLabel);
    auto* toLabel = new QLabel(QStringLiteral("alla colonna nº"), this);
    lastColumnEdit_ = columnField(this, "lastColumnEdit", toLabel);
    return controlRow({fromLabel, firstColumnEdit_, toLabel, lastColumnEdit_, nullptr});
}

QLayout* PaperListingWindow::createRunRow() {
    createRunControls(QStringLiteral("Interrompe la stampa delle colonne"));
    QHBoxLayout* row = controlRow({stopButton_, progressBar_});
    row->setStretchFactor(progressBar_, 1);
    return row;
}

QLayout* PaperListingWindow::createCommandRow() {
    printerSetupButton_ = createPrinterSetupButton();
    previewButton_ = createButton(this, "previewButton", QStringLiteral("&Anteprima"),
                                  QStringLiteral("Mostra le prime pagine come verranno stampate"),
                                  &PaperListingWindow::onPreviewClicked);
    savePdfButton_ = createButton(this, "savePdfButton", QStringLiteral("Salva &PDF"),
                                  QStringLiteral("Scrive le colonne indicate in un file PDF"),
                                  &PaperListingWindow::onSavePdfClicked);
    printButton_ = createButton(this, "printButton", QStringLiteral("Stampa colonne"),
                                QStringLiteral("Stampa le colonne indicate"),
                                &PaperListingWindow::onPrintClicked);
    closeButton_ = createButton(this, "closeButton", QStringLiteral("Chiudi"),
                                QStringLiteral("Chiude la scheda"), &PaperListingWindow::reject);
    return controlRow(
        {printerSetupButton_, previewButton_, savePdfButton_, printButton_, closeButton_});
}

void PaperListingWindow::showEvent(QShowEvent* event) {
    if (!running())
        showWholeRange();
    TiledDialog::showEvent(event);
}

void PaperListingWindow::showWholeRange() {
    const std::size_t count = state_.finalColumns.size();
    firstColumnEdit_->setText(QString::number(count > 0 ? 1 : 0));
    lastColumnEdit_->setText(QString::number(count));
}

bool PaperListingWindow::readRange(std::size_t& first, std::size_t& last) {
    const long long from = leadingInteger(firstColumnEdit_->text().toStdString());
    const long long to = leadingInteger(lastColumnEdit_->text().toStdString());
    if (!validListingRange(from, to, state_.finalColumns.size())) {
        showError(this, QString::fromUtf8(listingRangeTitle),
                  QString::fromUtf8(listingRangeMessage));
        return false;
    }
    first = static_cast<std::size_t>(from);
    last = static_cast<std::size_t>(to);
    return true;
}

ListingRequest PaperListingWindow::listingRequest(std::size_t first, std::size_t last) const {
    ListingRequest request;
    request.options = {markedNumbersBox_->isChecked(), systemNameBox_->isChecked(),
                       columnCountBox_->isChecked()};
    request.systemFile = state_.fileName;
    request.markedNumbers = state_.markedNumbers();
    request.finalColumns = state_.finalColumns;
    request.first = first;
    request.last = last;
    return request;
}

PrintOutcome PaperListingWindow::printColumns(std::size_t first, std::size_t last,
                                              PageSequence& pages) {
    const QString system = QFileInfo(QString::fromStdString(state_.fileName)).fileName();
    const QString columns = QStringLiteral("colonne %1-%2").arg(first).arg(last);
    if (!pages.startPage(system.isEmpty()
                             ? QStringLiteral("Quintor - %1").arg(columns)
                             : QStringLiteral("Quintor - %1 - %2").arg(system, columns)))
        return PrintOutcome::failed;
    const std::size_t count = last - first + 1;
    progressBar_->setRange(0, 1000);
    progressBar_->setValue(0);
    setRunning(true);
    const ListingOutcome listed = paintListing(
        pages.painter(), pages.device(), listingRequest(first, last), [&](std::size_t done) {
            progressBar_->setValue(static_cast<int>(done * 1000 / count));
            progressBar_->setFormat(QStringLiteral("Colonna %1 di %2").arg(done).arg(count));
            return keepRunning();
        });
    setRunning(false);
    if (listed.stopped)
        return PrintOutcome::stopped;
    return pages.endPage() ? PrintOutcome::done : PrintOutcome::failed;
}

void PaperListingWindow::printRange(const QString& pdfFile) {
    std::size_t first = 0;
    std::size_t last = 0;
    if (running() || !readRange(first, last))
        return;
    const auto outcome = runPrint(this, pdfFile, [&](PageSequence& pages) {
        HourglassGuard hourglass;
        return printColumns(first, last, pages);
    });
    if (outcome == PrintOutcome::failed)
        showError(this, QStringLiteral("Errore"), QString::fromUtf8(printFailedMessage));
}

void PaperListingWindow::onPrintClicked() {
    printRange({});
}

void PaperListingWindow::onSavePdfClicked() {
    std::size_t first = 0;
    std::size_t last = 0;
    if (running() || !readRange(first, last))
        return;
    const QString file = askPdfFileName(this);
    if (!file.isEmpty())
        printRange(file);
}

void PaperListingWindow::onPreviewClicked() {
    std::size_t first = 0;
    std::size_t last = 0;
    if (!readRange(first, last))
        return;
    QPrintPreviewDialog preview(&programPrinter(), this);
    preview.setObjectName(QStringLiteral("previewDialog"));
    namePreviewControls(preview);
    preview.setWindowTitle(QStringLiteral("Anteprima delle colonne su carta"));
    const ListingRequest listed = listingRequest(first, last);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter* printer) {
        QPainter painter(printer);
        ListingRequest shown = listed;
        // The preview draws its pages as pictures; the dialog's print button paints on the
        // printer itself, and that listing must be whole.
        if (painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Picture)
            shown.maxPages = previewPages;
        paintListing(painter, *printer, shown);
    });
    preview.exec();
}

void openPaperListingWindow(QWidget* parent, SystemState& state) {
    PaperListingWindow window(state, parent);
    window.exec();
}

} // namespace quintor
