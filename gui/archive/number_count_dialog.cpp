#include "gui/archive/number_count_dialog.h"

#include "gui/common/feedback.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <climits>

namespace quintor {

NumberCountDialog::NumberCountDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Piuseg"));
    setWindowTitle(QStringLiteral("Aggiungi numeri più probabili"));
    setFixedSize(338, 175);
    useFixedDialogFrame(this);

    Label1 = new QLabel(QStringLiteral("Nº di segni da aggiungere:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 14, 190, 22);
    Edit1 = new QLineEdit(QStringLiteral("1"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(210, 12, 60, 26);
    Edit1->setAccessibleName(Label1->text());

    auto* label2 = new QLabel(QStringLiteral("Assegna probabilità in base a:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(12, 60, 190, 22);
    auto* label3 = new QLabel(QStringLiteral("{"), this);
    label3->setObjectName(QStringLiteral("Label3"));
    QFont brace = label3->font();
    brace.setPixelSize(44);
    label3->setFont(brace);
    label3->setGeometry(196, 44, 20, 56);

    ckrit = new QCheckBox(QStringLiteral("Ritardi"), this);
    ckrit->setObjectName(QStringLiteral("ckrit"));
    ckrit->setChecked(true);
    ckrit->setGeometry(220, 48, 110, 22);
    ckfre = new QCheckBox(QStringLiteral("Frequenze"), this);
    ckfre->setObjectName(QStringLiteral("ckfre"));
    ckfre->setGeometry(220, 74, 110, 22);
    connect(ckrit, &QCheckBox::clicked, this, &NumberCountDialog::ckritClick);
    connect(ckfre, &QCheckBox::clicked, this, &NumberCountDialog::ckfreClick);

    SPB1 = new QPushButton(QStringLiteral("Aggiungi"), this);
    SPB1->setObjectName(QStringLiteral("SPB1"));
    SPB1->setDefault(true);
    SPB1->setGeometry(70, 128, 90, 30);
    connect(SPB1, &QPushButton::clicked, this, &NumberCountDialog::SPB1Click);
    SpeedButton1 = new QPushButton(QStringLiteral("Annulla"), this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(178, 128, 90, 30);
    connect(SpeedButton1, &QPushButton::clicked, this, &NumberCountDialog::SpeedButton1Click);
}

void NumberCountDialog::setForRemoving() {
    setWindowTitle(QStringLiteral("Togli numeri meno probabili"));
    Label1->setText(QStringLiteral("Nº di segni da eliminare:"));
    Edit1->setAccessibleName(Label1->text());
    SPB1->setText(QStringLiteral("Elimina"));
}

StatisticsCriteria NumberCountDialog::criteria() const {
    return {ckrit->isChecked(), ckfre->isChecked()};
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

void NumberCountDialog::SPB1Click() {
    tag_ = leadingInteger(Edit1->text());
    accept();
}

void NumberCountDialog::SpeedButton1Click() {
    tag_ = 0;
    reject();
}

void NumberCountDialog::ckritClick() {
    if (!ckrit->isChecked() && !ckfre->isChecked())
        ckfre->setChecked(true);
}

void NumberCountDialog::ckfreClick() {
    if (!ckrit->isChecked() && !ckfre->isChecked())
        ckrit->setChecked(true);
}

} // namespace quintor
