// Times the selection run: the fast engine on the large systems, and the plain reference on a
// 20-number system in the same run; the reference's time a column gives its figure for the
// large systems, which it could not finish in minutes.
//
//   bench_selection            all of it
//   bench_selection b1|b2|ratio|filtri  one part

#include "bench/bench_common.h"
#include "core/archive.h"
#include "core/column_filters.h"
#include "core/combinatorics.h"
#include "core/selection.h"
#include "core/vector_path.h"
#include "tests/reference/selection_reference.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

using namespace quintor;

namespace {

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

void runFast(const SelectionRequest& r) {
    const auto result = selectColumns(r);
    if (!result.ok())
        std::printf("refused: %s\n", result.error().c_str());
}

// Seconds of the plain reference a column, from the 20-number system.
double referencePerColumn(const std::vector<Column>& draws) {
    const std::span<const Column> some(draws.data(), 1000);
    const auto r = request(some, 31, 50, 50, 0);
    const auto start = std::chrono::steady_clock::now();
    reference::SelectionReference plain(some, r.probabilities, {});
    const auto expected = plain.select(r.marked, r.count, r.precision);
    const double slow =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto fast = bench::measure([&] { runFast(r); }, 9);
    bench::row("20 numeri, 1000 estrazioni, 50 colonne", fast, 0.01, slow, "(misurato)");
    return slow / static_cast<double>(initialColumnCountExact(20));
}

void b1(const std::vector<Column>& draws, double perColumn) {
    const double reference = perColumn * static_cast<double>(initialColumnCountExact(90));
    for (int precision : {26, 0}) {
        const auto r = request(draws, 1, 90, 100, precision);
        const auto m = bench::measure([&] { runFast(r); }, 5);
        bench::row(precision == 26 ? "B1 selezione 90 numeri, precisione 26"
                                   : "B1' selezione 90 numeri, precisione 0",
                   m, precision == 26 ? 0.6 : 0.7, reference,
                   "(riferimento stimato dal suo tempo a colonna)");
    }
}

// The same B1 run with every filter on, against the run without filters measured alongside:
// the filters must cost at most half the unfiltered time.
void filtered(const std::vector<Column>& draws) {
    const auto plain = request(draws, 1, 90, 100, 26);
    SelectionRequest withFilters = plain;
    ColumnFilters filters;
    for (const char* filterText :
         {"somma=150..330", "dispari=2..4", "bassi=2..4", "decina<=2", "consecutivi<=2",
          "finale<=2", "con=3,9,27,45,81,88", "senza=13,17", "archivio<=3"})
        addFilter(filters, filterText);
    withFilters.filter = std::make_shared<const FilterCheck>(filters, draws);
    const auto without = bench::measure([&] { runFast(plain); }, 5);
    const auto with = bench::measure([&] { runFast(withFilters); }, 5);
    bench::row("B1 senza filtri, precisione 26 (confronto)", without, 0.6, 0);
    std::printf("  con filtri / senza filtri: %.2f\n", with.wall / without.wall);
    bench::row("B1 con tutti i filtri, precisione 26", with, 1.5 * without.wall, without.wall,
               "(obiettivo: 1,5 volte la stessa selezione senza filtri, misurata insieme)");
}

void b2() {
    const auto file = std::filesystem::path(QUINTOR_SHARED_DATA) / "vincenti.dat";
    if (!std::filesystem::exists(file)) {
        std::printf("B2 skipped: %s not found\n", file.c_str());
        return;
    }
    const auto draws = Archive::load(file).newestFirst(snapshotLimit);
    const auto r = request(draws, 1, 30, 1000, 0);
    bench::row("B2 selezione 30 numeri, archivio reale", bench::measure([&] { runFast(r); }), 0.5,
               0);
}

} // namespace

int main(int argc, char** argv) {
    const std::string part = argc > 1 ? argv[1] : "all";
    std::printf("vettori: %s\n", vectorPathName(vectorPath()));
    // The program's own simulated archive, as `quintor-cli sample-archive` writes it.
    const auto draws = simulatedArchive(10000, 1).newestFirst(snapshotLimit);
    double perColumn = 0;
    if (part == "all" || part == "ratio" || part == "b1")
        perColumn = referencePerColumn(draws);
    if (part == "all" || part == "b2")
        b2();
    if (part == "all" || part == "b1")
        b1(draws, perColumn);
    if (part == "all" || part == "filtri")
        filtered(draws);
    return 0;
}
