#pragma once

#include "gui/common/tiled_dialog.h"

class QLineEdit;
class QPushButton;

namespace quintor {

// Changes the price of one column.
class ColumnPriceDialog : public TiledDialog {
    Q_OBJECT
public:
    explicit ColumnPriceDialog(QWidget* parent = nullptr);

    void setPriceText(const QString& text);
    QString priceText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onOkClicked();

    QLineEdit* priceEdit_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace quintor
