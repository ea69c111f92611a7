#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>

namespace quintor {

// What the worker threads of a run share with the caller's thread when they work ahead of it
// and the caller takes their results in order: the lock, the signal of every change, whether
// the run must end, and the first exception a worker threw.
//
// An exception on any thread (no memory, no thread to start) ends the run on every thread and
// is thrown again on the caller's thread once all have ended: never out of a thread, which
// would end the program.
struct AheadWorkers {
    // Starts count threads running work and runs consume on the calling thread; then ends the
    // run, waits for the threads and throws again the first exception: the caller's own, else
    // a worker's. Work returns once quit is set; consume stops waiting once failure is set.
    void run(int count, const std::function<void()>& work, const std::function<void()>& consume);

    std::mutex mutex;
    std::condition_variable changed;
    // Under mutex: the run must end (the caller has finished, or a worker failed).
    bool quit = false;
    // Under mutex: the first exception a worker threw.
    std::exception_ptr failure;

private:
    // Runs work on a worker thread; an exception ends the run instead of leaving the thread.
    void guard(const std::function<void()>& work);
};

} // namespace quintor
