// Times the selection run: the fast engine on the large systems, and the fast engine against
// the plain reference on a 20-number system in the same run.
//
//   bench_selection            all of it
//   bench_selection b1|b2|ratio  one part

#include "core/archive.h"
#include "core/selection.h"
#include "tests/reference/selection_reference.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

using namespace quintor;

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

SelectionRequest request(std::span<const Column> draws, int first, int last, std::int64_t count,
                         int precision) {
    SelectionRequest r;
    r.draws = draws;
    for (int x = first; x <= last; ++x)
        r.marked.push_back(x);
    r.probabilities.fill(50);
    r.count = count;
    r.precision = precision;
    return r;
}

double timeFast(const SelectionRequest& r, std::size_t* kept = nullptr) {
    const auto start = std::chrono::steady_clock::now();
    const auto result = selectColumns(r);
    const double elapsed = seconds(start);
    if (!result.ok()) {
        std::printf("refused: %s\n", result.error().c_str());
        return elapsed;
    }
    if (kept)
        *kept = result->columns.size();
    return elapsed;
}

void b1(const std::vector<Column>& draws) {
    for (int precision : {26, 0}) {
        std::size_t kept = 0;
        const double t = timeFast(request(draws, 1, 90, 100, precision), &kept);
        std::printf("B1 90 numbers, %zu draws, count 100, precision %d: %.2f s (%zu kept, "
                    "target %d s), peak memory %ld MB\n",
                    draws.size(), precision, t, kept, precision == 26 ? 10 : 20, peakMegabytes());
    }
}

void b2() {
    const auto file = std::filesystem::path(QUINTOR_SHARED_DATA) / "vincenti.dat";
    if (!std::filesystem::exists(file)) {
        std::printf("B2 skipped: %s not found\n", file.c_str());
        return;
    }
    const auto draws = Archive::load(file).newestFirst(snapshotLimit);
    std::size_t kept = 0;
    const double t = timeFast(request(draws, 1, 30, 1000, 0), &kept);
    std::printf("B2 30 numbers, vincenti.dat (%zu draws), count 1000, precision 0: %.3f s "
                "(%zu kept, target 0.5 s)\n",
                draws.size(), t, kept);
}

void ratio(const std::vector<Column>& draws) {
    const std::span<const Column> some(draws.data(), 1000);
    const auto r = request(some, 31, 50, 50, 0);
    // A run of about a millisecond: the median of several keeps a stray pause on this shared
    // machine out of the figure.
    std::vector<double> runs;
    for (int i = 0; i < 9; ++i)
        runs.push_back(timeFast(r));
    std::ranges::sort(runs);
    const double fast = runs[runs.size() / 2];
    const auto start = std::chrono::steady_clock::now();
    reference::SelectionReference plain(some, r.probabilities, {});
    const auto expected = plain.select(r.marked, r.count, r.precision);
    const double slow = seconds(start);
    std::printf("20 numbers (38760 columns), 1000 draws, count 50, precision 0: fast %.4f s "
                "(median of 9), "
                "reference %.2f s, ratio %.0fx (target 200x)\n",
                fast, slow, slow / fast);
}

} // namespace

int main(int argc, char** argv) {
    const std::string part = argc > 1 ? argv[1] : "all";
    // The program's own simulated archive, as `quintor-cli sample-archive` writes it.
    const auto draws = simulatedArchive(10000, 1).newestFirst(snapshotLimit);
    if (part == "all" || part == "ratio")
        ratio(draws);
    if (part == "all" || part == "b2")
        b2();
    if (part == "all" || part == "b1")
        b1(draws);
    return 0;
}
