#include "gui/archive/number_distribution_dialog.h"

#include "core/comparison.h"
#include "gui/common/background.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"
#include "gui/common/window_help.h"

#include <QPainter>
#include <QPushButton>
#include <QStringList>

namespace quintor {

NumberDistributionDialog::NumberDistributionDialog(const std::vector<Column>& finalColumns,
                                                   QWidget* parent)
    : QDialog(parent), finals_(finalColumns), background_(backgroundPicture(68, 21)) {
    setObjectName(QStringLiteral("numberDistributionDialog"));
    setWindowTitle(QStringLiteral("Distribuzione dei segni"));
    setFixedSize(507, 326);
    useFixedDialogFrame(this);
    // 8 points at 96 dots per inch; the Arial metrics keep two digits within a 15-pixel slot
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    setFont(font);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    okButton_->setGeometry(412, 288, 85, 28);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    helpButton_ = new QPushButton(QStringLiteral("?"), this);
    helpButton_->setObjectName(QStringLiteral("helpButton"));
    helpButton_->setGeometry(372, 288, 32, 28);
    helpButton_->setEnabled(helpAvailable());
    helpButton_->setAccessibleName(QStringLiteral("Spiegazioni"));
    setHint(helpButton_, QStringLiteral("Spiegazioni"));
    connect(helpButton_, &QPushButton::clicked, this, &NumberDistributionDialog::onHelpClicked);
    attachHelpTopic(this, HelpTopic::Distribution);
}

void NumberDistributionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!countsReady_)
        countNumbers();
}

void NumberDistributionDialog::countNumbers() {
    HourglassGuard hourglass;
    counts_ = distributionCounts(finals_);
    countsReady_ = true;
    // The bars are painted, not widgets: a screen reader gets the same figures as text.
    QStringList held;
    for (int number = 1; number < static_cast<int>(counts_.size()); ++number)
        if (const std::size_t count = counts_[static_cast<std::size_t>(number)])
            held << QStringLiteral("%1: %2").arg(number).arg(count);
    setAccessibleDescription(
        held.isEmpty() ? QStringLiteral("Nessun numero nelle colonne finali.")
                       : QStringLiteral("Colonne finali che contengono ciascun numero: %1.")
                             .arg(held.join(QStringLiteral(", "))));
    update();
}

void NumberDistributionDialog::onHelpClicked() {
    showHelpTopic(HelpTopic::Distribution);
}

void NumberDistributionDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    tileBackground(painter, size(), background_);
    if (!countsReady_)
        return;

    const QColor silver(192, 192, 192);
    const QColor darkGreen(0, 128, 0);
    const QColor brightGreen(0, 255, 0);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(silver);

    const DistributionChart chart = distributionChart(counts_);
    for (const ChartLine& line : chart.axes)
        painter.drawLine(line.x1, line.y1, line.x2, line.y2);
    for (const ChartLine& line : chart.ticks)
        painter.drawLine(line.x1, line.y1, line.x2, line.y2);
    for (const ChartBar& bar : chart.bars) {
        // outline in dark green, the inside in bright green, right and lower edges excluded
        painter.fillRect(bar.left, bar.top, bar.width, bar.height, darkGreen);
        if (bar.width > 2 && bar.height > 2)
            painter.fillRect(bar.left + 1, bar.top + 1, bar.width - 2, bar.height - 2, brightGreen);
    }

    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(silver);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font());
    for (int number : chart.labelled) {
        const QString text = QString::number(number);
        const int width = metrics.horizontalAdvance(text);
        painter.drawText(distributionLabelX(number, width), chartLabelY + metrics.ascent(), text);
    }
}

} // namespace quintor
