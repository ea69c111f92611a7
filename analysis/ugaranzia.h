#pragma once

#include "core/guarantee.h"
#include "core/system_state.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace quintor {

class BackgroundRun;

// The guarantee table of the final columns: for m = 3..6 numbers drawn among the marked ones
// (rows) and t = 2..m points (columns), the share of the m-sets of marked numbers that some
// final column meets in t numbers. The count runs on a worker thread as the window shows; a
// double click on a cell opens the holes of that guarantee.
class TGaranzia : public QDialog {
    Q_OBJECT
public:
    TGaranzia(const SystemState& state, QWidget* parent = nullptr);
    ~TGaranzia() override;

    const GuaranteeTable& table() const { return table_; }
    bool finished() const { return finished_; }

public slots:
    void FormActivate();
    void TABDoubleClick(int row, int column);

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void showTable();

    const SystemState& state_;
    std::vector<int> marked_;
    GuaranteeTable table_;
    QTableWidget* TAB = nullptr;
    QLabel* LabelStato = nullptr;
    QProgressBar* STS = nullptr;
    QPushButton* SPB1 = nullptr; // Chiudi
    QPushButton* SPB2 = nullptr; // Interrompi
    BackgroundRun* run_ = nullptr;
    bool started_ = false;
    bool finished_ = false;
};

} // namespace quintor
