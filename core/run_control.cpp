#include "core/run_control.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

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

int workerThreadCount(int requested) {
    if (requested > 0)
        return requested;
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
}

void runOnThreads(int count, const std::function<void()>& work) {
    if (count <= 1) {
        work();
        return;
    }
    // An exception thrown out of a thread would end the program: the first one is kept and
    // thrown again on the caller's thread once every thread has ended.
    std::mutex mutex;
    std::exception_ptr failure;
    const auto guarded = [&] {
        try {
            work();
        } catch (...) {
            std::lock_guard lock(mutex);
            if (!failure)
                failure = std::current_exception();
        }
    };
    std::vector<std::thread> pool;
    try {
        pool.reserve(static_cast<std::size_t>(count));
        for (int k = 0; k < count; ++k)
            pool.emplace_back(guarded);
    } catch (...) {
        // No thread to start: the threads started finish the work between them.
        std::lock_guard lock(mutex);
        if (pool.empty() && !failure)
            failure = std::current_exception();
    }
    for (auto& thread : pool)
        thread.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace quintor
