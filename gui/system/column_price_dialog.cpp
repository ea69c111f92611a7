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
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->setAccessibleName(caption->text());
    Edit1->setFixedWidth(120);
    caption->setBuddy(Edit1);

    AVSEL = new QPushButton("OK", this);
    AVSEL->setObjectName("AVSEL");
    AVSEL->setDefault(true);
    BITBTN2 = new QPushButton("Annulla", this);
    BITBTN2->setObjectName("BITBTN2");
    setHint(BITBTN2, "Chiude la scheda senza apportare modifiche.");

    auto* grid = new QGridLayout(this);
    grid->addWidget(caption, 0, 0);
    grid->addWidget(Edit1, 0, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(AVSEL, 1, 1);
    grid->addWidget(BITBTN2, 1, 2);
    grid->setVerticalSpacing(14);

    connect(AVSEL, &QPushButton::clicked, this, &ColumnPriceDialog::AVSELClick);
    connect(BITBTN2, &QPushButton::clicked, this, &ColumnPriceDialog::reject);
    fixSize();
}

void ColumnPriceDialog::setPriceText(const QString& text) {
    Edit1->setText(text);
}

QString ColumnPriceDialog::priceText() const {
    return Edit1->text();
}

void ColumnPriceDialog::showEvent(QShowEvent* event) {
    setTag(0);
    Edit1->setFocus();
    Edit1->selectAll();
    TiledDialog::showEvent(event);
}

void ColumnPriceDialog::AVSELClick() {
    setTag(1);
    accept();
}

} // namespace quintor
