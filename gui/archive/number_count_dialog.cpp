#include "gui/archive/number_count_dialog.h"

#include "gui/common/feedback.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <climits>

namespace quintor {

NumberCountDialog::NumberCountDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("numberCountDialog"));
    setWindowTitle(QStringLiteral("Aggiungi numeri più probabili"));
    setFixedSize(338, 175);
    useFixedDialogFrame(this);

    promptLabel_ = new QLabel(QStringLiteral("Nº di segni da aggiungere:"), this);
    promptLabel_->setObjectName(QStringLiteral("promptLabel"));
    promptLabel_->setGeometry(12, 14, 190, 22);
    countField_ = new QLineEdit(QStringLiteral("1"), this);
    countField_->setObjectName(QStringLiteral("countField"));
    countField_->setGeometry(210, 12, 60, 26);
    countField_->setAccessibleName(promptLabel_->text());

    auto* criteriaLabel = new QLabel(QStringLiteral("Assegna probabilità in base a:"), this);
    criteriaLabel->setObjectName(QStringLiteral("criteriaLabel"));
    criteriaLabel->setGeometry(12, 60, 190, 22);
    auto* braceLabel = new QLabel(QStringLiteral("{"), this);
    braceLabel->setObjectName(QStringLiteral("braceLabel"));
    QFont brace = braceLabel->font();
    brace.setPixelSize(44);
    braceLabel->setFont(brace);
    braceLabel->setGeometry(196, 44, 24, 56);

    delaysCheck_ = new QCheckBox(QStringLiteral("Ritardi"), this);
    delaysCheck_->setObjectName(QStringLiteral("delaysCheck"));
    delaysCheck_->setChecked(true);
    delaysCheck_->setGeometry(220, 48, 110, 22);
    frequenciesCheck_ = new QCheckBox(QStringLiteral("Frequenze"), this);
    frequenciesCheck_->setObjectName(QStringLiteral("frequenciesCheck"));
    frequenciesCheck_->setGeometry(220, 74, 110, 22);
    connect(delaysCheck_, &QCheckBox::clicked, this, &NumberCountDialog::onDelaysClicked);
    connect(frequenciesCheck_, &QCheckBox::clicked, this, &NumberCountDialog::onFrequenciesClicked);

    applyButton_ = new QPushButton(QStringLiteral("Aggiungi"), this);
    applyButton_->setObjectName(QStringLiteral("applyButton"));
    applyButton_->setDefault(true);
    applyButton_->setGeometry(70, 128, 90, 30);
    connect(applyButton_, &QPushButton::clicked, this, &NumberCountDialog::onApplyClicked);
    cancelButton_ = new QPushButton(QStringLiteral("Annulla"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    cancelButton_->setGeometry(178, 128, 90, 30);
    connect(cancelButton_, &QPushButton::clicked, this, &NumberCountDialog::onCancelClicked);
}

void NumberCountDialog::setForRemoving() {
    setWindowTitle(QStringLiteral("Togli numeri meno probabili"));
    promptLabel_->setText(QStringLiteral("Nº di segni da eliminare:"));
    countField_->setAccessibleName(promptLabel_->text());
    applyButton_->setText(QStringLiteral("Elimina"));
}

StatisticsCriteria NumberCountDialog::criteria() const {
    return {delaysCheck_->isChecked(), frequenciesCheck_->isChecked()};
}

int NumberCountDialog::leadingInteger(const QString& text) {
    int i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
        value = std::min<long long>(value * 10 + (text[i].unicode() - '0'), INT_MAX);
    return static_cast<int>(negative ? -value : value);
}

void NumberCountDialog::onApplyClicked() {
    count_ = leadingInteger(countField_->text());
    accept();
}

void NumberCountDialog::onCancelClicked() {
    count_ = 0;
    reject();
}

void NumberCountDialog::onDelaysClicked() {
    if (!delaysCheck_->isChecked() && !frequenciesCheck_->isChecked())
        frequenciesCheck_->setChecked(true);
}

void NumberCountDialog::onFrequenciesClicked() {
    if (!delaysCheck_->isChecked() && !frequenciesCheck_->isChecked())
        delaysCheck_->setChecked(true);
}

} // namespace quintor
