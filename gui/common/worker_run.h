#pragma once

#include "core/run_control.h"

#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

class QTimer;
class QWidget;

namespace quintor {

// A window's long computation on a worker thread, the one way every window runs one. The
// window stays live meanwhile: the gauge follows the share done, and the stop button (or the
// window's own call to askToStop) pauses the work at its next checkpoint while the user is
// asked whether to stop. The end of a run is dealt with on the window's thread once the worker
// has ended and the stop question, if open, has been answered. An exception thrown by the
// work, a failed allocation included, ends the run as a failure with an Italian message; it
// never reaches the rest of the program. Destroying the run cancels the work and waits for it:
// a window whose work writes into its own members cancels the run in its destructor, or
// declares the run after those members.
class WorkerRun : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Completed, Stopped, Failed };
    // The share done, 0..1. Called on the worker thread.
    using Progress = std::function<void(double share)>;
    using Work = std::function<void(RunControl& control, const Progress& progress)>;
    using Done = std::function<void(Outcome outcome)>;

    // owner: the window that asks the stop question and shows a failure; also the parent.
    explicit WorkerRun(QWidget* owner);
    ~WorkerRun() override;

    // The gauge shows the share done over its own range, and its maximum once a run completes.
    void setGauge(QProgressBar* gauge);
    // The button asks to stop; it is enabled only while a run can still be stopped.
    void setStopButton(QPushButton* button);
    // Whether a failure is shown in a message box before done (the default) or left to done.
    void setShowsFailures(bool shows) { showsFailures_ = shows; }

    // Starts work unless a run is going; done follows on the window's thread, once.
    void start(Work work, Done done);
    bool running() const { return active_; }
    // The worker waits, paused at a checkpoint, for the answer to the stop question.
    bool paused() const;
    // The user confirmed the stop of the last run.
    bool stoppedByUser() const { return stoppedByUser_; }
    // The last run's failure, in Italian; empty unless it failed.
    const QString& failure() const { return failure_; }
    // The share done that the work last reported.
    double progress() const { return progress_.load(std::memory_order_relaxed); }

    // Ends the run without asking and waits for the worker; its done is not called.
    void cancel();

public slots:
    // Pauses the work and asks whether to stop: Yes ends it (the stop button greys while the
    // work winds down), No lets it go on. Nothing is asked without a run, while the question is
    // open or once the stop is confirmed.
    void askToStop();

signals:
    // Every tenth of a second while a run goes, with the share done.
    void ticked(double share);

private:
    enum class Failure { None, Memory, Other };

    void tick();
    void finish(std::uint64_t run);

    QWidget* owner_;
    // Either may go before the run, which is made after them.
    QPointer<QProgressBar> gauge_;
    QPointer<QPushButton> stopButton_;
    QTimer* ticker_;
    bool showsFailures_ = true;

    std::uint64_t run_ = 0; // counts the runs started and cancelled
    bool active_ = false;   // from start to finish or cancel
    std::unique_ptr<RunControl> control_;
    std::thread worker_;
    Done done_;
    bool asking_ = false;
    bool endedWhileAsking_ = false;
    bool stoppedByUser_ = false;
    QString failure_;

    // Written by the worker.
    std::atomic<double> progress_{0};
    std::atomic<bool> ended_{false};
    std::atomic<Failure> caught_{Failure::None};
};

} // namespace quintor
