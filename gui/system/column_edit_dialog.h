#pragma once

#include "gui/common/tiled_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quintor {

// Edits the text of one final column.
class ColumnEditDialog : public TiledDialog {
    Q_OBJECT
public:
    explicit ColumnEditDialog(QWidget* parent = nullptr);

    void setRow(int row, const QString& columnText);
    QString columnText() const;

private:
    QLabel* rowLabel_;
    QLineEdit* columnEdit_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace quintor
