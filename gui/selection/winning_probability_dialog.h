#pragma once

#include "core/column.h"
#include "core/probability.h"
#include "core/run_control.h"
#include "core/system_state.h"

#include <QDialog>
#include <QPixmap>

#include <mutex>
#include <thread>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

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
    void startCount();
    void onStopClicked();  // Interrompi
    void onCloseClicked(); // Chiudi

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void reject() override;

private:
    void showValues(const BestMatchCounts& counts, bool withProjection);
    void showProgress();
    void onCountFinished();
    void showFinalValues(const BestMatchCounts& counts);
    void stopWorker();

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
    QTimer* ticker_ = nullptr;
    QPixmap background_;

    RunControl control_;
    std::thread worker_;
    mutable std::mutex snapshotMutex_;
    BestMatchCounts snapshot_;
    BestMatchCounts result_;
    bool started_ = false;
    bool finished_ = false;
    bool stopped_ = false;
};

} // namespace quintor
