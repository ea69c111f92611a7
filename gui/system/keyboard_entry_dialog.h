#pragma once

#include "core/system_state.h"
#include "gui/common/tiled_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quintor {

// Keyboard entry: each Enter in the column field appends the typed column to the final columns,
// until OK.
class KeyboardEntryDialog : public TiledDialog {
    Q_OBJECT
public:
    KeyboardEntryDialog(SystemState& state, QWidget* parent = nullptr);

    // Handles Enter in the column field: reads the column, checks it, asks about a duplicate,
    // appends it.
    void addTypedColumn();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showCount();

    SystemState& state_;
    QLineEdit* columnEdit_;
    QLabel* columnCountLabel_;
    QPushButton* okButton_;
};

} // namespace quintor
