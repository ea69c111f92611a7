#include "gui/system/number_probability_dialog.h"

#include "core/conversions.h"
#include "gui/common/background.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"
#include "gui/common/prompter.h"
#include "gui/common/title_room.h"
#include "gui/common/window_help.h"

#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>

#include <charconv>

namespace quintor {

NumberProbabilityDialog::NumberProbabilityDialog(
    const std::array<std::uint8_t, boardSize + 1>& marked,
    std::array<Real48, boardSize + 1>& probabilities, QWidget* parent)
    : QDialog(parent), marked_(marked), probabilities_(probabilities),
      background_(backgroundPicture(100, 100)) {
    setObjectName(QStringLiteral("NumberProbabilityDialog"));
    setWindowTitle(QStringLiteral("Probabilità dei numeri"));
    // As wide as the title needs; the table takes the extra width, the buttons stay at the right.
    setFixedSize(withRoomForTitle(this, QSize(231, 320)));
    useFixedDialogFrame(this);
    const int buttonsLeft = width() - 83;

    probabilityTable_ = new QTableWidget(this);
    probabilityTable_->setObjectName(QStringLiteral("probabilityTable"));
    probabilityTable_->setAccessibleName(QStringLiteral("Probabilità dei numeri"));
    probabilityTable_->setGeometry(8, 8, buttonsLeft - 14, 304);
    probabilityTable_->setColumnCount(2);
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(11);
    probabilityTable_->setFont(small);
    probabilityTable_->horizontalHeader()->hide();
    probabilityTable_->verticalHeader()->hide();
    // "Probabilità" and "100.00000" need a little more than the classic 55 pixels here
    probabilityTable_->setColumnWidth(0, 48);
    probabilityTable_->setColumnWidth(1, 64);
    probabilityTable_->verticalHeader()->setDefaultSectionSize(16);
    // The probabilities take the width the title asked of the dialog.
    probabilityTable_->horizontalHeader()->setStretchLastSection(true);

    applyButton_ = new QPushButton(QStringLiteral("Applica"), this);
    applyButton_->setObjectName(QStringLiteral("applyButton"));
    applyButton_->setDefault(true);
    applyButton_->setGeometry(buttonsLeft, 8, 77, 28);
    setHint(applyButton_, QStringLiteral("Chiude la scheda e applica le modiche."));
    connect(applyButton_, &QPushButton::clicked, this, &NumberProbabilityDialog::onApplyClicked);

    cancelButton_ = new QPushButton(QStringLiteral("Annulla"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    cancelButton_->setGeometry(buttonsLeft, 42, 77, 28);
    setHint(cancelButton_, QStringLiteral("Chiude la scheda senza applicare le modifiche."));
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    helpButton_ = new QPushButton(QStringLiteral("?"), this);
    helpButton_->setObjectName(QStringLiteral("helpButton"));
    helpButton_->setAccessibleName(QStringLiteral("Spiegazioni"));
    helpButton_->setGeometry(buttonsLeft, 76, 32, 28);
    helpButton_->setEnabled(helpAvailable());
    setHint(helpButton_, QStringLiteral("Spiegazioni"));
    connect(helpButton_, &QPushButton::clicked, this, &NumberProbabilityDialog::onHelpClicked);
    attachHelpTopic(this, HelpTopic::NumberProbabilities);

    fillTable();
}

QString NumberProbabilityDialog::probabilityText(const Real48& value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value.value()),
                      std::chars_format::fixed, 5);
    return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer)).rightJustified(3);
}

void NumberProbabilityDialog::fillTable() {
    int rows = 1;
    for (int n = 1; n <= boardSize; ++n)
        rows += marked_[static_cast<std::size_t>(n)] == 1 ? 1 : 0;
    probabilityTable_->setRowCount(rows);
    auto fixedCell = [](const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(QColor(212, 208, 200));
        return item;
    };
    probabilityTable_->setItem(0, 0, fixedCell(QStringLiteral("Numero")));
    probabilityTable_->setItem(0, 1, fixedCell(QStringLiteral("Probabilità")));
    int row = 1;
    for (int n = 1; n <= boardSize; ++n) {
        if (marked_[static_cast<std::size_t>(n)] != 1)
            continue;
        probabilityTable_->setItem(row, 0, fixedCell(QString::number(n)));
        probabilityTable_->setItem(
            row, 1,
            new QTableWidgetItem(probabilityText(probabilities_[static_cast<std::size_t>(n)])));
        ++row;
    }
}

void NumberProbabilityDialog::onApplyClicked() {
    int row = 1;
    for (int n = 1; n <= boardSize; ++n) {
        if (marked_[static_cast<std::size_t>(n)] != 1)
            continue;
        const QTableWidgetItem* item = probabilityTable_->item(row, 1);
        const std::string text = item ? item->text().toStdString() : std::string();
        const auto value = parseReal(text);
        if (!value || *value < 0 || *value > 100) {
            showError(this, QStringLiteral("Errore !"),
                      QStringLiteral("Errore leggendo le probabilità !\rAlcuni valori inseriti non "
                                     "sono numerici.\rCorreggere e riprovare."));
            probabilityTable_->setFocus();
            return;
        }
        probabilities_[static_cast<std::size_t>(n)] = Real48::fromValue(*value);
        ++row;
    }
    accept();
}

void NumberProbabilityDialog::onHelpClicked() {
    showHelpTopic(HelpTopic::NumberProbabilities);
}

void NumberProbabilityDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    tileBackground(painter, size(), background_);
}

} // namespace quintor
