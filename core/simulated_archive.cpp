#include "core/simulated_archive.h"

#include "core/random.h"

#include <algorithm>
#include <array>

namespace quintor {

Archive simulatedArchive(std::size_t count, std::uint32_t seed) {
    using namespace std::chrono;
    RandomGenerator random(seed);
    count = std::min(count, maxArchiveDraws);
    std::vector<ArchiveRecord> records;
    records.reserve(count);
    sys_days day = sys_days{year{2009} / January / 3}; // a Saturday
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
        // Saturday to Tuesday is three days, Tuesday to Thursday and Thursday to Saturday two.
        day += weekday{day} == Saturday ? days{3} : days{2};
    }
    return Archive{std::move(records)};
}

bool isSimulatedArchive(const Archive& archive) {
    // Twenty draws matching by chance is out of the question; real draws added after the
    // simulated ones leave the archive simulated still.
    const std::size_t compared = std::min<std::size_t>(archive.size(), 20);
    if (compared == 0)
        return false;
    const Archive sample = simulatedArchive(compared, 1);
    for (std::size_t i = 0; i < compared; ++i)
        if (archive[i].date != sample[i].date || archive[i].column != sample[i].column ||
            archive[i].jolly != sample[i].jolly)
            return false;
    return true;
}

} // namespace quintor
