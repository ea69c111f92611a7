#pragma once

#include "core/archive.h"
#include "core/system_state.h"
#include "core/walk_forward.h"
#include "gui/analysis/analysis_window.h"

#include <QElapsedTimer>
#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace quintor {

// The method's lire won so far, draw by draw, against the band of the random sets (5th to
// 95th percentile), their mean and the money spent.
class ChanceBandChart : public QWidget {
    Q_OBJECT
public:
    explicit ChanceBandChart(QWidget* parent = nullptr);
    void setResult(const WalkForwardResult* result, long double columnPrice, QString firstDate,
                   QString lastDate);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const WalkForwardResult* result_ = nullptr;
    long double price_ = 0;
    QString firstDate_, lastDate_;
};

// "Metodo contro il caso": the selection repeated before each of the newest draws with what
// was known then, its winnings set against random sets of as many columns.
class WalkForwardDialog : public AnalysisWindow {
    Q_OBJECT
public:
    WalkForwardDialog(const SystemState& state, const Archive& archive, long double columnPrice,
                      QWidget* parent = nullptr);
    ~WalkForwardDialog() override;

    bool hasResult() const { return result_.has_value(); }
    const WalkForwardResult& result() const { return *result_; }

public slots:
    void onRunClicked();    // Avvia
    void onExportClicked(); // Esporta CSV
    void onHelpClicked();   // ?

private:
    void showResult();
    void showTimeLeft(double share);
    // On a large system, one draw is tried first and its time, times the draws asked for, is
    // shown and put to the user before the whole run starts.
    void measureThenAsk();
    void startRun();
    QString beforeRunText() const;
    bool measuring_ = false;

    const SystemState& state_;
    const Archive& archive_;
    long double price_;
    QSpinBox* drawsBox_ = nullptr;
    QSpinBox* randomSetsBox_ = nullptr;
    QSpinBox* seedBox_ = nullptr;
    QSpinBox* countBox_ = nullptr;
    QSlider* precisionSlider_ = nullptr;
    QLabel* estimateLabel_ = nullptr;
    QLabel* summaryLabel_ = nullptr;
    QLabel* verdictLabel_ = nullptr;
    ChanceBandChart* chart_ = nullptr;
    QPushButton* runButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QElapsedTimer clock_;
    WalkForwardSettings settings_;
    std::optional<Expected<WalkForwardResult>> outcome_; // written by the worker
    std::optional<WalkForwardResult> result_;            // the one shown
};

} // namespace quintor
