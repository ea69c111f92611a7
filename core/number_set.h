#pragma once

#include "core/column.h"

#include <bit>
#include <cstdint>

namespace quintor {

// A set of numbers below 128 (the board's 1..90 and the bytes of damaged columns): bit n of
// the two words for the number n.
struct NumberSet {
    std::uint64_t lo = 0, hi = 0;

    // The board numbers of a column; anything else in it is left out.
    static NumberSet of(const Column& column) {
        NumberSet set;
        for (auto v : column)
            if (isBoardNumber(v))
                set.add(v);
        return set;
    }
    // The numbers 0..n.
    static NumberSet upTo(int n) {
        NumberSet set;
        set.lo = n >= 63 ? ~std::uint64_t{0} : (std::uint64_t{2} << n) - 1;
        set.hi = n < 64 ? 0 : ~std::uint64_t{0} >> (127 - n);
        return set;
    }

    void add(int n) {
        if (n < 64)
            lo |= std::uint64_t{1} << n;
        else
            hi |= std::uint64_t{1} << (n - 64);
    }
    bool contains(int n) const { return n < 64 ? (lo >> n) & 1 : (hi >> (n - 64)) & 1; }
    NumberSet operator|(const NumberSet& o) const { return {lo | o.lo, hi | o.hi}; }
    NumberSet operator&(const NumberSet& o) const { return {lo & o.lo, hi & o.hi}; }
    NumberSet& operator|=(const NumberSet& o) {
        lo |= o.lo;
        hi |= o.hi;
        return *this;
    }
    NumberSet without(const NumberSet& o) const { return {lo & ~o.lo, hi & ~o.hi}; }
    bool includes(const NumberSet& o) const { return o.without(*this).empty(); }
    int size() const { return std::popcount(lo) + std::popcount(hi); }
    bool empty() const { return (lo | hi) == 0; }
    // The smallest number in a set that is not empty.
    int lowest() const { return lo ? std::countr_zero(lo) : 64 + std::countr_zero(hi); }
    bool operator==(const NumberSet&) const = default;
};

// How many numbers two sets share.
inline int common(const NumberSet& a, const NumberSet& b) {
    return (a & b).size();
}

} // namespace quintor
