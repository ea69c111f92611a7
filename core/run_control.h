#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace quintor {

// Lets the window that started a long run pause it (to ask the user whether to stop), resume
// it or cancel it, while the run itself goes on in a worker thread and calls checkpoint()
// at points where what it has counted so far is consistent.
class RunControl {
public:
    // Any thread. The worker parks at its next checkpoint until resume() or cancel().
    void requestPause();
    void resume();
    void cancel();

    bool cancelRequested() const { return cancel_.load(std::memory_order_acquire); }
    // True once the worker sits at a checkpoint because of a pause request.
    bool parked() const;

    // Worker thread: returns false when the run must end; blocks while paused.
    bool checkpoint() {
        if (!pause_.load(std::memory_order_relaxed) && !cancel_.load(std::memory_order_relaxed))
            return true;
        return slowCheckpoint();
    }

private:
    bool slowCheckpoint();

    std::atomic<bool> pause_{false};
    std::atomic<bool> cancel_{false};
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool parked_ = false;
};

} // namespace quintor
