#include "core/run_control.h"

namespace quintor {

void RunControl::requestPause() {
    std::lock_guard lock(mutex_);
    pause_.store(true, std::memory_order_release);
}

void RunControl::resume() {
    {
        std::lock_guard lock(mutex_);
        pause_.store(false, std::memory_order_release);
    }
    wake_.notify_all();
}

void RunControl::cancel() {
    {
        std::lock_guard lock(mutex_);
        cancel_.store(true, std::memory_order_release);
    }
    wake_.notify_all();
}

bool RunControl::parked() const {
    std::lock_guard lock(mutex_);
    return parked_;
}

bool RunControl::slowCheckpoint() {
    std::unique_lock lock(mutex_);
    parked_ = true;
    wake_.notify_all();
    wake_.wait(lock, [this] {
        return cancel_.load(std::memory_order_relaxed) || !pause_.load(std::memory_order_relaxed);
    });
    parked_ = false;
    return !cancel_.load(std::memory_order_relaxed);
}

} // namespace quintor
