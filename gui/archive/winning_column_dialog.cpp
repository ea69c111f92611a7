#include "gui/archive/winning_column_dialog.h"

#include "core/comparison.h"
#include "gui/common/background.h"
#include "gui/common/bevel_panel.h"
#include "gui/common/column_list_window.h"
#include "gui/common/feedback.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace quintor {

namespace {

QLabel* cell(QWidget* parent, const QString& name, const QString& text, const QRect& where,
             bool yellow, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(where);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, yellow ? QColor(Qt::yellow) : QColor(Qt::white));
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->setFont(font);
    return label;
}

// The warning that some column hits 5: one line beside the close button, hidden at first; the
// font steps down until it fits.
QLabel* makeJollyWarning(QWidget* parent) {
    auto* warning = new QLabel(
        QStringLiteral("Alcune colonne realizzano 5 punti. Controllare il NUMERO JOLLY !!!!"),
        parent);
    warning->setObjectName(QStringLiteral("jollyWarningLabel"));
    warning->setStyleSheet(QStringLiteral("color: white; background: black;"));
    warning->setGeometry(8, 152, 425, 30);
    warning->setIndent(4);
    QFont font = warning->font();
    font.setPixelSize(13);
    while (font.pixelSize() > 8 &&
           QFontMetrics(font).horizontalAdvance(warning->text()) + 8 > warning->width())
        font.setPixelSize(font.pixelSize() - 1);
    warning->setFont(font);
    warning->hide();
    return warning;
}

} // namespace

WinningColumnDialog::WinningColumnDialog(const std::vector<Column>& finalColumns,
                                         ColumnListWindow& columnList, QWidget* parent)
    : QDialog(parent), finals_(finalColumns), columnList_(columnList),
      background_(backgroundPicture(28, 28)) {
    setObjectName(QStringLiteral("winningColumnDialog"));
    setWindowTitle(QStringLiteral("Confronto con la colonna vincente"));
    setFixedSize(539, 191);
    useFixedDialogFrame(this);
    QFont bold(QStringLiteral("Arial"));
    bold.setBold(true);
    bold.setPixelSize(13);
    setFont(bold);
    QFont big = bold;
    big.setPixelSize(16);

    auto* promptLabel = new QLabel(
        QStringLiteral("Inserire i sei numeri della colonna vincente (separarli con uno spazio):"),
        this);
    promptLabel->setObjectName(QStringLiteral("promptLabel"));
    promptLabel->setGeometry(8, 6, 523, 20);

    winningColumnField_ = new QLineEdit(this);
    winningColumnField_->setObjectName(QStringLiteral("winningColumnField"));
    winningColumnField_->setMaxLength(30);
    winningColumnField_->setFont(big);
    winningColumnField_->setGeometry(8, 28, 300, 28);
    winningColumnField_->setAccessibleName(promptLabel->text());
    connect(winningColumnField_, &QLineEdit::textChanged, this,
            &WinningColumnDialog::onWinningColumnChanged);

    buildPointsPanel(bold, big);
    jollyWarningLabel_ = makeJollyWarning(this);

    showColumnsButton_ = new QPushButton(QStringLiteral("Visualizza colonne"), this);
    showColumnsButton_->setObjectName(QStringLiteral("showColumnsButton"));
    showColumnsButton_->setGeometry(316, 28, 140, 28);
    showColumnsButton_->hide();
    connect(showColumnsButton_, &QPushButton::clicked, this,
            &WinningColumnDialog::onShowColumnsClicked);

    closeButton_ = new QPushButton(QStringLiteral("Chiudi"), this);
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    closeButton_->setGeometry(441, 152, 90, 30);
    setHint(closeButton_, QStringLiteral("Chiude la scheda."));
    connect(closeButton_, &QPushButton::clicked, this, &WinningColumnDialog::onCloseClicked);
}

// "Punti realizzati": the points 0 to 6 over the number of final columns that make them, the
// cells from 3 points up in yellow and a bigger font.
void WinningColumnDialog::buildPointsPanel(const QFont& bold, const QFont& big) {
    auto* panel = new BevelPanel(this);
    panel->setObjectName(QStringLiteral("pointsPanel"));
    panel->setGeometry(8, 62, 523, 84);
    auto* title = new QLabel(QStringLiteral("Punti realizzati"), panel);
    title->setObjectName(QStringLiteral("pointsTitleLabel"));
    title->setGeometry(8, 4, 200, 18);

    const int cellWidth = 48;
    const int firstX = 120;
    cell(panel, QStringLiteral("pointsCaptionLabel"), QStringLiteral("Punti: "),
         QRect(8, 26, 110, 24), false, bold);
    cell(panel, QStringLiteral("countCaptionLabel"), QStringLiteral("Nº colonne: "),
         QRect(8, 52, 110, 24), false, bold);
    for (int m = 0; m <= 6; ++m) {
        const bool yellow = m >= 3;
        const QFont& font = yellow ? big : bold;
        const int x = firstX + m * (cellWidth + 8);
        cell(panel, QStringLiteral("pointsLabel%1").arg(m), QString::number(m),
             QRect(x, 26, cellWidth, 24), yellow, font);
        QLabel* counter = cell(panel, QStringLiteral("countLabel%1").arg(m), QStringLiteral("0"),
                               QRect(x, 52, cellWidth, 24), yellow, font);
        counter->setToolTip(QStringLiteral("0"));
        counters_[static_cast<std::size_t>(m)] = counter;
    }
}

void WinningColumnDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activated_) {
        activated_ = true;
        prepareComparison();
    }
}

void WinningColumnDialog::prepareComparison() {
    winningColumnField_->setFocus();
    columnList_.setWindowTitle(QStringLiteral("Colonne vincenti"));
    columnList_.setListFontSize(10);
    jollyWarningLabel_->hide();
    showColumnsButton_->hide();
}

void WinningColumnDialog::onWinningColumnChanged(const QString& text) {
    HourglassGuard hourglass;
    columnList_.clearLines();
    const TypedColumn typed = parseTypedColumn(text.toStdString());
    if (typed.beep)
        beep();
    const ComparisonResult result = compareWithWinning(typed.column, finals_);
    for (const std::string& line : result.lines)
        columnList_.addLine(QString::fromStdString(line));
    for (std::size_t m = 0; m < counters_.size(); ++m) {
        const QString count = QString::number(result.counters[m]);
        counters_[m]->setText(count);
        counters_[m]->setToolTip(count);
    }
    showColumnsButton_->setVisible(!result.lines.empty());
    jollyWarningLabel_->setVisible(result.jollyWarning);
}

void WinningColumnDialog::onShowColumnsClicked() {
    columnList_.exec();
}

void WinningColumnDialog::onCloseClicked() {
    accept();
}

void WinningColumnDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    tileBackground(painter, size(), background_);
}

} // namespace quintor
