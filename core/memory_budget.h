#pragma once

#include <cstdint>

namespace quintor {

// How many more bytes this process can allocate now: the smallest of the memory the system
// still has available, the room its own limits leave (address space and data size, as a
// "ulimit -v" or "ulimit -d" sets them) and the room its control group's limit leaves.
std::uint64_t availableMemory();

} // namespace quintor
