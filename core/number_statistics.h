#pragma once

#include "core/archive.h"
#include "core/column.h"
#include "core/expected.h"
#include "core/system_state.h"

#include <array>
#include <cstdint>
#include <span>

namespace quintor {

// Adding and removing numbers look at the 200 newest draws and ask for a margin beyond them.
inline constexpr std::size_t statisticsMinimumDraws = 301;
inline constexpr const char* statisticsArchiveMessage =
    "Per questa funzione è neccessario un archivio con\ralmeno 301 colonne vincenti.";

struct StatisticsCriteria {
    bool delays = true;       // "Ritardi"
    bool frequencies = false; // "Frequenze"
};

// Where each number stands now, over the 100 newest draws: the draws since it last came out
// (100 when it did not) and how often it came out. Indexed by number, [0] unused.
struct PresentStatistics {
    std::array<int, boardSize + 1> delay{};
    std::array<int, boardSize + 1> frequency{};
};

struct ReferenceRange {
    long double minimum = 0;
    long double mean = 0;
    long double maximum = 0;
};

// The delays and frequencies that the numbers of each of the 100 newest draws had just before
// that draw came out (600 values each); only the selected criteria are computed.
struct ReferenceStatistics {
    ReferenceRange delay;
    ReferenceRange frequency;
};

// draws: newest first. Draws past the end of the span count as holding no number.
PresentStatistics presentStatistics(std::span<const Column> draws);
ReferenceStatistics referenceStatistics(std::span<const Column> draws, StatisticsCriteria criteria);

// Score 0..100 of each number (0..50 with one criterion), [0] unused.
std::array<long double, boardSize + 1> numberScores(std::span<const Column> draws,
                                                    StatisticsCriteria criteria);

struct RankedNumber {
    int number = 0;
    long double score = 0;
};
using NumberRanking = std::array<RankedNumber, boardSize>;

// Best first when adding, worst first when removing. Numbers are exchanged only on a strictly
// better (or worse) score, and the exchange order decides where equal scores end up.
NumberRanking rankNumbers(const std::array<long double, boardSize + 1>& scores, bool adding);

// The ranking for the add and remove commands, from the archive; refuses an archive with
// fewer than statisticsMinimumDraws draws.
Expected<NumberRanking> rankFromArchive(const Archive& archive, StatisticsCriteria criteria,
                                        bool adding);

// Marks (adding) or unmarks (removing) up to `requested` numbers, walking the ranking from its
// first place; the count is limited by the room left on the board or by the marked numbers.
// Number probabilities are left as they are. Returns how many numbers changed.
int changeMarksByRanking(std::array<std::uint8_t, boardSize + 1>& marked,
                         const NumberRanking& ranking, int requested, bool adding);

} // namespace quintor
