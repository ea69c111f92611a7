#include "core/simulated_archive.h"

#include "core/random.h"

#include <algorithm>
#include <array>

namespace quintor {

namespace {

using namespace std::chrono;

// Three draws a week: Saturday to Tuesday is three days, Tuesday to Thursday and Thursday to
// Saturday two.
sys_days nextDrawDay(sys_days day) {
    return day + (weekday{day} == Saturday ? days{3} : days{2});
}

sys_days previousDrawDay(sys_days day) {
    return day - (weekday{day} == Tuesday ? days{3} : days{2});
}

bool isDrawDay(sys_days day) {
    const weekday w{day};
    return w == Tuesday || w == Thursday || w == Saturday;
}

Archive simulatedArchiveFrom(std::size_t count, std::uint32_t seed, sys_days day) {
    RandomGenerator random(seed);
    count = std::min(count, maxArchiveDraws);
    std::vector<ArchiveRecord> records;
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::array<bool, 91> taken{};
        Column numbers{};
        for (auto& number : numbers) {
            int n;
            do
                n = random.next(90) + 1;
            while (taken[static_cast<std::size_t>(n)]);
            taken[static_cast<std::size_t>(n)] = true;
            number = static_cast<std::uint8_t>(n);
        }
        std::sort(numbers.begin(), numbers.end());
        int jolly;
        do
            jolly = random.next(90) + 1;
        while (taken[static_cast<std::size_t>(jolly)]);
        records.push_back(ArchiveRecord::fromValues(year_month_day{day}, numbers, jolly));
        day = nextDrawDay(day);
    }
    return Archive{std::move(records)};
}

} // namespace

Archive simulatedArchive(std::size_t count, std::uint32_t seed) {
    return simulatedArchiveFrom(count, seed, sys_days{year{2009} / January / 3}); // a Saturday
}

Archive simulatedArchiveUntil(std::size_t count, std::uint32_t seed, sys_days lastDay) {
    count = std::min(count, maxArchiveDraws);
    sys_days first = lastDay;
    while (!isDrawDay(first))
        first -= days{1};
    for (std::size_t i = 1; i < count; ++i)
        first = previousDrawDay(first);
    return simulatedArchiveFrom(count, seed, first);
}

bool isSimulatedArchive(const Archive& archive) {
    // The dates are left out: the draws are the same whatever day the archive was made on.
    // Twenty draws matching by chance is out of the question; real draws added after the
    // simulated ones leave the archive simulated still.
    const std::size_t compared = std::min<std::size_t>(archive.size(), 20);
    if (compared == 0)
        return false;
    const Archive sample = simulatedArchive(compared, 1);
    for (std::size_t i = 0; i < compared; ++i)
        if (archive[i].column != sample[i].column || archive[i].jolly != sample[i].jolly)
            return false;
    return true;
}

} // namespace quintor

namespace quintor {

RealDrawsMerge mergeReplacingSimulated(Archive& archive, const std::vector<ArchiveRecord>& draws) {
    RealDrawsMerge result;
    if (!isSimulatedArchive(archive)) {
        result.counts = archive.merge(draws);
        return result;
    }
    Archive before = archive;
    archive.clear();
    result.counts = archive.merge(draws);
    if (archive.empty()) {
        archive = std::move(before);
        return result;
    }
    result.simulatedReplaced = before.size();
    return result;
}

} // namespace quintor
