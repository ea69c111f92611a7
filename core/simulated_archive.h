#pragma once

#include "core/archive.h"

#include <cstddef>
#include <cstdint>

namespace quintor {

// A simulated archive of count draws (at most maxArchiveDraws): six distinct numbers and a jolly
// apart from them, uniformly random from the program's generator, three draws a week (Tuesday,
// Thursday, Saturday) from Saturday 3 January 2009 on.
Archive simulatedArchive(std::size_t count, std::uint32_t seed);

// True when the archive still starts with the draws of the simulated archive that a fresh
// program folder gets (seed 1): the user has not yet replaced it with real draws.
bool isSimulatedArchive(const Archive& archive);

} // namespace quintor
