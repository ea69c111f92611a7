#pragma once

// How many numbers of a prefix each of the hundred newest draws holds, and the two maxima the
// scoring reads from those counts, in plain loops and in SSE2. The selection walk is built for
// each; core/vector_path.h chooses between them.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quintor {

// A set of the hundred newest draws, by index: bits 0..63 in low, 64..99 in high.
struct DrawSet {
    std::uint64_t low = 0, high = 0;
    void add(std::size_t i) { (i < 64 ? low : high) |= std::uint64_t{1} << (i % 64); }
    bool meets(const DrawSet& o) const { return ((low & o.low) | (high & o.high)) != 0; }
};

// One byte a draw, padded to whole 16-byte lanes.
inline constexpr std::size_t countLanes = 7;
struct alignas(16) DrawCounts {
    std::array<std::uint8_t, 16 * countLanes> bytes{};
};

// The most numbers a prefix shares with one draw, and the draws that share that many: a last
// number held by one of them adds one to the most.
struct Best {
    int most = 0;
    DrawSet reach;
};

struct ScalarCounts {
    static void add(const DrawCounts& from, const DrawCounts& number, DrawCounts& to) {
        for (std::size_t i = 0; i < to.bytes.size(); ++i)
            to.bytes[i] = static_cast<std::uint8_t>(from.bytes[i] + number.bytes[i]);
    }
    // The most over the 50 and over the 100 newest draws.
    static std::pair<int, int> most(const DrawCounts& counts) {
        int fifty = 0, hundred = 0;
        for (std::size_t i = 0; i < 50; ++i)
            fifty = std::max(fifty, int{counts.bytes[i]});
        hundred = fifty;
        for (std::size_t i = 50; i < 100; ++i)
            hundred = std::max(hundred, int{counts.bytes[i]});
        return {fifty, hundred};
    }
    static void best(const DrawCounts& counts, Best& fifty, Best& hundred) {
        const auto [m50, m100] = most(counts);
        fifty = {m50, {}};
        hundred = {m100, {}};
        for (std::size_t i = 0; i < 100; ++i) {
            if (i < 50 && counts.bytes[i] == m50)
                fifty.reach.add(i);
            if (counts.bytes[i] == m100)
                hundred.reach.add(i);
        }
    }
};

#if defined(__SSE2__)
struct Sse2Counts {
    static __m128i lane(const DrawCounts& c, std::size_t l) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(&c.bytes[16 * l]));
    }
    static void add(const DrawCounts& from, const DrawCounts& number, DrawCounts& to) {
        for (std::size_t l = 0; l < countLanes; ++l)
            _mm_store_si128(reinterpret_cast<__m128i*>(&to.bytes[16 * l]),
                            _mm_add_epi8(lane(from, l), lane(number, l)));
    }
    static int horizontalMax(__m128i v) {
        v = _mm_max_epu8(v, _mm_srli_si128(v, 8));
        v = _mm_max_epu8(v, _mm_srli_si128(v, 4));
        v = _mm_max_epu8(v, _mm_srli_si128(v, 2));
        v = _mm_max_epu8(v, _mm_srli_si128(v, 1));
        return _mm_cvtsi128_si32(v) & 0xff;
    }
    // Draws 0..49 are lanes 0..2 and the first two bytes of lane 3.
    static std::pair<int, int> most(const __m128i (&v)[countLanes]) {
        const __m128i firstTwo = _mm_set_epi8(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1);
        const int fifty = horizontalMax(_mm_max_epu8(
            _mm_max_epu8(v[0], v[1]), _mm_max_epu8(v[2], _mm_and_si128(v[3], firstTwo))));
        const int hundred = std::max(
            horizontalMax(_mm_max_epu8(_mm_max_epu8(v[3], v[4]), _mm_max_epu8(v[5], v[6]))), fifty);
        return {fifty, hundred};
    }
    static std::pair<int, int> most(const DrawCounts& counts) {
        __m128i v[countLanes];
        for (std::size_t l = 0; l < countLanes; ++l)
            v[l] = lane(counts, l);
        return most(v);
    }
    static void best(const DrawCounts& counts, Best& fifty, Best& hundred) {
        __m128i v[countLanes];
        for (std::size_t l = 0; l < countLanes; ++l)
            v[l] = lane(counts, l);
        const auto [m50, m100] = most(v);
        auto hits = [&](int most) {
            const __m128i m = _mm_set1_epi8(static_cast<char>(most));
            DrawSet set;
            for (std::size_t l = 0; l < 4; ++l)
                set.low |= std::uint64_t(std::uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v[l], m))))
                           << (16 * l);
            for (std::size_t l = 4; l < countLanes; ++l)
                set.high |= std::uint64_t(std::uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v[l], m))))
                            << (16 * (l - 4));
            return set;
        };
        constexpr std::uint64_t first50 = (std::uint64_t{1} << 50) - 1;
        constexpr std::uint64_t first36 = (std::uint64_t{1} << 36) - 1; // draws 64..99
        const DrawSet at50 = hits(m50);
        fifty = {m50, {at50.low & first50, 0}};
        const DrawSet at100 = m100 == m50 ? at50 : hits(m100);
        hundred = {m100, {at100.low, at100.high & first36}};
    }
};
#endif

} // namespace quintor
