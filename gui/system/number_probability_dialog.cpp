#include "gui/system/number_probability_dialog.h"

#include "core/conversions.h"
#include "gui/common/background.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"
#include "gui/common/prompter.h"

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
    setObjectName(QStringLiteral("PROBA"));
    setWindowTitle(QStringLiteral("Probabilità dei numeri"));
    setFixedSize(231, 320);
    useFixedDialogFrame(this);

    RSIS = new QTableWidget(this);
    RSIS->setObjectName(QStringLiteral("RSIS"));
    RSIS->setAccessibleName(QStringLiteral("Probabilità dei numeri"));
    RSIS->setGeometry(8, 8, 134, 304);
    RSIS->setColumnCount(2);
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(11);
    RSIS->setFont(small);
    RSIS->horizontalHeader()->hide();
    RSIS->verticalHeader()->hide();
    // "Probabilità" and "100.00000" need a little more than the classic 55 pixels here
    RSIS->setColumnWidth(0, 48);
    RSIS->setColumnWidth(1, 64);
    RSIS->verticalHeader()->setDefaultSectionSize(16);

    Button1 = new QPushButton(QStringLiteral("Applica"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button1->setGeometry(148, 8, 77, 28);
    setHint(Button1, QStringLiteral("Chiude la scheda e applica le modiche."));
    connect(Button1, &QPushButton::clicked, this, &NumberProbabilityDialog::Button1Click);

    Button2 = new QPushButton(QStringLiteral("Annulla"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(148, 42, 77, 28);
    setHint(Button2, QStringLiteral("Chiude la scheda senza applicare le modifiche."));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    SpeedButton12 = new QPushButton(QStringLiteral("?"), this);
    SpeedButton12->setObjectName(QStringLiteral("SpeedButton12"));
    SpeedButton12->setAccessibleName(QStringLiteral("Spiegazioni"));
    SpeedButton12->setGeometry(148, 76, 32, 28);
    SpeedButton12->setEnabled(helpAvailable());
    setHint(SpeedButton12, QStringLiteral("Spiegazioni"));
    connect(SpeedButton12, &QPushButton::clicked, this,
            &NumberProbabilityDialog::SpeedButton12Click);

    FormActivate();
}

QString NumberProbabilityDialog::probabilityText(const Real48& value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value.value()),
                      std::chars_format::fixed, 5);
    return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer)).rightJustified(3);
}

void NumberProbabilityDialog::FormActivate() {
    int rows = 1;
    for (int n = 1; n <= boardSize; ++n)
        rows += marked_[static_cast<std::size_t>(n)] == 1 ? 1 : 0;
    RSIS->setRowCount(rows);
    auto fixedCell = [](const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(QColor(212, 208, 200));
        return item;
    };
    RSIS->setItem(0, 0, fixedCell(QStringLiteral("Numero")));
    RSIS->setItem(0, 1, fixedCell(QStringLiteral("Probabilità")));
    int row = 1;
    for (int n = 1; n <= boardSize; ++n) {
        if (marked_[static_cast<std::size_t>(n)] != 1)
            continue;
        RSIS->setItem(row, 0, fixedCell(QString::number(n)));
        RSIS->setItem(
            row, 1,
            new QTableWidgetItem(probabilityText(probabilities_[static_cast<std::size_t>(n)])));
        ++row;
    }
}

void NumberProbabilityDialog::Button1Click() {
    int row = 1;
    for (int n = 1; n <= boardSize; ++n) {
        if (marked_[static_cast<std::size_t>(n)] != 1)
            continue;
        const QTableWidgetItem* item = RSIS->item(row, 1);
        const std::string text = item ? item->text().toStdString() : std::string();
        const auto value = parseReal(text);
        if (!value || *value < 0 || *value > 100) {
            showError(this, QStringLiteral("Errore !"),
                      QStringLiteral("Errore leggendo le probabilità !\rAlcuni valori inseriti non "
                                     "sono numerici.\rCorreggere e riprovare."));
            RSIS->setFocus();
            return;
        }
        probabilities_[static_cast<std::size_t>(n)] = Real48::fromValue(*value);
        ++row;
    }
    accept();
}

void NumberProbabilityDialog::SpeedButton12Click() {
    showHelpTopic(HelpTopic::NumberProbabilities);
}

void NumberProbabilityDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    tileBackground(painter, size(), background_);
}

} // namespace quintor
