#pragma once

#include "gui/print/slip_window.h"

namespace quintor {

// "Stampa orizzontale": the upright picture turned a quarter anticlockwise; never any text.
class HorizontalSlipWindow : public SlipPrintWindow {
    Q_OBJECT
public:
    HorizontalSlipWindow(SystemState& state, ColumnListWindow& columnList,
                         QWidget* parent = nullptr);

protected:
    QString captionStart() const override { return QStringLiteral("Stampa orizzontale"); }
};

// Opens the window on a system as a modal dialog.
void openHorizontalSlipWindow(QWidget* parent, SystemState& state, ColumnListWindow& columnList);

} // namespace quintor
