#pragma once

#include "core/archive.h"
#include "core/repair.h"
#include "core/system_state.h"
#include "gui/analysis/analysis_window.h"

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quintor {

// "Completa la garanzia": adds final columns to reach the chosen "t se m" within a budget of
// columns, with the typed fixed numbers in every column: a greedy choice, then a covering
// search for fewer columns (or, when the budget cannot reach the guarantee, for the budget's
// columns that cover the most). The gauge follows the work and the label the best found so
// far; a stop during the search keeps that best. The columns are added to the system when the
// run ends by itself or is stopped during the search; a run stopped before changes nothing.
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
    struct Live; // what the worker last reported, for the label while it runs

    void showBestSoFar();
    void showResult(const RepairResult& done, int t, int m, const std::vector<int>& fixed,
                    bool stoppedInSearch);

    SystemState& state_;
    const Archive& archive_;
    QComboBox* pointsBox_ = nullptr;
    QComboBox* drawnBox_ = nullptr;
    QLineEdit* budgetEdit_ = nullptr;
    QLineEdit* fixedEdit_ = nullptr;
    QLabel* outcomeLabel_ = nullptr;
    QTableWidget* resultTable_ = nullptr;
    QPushButton* startButton_ = nullptr;
    std::shared_ptr<Live> live_;
    int addedCount_ = 0;
};

} // namespace quintor
