#pragma once

#include "core/archive.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quintor {

// A simulated archive of count draws (at most maxArchiveDraws): six distinct numbers and a jolly
// apart from them, uniformly random from the program's generator, three draws a week (Tuesday,
// Thursday, Saturday) from Saturday 3 January 2009 on.
Archive simulatedArchive(std::size_t count, std::uint32_t seed);
// The same draws, in the same order, dated so that the newest falls on the last draw day on or
// before lastDay: the simulated archive a program folder gets on its first start, which must
// not hold draws from the future.
Archive simulatedArchiveUntil(std::size_t count, std::uint32_t seed, std::chrono::sys_days lastDay);

// True when the archive still starts with the draws of the simulated archive that a fresh
// program folder gets (seed 1), whatever their dates: the user has not yet replaced it with
// real draws.
bool isSimulatedArchive(const Archive& archive);

// What a merge of real draws into an archive did, and how many simulated draws it replaced.
struct RealDrawsMerge {
    MergeCounts counts;
    std::size_t simulatedReplaced = 0;
};
// Merges real draws into archive. When it holds the simulated draws they go first, so that no
// real draw is skipped for a simulated one of the same date; draws without a single valid one
// replace nothing.
RealDrawsMerge mergeReplacingSimulated(Archive& archive, const std::vector<ArchiveRecord>& draws);

} // namespace quintor
