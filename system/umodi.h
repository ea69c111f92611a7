#pragma once

#include "gui_common/tiled_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quintor {

// Edits the text of one final column.
class TModi : public TiledDialog {
    Q_OBJECT
public:
    explicit TModi(QWidget* parent = nullptr);

    void setRow(int row, const QString& columnText);
    QString columnText() const;

private:
    QLabel* Label1;
    QLineEdit* CC;
    QPushButton* SPB1;
    QPushButton* SpeedButton1;
};

} // namespace quintor
