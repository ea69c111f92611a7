#include "core/ahead_workers.h"

#include <cstddef>
#include <thread>
#include <vector>

namespace quintor {

void AheadWorkers::run(int count, const std::function<void()>& work,
                       const std::function<void()>& consume) {
    std::vector<std::thread> pool;
    std::exception_ptr callerFailure;
    try {
        pool.reserve(static_cast<std::size_t>(count));
        for (int t = 0; t < count; ++t)
            pool.emplace_back([this, &work] { guard(work); });
        consume();
    } catch (...) {
        callerFailure = std::current_exception();
    }
    {
        std::lock_guard lock(mutex);
        quit = true;
    }
    changed.notify_all();
    for (auto& thread : pool)
        thread.join();
    if (callerFailure)
        std::rethrow_exception(callerFailure);
    if (failure)
        std::rethrow_exception(failure);
}

void AheadWorkers::guard(const std::function<void()>& work) {
    try {
        work();
    } catch (...) {
        {
            std::lock_guard lock(mutex);
            if (!failure)
                failure = std::current_exception();
            quit = true;
        }
        changed.notify_all();
    }
}

} // namespace quintor
