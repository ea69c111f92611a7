#include "gui/system/column_price_dialog.h"

#include <QLineEdit>

namespace quintor {

ColumnPriceDialog::ColumnPriceDialog(QWidget* parent)
    : ValueDialog({.title = "Cambia costo di una colonna",
                   .explanation = {},
                   .caption = "Costo di una colonna:",
                   .objectName = "priceEdit",
                   .width = 120,
                   .rowSpacing = 14},
                  parent) {
    setObjectName("ColumnPriceDialog");
}

void ColumnPriceDialog::setPriceText(const QString& text) {
    field()->setText(text);
}

QString ColumnPriceDialog::priceText() const {
    return field()->text();
}

} // namespace quintor
