#pragma once

#include "gui_common/tiled_dialog.h"

class QLineEdit;
class QPushButton;

namespace quintor {

// Changes the price of one column.
class Tcosto : public TiledDialog {
    Q_OBJECT
public:
    explicit Tcosto(QWidget* parent = nullptr);

    void setPriceText(const QString& text);
    QString priceText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void AVSELClick();

    QLineEdit* Edit1;
    QPushButton* AVSEL;
    QPushButton* BITBTN2;
};

} // namespace quintor
