#pragma once

#include "gui/common/tiled_dialog.h"

class QLineEdit;
class QPushButton;

namespace quintor {

// Asks how many columns to extract at random from the initial system.
class RandomCountDialog : public TiledDialog {
    Q_OBJECT
public:
    explicit RandomCountDialog(QWidget* parent = nullptr);

    QString countText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onOkClicked();

    QLineEdit* countEdit_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace quintor
