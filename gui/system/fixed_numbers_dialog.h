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

    void BitBtn1Click();
    void HLP3Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    void cfClick(int row);

    SystemState& state_;
    std::array<QCheckBox*, 6> cf{};
    std::array<QLineEdit*, 6> f{};
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QToolButton* HLP3;
};

} // namespace quintor
