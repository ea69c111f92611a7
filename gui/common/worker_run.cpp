#include "gui/common/worker_run.h"

#include "core/selection.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"

#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <new>

namespace quintor {

namespace {

// What the window shows when the work fails.
const char* const memoryFailure = "Memoria insufficiente per completare l'elaborazione.\r"
                                  "L'elaborazione è stata interrotta.";
const char* const otherFailure = "Errore imprevisto durante l'elaborazione.\r"
                                 "L'elaborazione è stata interrotta.";

} // namespace

WorkerRun::WorkerRun(QWidget* owner) : QObject(owner), owner_(owner), ticker_(new QTimer(this)) {
    ticker_->setInterval(100);
    connect(ticker_, &QTimer::timeout, this, &WorkerRun::tick);
}

WorkerRun::~WorkerRun() {
    cancel();
}

void WorkerRun::setGauge(QProgressBar* gauge) {
    gauge_ = gauge;
}

void WorkerRun::setStopButton(QPushButton* button) {
    stopButton_ = button;
    connect(stopButton_, &QPushButton::clicked, this, &WorkerRun::askToStop);
    stopButton_->setEnabled(running());
}

void WorkerRun::start(Work work, Done done) {
    if (running())
        return;
    const std::uint64_t run = ++run_;
    active_ = true;
    control_ = std::make_unique<RunControl>();
    done_ = std::move(done);
    stoppedByUser_ = false;
    endedWhileAsking_ = false;
    failure_.clear();
    progress_ = 0;
    ended_ = false;
    caught_ = Failure::None;
    if (gauge_)
        gauge_->setValue(gauge_->minimum());
    RunControl* control = control_.get();
    try {
        worker_ = std::thread([this, run, control, work = std::move(work)] {
            try {
                work(*control,
                     [this](double share) { progress_.store(share, std::memory_order_relaxed); });
            } catch (const std::bad_alloc&) {
                caught_ = Failure::Memory;
            } catch (...) {
                caught_ = Failure::Other;
            }
            ended_.store(true, std::memory_order_release);
            // The ticker notices the end as well, should this notice find no memory.
            try {
                QMetaObject::invokeMethod(
                    this, [this, run] { finish(run); }, Qt::QueuedConnection);
            } catch (...) {
            }
        });
    } catch (const std::exception&) {
        // No thread to run on: the run ends at once, as a failure.
        caught_ = Failure::Other;
        ended_ = true;
        QTimer::singleShot(0, this, [this, run] { finish(run); });
    }
    if (stopButton_)
        stopButton_->setEnabled(true);
    ticker_->start();
}

bool WorkerRun::paused() const {
    return worker_.joinable() && control_->parked();
}

void WorkerRun::askToStop() {
    if (!running() || asking_ || control_->cancelRequested())
        return;
    const std::uint64_t run = run_;
    control_->requestPause();
    asking_ = true;
    const QPointer<WorkerRun> alive(this);
    const auto answer =
        askQuestion(owner_, QStringLiteral("Attenzione"), QString::fromUtf8(stopQuestion),
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (!alive)
        return;
    asking_ = false;
    if (run != run_)
        return; // cancelled while the question was open
    if (answer == QMessageBox::Yes) {
        stoppedByUser_ = true;
        control_->cancel();
        if (stopButton_)
            stopButton_->setEnabled(false);
    } else {
        control_->resume();
    }
    if (endedWhileAsking_)
        finish(run);
}

void WorkerRun::cancel() {
    ++run_;
    active_ = false;
    ticker_->stop();
    done_ = nullptr;
    if (worker_.joinable()) {
        control_->cancel();
        worker_.join();
    }
    if (stopButton_)
        stopButton_->setEnabled(false);
}

void WorkerRun::tick() {
    const double share = std::clamp(progress(), 0.0, 1.0);
    if (gauge_)
        gauge_->setValue(gauge_->minimum() + static_cast<int>(std::lround(
                                                 share * (gauge_->maximum() - gauge_->minimum()))));
    emit ticked(share);
    if (ended_.load(std::memory_order_acquire))
        finish(run_);
}

void WorkerRun::finish(std::uint64_t run) {
    if (run != run_ || !active_)
        return; // a notice of a run cancelled or already finished
    if (asking_) {
        // The answer decides how the run ended; askToStop finishes it then.
        endedWhileAsking_ = true;
        return;
    }
    endedWhileAsking_ = false;
    active_ = false;
    if (worker_.joinable())
        worker_.join();
    ticker_->stop();
    if (stopButton_)
        stopButton_->setEnabled(false);
    Outcome outcome = Outcome::Completed;
    if (const Failure caught = caught_.load(); caught != Failure::None) {
        outcome = Outcome::Failed;
        failure_ = QString::fromUtf8(caught == Failure::Memory ? memoryFailure : otherFailure);
    } else if (stoppedByUser_) {
        outcome = Outcome::Stopped;
    }
    if (outcome == Outcome::Completed && gauge_)
        gauge_->setValue(gauge_->maximum());
    Done done = std::move(done_);
    done_ = nullptr;
    if (outcome == Outcome::Failed && showsFailures_)
        showError(owner_, QStringLiteral("Errore !"), failure_);
    if (done)
        done(outcome);
}

} // namespace quintor
