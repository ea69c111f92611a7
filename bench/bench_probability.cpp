// Times the best-match count of the probability window: the fast engine on the two large
// systems, and the fast engine against the plain loops on a system both can finish.
#include "bench/bench_common.h"
#include "core/combinatorics.h"
#include "core/probability.h"
#include "core/random.h"
#include "core/vector_path.h"
#include "tests/reference/probability_reference.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <vector>

using namespace quintor;
using bench::firstNumbers;
using bench::randomFinals;
using bench::seconds;

namespace {

void print(const char* name, const BestMatchCounts& c) {
    std::printf(
        "  %s: examined %llu, 3:%llu 4:%llu 5:%llu 6:%llu\n", name,
        static_cast<unsigned long long>(c.examined), static_cast<unsigned long long>(c.best[3]),
        static_cast<unsigned long long>(c.best[4]), static_cast<unsigned long long>(c.best[5]),
        static_cast<unsigned long long>(c.best[6]));
}

// perPair: seconds of the plain loops for one initial column against one final column.
void fastOnly(const char* label, int numbers, int finalCount, double target, double perPair) {
    const auto marked = firstNumbers(numbers);
    const auto finals = randomFinals(marked, finalCount, 12345);
    const auto m = bench::measure([&] { (void)countBestMatches(marked, finals); });
    print("fast", countBestMatches(marked, finals));
    bench::row(label, m, target,
               perPair * static_cast<double>(initialColumnCountExact(numbers)) * finalCount,
               "(riferimento stimato da P3)");
}

} // namespace

int main() {
    std::printf("vettori: %s\n", vectorPathName(vectorPath()));
    const auto marked = firstNumbers(25);
    const auto finals = randomFinals(marked, 500, 777);
    BestMatchCounts fast, plain;
    const double tr = seconds([&] { plain = reference::bestMatches(marked, finals); });
    fast = countBestMatches(marked, finals);
    print("fast", fast);
    print("reference", plain);
    if (!(fast == plain))
        std::printf("P3: COUNTS DIFFER\n");
    bench::row("P3 probabilita 25 numeri x 500 finali",
               bench::measure([&] { (void)countBestMatches(marked, finals); }), 0.01, tr,
               "(misurato)");
    const double perPair = tr / static_cast<double>(initialColumnCountExact(25)) / 500;

    fastOnly("P1 probabilita 90 numeri x 1000 finali", 90, 1000, 1.5, perPair);
    fastOnly("P2 probabilita 40 numeri x 10000 finali", 40, 10000, 0.15, perPair);
    return fast == plain ? 0 : 1;
}
