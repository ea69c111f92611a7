#pragma once

#include "core/run_control.h"
#include "core/subset_masks.h"

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace quintor {

// The m-sets a covering search must cover and the columns it may use: six numbers of the
// universe, each holding every number of fixed. Column c covers m-set X when X holds t of its
// numbers.
struct CoveringTarget {
    const subset_masks::SetSpace* space = nullptr;
    subset_masks::Mask universe = 0;
    subset_masks::Mask fixed = 0;
    int t = 3;
    int m = 6;
    std::vector<std::uint8_t> wanted; // by rank: 1 for an m-set to cover (it holds fixed)
};

// Where a search stands, for a gauge: the share of its allowance spent and its best set.
struct CoveringSearchStatus {
    double done = 0;
    std::size_t columns = 0;
    std::uint64_t open = 0; // wanted m-sets the best set leaves open
};

// Simulated annealing on the count of wanted m-sets left open, with a fixed number of columns:
// a move replaces one number of one column, mostly so that the column comes to cover a random
// open m-set (the best of several such changes when they are cheap to weigh), or puts a new
// column through that m-set in place of the one whose loss it makes up for best, and only the
// m-sets whose cover changes are visited. Whenever no m-set is open
// the set is kept as the best and the column that alone covers the fewest m-sets goes, so the
// search keeps looking for a smaller covering until its allowance is spent, it stalls or it is
// stopped; the best set is there at every moment. Seeded, and counted in m-sets visited rather
// than time, so the same input gives the same columns.
class CoveringSearch {
public:
    using Mask = subset_masks::Mask;
    using Progress = std::function<void(const CoveringSearchStatus&)>;

    CoveringSearch(CoveringTarget target, const std::vector<Mask>& start, std::uint64_t seed);

    // Visits at most allowance m-sets; false when control stopped it (the best is still valid).
    bool run(std::uint64_t allowance, RunControl* control, const Progress& progress = {});

    const std::vector<Mask>& best() const { return best_; }
    std::uint64_t bestOpen() const { return bestOpen_; }

private:
    struct Change {
        std::size_t slot;
        Mask out, in;
    };

    void cover(std::size_t slot, int by);
    void gain(std::size_t slot, Mask set, std::uint32_t rank);
    void lose(std::size_t slot, Mask set, std::uint32_t rank);
    void openSet(Mask set, std::uint32_t rank);
    void closeSet(std::uint32_t rank);
    bool keepIfBetter();
    void dropWeakest();
    Change proposeChange(Mask set);
    std::int64_t costOf(const Change& change);
    void apply(const Change& change);
    bool accepts(std::int64_t rise);
    void jump(Mask set);
    void step();

    CoveringTarget target_;
    std::vector<Mask> columns_;
    std::vector<std::uint32_t> count_; // columns covering each m-set, by rank
    std::vector<std::size_t> owners_;  // the sum of their slots: the slot when there is one
    std::vector<std::int64_t> alone_;  // by slot: wanted m-sets no other column covers
    std::vector<std::int64_t> shared_; // scratch: of those, covered by a new column too
    std::vector<std::int32_t> where_;  // position in open_, or -1
    std::vector<Mask> open_;           // the wanted m-sets no column covers
    subset_masks::MaskRandom random_;
    std::vector<std::size_t> touched_; // scratch: the slots a new column may replace
    std::vector<std::pair<Mask, std::uint32_t>> lost_, gained_; // m-sets and ranks of a change
    std::vector<Mask> best_;
    std::uint64_t bestOpen_ = 0;
    std::uint64_t work_ = 0;
    std::uint64_t moves_ = 0;
    std::uint64_t sinceBest_ = 0;  // moves since the best was last kept
    std::uint64_t bestAtWork_ = 0; // the work done then
    double heat_ = 0;
    std::uint64_t changesWeighed_ = 1; // changes drawn for each move of one number
};

} // namespace quintor
