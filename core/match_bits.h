#pragma once

#include "core/column.h"
#include "core/number_set.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quintor {

// Bit tools shared by the engines that count how many numbers of a growing prefix of marked
// numbers each final column holds.
namespace match_bits {

using Word = std::uint64_t;

// Per final column, how many numbers of the current prefix it holds, bit-sliced: bit j of
// b0, b1, b2 are the three bits of the count of final column 64 * word + j. One addition
// of a number's membership bits updates 64 final columns at once.
struct Counts3 {
    Word b0 = 0, b1 = 0, b2 = 0;
};

inline Counts3 addBit(const Counts3& c, Word bit) {
    const Word carry0 = c.b0 & bit;
    const Word carry1 = c.b1 & carry0;
    return {c.b0 ^ bit, c.b1 ^ carry0, c.b2 ^ carry1};
}

// The final columns seen from the marked numbers: which columns hold each marked number,
// and what every column holds, in words of 64 columns.
struct ColumnMembership {
    ColumnMembership(std::span<const int> marked, std::span<const Column> finals)
        : marked(marked.begin(), marked.end()), count(finals.size()),
          words((finals.size() + 63) / 64) {
        numbers.resize(words * 64);
        for (std::size_t j = 0; j < finals.size(); ++j)
            numbers[j] = NumberSet::of(finals[j]);
        members.assign(this->marked.size() * words, 0);
        for (std::size_t p = 0; p < this->marked.size(); ++p)
            for (std::size_t j = 0; j < count; ++j)
                if (numbers[j].contains(this->marked[p]))
                    members[p * words + j / 64] |= Word{1} << (j % 64);
        present.assign(words, ~Word{0});
        if (count % 64 != 0)
            present.back() = (Word{1} << (count % 64)) - 1;
        if (words == 0)
            present.clear();
    }

    const Word* membersOf(int position) const {
        return members.data() + static_cast<std::size_t>(position) * words;
    }

    // Narrows candidates to the columns whose count in level is the largest; returns it.
    int narrowToMax(const Counts3* level, Word* candidates) const {
        for (std::size_t w = 0; w < words; ++w)
            candidates[w] = present[w];
        int best = 0;
        narrow(level, candidates, &Counts3::b2, 4, best);
        narrow(level, candidates, &Counts3::b1, 2, best);
        narrow(level, candidates, &Counts3::b0, 1, best);
        return best;
    }

    // The numbers of the candidate columns, stopping early once all of wanted are in.
    NumberSet unionOf(const Word* candidates, const NumberSet& wanted) const {
        NumberSet reach;
        for (std::size_t w = 0; w < words; ++w) {
            if (reach.includes(wanted))
                break;
            for (Word c = candidates[w]; c; c &= c - 1)
                reach |= numbers[w * 64 + static_cast<std::size_t>(std::countr_zero(c))];
        }
        return reach;
    }

    std::vector<int> marked;
    std::size_t count;
    std::size_t words;
    std::vector<NumberSet> numbers; // padded to a whole number of words
    std::vector<Word> members;      // [position][word]: final columns holding it
    std::vector<Word> present;      // the real final columns of each word

private:
    void narrow(const Counts3* level, Word* candidates, Word Counts3::*plane, int weight,
                int& best) const {
        Word any = 0;
        for (std::size_t w = 0; w < words; ++w)
            any |= candidates[w] & (level[w].*plane);
        if (!any)
            return;
        for (std::size_t w = 0; w < words; ++w)
            candidates[w] &= level[w].*plane;
        best += weight;
    }
};

} // namespace match_bits

} // namespace quintor
