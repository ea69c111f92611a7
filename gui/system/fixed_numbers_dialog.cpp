#include "gui/system/fixed_numbers_dialog.h"

#include "core/fixed_numbers.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace quintor {

FixedNumbersDialog::FixedNumbersDialog(SystemState& state, QWidget* parent)
    : TiledDialog(parent), state_(state) {
    setObjectName("FixedNumbersDialog");
    setWindowTitle("Specifica numeri sempre presenti");

    auto* grid = new QGridLayout(this);
    for (int k = 0; k < fixedRowCount; ++k) {
        const QString number = QString::number(k + 1);
        cf[k] = new QCheckBox("Fissa nº " + number + ":", this);
        cf[k]->setObjectName("cf" + number);
        f[k] = new QLineEdit(this);
        f[k]->setObjectName("f" + number);
        f[k]->setAccessibleName(cf[k]->text());
        f[k]->setFixedWidth(48);
        f[k]->setEnabled(false);
        grid->addWidget(cf[k], k, 0);
        grid->addWidget(f[k], k, 1, Qt::AlignLeft);
        connect(cf[k], &QCheckBox::clicked, this, [this, k] { cfClick(k); });
    }
    BitBtn1 = new QPushButton("OK", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton("Annulla", this);
    BitBtn2->setObjectName("BitBtn2");
    HLP3 = new QToolButton(this);
    HLP3->setObjectName("HLP3");
    HLP3->setText("?");
    HLP3->setAccessibleName("Spiegazioni");
    HLP3->setEnabled(helpAvailable());
    setHint(HLP3, "Spiegazioni");
    grid->addWidget(BitBtn1, fixedRowCount, 0);
    grid->addWidget(BitBtn2, fixedRowCount, 1);
    grid->addWidget(HLP3, fixedRowCount, 2);
    grid->setHorizontalSpacing(12);

    connect(BitBtn1, &QPushButton::clicked, this, &FixedNumbersDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &FixedNumbersDialog::reject);
    connect(HLP3, &QToolButton::clicked, this, &FixedNumbersDialog::HLP3Click);
    fixSize();
}

void FixedNumbersDialog::showEvent(QShowEvent* event) {
    FormActivate();
    TiledDialog::showEvent(event);
}

void FixedNumbersDialog::FormActivate() {
    const FixedRows rows = fixedRowsOf(state_);
    for (int k = 0; k < fixedRowCount; ++k) {
        cf[k]->setChecked(rows[k].checked);
        f[k]->setEnabled(rows[k].checked);
        f[k]->setText(QString::fromStdString(rows[k].text));
    }
}

void FixedNumbersDialog::cfClick(int row) {
    const bool checked = cf[row]->isChecked();
    f[row]->setEnabled(checked);
    if (checked)
        f[row]->setFocus();
}

void FixedNumbersDialog::BitBtn1Click() {
    FixedRows rows;
    for (int k = 0; k < fixedRowCount; ++k)
        rows[k] = {cf[k]->isChecked(), f[k]->text().toStdString()};
    applyFixedRows(state_, rows);
    setTag(1);
    accept();
}

void FixedNumbersDialog::HLP3Click() {
    showHelpTopic(HelpTopic::FixedNumbers);
}

} // namespace quintor
