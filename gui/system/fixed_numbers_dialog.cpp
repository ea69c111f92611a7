#include "gui/system/fixed_numbers_dialog.h"

#include "core/fixed_numbers.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"
#include "gui/common/window_help.h"

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
        fixedChecks_[k] = new QCheckBox("Fissa nº " + number + ":", this);
        fixedChecks_[k]->setObjectName("fixedCheck" + number);
        fixedEdits_[k] = new QLineEdit(this);
        fixedEdits_[k]->setObjectName("fixedEdit" + number);
        fixedEdits_[k]->setAccessibleName(fixedChecks_[k]->text());
        fixedEdits_[k]->setFixedWidth(48);
        fixedEdits_[k]->setEnabled(false);
        grid->addWidget(fixedChecks_[k], k, 0);
        grid->addWidget(fixedEdits_[k], k, 1, Qt::AlignLeft);
        connect(fixedChecks_[k], &QCheckBox::clicked, this, [this, k] { onFixedCheckClicked(k); });
    }
    okButton_ = new QPushButton("OK", this);
    okButton_->setObjectName("okButton");
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton("Annulla", this);
    cancelButton_->setObjectName("cancelButton");
    helpButton_ = new QToolButton(this);
    helpButton_->setObjectName("helpButton");
    helpButton_->setText("?");
    helpButton_->setAccessibleName("Spiegazioni");
    helpButton_->setEnabled(helpAvailable());
    setHint(helpButton_, "Spiegazioni");
    grid->addWidget(okButton_, fixedRowCount, 0);
    grid->addWidget(cancelButton_, fixedRowCount, 1);
    grid->addWidget(helpButton_, fixedRowCount, 2);
    grid->setHorizontalSpacing(12);

    connect(okButton_, &QPushButton::clicked, this, &FixedNumbersDialog::onOkClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &FixedNumbersDialog::reject);
    connect(helpButton_, &QToolButton::clicked, this, &FixedNumbersDialog::onHelpClicked);
    attachHelpTopic(this, HelpTopic::FixedNumbers);
    fixSize();
}

void FixedNumbersDialog::showEvent(QShowEvent* event) {
    loadRows();
    TiledDialog::showEvent(event);
}

void FixedNumbersDialog::loadRows() {
    const FixedRows rows = fixedRowsOf(state_);
    for (int k = 0; k < fixedRowCount; ++k) {
        fixedChecks_[k]->setChecked(rows[k].checked);
        fixedEdits_[k]->setEnabled(rows[k].checked);
        fixedEdits_[k]->setText(QString::fromStdString(rows[k].text));
    }
}

void FixedNumbersDialog::onFixedCheckClicked(int row) {
    const bool checked = fixedChecks_[row]->isChecked();
    fixedEdits_[row]->setEnabled(checked);
    if (checked)
        fixedEdits_[row]->setFocus();
}

void FixedNumbersDialog::onOkClicked() {
    FixedRows rows;
    for (int k = 0; k < fixedRowCount; ++k)
        rows[k] = {fixedChecks_[k]->isChecked(), fixedEdits_[k]->text().toStdString()};
    applyFixedRows(state_, rows);
    setOutcome(1);
    accept();
}

void FixedNumbersDialog::onHelpClicked() {
    showHelpTopic(HelpTopic::FixedNumbers);
}

} // namespace quintor
