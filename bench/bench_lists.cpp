// Times the big lists of final columns: the random extraction of the system window's command,
// and opening and saving a system of a million final columns.
#include "bench/bench_common.h"
#include "core/column_editing.h"
#include "core/system_file.h"

#include <cstdio>
#include <filesystem>

using namespace quintor;
namespace fs = std::filesystem;

namespace {

SystemState markedSystem(int numbers) {
    SystemState system;
    for (int n = 1; n <= numbers; ++n)
        system.marked[static_cast<std::size_t>(n)] = 1;
    return system;
}

} // namespace

int main() {
    // Thirty numbers make 593,775 columns, fewer than a million: the extraction takes half
    // of them from thirty numbers, and a million from forty.
    for (const auto& size : {std::pair{30, 500000}, std::pair{40, 1000000}}) {
        const int numbers = size.first, count = size.second;
        const auto m = bench::measure([numbers, count] {
            SystemState system = markedSystem(numbers);
            RandomGenerator random(1);
            if (extractRandomColumns(system, count, random) != count)
                std::printf("extraction short\n");
        });
        bench::row("estrazione casuale di " + std::to_string(count) + " colonne da " +
                       std::to_string(numbers) + " numeri",
                   m, 0.3, 0);
    }

    const fs::path folder = fs::temp_directory_path() / "quintor-bench-lists";
    fs::create_directories(folder);
    const fs::path file = folder / "milione.qtr";
    SystemState big = markedSystem(40);
    RandomGenerator random(2);
    extractRandomColumns(big, 1000000, random);
    bench::row("salva un sistema di 1000000 colonne",
               bench::measure([&] { (void)writeSystemFile(file, big); }), 0.1, 0);
    bench::row("apri un sistema di 1000000 colonne", bench::measure([&] {
                   SystemState loaded;
                   if (!readSystemFile(file, loaded) || loaded.finalColumns.size() != 1000000)
                       std::printf("open failed\n");
               }),
               0.1, 0);
    fs::remove_all(folder);
    return 0;
}
