// The coverings "t se t" of v numbers by six-number columns, C(v,6,t), that the repair finds
// from an empty system with its default search: the count against the Schoenheim lower bound
// (no covering has fewer columns) and the greedy choice alone, with the time each took.
// Arguments "v:t" run only those cases.
#include "bench/bench_common.h"
#include "core/repair.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace quintor;
using bench::firstNumbers;
using bench::lastCpu;
using bench::seconds;

namespace {

// ceil(v/k * ceil((v-1)/(k-1) * ... ceil((v-t+1)/(k-t+1)))), with integers.
std::uint64_t schoenheimBound(int v, int k, int t) {
    std::uint64_t bound = 1;
    for (int i = t - 1; i >= 0; --i) {
        const auto top = static_cast<std::uint64_t>(v - i) * bound;
        const auto by = static_cast<std::uint64_t>(k - i);
        bound = (top + by - 1) / by;
    }
    return bound;
}

struct Case {
    int v, t;
};

} // namespace

int main(int argc, char** argv) {
    std::vector<Case> cases;
    for (int a = 1; a < argc; ++a) {
        const std::string arg = argv[a];
        const auto colon = arg.find(':');
        cases.push_back(
            {std::atoi(arg.substr(0, colon).c_str()), std::atoi(arg.substr(colon + 1).c_str())});
    }
    if (cases.empty())
        for (int t = 3; t <= 4; ++t)
            for (int v = 10; v <= 20; ++v)
                cases.push_back({v, t});

    int failures = 0;
    std::uint64_t largeTotal = 0;
    double slowest = 0;
    std::printf("C(v,6,t): v t colonne greedy Schoenheim rapporto tempo_s CPU_s\n");
    for (const Case& c : cases) {
        RepairRequest request;
        request.marked = firstNumbers(c.v);
        request.t = request.m = c.t;
        request.budget = largestRepairBudget;
        const auto greedy = repairGuarantee(request);
        request.searchWork = defaultSearchWork;
        Expected<RepairResult> result = Failure{""};
        const double wall = seconds([&] { result = repairGuarantee(request); });
        const double cpu = lastCpu;
        const bool whole =
            result && greedy && result->reached() && result->covered == result->total;
        const std::size_t count = result ? result->added.size() : 0;
        const std::uint64_t bound = schoenheimBound(c.v, 6, c.t);
        std::printf("%2d %d %4zu %4zu %4llu %5.2f %7.2f %7.2f%s\n", c.v, c.t, count,
                    greedy ? greedy->added.size() : 0, static_cast<unsigned long long>(bound),
                    static_cast<double>(count) / static_cast<double>(bound), wall, cpu,
                    whole ? "" : "  FAILED: not a covering");
        failures += whole ? 0 : 1;
        if (c.v == 16 || c.v == 18 || c.v == 20)
            largeTotal += count;
        slowest = std::max(slowest, cpu);
    }
    std::printf("v = 16, 18, 20 and t = 3, 4 together: %llu columns; slowest case %.2f s CPU\n",
                static_cast<unsigned long long>(largeTotal), slowest);
    bench::Measure m;
    m.wall = m.wallLow = m.wallHigh = slowest;
    bench::row("C(v,6,t), v=10..20, t=3,4: the slowest case (CPU)", m, 60, 0);
    return failures == 0 ? 0 : 1;
}
