#include "gui/print/slip_window.h"

#include "core/column.h"
#include "core/conversions.h"
#include "core/program_folder.h"
#include "core/slip_layout.h"
#include "gui/common/column_list_window.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"
#include "gui/common/prompter.h"
#include "gui/common/window_help.h"
#include "gui/print/printer.h"
#include "render/print_renderer.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPaintEngine>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace quintor {

namespace {

const QString errorTitle = QStringLiteral("Errore");
const QString badSlipNumberMessage =
    QStringLiteral("Impossibile decifrare il numero della prossima schedina da "
                   "stampare!\rCorreggere e riprovare.");
const QString slipOutOfRangeMessage =
    QStringLiteral("Il nº della schedina da stampare non rientra nell'intervallo consentito "
                   "!\rCorreggere e riprovare.");

// Labels of the layout records, in record order.
const char* const recordLabels[] = {"Margine sinistro:",
                                    "Margine superiore:",
                                    "Distanza orizzontale tra i segni:",
                                    "Distanza verticale tra i segni:",
                                    "Diametro dei segni:",
                                    "Dimensione del numero:"};

// objectNames of the layout fields, by record.
const char* const recordFieldNames[] = {"leftMarginEdit",        "topMarginEdit",
                                        "horizontalSpacingEdit", "verticalSpacingEdit",
                                        "markDiameterEdit",      "numberSizeEdit"};

QLineEdit* slipField(QWidget* parent, const char* name, const QString& accessibleName) {
    auto* edit = new QLineEdit(QStringLiteral("1"), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAccessibleName(accessibleName);
    edit->setFixedWidth(70);
    return edit;
}

} // namespace

SlipPrintWindow::SlipPrintWindow(SlipLayout layout, SystemState& state,
                                 ColumnListWindow& columnList, QWidget* parent)
    : PrintWindow(parent), layout_(layout), state_(state), columnList_(columnList) {
    auto* column = new QVBoxLayout(this);
    column->addWidget(createMarginsGroup());
    column->addLayout(createOneSlipRow());
    column->addLayout(createAllSlipsRow());
    column->addLayout(createCommandRow());
    column->setSpacing(10);
    setMinimumWidth(560);
    setIdleControls({marginsGroup_, printSlipButton_, slipNumberEdit_, viewSlipButton_,
                     printAllButton_, firstSlipEdit_, printerSetupButton_, previewButton_,
                     savePdfButton_, closeButton_});
}

QWidget* SlipPrintWindow::createMarginsGroup() {
    auto* margins = new QGroupBox(QStringLiteral("Margini"), this);
    margins->setObjectName(QStringLiteral("marginsGroup"));
    marginsGroup_ = margins;
    auto* grid = new QGridLayout(margins);
    const auto records = fieldRecords(layout_);
    for (std::size_t i = 0; i < records.size(); ++i) {
        auto* label = new QLabel(QString::fromUtf8(recordLabels[records[i]]), margins);
        auto* edit = new QLineEdit(margins);
        edit->setObjectName(QString::fromLatin1(recordFieldNames[records[i]]));
        edit->setAccessibleName(label->text());
        edit->setFixedWidth(110);
        label->setBuddy(edit);
        grid->addWidget(label, static_cast<int>(i), 0);
        grid->addWidget(edit, static_cast<int>(i), 1);
        grid->addWidget(new QLabel(QStringLiteral("mm"), margins), static_cast<int>(i), 2);
        setHint(edit, QStringLiteral("In millimetri sul foglio scelto in \"Imposta stampante\""));
        fields_.append(edit);
    }
    restoreDefaultsButton_ = createButton(
        margins, "restoreDefaultsButton", QStringLiteral("Ripristina valori originali"),
        QStringLiteral("Ripristina i valori originali dei margini"),
        &SlipPrintWindow::onRestoreDefaultsClicked);
    registerSettingsButton_ =
        createButton(margins, "registerSettingsButton", QStringLiteral("Registra impostazioni"),
                     QStringLiteral("Registra i margini per i prossimi sistemi"),
                     &SlipPrintWindow::onRegisterSettingsClicked);
    testSlipButton_ =
        createButton(margins, "testSlipButton", QStringLiteral("Stampa schedina di prova"),
                     QStringLiteral("Stampa una schedina con i segni agli angoli"),
                     &SlipPrintWindow::onTestSlipClicked);
    helpButton_ = new QToolButton(margins);
    helpButton_->setObjectName(QStringLiteral("helpButton"));
    helpButton_->setText(QStringLiteral("Spiegazioni"));
    setHint(helpButton_, QStringLiteral("Spiegazioni"));
    attachHelpTopic(this,
                    layout_ == SlipLayout::vertical ? HelpTopic::VerticalPrinting
                                                    : HelpTopic::HorizontalPrinting,
                    helpButton_);
    const int buttonsRow = static_cast<int>(records.size());
    grid->addWidget(restoreDefaultsButton_, buttonsRow, 0);
    grid->addWidget(registerSettingsButton_, buttonsRow, 1);
    grid->addWidget(testSlipButton_, buttonsRow + 1, 0);
    grid->addWidget(helpButton_, buttonsRow + 1, 1);
    calibrationButton_ = createButton(
        margins, "calibrationButton", QStringLiteral("Stampa foglio di taratura"),
        QStringLiteral("Stampa righelli e croci in posizioni note, per misurare in millimetri "
                       "lo scarto della stampante"),
        &SlipPrintWindow::onCalibrationClicked);
    grid->addWidget(calibrationButton_, buttonsRow + 2, 0);
    return margins;
}

QLayout* SlipPrintWindow::createOneSlipRow() {
    printSlipButton_ = createButton(this, "printSlipButton", QStringLiteral("Stampa schedina nº:"),
                                    QStringLiteral("Stampa la schedina indicata"),
                                    &SlipPrintWindow::onPrintSlipClicked);
    slipNumberEdit_ = slipField(this, "slipNumberEdit", QStringLiteral("Numero della schedina"));
    viewSlipButton_ = createButton(this, "viewSlipButton", QStringLiteral("Visualizza schedina"),
                                   QStringLiteral("Mostra le colonne della schedina indicata"),
                                   &SlipPrintWindow::onViewSlipClicked);
    return controlRow({printSlipButton_, slipNumberEdit_, viewSlipButton_, nullptr});
}

QLayout* SlipPrintWindow::createAllSlipsRow() {
    printAllButton_ =
        createButton(this, "printAllButton", QStringLiteral("Stampale tutte dalla nº:"),
                     QStringLiteral("Stampa tutte le schedine dalla indicata in poi"),
                     &SlipPrintWindow::onPrintAllClicked);
    firstSlipEdit_ = slipField(this, "firstSlipEdit", QStringLiteral("Prima schedina da stampare"));
    createRunControls(QStringLiteral("Interrompe la stampa delle schedine"));
    // The run's controls on a line of their own, the progress text as wide as the line.
    auto* rows = new QVBoxLayout;
    rows->addLayout(controlRow({printAllButton_, firstSlipEdit_, nullptr}));
    QHBoxLayout* run = controlRow({stopButton_, progressBar_});
    run->setStretchFactor(progressBar_, 1);
    rows->addLayout(run);
    return rows;
}

QLayout* SlipPrintWindow::createCommandRow() {
    printerSetupButton_ = createPrinterSetupButton();
    previewButton_ = createButton(this, "previewButton", QStringLiteral("&Anteprima"),
                                  QStringLiteral("Mostra la schedina indicata come verrà stampata"),
                                  &SlipPrintWindow::onPreviewClicked);
    savePdfButton_ =
        createButton(this, "savePdfButton", QStringLiteral("Salva &PDF"),
                     QStringLiteral("Scrive in un file PDF le schedine dalla indicata in poi"),
                     &SlipPrintWindow::onSavePdfClicked);
    closeButton_ = createButton(this, "closeButton", QStringLiteral("Chiudi"),
                                QStringLiteral("Chiude la scheda"), &SlipPrintWindow::reject);
    return controlRow({printerSetupButton_, previewButton_, savePdfButton_, nullptr, closeButton_});
}

void SlipPrintWindow::addSlipNumberBox(QCheckBox* box) {
    static_cast<QVBoxLayout*>(layout())->insertWidget(1, box);
    // Tab reaches it where it stands, under the margins, not after "Chiudi".
    setTabOrder(helpButton_, box);
}

std::size_t SlipPrintWindow::slipCountNow() const {
    return slipCount(finalColumnCount());
}

void SlipPrintWindow::showEvent(QShowEvent* event) {
    if (!running())
        refreshFromSystem();
    TiledDialog::showEvent(event);
}

void SlipPrintWindow::refreshFromSystem() {
    showLayoutValues();
    fields_.front()->setFocus();
    nextSlip_ = 1;
    showNextSlip();
    setWholeTitle(QStringLiteral("%1 di %2 colonne in %3 schedine")
                      .arg(captionStart())
                      .arg(finalColumnCount())
                      .arg(slipCountNow()));
    columnList_.setListFontSize(12);
}

SheetMillimetres SlipPrintWindow::sheet() {
    const QSizeF size = programPrinter().pageLayout().fullRect(QPageLayout::Millimeter).size();
    return {size.width(), size.height()};
}

void SlipPrintWindow::showLayoutValues() {
    shownTexts_ = layoutFieldMillimetres(layout_, state_.layout, sheet());
    for (qsizetype i = 0; i < fields_.size(); ++i)
        fields_[i]->setText(QString::fromStdString(shownTexts_[static_cast<std::size_t>(i)]));
}

std::vector<std::string> SlipPrintWindow::fieldFractions() const {
    std::vector<std::string> typed;
    for (QLineEdit* edit : fields_)
        typed.push_back(edit->text().toStdString());
    return fractionTextsFromMillimetres(layout_, typed, shownTexts_, state_.layout, sheet());
}

void SlipPrintWindow::printerChosen() {
    // The same millimetres on another paper are other fractions: the values typed are taken
    // on the old paper and shown on the new one.
    if (applyLayoutFields())
        showLayoutValues();
}

void SlipPrintWindow::showNextSlip() {
    slipNumberEdit_->setText(QString::number(nextSlip_));
    firstSlipEdit_->setText(QString::number(nextSlip_));
}

bool SlipPrintWindow::applyLayoutFields() {
    const TakenValues taken = quintor::takeLayoutFields(layout_, fieldFractions(), state_.layout);
    if (taken.ok) {
        showLayoutValues();
        return true;
    }
    fields_[static_cast<qsizetype>(taken.invalidField)]->setFocus();
    showError(this, errorTitle, QString::fromUtf8(unreadableMarginsMessage));
    return false;
}

std::optional<std::size_t> SlipPrintWindow::readSlipNumber(QLineEdit* edit) {
    QString text = edit->text();
    while (text.startsWith(QLatin1Char(' ')))
        text.remove(0, 1);
    const auto value = parseInteger(text.toStdString());
    if (!value) {
        edit->setFocus();
        showError(this, errorTitle, badSlipNumberMessage);
        return std::nullopt;
    }
    if (*value < 1 || static_cast<std::size_t>(*value) > slipCountNow()) {
        edit->setFocus();
        showError(this, errorTitle, slipOutOfRangeMessage);
        return std::nullopt;
    }
    nextSlip_ = static_cast<std::size_t>(*value);
    return nextSlip_;
}

QString SlipPrintWindow::jobTitle(const QString& what) const {
    const QString system = QFileInfo(QString::fromStdString(state_.fileName)).fileName();
    return system.isEmpty() ? QStringLiteral("Quintor - %1").arg(what)
                            : QStringLiteral("Quintor - %1 - %2").arg(system, what);
}

bool SlipPrintWindow::printSlipPage(std::size_t slip, PageSequence& pages) {
    if (!pages.startPage(jobTitle(QStringLiteral("schedina %1").arg(slip))))
        return false;
    const SlipPicture picture = slipPicture(layout_, state_.layout, printablePage(pages.device()),
                                            state_.finalColumns, slip, printsSlipNumber());
    paintSlip(pages.painter(), picture);
    if (!pages.endPage())
        return false;
    incompleteRows_.insert(incompleteRows_.end(), picture.plan.incompleteRows.begin(),
                           picture.plan.incompleteRows.end());
    return true;
}

void SlipPrintWindow::tellIncompleteColumns() {
    if (incompleteRows_.empty())
        return;
    Question question;
    question.title = QString::fromUtf8(incompleteColumnsTitle);
    question.text = QString::fromStdString(incompleteColumnsMessage(incompleteRows_));
    question.icon = QMessageBox::Warning;
    Prompter::current().ask(this, question);
    incompleteRows_.clear();
}

void SlipPrintWindow::onRestoreDefaultsClicked() {
    if (askQuestion(this, QString::fromUtf8(restoreDefaultsTitle),
                    QString::fromUtf8(restoreDefaultsQuestion), QMessageBox::Yes | QMessageBox::No,
                    QMessageBox::No) != QMessageBox::Yes)
        return;
    restoreDefaultLayout(layout_, state_.layout);
    showLayoutValues();
}

void SlipPrintWindow::onRegisterSettingsClicked() {
    const RegisterResult result =
        registerLayoutSettings(programFolder(), layout_, fieldFractions(), state_.layout);
    if (result.outcome == RegisterOutcome::registered) {
        showLayoutValues();
        return;
    }
    if (result.outcome == RegisterOutcome::unreadableValues)
        fields_[static_cast<qsizetype>(result.invalidField)]->setFocus();
    showError(this, errorTitle, QString::fromStdString(registerMessage(result.outcome)));
}

void SlipPrintWindow::onTestSlipClicked() {
    if (!applyLayoutFields())
        return;
    const auto outcome = runPrint(this, {}, [&](PageSequence& pages) {
        HourglassGuard hourglass;
        if (!pages.startPage(jobTitle(QStringLiteral("schedina di prova"))))
            return PrintOutcome::failed;
        paintSlip(pages.painter(),
                  testSlipPicture(layout_, state_.layout, printablePage(pages.device())));
        return pages.endPage() ? PrintOutcome::done : PrintOutcome::failed;
    });
    if (outcome == PrintOutcome::failed)
        showError(this, errorTitle, QString::fromUtf8(printFailedMessage));
}

void SlipPrintWindow::onCalibrationClicked() {
    const auto outcome = runPrint(this, {}, [&](PageSequence& pages) {
        HourglassGuard hourglass;
        if (!pages.startPage(jobTitle(QStringLiteral("foglio di taratura"))))
            return PrintOutcome::failed;
        const SheetMillimetres paper = sheet();
        paintCalibrationPage(pages.painter(), QSizeF(paper.width, paper.height));
        return pages.endPage() ? PrintOutcome::done : PrintOutcome::failed;
    });
    if (outcome == PrintOutcome::failed)
        showError(this, errorTitle, QString::fromUtf8(printFailedMessage));
}

void SlipPrintWindow::onPrintSlipClicked() {
    if (!applyLayoutFields())
        return;
    const auto slip = readSlipNumber(slipNumberEdit_);
    if (!slip)
        return;
    const auto outcome = runPrint(this, {}, [&](PageSequence& pages) {
        HourglassGuard hourglass;
        return printSlipPage(*slip, pages) ? PrintOutcome::done : PrintOutcome::failed;
    });
    if (!outcome)
        return;
    if (*outcome != PrintOutcome::done) {
        incompleteRows_.clear();
        showError(this, errorTitle, QString::fromUtf8(printFailedMessage));
        return;
    }
    nextSlip_ = nextSlip_ + 1 > slipCountNow() ? 1 : nextSlip_ + 1;
    showNextSlip();
    tellIncompleteColumns();
}

void SlipPrintWindow::onViewSlipClicked() {
    const auto slip = readSlipNumber(slipNumberEdit_);
    if (!slip)
        return;
    ColumnListWindow& view = columnList_;
    view.clearLines();
    const SlipRange range = slipContents(*slip, finalColumnCount());
    for (std::size_t row = range.first; row <= range.last; ++row)
        view.addLine(QString::fromLatin1(formatColumn(state_.finalColumns[row - 1])));
    view.setWindowTitle(QStringLiteral("Schedina nº: %1").arg(*slip));
    view.exec();
}

void SlipPrintWindow::onPrintAllClicked() {
    if (running() || !applyLayoutFields())
        return;
    const auto first = readSlipNumber(firstSlipEdit_);
    if (first)
        printAll(*first, {});
}

void SlipPrintWindow::onSavePdfClicked() {
    if (running() || !applyLayoutFields())
        return;
    const auto first = readSlipNumber(firstSlipEdit_);
    if (!first)
        return;
    const QString file = askPdfFileName(this);
    if (!file.isEmpty())
        printAll(*first, file);
}

void SlipPrintWindow::printAll(std::size_t first, const QString& pdfFile) {
    incompleteRows_.clear();
    const auto outcome =
        runPrint(this, pdfFile, [&](PageSequence& pages) { return printAllFrom(first, pages); });
    if (outcome == PrintOutcome::failed)
        showError(this, errorTitle, QString::fromUtf8(printFailedMessage));
    tellIncompleteColumns();
}

PrintOutcome SlipPrintWindow::printAllFrom(std::size_t first, PageSequence& pages) {
    const std::size_t slips = slipCountNow();
    nextSlip_ = first;
    progressBar_->setRange(0, static_cast<int>(slips));
    progressBar_->setValue(static_cast<int>(first - 1));
    setRunning(true);
    PrintOutcome outcome = PrintOutcome::done;
    do {
        // One slip a round: a click on the stop button is seen between slips.
        if (!keepRunning()) {
            outcome = PrintOutcome::stopped;
            break;
        }
        progressBar_->setFormat(QStringLiteral("Schedina %1 di %2").arg(nextSlip_).arg(slips));
        if (!printSlipPage(nextSlip_, pages)) {
            outcome = PrintOutcome::failed;
            break;
        }
        progressBar_->setValue(static_cast<int>(nextSlip_));
        nextSlip_ = nextSlip_ + 1 > slips ? 1 : nextSlip_ + 1;
        showNextSlip();
    } while (nextSlip_ != 1);
    setRunning(false);
    return outcome;
}

void SlipPrintWindow::onPreviewClicked() {
    if (!applyLayoutFields())
        return;
    std::optional<std::size_t> slip;
    if (slipCountNow() > 0) {
        slip = readSlipNumber(slipNumberEdit_);
        if (!slip)
            return;
    }
    QPrintPreviewDialog preview(&programPrinter(), this);
    preview.setObjectName(QStringLiteral("previewDialog"));
    namePreviewControls(preview);
    preview.setWindowTitle(slip ? QStringLiteral("Anteprima della schedina nº %1").arg(*slip)
                                : QStringLiteral("Anteprima della schedina di prova"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter* printer) {
        QPainter painter(printer);
        const PageSize page = printablePage(*printer);
        SlipPicture picture = slip ? slipPicture(layout_, state_.layout, page, state_.finalColumns,
                                                 *slip, printsSlipNumber())
                                   : testSlipPicture(layout_, state_.layout, page);
        // On screen the boxes show which numbers the marks fall on; the dialog's own print
        // button paints on the printer, and paper has its boxes already.
        if (painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Picture)
            picture.boxes = slipBoxes(layout_, state_.layout, page);
        paintSlip(painter, picture);
    });
    preview.exec();
}

} // namespace quintor
