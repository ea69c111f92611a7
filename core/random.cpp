#include "core/random.h"

#include <chrono>

namespace quintor {

std::uint32_t RandomGenerator::clockSeed() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto sinceMidnight = now - floor<days>(now);
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(sinceMidnight).count());
}

} // namespace quintor
