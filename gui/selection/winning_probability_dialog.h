#pragma once

#include "core/column.h"
#include "core/probability.h"
#include "core/system_state.h"
#include "gui/common/worker_run.h"

#include <QDialog>
#include <QPixmap>

#include <mutex>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace quintor {

// The probability of winning of the final columns, on the assumption that the six numbers
// drawn are among the marked ones. The count runs on a worker thread as soon as the window
// shows; the window stays live, "Interrompi" pauses the count while it asks, and the window
// shows the counts so far every tenth of a second.
class WinningProbabilityDialog : public QDialog {
    Q_OBJECT
public:
    WinningProbabilityDialog(const std::vector<Column>& finalColumns,
                             const std::array<std::uint8_t, boardSize + 1>& marked,
                             QWidget* parent = nullptr);
    ~WinningProbabilityDialog() override;

    bool finished() const { return finished_; }
    bool stoppedByUser() const { return stopped_; }

public slots:
    // Starts the count, or shows zeros when fewer than six numbers are marked.
    void startCount();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void reject() override;

private:
    void showValues(const BestMatchCounts& counts, bool withProjection);
    void showProgress();
    void onCountFinished(WorkerRun::Outcome outcome);
    void showFinalValues(const BestMatchCounts& counts);

    std::vector<Column> finals_;
    std::vector<int> marked_;
    long double initialColumns_ = 0;

    QLabel* introLabel_ = nullptr;
    std::array<QLabel*, 4> levelValues_{}; // 3, 4, 5 and 6 points
    QLabel* totalValue_ = nullptr;
    QLabel* projectionCaption_ = nullptr;
    QLabel* projectionValue_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QPixmap background_;
    WorkerRun* run_ = nullptr;

    // The counts so far, written by the run, and its whole counts once it has ended.
    std::mutex countsMutex_;
    BestMatchCounts sofar_;
    bool started_ = false;
    bool finished_ = false;
    bool stopped_ = false;
};

} // namespace quintor
