#pragma once

#include "core/archive.h"
#include "core/backtest.h"
#include "core/system_state.h"
#include "gui/analysis/analysis_window.h"

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quintor {

// The best result of every draw of a back-test, oldest on the left: one bar per draw, its
// height the best result (0 to 6, with 5 + jolly between 5 and 6).
class BestResultChart : public QWidget {
    Q_OBJECT
public:
    explicit BestResultChart(QWidget* parent = nullptr);
    void setResults(std::vector<int> best, QString firstDate, QString lastDate);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<int> best_;
    QString firstDate_, lastDate_;
};

// "Verifica sull'archivio": the final columns played on every draw of a date range.
class ArchiveBacktestDialog : public AnalysisWindow {
    Q_OBJECT
public:
    ArchiveBacktestDialog(const SystemState& state, const Archive& archive, long double columnPrice,
                          QWidget* parent = nullptr);
    ~ArchiveBacktestDialog() override;

    const BacktestResult& result() const { return result_; }
    bool hasResult() const { return hasResult_; }

public slots:
    void onRunClicked();    // Verifica
    void onExportClicked(); // Esporta CSV

private:
    void showResult();

    const SystemState& state_;
    const Archive& archive_;
    long double price_;
    QLineEdit* fromDateEdit_ = nullptr;
    QLineEdit* toDateEdit_ = nullptr;
    std::array<QLineEdit*, winningLevelCount> prizeEdits_{};
    QLabel* summaryLabel_ = nullptr;
    QTableWidget* drawsTable_ = nullptr;
    BestResultChart* chart_ = nullptr;
    QPushButton* runButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    std::span<const ArchiveRecord> draws_;
    PrizeTable prizes_;
    BacktestResult result_;
    bool hasResult_ = false;
};

} // namespace quintor
