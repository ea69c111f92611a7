// Times the best-match count of the probability window: the fast engine on the two large
// systems, and the fast engine against the plain loops on a system both can finish.
#include "core/combinatorics.h"
#include "core/probability.h"
#include "core/random.h"
#include "tests/reference/probability_reference.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <vector>

using namespace quintor;

namespace {

std::vector<int> firstNumbers(int count) {
    std::vector<int> marked(static_cast<std::size_t>(count));
    std::iota(marked.begin(), marked.end(), 1);
    return marked;
}

// Six distinct marked numbers in increasing order, as the selection would write them.
std::vector<Column> randomFinals(const std::vector<int>& marked, int count, std::uint32_t seed) {
    RandomGenerator random(seed);
    std::vector<Column> finals;
    for (int i = 0; i < count; ++i) {
        std::vector<int> pool = marked;
        Column column{};
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

template <class F> double seconds(F&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void print(const char* name, const BestMatchCounts& c) {
    std::printf(
        "  %s: examined %llu, 3:%llu 4:%llu 5:%llu 6:%llu\n", name,
        static_cast<unsigned long long>(c.examined), static_cast<unsigned long long>(c.best[3]),
        static_cast<unsigned long long>(c.best[4]), static_cast<unsigned long long>(c.best[5]),
        static_cast<unsigned long long>(c.best[6]));
}

void fastOnly(const char* label, int numbers, int finalCount, double limit) {
    const auto marked = firstNumbers(numbers);
    const auto finals = randomFinals(marked, finalCount, 12345);
    BestMatchCounts counts;
    const double t = seconds([&] { counts = countBestMatches(marked, finals); });
    std::printf("%s: %d numbers, %d final columns: fast %.2f s (limit %.0f s)\n", label, numbers,
                finalCount, t, limit);
    print("fast", counts);
}

} // namespace

int main() {
    fastOnly("P1", 90, 1000, 30);
    fastOnly("P2", 40, 10000, 10);

    const auto marked = firstNumbers(25);
    const auto finals = randomFinals(marked, 500, 777);
    BestMatchCounts fast, plain;
    const double tf = seconds([&] { fast = countBestMatches(marked, finals); });
    const double tr = seconds([&] { plain = reference::bestMatches(marked, finals); });
    std::printf("P3: 25 numbers, 500 final columns: fast %.4f s, reference %.2f s, ratio %.0fx%s\n",
                tf, tr, tr / tf, fast == plain ? "" : "  COUNTS DIFFER");
    print("fast", fast);
    print("reference", plain);
    return fast == plain ? 0 : 1;
}
