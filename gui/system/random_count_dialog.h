#pragma once

#include "gui/common/value_dialog.h"

namespace quintor {

// Asks how many columns to extract at random from the initial system.
class RandomCountDialog : public ValueDialog {
    Q_OBJECT
public:
    explicit RandomCountDialog(QWidget* parent = nullptr);

    QString countText() const;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace quintor
