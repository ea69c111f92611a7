#pragma once

#include "core/archive.h"
#include "core/repair.h"
#include "core/system_state.h"
#include "gui/analysis/analysis_window.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quintor {

// "Completa la garanzia": adds final columns, chosen greedily, until the system guarantees the
// chosen "t se m" or the typed budget of columns is spent. The columns are added to the system
// only when the run ends by itself; a stopped run changes nothing.
class GuaranteeRepairDialog : public AnalysisWindow {
    Q_OBJECT
public:
    GuaranteeRepairDialog(SystemState& state, const Archive& archive, QWidget* parent = nullptr);
    ~GuaranteeRepairDialog() override;

    // Columns added to the system by this window.
    int addedCount() const { return addedCount_; }

public slots:
    void onStartClicked(); // Avvia

private:
    SystemState& state_;
    const Archive& archive_;
    QComboBox* pointsBox_ = nullptr;
    QComboBox* drawnBox_ = nullptr;
    QLineEdit* budgetEdit_ = nullptr;
    QLabel* outcomeLabel_ = nullptr;
    QPushButton* startButton_ = nullptr;
    int addedCount_ = 0;
};

} // namespace quintor
