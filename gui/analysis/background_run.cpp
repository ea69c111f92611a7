#include "gui/analysis/background_run.h"

#include "core/selection.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <cmath>

namespace quintor {

BackgroundRun::BackgroundRun(QWidget* owner, QProgressBar* gauge, QPushButton* stopButton)
    : QObject(owner), owner_(owner), gauge_(gauge), stopButton_(stopButton),
      ticker_(new QTimer(this)) {
    ticker_->setInterval(100);
    connect(ticker_, &QTimer::timeout, this,
            [this] { gauge_->setValue(static_cast<int>(std::lround(100 * progress_.load()))); });
    connect(stopButton_, &QPushButton::clicked, this, &BackgroundRun::askToStop);
    stopButton_->setEnabled(false);
}

BackgroundRun::~BackgroundRun() {
    cancel();
}

void BackgroundRun::start(Work work, std::function<void()> done) {
    if (running())
        return;
    control_ = std::make_unique<RunControl>();
    progress_ = 0;
    stoppedByUser_ = false;
    done_ = std::move(done);
    gauge_->setValue(0);
    stopButton_->setEnabled(true);
    ticker_->start();
    RunControl* control = control_.get();
    worker_ = std::thread([this, control, work = std::move(work)] {
        work(*control, [this](double share) { progress_ = share; });
        QMetaObject::invokeMethod(
            this, [this] { finish(); }, Qt::QueuedConnection);
    });
}

void BackgroundRun::askToStop() {
    if (!running() || !control_)
        return;
    control_->requestPause();
    const auto answer =
        askQuestion(owner_, QStringLiteral("Attenzione"), QString::fromUtf8(stopQuestion),
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        stoppedByUser_ = true;
        control_->cancel();
    } else {
        control_->resume();
    }
}

void BackgroundRun::cancel() {
    if (worker_.joinable()) {
        control_->cancel();
        worker_.join();
        ticker_->stop();
        done_ = nullptr;
    }
}

void BackgroundRun::finish() {
    if (!worker_.joinable())
        return; // cancelled while the notice was on its way
    worker_.join();
    ticker_->stop();
    stopButton_->setEnabled(false);
    gauge_->setValue(stoppedByUser_ ? gauge_->value() : 100);
    if (auto done = std::move(done_))
        done();
}

} // namespace quintor
