#pragma once

#include <cstdint>

namespace quintor {

// The program's linear congruential generator. Results are replayable from the seed, so
// tests inject one; the program seeds it from the clock.
class RandomGenerator {
public:
    explicit RandomGenerator(std::uint32_t seed = 0) : seed_(seed) {}

    void setSeed(std::uint32_t seed) { seed_ = seed; }
    std::uint32_t seed() const { return seed_; }

    // A random integer in 0..n-1 (0 when n <= 0).
    int next(int n) {
        seed_ = seed_ * 134775813u + 1u;
        if (n <= 0)
            return 0;
        return static_cast<int>((static_cast<std::uint64_t>(n) * seed_) >> 32);
    }

    // Milliseconds since midnight, UTC: the seed the program takes from the clock.
    static std::uint32_t clockSeed();

private:
    std::uint32_t seed_;
};

} // namespace quintor
