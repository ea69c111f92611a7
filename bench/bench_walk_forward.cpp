// Times the walk-forward test: at each of the newest 200 draws of the real archive, the
// selection of 100 columns from 30 numbers on the draws before it, and 1,000 random sets.
#include "bench/bench_common.h"
#include "core/archive.h"
#include "core/walk_forward.h"

#include <cstdio>
#include <filesystem>

using namespace quintor;

int main() {
    const auto file = std::filesystem::path(QUINTOR_SHARED_DATA) / "vincenti.dat";
    const Archive archive =
        std::filesystem::exists(file) ? Archive::load(file) : simulatedArchive(3000, 1);
    std::printf("archivio: %s, %zu estrazioni\n",
                std::filesystem::exists(file) ? file.c_str() : "simulato", archive.size());
    SystemState system;
    for (int n : bench::firstNumbers(30))
        system.marked[static_cast<std::size_t>(n)] = 1;
    WalkForwardSettings settings;
    settings.count = 100;
    settings.precision = 0;
    settings.seed = 7;

    // One run outside the timing, to show what is timed.
    const double once = bench::seconds([&] {
        const auto result = walkForward(system, archive, settings);
        if (!result) {
            std::printf("errore: %s\n", result.error().c_str());
            return;
        }
        for (const std::string& line : walkForwardSummaryLines(*result))
            std::printf("  %s\n", line.c_str());
        std::printf("  %s\n", walkForwardVerdict(*result).c_str());
    });
    std::printf("W1 prima prova: %.2f s, processore %.2f s\n", once, bench::lastCpu);
    const auto timed = bench::measure(
        [&] {
            const auto result = walkForward(system, archive, settings);
            if (!result || result->draws.size() != settings.draws)
                std::_Exit(1);
        },
        3);
    bench::row("W1 prova sul caso, 200 estrazioni x (100 colonne da 30 numeri + 1000 sistemi "
               "casuali)",
               timed, 60, 0);
    return 0;
}
