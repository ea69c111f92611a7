#pragma once

#include "core/system_state.h"
#include "gui/common/tiled_dialog.h"

#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace quintor {

// Up to six numbers that every selected column must contain.
class FixedNumbersDialog : public TiledDialog {
    Q_OBJECT
public:
    FixedNumbersDialog(SystemState& state, QWidget* parent = nullptr);

    void onOkClicked();
    void onHelpClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void loadRows();
    void onFixedCheckClicked(int row);

    SystemState& state_;
    std::array<QCheckBox*, 6> fixedChecks_{};
    std::array<QLineEdit*, 6> fixedEdits_{};
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    QToolButton* helpButton_;
};

} // namespace quintor
