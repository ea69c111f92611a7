// Times the guarantee table, the holes, the repair and the back-test: the fast engines on the
// large cases, and fast against the plain references on cases both can finish.
#include "bench/bench_common.h"
#include "core/backtest.h"
#include "core/guarantee.h"
#include "core/probability.h"
#include "core/random.h"
#include "core/repair.h"
#include "tests/reference/guarantee_reference.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <numeric>
#include <tuple>
#include <vector>

using namespace quintor;
using bench::firstNumbers;
using bench::lastCpu;
using bench::randomFinals;
using bench::seconds;

namespace {

int failures = 0;

void verdict(bool ok, const char* what) {
    if (!ok) {
        std::printf("  FAILED: %s\n", what);
        ++failures;
    }
}

void table(const char* label, int numbers, int columns, double limit) {
    const auto marked = firstNumbers(numbers);
    const auto finals = randomFinals(marked, columns, 4242);
    GuaranteeTable result;
    const double t = seconds([&] { result = guaranteeTable(marked, finals); });
    std::printf("%s: guarantee table, %d numbers, %d final columns: fast %.2f s, cpu %.2f s (limit "
                "%.0f s)\n",
                label, numbers, columns, t, lastCpu, limit);
    for (int m = 3; m <= 6; ++m) {
        std::printf("  m=%d:", m);
        for (int k = 2; k <= m; ++k)
            std::printf(" %d se %d %.4f %%", k, m, result.percent(m, k));
        std::printf("\n");
    }
    verdict(t <= limit, "over the time limit");
}

} // namespace

int main() {
    table("G1", 90, 1000, 10);
    table("G2", 40, 10000, 2);
    {
        const auto marked = firstNumbers(22);
        const auto finals = randomFinals(marked, 300, 99);
        GuaranteeTable fast;
        std::array<std::array<std::uint64_t, 7>, 7> plain{};
        const double tf = seconds([&] { fast = guaranteeTable(marked, finals); });
        const double tr = seconds([&] {
            for (int m = 3; m <= 6; ++m)
                plain[static_cast<std::size_t>(m)] =
                    reference::bestMatchesOfSize(marked, finals, m);
        });
        std::printf(
            "G3: 22 numbers, 300 final columns: fast %.4f s, reference %.2f s, ratio %.0fx\n", tf,
            tr, tr / tf);
        verdict(fast.best == plain, "table differs from the reference");
        const auto six = countBestMatches(marked, finals);
        verdict(std::equal(six.best.begin(), six.best.end(), fast.best[6].begin()),
                "m = 6 row differs from the probability of winning");
    }
    {
        const auto marked = firstNumbers(30);
        const auto finals = randomFinals(marked, 100, 31);
        std::array<std::uint64_t, 7> best{};
        const double tc = seconds([&] { countBestMatchesOfSize(marked, finals, 6, best); });
        const std::uint64_t count = best[0] + best[1] + best[2];
        std::vector<Column> first;
        const double tl = seconds([&] {
            HoleCursor cursor(marked, finals, 3, 6);
            cursor.next(first, 1000);
        });
        std::vector<Column> plain;
        const double tr = seconds([&] { plain = reference::holes(marked, finals, 3, 6); });
        std::printf("H1: holes of 3 se 6, 30 numbers, 100 final columns: %llu holes counted in "
                    "%.3f s, first 1000 listed in %.4f s; reference %.2f s, ratio %.0fx "
                    "(limit 1 s)\n",
                    static_cast<unsigned long long>(count), tc, tl, tr, tr / (tc + tl));
        verdict(count == plain.size(), "hole count differs from the reference");
        verdict(std::equal(first.begin(), first.end(), plain.begin()),
                "first holes differ from the reference");
        verdict(tc < 1 && tl < 1, "over the time limit");
    }
    {
        RepairRequest request;
        request.marked = firstNumbers(20);
        request.budget = 1000;
        request.searchWork = 40'000'000; // about a second of search
        Expected<RepairResult> result = Failure{""};
        const double t = seconds([&] { result = repairGuarantee(request); });
        const std::size_t added = result ? result->added.size() : 0;
        std::printf("R1: repair of 3 se 6 from no columns, 20 numbers: %zu columns in %.2f s, "
                    "cpu %.2f s, covered %llu/%llu (limit 10 s)\n",
                    added, t, lastCpu,
                    result ? static_cast<unsigned long long>(result->covered) : 0ull,
                    result ? static_cast<unsigned long long>(result->total) : 0ull);
        verdict(result && result->covered == result->total, "guarantee not reached");
        verdict(t < 10, "over the time limit");

        // "3 se 3" from nothing is a covering of every triple by six-number blocks, a
        // C(v,6,3) covering: its size against the Schoenheim lower bound computed here (every
        // published covering has at least that many blocks, so within 25 % of the bound means
        // within 25 % of the best known) and, for 12 numbers, against the proved minimum
        // C(12,6,3) = 15 (Gordon, Patashnik and Petro, "Minimum (12,6,3) covers").
        for (int numbers = 12; numbers <= 24; ++numbers) {
            RepairRequest triples;
            triples.marked = firstNumbers(numbers);
            triples.t = 3;
            triples.m = 3;
            triples.budget = 1000;
            const auto greedy = repairGuarantee(triples);
            triples.searchWork = 40'000'000;
            Expected<RepairResult> covering = Failure{""};
            const double tc = seconds([&] { covering = repairGuarantee(triples); });
            const std::size_t size = covering ? covering->added.size() : 0;
            const auto v = static_cast<std::uint64_t>(numbers);
            auto up = [](std::uint64_t a, std::uint64_t b) { return (a + b - 1) / b; };
            const std::uint64_t bound = up(v * up((v - 1) * up(v - 2, 4), 5), 6);
            std::printf("R3: repair of 3 se 3 from no columns, %d numbers: %zu columns (greedy "
                        "alone %zu) in %.2f s; Schoenheim bound %llu, %.0f %% above it%s\n",
                        numbers, size, greedy ? greedy->added.size() : 0, tc,
                        static_cast<unsigned long long>(bound),
                        100.0 * (double(size) / double(bound) - 1),
                        numbers == 12 ? "; proved minimum 15" : "");
            verdict(covering && covering->covered == covering->total, "guarantee not reached");
        }

        RepairRequest small;
        small.marked = firstNumbers(11);
        small.budget = 1000;
        Expected<RepairResult> fast = Failure{""};
        RepairResult plain;
        const double tf = seconds([&] { fast = repairGuarantee(small); });
        const double tr = seconds([&] { plain = reference::repair(small); });
        std::printf("R2: repair of 3 se 6 from no columns, 11 numbers: %zu columns; fast %.4f s, "
                    "reference %.2f s, ratio %.0fx\n",
                    plain.added.size(), tf, tr, tr / tf);
        verdict(fast && fast->added == plain.added, "repair differs from the reference");
    }
    {
        const Archive archive = simulatedArchive(10000, 5);
        const auto finals = randomFinals(firstNumbers(90), 10000, 17);
        BacktestResult result;
        const double t = seconds([&] { result = backtest(finals, archive.records()); });
        std::printf("B1: back-test, 10000 final columns, 10000 draws: fast %.3f s, cpu %.3f s "
                    "(limit 1 s); draws with 4 or more: %llu\n",
                    t, lastCpu,
                    static_cast<unsigned long long>(result.byBest[4] + result.byBest[5] +
                                                    result.byBest[6] + result.byBest[7]));
        verdict(t < 1, "over the time limit");

        const std::span<const ArchiveRecord> part(archive.records().data(), 1000);
        const std::vector<Column> few(finals.begin(), finals.begin() + 1000);
        BacktestResult fast, plain;
        const double tf = seconds([&] { fast = backtest(few, part); });
        const double tr = seconds([&] { plain = reference::backtest(few, part); });
        std::printf("B2: back-test, 1000 final columns, 1000 draws: fast %.4f s, reference %.2f s, "
                    "ratio %.0fx\n",
                    tf, tr, tr / tf);
        verdict(fast.byBest == plain.byBest && fast.winners == plain.winners,
                "back-test differs from the reference");
    }
    return failures == 0 ? 0 : 1;
}
