#pragma once

#include "gui_common/tiled_dialog.h"

class QLineEdit;
class QPushButton;

namespace quintor {

// Asks how many columns to extract at random from the initial system.
class TDAINU : public TiledDialog {
    Q_OBJECT
public:
    explicit TDAINU(QWidget* parent = nullptr);

    QString countText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void AVSELClick();

    QLineEdit* Edit1;
    QPushButton* AVSEL;
    QPushButton* BITBTN2;
};

} // namespace quintor
