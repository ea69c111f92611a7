#pragma once

#include "core/real48.h"
#include "core/system_state.h"

#include <QDialog>
#include <QPixmap>

#include <array>

class QPushButton;
class QTableWidget;

namespace quintor {

// Editor of the probability (0 to 100) of each marked number.
class NumberProbabilityDialog : public QDialog {
    Q_OBJECT
public:
    NumberProbabilityDialog(const std::array<std::uint8_t, boardSize + 1>& marked,
                            std::array<Real48, boardSize + 1>& probabilities,
                            QWidget* parent = nullptr);

    static QString probabilityText(const Real48& value);

public slots:
    void fillTable();
    void onApplyClicked(); // Applica
    void onHelpClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const std::array<std::uint8_t, boardSize + 1>& marked_;
    std::array<Real48, boardSize + 1>& probabilities_;
    QTableWidget* probabilityTable_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QPixmap background_;
};

} // namespace quintor
