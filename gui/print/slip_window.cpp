#include "gui/print/slip_window.h"

#include "core/column.h"
#include "core/conversions.h"
#include "core/program_folder.h"
#include "core/slip_layout.h"
#include "gui/common/column_list_window.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"
#include "gui/common/prompter.h"
#include "gui/print/printer.h"
#include "render/print_renderer.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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

QLineEdit* slipField(QWidget* parent, const char* name, const QString& accessibleName) {
    auto* edit = new QLineEdit(QStringLiteral("1"), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAccessibleName(accessibleName);
    edit->setFixedWidth(70);
    return edit;
}

} // namespace

SlipPrintWindow::SlipPrintWindow(SlipLayout layout, SystemState& state, QWidget* parent)
    : PrintWindow(parent), layout_(layout), state_(state) {
    auto* margins = new QGroupBox(QStringLiteral("Margini"), this);
    margins->setObjectName(QStringLiteral("GroupBox1"));
    marginsGroup_ = margins;
    auto* grid = new QGridLayout(margins);
    const auto records = fieldRecords(layout);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const QString name = i < 5 ? QStringLiteral("Edit%1").arg(i + 1) : QStringLiteral("Edit8");
        auto* label = new QLabel(QString::fromUtf8(recordLabels[records[i]]), margins);
        auto* edit = new QLineEdit(margins);
        edit->setObjectName(name);
        edit->setAccessibleName(label->text());
        edit->setFixedWidth(110);
        label->setBuddy(edit);
        grid->addWidget(label, static_cast<int>(i), 0);
        grid->addWidget(edit, static_cast<int>(i), 1);
        fields_.append(edit);
    }
    SB11 = printWindowButton(margins, "SB11", QStringLiteral("Ripristina valori originali"),
                             QStringLiteral("Ripristina i valori originali dei margini"));
    SpeedButton10 =
        printWindowButton(margins, "SpeedButton10", QStringLiteral("Registra impostazioni"),
                          QStringLiteral("Registra i margini per i prossimi sistemi"));
    SpeedButton8 =
        printWindowButton(margins, "SpeedButton8", QStringLiteral("Stampa schedina di prova"),
                          QStringLiteral("Stampa una schedina con i segni agli angoli"));
    HLP3 = new QToolButton(margins);
    HLP3->setObjectName(QStringLiteral("HLP3"));
    HLP3->setText(QStringLiteral("Spiegazioni"));
    HLP3->setEnabled(helpAvailable());
    setHint(HLP3, QStringLiteral("Spiegazioni"));
    connect(HLP3, &QToolButton::clicked, this, [layout] {
        showHelpTopic(layout == SlipLayout::vertical ? HelpTopic::VerticalPrinting
                                                     : HelpTopic::HorizontalPrinting);
    });
    const int buttonsRow = static_cast<int>(records.size());
    grid->addWidget(SB11, buttonsRow, 0);
    grid->addWidget(SpeedButton10, buttonsRow, 1);
    grid->addWidget(SpeedButton8, buttonsRow + 1, 0);
    grid->addWidget(HLP3, buttonsRow + 1, 1);

    SpeedButton5 = printWindowButton(this, "SpeedButton5", QStringLiteral("Stampa schedina nº:"),
                                     QStringLiteral("Stampa la schedina indicata"));
    Edit6 = slipField(this, "Edit6", QStringLiteral("Numero della schedina"));
    SpeedButton1 = printWindowButton(this, "SpeedButton1", QStringLiteral("Visualizza schedina"),
                                     QStringLiteral("Mostra le colonne della schedina indicata"));
    SpeedButton6 =
        printWindowButton(this, "SpeedButton6", QStringLiteral("Stampale tutte dalla nº:"),
                          QStringLiteral("Stampa tutte le schedine dalla indicata in poi"));
    Edit7 = slipField(this, "Edit7", QStringLiteral("Prima schedina da stampare"));
    createRunControls(QStringLiteral("Interrompe la stampa delle schedine"));
    progress_->setFixedWidth(190);
    spb7 = printWindowButton(this, "spb7", QStringLiteral("Imposta stampante"),
                             QStringLiteral("Sceglie la stampante, la carta e l'orientamento"));
    Anteprima =
        printWindowButton(this, "Anteprima", QStringLiteral("&Anteprima"),
                          QStringLiteral("Mostra la schedina indicata come verrà stampata"));
    SalvaPdf = printWindowButton(
        this, "SalvaPdf", QStringLiteral("Salva &PDF"),
        QStringLiteral("Scrive in un file PDF le schedine dalla indicata in poi"));
    BITBTN2 = printWindowButton(this, "BITBTN2", QStringLiteral("Chiudi"),
                                QStringLiteral("Chiude la scheda"));

    auto* one = new QHBoxLayout;
    one->addWidget(SpeedButton5);
    one->addWidget(Edit6);
    one->addWidget(SpeedButton1);
    one->addStretch();
    auto* all = new QHBoxLayout;
    all->addWidget(SpeedButton6);
    all->addWidget(Edit7);
    all->addWidget(FESTA);
    all->addWidget(progress_);
    all->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(spb7);
    bottom->addWidget(Anteprima);
    bottom->addWidget(SalvaPdf);
    bottom->addStretch();
    bottom->addWidget(BITBTN2);
    auto* column = new QVBoxLayout(this);
    column->addWidget(margins);
    column->addLayout(one);
    column->addLayout(all);
    column->addLayout(bottom);
    column->setSpacing(10);
    setMinimumWidth(560);

    setIdleControls({margins, SpeedButton5, Edit6, SpeedButton1, SpeedButton6, Edit7, spb7,
                     Anteprima, SalvaPdf, BITBTN2});

    connect(SB11, &QPushButton::clicked, this, &SlipPrintWindow::SB11Click);
    connect(SpeedButton10, &QPushButton::clicked, this, &SlipPrintWindow::SpeedButton10Click);
    connect(SpeedButton8, &QPushButton::clicked, this, &SlipPrintWindow::SpeedButton8Click);
    connect(SpeedButton5, &QPushButton::clicked, this, &SlipPrintWindow::SpeedButton5Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &SlipPrintWindow::SpeedButton1Click);
    connect(SpeedButton6, &QPushButton::clicked, this, &SlipPrintWindow::SpeedButton6Click);
    connect(spb7, &QPushButton::clicked, this, &SlipPrintWindow::spb7Click);
    connect(Anteprima, &QPushButton::clicked, this, &SlipPrintWindow::AnteprimaClick);
    connect(SalvaPdf, &QPushButton::clicked, this, &SlipPrintWindow::SalvaPdfClick);
    connect(BITBTN2, &QPushButton::clicked, this, &SlipPrintWindow::reject);
}

void SlipPrintWindow::addSlipNumberBox(QCheckBox* box) {
    static_cast<QVBoxLayout*>(layout())->insertWidget(1, box);
    // Tab reaches it where it stands, under the margins, not after "Chiudi".
    setTabOrder(HLP3, box);
}

std::size_t SlipPrintWindow::slipCountNow() const {
    return slipCount(finalColumnCount());
}

void SlipPrintWindow::showEvent(QShowEvent* event) {
    if (!running())
        FormActivate();
    TiledDialog::showEvent(event);
}

void SlipPrintWindow::FormActivate() {
    showLayoutValues();
    fields_.front()->setFocus();
    nextSlip_ = 1;
    showNextSlip();
    setWindowTitle(QStringLiteral("%1 di %2 colonne in %3 schedine")
                       .arg(captionStart())
                       .arg(finalColumnCount())
                       .arg(slipCountNow()));
    ColumnListWindow::shared().setListFontSize(12);
}

void SlipPrintWindow::showLayoutValues() {
    const auto texts = layoutFieldTexts(layout_, state_.layout);
    for (qsizetype i = 0; i < fields_.size(); ++i)
        fields_[i]->setText(QString::fromStdString(texts[static_cast<std::size_t>(i)]));
}

void SlipPrintWindow::showNextSlip() {
    Edit6->setText(QString::number(nextSlip_));
    Edit7->setText(QString::number(nextSlip_));
}

bool SlipPrintWindow::takeLayoutFields() {
    std::vector<std::string> texts;
    for (QLineEdit* edit : fields_)
        texts.push_back(edit->text().toStdString());
    const TakenValues taken = quintor::takeLayoutFields(layout_, texts, state_.layout);
    if (taken.ok)
        return true;
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

bool SlipPrintWindow::printSlip(std::size_t slip, PageSequence& pages) {
    if (!pages.startPage())
        return false;
    const SlipPicture picture = slipPicture(layout_, state_.layout, printablePage(pages.device()),
                                            state_.finalColumns, slip, printsSlipNumber());
    paintSlip(pages.painter(), picture);
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

void SlipPrintWindow::SB11Click() {
    if (askQuestion(this, QString::fromUtf8(restoreDefaultsTitle),
                    QString::fromUtf8(restoreDefaultsQuestion), QMessageBox::Yes | QMessageBox::No,
                    QMessageBox::No) != QMessageBox::Yes)
        return;
    restoreDefaultLayout(layout_, state_.layout);
    showLayoutValues();
}

void SlipPrintWindow::SpeedButton10Click() {
    std::vector<std::string> texts;
    for (QLineEdit* edit : fields_)
        texts.push_back(edit->text().toStdString());
    const RegisterResult result =
        registerLayoutSettings(programFolder(), layout_, texts, state_.layout);
    if (result.outcome == RegisterOutcome::registered)
        return;
    if (result.outcome == RegisterOutcome::unreadableValues)
        fields_[static_cast<qsizetype>(result.invalidField)]->setFocus();
    showError(this, errorTitle, QString::fromStdString(registerMessage(result.outcome)));
}

void SlipPrintWindow::SpeedButton8Click() {
    if (!takeLayoutFields())
        return;
    const auto pages = openPrintTarget(this);
    if (!pages)
        return;
    HourglassGuard hourglass;
    bool done = pages->startPage();
    if (done)
        paintSlip(pages->painter(),
                  testSlipPicture(layout_, state_.layout, printablePage(pages->device())));
    done = pages->finish() && done;
    hourglass.release();
    if (!done)
        showError(this, errorTitle, QString::fromUtf8(printFailedMessage));
}

void SlipPrintWindow::SpeedButton5Click() {
    if (!takeLayoutFields())
        return;
    const auto slip = readSlipNumber(Edit6);
    if (!slip)
        return;
    const auto pages = openPrintTarget(this);
    if (!pages)
        return;
    HourglassGuard hourglass;
    const bool done = printSlip(*slip, *pages) && pages->finish();
    hourglass.release();
    if (!done) {
        showError(this, errorTitle, QString::fromUtf8(printFailedMessage));
        return;
    }
    nextSlip_ = nextSlip_ + 1 > slipCountNow() ? 1 : nextSlip_ + 1;
    showNextSlip();
    tellIncompleteColumns();
}

void SlipPrintWindow::SpeedButton1Click() {
    const auto slip = readSlipNumber(Edit6);
    if (!slip)
        return;
    ColumnListWindow& view = ColumnListWindow::shared();
    view.clearLines();
    const SlipRange range = slipContents(*slip, finalColumnCount());
    for (std::size_t row = range.first; row <= range.last; ++row)
        view.addLine(QString::fromLatin1(formatColumn(state_.finalColumns[row - 1])));
    view.setWindowTitle(QStringLiteral("Schedina nº: %1").arg(*slip));
    view.exec();
}

void SlipPrintWindow::SpeedButton6Click() {
    if (running() || !takeLayoutFields())
        return;
    const auto first = readSlipNumber(Edit7);
    if (!first)
        return;
    const auto pages = openPrintTarget(this);
    if (pages)
        printAllFrom(*first, *pages);
}

void SlipPrintWindow::SalvaPdfClick() {
    if (running() || !takeLayoutFields())
        return;
    const auto first = readSlipNumber(Edit7);
    if (!first)
        return;
    const QString file = askPdfFileName(this);
    if (file.isEmpty())
        return;
    const auto pages = openPrintTarget(this, file);
    printAllFrom(*first, *pages);
}

void SlipPrintWindow::printAllFrom(std::size_t first, PageSequence& pages) {
    const std::size_t slips = slipCountNow();
    nextSlip_ = first;
    incompleteRows_.clear();
    progress_->setRange(0, static_cast<int>(slips));
    progress_->setValue(static_cast<int>(first - 1));
    setRunning(true);
    bool failed = false;
    do {
        // One slip a round: a click on the stop button is seen between slips.
        if (!keepRunning())
            break;
        progress_->setFormat(QStringLiteral("Schedina %1 di %2").arg(nextSlip_).arg(slips));
        if (!printSlip(nextSlip_, pages)) {
            failed = true;
            break;
        }
        progress_->setValue(static_cast<int>(nextSlip_));
        nextSlip_ = nextSlip_ + 1 > slips ? 1 : nextSlip_ + 1;
        showNextSlip();
    } while (nextSlip_ != 1);
    failed = !pages.finish() || failed;
    setRunning(false);
    if (failed)
        showError(this, errorTitle, QString::fromUtf8(printFailedMessage));
    tellIncompleteColumns();
}

void SlipPrintWindow::AnteprimaClick() {
    if (!takeLayoutFields())
        return;
    std::optional<std::size_t> slip;
    if (slipCountNow() > 0) {
        slip = readSlipNumber(Edit6);
        if (!slip)
            return;
    }
    QPrintPreviewDialog preview(&programPrinter(), this);
    preview.setObjectName(QStringLiteral("AnteprimaDialog"));
    namePreviewControls(preview);
    preview.setWindowTitle(slip ? QStringLiteral("Anteprima della schedina nº %1").arg(*slip)
                                : QStringLiteral("Anteprima della schedina di prova"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&](QPrinter* printer) {
        QPainter painter(printer);
        const PageSize page = printablePage(*printer);
        paintSlip(painter, slip ? slipPicture(layout_, state_.layout, page, state_.finalColumns,
                                              *slip, printsSlipNumber())
                                : testSlipPicture(layout_, state_.layout, page));
    });
    preview.exec();
}

} // namespace quintor
