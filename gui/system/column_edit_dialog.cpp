#include "gui/system/column_edit_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quintor {

ColumnEditDialog::ColumnEditDialog(QWidget* parent) : TiledDialog(parent) {
    setObjectName("ColumnEditDialog");
    setWindowTitle("Modifica colonna");
    setTag(0);

    Label1 = new QLabel("Colonna nº: ", this);
    Label1->setObjectName("Label1");
    CC = new QLineEdit(this);
    CC->setObjectName("CC");
    CC->setAccessibleName("Colonna");
    CC->setFixedWidth(200);
    auto* hint = new QLabel("Separare i segni della colonna con uno spazio", this);
    hint->setStyleSheet("color: rgb(128, 128, 128);");
    SPB1 = new QPushButton("OK", this);
    SPB1->setObjectName("SPB1");
    SPB1->setDefault(true);
    SpeedButton1 = new QPushButton("Annulla", this);
    SpeedButton1->setObjectName("SpeedButton1");

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(CC, 1, 0, 1, 2);
    grid->addWidget(hint, 2, 0, 1, 2);
    grid->addWidget(SPB1, 3, 0);
    grid->addWidget(SpeedButton1, 3, 1);
    grid->setVerticalSpacing(10);

    connect(SPB1, &QPushButton::clicked, this, [this] {
        accept();
        setTag(1);
    });
    connect(SpeedButton1, &QPushButton::clicked, this, &ColumnEditDialog::reject);
    fixSize();
}

void ColumnEditDialog::setRow(int row, const QString& columnText) {
    Label1->setText("Colonna nº: " + QString::number(row));
    CC->setAccessibleName(Label1->text());
    CC->setText(columnText);
}

QString ColumnEditDialog::columnText() const {
    return CC->text();
}

} // namespace quintor
