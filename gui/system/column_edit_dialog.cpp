#include "gui/system/column_edit_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quintor {

ColumnEditDialog::ColumnEditDialog(QWidget* parent) : TiledDialog(parent) {
    setObjectName("ColumnEditDialog");
    setWindowTitle("Modifica colonna");
    setOutcome(0);

    rowLabel_ = new QLabel("Colonna nº: ", this);
    rowLabel_->setObjectName("rowLabel");
    columnEdit_ = new QLineEdit(this);
    columnEdit_->setObjectName("columnEdit");
    columnEdit_->setAccessibleName("Colonna");
    columnEdit_->setFixedWidth(200);
    auto* hint = new QLabel("Separare i segni della colonna con uno spazio", this);
    hint->setStyleSheet("color: rgb(128, 128, 128);");
    okButton_ = new QPushButton("OK", this);
    okButton_->setObjectName("okButton");
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton("Annulla", this);
    cancelButton_->setObjectName("cancelButton");

    auto* grid = new QGridLayout(this);
    grid->addWidget(rowLabel_, 0, 0, 1, 2);
    grid->addWidget(columnEdit_, 1, 0, 1, 2);
    grid->addWidget(hint, 2, 0, 1, 2);
    grid->addWidget(okButton_, 3, 0);
    grid->addWidget(cancelButton_, 3, 1);
    grid->setVerticalSpacing(10);

    connect(okButton_, &QPushButton::clicked, this, [this] {
        accept();
        setOutcome(1);
    });
    connect(cancelButton_, &QPushButton::clicked, this, &ColumnEditDialog::reject);
    fixSize();
}

void ColumnEditDialog::setRow(int row, const QString& columnText) {
    rowLabel_->setText("Colonna nº: " + QString::number(row));
    columnEdit_->setAccessibleName(rowLabel_->text());
    columnEdit_->setText(columnText);
}

QString ColumnEditDialog::columnText() const {
    return columnEdit_->text();
}

} // namespace quintor
