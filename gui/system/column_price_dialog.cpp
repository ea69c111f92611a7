#include "gui/system/column_price_dialog.h"

#include "gui/common/feedback.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quintor {

ColumnPriceDialog::ColumnPriceDialog(QWidget* parent) : TiledDialog(parent) {
    setObjectName("ColumnPriceDialog");
    setWindowTitle("Cambia costo di una colonna");

    auto* caption = new QLabel("Costo di una colonna:", this);
    priceEdit_ = new QLineEdit(this);
    priceEdit_->setObjectName("priceEdit");
    priceEdit_->setAccessibleName(caption->text());
    priceEdit_->setFixedWidth(120);
    caption->setBuddy(priceEdit_);

    okButton_ = new QPushButton("OK", this);
    okButton_->setObjectName("okButton");
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton("Annulla", this);
    cancelButton_->setObjectName("cancelButton");
    setHint(cancelButton_, "Chiude la scheda senza apportare modifiche.");

    auto* grid = new QGridLayout(this);
    grid->addWidget(caption, 0, 0);
    grid->addWidget(priceEdit_, 0, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(okButton_, 1, 1);
    grid->addWidget(cancelButton_, 1, 2);
    grid->setVerticalSpacing(14);

    connect(okButton_, &QPushButton::clicked, this, &ColumnPriceDialog::onOkClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &ColumnPriceDialog::reject);
    fixSize();
}

void ColumnPriceDialog::setPriceText(const QString& text) {
    priceEdit_->setText(text);
}

QString ColumnPriceDialog::priceText() const {
    return priceEdit_->text();
}

void ColumnPriceDialog::showEvent(QShowEvent* event) {
    setOutcome(0);
    priceEdit_->setFocus();
    priceEdit_->selectAll();
    TiledDialog::showEvent(event);
}

void ColumnPriceDialog::onOkClicked() {
    setOutcome(1);
    accept();
}

} // namespace quintor
