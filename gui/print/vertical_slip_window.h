#pragma once

#include "gui/print/slip_window.h"

class QCheckBox;

namespace quintor {

// "Stampa verticale": the slip's rows across the page, with the slip number when asked.
class VerticalSlipWindow : public SlipPrintWindow {
    Q_OBJECT
public:
    VerticalSlipWindow(SystemState& state, ColumnListWindow& columnList, QWidget* parent = nullptr);

protected:
    QString captionStart() const override { return QStringLiteral("Stampa verticale"); }
    bool printsSlipNumber() const override;

private:
    QCheckBox* slipNumberBox_ = nullptr;
};

// Opens the window on a system as a modal dialog.
void openVerticalSlipWindow(QWidget* parent, SystemState& state, ColumnListWindow& columnList);

} // namespace quintor
