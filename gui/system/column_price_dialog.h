#pragma once

#include "gui/common/value_dialog.h"

namespace quintor {

// Changes the price of one column.
class ColumnPriceDialog : public ValueDialog {
    Q_OBJECT
public:
    explicit ColumnPriceDialog(QWidget* parent = nullptr);

    void setPriceText(const QString& text);
    QString priceText() const;
};

} // namespace quintor
