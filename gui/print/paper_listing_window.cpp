#include "gui/print/paper_listing_window.h"

#include "core/paper_listing.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"
#include "gui/print/printer.h"

#include <QCheckBox>
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

// A preview shows the first pages only: a million columns make thousands of them.
constexpr std::size_t previewPages = 20;

} // namespace

PaperListingWindow::PaperListingWindow(SystemState& state, QWidget* parent)
    : PrintWindow(parent), state_(state) {
    setObjectName(QStringLiteral("PaperListingWindow"));
    setWindowTitle(QStringLiteral("Colonne su carta"));

    auto* options = new QGroupBox(QStringLiteral("Opzioni"), this);
    options->setObjectName(QStringLiteral("GroupBox1"));
    CKB1 = option(options, "CKB1", QStringLiteral("Stampa sistema"));
    CKB2 = option(options, "CKB2", QStringLiteral("Stampa nome sistema"));
    CKB3 = option(options, "CKB3", QStringLiteral("Stampa il numero di colonne"));
    auto* optionsColumn = new QVBoxLayout(options);
    optionsColumn->addWidget(CKB1);
    optionsColumn->addWidget(CKB2);
    optionsColumn->addWidget(CKB3);

    auto* fromLabel = new QLabel(QStringLiteral("Stampa dalla colonna nº"), this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(fromLabel->text());
    Edit1->setFixedWidth(90);
    fromLabel->setBuddy(Edit1);
    auto* toLabel = new QLabel(QStringLiteral("alla colonna nº"), this);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setAccessibleName(toLabel->text());
    Edit2->setFixedWidth(90);
    toLabel->setBuddy(Edit2);

    spb7 = printWindowButton(this, "spb7", QStringLiteral("Imposta stampante"),
                             QStringLiteral("Sceglie la stampante, la carta e l'orientamento"));
    SpeedButton8 = printWindowButton(this, "SpeedButton8", QStringLiteral("Stampa colonne"),
                                     QStringLiteral("Stampa le colonne indicate"));
    Anteprima = printWindowButton(this, "Anteprima", QStringLiteral("&Anteprima"),
                                  QStringLiteral("Mostra le prime pagine come verranno stampate"));
    SalvaPdf = printWindowButton(this, "SalvaPdf", QStringLiteral("Salva &PDF"),
                                 QStringLiteral("Scrive le colonne indicate in un file PDF"));
    createRunControls(QStringLiteral("Interrompe la stampa delle colonne"));
    SpeedButton1 = printWindowButton(this, "SpeedButton1", QStringLiteral("Chiudi"),
                                     QStringLiteral("Chiude la scheda"));

    auto* range = new QHBoxLayout;
    range->addWidget(fromLabel);
    range->addWidget(Edit1);
    range->addWidget(toLabel);
    range->addWidget(Edit2);
    range->addStretch();
    auto* run = new QHBoxLayout;
    run->addWidget(FESTA);
    run->addWidget(progress_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(spb7);
    buttons->addWidget(Anteprima);
    buttons->addWidget(SalvaPdf);
    buttons->addWidget(SpeedButton8);
    buttons->addWidget(SpeedButton1);
    auto* column = new QVBoxLayout(this);
    column->addWidget(options);
    column->addLayout(range);
    column->addLayout(run);
    column->addLayout(buttons);
    column->setSpacing(10);
    setMinimumWidth(520);
    setIdleControls({options, Edit1, Edit2, spb7, SpeedButton8, Anteprima, SalvaPdf, SpeedButton1});
    // Tab follows the buttons from left to right.
    setTabOrder(SalvaPdf, SpeedButton8);

    connect(spb7, &QPushButton::clicked, this, &PaperListingWindow::spb7Click);
    connect(SpeedButton8, &QPushButton::clicked, this, &PaperListingWindow::SpeedButton8Click);
    connect(Anteprima, &QPushButton::clicked, this, &PaperListingWindow::AnteprimaClick);
    connect(SalvaPdf, &QPushButton::clicked, this, &PaperListingWindow::SalvaPdfClick);
    connect(SpeedButton1, &QPushButton::clicked, this, &PaperListingWindow::reject);
    fixSize();
}

void PaperListingWindow::showEvent(QShowEvent* event) {
    if (!running())
        FormActivate();
    TiledDialog::showEvent(event);
}

void PaperListingWindow::FormActivate() {
    const std::size_t count = state_.finalColumns.size();
    Edit1->setText(QString::number(count > 0 ? 1 : 0));
    Edit2->setText(QString::number(count));
}

bool PaperListingWindow::readRange(std::size_t& first, std::size_t& last) {
    const long long from = leadingInteger(Edit1->text().toStdString());
    const long long to = leadingInteger(Edit2->text().toStdString());
    if (!validListingRange(from, to, state_.finalColumns.size())) {
        showError(this, QString::fromUtf8(listingRangeTitle),
                  QString::fromUtf8(listingRangeMessage));
        return false;
    }
    first = static_cast<std::size_t>(from);
    last = static_cast<std::size_t>(to);
    return true;
}

ListingRequest PaperListingWindow::request(std::size_t first, std::size_t last) const {
    ListingRequest request;
    request.options = {CKB1->isChecked(), CKB2->isChecked(), CKB3->isChecked()};
    request.systemFile = state_.fileName;
    request.markedNumbers = state_.markedNumbers();
    request.finalColumns = state_.finalColumns;
    request.first = first;
    request.last = last;
    return request;
}

bool PaperListingWindow::printColumnRange(std::size_t first, std::size_t last,
                                          PageSequence& pages) {
    if (!pages.startPage())
        return false;
    const std::size_t count = last - first + 1;
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    setRunning(true);
    const ListingOutcome outcome =
        paintListing(pages.painter(), pages.device(), request(first, last), [&](std::size_t done) {
            progress_->setValue(static_cast<int>(done * 1000 / count));
            progress_->setFormat(QStringLiteral("Colonna %1 di %2").arg(done).arg(count));
            return keepRunning();
        });
    setRunning(false);
    (void)outcome;
    return pages.finish();
}

void PaperListingWindow::print(const QString& pdfFile) {
    std::size_t first = 0;
    std::size_t last = 0;
    if (running() || !readRange(first, last))
        return;
    const auto pages = openPrintTarget(this, pdfFile);
    if (!pages)
        return;
    HourglassGuard hourglass;
    const bool done = printColumnRange(first, last, *pages);
    hourglass.release();
    if (!done)
        showError(this, QStringLiteral("Errore"), QString::fromUtf8(printFailedMessage));
}

void PaperListingWindow::SpeedButton8Click() {
    print({});
}

void PaperListingWindow::SalvaPdfClick() {
    std::size_t first = 0;
    std::size_t last = 0;
    if (running() || !readRange(first, last))
        return;
    const QString file = askPdfFileName(this);
    if (!file.isEmpty())
        print(file);
}

void PaperListingWindow::AnteprimaClick() {
    std::size_t first = 0;
    std::size_t last = 0;
    if (!readRange(first, last))
        return;
    QPrintPreviewDialog preview(&programPrinter(), this);
    preview.setObjectName(QStringLiteral("AnteprimaDialog"));
    namePreviewControls(preview);
    preview.setWindowTitle(QStringLiteral("Anteprima delle colonne su carta"));
    const ListingRequest listed = request(first, last);
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

void Sucartacomune(QWidget* parent, SystemState& state) {
    PaperListingWindow window(state, parent);
    window.exec();
}

} // namespace quintor
