#pragma once

// Sets of at most 63 marked numbers as bit masks of their positions, with the enumerations the
// repair and the covering search share.

#include "core/combinatorics.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace quintor::subset_masks {

using Mask = std::uint64_t;

// The position p of n marked numbers is bit n - 1 - p. Ranking a k-set of such bits in colex
// order then puts the lexicographically first set of numbers last, and masks in increasing
// value come in rank order.
class SetSpace {
public:
    explicit SetSpace(int n) : n_(n) {
        for (int p = 0; p < 64; ++p)
            for (int k = 0; k <= 6; ++k)
                choose_[static_cast<std::size_t>(p)][static_cast<std::size_t>(k)] =
                    static_cast<std::uint32_t>(std::min<std::uint64_t>(binomial(p, k), UINT32_MAX));
    }

    int size() const { return n_; }
    Mask bitOf(int position) const { return Mask{1} << (n_ - 1 - position); }

    std::uint32_t rank(Mask set) const {
        std::uint32_t r = 0;
        for (std::size_t i = 1; set; ++i, set &= set - 1)
            r += choose_[static_cast<std::size_t>(std::countr_zero(set))][i];
        return r;
    }

private:
    int n_;
    std::array<std::array<std::uint32_t, 7>, 64> choose_{};
};

namespace detail {

// The subsets of a pool whose size is known: the recursion counts the bits it leaves instead
// of counting them again at every level, which on processors without a bit-count instruction
// is most of the time a covering search spends.
template <class F> void forEachSubsetSized(Mask pool, int poolSize, int k, Mask base, F& f) {
    if (k == 0) {
        f(base);
        return;
    }
    // Take the lowest bit or leave it: the recursion is at most six deep.
    while (poolSize >= k) {
        const Mask low = pool & (~pool + 1);
        pool &= pool - 1;
        --poolSize;
        forEachSubsetSized(pool, poolSize, k - 1, base | low, f);
    }
}

} // namespace detail

// Calls f(mask) for every k-subset of the bits of pool, each joined to base.
template <class F> void forEachSubset(Mask pool, int k, Mask base, F&& f) {
    if (k < 0)
        return;
    detail::forEachSubsetSized(pool, std::popcount(pool), k, base, f);
}

// Every size-k set X of the bits of universe with required within X and at least t bits of X
// in near.
template <class F>
void forEachNeighbour(Mask universe, int k, Mask required, Mask near, int t, F&& f) {
    const Mask inside = near & ~required & universe;
    const Mask outside = universe & ~near & ~required;
    const int free = k - std::popcount(required);
    const int already = std::popcount(required & near);
    for (int a = std::max(0, t - already); a <= free; ++a) {
        const int b = free - a;
        if (a > std::popcount(inside) || b > std::popcount(outside))
            continue;
        forEachSubset(inside, a, required,
                      [&](Mask withInside) { forEachSubset(outside, b, withInside, f); });
    }
}

inline Mask nextSubset(Mask v) { // the next larger mask with as many bits (Gosper)
    const Mask t = v | (v - 1);
    return (t + 1) | (((~t & -~t) - 1) >> (std::countr_zero(v) + 1));
}

// splitmix64: small, fast and the same on every machine, so a seeded search repeats exactly.
class MaskRandom {
public:
    explicit MaskRandom(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in 0..1.
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    // One of the bits of pool (not empty), each as likely.
    Mask bitOf(Mask pool) {
        for (int skip = static_cast<int>(next() % static_cast<unsigned>(std::popcount(pool)));
             skip > 0; --skip)
            pool &= pool - 1;
        return pool & (~pool + 1);
    }

private:
    std::uint64_t state_;
};

} // namespace quintor::subset_masks
