#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
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

// How many threads a run uses: the count asked for, or (0) one a core, up to eight.
int workerThreadCount(int requested);

// Runs work on count threads at once (on the calling thread alone when count <= 1) and
// returns when every one has ended; the first exception a thread threw is then thrown here.
// Work shares its pieces out between the threads running it, so that fewer threads than
// asked for (when no more can be started) still do all of it.
void runOnThreads(int count, const std::function<void()>& work);

} // namespace quintor
