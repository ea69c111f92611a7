#pragma once

#include "core/guarantee.h"
#include "core/system_state.h"
#include "gui/analysis/analysis_window.h"

class QLabel;
class QTableWidget;

namespace quintor {

// The guarantee table of the final columns: for m = 3..6 numbers drawn among the marked ones
// (rows) and t = 2..m points (columns), the share of the m-sets of marked numbers that some
// final column meets in t numbers. The count runs on a worker thread as the window shows; a
// double click on a cell opens the holes of that guarantee.
class GuaranteeTableDialog : public AnalysisWindow {
    Q_OBJECT
public:
    GuaranteeTableDialog(const SystemState& state, QWidget* parent = nullptr);
    ~GuaranteeTableDialog() override;

    const GuaranteeTable& table() const { return table_; }
    bool finished() const { return finished_; }

public slots:
    void startCount();
    void onCellActivated(int row, int column);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showTable();

    const SystemState& state_;
    std::vector<int> marked_;
    GuaranteeTable table_;
    QTableWidget* guaranteeGrid_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    bool started_ = false;
    bool finished_ = false;
};

} // namespace quintor
