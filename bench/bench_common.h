#pragma once

// Each case of a benchmark runs in a child process of its own, so that its processor time
// and its peak resident memory are its own; the figure is the median of the runs, quoted
// with their spread. Every program ends its case with a row for the table `make bench`
// prints last (bench/summary.awk).

#include "core/column.h"
#include "core/random.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

namespace bench {

// The numbers 1..count, as a system marks them.
inline std::vector<int> firstNumbers(int count) {
    std::vector<int> marked(static_cast<std::size_t>(count));
    std::iota(marked.begin(), marked.end(), 1);
    return marked;
}

// Six distinct marked numbers in increasing order, as the selection would write them.
inline std::vector<quintor::Column> randomFinals(const std::vector<int>& marked, int count,
                                                 std::uint32_t seed) {
    quintor::RandomGenerator random(seed);
    std::vector<quintor::Column> finals;
    for (int i = 0; i < count; ++i) {
        std::vector<int> pool = marked;
        quintor::Column column{};
        for (std::size_t k = 0; k < 6; ++k) {
            const auto pick =
                static_cast<std::size_t>(random.next(static_cast<int>(pool.size() - k)));
            std::swap(pool[k], pool[k + pick]);
            column[k] = static_cast<std::uint8_t>(pool[k]);
        }
        std::sort(column.begin(), column.end());
        finals.push_back(column);
    }
    return finals;
}

inline double lastCpu = 0; // processor seconds of the last work seconds() timed, all threads

// Wall-clock seconds of work in this process; its processor time goes to lastCpu.
template <class F> double seconds(F&& work) {
    const std::clock_t cpuStart = std::clock();
    const auto start = std::chrono::steady_clock::now();
    work();
    lastCpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Measure {
    double wall = 0, wallLow = 0, wallHigh = 0; // median, lowest, highest seconds
    double cpu = 0;                             // median user + system seconds
    long peakKilobytes = 0;                     // the largest of the runs
};

// Median, lowest and highest wall time and median processor time of runs.
inline Measure summary(std::vector<double> walls, std::vector<double> cpus, long peakKilobytes) {
    Measure m;
    m.peakKilobytes = peakKilobytes;
    if (walls.empty())
        return m;
    std::ranges::sort(walls);
    std::ranges::sort(cpus);
    m.wall = walls[walls.size() / 2];
    m.wallLow = walls.front();
    m.wallHigh = walls.back();
    m.cpu = cpus[cpus.size() / 2];
    return m;
}

// User plus system seconds of a finished child.
inline double processorSeconds(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs work `runs` times, each in a fresh child process.
inline Measure measure(const std::function<void()>& work, int runs = 3) {
    std::vector<double> walls, cpus;
    Measure m;
    for (int r = 0; r < runs; ++r) {
        int channel[2];
        if (pipe(channel) != 0)
            break;
        const pid_t child = fork();
        if (child == 0) {
            close(channel[0]);
            const auto start = std::chrono::steady_clock::now();
            work();
            const double wall =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            (void)!write(channel[1], &wall, sizeof wall);
            _exit(0);
        }
        close(channel[1]);
        double wall = 0;
        (void)!read(channel[0], &wall, sizeof wall);
        close(channel[0]);
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        walls.push_back(wall);
        cpus.push_back(processorSeconds(usage));
        m.peakKilobytes = std::max(m.peakKilobytes, usage.ru_maxrss);
    }
    return summary(walls, cpus, m.peakKilobytes);
}

// One line of the final table. reference: seconds the plain loops take (measured, or
// extrapolated from what they were measured on, as `how` says); 0 when there is none.
inline void row(const std::string& name, const Measure& m, double target, double reference,
                const std::string& how = "") {
    std::printf("  %s: %.3f s (runs %.3f..%.3f s), processor %.3f s, peak %ld MB\n", name.c_str(),
                m.wall, m.wallLow, m.wallHigh, m.cpu, m.peakKilobytes / 1024);
    const bool own = m.peakKilobytes > 0; // measured in a child of its own
    std::printf("@row\t%s\t%.3f\t%.3f..%.3f\t%s\t%s\t%.3f\t%s\t%s\n", name.c_str(), m.wall,
                m.wallLow, m.wallHigh, own ? std::to_string(m.cpu).substr(0, 5).c_str() : "-",
                own ? std::to_string(m.peakKilobytes / 1024).c_str() : "-", target,
                reference > 0 ? std::to_string(reference / m.wall).c_str() : "", how.c_str());
}

} // namespace bench
