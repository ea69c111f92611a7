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

} // namespace

WinningColumnDialog::WinningColumnDialog(const std::vector<Column>& finalColumns,
                                         ColumnListWindow& visua, QWidget* parent)
    : QDialog(parent), finals_(finalColumns), visua_(visua),
      background_(backgroundPicture(28, 28)) {
    setObjectName(QStringLiteral("CONF"));
    setWindowTitle(QStringLiteral("Confronto con la colonna vincente"));
    setFixedSize(539, 191);
    useFixedDialogFrame(this);
    QFont bold(QStringLiteral("Arial"));
    bold.setBold(true);
    bold.setPixelSize(13);
    setFont(bold);
    QFont big = bold;
    big.setPixelSize(16);

    auto* label1 = new QLabel(
        QStringLiteral("Inserire i sei numeri della colonna vincente (separarli con uno spazio):"),
        this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(8, 6, 523, 20);

    CV = new QLineEdit(this);
    CV->setObjectName(QStringLiteral("CV"));
    CV->setMaxLength(30);
    CV->setFont(big);
    CV->setGeometry(8, 28, 300, 28);
    CV->setAccessibleName(label1->text());
    connect(CV, &QLineEdit::textChanged, this, &WinningColumnDialog::CVChange);

    auto* panel = new BevelPanel(this);
    panel->setObjectName(QStringLiteral("Miopan1"));
    panel->setGeometry(8, 62, 523, 84);
    auto* title = new QLabel(QStringLiteral("Punti realizzati"), panel);
    title->setObjectName(QStringLiteral("Label22"));
    title->setGeometry(8, 4, 200, 18);

    const int cellWidth = 48;
    const int firstX = 120;
    cell(panel, QStringLiteral("Label2"), QStringLiteral("Punti: "), QRect(8, 26, 110, 24), false,
         bold);
    cell(panel, QStringLiteral("Label3"), QStringLiteral("Nº colonne: "), QRect(8, 52, 110, 24),
         false, bold);
    for (int m = 0; m <= 6; ++m) {
        const bool yellow = m >= 3;
        const QFont& font = yellow ? big : bold;
        const int x = firstX + m * (cellWidth + 8);
        cell(panel, QStringLiteral("Label%1").arg(4 + m), QString::number(m),
             QRect(x, 26, cellWidth, 24), yellow, font);
        QLabel* counter = cell(panel, QStringLiteral("Label%1").arg(13 + m), QStringLiteral("0"),
                               QRect(x, 52, cellWidth, 24), yellow, font);
        counter->setToolTip(QStringLiteral("0"));
        counters_[static_cast<std::size_t>(m)] = counter;
    }

    atz = new QLabel(
        QStringLiteral("Alcune colonne realizzano 5 punti. Controllare il NUMERO JOLLY !!!!"),
        this);
    atz->setObjectName(QStringLiteral("atz"));
    atz->setStyleSheet(QStringLiteral("color: white; background: black;"));
    // One line beside the close button: the font steps down until the warning fits.
    atz->setGeometry(8, 152, 425, 30);
    atz->setIndent(4);
    QFont warningFont = atz->font();
    warningFont.setPixelSize(13);
    while (warningFont.pixelSize() > 8 &&
           QFontMetrics(warningFont).horizontalAdvance(atz->text()) + 8 > atz->width())
        warningFont.setPixelSize(warningFont.pixelSize() - 1);
    atz->setFont(warningFont);
    atz->hide();

    VICO = new QPushButton(QStringLiteral("Visualizza colonne"), this);
    VICO->setObjectName(QStringLiteral("VICO"));
    VICO->setGeometry(316, 28, 140, 28);
    VICO->hide();
    connect(VICO, &QPushButton::clicked, this, &WinningColumnDialog::VICOClick);

    BITBTN2 = new QPushButton(QStringLiteral("Chiudi"), this);
    BITBTN2->setObjectName(QStringLiteral("BITBTN2"));
    BITBTN2->setGeometry(441, 152, 90, 30);
    setHint(BITBTN2, QStringLiteral("Chiude la scheda."));
    connect(BITBTN2, &QPushButton::clicked, this, &WinningColumnDialog::BITBTN2Click);
}

void WinningColumnDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activated_) {
        activated_ = true;
        FormActivate();
    }
}

void WinningColumnDialog::FormActivate() {
    CV->setFocus();
    visua_.setWindowTitle(QStringLiteral("Colonne vincenti"));
    visua_.setListFontSize(10);
    atz->hide();
    VICO->hide();
}

void WinningColumnDialog::CVChange(const QString& text) {
    HourglassGuard hourglass;
    visua_.clearLines();
    const TypedColumn typed = parseTypedColumn(text.toStdString());
    if (typed.beep)
        beep();
    const ComparisonResult result = compareWithWinning(typed.column, finals_);
    for (const std::string& line : result.lines)
        visua_.addLine(QString::fromStdString(line));
    for (std::size_t m = 0; m < counters_.size(); ++m) {
        const QString count = QString::number(result.counters[m]);
        counters_[m]->setText(count);
        counters_[m]->setToolTip(count);
    }
    VICO->setVisible(!result.lines.empty());
    atz->setVisible(result.jollyWarning);
}

void WinningColumnDialog::VICOClick() {
    visua_.exec();
}

void WinningColumnDialog::BITBTN2Click() {
    accept();
}

void WinningColumnDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    tileBackground(painter, size(), background_);
}

} // namespace quintor
