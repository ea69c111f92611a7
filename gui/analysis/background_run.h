#pragma once

#include "core/run_control.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class QProgressBar;
class QPushButton;
class QTimer;
class QWidget;

namespace quintor {

// One long computation of an analysis window on a worker thread: the gauge follows its
// progress, the stop button pauses it while the user confirms, and done runs on the window's
// thread once the worker has ended. Destroying the run cancels and waits for the worker.
class BackgroundRun : public QObject {
    Q_OBJECT
public:
    // progress takes the share done, 0..1.
    using Work =
        std::function<void(RunControl& control, const std::function<void(double)>& progress)>;

    BackgroundRun(QWidget* owner, QProgressBar* gauge, QPushButton* stopButton);
    ~BackgroundRun() override;

    void start(Work work, std::function<void()> done);
    bool running() const { return worker_.joinable(); }
    // The user confirmed the stop of the last run.
    bool stoppedByUser() const { return stoppedByUser_; }
    // The worker waits, paused, for the answer to the stop question.
    bool paused() const { return running() && control_->parked(); }
    // Ends the run without asking (the window is closing).
    void cancel();

public slots:
    void askToStop();

private:
    void finish();

    QWidget* owner_;
    QProgressBar* gauge_;
    QPushButton* stopButton_;
    QTimer* ticker_;
    std::unique_ptr<RunControl> control_;
    std::atomic<double> progress_{0};
    std::thread worker_;
    std::function<void()> done_;
    bool stoppedByUser_ = false;
};

} // namespace quintor
