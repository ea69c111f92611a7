#pragma once

// The selection's enumeration: every six-number column of the marked numbers in
// lexicographic order, scored incrementally from its prefixes. A prefix whose every
// completion scores at or below the list's cutoff is skipped whole: the bound is the sum of
// the best rating each feature can still reach, so skipping never changes the list.

#include "core/draw_counts.h"
#include "core/number_set.h"
#include "core/scoring_tables.h"
#include "core/selection.h"
#include "core/selection_list.h"
#include "core/vector_path.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <span>
#include <vector>

namespace quintor {

// The columns whose first two numbers are at the marked positions first < second: the piece
// of work the threads share.
struct SelectionUnit {
    int first = 0, second = 0;
};

struct Candidate {
    Column column;
    double score;
};

// The largest value of a table over a range of indices, in constant time. Past a few
// thousand entries it answers for whole blocks around the range, an upper bound.
class RangeMax {
public:
    RangeMax() = default;
    explicit RangeMax(const std::vector<double>& values);
    double operator()(int lo, int hi) const {
        lo = std::max(lo, 0);
        hi = std::min(hi, size_ - 1);
        const auto a = static_cast<std::size_t>(lo >> shift_);
        const auto b = static_cast<std::size_t>(hi >> shift_);
        const auto j = static_cast<std::size_t>(std::bit_width(b - a + 1) - 1);
        const double* level = levels_.data() + j * blocks_;
        return std::max(level[a], level[b + 1 - (std::size_t{1} << j)]);
    }

private:
    int size_ = 0;
    int shift_ = 0;
    std::size_t blocks_ = 0;
    std::vector<double> levels_; // level j at [j * blocks_]: maxima of 2^j blocks
};

// What a candidate's number adds to the features.
struct NumberEntry {
    int number = 0;
    int inLast = 0; // in the newest draw
    int inFive = 0; // how many of the newest five draws hold it
    int even = 0;
    int inHundred = 0; // how many of the newest hundred draws hold it
    int delay = 0;     // draws since it last came out
    double weight = 0;
    DrawSet draws;     // which of the hundred newest draws hold it
    DrawCounts counts; // the same, one byte a draw
};

// Everything the walks read, built once a run and shared by the threads.
class SelectionModel {
public:
    // request: marked increasing and distinct, at least six; draws: the scoring snapshot.
    SelectionModel(const SelectionRequest& request, std::span<const Column> draws);

    int size() const { return static_cast<int>(entries.size()); }
    std::uint64_t total() const { return total_; }
    // Columns below a prefix of `depth` numbers whose last is at `position`.
    std::uint64_t below(int depth, int position) const {
        return binomial_[static_cast<std::size_t>(size() - 1 - position)]
                        [static_cast<std::size_t>(6 - depth)];
    }
    std::vector<SelectionUnit> units() const;
    // A fixed number outside the marked ones: every column is rejected.
    bool rejectsAll() const { return fixedUnreachable_; }

    // The range each summed feature of `k` more numbers taken from positions `from` on can
    // add to a prefix.
    struct Reach {
        std::array<int, 6> lo{}, hi{}; // inLast, inFive, even, number, delay, inHundred
        double weight = 0;             // the largest weight sum
    };
    const Reach& reach(int from, int k) const {
        return reaches_[static_cast<std::size_t>(from) * 6 + static_cast<std::size_t>(k)];
    }

    std::vector<NumberEntry> entries;
    RatingTables tables;
    std::array<RangeMax, featureCount> maxima;
    NumberSet fixed;
    const FilterCheck* filter = nullptr; // the columns that fail it are not candidates
    std::size_t capacity;
    double tolerance;

private:
    std::uint64_t total_ = 0;
    std::array<std::array<std::uint64_t, 7>, 91> binomial_{};
    std::vector<Reach> reaches_;
    bool fixedUnreachable_ = false;
};

// One thread's walk over units: either straight into the list, or collecting the columns
// above a threshold for the list to take later.
class SelectionWalker {
public:
    SelectionWalker(const SelectionModel& model, VectorPath path);

    // Offers to the list every column of the unit that can change it; with `after`, only the
    // columns after that one. Returns the columns the unit holds.
    std::uint64_t walk(SelectionUnit unit, SelectionList& list, const Column* after = nullptr);

    // The unit's columns scoring above threshold, in order, into found (cleared first).
    // False when there are more than limit of them: found is then incomplete.
    bool collect(SelectionUnit unit, double threshold, std::size_t limit,
                 std::vector<Candidate>& found);

private:
    struct Prefix {
        int inLast = 0, inFive = 0, even = 0, sum = 0, delay = 0, inHundred = 0;
        double weight = 0;
        NumberSet numbers;
        DrawCounts counts;
    };

    void run(SelectionUnit unit);
    template <class Counts> void runUnit(SelectionUnit unit);
    template <class Counts> void descend(int depth, int start);
    template <class Counts> bool skipped(int depth, int position);
    template <class Counts> void scoreLast(int fifthPosition);
    void extendNumbers(int depth, int position);
    bool hopeless(int depth, int position) const;
    double cutoff() const { return list_ ? list_->cutoff() : threshold_; }

    // The filters' state of the prefix at each depth; false when no column below it passes.
    bool filtered(int depth, int position);

    const SelectionModel& model_;
    VectorPath path_;
    std::array<Prefix, 6> prefix_{};
    std::array<FilterCheck::Prefix, 6> filterPrefix_{};
    Column chosen_{};

    // Walking into the list
    SelectionList* list_ = nullptr;
    const Column* after_ = nullptr;
    // Collecting
    double threshold_ = 0;
    std::size_t limit_ = 0;
    std::vector<Candidate>* found_ = nullptr;
    bool overflow_ = false;
};

} // namespace quintor
